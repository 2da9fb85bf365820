// miravel-cli astro: what the times-and-astronomy dialog shows for one date
// and minute, queried from the core in the dialog's order.
#include <cstdio>
#include <ctime>
#include <string>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/json_writer.h"
#include "core/calendar.h"
#include "core/geomag.h"
#include "core/hijri.h"
#include "core/moon.h"
#include "core/qibla.h"
#include "core/sun.h"

namespace miravel::cli {

namespace {

// The dialog's labels of the ten times, padded so that the values line up.
constexpr const char* kTimeLabels[kVakitCount] = {
    "İMSAK      =", "GÜNEŞ      =", "işrak      =", "istiva     =", "ÖĞLE       =",
    "İKİNDİ     =", "asr-ı sani =", "isfirar    =", "AKŞAM      =", "YATSI      ="};

struct AstroValues {
    int32_t times[kVakitCount];
    int hijriDay, hijriMonth, hijriYear;
    const char* religiousDay;
    int qibla, sunAzimuth, sunAltitude;
    int declination;
    bool declinationValid;
    int horizontalIntensity;
    int moonAzimuth, moonAltitude, moonPhase, moonLatitude, moonDistance, illumination;
    int sunDistance, sunLongitude, sunDeclination, equationOfTime;
    int visibilityCode;
};

void Collect(ProgramState& ps, AstroValues& v) {
    AstroState& astro = ps.astro;
    ComputeDayTimes(astro, v.times);
    v.religiousDay = ReligiousDayName(astro);
    v.hijriDay = HijriDay(astro);
    v.hijriMonth = HijriMonth(astro);
    v.hijriYear = HijriYear(astro);
    v.qibla = QiblaBearing(astro);
    v.sunAzimuth = SunAzimuth(astro);
    v.sunAltitude = SunAltitude(astro);
    const int16_t height = ps.options.viewAltitude;
    v.declination = MagDeclination(astro, height);
    v.declinationValid = astro.magValid != 0;
    v.horizontalIntensity = MagHorizontalIntensity(astro, height);
    v.moonAzimuth = MoonAzimuth(astro);
    v.moonAltitude = MoonAltitude(astro);
    v.moonPhase = ComputeMoon(astro);
    v.moonLatitude = MoonLatitude(astro);
    v.moonDistance = MoonDistance(astro);
    v.illumination = MoonIllumination(astro);
    v.sunDistance = SunDistance(astro);
    v.sunLongitude = SunLongitude(astro);
    v.sunDeclination = SunDeclination(astro);
    v.equationOfTime = EquationOfTime(astro);
    v.visibilityCode = MoonVisibility(astro, ps.options.crescentVisibility, height);
}

// The line under the dialog's panel; empty for code 0.
std::string VisibilityNote(int code) {
    char buf[48];
    if (code == 100) return ">> Ay buradan görülebilir";
    if (code == -100) return ">> Ay Dünya'dan görülebilir";
    if (code > 0) {
        std::snprintf(buf, sizeof buf, ">> GÜNEŞ tutulması  %%%2i <<", code);
        return buf;
    }
    if (code < 0) {
        std::snprintf(buf, sizeof buf, ">>  AY tutulması  %%%2i  <<", -code);
        return buf;
    }
    return "";
}

std::string Line(const char* label, const char* format, int tenths, const char* note = "") {
    char value[32];
    std::snprintf(value, sizeof value, format, tenths / 10.0);
    return std::string(label) + " " + value + note + "\n";
}

}  // namespace

namespace {
constexpr OptionHelp kAstroOptions[] = {
    kDateOptionHelp,
    {"--time HH:MM", "the minute (default: now)"},
    kJsonOptionHelp,
};
}  // namespace

const CommandHelp kAstroHelp = {"astro",
                                "[OPTIONS]",
                                "times, Hijri date, qibla, sun, moon and compass of one minute",
                                "What the times window shows, in its order.",
                                kAstroOptions,
                                kPlaceOptionHelp};

int RunAstro(int argc, char** argv) {
    Args args(PlaceDayFlags({"--time"}), {"--summer", "--json"});
    Date date;
    if (!ParseDayCommand(args, argc, argv, "astro", &date)) return 2;
    std::string error;
    int hour = 0, minute = 0;
    if (!TimeOption(args, &hour, &minute, &error)) {
        PrintError(error);
        return 2;
    }
    ProgramState ps;
    int16_t zone = 0;
    if (!LoadPlaceForDay(args, date, ps, &zone)) return 2;
    AstroState& astro = ps.astro;
    SetClock(astro, static_cast<int16_t>(hour), static_cast<int16_t>(minute));

    AstroValues v{};
    Collect(ps, v);
    const int weekday = Weekday(astro);
    const std::string note = VisibilityNote(v.visibilityCode);

    if (args.Has("--json")) {
        JsonWriter json;
        json.BeginObject()
            .String("date", IsoDateText(date))
            .String("time", ClockText(hour * 60 + minute));
        json.Int("weekday", weekday)
            .String("weekdayName", WeekdayName(static_cast<int16_t>(weekday)));
        PlaceJson(json, ps.location, zone);
        json.Int("mode", ps.calc.mode);
        TimesJson(json, v.times);
        json.BeginObject("hijri").Int("day", v.hijriDay).Int("month", v.hijriMonth);
        json.String("monthName", HijriMonthName(static_cast<int16_t>(v.hijriMonth)));
        json.Int("year", v.hijriYear).EndObject();
        json.String("religiousDay", v.religiousDay);
        json.Int("qibla", v.qibla);
        json.BeginObject("sun").Int("azimuth", v.sunAzimuth).Int("altitude", v.sunAltitude);
        json.Int("longitude", v.sunLongitude).Int("declination", v.sunDeclination);
        json.Int("equationOfTime", v.equationOfTime).Int("distance", v.sunDistance);
        json.EndObject();
        json.BeginObject("magnetic").Int("declination", v.declination);
        json.Bool("declinationValid", v.declinationValid);
        json.Int("horizontalIntensity", v.horizontalIntensity).EndObject();
        json.BeginObject("moon").Int("azimuth", v.moonAzimuth).Int("altitude", v.moonAltitude);
        json.Int("phaseAngle", v.moonPhase).Int("latitude", v.moonLatitude);
        json.Int("illumination", v.illumination).Int("distance", v.moonDistance);
        json.Int("visibilityCode", v.visibilityCode).EndObject();
        json.String("note", note);
        json.EndObject();
        PrintUtf8(json.Text());
        return 0;
    }

    char zoneText[16];
    std::snprintf(zoneText, sizeof zoneText, "%+5.2f", zone / 60.0);
    std::string out = PlaceTitle(ps, args.Value("--lat") != nullptr) + "  (" + zoneText + ")\n";
    for (int t = 1; t <= kVakitCount; ++t)
        out += std::string(kTimeLabels[t - 1]) + " " + ClockText(v.times[t - 1]) + "\n";

    // The calendar block: on an ordinary day the Hijri date moves one line
    // down, so the block always fills three lines.
    char block[160];
    std::snprintf(block, sizeof block, "%u %s %4u  %s  %02u:%02u\n%s%u %s %4u\n%s\n",
                  static_cast<unsigned>(date.day), MonthName(static_cast<int16_t>(date.month)),
                  static_cast<unsigned>(date.year), ShortWeekdayName(static_cast<int16_t>(weekday)),
                  static_cast<unsigned>(hour), static_cast<unsigned>(minute),
                  v.religiousDay[0] ? "" : "\n", static_cast<unsigned>(v.hijriDay),
                  HijriMonthName(static_cast<int16_t>(v.hijriMonth)),
                  static_cast<unsigned>(v.hijriYear), v.religiousDay);
    out += std::string("\n") + block + "\n";

    out += Line("KIBLE      =", "%5.1f°", v.qibla);
    out += Line("GUNEŞ      =", "%5.1f°", v.sunAzimuth);
    out += Line("YÜKSEKLİK  =", "%5.1f°", v.sunAltitude);
    out += "\n";
    out +=
        Line("Pusula Sapması =", "%5.1f°", v.declination, v.declinationValid ? "" : " (yaklaşık)");
    out += Line("Manyetik Akı   =", "%5.1f µT", v.horizontalIntensity);
    out += Line("Ay Yatay Açısı =", "%5.1f°", v.moonAzimuth);
    out += Line("Ay Dikey Açısı =", "%5.1f°", v.moonAltitude);
    out += Line("Ay Faz Açısı   =", "%5.1f°", v.moonPhase);
    out += Line("Ay Eğim Açısı  =", "%5.1f°", v.moonLatitude);
    out += Line("Ay Parlaklığı  =", "%%%5.1f", v.illumination);
    out += Line("Ay Uzaklığı    =", "%5.1f Mm", v.moonDistance);
    out += Line("Güneş Uzaklığı =", "%5.1f Gm", v.sunDistance);
    out += Line("Ekliptik Açısı =", "%5.1f°", v.sunLongitude);
    out += Line("Eğim Açısı     =", "%5.1f°", v.sunDeclination);
    out += Line("Zaman Sapması  =", "%5.1f'", v.equationOfTime);
    if (!note.empty()) out += note + "\n";
    PrintText(out);
    return 0;
}

}  // namespace miravel::cli
