#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "config/autostart.h"
#include "config/settings.h"
#include "core/calendar.h"
#include "reports/report_file.h"

namespace miravel::cli {

namespace {

bool KindFromName(const std::string& name, ReportKind* kind) {
    if (name == "monthly") {
        *kind = ReportKind::Monthly;
    } else if (name == "yearly") {
        *kind = ReportKind::Yearly;
    } else if (name == "religious") {
        *kind = ReportKind::ReligiousDays;
    } else {
        return false;
    }
    return true;
}

}  // namespace

namespace {
constexpr OptionHelp kReportOptions[] = {
    {"--ini FILE", "the INI file of the place and parameters (default: miravel.ini here)"},
    kPresetOptionHelp,
    kHijriOptionHelp,
    {"--date DD/MM/YYYY", "a day of the month or year (default: today)"},
    {"--out FILE", "write the report to FILE instead of standard output"},
};
}  // namespace

const CommandHelp kReportHelp = {
    "report", "monthly|yearly|religious [OPTIONS]",
    "the monthly or yearly timetable, religious days",
    "The same text file the program's Raporlar menu writes (Windows-1254, CR LF).", kReportOptions};

int RunReport(int argc, char** argv) {
    Args args({"--ini", "--date", "--out", "--preset", "--hijri"}, {});
    std::string error;
    if (!args.Parse(argc, argv, &error)) {
        PrintError(error);
        return 2;
    }
    ReportKind kind = ReportKind::Monthly;
    if (args.Positional().size() != 1 || !KindFromName(args.Positional()[0], &kind)) {
        PrintError("report takes one of monthly, yearly, religious");
        return 2;
    }
    Date date = Today();
    if (const std::string* text = args.Value("--date"); text && !ParseDate(*text, &date)) {
        PrintError("bad date " + *text + " (DD/MM/YYYY, 1901..2099)");
        return 2;
    }
    ProgramState ps;
    std::filesystem::path ini;
    if (!LoadPlaceAndOptions(args, ps, &ini, &error)) {
        PrintError(error);
        return 2;
    }
    // The core as the scheduler leaves it for the working date.
    ps.realTime = false;
    ps.workTime.day = static_cast<uint16_t>(date.day);
    ps.workTime.month = static_cast<uint16_t>(date.month);
    ps.workTime.year = static_cast<uint16_t>(date.year);
    ps.astro.viewAltitude = ps.options.viewAltitude;
    ps.astro.crescentVisibility = ps.options.crescentVisibility;
    SetPlaceAndDate(ps, date);

    if (const std::string* out = args.Value("--out")) {
        if (!WriteReportFile(ps, kind, std::filesystem::u8path(*out), ReadSystemZone())) {
            PrintError("cannot write " + *out);
            return 1;
        }
        return 0;
    }
    const std::string bytes = BuildReport(ps, kind, ReadSystemZone());
    // Unchanged: Windows-1254 with CR LF, as the file holds them.
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    if (std::fflush(stdout) != 0 || !written) {
        PrintError("cannot write the report to standard output");
        return 1;
    }
    return 0;
}

}  // namespace miravel::cli
