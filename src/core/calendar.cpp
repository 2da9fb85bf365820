#include "core/calendar.h"

namespace miravel {

namespace {

constexpr int16_t kCumulativeDays[14] = {0,   31,  59,  90,  120, 151, 181,
                                         212, 243, 273, 304, 334, 365, 999};

constexpr const char* kWeekdayNames[8] = {"",         "Pazartesi", "Salı",      "Çarşamba",
                                          "Perşembe", "Cuma",      "Cumartesi", "Pazar"};
constexpr const char* kShortWeekdayNames[8] = {"", "Pzt", "Sal", "Çar", "Per", "Cum", "Cts", "Paz"};
constexpr const char* kMonthNames[13] = {"",      "Ocak",    "Şubat",  "Mart",    "Nisan",
                                         "Mayıs", "Haziran", "Temmuz", "Ağustos", "Eylül",
                                         "Ekim",  "Kasım",   "Aralık"};

}  // namespace

float LatitudeRadians(int16_t latitude) {
    return static_cast<float>(latitude * 0.00017453292519943294);
}

float LongitudeMinutes(int16_t longitude) {
    return static_cast<float>(longitude * 0.04);
}

void SetLocation(AstroState& s, int16_t latitude, int16_t longitude, int16_t zoneMinutes) {
    s.latitudeRad = LatitudeRadians(latitude);
    s.lonMin = LongitudeMinutes(longitude);
    s.zoneMinutes = zoneMinutes;
    s.hijriValid = s.moonValid = s.geomagValid = 0;
}

void SetDate(AstroState& s, int16_t day, int16_t month, int16_t year) {
    s.day = day;
    s.month = month;
    s.year = year;
    s.hijriValid = s.moonValid = s.geomagValid = 0;
}

void SetClock(AstroState& s, int16_t hour, int16_t minute) {
    s.clockMinutes = static_cast<int16_t>(hour * 60 + minute);
    s.moonValid = 0;
}

bool IsLeapYear(int year) {
    return (year & 3) == 0;
}

int DayOfYearOf(int day, int month, int year) {
    // Out-of-range months index the table's ends instead of memory beyond it.
    const int index = month < 1 ? 0 : (month > 14 ? 13 : month - 1);
    int n = kCumulativeDays[index] + day;
    if (IsLeapYear(year) && month > 2) ++n;
    return n;
}

int32_t DayNumberOf(int day, int month, int year) {
    return DayOfYearOf(day, month, year) + 365 * year + (year - 1) / 4 - 730500;
}

int WeekdayOf(int day, int month, int year) {
    return (DayNumberOf(day, month, year) + 36524) % 7 + 1;
}

int16_t DayOfYear(const AstroState& s) {
    return static_cast<int16_t>(DayOfYearOf(s.day, s.month, s.year));
}
int32_t DayNumber(const AstroState& s) {
    return DayNumberOf(s.day, s.month, s.year);
}
int Weekday(const AstroState& s) {
    return WeekdayOf(s.day, s.month, s.year);
}

int MonthAndDay(int year, int n, int* month, int* dayOfMonth) {
    int previous = 0;
    int m = 1;
    int end = 0;
    for (;; ++m) {
        end = kCumulativeDays[m];
        if (IsLeapYear(year) && m >= 2) ++end;
        if (end >= n || m == 13) break;
        previous = end;
    }
    *month = m;
    *dayOfMonth = n - previous;
    return end;
}

const char* WeekdayName(int16_t index) {
    return kWeekdayNames[index];
}
const char* ShortWeekdayName(int16_t index) {
    return kShortWeekdayNames[index];
}
const char* MonthName(int16_t index) {
    return kMonthNames[index];
}

bool SummerTimeRule(int day, int month, int year, bool southern) {
    bool summer = (month >= 4 && month <= 10) != southern;
    if (month == 3 || month == 10) {
        for (int d = 25; d <= day; ++d) {
            if (WeekdayOf(d, month, year) == 7) summer = !summer;
        }
    }
    return summer;
}

}  // namespace miravel
