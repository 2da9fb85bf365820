#include "app/commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ini_file.h"
#include "config/settings.h"
#include "config/temp_folder.h"

namespace miravel {
namespace {

using Calls = std::vector<std::string>;

class RecordingTarget : public CommandTarget {
  public:
    void SetMenuChecked(int command, bool checked) override {
        calls.push_back((checked ? "check " : "uncheck ") + std::to_string(command));
    }
    void SetMenuEnabled(int command, bool enabled) override {
        calls.push_back((enabled ? "enable " : "gray ") + std::to_string(command));
    }
    void StopSound() override { calls.push_back("stop sound"); }
    void PlaySoundFile(const char* file) override { calls.push_back(std::string("play ") + file); }
    void ChooseAdhanFile(int slot) override { calls.push_back("choose " + std::to_string(slot)); }
    void OpenManual() override { calls.push_back("manual"); }
    void OpenUrl(const char* url) override { calls.push_back(std::string("url ") + url); }
    void SyncClockInteractive() override { calls.push_back("sync clock"); }
    void ConvertMp3ToWav() override { calls.push_back("mp3"); }
    void DestroyMainWindow() override { calls.push_back("destroy"); }

    Calls calls;
};

class CommandsTest : public ::testing::Test {
  protected:
    Calls Run(int command) {
        target.calls.clear();
        DispatchCommand(ps, ini, command, target);
        return target.calls;
    }

    testing::TempFolder folder;
    std::filesystem::path ini = folder / "miravel.ini";
    ProgramState ps;
    RecordingTarget target;
};

TEST_F(CommandsTest, MessageStyleMovesTheMarkAndIsWrittenForTheNextStart) {
    EXPECT_EQ(Run(kCmdStyleNone),
              (Calls{"uncheck 1043", "uncheck 1044", "uncheck 1045", "check 1043"}));
    EXPECT_EQ(ps.options.messageStyle, 0);
    EXPECT_EQ(ReadIniInt(ini, kOptionsSection, "iletiler", -1), 0);

    EXPECT_EQ(Run(kCmdStyleBalloon).back(), "check 1044");
    EXPECT_EQ(ps.options.messageStyle, 1);
    EXPECT_EQ(ReadIniInt(ini, kOptionsSection, "iletiler", -1), 1);

    Run(kCmdStyleBox);
    EXPECT_EQ(ps.options.messageStyle, 2);
    EXPECT_EQ(testing::ReadBytes(ini), "[Seçenekler]\r\niletiler=2\r\n");
}

TEST_F(CommandsTest, AdhanSwitchStopsTheSoundOnlyWhenTurnedOff) {
    EXPECT_EQ(Run(kCmdAdhanSwitch), (Calls{"stop sound", "uncheck 1042"}));
    EXPECT_FALSE(ps.options.adhanEnabled);
    EXPECT_EQ(Run(kCmdAdhanSwitch), (Calls{"check 1042"}));
    EXPECT_TRUE(ps.options.adhanEnabled);
    // Written at shutdown only.
    EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST_F(CommandsTest, WakeUpToggles) {
    EXPECT_EQ(Run(kCmdWakeUp), (Calls{"check 1149"}));
    EXPECT_TRUE(ps.options.wakeUp);
    EXPECT_EQ(Run(kCmdWakeUp), (Calls{"uncheck 1149"}));
    EXPECT_FALSE(ps.options.wakeUp);
}

TEST_F(CommandsTest, SlotCommandsReachTheirSlot) {
    std::snprintf(ps.adhanFiles[2], sizeof ps.adhanFiles[2], "ikindi.mp3");
    EXPECT_EQ(Run(1072), (Calls{"play ikindi.mp3"}));
    EXPECT_EQ(Run(1074), (Calls{"play ezan.wav"}));
    EXPECT_EQ(Run(1053), (Calls{"choose 0"}));
    EXPECT_EQ(Run(1057), (Calls{"choose 4"}));
}

TEST_F(CommandsTest, ClockCheckGraysItsEntryWhileItRuns) {
    EXPECT_EQ(Run(kCmdClockCheck), (Calls{"gray 1041", "sync clock", "enable 1041"}));
}

TEST_F(CommandsTest, ShellCommandsAndExit) {
    EXPECT_EQ(Run(kCmdManual), (Calls{"manual"}));
    EXPECT_EQ(Run(kCmdCalculationArticle), (Calls{std::string("url ") + kCalculationArticleUrl}));
    EXPECT_EQ(Run(kCmdMp3ToWav), (Calls{"mp3"}));
    EXPECT_EQ(Run(kCmdExit), (Calls{"destroy"}));
}

TEST_F(CommandsTest, UnknownAndUnavailableNumbersDoNothing) {
    const ProgramState before = ps;
    for (int c :
         {0, 1, 1026, 1049, 1050, 1059, 1075, 1148, 1150, -1043, kCmdTimesDialog, kCmdChartFirst,
          kCmdCalcParams, kCmdWallpaperMoon, kCmdOptions, kCmdAbout, kCmdTallyFirst + 4}) {
        EXPECT_TRUE(Run(c).empty()) << c;
    }
    EXPECT_EQ(ps.options.messageStyle, before.options.messageStyle);
    EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST(UnavailableCommands, AreExactlyTheEntriesWithoutWork) {
    int list[64];
    const int n = UnavailableCommands(list, 64);
    std::vector<int> got(list, list + n);
    std::vector<int> expected;
    for (int c = 1027; c <= 1040; ++c)
        expected.push_back(c);
    for (int c : {1046, 1047, 1048, 1058, 1062, 1063, 1064, 1065, 1066, 1067})
        expected.push_back(c);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(UnavailableCommands(list, 3), 3);
    for (int c : got)
        EXPECT_FALSE(IsCommandAvailable(c));
}

TEST(StartupStyle, OutOfRangeValuesFallBackToTheBox) {
    EXPECT_EQ(StartupStyleCommand(0), kCmdStyleNone);
    EXPECT_EQ(StartupStyleCommand(1), kCmdStyleBalloon);
    EXPECT_EQ(StartupStyleCommand(2), kCmdStyleBox);
    // 1043 + 3 would be the moon wallpaper.
    EXPECT_EQ(StartupStyleCommand(3), kCmdStyleBox);
    EXPECT_EQ(StartupStyleCommand(-1), kCmdStyleBox);
    EXPECT_EQ(StartupStyleCommand(1000000), kCmdStyleBox);
}

}  // namespace
}  // namespace miravel
