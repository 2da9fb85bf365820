// Places and helpers shared by the report tests.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "config/program_state.h"
#include "core/calendar.h"

namespace miravel::testing {

// İstanbul at +3 hours without summer time, the core prepared for the working
// date as the scheduler leaves it.
inline ProgramState PlaceState(int day, int month, int year, int latitude = 4101,
                               int longitude = 2897, int utcOffset = 180) {
    ProgramState ps;
    std::snprintf(ps.location.city, sizeof ps.location.city, "%s", "İstanbul");
    std::snprintf(ps.location.country, sizeof ps.location.country, "%s", "Türkiye");
    ps.location.latitude = latitude;
    ps.location.longitude = longitude;
    ps.location.utcOffset = utcOffset;
    ps.workTime.day = static_cast<uint16_t>(day);
    ps.workTime.month = static_cast<uint16_t>(month);
    ps.workTime.year = static_cast<uint16_t>(year);
    SetLocation(ps.astro, static_cast<int16_t>(latitude), static_cast<int16_t>(longitude),
                static_cast<int16_t>(utcOffset));
    SetDate(ps.astro, static_cast<int16_t>(day), static_cast<int16_t>(month),
            static_cast<int16_t>(year));
    return ps;
}

// Splits at CR LF; the piece after the last CR LF is the last element.
inline std::vector<std::string> CrLfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = bytes.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(bytes.substr(start, at - start));
    lines.push_back(bytes.substr(start));
    return lines;
}

inline size_t CountOf(const std::string& bytes, const std::string& what) {
    size_t n = 0;
    for (size_t at = bytes.find(what); at != std::string::npos; at = bytes.find(what, at + 1))
        ++n;
    return n;
}

}  // namespace miravel::testing
