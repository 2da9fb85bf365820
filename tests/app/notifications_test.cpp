#include "app/notifications.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/scheduler.h"

namespace miravel {
namespace {

class RecordingPlatform : public NotifyPlatform {
  public:
    void ShowBox(bool owned, const char* caption, const char* text, unsigned flags) override {
        calls.push_back(std::string("box ") + (owned ? "owned " : "ownerless ") + caption + " " +
                        std::to_string(flags) + " " + text);
    }
    void ShowTrayBalloon(const char* title, const char* text, int icon) override {
        calls.push_back(std::string("balloon ") + title + " " + std::to_string(icon) + " " + text);
    }
    void CloseMiravelWindow() override { calls.push_back("close"); }
    void OpenReminderDialog(const char* text, const char* button, const char* tip) override {
        calls.push_back(std::string("reminder ") + text + "|" + button + "|" + tip);
    }
    std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;

struct StyleCase {
    explicit StyleCase(int style) : notes(ps, platform) { ps.options.messageStyle = style; }
    ProgramState ps;
    RecordingPlatform platform;
    Notifications notes;
};

TEST(Notifications, NoticeClosesThePreviousWindowInEveryStyle) {
    const char* text = "Kerahetin girmesine 20 dk. kaldı...";
    StyleCase box(2), balloon(1), none(0);
    box.notes.ShowNotice(text);
    balloon.notes.ShowNotice(text);
    none.notes.ShowNotice(text);
    // MB_ICONWARNING | MB_SYSTEMMODAL = 0x1030, without owner, caption "Miravel".
    EXPECT_EQ(box.platform.calls,
              (Calls{"close", "box ownerless Miravel 4144 Kerahetin girmesine 20 dk. kaldı..."}));
    EXPECT_EQ(balloon.platform.calls,
              (Calls{"close", "balloon Hatırlatıcı 2 Kerahetin girmesine 20 dk. kaldı..."}));
    EXPECT_EQ(none.platform.calls, Calls{"close"});
}

TEST(Notifications, ReligiousDayBoxIsOwnerlessWarningNotSystemModal) {
    StyleCase box(2), balloon(1), none(0);
    box.notes.ShowReligiousDayWarning("Yarın  Kadir Gecesi !");
    balloon.notes.ShowReligiousDayWarning("Yarın  Kadir Gecesi !");
    none.notes.ShowReligiousDayWarning("Yarın  Kadir Gecesi !");
    EXPECT_EQ(box.platform.calls,
              Calls{"box ownerless Dini Günler Uyarısı 48 Yarın  Kadir Gecesi !"});
    EXPECT_EQ(balloon.platform.calls, Calls{"balloon Dini Günler Uyarısı 2 Yarın  Kadir Gecesi !"});
    EXPECT_TRUE(none.platform.calls.empty());
}

TEST(Notifications, ReminderDialogOrBalloon) {
    StyleCase box(2), balloon(1), none(0);
    std::snprintf(box.ps.options.reminderButtonText, sizeof box.ps.options.reminderButtonText, "%s",
                  "Tamam");
    box.notes.ShowReminder(Ikindi, 20);
    balloon.notes.ShowReminder(Ikindi, 20);
    none.notes.ShowReminder(kEndingSabah, 15);
    EXPECT_EQ(box.platform.calls,
              (Calls{"close",
                     "reminder İKİNDİ vaktinin çıkmasına 20 dakika kaldı!\n\nLütfen namazınızı "
                     "kılınız...|Tamam|Buton metnini INI dosyasından değiştirebilirsiniz."}));
    EXPECT_EQ(balloon.platform.calls,
              (Calls{"close",
                     "balloon Lütfen namazınızı kılınız... 2 İKİNDİ vaktinin çıkmasına 20 dakika "
                     "kaldı!"}));
    EXPECT_EQ(none.platform.calls, Calls{"close"});
}

TEST(Notifications, AdhanBoxCarriesTheDuaAndBalloonTheSlotName) {
    StyleCase box(2), balloon(1), none(0);
    EXPECT_TRUE(box.notes.ShowAdhanNotice("ÖĞLE"));
    EXPECT_FALSE(balloon.notes.ShowAdhanNotice("ÖĞLE"));
    EXPECT_FALSE(none.notes.ShowAdhanNotice("ÖĞLE"));
    ASSERT_EQ(box.platform.calls.size(), 1u);
    const std::string& call = box.platform.calls[0];
    // Owned by the main window, system-modal, no icon.
    EXPECT_EQ(call.rfind("box owned Miravel 4096 \n\tÖĞLE EZANI VAKTİ...\n\nKıyamete", 0), 0u);
    EXPECT_NE(call.find("Şüphesiz sen vaadinden dönmezsin. Amin...\n"), std::string::npos);
    EXPECT_EQ(balloon.platform.calls, Calls{"balloon ÖĞLE 1 Ezan Vakti..."});
    EXPECT_TRUE(none.platform.calls.empty());

    // The whole dua fits: nothing is cut at the old 256-byte message buffer.
    char text[640];
    FormatAdhanBoxText("ASR-I SANİ", text, sizeof text);
    EXPECT_GT(std::string(text).size(), 256u);
    EXPECT_EQ(std::string(text).substr(std::string(text).size() - 8), "Amin...\n");
}

TEST(Notifications, PlaybackErrorBoxOrErrorBalloon) {
    StyleCase box(2), balloon(1), none(0);
    EXPECT_TRUE(box.notes.ShowPlaybackError("COM3 açılamıyor..."));
    EXPECT_FALSE(balloon.notes.ShowPlaybackError("COM3 açılamıyor..."));
    EXPECT_FALSE(none.notes.ShowPlaybackError("COM3 açılamıyor..."));
    EXPECT_EQ(box.platform.calls, Calls{"box owned Hata 48 COM3 açılamıyor..."});
    EXPECT_EQ(balloon.platform.calls, Calls{"balloon Hata 3 COM3 açılamıyor..."});
    EXPECT_TRUE(none.platform.calls.empty());
}

// A failure of the user's own action is shown in every style, even
// "Hiçbiri", and under a caption that the next adhan or notice, closing the
// windows titled "Miravel" before it shows itself, does not close.
TEST(Notifications, FailureOfTheUsersActionIsABoxInEveryStyleThatNoticesLeaveOpen) {
    for (int style : {0, 1, 2}) {
        StyleCase c(style);
        c.notes.ShowFailure("Ayarlar dosyaya yazılamadı:\nC:\\Miravel\\miravel.ini");
        c.notes.ShowNotice("Geceyarısına 20 dk. kaldı...");
        ASSERT_GE(c.platform.calls.size(), 2u) << style;
        EXPECT_EQ(c.platform.calls[0],
                  "box owned Hata 16 Ayarlar dosyaya yazılamadı:\nC:\\Miravel\\miravel.ini")
            << style;
        EXPECT_EQ(c.platform.calls[1], "close") << style;
        // The notice's own box is the one titled "Miravel".
        if (style == 2) {
            EXPECT_EQ(c.platform.calls[2].rfind("box ownerless Miravel ", 0), 0u);
        }
    }
}

TEST(Notifications, RequestFailureIsAnErrorBalloonInThatStyleElseTheFailureBox) {
    const std::string text = "İmsakiye sayfası açılamadı:\nC:\\Miravel\\miravel-imsakiye.html";
    const std::string box = "box owned Hata 16 " + text;
    const std::pair<int, std::string> cases[] = {{0, box}, {1, "balloon Hata 3 " + text}, {2, box}};
    for (const auto& [style, call] : cases) {
        StyleCase c(style);
        c.notes.ShowRequestFailure(text.c_str());
        EXPECT_EQ(c.platform.calls, Calls{call}) << style;
    }
}

TEST(Notifications, EndingNamesFollowTheDialogsList) {
    EXPECT_STREQ(EndingTimeName(0), "SABAH");
    EXPECT_STREQ(EndingTimeName(Imsak), "İMSAK");
    EXPECT_STREQ(EndingTimeName(Yatsi), "YATSI");
    EXPECT_STREQ(EndingTimeName(11), "");
    EXPECT_STREQ(EndingTimeName(-1), "");
    char text[32];  // too small: cut, terminated
    FormatReminderDialogText(Aksam, 20, text, sizeof text);
    EXPECT_EQ(std::string(text), "AKŞAM vaktinin çıkmasına 20 dak");
}

}  // namespace
}  // namespace miravel
