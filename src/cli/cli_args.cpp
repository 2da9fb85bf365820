#include "cli/cli_args.h"

#include <cstdio>
#include <ctime>

#include "cli/console.h"
#include "cli/json_writer.h"
#include "config/decimal_text.h"
#include "config/settings.h"
#include "config/settlement_list.h"
#include "config/zone_offset.h"
#include "core/calendar.h"
#include "core/sun.h"

namespace miravel::cli {

bool Args::Parse(int argc, char** argv, std::string* error) {
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0 || arg.size() == 2) {
            positional_.push_back(arg);
            continue;
        }
        if (switches_.count(arg)) {
            seen_.insert(arg);
        } else if (valueFlags_.count(arg)) {
            if (i + 1 >= argc) {
                *error = arg + " needs a value";
                return false;
            }
            values_[arg] = argv[++i];
            seen_.insert(arg);
        } else {
            *error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

bool Args::Has(const std::string& flag) const {
    return seen_.count(flag) != 0;
}

const std::string* Args::Value(const std::string& flag) const {
    auto it = values_.find(flag);
    return it == values_.end() ? nullptr : &it->second;
}

bool ParseDate(const std::string& text, Date* out) {
    int d = 0, m = 0, y = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d/%d/%d%c", &d, &m, &y, &tail) != 3) return false;
    if (y < 1901 || y > 2099 || m < 1 || m > 12 || d < 1) return false;
    static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d > kDays[m - 1] || (m == 2 && d == 29 && (y & 3) != 0)) return false;
    *out = Date{d, m, y};
    return true;
}

bool ParseClock(const std::string& text, int* hour, int* minute) {
    int h = 0, m = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d:%d%c", &h, &m, &tail) != 2) return false;
    if (h < 0 || h > 23 || m < 0 || m > 59) return false;
    *hour = h;
    *minute = m;
    return true;
}

Date Today() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    return Date{local->tm_mday, local->tm_mon + 1, local->tm_year + 1900};
}

bool DateOption(const Args& args, Date* date, std::string* error) {
    *date = Today();
    const std::string* text = args.Value("--date");
    if (text && !ParseDate(*text, date)) {
        *error = "bad date " + *text + " (DD/MM/YYYY, 1901..2099)";
        return false;
    }
    return true;
}

bool TimeOption(const Args& args, int* hour, int* minute, std::string* error) {
    if (const std::string* text = args.Value("--time")) {
        if (ParseClock(*text, hour, minute)) return true;
        *error = "bad time " + *text + " (HH:MM)";
        return false;
    }
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    *hour = local->tm_hour;
    *minute = local->tm_min;
    return true;
}

bool ParseWithoutPositional(Args& args, int argc, char** argv, const char* command,
                            std::string* error) {
    if (!args.Parse(argc, argv, error)) return false;
    if (args.Positional().empty()) return true;
    *error = std::string(command) + " takes no positional arguments";
    return false;
}

std::string DateText(const Date& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%02u/%02u/%04u", date.day, date.month, date.year);
    return text;
}

std::string IsoDateText(const Date& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::set<std::string> PlaceDayFlags(std::initializer_list<const char*> own) {
    std::set<std::string> flags = {"--ini",  "--date", "--lat",    "--lon",  "--zone",
                                   "--mode", "--row",  "--preset", "--hijri"};
    flags.insert(own.begin(), own.end());
    return flags;
}

bool ParseDayCommand(Args& args, int argc, char** argv, const char* command, Date* date) {
    std::string error;
    if (ParseWithoutPositional(args, argc, argv, command, &error) && DateOption(args, date, &error))
        return true;
    PrintError(error);
    return false;
}

namespace {

bool ScaledFlag(const Args& args, const char* flag, int32_t multiplier, int32_t limit, int32_t* out,
                std::string* error) {
    const std::string* text = args.Value(flag);
    if (!text) return true;
    int32_t value = 0;
    if (!ParseScaledDecimal(text->c_str(), multiplier, &value) || value < -limit || value > limit) {
        *error = std::string("bad value for ") + flag + ": " + *text;
        return false;
    }
    *out = value;
    return true;
}

}  // namespace

std::filesystem::path IniPathFor(const Args& args) {
    if (const std::string* ini = args.Value("--ini")) return std::filesystem::u8path(*ini);
    const std::filesystem::path here = "miravel.ini";
    std::error_code ec;
    return std::filesystem::is_regular_file(here, ec) ? here : std::filesystem::path();
}

std::filesystem::path SettlementListFile() {
    // The list lives beside the INI file the program uses; a development
    // checkout keeps it in data/.
    for (const char* candidate : {"miravel.csv", MIRAVEL_DATA_DIR "/miravel.csv"}) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
    }
    return "miravel.csv";
}

bool LoadPlace(const Args& args, ProgramState& ps, std::string* error) {
    Location& loc = ps.location;
    const std::filesystem::path ini = IniPathFor(args);
    if (!ini.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(ini, ec)) {
            *error = "cannot read INI file " + ini.string();
            return false;
        }
        LoadCalcParams(ps, ini);
    }
    if (const std::string* row = args.Value("--row")) {
        int32_t n = 0;
        if (!ParseScaledDecimal(row->c_str(), 1, &n) || n < 1 || n > 30000 ||
            row->find('.') != std::string::npos) {
            *error = "bad value for --row: " + *row + " (1..30000)";
            return false;
        }
        const std::filesystem::path list = SettlementListFile();
        std::error_code ec;
        if (!std::filesystem::is_regular_file(list, ec)) {
            *error = "cannot find the settlement list miravel.csv";
            return false;
        }
        loc.listRow = n;
        loc.useList = true;
        LoadSettlementRow(list, n, loc);
    }
    const bool hasLat = args.Value("--lat") != nullptr;
    const bool hasLon = args.Value("--lon") != nullptr;
    if (hasLat != hasLon) {
        *error = "--lat and --lon go together";
        return false;
    }
    if (!ScaledFlag(args, "--lat", 100, 9000, &loc.latitude, error) ||
        !ScaledFlag(args, "--lon", 100, 18000, &loc.longitude, error)) {
        return false;
    }
    if (args.Value("--zone")) {
        if (!ScaledFlag(args, "--zone", 60, 840, &loc.utcOffset, error)) return false;
        loc.useSystemTimeZone = false;
    }
    if (args.Has("--summer")) {
        loc.summerTime = true;
        loc.useSystemSummerTime = false;
    }
    if (const std::string* preset = args.Value("--preset")) {
        if (*preset == "diyanet") {
            SetDiyanetPreset(ps.calc);
        } else if (*preset == "default") {
            // The program's own temkins, angles and mode; the calendar
            // choice is another option and stays.
            const bool officialHijri = ps.calc.officialHijri;
            ps.calc = CalcParams{};
            ps.calc.officialHijri = officialHijri;
        } else {
            *error = "bad value for --preset: " + *preset + " (diyanet, default)";
            return false;
        }
    }
    if (const std::string* hijri = args.Value("--hijri")) {
        if (*hijri != "official" && *hijri != "crescent") {
            *error = "bad value for --hijri: " + *hijri + " (official, crescent)";
            return false;
        }
        ps.calc.officialHijri = *hijri == "official";
    }
    if (const std::string* mode = args.Value("--mode")) {
        int32_t value = 0;
        if (!ParseScaledDecimal(mode->c_str(), 1, &value) || value < 0 || value > 5 ||
            mode->find('.') != std::string::npos) {
            *error = "bad value for --mode: " + *mode + " (0..5)";
            return false;
        }
        ps.calc.mode = value;
    }
    if (hasLat) {
        std::snprintf(loc.city, sizeof loc.city, "%s", "");
        std::snprintf(loc.country, sizeof loc.country, "%s", "");
    }
    // The core takes the parameters the way the program hands them over.
    ApplyCalcParams(ps);
    return true;
}

int16_t ZoneMinutesFor(const ProgramState& ps, const Date& date) {
    return ZoneOffsetForDate(ps.location, ReadSystemZone(), date.day, date.month, date.year);
}

int16_t SetPlaceAndDate(ProgramState& ps, const Date& date) {
    const int16_t zone = ZoneMinutesFor(ps, date);
    SetLocation(ps.astro, static_cast<int16_t>(ps.location.latitude),
                static_cast<int16_t>(ps.location.longitude), zone);
    SetDate(ps.astro, static_cast<int16_t>(date.day), static_cast<int16_t>(date.month),
            static_cast<int16_t>(date.year));
    return zone;
}

bool LoadPlaceForDay(const Args& args, const Date& date, ProgramState& ps, int16_t* zone) {
    std::string error;
    if (!LoadPlace(args, ps, &error)) {
        PrintError(error);
        return false;
    }
    *zone = SetPlaceAndDate(ps, date);
    return true;
}

namespace {

std::string Degrees(int32_t hundredths, char positive, char negative) {
    char buf[32];
    // In 64 bits: the magnitude of the int32 minimum is no int32.
    const int64_t a = hundredths < 0 ? -static_cast<int64_t>(hundredths) : hundredths;
    std::snprintf(buf, sizeof buf, "%lld.%02d°%c", static_cast<long long>(a / 100),
                  static_cast<int>(a % 100), hundredths < 0 ? negative : positive);
    return buf;
}

}  // namespace

std::string PlaceTitle(const ProgramState& ps, bool fromFlags) {
    const Location& loc = ps.location;
    std::string coords = Degrees(loc.latitude, 'K', 'G') + " " + Degrees(loc.longitude, 'D', 'B');
    if (fromFlags || loc.city[0] == '\0') return coords;
    if (loc.useList) {
        char row[16];
        std::snprintf(row, sizeof row, "%d. ", loc.listRow);
        return row + std::string(loc.city) + " / " + loc.country + " (" + coords + ")";
    }
    return std::string(loc.city) + " / " + loc.country + " (" + coords + ")";
}

std::string ClockText(int minutes) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d:%02d", (minutes / 60) % 100, minutes % 60);
    return buf;
}

void PlaceJson(JsonWriter& json, const Location& loc, int zoneMinutes) {
    json.Fixed("latitude", loc.latitude, 2).Fixed("longitude", loc.longitude, 2);
    json.Int("zoneMinutes", zoneMinutes);
}

void TimesJson(JsonWriter& json, const int32_t times[kVakitCount]) {
    json.BeginObject("times");
    for (int v = 1; v <= kVakitCount; ++v)
        json.String(VakitName(v), ClockText(times[v - 1]));
    json.EndObject();
}

namespace {

// The command line reads options for its computation only; the system's
// autostart state stays as it is.
class NoAutostart : public Autostart {
  public:
    bool IsRegistered() override { return false; }
    bool Register(const std::filesystem::path&) override { return false; }
    bool Unregister() override { return true; }
};

}  // namespace

bool LoadPlaceAndOptions(const Args& args, ProgramState& ps, std::filesystem::path* ini,
                         std::string* error) {
    if (!LoadPlace(args, ps, error)) return false;
    *ini = IniPathFor(args);
    if (!ini->empty()) {
        NoAutostart autostart;
        LoadOptions(ps, *ini, autostart);
    }
    return true;
}

}  // namespace miravel::cli
