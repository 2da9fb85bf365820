#include "config/settlement_list.h"

#include <gtest/gtest.h>

#include <string>

#include "temp_folder.h"

namespace miravel {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

const char kProvinces[] =
    "Adana;Türkiye;3;37;35,32\r\n"
    "Adıyaman;Türkiye;3;37,76;38,28\r\n"
    "Afyonkarahisar;Türkiye;3;38,76;30,54\r\n"
    "Ağrı;Türkiye;3;39,72;43,05\r\n"
    "Amasya;Türkiye;3;40,65;35,83\r\n"
    "Ankara;Türkiye;3;39,5;32,75\r\n"
    "Antalya;Türkiye;3;36,88;30,70\r\n";

class SettlementList : public ::testing::Test {
  protected:
    Location Load(const std::string& bytes, int32_t row) {
        WriteBytes(csv_, bytes);
        Location loc;
        LoadSettlementRow(csv_, row, loc);
        return loc;
    }

    TempFolder dir_;
    std::filesystem::path csv_ = dir_ / "miravel.csv";
};

TEST_F(SettlementList, LoadsTheRowsFields) {
    const Location ankara = Load(kProvinces, 6);
    EXPECT_STREQ(ankara.city, "Ankara");
    EXPECT_STREQ(ankara.country, "Türkiye");
    EXPECT_EQ(ankara.utcOffset, 180);
    EXPECT_EQ(ankara.latitude, 3950);
    EXPECT_EQ(ankara.longitude, 3275);

    const Location first = Load(kProvinces, 1);
    EXPECT_STREQ(first.city, "Adana");
    EXPECT_EQ(first.latitude, 3700);
    EXPECT_EQ(first.longitude, 3532);
}

TEST_F(SettlementList, RowNumbersOutsideTheFileTakeTheNearestLine) {
    EXPECT_STREQ(Load(kProvinces, 8).city, "Antalya");
    EXPECT_STREQ(Load(kProvinces, 30000).city, "Antalya");
    EXPECT_STREQ(Load("A;X;1;2;3\nB;Y;1;2;3", 5).city, "B");  // no final line end
    EXPECT_STREQ(Load(kProvinces, 0).city, "Adana");
    EXPECT_STREQ(Load(kProvinces, -4).city, "Adana");
}

TEST_F(SettlementList, ConvertsDecimalsExactly) {
    const Location loc = Load("Yer;Ülke;-3,5;41,01;-0,29\n", 1);
    EXPECT_EQ(loc.utcOffset, -210);
    EXPECT_EQ(loc.latitude, 4101);  // 41.01 x 100 in binary is 4100.99...
    EXPECT_EQ(loc.longitude, -29);

    const Location mixed = Load("Yer;Ülke;5.75;-33.869;abc\n", 1);
    EXPECT_EQ(mixed.utcOffset, 345);
    EXPECT_EQ(mixed.latitude, -3386);  // truncated toward zero
    EXPECT_EQ(mixed.longitude, 0);     // no number
}

TEST_F(SettlementList, EmptyFieldsAreSkippedLikeTheTokenizer) {
    const Location loc = Load(";A;;B;2;40;30;ekstra\n", 1);
    EXPECT_STREQ(loc.city, "A");
    EXPECT_STREQ(loc.country, "B");
    EXPECT_EQ(loc.utcOffset, 120);
    EXPECT_EQ(loc.latitude, 4000);
    EXPECT_EQ(loc.longitude, 3000);

    const Location shortRow = Load("Yalnız;İki\r\n", 1);
    EXPECT_STREQ(shortRow.city, "Yalnız");
    EXPECT_STREQ(shortRow.country, "İki");  // no line end in the name
    EXPECT_EQ(shortRow.utcOffset, 0);
    EXPECT_EQ(shortRow.latitude, 0);
    EXPECT_EQ(shortRow.longitude, 0);
}

TEST_F(SettlementList, NamesAreCutTo15Characters) {
    const Location loc = Load("Kahramanmaraş Merkezi;Amerika Birleşik Devletleri;-5;1;2\n", 1);
    EXPECT_STREQ(loc.city, "Kahramanmaraş M");
    EXPECT_STREQ(loc.country, "Amerika Birleşi");
    EXPECT_EQ(loc.utcOffset, -300);
}

// The list was read through a 255-byte line buffer: a line longer than 254
// characters, its line end included, counts as more than one row.
TEST_F(SettlementList, LongLinesCountAsSeveralRows) {
    const std::string fits = "Sığar;Ülke;2;10;20;" + std::string(253 - 19, 'x') + "\r\n";
    ASSERT_EQ(fits.size() - 1, 254u);  // 254 with the CR dropped
    const std::string tooLong = "Uzun;Ülke;1;11;21;" + std::string(300, 'y') + "\n";
    const std::string last = "Son;Ülke;4;44;55\n";
    const std::string file = fits + tooLong + last;

    EXPECT_STREQ(Load(file, 1).city, "Sığar");
    EXPECT_STREQ(Load(file, 2).city, "Uzun");
    const Location rest = Load(file, 3);  // the tail of the long line
    EXPECT_STREQ(rest.city, std::string(15, 'y').c_str());
    EXPECT_EQ(rest.latitude, 0);
    EXPECT_STREQ(Load(file, 4).city, "Son");

    EXPECT_EQ(ReadSettlementRows(csv_).size(), 4u);
}

TEST_F(SettlementList, AMissingOrEmptyFileChangesNothing) {
    Location loc;
    loc.latitude = 123;
    LoadSettlementRow(dir_ / "yok.csv", 1, loc);
    EXPECT_STREQ(loc.city, "???");
    EXPECT_EQ(loc.latitude, 123);

    WriteBytes(csv_, "");
    LoadSettlementRow(csv_.string().c_str(), 1, loc);
    EXPECT_STREQ(loc.city, "???");
    EXPECT_EQ(loc.latitude, 123);
}

}  // namespace
}  // namespace miravel
