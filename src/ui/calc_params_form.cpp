#include "ui/calc_params_form.h"

#include <cstdio>

#include "config/decimal_text.h"
#include "config/settings.h"
#include "config/settlement_list.h"
#include "core/calendar.h"
#include "ui/form_fields.h"

namespace miravel {

namespace {

constexpr int32_t kDefaultTemkins[kVakitCount] = {-2, -7, 10, 0, 5, 5, 5, 0, 7, 2};
constexpr float kDefaultImsakAngle = -18.0f;
constexpr float kDefaultYatsiAngle = -17.0f;
constexpr int32_t kDefaultMode = 4;
// The limits the INI reader holds numbers to, so that a file and the dialog agree.
constexpr int32_t kLastMode = limits::kLastCalcMode;  // 5: YATSI follows AKŞAM by its temkin
constexpr int64_t kMaxLatitude = limits::kLatitude;
constexpr int64_t kMaxLongitude = limits::kLongitude;
constexpr int64_t kMaxOffset = limits::kUtcOffset;
constexpr int32_t kMaxListRow = limits::kListRow;
using limits::kImsakAngleHigh;
using limits::kImsakAngleLow;
using limits::kYatsiAngleHigh;
using limits::kYatsiAngleLow;
constexpr int kFirstYear = 1901;
constexpr int kLastYear = 2099;
constexpr size_t kNameLimit = 15;

void SetNumber(DialogControls& c, int id, long value) {
    char text[24];
    std::snprintf(text, sizeof text, "%ld", value);
    c.SetText(id, text);
}

// "%4.1f", or two decimals when the angle holds hundredths (one typed as
// -18.25): with one decimal the next commit would store -18.2 instead.
void SetAngle(DialogControls& c, int id, float degrees) {
    const int32_t h = AngleToHundredths(degrees);
    char text[24];
    std::snprintf(text, sizeof text, h % 10 != 0 ? "%5.2f" : "%4.1f", h / 100.0);
    c.SetText(id, text);
}

void FillTemkins(const ProgramState& ps, DialogControls& c, bool enable) {
    for (int v = 1; v <= kVakitCount; ++v) {
        const int id = IDC_TEMKIN_FIRST + v - 1;
        SetNumber(c, id, ps.calc.temkin[v]);
        c.Enable(id, enable);
    }
}

void EnableSettlementFields(const ProgramState& ps, DialogControls& c) {
    const Location& l = ps.location;
    c.Check(IDC_USE_LIST, l.useList);
    c.Enable(IDC_LIST_ROW, l.useList);
    for (int id : {IDC_CITY, IDC_COUNTRY, IDC_LATITUDE, IDC_LONGITUDE})
        c.Enable(id, !l.useList);
    c.Enable(IDC_UTC_OFFSET, !l.useList && !l.useSystemTimeZone);
}

void FillAnglesAndMode(const ProgramState& ps, DialogControls& c) {
    SetAngle(c, IDC_IMSAK_ANGLE, ps.calc.imsakAngle);
    SetAngle(c, IDC_YATSI_ANGLE, ps.calc.yatsiAngle);
    SetNumber(c, IDC_MODE, ps.calc.mode);
}

void FillDateAndTime(const ProgramState& ps, DialogControls& c) {
    const WorkTime& t = ps.workTime;
    char text[32];
    std::snprintf(text, sizeof text, "%02u/%02u/%04u", t.day, t.month, t.year);
    c.SetText(IDC_WORK_DATE, text);
    std::snprintf(text, sizeof text, "%02u:%02u", t.hour, t.minute);
    c.SetText(IDC_WORK_TIME, text);
    c.Check(IDC_REAL_TIME, ps.realTime);
    c.Enable(IDC_WORK_DATE, !ps.realTime);
    c.Enable(IDC_WORK_TIME, !ps.realTime);
}

// Moves the focus into the field and returns its text, as the commit reads
// every field.
std::string ReadField(DialogControls& c, int id) {
    c.Focus(id);
    return c.Text(id);
}

bool InRange(int64_t value, int64_t low, int64_t high) {
    return value >= low && value <= high;
}

// The offset in hours with two decimals. Where the minutes are no whole
// number of hundredths of an hour (7 h 47 min is 7.7833 h) the hundredths are
// rounded away from zero (7.79), so that the field, read back by truncation,
// gives the same minutes: accepting the dialog unchanged keeps the offset,
// where the nearest hundredth (7.78) would lose a minute.
double OffsetHoursShown(int32_t minutes) {
    const int64_t magnitude = minutes < 0 ? -static_cast<int64_t>(minutes) : minutes;
    const int64_t hundredths = (magnitude * 100 + 59) / 60;
    return static_cast<double>(minutes < 0 ? -hundredths : hundredths) / 100.0;
}

// Step 4 without the list: names first, then the three numbers.
int CommitSettlementFields(Location& l, DialogControls& c) {
    const std::string city = ReadField(c, IDC_CITY);
    CopyCut(city, kNameLimit, l.city, sizeof l.city);
    const std::string country = ReadField(c, IDC_COUNTRY);
    CopyCut(country, kNameLimit, l.country, sizeof l.country);

    const int32_t latitude = FieldDecimal(ReadField(c, IDC_LATITUDE), 100);
    if (!InRange(latitude, -kMaxLatitude, kMaxLatitude)) return IDC_LATITUDE;
    l.latitude = latitude;
    const int32_t longitude = FieldDecimal(ReadField(c, IDC_LONGITUDE), 100);
    if (!InRange(longitude, -kMaxLongitude, kMaxLongitude)) return IDC_LONGITUDE;
    l.longitude = longitude;
    const int32_t offset = FieldDecimal(ReadField(c, IDC_UTC_OFFSET), 60);
    if (!InRange(offset, -kMaxOffset, kMaxOffset)) return IDC_UTC_OFFSET;
    l.utcOffset = offset;
    return 0;
}

int CommitDateAndTime(ProgramState& ps, DialogControls& c) {
    int32_t date[3];
    if (!ScanSeparatedIntegers(ReadField(c, IDC_WORK_DATE), '/', 3, date) ||
        !InRange(date[0], 1, 31) || !InRange(date[1], 1, 12) ||
        !InRange(date[2], kFirstYear, kLastYear)) {
        return IDC_WORK_DATE;
    }
    int32_t clock[2];
    if (!ScanSeparatedIntegers(ReadField(c, IDC_WORK_TIME), ':', 2, clock) ||
        !InRange(clock[0], 0, 23) || !InRange(clock[1], 0, 59)) {
        return IDC_WORK_TIME;
    }
    WorkTime& t = ps.workTime;
    t.day = static_cast<uint16_t>(date[0]);
    t.month = static_cast<uint16_t>(date[1]);
    t.year = static_cast<uint16_t>(date[2]);
    t.hour = static_cast<uint16_t>(clock[0]);
    t.minute = static_cast<uint16_t>(clock[1]);
    return 0;
}

}  // namespace

void TemkinRange(int v, int32_t mode, int32_t* low, int32_t* high) {
    TemkinLimits(v, mode, low, high);  // the limits the INI reader holds temkins to
}

void ShowPlaceFields(const ProgramState& ps, DialogControls& c) {
    EnableSettlementFields(ps, c);
    const Location& l = ps.location;
    char text[32];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(l.listRow));
    c.SetText(IDC_LIST_ROW, text);
    c.SetText(IDC_CITY, l.city);
    c.SetText(IDC_COUNTRY, l.country);
    std::snprintf(text, sizeof text, "%5.2f", l.latitude / 100.0);
    c.SetText(IDC_LATITUDE, text);
    std::snprintf(text, sizeof text, "%5.2f", l.longitude / 100.0);
    c.SetText(IDC_LONGITUDE, text);
    std::snprintf(text, sizeof text, "%5.2f", OffsetHoursShown(l.utcOffset));
    c.SetText(IDC_UTC_OFFSET, text);
}

SettlementListFile SettlementListBeside(const std::filesystem::path& program) {
    SettlementListFile list;
    list.path = program.parent_path() / std::filesystem::path(program.stem()).concat(".csv");
    std::error_code ec;
    list.exists = std::filesystem::is_regular_file(list.path, ec);
    return list;
}

void RefreshCalcParamsForm(const ProgramState& ps, const SettlementListFile& list,
                           DialogControls& c) {
    FillTemkins(ps, c, ps.calc.mode != 0);

    c.Enable(IDC_OPEN_LIST, list.exists);
    ShowPlaceFields(ps, c);
    const Location& l = ps.location;
    c.Check(IDC_SYSTEM_ZONE, l.useSystemTimeZone);

    FillAnglesAndMode(ps, c);
    FillDateAndTime(ps, c);

    c.Check(IDC_SYSTEM_SUMMER, l.useSystemSummerTime);
    c.Enable(IDC_SUMMER_TIME, !l.useSystemSummerTime);
    c.Check(IDC_SUMMER_TIME, l.summerTime);

    c.Check(IDC_DIYANET, ps.calc.diyanet);
    c.Check(IDC_OFFICIAL_HIJRI, ps.calc.officialHijri);
}

bool CalcParamsCommand(ProgramState& ps, DialogControls& c, int command, const WorkTime& now) {
    Location& l = ps.location;
    switch (command) {
        case IDC_TEMKIN_DEFAULTS:
            for (int v = 1; v <= kVakitCount; ++v)
                ps.calc.temkin[v] = kDefaultTemkins[v - 1];
            for (int v = 1; v <= kVakitCount; ++v)
                SetNumber(c, IDC_TEMKIN_FIRST + v - 1, ps.calc.temkin[v]);
            // The defaults are the program's own calculation.
            ps.calc.diyanet = false;
            c.Check(IDC_DIYANET, false);
            return true;
        case IDC_DIYANET:
            // On: the official temkins, angles and mode; off: the program's
            // own defaults. Either way the fields show what now applies.
            if (ps.calc.diyanet) {
                for (int v = 1; v <= kVakitCount; ++v)
                    ps.calc.temkin[v] = kDefaultTemkins[v - 1];
                ps.calc.imsakAngle = kDefaultImsakAngle;
                ps.calc.yatsiAngle = kDefaultYatsiAngle;
                ps.calc.mode = kDefaultMode;
                ps.calc.diyanet = false;
            } else {
                SetDiyanetPreset(ps.calc);
            }
            c.Check(IDC_DIYANET, ps.calc.diyanet);
            FillTemkins(ps, c, ps.calc.mode != 0);
            FillAnglesAndMode(ps, c);
            return true;
        case IDC_OFFICIAL_HIJRI:
            ps.calc.officialHijri = !ps.calc.officialHijri;
            c.Check(IDC_OFFICIAL_HIJRI, ps.calc.officialHijri);
            return true;
        case IDC_USE_LIST:
            l.useList = !l.useList;
            EnableSettlementFields(ps, c);
            return true;
        case IDC_SYSTEM_ZONE:
            l.useSystemTimeZone = !l.useSystemTimeZone;
            c.Check(IDC_SYSTEM_ZONE, l.useSystemTimeZone);
            c.Enable(IDC_UTC_OFFSET, !l.useList && !l.useSystemTimeZone);
            return true;
        case IDC_SYSTEM_SUMMER:
            l.useSystemSummerTime = !l.useSystemSummerTime;
            c.Check(IDC_SYSTEM_SUMMER, l.useSystemSummerTime);
            c.Enable(IDC_SUMMER_TIME, !l.useSystemSummerTime);
            return true;
        case IDC_SUMMER_TIME:
            l.summerTime = !l.summerTime;
            c.Check(IDC_SUMMER_TIME, l.summerTime);
            return true;
        case IDC_ANGLE_DEFAULTS:
            // The temkin fields keep their enabled state until the next
            // refresh, even when the mode leaves 0.
            ps.calc.imsakAngle = kDefaultImsakAngle;
            ps.calc.yatsiAngle = kDefaultYatsiAngle;
            ps.calc.mode = kDefaultMode;
            ps.calc.diyanet = false;
            c.Check(IDC_DIYANET, false);
            FillAnglesAndMode(ps, c);
            return true;
        case IDC_REAL_TIME:
            ps.realTime = !ps.realTime;
            if (ps.realTime) {
                ps.workTime = now;
                ps.ticksToNextRun = 0;
            }
            FillDateAndTime(ps, c);
            return true;
        default:
            return false;
    }
}

int CommitCalcParams(ProgramState& ps, DialogControls& c, const SettlementListFile& list) {
    CalcParams& p = ps.calc;
    const int32_t mode = FieldInteger(ReadField(c, IDC_MODE), true);
    if (!InRange(mode, 0, kLastMode)) return IDC_MODE;
    p.mode = mode;

    for (int v = 1; v <= kVakitCount; ++v) {
        const int id = IDC_TEMKIN_FIRST + v - 1;
        const int32_t temkin = FieldInteger(ReadField(c, id), true);
        int32_t low, high;
        TemkinRange(v, p.mode, &low, &high);
        if (!InRange(temkin, low, high)) return id;
        p.temkin[v] = temkin;
    }

    Location& l = ps.location;
    const int32_t row = FieldInteger(ReadField(c, IDC_LIST_ROW), false);
    if (!InRange(row, 1, kMaxListRow)) return IDC_LIST_ROW;
    l.listRow = row;

    if (l.useList) {
        // A list that cannot be read leaves the settlement as it was.
        LoadSettlementRow(list.path, l.listRow, l);
    } else if (const int failed = CommitSettlementFields(l, c)) {
        return failed;
    }

    const int32_t imsak = FieldDecimal(ReadField(c, IDC_IMSAK_ANGLE), 100);
    if (!InRange(imsak, kImsakAngleLow, kImsakAngleHigh)) return IDC_IMSAK_ANGLE;
    p.imsakAngle = static_cast<float>(imsak) / 100.0f;
    const int32_t yatsi = FieldDecimal(ReadField(c, IDC_YATSI_ANGLE), 100);
    if (!InRange(yatsi, kYatsiAngleLow, kYatsiAngleHigh)) return IDC_YATSI_ANGLE;
    p.yatsiAngle = static_cast<float>(yatsi) / 100.0f;

    if (!ps.realTime) return CommitDateAndTime(ps, c);
    return 0;
}

bool StepWorkDate(WorkTime& t, bool forward) {
    const int year = t.year;
    int n = DayOfYearOf(t.day, t.month, year);
    const int daysInYear = IsLeapYear(year) ? 366 : 365;
    int newYear = year;
    if (forward) {
        if (++n > daysInYear) {
            if (year >= kLastYear) return false;
            newYear = year + 1;
            n = 1;
        }
    } else {
        if (--n < 1) {
            if (year <= kFirstYear) return false;
            newYear = year - 1;
            n = IsLeapYear(newYear) ? 366 : 365;
        }
    }
    int month = 0, day = 0;
    MonthAndDay(newYear, n, &month, &day);
    t.year = static_cast<uint16_t>(newYear);
    t.month = static_cast<uint16_t>(month);
    t.day = static_cast<uint16_t>(day);
    return true;
}

bool CalcParamsWheel(ProgramState& ps, DialogControls& c, const SettlementListFile& list,
                     int delta) {
    const bool forward = delta < 0;
    const int focused = c.FocusedControl();
    if (focused == IDC_LIST_ROW) {
        Location& l = ps.location;
        if (forward) {
            if (l.listRow < INT32_MAX) ++l.listRow;
        } else if (l.listRow > 1) {
            --l.listRow;
        }
        LoadSettlementRow(list.path, l.listRow, l);
        RefreshCalcParamsForm(ps, list, c);
        return true;
    }
    if (focused == IDC_WORK_DATE) {
        if (!StepWorkDate(ps.workTime, forward)) return false;
        ps.ticksToNextRun = 2;
        RefreshCalcParamsForm(ps, list, c);
        return true;
    }
    return false;
}

const ControlTip* CalcParamsTips(int* count) {
    static const ControlTip kTips[] = {
        {1075, "0 ile -30 arası..."},
        {1076, "0 ile -30 arası..."},
        {1078, "0 ile -30 arası..."},
        {1082, "0 ile -30 arası..."},
        {1077, "0 ile +30 arası..."},
        {1079, "0 ile +30 arası..."},
        {1080, "0 ile +30 arası..."},
        {1081, "0 ile +30 arası..."},
        {1083, "0 ile +30 arası..."},
        {1084, "Hesaplama Modu 5 ise +60 ile +120 arası,\ndeğilse 0 ile +30 arası..."},
        {IDC_TEMKIN_DEFAULTS,
         "Orijinal temkin değerlerini geri yükler.\nUygula tuşuna bastıktan sonra geçerli olur."},
        {IDC_OPEN_LIST, "8000 yerleşim birimini içeren veri tabanı dosyasını açar."},
        {IDC_USE_LIST,
         "Veri tabanı listesini kullanmak için işaretleyin.\nEnlem, boylam ve saat farkını elle "
         "girip, şehir/ülke adını kendiniz tanımlayacaksanız kutucuğu boş bırakın."},
        {IDC_LIST_ROW,
         "Listeden istediğiniz yerleşimi bulun ve bu yerleşime ait satır no.sunu kutucuğa girip "
         "Uygula tuşuna basın.\nYerleşime ilişkin bilgiler form üzerinde görüntülenecektir.\n"
         "İmleç kutucuğun içindeyken, fare tekerleğiyle yukarı/aşağı hareket ettiğinizde "
         "listedeki bir önceki/sonraki yerleşimi seçebilirsiniz.\nListedeki ilk 81 yerleşim, "
         "Türkiye il plakalarına göre sıralanmıştır."},
        {IDC_CITY, "Yerleşim biriminin adı."},
        {IDC_COUNTRY, "Yerleşim biriminin bulunduğu ülke."},
        {IDC_LATITUDE, "Yerleşim biriminin enlemi.\n-90 ile +90 arası..."},
        {IDC_LONGITUDE, "Yerleşim biriminin boylamı.\n-180 ile +180 arası..."},
        {IDC_UTC_OFFSET, "Yerleşim biriminin saat dilimi.\n-12 ile +12 arası..."},
        {IDC_SYSTEM_ZONE,
         "İşaretlenirse, Saat Farkı kutucuğunun içeriğinden bağımsız olarak sistem saat dilimi "
         "kullanılır."},
        {IDC_IMSAK_ANGLE,
         "Güneşin İmsak vaktindeki pozisyonu ile ufuk düzlemi ile arasındaki dikey açı.\n-15 ile "
         "-20 arası..."},
        {IDC_YATSI_ANGLE,
         "Güneşin Yatsı vaktindeki pozisyonu ile ufuk düzlemi ile arasındaki dikey açı.\n-10 ile "
         "-20 arası..."},
        {IDC_MODE,
         "Vakitlerin hesabına ilişkin kriterleri belirler:\n0 = Salt Astronomik\n1 = Temkin "
         "eklenmiş\n2 = 1 + En kısa gece/gündüz 3 saat\n3 = 1 + 2 + En geç Yatsı gecenin "
         "1/2'sinde\n4 = 1 + 2 + En geç Yatsı gecenin 1/3'ünde\n5 = 1 + 2 + Yatsı Akşam'a bağlı "
         "(Akşam'dan Yatsı temkini kadar sonra)"},
        {IDC_ANGLE_DEFAULTS,
         "İmsak/Yatsı açısı ve Hesaplama Modunun orijinal değerlerini geri yükler.\nUygula "
         "tuşuna bastıktan sonra geçerli olur."},
        {IDC_REAL_TIME,
         "İşaretlenirse sistem saati kullanılır. Bu durumda tüm formlar ve grafikler otomatik "
         "olarak güncellenir.\nGeçmiş veya gelecekteki bir tarihe yönelik analiz yapmak "
         "istediğinizde kutucuğu boş bırakın."},
        {IDC_WORK_DATE,
         "İstediğiniz tarihi GG/AA/YYYY formatında girin.\nİmleç kutucuğun içindeyken, fare "
         "tekerleğiyle yukarı/aşağı hareket ettirerek tarihi ileri/geri alabilirsiniz."},
        {IDC_WORK_TIME, "İstediğiniz saati SS:DD formatında girin."},
        {IDC_SYSTEM_SUMMER,
         "İşaretlenirse, Yaz Saati kutucuğunun içeriğinden bağımsız olarak sistem yaz saati esas "
         "alınır."},
        {IDC_SUMMER_TIME, "İleri saat (yaz saati) uygulanıyorsa işaretleyin."},
        {IDC_OK_BUTTON, "Formdaki değerleri INI dosyasına kaydeder."},
        {IDC_APPLY, "Forma girilen değerleri programa aktarır."},
        {IDC_CANCEL_BUTTON,
         "Formda yapılan değişiklikler (Tarih/Saat hariç) iptal edilir ve INI dosyasındaki "
         "değerlere geri dönülür."},
        {IDC_DIYANET,
         "Vakitleri Diyanet İşleri Başkanlığı takviminin yöntemiyle hesaplar: temkinler İmsak 0, "
         "Güneş -7, Öğle +5, İkindi +4, Akşam +7, Yatsı 0 dk., açılar -18° ve -17°.\n"
         "İşaret kaldırılınca programın kendi varsayılan değerlerine dönülür."},
        {IDC_OFFICIAL_HIJRI,
         "Hicri ayların başını Türkiye'nin resmi takvimindeki ölçüte göre belirler: güneş "
         "battığında hilalin ufuktan en az 5°, Güneş'ten en az 8° uzak olduğu akşamın ertesi "
         "günü.\nİşaretsizken program kendi hilal ölçütünü kullanır."},
    };
    *count = static_cast<int>(sizeof kTips / sizeof kTips[0]);
    return kTips;
}

}  // namespace miravel
