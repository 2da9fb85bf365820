#include "config/settlement_list.h"

#include <cstring>

#include "config/decimal_text.h"
#include "config/file_access.h"

namespace miravel {

namespace {

// The longest row, its LF included: the list was always read through a
// 255-byte line buffer, and row numbers depend on it.
constexpr size_t kMaxRowLength = 254;

void CopyName(std::string_view field, char (&out)[16]) {
    const size_t n = field.size() < sizeof out - 1 ? field.size() : sizeof out - 1;
    std::memcpy(out, field.data(), n);
    out[n] = '\0';
}

}  // namespace

std::string SettlementListPath(std::string_view programBaseName) {
    std::string name(programBaseName);
    name += ".csv";
    return name;
}

std::vector<std::string> ReadSettlementRows(const std::filesystem::path& path) {
    std::vector<std::string> rows;
    std::string raw;
    if (ReadWholeFile(path, &raw) != FileRead::Ok) return rows;

    std::string text;
    text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
        text += raw[i];
    }
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = pos + kMaxRowLength < text.size() ? pos + kMaxRowLength : text.size();
        const size_t nl = text.find('\n', pos);
        if (nl != std::string::npos && nl < end) end = nl + 1;
        rows.emplace_back(text, pos, end - pos);
        pos = end;
    }
    return rows;
}

void ParseSettlementRow(std::string_view row, Location& loc) {
    // The line end is not part of the last field; left in, it would end up in
    // the country name of a row with only two fields.
    std::string line(row);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    for (char& c : line) {
        if (c == ',') c = '.';
    }

    // Split like strtok: runs of ";" separate, empty fields vanish.
    std::string fields[5];
    int count = 0;
    size_t pos = 0;
    while (count < 5) {
        pos = line.find_first_not_of(';', pos);
        if (pos == std::string::npos) break;
        size_t end = line.find(';', pos);
        if (end == std::string::npos) end = line.size();
        fields[count++] = line.substr(pos, end - pos);
        pos = end;
    }

    CopyName(fields[0], loc.city);
    CopyName(fields[1], loc.country);
    loc.utcOffset = ScaleDecimal(fields[2].c_str(), 60);
    loc.latitude = ScaleDecimal(fields[3].c_str(), 100);
    loc.longitude = ScaleDecimal(fields[4].c_str(), 100);
}

void LoadSettlementRow(const std::filesystem::path& path, int32_t row, Location& loc) {
    const std::vector<std::string> rows = ReadSettlementRows(path);
    if (rows.empty()) return;
    // Row numbers below 1 have no line of their own; the first line is the
    // nearest one.
    size_t index = row < 1 ? 0 : static_cast<size_t>(row) - 1;
    if (index >= rows.size()) index = rows.size() - 1;
    ParseSettlementRow(rows[index], loc);
}

void LoadSettlementRow(const char* path, int32_t row, Location& loc) {
    if (!path) return;
    LoadSettlementRow(PathFromText(path), row, loc);
}

}  // namespace miravel
