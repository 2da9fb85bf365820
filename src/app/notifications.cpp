#include "app/notifications.h"

#include <cstdio>

#include "app/scheduler.h"

namespace miravel {

namespace {

constexpr const char* kMainCaption = "Miravel";
constexpr const char* kNoticeTitle = "Hatırlatıcı";
constexpr const char* kReligiousDayTitle = "Dini Günler Uyarısı";
constexpr const char* kReminderTitle = "Lütfen namazınızı kılınız...";
constexpr const char* kErrorTitle = "Hata";
constexpr const char* kReminderButtonTip = "Buton metnini INI dosyasından değiştirebilirsiniz.";

}  // namespace

void FormatReminderDialogText(int endingName, unsigned lead, char* out, size_t size) {
    std::snprintf(out, size,
                  "%s vaktinin çıkmasına %u dakika kaldı!\n\nLütfen namazınızı kılınız...",
                  EndingTimeName(endingName), lead);
}

void FormatAdhanBoxText(const char* slotName, char* out, size_t size) {
    std::snprintf(out, size,
                  "\n\t%s EZANI VAKTİ...\n\n"
                  "Kıyamete kadar devam edecek olan namazın\n"
                  "ve şu en mükemmel davetin Rabbi olan Allah'ım;\n\n"
                  "Muhammed aleyhissalâtü vesselam'a cennette en yüksek makam olan Vesile'yi,\n"
                  "bütün mahlukat üstünde bir mertebe olan Fazilet'i ve en yüce dereceyi ver\n"
                  "ve onu vaadettiğin Makam-ı Mahmud'a ulaştır.\n\n"
                  "Şüphesiz sen vaadinden dönmezsin. Amin...\n",
                  slotName);
}

void Notifications::ShowBalloon(const char* title, const char* text, int icon) {
    if (ps_.options.messageStyle == kStyleBalloon) platform_.ShowTrayBalloon(title, text, icon);
}

void Notifications::ShowNotice(const char* text) {
    platform_.CloseMiravelWindow();
    if (ps_.options.messageStyle == kStyleBox)
        platform_.ShowBox(false, kMainCaption, text, kBoxIconWarning | kBoxSystemModal);
    else
        ShowBalloon(kNoticeTitle, text, kBalloonWarning);
}

void Notifications::ShowReligiousDayWarning(const char* text) {
    if (ps_.options.messageStyle == kStyleBox)
        platform_.ShowBox(false, kReligiousDayTitle, text, kBoxIconWarning);
    else
        ShowBalloon(kReligiousDayTitle, text, kBalloonWarning);
}

void Notifications::ShowReminder(int endingName, unsigned lead) {
    platform_.CloseMiravelWindow();
    char text[256];
    if (ps_.options.messageStyle == kStyleBox) {
        FormatReminderDialogText(endingName, lead, text, sizeof text);
        platform_.OpenReminderDialog(text, ps_.options.reminderButtonText, kReminderButtonTip);
    } else {
        std::snprintf(text, sizeof text, "%s vaktinin çıkmasına %u dakika kaldı!",
                      EndingTimeName(endingName), lead);
        ShowBalloon(kReminderTitle, text, kBalloonWarning);
    }
}

bool Notifications::ShowAdhanNotice(const char* slotName) {
    if (ps_.options.messageStyle != kStyleBox) {
        ShowBalloon(slotName, "Ezan Vakti...", kBalloonInfo);
        return false;
    }
    char text[640];
    FormatAdhanBoxText(slotName, text, sizeof text);
    platform_.ShowBox(true, kMainCaption, text, kBoxOk | kBoxSystemModal);
    return true;
}

bool Notifications::ShowPlaybackError(const char* text) {
    if (ps_.options.messageStyle == kStyleBox) {
        platform_.ShowBox(true, kErrorTitle, text, kBoxIconWarning);
        return true;
    }
    ShowBalloon(kErrorTitle, text, kBalloonError);
    return false;
}

void Notifications::ShowFailure(const char* text, unsigned icon) {
    platform_.ShowBox(true, kErrorTitle, text, icon);
}

void Notifications::ShowRequestFailure(const char* text) {
    if (ps_.options.messageStyle == kStyleBalloon) {
        platform_.ShowTrayBalloon(kErrorTitle, text, kBalloonError);
    } else {
        ShowFailure(text);
    }
}

}  // namespace miravel
