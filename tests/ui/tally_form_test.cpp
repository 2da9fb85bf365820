#include "ui/tally_form.h"

#include <gtest/gtest.h>

#include <cstring>

#include "../config/temp_folder.h"
#include "config/ini_file.h"
#include "fake_controls.h"

namespace miravel {
namespace {

using testing::FakeControls;

TEST(Tally, AddingACountDown) {
    FakeControls c;
    Tally t;
    std::strcpy(t.name, "Tesbih");
    t.value = 10;
    t.increment = -3;
    FillTallyForm(t, c);
    EXPECT_EQ(c.text[IDC_TALLY_INCREMENT], "-3");
    AddToTally(c);
    AddToTally(c);
    EXPECT_EQ(c.text[IDC_TALLY_VALUE], "4");
    const Tally read = ReadTallyForm(c);
    EXPECT_STREQ(read.name, "Tesbih");
    EXPECT_EQ(read.value, 4);
    EXPECT_EQ(read.increment, -3);
}

// A field without a number reads as zero; the sum stops at the end of the range.
TEST(Tally, SumsOfOddFields) {
    struct Case {
        const char *value, *increment, *sum;
    };
    for (const Case& k : {Case{"on", "7", "7"}, Case{"2147483647", "1", "2147483647"}}) {
        FakeControls c;
        c.text[IDC_TALLY_VALUE] = k.value;
        c.text[IDC_TALLY_INCREMENT] = k.increment;
        AddToTally(c);
        EXPECT_EQ(c.text[IDC_TALLY_VALUE], k.sum) << k.value << " + " << k.increment;
        c.text[IDC_TALLY_INCREMENT] = "";
        EXPECT_EQ(ReadTallyForm(c).increment, 0);
    }
}

TEST(Tally, NameIsCutTo32Characters) {
    FakeControls c;
    c.text[IDC_TALLY_NAME] = std::string(40, 'ş');
    EXPECT_EQ(std::string(ReadTallyForm(c).name), std::string(32, 'ş'));
}

TEST(Tally, SavesOneTallyAndReadsItBack) {
    testing::TempFolder folder;
    const auto ini = folder / "miravel.ini";
    testing::WriteBytes(ini, "[Seçenekler]\r\nÇetele-2 Adı=Zikir\r\n");
    Tally t;
    t.name[0] = '\0';  // an empty name is saved empty
    t.value = 4;
    t.increment = -3;
    ASSERT_TRUE(SaveTally(ini, 3, t));

    IniDocument doc;
    ASSERT_TRUE(LoadIniFile(ini, &doc));
    std::string value;
    EXPECT_TRUE(doc.Find("Seçenekler", "Çetele-3 Adı", &value));
    EXPECT_EQ(value, "");
    EXPECT_EQ(doc.GetInt("Seçenekler", "Çetele-3 Değeri", 0), 4);
    EXPECT_EQ(doc.GetInt("Seçenekler", "Çetele-3 Eklenecek", 0), -3);
    EXPECT_EQ(doc.GetString("Seçenekler", "Çetele-2 Adı", ""), "Zikir");
    EXPECT_FALSE(doc.Find("Seçenekler", "Çetele-1 Adı", &value));  // others untouched

    Tally loaded;
    LoadTally(ini, 3, &loaded);
    EXPECT_EQ(loaded.value, 4);
    EXPECT_EQ(loaded.increment, -3);
    Tally other;
    LoadTally(ini, 5, &other);
    EXPECT_EQ(other.value, 0);
    EXPECT_EQ(other.increment, 1);
}

}  // namespace
}  // namespace miravel
