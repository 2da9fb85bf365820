#include "ui/times_view.h"

#include <cstdio>
#include <cstdlib>

#include "core/calendar.h"
#include "core/geomag.h"
#include "core/hijri.h"
#include "core/moon.h"
#include "core/qibla.h"
#include "core/sun.h"

namespace miravel {

namespace {

constexpr int kVisibleHere = 100;
constexpr int kVisibleOnEarth = -100;

const char* MonthNameOrEmpty(int month) {
    return month >= 1 && month <= 12 ? MonthName(static_cast<int16_t>(month)) : "";
}

// A core value in tenths of its unit, shown multiplied by 0.1.
void SetTenths(DialogControls& c, int id, const char* format, int tenths) {
    char text[32];
    std::snprintf(text, sizeof text, format, tenths * 0.1);
    c.SetText(id, text);
}

// The time of Vakit v that falls on the working date: the day before's when
// it falls after this midnight and is still to come (a late YATSI), the day
// after's when it falls before the coming midnight and the date's own fell
// the evening before (an early İMSAK); otherwise the date's own.
int ShownMinute(const ProgramState& ps, int v) {
    const int before = VakitInstant(ps.dayTimesBefore, v) - 1440;
    if (before >= 0 && before >= ps.astro.clockMinutes) return before;
    if (VakitInstant(ps.dayTimes, v) < 0 && VakitInstant(ps.dayTimesAfter, v) < 0)
        return ps.dayTimesAfter[v - 1];
    return ps.dayTimes[v - 1];
}

}  // namespace

void FormatTimesTitle(const Location& l, int zoneMinutes, char* out, size_t size) {
    std::snprintf(out, size, "%s / %s  (%5.2f°%c, %5.2f°%c, %+5.2f)", l.city, l.country,
                  std::abs(static_cast<long>(l.latitude)) / 100.0, l.latitude >= 0 ? 'K' : 'G',
                  std::abs(static_cast<long>(l.longitude)) / 100.0, l.longitude >= 0 ? 'D' : 'B',
                  zoneMinutes / 60.0);
}

void FormatCalendarBlock(const WorkTime& t, int hijriDay, const char* hijriMonthName, int hijriYear,
                         const char* religiousDay, char* out, size_t size) {
    const bool religious = religiousDay[0] != '\0';
    const int weekday = WeekdayOf(t.day, t.month, t.year);
    std::snprintf(out, size, "%u %s %4u  %s  %02u:%02u\n%s%u %s %4u\n%s",
                  static_cast<unsigned>(t.day), MonthNameOrEmpty(t.month),
                  static_cast<unsigned>(t.year), ShortWeekdayName(static_cast<int16_t>(weekday)),
                  static_cast<unsigned>(t.hour), static_cast<unsigned>(t.minute),
                  religious ? "" : "\n", static_cast<unsigned>(hijriDay), hijriMonthName,
                  static_cast<unsigned>(hijriYear), religiousDay);
}

void FormatVisibilityNote(int code, char* out, size_t size) {
    if (code == kVisibleHere)
        std::snprintf(out, size, ">> Ay buradan görülebilir");
    else if (code == kVisibleOnEarth)
        std::snprintf(out, size, ">> Ay Dünya'dan görülebilir");
    else if (code > 0)
        std::snprintf(out, size, ">> GÜNEŞ tutulması  %%%2i <<", code);
    else if (code < 0)
        std::snprintf(out, size, ">>  AY tutulması  %%%2i  <<", -code);
    else if (size > 0)
        out[0] = '\0';
}

void FillTimesDialog(ProgramState& ps, DialogControls& c) {
    AstroState& a = ps.astro;
    char text[256];

    FormatTimesTitle(ps.location, a.zoneMinutes, text, sizeof text);
    c.SetCaption(text);

    for (int v = 0; v < kVakitCount; ++v) {
        const int m = ShownMinute(ps, v + 1);
        std::snprintf(text, sizeof text, "%02d:%02d", m / 60, m % 60);
        c.SetText(IDC_TIME_FIRST + v, text);
    }

    // The Hijri month and year come from the search HijriDay makes; the
    // religious-day test searches the next date and so comes last.
    const int hijriDay = HijriDay(a);
    const int16_t hijriMonth = HijriMonth(a);
    const int16_t hijriYear = HijriYear(a);
    const char* religiousDay = ReligiousDayName(a);
    const int16_t monthIndex = hijriMonth >= 1 && hijriMonth <= 12 ? hijriMonth : 0;
    FormatCalendarBlock(ps.workTime, hijriDay, HijriMonthName(monthIndex), hijriYear, religiousDay,
                        text, sizeof text);
    c.SetText(IDC_CALENDAR, text);

    SetTenths(c, IDC_QIBLA, "%5.1f°", QiblaBearing(a));
    SetTenths(c, IDC_SUN_AZIMUTH, "%5.1f°", SunAzimuth(a));
    SetTenths(c, IDC_SUN_ALTITUDE, "%5.1f°", SunAltitude(a));

    const int16_t height = ps.options.viewAltitude;
    SetTenths(c, IDC_MAG_DECLINATION, "%5.1f°", MagDeclination(a, height));
    c.Enable(IDC_MAG_DECLINATION, a.magValid != 0);
    SetTenths(c, IDC_MAG_INTENSITY, "%5.1f µT", MagHorizontalIntensity(a, height));
    SetTenths(c, IDC_MOON_AZIMUTH, "%5.1f°", MoonAzimuth(a));
    SetTenths(c, IDC_MOON_ALTITUDE, "%5.1f°", MoonAltitude(a));
    SetTenths(c, IDC_MOON_PHASE, "%5.1f°", ComputeMoon(a));
    SetTenths(c, IDC_MOON_LATITUDE, "%5.1f°", MoonLatitude(a));
    SetTenths(c, IDC_MOON_DISTANCE, "%5.1f Mm", MoonDistance(a));
    SetTenths(c, IDC_MOON_ILLUMINATION, "%%%5.1f", MoonIllumination(a));
    SetTenths(c, IDC_SUN_DISTANCE, "%5.1f Gm", SunDistance(a));
    SetTenths(c, IDC_SUN_LONGITUDE, "%5.1f°", SunLongitude(a));
    SetTenths(c, IDC_SUN_DECLINATION, "%5.1f°", SunDeclination(a));
    SetTenths(c, IDC_EQUATION_OF_TIME, "%5.1f'", EquationOfTime(a));

    FormatVisibilityNote(MoonVisibility(a, ps.options.crescentVisibility, height), text,
                         sizeof text);
    c.SetText(IDC_MOON_NOTE, text);
}

}  // namespace miravel
