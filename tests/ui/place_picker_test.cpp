#include "ui/place_picker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../config/temp_folder.h"
#include "config/settings.h"
#include "config/settlement_list.h"
#include "fake_controls.h"
#include "ui/calc_params_form.h"

namespace miravel {
namespace {

using testing::FakeControls;

// Rows as the file gives them, Windows-1254 (the sources compile to it).
std::vector<std::string> SmallList() {
    return {
        "Ankara;Türkiye;3;39,9334;32,8597\n", "İstanbul;Türkiye;3;41,0082;28,9784\n",
        "Çankaya;Ankara;3;39,9179;32,8627\n", "Şişli;İstanbul;3;41,0602;28,9877\n",
        "Kankaya;Somewhere;2;10;20\n",        "Istanbulköy;Bulgaristan;2;42,5;25,25\n",
        "New York;ABD;-5;40,7128;-74,006\n",  "York;Birleşik Krallık;0;53,96;-1,08\n",
    };
}

std::vector<int32_t> ShownRows(const PlacePicker& p) {
    std::vector<int32_t> rows;
    for (size_t i = 0; i < p.ShownCount(); ++i)
        rows.push_back(p.Shown(i).row);
    return rows;
}

TEST(PlacePicker, MatchesLikeFindWithoutCaseOrMarks) {
    PlacePicker p(SmallList());
    EXPECT_EQ(p.Total(), 8u);
    EXPECT_EQ(p.ShownCount(), 8u);  // nothing typed: everything, in file order
    EXPECT_EQ(ShownRows(p), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8}));

    p.SetQuery("cankaya");
    EXPECT_EQ(ShownRows(p), (std::vector<int32_t>{3}));
    p.SetQuery("ÇANKAYA");
    EXPECT_EQ(ShownRows(p), (std::vector<int32_t>{3}));
    p.SetQuery("sisli");
    EXPECT_EQ(ShownRows(p), (std::vector<int32_t>{4}));
    p.SetQuery("ŞİŞLİ");
    EXPECT_EQ(ShownRows(p), (std::vector<int32_t>{4}));
    p.SetQuery("zzz");
    EXPECT_EQ(p.ShownCount(), 0u);
    EXPECT_EQ(p.Selection(), -1);
    EXPECT_EQ(p.PickedRow(), 0);
}

TEST(PlacePicker, BestMatchFirstThenProvinceAndCountryMatches) {
    PlacePicker p(SmallList());
    // "istanbul": the name itself, then the name starting with it, then the
    // district whose province it is.
    p.SetQuery("istanbul");
    EXPECT_EQ(ShownRows(p), (std::vector<int32_t>{2, 6, 4}));
    EXPECT_EQ(p.Selection(), 0);
    EXPECT_EQ(p.PickedRow(), 2);

    // A name holding the text ranks after a name starting with it; a
    // province match comes last.
    p.SetQuery("ankara");
    EXPECT_EQ(ShownRows(p), (std::vector<int32_t>{1, 3}));
    p.SetQuery("kaya");
    EXPECT_EQ(ShownRows(p), (std::vector<int32_t>{3, 5}));  // both hold it: file order
    p.SetQuery("york");
    EXPECT_EQ(ShownRows(p), (std::vector<int32_t>{8, 7}));
}

TEST(PlacePicker, EveryWordMustMatchNameOrRegion) {
    PlacePicker p(SmallList());
    p.SetQuery("  new   york ");
    EXPECT_EQ(ShownRows(p), (std::vector<int32_t>{7}));
    p.SetQuery("kaya ankara");  // a district narrowed by its province
    EXPECT_EQ(ShownRows(p), (std::vector<int32_t>{3}));
    p.SetQuery("york birlesik");
    EXPECT_EQ(ShownRows(p), (std::vector<int32_t>{8}));
    p.SetQuery("   ");
    EXPECT_EQ(p.ShownCount(), 8u);
}

TEST(PlacePicker, CellsShowTheRowAsTheDialogWouldLoadIt) {
    PlacePicker p(SmallList());
    p.SetQuery("new york");
    ASSERT_EQ(p.ShownCount(), 1u);
    EXPECT_EQ(p.CellText(0, PlaceColumn::kRow), "7");
    EXPECT_EQ(p.CellText(0, PlaceColumn::kName), "New York");
    EXPECT_EQ(p.CellText(0, PlaceColumn::kRegion), "ABD");
    EXPECT_EQ(p.CellText(0, PlaceColumn::kLatitude), "40.71");  // truncated, not rounded
    EXPECT_EQ(p.CellText(0, PlaceColumn::kLongitude), "-74.00");
    EXPECT_EQ(p.CellText(0, PlaceColumn::kZone), "-5.00");
    EXPECT_EQ(p.CellText(5, PlaceColumn::kName), "");  // past the shown lines
    EXPECT_EQ(p.StatusText(), "1 / 8 yerleşim");
}

TEST(PlacePicker, SelectionFollowsTheUser) {
    PlacePicker p(SmallList());
    EXPECT_TRUE(p.SelectRow(4));
    EXPECT_EQ(p.Selection(), 3);
    EXPECT_EQ(p.PickedRow(), 4);
    p.SetQuery("istanbul");
    EXPECT_FALSE(p.SelectRow(1));  // not shown: the selection stays
    EXPECT_EQ(p.PickedRow(), 2);
    p.Select(2);
    EXPECT_EQ(p.PickedRow(), 4);
    p.Select(3);  // past the end
    EXPECT_EQ(p.Selection(), -1);
    EXPECT_EQ(p.PickedRow(), 0);
}

TEST(PlacePicker, EmptyListPicksNothing) {
    PlacePicker p({});
    p.SetQuery("a");
    EXPECT_EQ(p.ShownCount(), 0u);
    EXPECT_EQ(p.PickedRow(), 0);
    EXPECT_EQ(p.StatusText(), "0 / 0 yerleşim");
}

// The shipped list: the districts of a province, and every Turkish spelling.
TEST(PlacePicker, ShippedListFindsTurkishPlaces) {
    PlacePicker p(ReadSettlementRows(std::string(MIRAVEL_SOURCE_DIR) + "/data/miravel.csv"));
    ASSERT_GT(p.Total(), 7000u);
    p.SetQuery("cankaya");
    ASSERT_EQ(p.ShownCount(), 1u);
    EXPECT_STREQ(p.Shown(0).place.city, "Çankaya");
    EXPECT_STREQ(p.Shown(0).place.country, "Ankara");

    p.SetQuery("istanbul");
    ASSERT_GT(p.ShownCount(), 30u);  // the province and its districts
    EXPECT_EQ(p.PickedRow(), 34);
    p.SetQuery("İSTANBUL");
    EXPECT_EQ(p.PickedRow(), 34);
    size_t districts = 0;
    for (size_t i = 0; i < p.ShownCount(); ++i)
        districts += std::string(p.Shown(i).place.country) == "İstanbul";
    EXPECT_GE(districts, 30u);
}

// Picking in the calculation parameters dialog: "Liste" set, the row loaded
// and the settlement fields shown exactly as after "Uygula"; what the user
// typed elsewhere stays. The current folder is elsewhere, as a file dialog
// may leave it, with another list of the same name: the program's is used.
TEST(PlacePicker, PickedRowFillsTheDialogAsApplyWould) {
    testing::TempFolder folder, elsewhere;
    std::string text;
    for (const std::string& row : SmallList())
        text += row;
    testing::WriteBytes(folder / "liste.csv", text);
    testing::WriteBytes(elsewhere / "liste.csv",
                        "Yanlış;Yer;0;1;2\nYanlış;Yer;0;1;2\nYanlış;Yer;0;1;2\n");
    struct Back {
        std::filesystem::path to;
        ~Back() { std::filesystem::current_path(to); }
    } back{std::filesystem::current_path()};
    std::filesystem::current_path(elsewhere.path());
    const SettlementListFile list = SettlementListBeside(folder / "liste.exe");
    EXPECT_TRUE(list.exists);

    ProgramState ps;
    ps.location.useList = false;
    ps.location.useSystemTimeZone = true;
    FakeControls c;
    RefreshCalcParamsForm(ps, list, c);
    c.text[IDC_MODE] = "3";  // typed, not applied

    ApplyPickedRow(ps, c, list, 3);
    EXPECT_TRUE(ps.location.useList);
    EXPECT_EQ(ps.location.listRow, 3);
    EXPECT_STREQ(ps.location.city, "Çankaya");
    EXPECT_EQ(ps.location.latitude, 3991);
    EXPECT_EQ(c.text[IDC_MODE], "3");
    EXPECT_EQ(ps.calc.mode, 4);
    EXPECT_EQ(c.focus, IDC_OK_BUTTON);

    FakeControls applied;
    RefreshCalcParamsForm(ps, list, applied);
    for (int id : {IDC_USE_LIST, IDC_LIST_ROW, IDC_CITY, IDC_COUNTRY, IDC_LATITUDE, IDC_LONGITUDE,
                   IDC_UTC_OFFSET}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(c.text[id], applied.text[id]);
        EXPECT_EQ(c.enabled[id], applied.enabled[id]);
        EXPECT_EQ(c.checked[id], applied.checked[id]);
    }
    EXPECT_EQ(c.text[IDC_LIST_ROW], "3");
    EXPECT_EQ(c.text[IDC_LATITUDE], "39.91");

    // "Kaydet" then reads the same row again and stores it.
    c.text[IDC_MODE] = "4";
    ASSERT_EQ(CommitCalcParams(ps, c, list), 0);
    EXPECT_EQ(ps.location.listRow, 3);
    EXPECT_EQ(ps.location.longitude, 3286);
    ASSERT_TRUE(SaveCalcParams(ps, folder / "liste.ini"));
    ProgramState saved;
    LoadCalcParams(saved, folder / "liste.ini");
    EXPECT_STREQ(saved.location.city, "Çankaya");
    EXPECT_EQ(saved.location.latitude, 3991);
    EXPECT_EQ(saved.location.longitude, 3286);
}

}  // namespace
}  // namespace miravel
