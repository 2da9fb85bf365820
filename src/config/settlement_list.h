// The settlement list: one settlement a line, "name;country;offset
// hours;latitude;longitude" in Windows-1254, "," or "." as the decimal
// separator, no header. The user picks a row by its number (1 = first line).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "config/program_state.h"

namespace miravel {

// The list's file name: the program's base name with ".csv", no folder, so it
// is found in the current folder (the program's own).
std::string SettlementListPath(std::string_view programBaseName);

// The file's rows as the loader counts them: CR LF read as LF, and a line of
// more than 254 characters (its LF included) split into several rows. Each
// row keeps its LF. Empty when the file is missing or unreadable.
std::vector<std::string> ReadSettlementRows(const std::filesystem::path& path);

// Sets city, country, utcOffset, latitude and longitude from one row. Empty
// fields are skipped (the fields after one move up); missing fields count as
// empty text or 0; names are cut to 15 characters; numbers are converted from
// their exact decimal value, truncated toward zero.
void ParseSettlementRow(std::string_view row, Location& loc);

// Loads row `row` of the file into `loc`; a row past the end gives the last
// line and a row below 1 the first. A missing or empty file changes nothing.
// `path` is program text (see PathFromText).
void LoadSettlementRow(const char* path, int32_t row, Location& loc);
void LoadSettlementRow(const std::filesystem::path& path, int32_t row, Location& loc);

}  // namespace miravel
