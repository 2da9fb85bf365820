// The settlement list: its rows as the loader counts them, and each row's
// fields, names cut to fit and numbers exact.
//
// Input: four bytes of row number, then the file.
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "config/settlement_list.h"
#include "exact_decimal.h"
#include "fuzz_input.h"
#include "temp_dir.h"

namespace {

using miravel::Location;

bool SamePlace(const Location& a, const Location& b) {
    return std::strcmp(a.city, b.city) == 0 && std::strcmp(a.country, b.country) == 0 &&
           a.utcOffset == b.utcOffset && a.latitude == b.latitude && a.longitude == b.longitude &&
           a.listRow == b.listRow && a.useList == b.useList;
}

void CheckRow(const std::string& row) {
    Location loc;
    miravel::ParseSettlementRow(row, loc);

    std::string line = row;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    std::vector<std::string> fields;
    size_t pos = 0;
    while (fields.size() < 5 && (pos = line.find_first_not_of(';', pos)) != std::string::npos) {
        const size_t end = std::min(line.find(';', pos), line.size());
        fields.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    fields.resize(5);
    for (std::string& f : fields)
        for (char& c : f)
            if (c == ',') c = '.';

    FUZZ_CHECK(std::memchr(loc.city, '\0', sizeof loc.city) != nullptr);
    FUZZ_CHECK(std::memchr(loc.country, '\0', sizeof loc.country) != nullptr);
    FUZZ_CHECK(std::string(loc.city) == std::string(fields[0].c_str()).substr(0, 15));
    FUZZ_CHECK(std::string(loc.country) == std::string(fields[1].c_str()).substr(0, 15));
    const char* end = nullptr;
    FUZZ_CHECK(loc.utcOffset == miravel::fuzz::ExactScale(fields[2].c_str(), 60, &end));
    FUZZ_CHECK(loc.latitude == miravel::fuzz::ExactScale(fields[3].c_str(), 100, &end));
    FUZZ_CHECK(loc.longitude == miravel::fuzz::ExactScale(fields[4].c_str(), 100, &end));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    miravel::fuzz::FuzzInput in(data, size);
    const int32_t rowNumber = static_cast<int32_t>(in.U32());
    const std::string file = in.Rest();

    const std::filesystem::path path = miravel::fuzz::TempDir() / "list.csv";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << file;
    }
    const std::vector<std::string> rows = miravel::ReadSettlementRows(path);

    // The rows are the file with CR LF read as LF, cut after each LF and
    // after 254 characters.
    std::string joined, lf;
    for (size_t i = 0; i < file.size(); ++i)
        if (!(file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n')) lf += file[i];
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::string& r = rows[i];
        joined += r;
        FUZZ_CHECK(!r.empty() && r.size() <= 254);
        FUZZ_CHECK(r.find('\n') == std::string::npos || r.find('\n') == r.size() - 1);
        if (i + 1 < rows.size()) FUZZ_CHECK(r.back() == '\n' || r.size() == 254);
    }
    FUZZ_CHECK(joined == lf);

    for (const std::string& r : rows)
        CheckRow(r);
    CheckRow(file);

    // Loading a row: the row asked for, the nearest one outside the list, no
    // change for an empty file.
    Location loaded, parsed;
    miravel::LoadSettlementRow(path, rowNumber, loaded);
    if (!rows.empty()) {
        const size_t index = rowNumber < 1 ? 0
                             : static_cast<size_t>(rowNumber) > rows.size()
                                 ? rows.size() - 1
                                 : static_cast<size_t>(rowNumber) - 1;
        miravel::ParseSettlementRow(rows[index], parsed);
    }
    FUZZ_CHECK(SamePlace(loaded, parsed));
    return 0;
}
