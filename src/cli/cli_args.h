// Flags shared by the subcommands of miravel-cli.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "config/program_state.h"

namespace miravel::cli {

class JsonWriter;

struct Date {
    int day = 0, month = 0, year = 0;
};

class Args {
  public:
    // Flags that take a value and flags that do not; anything else is an error.
    Args(std::set<std::string> valueFlags, std::set<std::string> switches)
        : valueFlags_(std::move(valueFlags)), switches_(std::move(switches)) {}

    // Returns false and fills `error` on an unknown flag or a missing value.
    bool Parse(int argc, char** argv, std::string* error);

    bool Has(const std::string& flag) const;
    const std::string* Value(const std::string& flag) const;
    const std::vector<std::string>& Positional() const { return positional_; }

  private:
    std::set<std::string> valueFlags_, switches_;
    std::map<std::string, std::string> values_;
    std::set<std::string> seen_;
    std::vector<std::string> positional_;
};

bool ParseDate(const std::string& text, Date* out);                // DD/MM/YYYY
bool ParseClock(const std::string& text, int* hour, int* minute);  // HH:MM
Date Today();

// --date: the date it names, today without it. False with a message when the
// text is not a date of 1901..2099.
bool DateOption(const Args& args, Date* date, std::string* error);
// --time: the clock it names, the local time now without it.
bool TimeOption(const Args& args, int* hour, int* minute, std::string* error);
// Parses the command line of a subcommand that takes no positional
// arguments; false with a message otherwise.
bool ParseWithoutPositional(Args& args, int argc, char** argv, const char* command,
                            std::string* error);

// The value flags of the commands that compute for a place and a day:
// LoadPlace's, --date, and the command's own.
std::set<std::string> PlaceDayFlags(std::initializer_list<const char*> own = {});
// Parses a command line without positional arguments, then its --date; false
// after printing the complaint (the caller exits with 2).
bool ParseDayCommand(Args& args, int argc, char** argv, const char* command, Date* date);
// The INI file: --ini, else miravel.ini in the current folder when it
// exists, else none (empty path).
std::filesystem::path IniPathFor(const Args& args);
// miravel.csv in the current folder, else the one of the source tree.
std::filesystem::path SettlementListFile();

// Fills `ps` from the INI file (--ini, or miravel.ini in the current folder
// when it exists, else defaults), then applies --lat, --lon, --zone, --summer,
// --mode and --row over it. Returns false with a message on bad input.
bool LoadPlace(const Args& args, ProgramState& ps, std::string* error);
// LoadPlace, then the options of the same INI file, if any (autostart is
// neither read nor touched). Returns that INI file, empty for none, in `ini`.
bool LoadPlaceAndOptions(const Args& args, ProgramState& ps, std::filesystem::path* ini,
                         std::string* error);

// The zone in effect for the place on `date`: configured offset plus summer
// hour (the system zone is read when the settings say so).
int16_t ZoneMinutesFor(const ProgramState& ps, const Date& date);
// Sets the core to the place of `ps` and to `date`, in the zone of that day,
// and returns that zone.
int16_t SetPlaceAndDate(ProgramState& ps, const Date& date);
// LoadPlace, then SetPlaceAndDate; false after printing the complaint (the
// caller exits with 2). The zone of that day in `zone`.
bool LoadPlaceForDay(const Args& args, const Date& date, ProgramState& ps, int16_t* zone);

// "İstanbul, Türkiye" or "41.01°N 28.97°E" (Windows-1254).
std::string PlaceTitle(const ProgramState& ps, bool fromFlags);

// "DD/MM/YYYY" and "YYYY-MM-DD".
std::string DateText(const Date& date);
std::string IsoDateText(const Date& date);
// Formats minutes of the day as "HH:MM".
std::string ClockText(int minutes);

// The JSON members of the day commands: the place ("latitude", "longitude",
// "zoneMinutes") and the object "times" of the ten times as "HH:MM".
void PlaceJson(JsonWriter& json, const Location& loc, int zoneMinutes);
void TimesJson(JsonWriter& json, const int32_t times[kVakitCount]);

}  // namespace miravel::cli
