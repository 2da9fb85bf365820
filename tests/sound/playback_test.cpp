#include "sound/playback.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/notifications.h"
#include "config/codepage.h"
#include "config/ini_file.h"
#include "config/settings.h"
#include "config/temp_folder.h"

namespace miravel {
namespace {

using Calls = std::vector<std::string>;

// Both platforms record into one list, so that the order of relay, sound
// and message is visible.
class RecordingPlatform : public PlaybackPlatform, public NotifyPlatform {
  public:
    bool OpenRelayPort(int port) override {
        calls.push_back("open COM" + std::to_string(port));
        return portOpens;
    }
    void SetRelayBreak() override { calls.push_back("break on"); }
    void ClearRelayBreak() override { calls.push_back("break off"); }
    void StartRelayHoldTimer(uint32_t ms) override {
        calls.push_back("hold " + std::to_string(ms));
    }
    void StopRelayHoldTimer() override { calls.push_back("kill hold"); }
    void Sleep(uint32_t ms) override { calls.push_back("sleep " + std::to_string(ms)); }
    void PlayWavAsync(const char* file) override { calls.push_back(std::string("wav ") + file); }
    void StopWav() override { calls.push_back("stop wav"); }
    bool ShellOpen(const char* file) override {
        calls.push_back(std::string("shell ") + file);
        return shellOpens;
    }
    void SendMediaStopKey() override { calls.push_back("media stop"); }
    bool ChooseOpenFile(const char* title, const char* proposed, std::u16string* chosen) override {
        calls.push_back(std::string("choose ") + title + " [" + proposed + "]");
        if (!fileChosen) return false;
        *chosen = chosenFile;
        return true;
    }
    void SetMenuEnabled(int command, bool enabled) override {
        calls.push_back((enabled ? "enable " : "gray ") + std::to_string(command));
    }

    void ShowBox(bool owned, const char* caption, const char* text, unsigned flags) override {
        calls.push_back(std::string("box ") + (owned ? "owned " : "") + caption + " " +
                        std::to_string(flags));
        lastText = text;
    }
    void ShowTrayBalloon(const char* title, const char* text, int icon) override {
        calls.push_back(std::string("balloon ") + title + " " + std::to_string(icon));
        lastText = text;
    }
    void CloseMiravelWindow() override { calls.push_back("close Miravel"); }
    void OpenReminderDialog(const char*, const char*, const char*) override {
        calls.push_back("reminder");
    }

    Calls calls;
    std::string lastText;
    bool portOpens = true;
    bool shellOpens = true;
    bool fileChosen = true;
    std::u16string chosenFile;
};

class PlaybackTest : public ::testing::Test {
  protected:
    PlaybackTest() { ps.options.messageStyle = kStyleBox; }

    ProgramState ps;
    RecordingPlatform platform;
    Notifications notifications{ps, platform};
    Playback playback{ps, platform, notifications};
};

TEST(WavExtension, DecidesBetweenSoundPlayerAndShell) {
    EXPECT_TRUE(HasWavExtension("ezan.wav"));
    EXPECT_TRUE(HasWavExtension("C:\\Sesler\\EZAN.WAV"));
    EXPECT_TRUE(HasWavExtension("a.b.Wav"));
    EXPECT_FALSE(HasWavExtension("ezan.mp3"));
    EXPECT_FALSE(HasWavExtension("ezan"));
    EXPECT_FALSE(HasWavExtension("ezan.wave"));
    EXPECT_FALSE(HasWavExtension("ezan.wa"));
    EXPECT_FALSE(HasWavExtension("C:\\klasör.wav\\ezan"));
    EXPECT_FALSE(HasWavExtension("C:klasör.wav/ezan"));
    EXPECT_FALSE(HasWavExtension(""));
}

TEST(RelaySeconds, NegativeIsNoWaitAndHugeIsCappedAtTheTimerMaximum) {
    EXPECT_EQ(RelaySecondsToMs(3), 3000u);
    EXPECT_EQ(RelaySecondsToMs(400), 400000u);
    EXPECT_EQ(RelaySecondsToMs(0), 0u);
    EXPECT_EQ(RelaySecondsToMs(-5), 0u);
    EXPECT_EQ(RelaySecondsToMs(INT32_MAX), 0x7FFFFFFFu);
}

TEST_F(PlaybackTest, WavWithoutRelayGoesStraightToTheSoundPlayer) {
    playback.PlaySoundFile("ezan.wav");
    EXPECT_EQ(platform.calls, (Calls{"wav ezan.wav"}));
    EXPECT_FALSE(playback.externalPlayerStarted());
}

TEST_F(PlaybackTest, SwitchedOffPlaysNothingAndTouchesNoRelay) {
    ps.options.adhanEnabled = false;
    ps.options.relayPort = 2;
    playback.PlaySoundFile("ezan.wav");
    playback.PlaySoundFile("ezan.mp3");
    EXPECT_TRUE(platform.calls.empty());
}

TEST_F(PlaybackTest, RelayClosesThenWaitsTheLeadThenHoldsFromTheStartOfTheSound) {
    ps.options.relayPort = 3;
    ps.options.relayLeadSeconds = 4;
    ps.options.relayHoldSeconds = 90;
    playback.PlaySoundFile("sala.wav");
    EXPECT_EQ(platform.calls,
              (Calls{"open COM3", "break on", "sleep 4000", "hold 90000", "wav sala.wav"}));
}

TEST_F(PlaybackTest, TwoPlaysWithinTheHoldCloseTheRelayTwiceAndRestartTheHold) {
    ps.options.relayPort = 1;
    playback.PlaySoundFile("sala.wav");
    playback.PlaySoundFile("ezan.wav");
    EXPECT_EQ(platform.calls,
              (Calls{"open COM1", "break on", "sleep 3000", "hold 400000", "wav sala.wav",
                     "open COM1", "break on", "sleep 3000", "hold 400000", "wav ezan.wav"}));
    platform.calls.clear();
    playback.RelayHoldEnded();
    EXPECT_EQ(platform.calls, (Calls{"kill hold", "break off"}));
}

TEST_F(PlaybackTest, RelayFailureStillPlaysAndReportsByStyle) {
    ps.options.relayPort = 7;
    platform.portOpens = false;

    playback.PlaySoundFile("ezan.wav");
    EXPECT_EQ(platform.calls, (Calls{"open COM7", "wav ezan.wav",
                                     "box owned Hata " + std::to_string(kBoxIconWarning)}));
    EXPECT_EQ(platform.lastText, "COM7 açılamıyor...");

    platform.calls.clear();
    ps.options.messageStyle = kStyleBalloon;
    playback.PlaySoundFile("ezan.wav");
    EXPECT_EQ(platform.calls,
              (Calls{"open COM7", "wav ezan.wav", "balloon Hata " + std::to_string(kBalloonError),
                     "sleep 5000"}));

    platform.calls.clear();
    ps.options.messageStyle = kStyleNone;
    playback.PlaySoundFile("ezan.wav");
    EXPECT_EQ(platform.calls, (Calls{"open COM7", "wav ezan.wav", "sleep 5000"}));
}

TEST_F(PlaybackTest, OtherFilesGoToTheShellAndItsPlayerIsStoppedOnce) {
    playback.PlaySoundFile("ezan.mp3");
    playback.PlaySoundFile("ezan");
    EXPECT_EQ(platform.calls, (Calls{"shell ezan.mp3", "shell ezan"}));
    EXPECT_TRUE(playback.externalPlayerStarted());

    platform.calls.clear();
    playback.StopSound();
    playback.StopSound();
    EXPECT_EQ(platform.calls, (Calls{"stop wav", "media stop", "stop wav"}));
}

TEST_F(PlaybackTest, ShellRefusalIsReportedWithTheFileName) {
    platform.shellOpens = false;
    playback.PlaySoundFile("C:\\yok.mp3");
    EXPECT_EQ(platform.calls,
              (Calls{"shell C:\\yok.mp3", "box owned Hata " + std::to_string(kBoxIconWarning)}));
    EXPECT_EQ(platform.lastText, "C:\\yok.mp3\nçalıştırılamıyor...");
    EXPECT_FALSE(playback.externalPlayerStarted());
    platform.calls.clear();
    playback.StopSound();
    EXPECT_EQ(platform.calls, (Calls{"stop wav"}));
}

TEST_F(PlaybackTest, AdhanBoxCutsTheAdhanWhenClosedAndThenPlaysTheDua) {
    std::snprintf(ps.adhanFiles[1], sizeof ps.adhanFiles[1], "öğle.wav");
    playback.PlayAdhan(1);
    const std::string box = "box owned Miravel " + std::to_string(kBoxSystemModal);
    EXPECT_EQ(platform.calls,
              (Calls{"close Miravel", "wav öğle.wav", box, "stop wav", "wav ezandua.wav"}));
    EXPECT_EQ(platform.lastText.rfind("\n\tÖĞLE EZANI VAKTİ...\n\nKıyamete", 0), 0u);
}

TEST_F(PlaybackTest, WithARelayNoDuaFollowsTheAdhanBox) {
    ps.options.relayPort = 2;
    playback.PlayAdhan(4);
    const std::string box = "box owned Miravel " + std::to_string(kBoxSystemModal);
    EXPECT_EQ(platform.calls, (Calls{"close Miravel", "open COM2", "break on", "sleep 3000",
                                     "hold 400000", "wav ezan.wav", box, "stop wav"}));
}

TEST_F(PlaybackTest, AdhanBalloonLeavesTheAdhanPlaying) {
    ps.options.messageStyle = kStyleBalloon;
    playback.PlayAdhan(0);
    EXPECT_EQ(platform.calls, (Calls{"close Miravel", "wav ezan.wav",
                                     "balloon SABAH " + std::to_string(kBalloonInfo)}));
    EXPECT_EQ(platform.lastText, "Ezan Vakti...");

    platform.calls.clear();
    ps.options.messageStyle = kStyleNone;
    playback.PlayAdhan(3);
    EXPECT_EQ(platform.calls, (Calls{"close Miravel", "wav ezan.wav"}));
}

TEST_F(PlaybackTest, AdhanWhileSwitchedOffStillShowsTheBoxButPlaysNothing) {
    ps.options.adhanEnabled = false;
    ps.ikindiAdhanTime = AsriSani;
    playback.PlayAdhan(2);
    const std::string box = "box owned Miravel " + std::to_string(kBoxSystemModal);
    EXPECT_EQ(platform.calls, (Calls{"close Miravel", box, "stop wav"}));
    EXPECT_NE(platform.lastText.find("ASR-I SANİ EZANI VAKTİ"), std::string::npos);
}

TEST_F(PlaybackTest, ReleaseStopsTheSoundAndOpensTheRelay) {
    playback.PlaySoundFile("x.mp3");
    platform.calls.clear();
    playback.Release();
    EXPECT_EQ(platform.calls, (Calls{"stop wav", "media stop", "break off"}));
}

TEST_F(PlaybackTest, ChosenAdhanFileIsKeptAndWrittenUnderTheSlotsKey) {
    testing::TempFolder folder;
    const auto ini = folder / "miravel.ini";
    ps.ikindiAdhanTime = AsriSani;
    platform.chosenFile = Cp1254ToUtf16("C:\\Sesler\\ikindi ezanı.wav");

    playback.ChooseAdhanFile(2, ini);
    EXPECT_EQ(platform.calls,
              (Calls{"gray 1055", "choose ASR-I SANİ ezanı dosyasını seçiniz : [ezan.wav]",
                     "enable 1055"}));
    EXPECT_STREQ(ps.adhanFiles[2], "C:\\Sesler\\ikindi ezanı.wav");
    char stored[255];
    ReadIniString(ini, kOptionsSection, "ASR-I SANİ", "", stored, sizeof stored);
    EXPECT_STREQ(stored, "C:\\Sesler\\ikindi ezanı.wav");
    EXPECT_FALSE(IniDocument(testing::ReadBytes(ini)).Find(kOptionsSection, "İKİNDİ", nullptr));
}

TEST_F(PlaybackTest, CancelledChoiceChangesNothing) {
    testing::TempFolder folder;
    const auto ini = folder / "miravel.ini";
    platform.fileChosen = false;
    playback.ChooseAdhanFile(0, ini);
    EXPECT_EQ(
        platform.calls,
        (Calls{"gray 1053", "choose SABAH ezanı dosyasını seçiniz : [ezan.wav]", "enable 1053"}));
    EXPECT_STREQ(ps.adhanFiles[0], "ezan.wav");
    EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST_F(PlaybackTest, PathThatTheCodePageCannotHoldOrTooLongIsRefused) {
    testing::TempFolder folder;
    const auto ini = folder / "miravel.ini";
    platform.chosenFile = u"C:\\\u97f3\u697d\\ezan.wav";  // not in Windows-1254
    playback.ChooseAdhanFile(4, ini);
    EXPECT_STREQ(ps.adhanFiles[4], "ezan.wav");
    EXPECT_FALSE(std::filesystem::exists(ini));
    EXPECT_EQ(platform.calls[2], "box owned Hata " + std::to_string(kBoxIconWarning));
    EXPECT_EQ(platform.calls.back(), "enable 1057");

    platform.calls.clear();
    platform.chosenFile = u"C:\\" + std::u16string(260, u'a') + u".wav";
    playback.ChooseAdhanFile(4, ini);
    EXPECT_STREQ(ps.adhanFiles[4], "ezan.wav");
    EXPECT_FALSE(std::filesystem::exists(ini));

    platform.calls.clear();
    platform.chosenFile = u"C:\\" + std::u16string(247, u'a') + u".wav";  // 254 characters
    playback.ChooseAdhanFile(4, ini);
    EXPECT_EQ(std::string(ps.adhanFiles[4]).size(), 254u);
}

// A refused choice says so in every style, without the pause of a playback
// error, and names what is wrong with the file rather than claiming it
// cannot be run.
TEST_F(PlaybackTest, RefusedChoiceIsReportedInEveryStyleWithoutAPause) {
    testing::TempFolder folder;
    const auto ini = folder / "miravel.ini";
    platform.chosenFile = u"C:\\\u97f3\u697d\\ezan.wav";
    for (int style : {0, 1, 2}) {
        ps.options.messageStyle = style;
        platform.calls.clear();
        playback.ChooseAdhanFile(1, ini);
        EXPECT_EQ(platform.calls,
                  (Calls{"gray 1054", "choose ÖĞLE ezanı dosyasını seçiniz : [ezan.wav]",
                         "box owned Hata " + std::to_string(kBoxIconWarning), "enable 1054"}))
            << style;
        EXPECT_EQ(platform.lastText.find("çalıştırılamıyor"), std::string::npos);
        EXPECT_NE(platform.lastText.find("seçilemiyor"), std::string::npos);
        EXPECT_NE(platform.lastText.find("ÖĞLE ezanı için önceki dosya"), std::string::npos);
        EXPECT_STREQ(ps.adhanFiles[1], "ezan.wav");
    }
    EXPECT_FALSE(std::filesystem::exists(ini));
}

}  // namespace
}  // namespace miravel
