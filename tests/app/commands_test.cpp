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

class RecordingAutostart : public Autostart {
  public:
    bool IsRegistered() override { return registered; }
    bool Register(const std::filesystem::path&) override { return registered = true; }
    bool Unregister() override {
        registered = false;
        return true;
    }
    bool registered = false;
};

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
    void DestroyMainWindow() override { calls.push_back("destroy"); }
    void RunTimesDialog() override { calls.push_back("times dialog"); }
    int RunCalcParamsDialog() override {
        calls.push_back("calc dialog");
        ps->calc.mode = 2;  // an edit the dialog made
        return dialogResult;
    }
    int RunOptionsDialog() override {
        calls.push_back("options dialog");
        ps->options.reminderLead = 33;
        return dialogResult;
    }
    void RunAboutDialog() override { calls.push_back("about"); }
    void RunTallyDialog(int index) override { calls.push_back("tally " + std::to_string(index)); }
    Autostart& AutostartSetting() override { return autostart; }
    std::filesystem::path ProgramPath() override { return "C:\\Miravel\\miravel.exe"; }
    void ReportSaveFailure() override { calls.push_back("save failed"); }
    void WriteReport(int command) override { calls.push_back("report " + std::to_string(command)); }
    void ShowChart(int command) override { calls.push_back("chart " + std::to_string(command)); }
    void SetWallpaperMode(int mode) override {
        calls.push_back("wallpaper " + std::to_string(mode));
    }
    void ConvertMp3ToWav() override { calls.push_back("mp3"); }

    Calls calls;
    ProgramState* ps = nullptr;
    int dialogResult = 1;
    RecordingAutostart autostart;
};

class CommandsTest : public ::testing::Test {
  protected:
    CommandsTest() { target.ps = &ps; }
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

TEST_F(CommandsTest, UnknownNumbersDoNothing) {
    const ProgramState before = ps;
    for (int c : {0, 1, 1026, 1049, 1050, 1059, 1075, 1148, 1150, -1043}) {
        EXPECT_TRUE(Run(c).empty()) << c;
    }
    EXPECT_EQ(ps.options.messageStyle, before.options.messageStyle);
    EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST_F(CommandsTest, ModalDialogsGrayTheirEntryWhileOpen) {
    EXPECT_EQ(Run(kCmdTimesDialog), (Calls{"gray 1027", "times dialog", "enable 1027"}));
    EXPECT_EQ(Run(kCmdAbout), (Calls{"gray 1062", "about", "enable 1062"}));
    EXPECT_EQ(Run(1063), (Calls{"gray 1063", "tally 0", "enable 1063"}));
    EXPECT_EQ(Run(1067), (Calls{"gray 1067", "tally 4", "enable 1067"}));
}

TEST_F(CommandsTest, SettingsDialogsSaveOnKaydetAndReloadOtherwise) {
    EXPECT_EQ(Run(kCmdCalcParams), (Calls{"gray 1040", "calc dialog", "enable 1040"}));
    EXPECT_EQ(ReadIniInt(ini, kCalcSection, "Hesap Modu", -1), 2);
    EXPECT_EQ(Run(kCmdOptions), (Calls{"gray 1058", "options dialog", "enable 1058"}));
    EXPECT_EQ(ps.options.reminderLead, 33);

    // Any other end throws the edits away: the file's values come back.
    target.dialogResult = 2;
    Run(kCmdCalcParams);
    EXPECT_EQ(ps.calc.mode, 2);
    Run(kCmdOptions);
    EXPECT_EQ(ps.options.reminderLead, 33);
}

TEST_F(CommandsTest, AFailedSaveIsReported) {
    // A folder where the file should be cannot be replaced by a file.
    std::filesystem::create_directory(ini);
    EXPECT_EQ(Run(kCmdCalcParams),
              (Calls{"gray 1040", "calc dialog", "save failed", "enable 1040"}));
}

TEST_F(CommandsTest, ReportsChartsWallpaperAndWrapper) {
    EXPECT_EQ(Run(1028), (Calls{"report 1028"}));
    EXPECT_EQ(Run(1030), (Calls{"report 1030"}));
    EXPECT_EQ(Run(kCmdRamadanPage), (Calls{"report 1051"}));
    EXPECT_EQ(Run(1031), (Calls{"chart 1031"}));
    EXPECT_EQ(ps.lastChart, 1031);
    EXPECT_EQ(Run(1039), (Calls{"chart 1039"}));
    EXPECT_EQ(ps.lastChart, 1039);
    EXPECT_EQ(Run(1046), (Calls{"wallpaper 1"}));
    EXPECT_EQ(Run(1048), (Calls{"wallpaper 3"}));
    EXPECT_EQ(Run(kCmdMp3ToWav), (Calls{"mp3"}));
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
