#include "reports/timetable_report.h"

#include <cstdlib>
#include <cstring>

#include "core/calendar.h"
#include "core/geomag.h"
#include "core/moon.h"
#include "core/qibla.h"
#include "core/sun.h"
#include "reports/report_text.h"

namespace miravel {

namespace {

// Clock hours of the azimuth tables; the moon's skips the hours of daylight
// in which it is rarely looked for.
constexpr int kSunHours[] = {4, 6, 8, 10, 12, 14, 16, 18, 20};
constexpr int kMoonHours[] = {0, 2, 4, 6, 8, 16, 18, 20, 22};

constexpr char kAzimuthDashes[] =
    " ---     -----   -----   -----   -----   -----   -----   -----   -----   -----\n";

std::string Bounded(const char* text, size_t size) {
    return std::string(text, strnlen(text, size));
}

void WriteHeader(ReportText& text, ProgramState& ps, int16_t baseOffset, int month, int year) {
    const Location& loc = ps.location;
    text.Put("\n\n");
    text.Printf("\n\n\n\t\t\tŞEHİR\t\t: %s / %s", Bounded(loc.city, sizeof loc.city).c_str(),
                Bounded(loc.country, sizeof loc.country).c_str());
    text.Printf("\n\n\t\t\tPARALEL\t\t: %5.02f° ", std::abs(loc.latitude) / 100.0);
    text.Put(loc.latitude >= 0 ? "KUZEY" : "GÜNEY");
    text.Printf("\n\t\t\tMERİDYEN\t: %5.02f° ", std::abs(loc.longitude) / 100.0);
    text.Put(loc.longitude >= 0 ? "DOĞU" : "BATI");
    text.Printf("\n\t\t\tSAAT FARKI\t: %+5.2f", baseOffset / 60.0);
    text.Printf("\n\t\t\tTARİH\t\t: %s %d", MonthName(static_cast<int16_t>(month)), year);
    text.Printf("\n\t\t\tYAZ SAATİ\t: %s", loc.useSystemSummerTime ? "Avrupa"
                                           : loc.summerTime        ? "Var"
                                                                   : "Yok");
    // Taken from the core as it stands: the working date for the first
    // month, the last day of the previous month for the later ones.
    AstroState& astro = ps.astro;
    text.Printf("\n\n\t\t\tKIBLE AÇISI\t: %5.1f°", QiblaBearing(astro) / 10.0);
    text.Printf("\n\t\t\tPUSULA SAPMASI\t: %5.1f°",
                MagDeclination(astro, ps.options.viewAltitude) / 10.0);
    if (!astro.magValid) text.Put(" (yaklaşık)");
    text.Put(
        "\n\n\n GÜN   İMSAK  GÜNEŞ   İŞRAK İSTİVA   ÖĞLE  İKİNDİ   ASR-I İSFİRAR  AKŞAM  YATSI\n");
    text.Put("                                                    SANİ\n");
    text.Put(" ---   -----  -----   -----  -----   -----  -----   -----  -----   -----  -----\n");
}

void WriteTimesOfMonth(ReportText& text, TimetableWalk& walk, AstroState& astro) {
    do {
        walk.PrepareDay();
        text.Printf("\n %2d. ", walk.Day());
        for (int v = 1; v <= kVakitCount; ++v) {
            const int m = ComputeVakit(astro, v);
            text.Printf("  %02d:%02d", m / 60, m % 60);
            if (v % 2 == 0 && v < kVakitCount) text.Put(" ");
        }
    } while (walk.NextDay());
    text.FormFeed();
}

template <size_t N, class Azimuth>
void WriteAzimuthTable(ReportText& text, TimetableWalk& walk, int month, AstroState& astro,
                       const char* title, const char* heading, const int (&hours)[N],
                       Azimuth azimuth) {
    text.Put(title);
    text.Put(heading);
    text.Put(kAzimuthDashes);
    walk.StartMonth(month);
    do {
        walk.PrepareDay();
        text.Printf("\n %2d. ", walk.Day());
        for (int hour : hours) {
            SetClock(astro, static_cast<int16_t>(hour), 0);
            text.Printf("     %03d", azimuth(astro) / 10);
        }
    } while (walk.NextDay());
    text.FormFeed();
}

}  // namespace

TimetableWalk::TimetableWalk(ProgramState& ps, int16_t baseOffset, int year)
    : ps_(ps), baseOffset_(baseOffset), year_(year) {}

void TimetableWalk::StartMonth(int month) {
    const Location& loc = ps_.location;
    day_ = 1;
    month_ = month;
    if (loc.useSystemSummerTime) {
        summer_ = (month >= 4 && month <= 10) != (loc.latitude < 0);
    } else {
        summer_ = loc.summerTime;
    }
}

void TimetableWalk::PrepareDay() {
    const Location& loc = ps_.location;
    AstroState& astro = ps_.astro;
    SetDate(astro, static_cast<int16_t>(day_), static_cast<int16_t>(month_),
            static_cast<int16_t>(year_));
    if (loc.useSystemSummerTime && (month_ == 3 || month_ == 10) && Weekday(astro) == 7 &&
        day_ > 24) {
        summer_ = !summer_;
    }
    const int16_t zone = static_cast<int16_t>(baseOffset_ + (summer_ ? 60 : 0));
    SetLocation(astro, static_cast<int16_t>(loc.latitude), static_cast<int16_t>(loc.longitude),
                zone);
}

bool TimetableWalk::NextDay() {
    MonthAndDay(year_, DayOfYearOf(day_, month_, year_) + 1, &month_, &day_);
    return day_ != 1;
}

int16_t TimetableBaseOffset(const Location& loc, const SystemZone& system) {
    return static_cast<int16_t>(loc.useSystemTimeZone ? system.standardMinutes : loc.utcOffset);
}

void WriteTimetableReport(ProgramState& ps, bool yearly, const SystemZone& system,
                          std::string* out) {
    if (ps.ticksToNextRun < 9) ps.ticksToNextRun = 9;
    const int year = ps.workTime.year;
    const int first = yearly ? 1 : ps.workTime.month;
    const int last = yearly ? 12 : ps.workTime.month;
    const int16_t baseOffset = TimetableBaseOffset(ps.location, system);
    TimetableWalk walk(ps, baseOffset, year);
    AstroState& astro = ps.astro;
    ReportText text;
    for (int month = first; month <= last; ++month) {
        walk.StartMonth(month);
        WriteHeader(text, ps, baseOffset, month, year);
        WriteTimesOfMonth(text, walk, astro);
    }
    if (!yearly) {
        WriteAzimuthTable(text, walk, first, astro, "\n\n\n\t\t\t\tGÜNEŞ YATAY AÇISI",
                          "\n\n\n GÜN     04:00   06:00   08:00   10:00   12:00   14:00   16:00   "
                          "18:00   20:00\n",
                          kSunHours, [](AstroState& s) { return static_cast<int>(SunAzimuth(s)); });
        WriteAzimuthTable(text, walk, first, astro, "\n\n\n\t\t\t\tAY YATAY AÇISI",
                          "\n\n\n GÜN     00:00   02:00   04:00   06:00   08:00   16:00   18:00   "
                          "20:00   22:00\n",
                          kMoonHours,
                          [](AstroState& s) { return static_cast<int>(MoonAzimuth(s)); });
    }
    *out += text.Take();
    ps.ticksToNextRun = 0;
}

}  // namespace miravel
