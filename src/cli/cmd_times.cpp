#include <cstdio>
#include <string>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/json_writer.h"
#include "core/calendar.h"
#include "core/sun.h"

namespace miravel::cli {

namespace {
constexpr OptionHelp kTimesOptions[] = {
    kDateOptionHelp,
    {"--sun HH:MM", "also the sun's azimuth and altitude at that minute"},
    kJsonOptionHelp,
};
}  // namespace

const CommandHelp kTimesHelp = {
    "times",
    "[OPTIONS]",
    "the ten times of one day",
    "The place and the calculation parameters come from the INI file; the\n"
    "options below override them.",
    kTimesOptions,
    kPlaceOptionHelp};

int RunTimes(int argc, char** argv) {
    Args args(PlaceDayFlags({"--sun"}), {"--summer", "--json"});
    Date date;
    if (!ParseDayCommand(args, argc, argv, "times", &date)) return 2;
    int sunHour = -1, sunMinute = 0;
    if (const std::string* text = args.Value("--sun");
        text && !ParseClock(*text, &sunHour, &sunMinute)) {
        PrintError("bad time " + *text + " (HH:MM)");
        return 2;
    }
    ProgramState ps;
    int16_t zone = 0;
    if (!LoadPlaceForDay(args, date, ps, &zone)) return 2;
    AstroState& astro = ps.astro;
    int32_t times[kVakitCount];
    ComputeDayTimes(astro, times);

    const std::string dateText = DateText(date);

    if (args.Has("--json")) {
        JsonWriter json;
        json.BeginObject().String("date", IsoDateText(date));
        PlaceJson(json, ps.location, zone);
        json.Int("mode", ps.calc.mode);
        TimesJson(json, times);
        if (sunHour >= 0) {
            SetClock(astro, static_cast<int16_t>(sunHour), static_cast<int16_t>(sunMinute));
            json.BeginObject("sun");
            json.Int("azimuth", SunAzimuth(astro)).Int("altitude", SunAltitude(astro));
            json.Int("longitude", SunLongitude(astro)).Int("declination", SunDeclination(astro));
            json.Int("equationOfTime", EquationOfTime(astro));
            json.EndObject();
        }
        json.EndObject();
        PrintUtf8(json.Text());
        return 0;
    }

    std::string out = PlaceTitle(ps, args.Value("--lat") != nullptr) + "  " + dateText + " " +
                      WeekdayName(static_cast<int16_t>(Weekday(astro))) + "\n";
    for (int v = 1; v <= kVakitCount; ++v) {
        char line[48];
        std::snprintf(line, sizeof line, "%-12s %s\n", VakitName(v),
                      ClockText(times[v - 1]).c_str());
        out += line;
    }
    if (sunHour >= 0) {
        SetClock(astro, static_cast<int16_t>(sunHour), static_cast<int16_t>(sunMinute));
        const int az = SunAzimuth(astro), alt = SunAltitude(astro);
        char line[96];
        std::snprintf(line, sizeof line, "GÜNEŞ %02d:%02d  azimut %d.%d°  yükseklik %s%d.%d°\n",
                      sunHour, sunMinute, az / 10, az % 10, alt < 0 ? "-" : "",
                      (alt < 0 ? -alt : alt) / 10, (alt < 0 ? -alt : alt) % 10);
        out += line;
    }
    PrintText(out);
    return 0;
}

}  // namespace miravel::cli
