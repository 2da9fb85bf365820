#include "ui/place_picker.h"

#include <algorithm>
#include <cstdio>

#include "config/settlement_list.h"
#include "config/text_match.h"
#include "ui/calc_params_form.h"
#include "ui/dialog_controls.h"

namespace miravel {

namespace {

// Hundredths of a degree, minutes: as the dialog's fields show them.
std::string Degrees(int32_t hundredths) {
    char text[24];
    std::snprintf(text, sizeof text, "%.2f", hundredths / 100.0);
    return text;
}

std::string Hours(int32_t minutes) {
    char text[24];
    std::snprintf(text, sizeof text, "%.2f", minutes / 60.0);
    return text;
}

std::vector<std::string> Words(std::string_view key) {
    std::vector<std::string> words;
    size_t pos = 0;
    while (pos < key.size()) {
        const size_t start = key.find_first_not_of(" \t", pos);
        if (start == std::string_view::npos) break;
        size_t end = key.find_first_of(" \t", start);
        if (end == std::string_view::npos) end = key.size();
        words.emplace_back(key.substr(start, end - start));
        pos = end;
    }
    return words;
}

// 0 = name equals the query, 1 = name starts with it, 2 = name holds it,
// 3 = every word found in the name or the region; -1 = no match.
int Rank(const PlaceEntry& e, const std::string& query, const std::vector<std::string>& words) {
    for (const std::string& w : words) {
        if (e.nameKey.find(w) == std::string::npos && e.regionKey.find(w) == std::string::npos)
            return -1;
    }
    if (e.nameKey == query) return 0;
    if (e.nameKey.rfind(query, 0) == 0) return 1;
    if (e.nameKey.find(query) != std::string::npos) return 2;
    return 3;
}

}  // namespace

PlacePicker::PlacePicker(const std::vector<std::string>& rows) {
    entries_.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        PlaceEntry e;
        e.row = static_cast<int32_t>(i + 1);
        ParseSettlementRow(rows[i], e.place);
        e.nameKey = SearchKey(e.place.city);
        e.regionKey = SearchKey(e.place.country);
        entries_.push_back(std::move(e));
    }
    SetQuery("");
}

void PlacePicker::SetQuery(std::string_view query) {
    const std::vector<std::string> words = Words(SearchKey(query));
    std::string joined;
    for (const std::string& w : words) {
        if (!joined.empty()) joined += ' ';
        joined += w;
    }
    shown_.clear();
    if (words.empty()) {
        for (uint32_t i = 0; i < entries_.size(); ++i)
            shown_.push_back(i);
    } else {
        std::vector<std::pair<int, uint32_t>> ranked;
        for (uint32_t i = 0; i < entries_.size(); ++i) {
            const int rank = Rank(entries_[i], joined, words);
            if (rank >= 0) ranked.emplace_back(rank, i);
        }
        std::stable_sort(ranked.begin(), ranked.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& r : ranked)
            shown_.push_back(r.second);
    }
    selection_ = shown_.empty() ? -1 : 0;
}

void PlacePicker::Select(int index) {
    selection_ = index >= 0 && static_cast<size_t>(index) < shown_.size() ? index : -1;
}

bool PlacePicker::SelectRow(int32_t row) {
    for (size_t i = 0; i < shown_.size(); ++i) {
        if (Shown(i).row == row) {
            selection_ = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

int32_t PlacePicker::PickedRow() const {
    return selection_ < 0 ? 0 : Shown(static_cast<size_t>(selection_)).row;
}

std::string PlacePicker::CellText(size_t index, PlaceColumn column) const {
    if (index >= shown_.size()) return {};
    const PlaceEntry& e = Shown(index);
    switch (column) {
        case PlaceColumn::kRow:
            return std::to_string(e.row);
        case PlaceColumn::kName:
            return e.place.city;
        case PlaceColumn::kRegion:
            return e.place.country;
        case PlaceColumn::kLatitude:
            return Degrees(e.place.latitude);
        case PlaceColumn::kLongitude:
            return Degrees(e.place.longitude);
        case PlaceColumn::kZone:
            return Hours(e.place.utcOffset);
    }
    return {};
}

std::string PlacePicker::StatusText() const {
    char text[64];
    std::snprintf(text, sizeof text, "%zu / %zu yerleşim", shown_.size(), entries_.size());
    return text;
}

const char* PlaceColumnTitle(PlaceColumn column) {
    switch (column) {
        case PlaceColumn::kRow:
            return "Sıra No.";
        case PlaceColumn::kName:
            return "Yerleşim";
        case PlaceColumn::kRegion:
            return "İl / Ülke";
        case PlaceColumn::kLatitude:
            return "Enlem";
        case PlaceColumn::kLongitude:
            return "Boylam";
        case PlaceColumn::kZone:
            return "Saat Farkı";
    }
    return "";
}

const ControlTip* PlacePickerTips(int* count) {
    static const ControlTip kTips[] = {
        {IDC_PLACE_SEARCH,
         "Yerleşimin adını ya da adının bir parçasını yazın; il veya ülke adı da olur.\n"
         "Büyük-küçük harf ve Türkçe harf ayrımı yapılmaz.\nAşağı ok tuşu listeye geçer, "
         "Enter seçili satırı alır."},
        {IDC_PLACE_OPEN_FILE,
         "Listeyi (miravel.csv) bilgisayarınızda CSV dosyalarını açan programla açar."},
        {IDC_OK_BUTTON, "Seçili yerleşimi Hesap Parametreleri penceresine aktarır."},
        {IDC_CANCEL_BUTTON, "Hiçbir şeyi değiştirmeden kapatır."},
    };
    *count = static_cast<int>(sizeof kTips / sizeof kTips[0]);
    return kTips;
}

void ApplyPickedRow(ProgramState& ps, DialogControls& c, const SettlementListFile& list,
                    int32_t row) {
    Location& l = ps.location;
    l.useList = true;
    l.listRow = row;
    LoadSettlementRow(list.path, row, l);

    ShowPlaceFields(ps, c);
    // Enter now saves; the focus left on "Listeyi Aç" would open the picker
    // again.
    c.Focus(IDC_OK_BUTTON);
}

}  // namespace miravel
