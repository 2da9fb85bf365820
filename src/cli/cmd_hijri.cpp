// miravel-cli hijri: the Hijri date and the religious day of one date. The
// result does not depend on the place (both month rules work in UT).
#include <cstdio>
#include <string>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/json_writer.h"
#include "core/calendar.h"
#include "core/hijri.h"

namespace miravel::cli {

namespace {
constexpr OptionHelp kHijriOptions[] = {
    kDateOptionHelp,
    {"--ini FILE", "the INI file whose calendar choice counts (default: miravel.ini here)"},
    kHijriOptionHelp,
    kJsonOptionHelp,
};
}  // namespace

const CommandHelp kHijriHelp = {"hijri", "[OPTIONS]",
                                "the Hijri date and religious day of one date",
                                "The result does not depend on the place.", kHijriOptions};

int RunHijri(int argc, char** argv) {
    Args args({"--date", "--ini", "--hijri"}, {"--json"});
    Date date;
    if (!ParseDayCommand(args, argc, argv, "hijri", &date)) return 2;
    std::string error;
    // Only the calendar choice is taken from the settings (--ini or
    // miravel.ini, then --hijri); the place does not matter.
    ProgramState ps;
    if (!LoadPlace(args, ps, &error)) {
        PrintError(error);
        return 2;
    }
    AstroState astro;
    astro.officialHijri = ps.astro.officialHijri;
    SetLocation(astro, 0, 0, 0);
    SetDate(astro, static_cast<int16_t>(date.day), static_cast<int16_t>(date.month),
            static_cast<int16_t>(date.year));
    const char* religiousDay = ReligiousDayName(astro);
    const int day = HijriDay(astro);
    const int16_t month = HijriMonth(astro);
    const int16_t year = HijriYear(astro);

    if (args.Has("--json")) {
        JsonWriter json;
        json.BeginObject().String("date", IsoDateText(date));
        json.BeginObject("hijri").Int("day", day).Int("month", month);
        json.String("monthName", HijriMonthName(month)).Int("year", year).EndObject();
        json.String("religiousDay", religiousDay);
        json.EndObject();
        PrintUtf8(json.Text());
        return 0;
    }
    char text[128];
    std::snprintf(
        text, sizeof text, "%02u/%02u/%04u %s\n%d %s %d\n", static_cast<unsigned>(date.day),
        static_cast<unsigned>(date.month), static_cast<unsigned>(date.year),
        WeekdayName(static_cast<int16_t>(Weekday(astro))), day, HijriMonthName(month), year);
    std::string out = text;
    if (religiousDay[0]) out += std::string(religiousDay) + "\n";
    PrintText(out);
    return 0;
}

}  // namespace miravel::cli
