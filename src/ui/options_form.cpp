#include "ui/options_form.h"

#include <cstdio>

#include "ui/form_fields.h"

namespace miravel {

namespace {

struct MinuteField {
    int id;
    int32_t Options::*field;
    int32_t low, high;
};

// In the order "Kaydet" checks them.
constexpr MinuteField kMinuteFields[] = {
    {IDC_MORNING_LEAD, &Options::morningAdhanLead, 10, 60},
    {IDC_REMINDER_LEAD, &Options::reminderLead, 10, 60},
    {IDC_FRIDAY_SALA_LEAD, &Options::fridaySalaLead, 10, 120},
    {IDC_SAHUR_SALA_LEAD, &Options::sahurSalaLead, 10, 120},
};

void SetMorningRadios(const Options& o, DialogControls& c) {
    c.Check(IDC_MORNING_AT_SUNRISE, !o.morningAdhanAtImsak);
    c.Check(IDC_MORNING_AT_IMSAK, o.morningAdhanAtImsak);
    c.Enable(IDC_MORNING_LEAD, !o.morningAdhanAtImsak);
}

bool EqualsIgnoringAsciiCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        char x = *a, y = *b;
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
        if (x == '\0') return true;
    }
}

}  // namespace

void RefreshOptionsForm(const ProgramState& ps, DialogControls& c) {
    const Options& o = ps.options;
    for (const MinuteField& f : kMinuteFields) {
        char text[16];
        std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(o.*f.field));
        c.SetText(f.id, text);
    }
    SetMorningRadios(o, c);
    c.Check(IDC_FRIDAY_SALA, o.fridaySala);
    c.Enable(IDC_FRIDAY_SALA_LEAD, o.fridaySala);
    c.Check(IDC_SAHUR_SALA, o.sahurSala);
    c.Enable(IDC_SAHUR_SALA_LEAD, o.sahurSala);
    c.Check(IDC_REMINDER, o.reminder);
    c.Check(IDC_REMINDER_SALA, o.reminderSala);
    c.Check(IDC_ASR_SANI_ADHAN, o.asrSaniAdhan);
    c.Check(IDC_REMAINING_ANY, o.remainingToAnyTime);
    c.Check(IDC_AUTO_CLOCK, o.autoClockCorrection);
    c.Check(IDC_AUTOSTART, o.autostart);
}

bool OptionsCommand(ProgramState& ps, DialogControls& c, int command, OptionsEffect* effect) {
    Options& o = ps.options;
    *effect = OptionsEffect::kNone;
    switch (command) {
        case IDC_MORNING_AT_SUNRISE:
            o.morningAdhanAtImsak = false;
            SetMorningRadios(o, c);
            return true;
        case IDC_MORNING_AT_IMSAK:
            o.morningAdhanAtImsak = true;
            SetMorningRadios(o, c);
            return true;
        case IDC_FRIDAY_SALA:
            o.fridaySala = !o.fridaySala;
            c.Check(IDC_FRIDAY_SALA, o.fridaySala);
            c.Enable(IDC_FRIDAY_SALA_LEAD, o.fridaySala);
            return true;
        case IDC_SAHUR_SALA:
            o.sahurSala = !o.sahurSala;
            c.Check(IDC_SAHUR_SALA, o.sahurSala);
            c.Enable(IDC_SAHUR_SALA_LEAD, o.sahurSala);
            return true;
        case IDC_REMINDER:
            o.reminder = !o.reminder;
            c.Check(IDC_REMINDER, o.reminder);
            return true;
        case IDC_REMINDER_SALA:
            o.reminderSala = !o.reminderSala;
            c.Check(IDC_REMINDER_SALA, o.reminderSala);
            return true;
        case IDC_ASR_SANI_ADHAN:
            o.asrSaniAdhan = !o.asrSaniAdhan;
            ps.ikindiAdhanTime = o.asrSaniAdhan ? AsriSani : Ikindi;
            c.Check(IDC_ASR_SANI_ADHAN, o.asrSaniAdhan);
            return true;
        case IDC_REMAINING_ANY:
            o.remainingToAnyTime = !o.remainingToAnyTime;
            c.Check(IDC_REMAINING_ANY, o.remainingToAnyTime);
            return true;
        case IDC_AUTO_CLOCK:
            o.autoClockCorrection = !o.autoClockCorrection;
            c.Check(IDC_AUTO_CLOCK, o.autoClockCorrection);
            if (o.autoClockCorrection) *effect = OptionsEffect::kCorrectClockNow;
            return true;
        case IDC_AUTOSTART:
            // The registry is written by SaveOptions only.
            o.autostart = !o.autostart;
            c.Check(IDC_AUTOSTART, o.autostart);
            return true;
        default:
            return false;
    }
}

int CommitOptions(ProgramState& ps, DialogControls& c) {
    for (const MinuteField& f : kMinuteFields) {
        c.Focus(f.id);
        const int32_t minutes = FieldInteger(c.Text(f.id), false);
        if (minutes < f.low || minutes > f.high) return f.id;
        ps.options.*f.field = minutes;
    }
    return 0;
}

bool SalaFileNeeded(const Options& o) {
    if (o.fridaySala || o.sahurSala) return true;
    return o.reminderSala && EqualsIgnoringAsciiCase(o.reminderFile, kSalaFileName);
}

SalaFileOffer SalaOfferFor(const Options& o, bool salaFileExists, bool canDownload) {
    if (!SalaFileNeeded(o) || salaFileExists) return SalaFileOffer::kNone;
    return canDownload ? SalaFileOffer::kDownload : SalaFileOffer::kChooseFile;
}

bool LooksLikeWave(std::string_view head) {
    return head.size() >= 12 && head.substr(0, 4) == "RIFF" && head.substr(8, 4) == "WAVE";
}

const ControlTip* OptionsTips(int* count) {
    static const ControlTip kTips[] = {
        {IDC_MORNING_AT_SUNRISE,
         "Sabah ezanı, güneşin doğmasından, girilen süre kadar daha önce okunur."},
        {IDC_MORNING_LEAD,
         "Sabah ezanının, güneşin doğmasından kaç dakika önce okunacağını girin.\n10 ile 60 "
         "arası..."},
        {IDC_MORNING_AT_IMSAK,
         "Sabah ezanı İmsak vaktinde okunur.\nGenellikle Ramazanda kullanılır."},
        {IDC_FRIDAY_SALA, "Cuma namazından, girilen süre kadar daha önce Salâ okur."},
        {IDC_FRIDAY_SALA_LEAD,
         "Salânın, Cuma namazından kaç dakika önce okunacağını girin.\n10 ile 120 arası..."},
        {IDC_SAHUR_SALA, "İmsak'tan, girilen süre kadar daha önce Salâ okur."},
        {IDC_SAHUR_SALA_LEAD,
         "Salânın, İmsak'tan kaç dakika önce okunacağını girin.\n10 ile 120 arası...\nGenellikle "
         "sahura kalkmak için kullanılır."},
        {IDC_OK_BUTTON, "Formdaki değerleri INI dosyasına kaydeder."},
        {IDC_CANCEL_BUTTON,
         "Formda yapılan değişiklikler iptal edilir ve INI dosyasındaki değerlere geri dönülür."},
        {IDC_REMINDER, "İşaretlenirse, hatırlatma vakti geldiğinde uyarı mesajı görüntülenir."},
        {IDC_REMINDER_LEAD,
         "Vaktin çıkmasına / kerahetin girmesine kaç dakika kala hatırlatılacağını girin.\n10 ile "
         "60 arası...\nYatsı ve Sabah dışındaki vakitlerde hatırlatma süresine temkin değeri "
         "eklenerek gerçek vakit hesaplanır."},
        {IDC_REMINDER_SALA,
         "İşaretlenirse, vakit çıkmadan önce salâ okunur.\nHer bir vakit, INI dosyasındaki "
         "\"Salâ Vakitler\" değişkeni ile seçilebilir/iptal edilebilir.\nSalâ yerine başka bir "
         "dosyayı açmak için INI dosyasındaki \"Hatırlatıcı Dosyası\" değişkenini "
         "kullanabilirsiniz."},
        {IDC_ASR_SANI_ADHAN,
         "İşaretlenirse, İkindi ezanı Asr-ı Sani'de okunur;\nayrıca Hatırlatıcı işlevinde ve bir "
         "sonraki namaz vaktine kalan sürenin hesabında Asr-ı Sani esas alınır.\n"
         "İşaretlenmediğinde ise Asr-ı Evvel esas alınır (Türkiye'deki uygulama)."},
        {IDC_REMAINING_ANY,
         "İşaretlenirse, simge üzerinde bir sonraki namaz/kerahet vaktine kalan süre "
         "gösterilir.\nİşaretlenmediğinde ise bir sonraki namaz vaktine kalan süre gösterilir."},
        {IDC_AUTO_CLOCK,
         "İşaretlenirse, program ilk çalıştığında ve sonra her saat başında Internet Saatine "
         "bağlanılır.\nSistem saati, kullanıcıya sorulmadan otomatik olarak düzeltilir."},
        {IDC_AUTOSTART,
         "Windows oturumu açıldığında programın otomatik olarak başlatılmasını sağlar."},
    };
    *count = static_cast<int>(sizeof kTips / sizeof kTips[0]);
    return kTips;
}

}  // namespace miravel
