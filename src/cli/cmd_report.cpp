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
#include "reports/timetable_page.h"

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

// The page for today's date, highlighted on screen, to --out or stdout.
int WritePage(ProgramState& ps, PageKind kind, const std::string* out) {
    const Date now = Today();
    WorkTime today;
    today.day = static_cast<uint16_t>(now.day);
    today.month = static_cast<uint16_t>(now.month);
    today.year = static_cast<uint16_t>(now.year);
    if (out) {
        if (!WriteTimetablePage(ps, kind, std::filesystem::u8path(*out), ReadSystemZone(), today)) {
            PrintError("cannot write " + *out);
            return 1;
        }
        return 0;
    }
    const std::string bytes = BuildTimetablePage(ps, kind, ReadSystemZone(), today);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    if (std::fflush(stdout) != 0 || !written) {
        PrintError("cannot write the page to standard output");
        return 1;
    }
    return 0;
}

}  // namespace

namespace {
constexpr OptionHelp kReportOptions[] = {
    {"--ini FILE", "the INI file of the place and parameters (default: miravel.ini here)"},
    kPresetOptionHelp,
    kHijriOptionHelp,
    {"--date DD/MM/YYYY", "a day of the month or year (default: today)"},
    {"--html", "the timetable as a printable page (UTF-8 HTML; monthly, yearly, ramadan)"},
    {"--out FILE", "write the report to FILE instead of standard output"},
};
}  // namespace

const CommandHelp kReportHelp = {
    "report", "monthly|yearly|religious|ramadan [OPTIONS]",
    "the monthly or yearly timetable, religious days",
    "The same text file the program's Raporlar menu writes (Windows-1254, CR LF).\n"
    "With --html the timetable is a page to print, one month to an A4 page; ramadan\n"
    "is the Ramazan of the date's Hijri year, or the next one once it is over.",
    kReportOptions};

int RunReport(int argc, char** argv) {
    Args args({"--ini", "--date", "--out", "--preset", "--hijri"}, {"--html"});
    std::string error;
    if (!args.Parse(argc, argv, &error)) {
        PrintError(error);
        return 2;
    }
    ReportKind kind = ReportKind::Monthly;
    const bool html = args.Has("--html");
    const bool ramadan = args.Positional().size() == 1 && args.Positional()[0] == "ramadan";
    if (args.Positional().size() != 1 || (!ramadan && !KindFromName(args.Positional()[0], &kind))) {
        PrintError("report takes one of monthly, yearly, religious, ramadan");
        return 2;
    }
    if (html ? kind == ReportKind::ReligiousDays : ramadan) {
        PrintError(html ? "religious has no --html page" : "ramadan takes --html");
        return 2;
    }
    Date date;
    ProgramState ps;
    std::filesystem::path ini;
    if (!DateOption(args, &date, &error) || !LoadPlaceAndOptions(args, ps, &ini, &error)) {
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
    if (html) {
        const PageKind page = ramadan                      ? PageKind::Ramadan
                              : kind == ReportKind::Yearly ? PageKind::Yearly
                                                           : PageKind::Monthly;
        return WritePage(ps, page, args.Value("--out"));
    }

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
