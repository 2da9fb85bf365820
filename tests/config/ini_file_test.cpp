#include "config/ini_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>

#include "config/file_access.h"
#include "temp_folder.h"

namespace miravel {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

TEST(IniDocument, NamesMatchIgnoringAsciiCaseOnly) {
    const IniDocument doc(
        "[hesap PARAMATRELERI]\r\n"
        "ENLEM=4101\r\n"
        "şehir adı=Bursa\r\n"
        "[SEÇENEKLER]\r\n"
        "Hatırlat=Evet\r\n");
    EXPECT_EQ(doc.GetInt("Hesap Paramatreleri", "Enlem", 0), 4101);
    // Turkish letters compare byte for byte: "ş" is not "Ş", "Ç" is not "ç".
    EXPECT_EQ(doc.GetString("Hesap Paramatreleri", "Şehir Adı", "???"), "???");
    EXPECT_EQ(doc.GetString("Hesap Paramatreleri", "şehir adı", "???"), "Bursa");
    EXPECT_FALSE(doc.Find("Seçenekler", "Hatırlat", nullptr));
    EXPECT_TRUE(doc.Find("SEÇENEKLER", "HATıRLAT", nullptr));
}

TEST(IniDocument, ReadsValuesAsTheProfileFunctionsDo) {
    const IniDocument doc(
        "Enlem=1\n"  // before any section: belongs to none
        "  [ S ]  \n"
        "  Enlem   =   4101  \t\n"
        ";Boylam=5\n"
        "Boylam\n"
        "Yol=\"  C:\\a b  \"\n"
        "Tek='x'\n"
        "Yarım=\"x\n"
        "Enlem=9\n"
        "Bos=\n"
        "[T]\n"
        "Boylam=7");
    EXPECT_EQ(doc.GetString("S", "Enlem", ""), "4101");
    EXPECT_FALSE(doc.Find("S", "Boylam", nullptr));           // comment and line without "="
    EXPECT_EQ(doc.GetString("S", "Yol", ""), "  C:\\a b  ");  // quotes dropped, inside kept
    EXPECT_EQ(doc.GetString("S", "Tek", ""), "x");
    EXPECT_EQ(doc.GetString("S", "Yarım", ""), "\"x");
    EXPECT_EQ(doc.GetString("S", "Bos", "yok"), "");  // present but empty is not absent
    EXPECT_EQ(doc.GetInt("S", "Bos", 42), 42);
    EXPECT_EQ(doc.GetInt("T", "Boylam", 0), 7);  // a last line without line end
    EXPECT_EQ(doc.GetInt("", "Enlem", -1), -1);
}

TEST(IniDocument, ParsesIntegersLikeTheProfileFunctions) {
    EXPECT_EQ(ParseIniInt("-1825", 0), -1825);
    EXPECT_EQ(ParseIniInt("12abc", 0), 12);
    EXPECT_EQ(ParseIniInt("abc", 5), 0);
    EXPECT_EQ(ParseIniInt("- 5", 5), 0);
    EXPECT_EQ(ParseIniInt("", 5), 5);
    EXPECT_EQ(ParseIniInt("99999999999", 0), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ParseIniInt("-99999999999", 0), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ParseIniInt("-2147483648", 0), std::numeric_limits<int32_t>::min());
}

TEST(IniDocument, ReplacesAValueInItsLineAndKeepsEveryOtherByte) {
    const std::string before =
        "; yorum\n"
        "[Hesap Paramatreleri]\r\n"
        "enlem =  4101   \r\n"
        "Yol=\"eski\"\n"
        "\n"
        "[Diğer]\r\n"
        "Enlem=1\r\n";
    IniDocument doc(before);
    doc.SetInt("Hesap Paramatreleri", "Enlem", -3950);
    doc.SetString("HESAP Paramatreleri", "YOL", "yeni");
    EXPECT_EQ(doc.Text(),
              "; yorum\n"
              "[Hesap Paramatreleri]\r\n"
              "enlem =  -3950\r\n"
              "Yol=yeni\n"
              "\n"
              "[Diğer]\r\n"
              "Enlem=1\r\n");
}

// A value with blanks around it reads without them; setting it again, as
// every save does, must not add its leading blanks to the line once more.
TEST(IniDocument, ASecondSetOfABlankPaddedValueLeavesTheLineAlone) {
    IniDocument doc("[A]\r\nZ=2\r\nY=  v  \r\n");
    doc.SetString("A", "Z", "  new value  ");
    const std::string once = doc.Text();
    EXPECT_EQ(once, "[A]\r\nZ=  new value  \r\nY=  v  \r\n");
    doc.SetString("A", "Z", "  new value  ");
    doc.SetString("A", "Y", " v");
    doc.SetString("A", "Y", "\"v\"");
    EXPECT_EQ(doc.Text(), once);
    std::string value;
    ASSERT_TRUE(doc.Find("A", "Z", &value));
    EXPECT_EQ(value, "new value");
    doc.SetString("A", "Y", " w");
    EXPECT_TRUE(doc.Find("A", "Y", &value));
    EXPECT_EQ(value, "w");
}

TEST(IniDocument, AppendsANewKeyAfterTheLastKeyOfItsSection) {
    IniDocument doc(
        "[A]\r\n"
        "x=1\r\n"
        "; son\r\n"
        "\r\n"
        "\r\n"
        "[B]\r\n"
        "y=2\r\n");
    doc.SetString("a", "z", "3");
    doc.SetString("A", "w", "4");
    doc.SetString("B", "v", "5");
    EXPECT_EQ(doc.Text(),
              "[A]\r\n"
              "x=1\r\n"
              "z=3\r\n"
              "w=4\r\n"
              "; son\r\n"
              "\r\n"
              "\r\n"
              "[B]\r\n"
              "y=2\r\n"
              "v=5\r\n");
}

TEST(IniDocument, CreatesSectionsAtTheEnd) {
    IniDocument empty;
    empty.SetInt("Seçenekler", "iletiler", 1);
    empty.SetString("Time Servers", "Host0", "a");
    EXPECT_EQ(empty.Text(),
              "[Seçenekler]\r\n"
              "iletiler=1\r\n"
              "\r\n"
              "[Time Servers]\r\n"
              "Host0=a\r\n");

    IniDocument noFinalLineEnd("[A]\nx=1");
    noFinalLineEnd.SetString("A", "y", "2");
    EXPECT_EQ(noFinalLineEnd.Text(), "[A]\nx=1\r\ny=2\r\n");

    IniDocument headerOnly("[A]");
    headerOnly.SetString("A", "y", "2");
    EXPECT_EQ(headerOnly.Text(), "[A]\r\ny=2\r\n");

    IniDocument endsBlank("[A]\nx=1\n\n");
    endsBlank.SetString("B", "y", "2");
    EXPECT_EQ(endsBlank.Text(), "[A]\nx=1\n\n[B]\r\ny=2\r\n");
}

TEST(IniDocument, AValueCannotInjectLines) {
    IniDocument doc;
    doc.SetString("A", "x", "1\r\n[B]\r\ny=2");
    EXPECT_EQ(doc.Text(), "[A]\r\nx=1\r\n");
    EXPECT_FALSE(doc.SectionHasKeys("B"));
}

TEST(IniDocument, SectionHasKeysCountsOnlyKeyLines) {
    const IniDocument doc(
        "[Boş]\r\n"
        "; yalnız yorum\r\n"
        "\r\n"
        "[Dolu]\r\n"
        "a=\r\n");
    EXPECT_FALSE(doc.SectionHasKeys("Boş"));
    EXPECT_FALSE(doc.SectionHasKeys("Yok"));
    EXPECT_TRUE(doc.SectionHasKeys("dolu"));
}

TEST(IniFile, WritesAndReadsThroughTheDisk) {
    TempFolder dir;
    const auto ini = dir / "miravel.ini";
    EXPECT_EQ(ReadIniInt(ini, "A", "x", 7), 7);  // no file: the defaults
    EXPECT_FALSE(IniSectionHasKeys(ini, "A"));
    ASSERT_TRUE(WriteIniInt(ini, "A", "x", -12));
    ASSERT_TRUE(WriteIniString(ini, "A", "y", "Yerküre"));
    EXPECT_EQ(ReadBytes(ini), "[A]\r\nx=-12\r\ny=Yerküre\r\n");
    EXPECT_EQ(ReadIniInt(ini, "a", "X", 7), -12);
    char buffer[8];
    ReadIniString(ini, "A", "y", "", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Yerküre");
    EXPECT_TRUE(IniSectionHasKeys(ini, "A"));
    EXPECT_FALSE(std::filesystem::exists(TempPathBeside(ini)));

    IniFileEdit edit(ini);
    edit.SetInt("A", "x", 1);
    edit.SetInt("B", "z", 2);
    ASSERT_TRUE(edit.Commit());
    EXPECT_EQ(ReadBytes(ini), "[A]\r\nx=1\r\ny=Yerküre\r\n\r\n[B]\r\nz=2\r\n");
}

// A save that cannot finish must leave the previous file as it was.
TEST(IniFile, AFailedSaveLeavesTheOldFileWhole) {
    TempFolder dir;
    const auto ini = dir / "miravel.ini";
    const std::string old = "; eski\r\n[A]\r\nx=1\r\n";
    WriteBytes(ini, old);

    // The temporary file cannot be created: a folder stands in its place.
    std::filesystem::create_directory(TempPathBeside(ini));
    EXPECT_FALSE(WriteIniInt(ini, "A", "x", 2));
    EXPECT_EQ(ReadBytes(ini), old);
    EXPECT_TRUE(std::filesystem::is_directory(TempPathBeside(ini)));  // not ours, not removed
    std::filesystem::remove(TempPathBeside(ini));

    // A file marked read-only is not replaced.
    std::filesystem::permissions(ini,
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_FALSE(WriteIniInt(ini, "A", "x", 2));
    EXPECT_EQ(ReadBytes(ini), old);
    EXPECT_FALSE(std::filesystem::exists(TempPathBeside(ini)));
}

TEST(IniFile, NothingIsWrittenOverWhatCouldNotBeRead) {
    TempFolder dir;
    // The path is a folder: it can be neither read nor replaced.
    const auto ini = dir / "miravel.ini";
    std::filesystem::create_directory(ini);
    EXPECT_FALSE(WriteIniInt(ini, "A", "x", 2));
    EXPECT_TRUE(std::filesystem::is_directory(ini));
    EXPECT_FALSE(std::filesystem::exists(TempPathBeside(ini)));
    EXPECT_FALSE(SaveIniFile(ini, IniDocument("[A]\r\nx=1\r\n")));
    EXPECT_FALSE(std::filesystem::exists(TempPathBeside(ini)));  // removed after the rename failed
}

}  // namespace
}  // namespace miravel
