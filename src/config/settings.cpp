#include "config/settings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <type_traits>
#include <utility>

#include "config/ini_file.h"
#include "core/sun.h"

namespace miravel {

namespace {

// ---------------------------------------------------------------------------
// The keys of the two dialog sections, described once: loading, saving and
// the defaults all walk these tables.
//
// A number may carry limits (the last argument of Number and Angle): a value
// beyond them, however it got into the file, reads as the nearest limit, so
// that nothing downstream sees a latitude of -2147483648. The limits are the
// ones the dialogs enforce; a number without limits reads as it stands.

enum class Form : uint8_t {
    Int,         // int32_t, "%i"
    Int16,       // int16_t, "%i"
    CalcFlag,    // bool, 1/0, any non-zero integer reads true
    LaterFlag,   // CalcFlag of a later version: written only once set or present,
                 // so that a file of a user who never chose it stays as it was
    OptionFlag,  // bool, "Evet"/"Hayır", only the exact "Evet" reads true
    Text,        // char[size], cut to size - 1 on reading
    Angle,       // float degrees, stored as hundredths
    Temkin,      // calc.temkin[vakit], key formed by TemkinKey
};

using FieldAccess = void* (*)(ProgramState&);

struct Setting {
    const char* key;  // nullptr for Form::Temkin
    Form form;
    FieldAccess field;
    size_t size;  // Form::Text: the buffer's size
    int32_t defaultNumber;
    const char* defaultText;
    int vakit;                                          // Form::Temkin
    int32_t low = std::numeric_limits<int32_t>::min();  // Int, Angle (hundredths)
    int32_t high = std::numeric_limits<int32_t>::max();
};

struct Limits {
    int32_t low = std::numeric_limits<int32_t>::min();
    int32_t high = std::numeric_limits<int32_t>::max();
};

template <class Get>
using FieldType = std::remove_pointer_t<decltype(Get{}(std::declval<ProgramState&>()))>;

template <class Get>
constexpr FieldAccess Erase(Get) {
    return [](ProgramState& s) -> void* { return Get{}(s); };
}

template <class Get>
constexpr Setting Number(const char* key, Get get, int32_t def, Limits limits = {}) {
    using T = FieldType<Get>;
    static_assert(std::is_same_v<T, int32_t> || std::is_same_v<T, int16_t>);
    return {key,        std::is_same_v<T, int32_t> ? Form::Int : Form::Int16,
            Erase(get), 0,
            def,        nullptr,
            0,          limits.low,
            limits.high};
}

template <class Get>
constexpr Setting Flag(Form form, const char* key, Get get, bool def) {
    static_assert(std::is_same_v<FieldType<Get>, bool>);
    return {key, form, Erase(get), 0, def ? 1 : 0, nullptr, 0};
}

template <class Get>
constexpr Setting Text(const char* key, Get get, const char* def) {
    using T = FieldType<Get>;
    static_assert(std::is_array_v<T> && std::is_same_v<std::remove_extent_t<T>, char>);
    return {key, Form::Text, Erase(get), sizeof(T), 0, def, 0};
}

template <class Get>
constexpr Setting Angle(const char* key, Get get, int32_t defHundredths, Limits limits = {}) {
    static_assert(std::is_same_v<FieldType<Get>, float>);
    return {key, Form::Angle, Erase(get), 0, defHundredths, nullptr, 0, limits.low, limits.high};
}

constexpr Setting Temkin(int vakit, int32_t def) {
    return {nullptr, Form::Temkin, nullptr, 0, def, nullptr, vakit};
}

#define FIELD(member) [](ProgramState& s) { return &s.member; }

constexpr Setting kCalcSettings[] = {
    Number("Enlem", FIELD(location.latitude), 0, {-limits::kLatitude, limits::kLatitude}),
    Number("Boylam", FIELD(location.longitude), 0, {-limits::kLongitude, limits::kLongitude}),
    Number("Saat Farkı", FIELD(location.utcOffset), 0, {-limits::kUtcOffset, limits::kUtcOffset}),
    Flag(Form::CalcFlag, "Windows Saat Dilimi", FIELD(location.useSystemTimeZone), false),
    Flag(Form::CalcFlag, "Yaz Saati", FIELD(location.summerTime), false),
    Flag(Form::CalcFlag, "Windows Yaz Saati", FIELD(location.useSystemSummerTime), false),
    Flag(Form::CalcFlag, "Liste Kullan", FIELD(location.useList), false),
    Number("Şehir No.", FIELD(location.listRow), 34, {1, limits::kListRow}),
    Text("Şehir Adı", FIELD(location.city), "???"),
    Text("Ülke Adı", FIELD(location.country), "???"),
    Temkin(Imsak, -2),
    Temkin(Gunes, -7),
    Temkin(Israk, 10),
    Temkin(Istiva, 0),
    Temkin(Ogle, 5),
    Temkin(Ikindi, 5),
    Temkin(AsriSani, 5),
    Temkin(Isfirar, 0),
    Temkin(Aksam, 7),
    Temkin(Yatsi, 2),
    Angle("İmsak Açısı", FIELD(calc.imsakAngle), -1800,
          {limits::kImsakAngleLow, limits::kImsakAngleHigh}),
    Angle("Yatsı Açısı", FIELD(calc.yatsiAngle), -1700,
          {limits::kYatsiAngleLow, limits::kYatsiAngleHigh}),
    Number("Hesap Modu", FIELD(calc.mode), 4, {0, limits::kLastCalcMode}),
    Flag(Form::LaterFlag, "Diyanet Uyumlu", FIELD(calc.diyanet), false),
    Flag(Form::LaterFlag, "Resmi Hicri Takvim", FIELD(calc.officialHijri), false),
};

constexpr Setting kOptionSettings[] = {
    Number("Sabah Ezanı", FIELD(options.morningAdhanLead), 60, {10, 60}),
    Flag(Form::OptionFlag, "Sabah Ezanı İmsakta", FIELD(options.morningAdhanAtImsak), false),
    Number("Cuma Salâ Süresi", FIELD(options.fridaySalaLead), 60, {10, 120}),
    Flag(Form::OptionFlag, "Cuma Salâsı", FIELD(options.fridaySala), false),
    Number("Sahur Salâ Süresi", FIELD(options.sahurSalaLead), 90, {10, 120}),
    Flag(Form::OptionFlag, "Sahur Salâsı", FIELD(options.sahurSala), false),
    Number("Hatırlatma Süresi", FIELD(options.reminderLead), 20, {10, 60}),
    Flag(Form::OptionFlag, "Hatırlat", FIELD(options.reminder), false),
    Flag(Form::OptionFlag, "Salâ Oku", FIELD(options.reminderSala), false),
    Flag(Form::OptionFlag, "İkindi Ezanı Asr-ı Sani'de", FIELD(options.asrSaniAdhan), false),
    Flag(Form::OptionFlag, "Tüm Vakitler için Kalan Süre", FIELD(options.remainingToAnyTime),
         false),
    Flag(Form::OptionFlag, "Saati Otomatik Düzelt", FIELD(options.autoClockCorrection), false),
    Number("Röle COM-port", FIELD(options.relayPort), 0),
    Number("Röle Avansı", FIELD(options.relayLeadSeconds), 3),
    Number("Röle Aktif", FIELD(options.relayHoldSeconds), 400),
    Number("Hilal Görünürlüğü", FIELD(options.crescentVisibility), 50),
    Number("Bakış İrtifası", FIELD(options.viewAltitude), 0),
    Text("Salâ Vakitler", FIELD(options.salaTimes), "111111"),
    Text("Hatırlatıcı Dosyası", FIELD(options.reminderFile), "sala.wav"),
    Text("Hatırlatıcı Metni", FIELD(options.reminderButtonText), "VALLAHİ  KILDIM..!"),
};

#undef FIELD

// Shifted by one against the Vakit order: each key names the time before.
constexpr const char* kTemkinKeyNames[kVakitCount] = {"SABAH",   "İMSAK", "GÜNEŞ",  "İŞRAK",
                                                      "İSTİVA",  "ÖĞLE",  "İKİNDİ", "ASR-I SANİ",
                                                      "İSFİRAR", "AKŞAM"};

constexpr char kEvet[] = "Evet";
constexpr char kHayir[] = "Hayır";

std::string KeyOf(const Setting& s) {
    return s.form == Form::Temkin ? TemkinKey(s.vakit) : s.key;
}

template <class T>
T& At(const Setting& s, ProgramState& ps) {
    return *static_cast<T*>(s.field(ps));
}

float AngleFromHundredths(int32_t hundredths) {
    return static_cast<float>(hundredths) / 100.0f;
}

void SetDefault(const Setting& s, ProgramState& ps) {
    switch (s.form) {
        case Form::Int:
            At<int32_t>(s, ps) = s.defaultNumber;
            break;
        case Form::Int16:
            At<int16_t>(s, ps) = static_cast<int16_t>(s.defaultNumber);
            break;
        case Form::CalcFlag:
        case Form::LaterFlag:
        case Form::OptionFlag:
            At<bool>(s, ps) = s.defaultNumber != 0;
            break;
        case Form::Text:
            std::snprintf(&At<char>(s, ps), s.size, "%s", s.defaultText);
            break;
        case Form::Angle:
            At<float>(s, ps) = AngleFromHundredths(s.defaultNumber);
            break;
        case Form::Temkin:
            ps.calc.temkin[s.vakit] = s.defaultNumber;
            break;
    }
}

// A text value (a name, a file) into a field of `size` bytes. A value read is trimmed, but
// cutting it to the field (or at a NUL byte, where the field's text ends) may
// leave blanks at its end, which the next load would trim: the text would
// change at every save. The cut value is trimmed too.
void ReadText(const IniDocument& doc, std::string_view section, std::string_view key,
              const char* fallback, char* text, size_t size) {
    doc.GetString(section, key, fallback, text, size);
    size_t n = std::strlen(text);
    while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\t' || text[n - 1] == '\r' ||
                     text[n - 1] == '\n' || text[n - 1] == '\v' || text[n - 1] == '\f'))
        text[--n] = '\0';
}

void Load(const Setting& s, const IniDocument& doc, std::string_view section, ProgramState& ps) {
    const std::string key = KeyOf(s);
    switch (s.form) {
        case Form::Int:
            At<int32_t>(s, ps) = doc.GetInt(section, key, s.defaultNumber, s.low, s.high);
            break;
        case Form::Int16:
            At<int16_t>(s, ps) = static_cast<int16_t>(doc.GetInt(section, key, s.defaultNumber));
            break;
        case Form::CalcFlag:
        case Form::LaterFlag:
            At<bool>(s, ps) = doc.GetInt(section, key, s.defaultNumber) != 0;
            break;
        case Form::OptionFlag: {
            std::string value;
            At<bool>(s, ps) =
                doc.Find(section, key, &value) ? value == kEvet : s.defaultNumber != 0;
            break;
        }
        case Form::Text:
            ReadText(doc, section, key, s.defaultText, &At<char>(s, ps), s.size);
            break;
        case Form::Angle:
            At<float>(s, ps) =
                AngleFromHundredths(doc.GetInt(section, key, s.defaultNumber, s.low, s.high));
            break;
        case Form::Temkin: {
            // The YATSI range depends on the mode, which is read after the
            // temkins: LoadAll checks them at the end.
            ps.calc.temkin[s.vakit] = doc.GetInt(section, key, s.defaultNumber);
            break;
        }
    }
}

void Save(const Setting& s, ProgramState& ps, std::string_view section, IniFileEdit& edit) {
    const std::string key = KeyOf(s);
    switch (s.form) {
        case Form::Int:
            edit.SetInt(section, key, At<int32_t>(s, ps));
            break;
        case Form::Int16:
            edit.SetInt(section, key, At<int16_t>(s, ps));
            break;
        case Form::CalcFlag:
            edit.SetInt(section, key, At<bool>(s, ps) ? 1 : 0);
            break;
        case Form::LaterFlag: {
            std::string present;
            if (At<bool>(s, ps) || edit.doc().Find(section, key, &present))
                edit.SetInt(section, key, At<bool>(s, ps) ? 1 : 0);
            break;
        }
        case Form::OptionFlag:
            edit.SetString(section, key, At<bool>(s, ps) ? kEvet : kHayir);
            break;
        case Form::Text: {
            const char* text = &At<char>(s, ps);
            edit.SetString(section, key, std::string_view(text, strnlen(text, s.size)));
            break;
        }
        case Form::Angle:
            edit.SetInt(section, key, AngleToHundredths(At<float>(s, ps)));
            break;
        case Form::Temkin:
            edit.SetInt(section, key, ps.calc.temkin[s.vakit]);
            break;
    }
}

template <size_t N>
void LoadAll(const Setting (&table)[N], std::string_view section,
             const std::filesystem::path& iniPath, ProgramState& ps) {
    IniDocument doc;
    LoadIniFile(iniPath, &doc);
    for (const Setting& s : table)
        Load(s, doc, section, ps);
    for (const Setting& s : table) {
        if (s.form != Form::Temkin) continue;
        int32_t low, high;
        TemkinLimits(s.vakit, ps.calc.mode, &low, &high);
        ps.calc.temkin[s.vakit] = std::clamp(ps.calc.temkin[s.vakit], low, high);
    }
}

template <size_t N>
bool SaveAll(const Setting (&table)[N], std::string_view section,
             const std::filesystem::path& iniPath, ProgramState& ps) {
    IniFileEdit edit(iniPath);
    for (const Setting& s : table)
        Save(s, ps, section, edit);
    return edit.Commit();
}

}  // namespace

std::string TemkinKey(int v) {
    if (v < 1 || v > kVakitCount) return {};
    char key[48];
    std::snprintf(key, sizeof key, "%s temkini", kTemkinKeyNames[v - 1]);
    return key;
}

void TemkinLimits(int v, int32_t mode, int32_t* low, int32_t* high) {
    switch (v) {
        case Imsak:
        case Gunes:
        case Istiva:
        case Isfirar:
            *low = -30;
            *high = 0;
            break;
        case Yatsi:
            *low = mode == limits::kLastCalcMode ? 60 : 0;
            *high = mode == limits::kLastCalcMode ? 120 : 30;
            break;
        default:
            *low = 0;
            *high = 30;
            break;
    }
}

int32_t DefaultTemkin(int v) {
    for (const Setting& s : kCalcSettings) {
        if (s.form == Form::Temkin && s.vakit == v) return s.defaultNumber;
    }
    return 0;
}

int32_t AngleToHundredths(float degrees) {
    const double h = static_cast<double>(degrees) * 100.0;
    if (!std::isfinite(h)) return 0;
    const double nearest = std::nearbyint(h);
    // Float error at these magnitudes stays below 1e-4 hundredths.
    double whole = std::fabs(h - nearest) < 1e-3 ? nearest : std::trunc(h);
    constexpr double kMin = std::numeric_limits<int32_t>::min();
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    if (whole < kMin) whole = kMin;
    if (whole > kMax) whole = kMax;
    return static_cast<int32_t>(whole);
}

void SetDiyanetPreset(CalcParams& calc) {
    // The official temkins; the four times the official tables do not show
    // keep the program's own.
    constexpr int32_t kTemkins[kVakitCount] = {0, -7, 10, 0, 5, 4, 5, 0, 7, 0};
    for (int v = 1; v <= kVakitCount; ++v)
        calc.temkin[v] = kTemkins[v - 1];
    calc.imsakAngle = -18.0f;
    calc.yatsiAngle = -17.0f;
    calc.mode = 4;
    calc.diyanet = true;
}

void SetCalcDefaults(ProgramState& ps) {
    for (const Setting& s : kCalcSettings)
        SetDefault(s, ps);
}

void SetOptionDefaults(ProgramState& ps) {
    for (const Setting& s : kOptionSettings)
        SetDefault(s, ps);
}

void ApplyCalcParams(ProgramState& ps) {
    int16_t temkins[kVakitCount];
    for (int v = 1; v <= kVakitCount; ++v)
        temkins[v - 1] = static_cast<int16_t>(ps.calc.temkin[v]);
    SetTemkins(ps.astro, temkins);
    SetAnglesAndMode(ps.astro, static_cast<int16_t>(AngleToHundredths(ps.calc.imsakAngle)),
                     static_cast<int16_t>(AngleToHundredths(ps.calc.yatsiAngle)),
                     static_cast<int16_t>(ps.calc.mode));
    ps.astro.diyanetTimes = ps.calc.diyanet ? 1 : 0;
    if ((ps.astro.officialHijri != 0) != ps.calc.officialHijri) ps.astro.hijriValid = 0;
    ps.astro.officialHijri = ps.calc.officialHijri ? 1 : 0;
    ps.ticksToNextRun = 0;
    ps.recalcLevel = 2;
}

void LoadCalcParams(ProgramState& ps, const std::filesystem::path& iniPath) {
    LoadAll(kCalcSettings, kCalcSection, iniPath, ps);
    ApplyCalcParams(ps);
}

bool SaveCalcParams(ProgramState& ps, const std::filesystem::path& iniPath) {
    const bool saved = SaveAll(kCalcSettings, kCalcSection, iniPath, ps);
    ApplyCalcParams(ps);
    return saved;
}

void LoadOptions(ProgramState& ps, const std::filesystem::path& iniPath, Autostart& autostart) {
    LoadAll(kOptionSettings, kOptionsSection, iniPath, ps);
    ps.options.autostart = autostart.IsRegistered();
    ps.ikindiAdhanTime = ps.options.asrSaniAdhan ? AsriSani : Ikindi;
    ps.ticksToNextRun = 0;
}

bool SaveOptions(ProgramState& ps, const std::filesystem::path& iniPath, Autostart& autostart,
                 const std::filesystem::path& programPath) {
    const bool saved = SaveAll(kOptionSettings, kOptionsSection, iniPath, ps);
    if (ps.options.autostart) {
        autostart.Register(programPath);
    } else {
        autostart.Unregister();
    }
    ps.ikindiAdhanTime = ps.options.asrSaniAdhan ? AsriSani : Ikindi;
    ps.ticksToNextRun = 0;
    return saved;
}

// ---------------------------------------------------------------------------
// Keys read and written where they are used.

const char* AdhanSlotKey(int slot, Vakit ikindiAdhanTime) {
    switch (slot) {
        case 0:
            return "SABAH";
        case 1:
            return "ÖĞLE";
        case 2:
            return ikindiAdhanTime == AsriSani ? "ASR-I SANİ" : "İKİNDİ";
        case 3:
            return "AKŞAM";
        case 4:
            return "YATSI";
        default:
            return "";
    }
}

void LoadAdhanFiles(ProgramState& ps, const std::filesystem::path& iniPath) {
    IniDocument doc;
    LoadIniFile(iniPath, &doc);
    for (int slot = 0; slot < kAdhanSlotCount; ++slot) {
        ReadText(doc, kOptionsSection, AdhanSlotKey(slot, ps.ikindiAdhanTime), "ezan.wav",
                 ps.adhanFiles[slot], sizeof ps.adhanFiles[slot]);
    }
}

bool SaveAdhanFile(const ProgramState& ps, const std::filesystem::path& iniPath, int slot) {
    if (slot < 0 || slot >= kAdhanSlotCount) return false;
    const char* file = ps.adhanFiles[slot];
    return WriteIniString(iniPath, kOptionsSection, AdhanSlotKey(slot, ps.ikindiAdhanTime),
                          std::string_view(file, strnlen(file, sizeof ps.adhanFiles[slot])));
}

namespace {

constexpr const char* kWallpaperTexts[] = {"Yok", "Ay", "Yeryüzü", "Yerküre"};
constexpr char kAdhanEnabledKey[] = "Ezan/Salâ";
constexpr char kWakeUpKey[] = "Uyandır";
constexpr char kMessageStyleKey[] = "iletiler";
constexpr char kWallpaperKey[] = "Duvar";

}  // namespace

int WallpaperFromText(std::string_view text) {
    for (int i = 1; i < 4; ++i) {
        if (text == kWallpaperTexts[i]) return i;
    }
    return 0;
}

const char* WallpaperText(int wallpaper) {
    return kWallpaperTexts[(wallpaper >= 0 && wallpaper < 4) ? wallpaper : 0];
}

bool LoadStartupSwitches(ProgramState& ps, const std::filesystem::path& iniPath) {
    IniDocument doc;
    LoadIniFile(iniPath, &doc);
    std::string adhan;
    const bool adhanSet = doc.Find(kOptionsSection, kAdhanEnabledKey, &adhan) && !adhan.empty();
    ps.options.adhanEnabled = adhan != kHayir;
    ps.options.wakeUp = doc.GetString(kOptionsSection, kWakeUpKey, "") == kEvet;
    // Anything but the three styles of the menu is the default, the box.
    ps.options.messageStyle = doc.GetInt(kOptionsSection, kMessageStyleKey, 2);
    if (ps.options.messageStyle < 0 || ps.options.messageStyle > 2) ps.options.messageStyle = 2;
    ps.options.wallpaper = WallpaperFromText(doc.GetString(kOptionsSection, kWallpaperKey, ""));
    return adhanSet;
}

bool SaveExitSwitches(const ProgramState& ps, const std::filesystem::path& iniPath) {
    IniFileEdit edit(iniPath);
    edit.SetString(kOptionsSection, kAdhanEnabledKey, ps.options.adhanEnabled ? kEvet : kHayir);
    edit.SetString(kOptionsSection, kWakeUpKey, ps.options.wakeUp ? kEvet : kHayir);
    return edit.Commit();
}

bool SaveMessageStyle(const ProgramState& ps, const std::filesystem::path& iniPath) {
    return WriteIniInt(iniPath, kOptionsSection, kMessageStyleKey, ps.options.messageStyle);
}

bool SaveWallpaper(const ProgramState& ps, const std::filesystem::path& iniPath) {
    return WriteIniString(iniPath, kOptionsSection, kWallpaperKey,
                          WallpaperText(ps.options.wallpaper));
}

namespace {

constexpr char kLastReligiousDayKey[] = "Son Dini Gün";

std::string TallyKey(int i, const char* what) {
    char key[48];
    std::snprintf(key, sizeof key, "Çetele-%i %s", i, what);
    return key;
}

}  // namespace

std::string ReadLastReligiousDay(const std::filesystem::path& iniPath) {
    IniDocument doc;
    LoadIniFile(iniPath, &doc);
    return doc.GetString(kOptionsSection, kLastReligiousDayKey, "");
}

bool WriteLastReligiousDay(const std::filesystem::path& iniPath, uint16_t day, uint16_t month,
                           uint16_t year) {
    char text[24];
    std::snprintf(text, sizeof text, "%02u/%02u/%04u", static_cast<unsigned>(day),
                  static_cast<unsigned>(month), static_cast<unsigned>(year));
    return WriteIniString(iniPath, kOptionsSection, kLastReligiousDayKey, text);
}

void LoadTallies(const std::filesystem::path& iniPath, Tally (&tallies)[kTallyCount]) {
    IniDocument doc;
    LoadIniFile(iniPath, &doc);
    for (int i = 1; i <= kTallyCount; ++i) {
        Tally& t = tallies[i - 1];
        char fallback[24];
        std::snprintf(fallback, sizeof fallback, "Çetele-%i", i);
        ReadText(doc, kOptionsSection, TallyKey(i, "Adı"), fallback, t.name, sizeof t.name);
        t.value = doc.GetInt(kOptionsSection, TallyKey(i, "Değeri"), 0);
        t.increment = doc.GetInt(kOptionsSection, TallyKey(i, "Eklenecek"), 1);
    }
}

bool SaveTallies(const std::filesystem::path& iniPath, const Tally (&tallies)[kTallyCount]) {
    IniFileEdit edit(iniPath);
    for (int i = 1; i <= kTallyCount; ++i) {
        const Tally& t = tallies[i - 1];
        edit.SetString(kOptionsSection, TallyKey(i, "Adı"),
                       std::string_view(t.name, strnlen(t.name, sizeof t.name)));
        edit.SetInt(kOptionsSection, TallyKey(i, "Değeri"), t.value);
        edit.SetInt(kOptionsSection, TallyKey(i, "Eklenecek"), t.increment);
    }
    return edit.Commit();
}

TimeServerList ReadTimeServers(const std::filesystem::path& iniPath) {
    IniDocument doc;
    LoadIniFile(iniPath, &doc);
    TimeServerList list;
    list.maxHost = doc.GetInt(kTimeServersSection, "MaxHost", 99);
    list.hostTimeoutMs = static_cast<uint16_t>(std::clamp<int32_t>(
        doc.GetInt(kTimeServersSection, "HostTimeout", 2000), 0, limits::kHostTimeoutMs));
    // Walk the keys the section holds rather than count to MaxHost, which a
    // hand-edited file may set to millions. A key reads as "Host%d" would
    // form it: no sign, no leading zeros.
    std::vector<std::pair<int32_t, std::string>> found;
    for (const std::string& key : doc.KeysOf(kTimeServersSection)) {
        if (key.size() < 5 || key.size() > 14) continue;
        if (!(key[0] == 'H' || key[0] == 'h') || !(key[1] == 'O' || key[1] == 'o') ||
            !(key[2] == 'S' || key[2] == 's') || !(key[3] == 'T' || key[3] == 't')) {
            continue;
        }
        const std::string digits = key.substr(4);
        if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
        if (digits.size() > 1 && digits[0] == '0') continue;
        int64_t n = 0;
        for (char c : digits)
            n = n * 10 + (c - '0');
        if (n >= list.maxHost) continue;
        std::string host = doc.GetString(kTimeServersSection, key, "");
        if (!host.empty()) found.emplace_back(static_cast<int32_t>(n), std::move(host));
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& f : found)
        list.hosts.push_back(std::move(f.second));
    return list;
}

}  // namespace miravel
