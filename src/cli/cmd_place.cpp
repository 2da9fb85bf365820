#include <cstdio>
#include <string>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "config/codepage.h"
#include "config/settlement_list.h"
#include "config/text_match.h"

namespace miravel::cli {

namespace {

std::string RowLine(int32_t n, const Location& loc) {
    char line[128];
    const auto fixed = [](int32_t v, int scale) {
        char buf[24];
        const int32_t a = v < 0 ? -v : v;
        std::snprintf(buf, sizeof buf, "%s%d.%0*d", v < 0 ? "-" : "", a / scale,
                      scale == 100 ? 2 : 2, scale == 100 ? a % 100 : (a % 60) * 100 / 60);
        return std::string(buf);
    };
    std::snprintf(line, sizeof line, "%5d  %-15s %-15s %7s %7s  saat %s\n", n, loc.city,
                  loc.country, fixed(loc.latitude, 100).c_str(), fixed(loc.longitude, 100).c_str(),
                  fixed(loc.utcOffset, 60).c_str());
    return line;
}

// Arguments arrive as UTF-8 on Linux; anything that is not valid UTF-8 is
// taken as Windows-1254 already.
std::string ArgumentText(const std::string& arg) {
    const std::string converted = Utf8ToCp1254(arg);
    if (converted.find('?') != std::string::npos && arg.find('?') == std::string::npos) return arg;
    return converted;
}

}  // namespace

const CommandHelp kPlaceHelp = {
    "place",
    "N",
    "one row of the settlement list",
    "Prints row N of miravel.csv: name, province or country, latitude,\n"
    "longitude and UTC offset.",
    {}};

const CommandHelp kFindHelp = {
    "find",
    "TEXT",
    "search the settlement list by name",
    "Lists every row whose name or province/country holds TEXT, ignoring case\n"
    "and Turkish letters. Exit status 1 when nothing is found.",
    {}};

int RunPlace(int argc, char** argv) {
    Args args({}, {});
    std::string error;
    int32_t n = 0;
    if (!args.Parse(argc, argv, &error) || args.Positional().size() != 1 ||
        std::sscanf(args.Positional()[0].c_str(), "%d", &n) != 1 || n < 1) {
        PrintError(error.empty() ? "usage: place N (a row number from 1)" : error);
        return 2;
    }
    const std::vector<std::string> rows = ReadSettlementRows(SettlementListFile());
    if (rows.empty()) {
        PrintError("cannot read the settlement list miravel.csv");
        return 2;
    }
    Location loc;
    ParseSettlementRow(rows[static_cast<size_t>(n) <= rows.size() ? n - 1 : rows.size() - 1], loc);
    PrintText(RowLine(n, loc));
    return 0;
}

int RunFind(int argc, char** argv) {
    Args args({}, {});
    std::string error;
    if (!args.Parse(argc, argv, &error) || args.Positional().size() != 1 ||
        args.Positional()[0].empty()) {
        PrintError(error.empty() ? "usage: find TEXT" : error);
        return 2;
    }
    const std::string needle = ArgumentText(args.Positional()[0]);
    const std::vector<std::string> rows = ReadSettlementRows(SettlementListFile());
    if (rows.empty()) {
        PrintError("cannot read the settlement list miravel.csv");
        return 2;
    }
    std::string out;
    int found = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        Location loc;
        ParseSettlementRow(rows[i], loc);
        if (ContainsForSearch(loc.city, needle) || ContainsForSearch(loc.country, needle)) {
            out += RowLine(static_cast<int32_t>(i + 1), loc);
            ++found;
        }
    }
    if (found == 0) out = "Bulunamadı.\n";
    PrintText(out);
    return found ? 0 : 1;
}

}  // namespace miravel::cli
