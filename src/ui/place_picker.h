// The place picker of the calculation parameters dialog: the settlement list
// as a table that narrows while the user types a name. Matching is the one
// of `miravel-cli find` (Turkish case rules, marks ignored, a part of the
// name or of the province or country is enough); every word typed must
// match. The Windows dialog only shows what this decides.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/program_state.h"

namespace miravel {

// One row of the list as "Uygula" would load it.
struct PlaceEntry {
    int32_t row = 0;                 // 1 = the file's first line
    Location place;                  // city, country, utcOffset, latitude, longitude
    std::string nameKey, regionKey;  // SearchKey of city and country
};

// The table's columns, left to right.
enum class PlaceColumn { kRow, kName, kRegion, kLatitude, kLongitude, kZone };
inline constexpr int kPlaceColumnCount = 6;

class PlacePicker {
  public:
    // `rows` as ReadSettlementRows gives them; every row becomes an entry.
    explicit PlacePicker(const std::vector<std::string>& rows);

    // Narrows the list to the entries matching `query` (Windows-1254) and
    // selects the best one, so that Enter right after typing picks it.
    // Order: the name equal to the query first, then names starting with
    // it, then names holding it, then places whose province or country
    // matches; within each, the file's order. An empty query shows all.
    void SetQuery(std::string_view query);

    size_t Total() const { return entries_.size(); }
    size_t ShownCount() const { return shown_.size(); }
    const PlaceEntry& Shown(size_t index) const { return entries_[shown_[index]]; }

    // The selected line of the shown list, -1 when none.
    int Selection() const { return selection_; }
    void Select(int index);
    // Selects the shown line of row `row`; false (selection unchanged) when
    // that row is not shown.
    bool SelectRow(int32_t row);

    // The row number of the selection, 0 when nothing is selected.
    int32_t PickedRow() const;

    // The text of one cell, Windows-1254.
    std::string CellText(size_t index, PlaceColumn column) const;
    // "12 / 8000 yerleşim" under the list.
    std::string StatusText() const;

  private:
    std::vector<PlaceEntry> entries_;
    std::vector<uint32_t> shown_;
    int selection_ = -1;
};

// The column headings, Windows-1254.
const char* PlaceColumnTitle(PlaceColumn column);

// The balloon tooltips of the picker's controls.
struct ControlTip;
const ControlTip* PlacePickerTips(int* count);

// A picked row in the calculation parameters dialog: "Liste" set, the row
// number and the row's settlement loaded, and the settlement fields shown as
// "Uygula" leaves them. The other fields keep what the user typed. The
// focus moves to "Kaydet".
class DialogControls;
struct SettlementListFile;
void ApplyPickedRow(ProgramState& ps, DialogControls& c, const SettlementListFile& list,
                    int32_t row);

}  // namespace miravel
