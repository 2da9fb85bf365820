#include "ui/tally_form.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "config/ini_file.h"
#include "ui/form_fields.h"

namespace miravel {

namespace {

std::string TallyKey(int index, const char* what) {
    char key[48];
    std::snprintf(key, sizeof key, "Çetele-%i %s", index, what);
    return key;
}

void SetSigned(DialogControls& c, int id, int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%i", static_cast<int>(value));
    c.SetText(id, text);
}

}  // namespace

void LoadTally(const std::filesystem::path& iniPath, int index, Tally* tally) {
    IniDocument doc;
    LoadIniFile(iniPath, &doc);
    tally->value = doc.GetInt(kOptionsSection, TallyKey(index, "Değeri"), 0);
    tally->increment = doc.GetInt(kOptionsSection, TallyKey(index, "Eklenecek"), 1);
}

bool SaveTally(const std::filesystem::path& iniPath, int index, const Tally& tally) {
    IniFileEdit edit(iniPath);
    edit.SetString(kOptionsSection, TallyKey(index, "Adı"),
                   std::string_view(tally.name, strnlen(tally.name, sizeof tally.name)));
    edit.SetInt(kOptionsSection, TallyKey(index, "Değeri"), tally.value);
    edit.SetInt(kOptionsSection, TallyKey(index, "Eklenecek"), tally.increment);
    return edit.Commit();
}

void FillTallyForm(const Tally& tally, DialogControls& c) {
    c.SetText(IDC_TALLY_NAME, tally.name);
    SetSigned(c, IDC_TALLY_VALUE, tally.value);
    SetSigned(c, IDC_TALLY_INCREMENT, tally.increment);
}

void AddToTally(DialogControls& c) {
    int64_t sum = static_cast<int64_t>(FieldInteger(c.Text(IDC_TALLY_VALUE), true)) +
                  FieldInteger(c.Text(IDC_TALLY_INCREMENT), true);
    if (sum > INT32_MAX) sum = INT32_MAX;
    if (sum < INT32_MIN) sum = INT32_MIN;
    SetSigned(c, IDC_TALLY_VALUE, static_cast<int32_t>(sum));
}

Tally ReadTallyForm(DialogControls& c) {
    Tally t;
    CopyCut(c.Text(IDC_TALLY_NAME), kTallyNameLimit, t.name, sizeof t.name);
    t.value = FieldInteger(c.Text(IDC_TALLY_VALUE), true);
    t.increment = FieldInteger(c.Text(IDC_TALLY_INCREMENT), true);
    return t;
}

const ControlTip* TallyTips(int* count) {
    static const ControlTip kTips[] = {
        {IDC_TALLY_NAME, "Çetele adını belirleyebilirsiniz."},
        {IDC_TALLY_VALUE, "Başlangıç (mevcut) değeri girin."},
        {IDC_TALLY_INCREMENT,
         "Artırma değeri girin.\nSayacı eksiltmek için eksi değer girmelisiniz."},
        {IDC_TALLY_ADD, "Sayacın mevcut değerine artırma değerini ekler."},
        {IDC_OK_BUTTON, "Sayacın mevcut değerini INI dosyasına kaydeder."},
    };
    *count = static_cast<int>(sizeof kTips / sizeof kTips[0]);
    return kTips;
}

}  // namespace miravel
