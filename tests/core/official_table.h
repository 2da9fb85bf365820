// How the program's times agree with an official timetable: a text table of
// days ("YYYY-MM-DD" and six clock times: İmsak, Güneş, Öğle, İkindi, Akşam,
// Yatsı) whose comment lines name the place, either as a row of the shipped
// settlement list ("# row of the shipped settlement list: N") or as the
// table's own reference point ("# place: latitude longitude offset-hours"),
// and "# summer time: Avrupa" for a local clock with the European summer hour.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace miravel {

struct OfficialDay {
    int day = 0, month = 0, year = 0;
    int minutes[6] = {};
};

struct OfficialTable {
    std::string name;
    int row = 0;
    bool hasPlace = false;
    double latitude = 0, longitude = 0, offsetHours = 0;
    bool summerTime = false;
    std::vector<OfficialDay> days;
};

// An unreadable file gives a table without days.
OfficialTable ReadOfficialTable(const std::filesystem::path& file);

struct Agreement {
    int times = 0, exact = 0, withinOne = 0, worst = 0;
    void Add(const Agreement& other);
};

// The program's times with the "Diyanet Uyumlu" preset (or the defaults)
// against the table, at its reference point or, with `listRow` or without
// one, at its row of the list in `listPath`.
Agreement CompareWithOfficial(const OfficialTable& table, const std::filesystem::path& listPath,
                              bool diyanet, bool listRow);

}  // namespace miravel
