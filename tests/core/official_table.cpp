#include "core/official_table.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "config/settings.h"
#include "config/settlement_list.h"
#include "config/zone_offset.h"
#include "core/calendar.h"
#include "core/sun.h"

namespace miravel {

namespace {

// The six times the official tables show, in their column order.
constexpr int kOfficialColumns[6] = {Imsak, Gunes, Ogle, Ikindi, Aksam, Yatsi};

bool Tag(const std::string& line, const char* tag, std::string* value) {
    const std::string prefix = std::string("# ") + tag + ": ";
    if (line.rfind(prefix, 0) != 0) return false;
    *value = line.substr(prefix.size());
    return true;
}

int ClockMinutes(const std::string& text) {
    if (text.size() < 5) return -1;
    return std::atoi(text.substr(0, 2).c_str()) * 60 + std::atoi(text.substr(3, 2).c_str());
}

}  // namespace

OfficialTable ReadOfficialTable(const std::filesystem::path& file) {
    OfficialTable t;
    t.name = file.filename().string();
    std::ifstream in(file);
    std::string line, value;
    while (std::getline(in, line)) {
        if (Tag(line, "row of the shipped settlement list", &value))
            t.row = std::atoi(value.c_str());
        if (Tag(line, "place", &value)) {
            t.hasPlace = true;
            std::istringstream(value) >> t.latitude >> t.longitude >> t.offsetHours;
        }
        if (Tag(line, "summer time", &value)) t.summerTime = true;
        if (line.size() < 10 || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string date, clock;
        fields >> date;
        OfficialDay d;
        d.year = std::atoi(date.substr(0, 4).c_str());
        d.month = std::atoi(date.substr(5, 2).c_str());
        d.day = std::atoi(date.substr(8, 2).c_str());
        for (int& m : d.minutes) {
            clock.clear();
            fields >> clock;
            m = ClockMinutes(clock);
        }
        t.days.push_back(d);
    }
    return t;
}

void Agreement::Add(const Agreement& other) {
    times += other.times;
    exact += other.exact;
    withinOne += other.withinOne;
    worst = std::max(worst, other.worst);
}

Agreement CompareWithOfficial(const OfficialTable& table, const std::filesystem::path& listPath,
                              bool diyanet, bool listRow) {
    ProgramState ps;
    if (table.hasPlace && !(listRow && table.row > 0)) {
        ps.location.latitude = static_cast<int32_t>(std::lround(table.latitude * 100));
        ps.location.longitude = static_cast<int32_t>(std::lround(table.longitude * 100));
        ps.location.utcOffset = static_cast<int32_t>(std::lround(table.offsetHours * 60));
    } else {
        ps.location.useList = true;
        ps.location.listRow = table.row;
        LoadSettlementRow(listPath, table.row, ps.location);
    }
    // "Yaz Saati" by the European rule, as a user abroad ticks it.
    ps.location.useSystemSummerTime = table.summerTime;
    if (diyanet) SetDiyanetPreset(ps.calc);
    ApplyCalcParams(ps);
    Agreement a;
    for (const OfficialDay& d : table.days) {
        const int16_t zone = ZoneOffsetForDate(ps.location, SystemZone{}, d.day, d.month, d.year);
        SetLocation(ps.astro, static_cast<int16_t>(ps.location.latitude),
                    static_cast<int16_t>(ps.location.longitude), zone);
        SetDate(ps.astro, static_cast<int16_t>(d.day), static_cast<int16_t>(d.month),
                static_cast<int16_t>(d.year));
        int32_t times[kVakitCount];
        ComputeDayTimes(ps.astro, times);
        for (int i = 0; i < 6; ++i) {
            const int diff = std::abs(times[kOfficialColumns[i] - 1] - d.minutes[i]);
            ++a.times;
            a.exact += diff == 0;
            a.withinOne += diff <= 1;
            a.worst = std::max(a.worst, diff);
        }
    }
    return a;
}

}  // namespace miravel
