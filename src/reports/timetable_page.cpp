#include "reports/timetable_page.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "config/codepage.h"
#include "config/file_access.h"
#include "core/calendar.h"
#include "core/hijri.h"
#include "core/sun.h"
#include "reports/timetable_report.h"

namespace miravel {

namespace {

struct Day {
    int day = 0, month = 0, year = 0;
};

bool operator==(const Day& a, const Day& b) {
    return a.day == b.day && a.month == b.month && a.year == b.year;
}

int DaysIn(int year) {
    return IsLeapYear(year) ? 366 : 365;
}

Day AddDays(const Day& d, int n) {
    int y = d.year;
    int doy = DayOfYearOf(d.day, d.month, y) + n;
    while (doy < 1)
        doy += DaysIn(--y);
    while (doy > DaysIn(y))
        doy -= DaysIn(y++);
    Day out{0, 0, y};
    MonthAndDay(y, doy, &out.month, &out.day);
    return out;
}

struct HijriDate {
    int day = 0, month = 0, year = 0;
};

HijriDate HijriAt(AstroState& s, const Day& d) {
    SetDate(s, static_cast<int16_t>(d.day), static_cast<int16_t>(d.month),
            static_cast<int16_t>(d.year));
    const int day = HijriDay(s);
    return {day, s.hijriMonth, s.hijriYear};
}

// The six times a printed imsakiye carries.
constexpr int kColumns[] = {Imsak, Gunes, Ogle, Ikindi, Aksam, Yatsi};
constexpr const char* kColumnNames[] = {"İmsak", "Güneş", "Öğle", "İkindi", "Akşam", "Yatsı"};
constexpr int kColumnCount = 6;

struct Row {
    Day date;
    int weekday = 0;
    HijriDate hijri;
    int times[kColumnCount] = {};
    const char* religious = "";
};

// One printed page.
struct Sheet {
    std::string kind;      // the line above the place
    std::string title;     // the month the page is for
    std::string subtitle;  // the other calendar's months
    bool ramadan = false;
    std::vector<Row> rows;
    Row after;  // the day after the last row, for a religious day it begins (the bayram)
};

// Prepares the core for a date exactly as the text report's walk does: the
// walk restarts at each month, so the summer flag is that of the month.
class DayPreparer {
  public:
    DayPreparer(ProgramState& ps, int16_t baseOffset) : ps_(ps), baseOffset_(baseOffset) {}

    void Prepare(const Day& d) {
        if (!walk_ || year_ != d.year || walk_->Month() != d.month || walk_->Day() > d.day ||
            (walk_->Day() == d.day && prepared_)) {
            walk_.emplace(ps_, baseOffset_, d.year);
            walk_->StartMonth(d.month);
            year_ = d.year;
            prepared_ = false;
        }
        while (walk_->Day() < d.day) {
            if (!prepared_) walk_->PrepareDay();
            walk_->NextDay();
            prepared_ = false;
        }
        walk_->PrepareDay();
        prepared_ = true;
    }

  private:
    ProgramState& ps_;
    int16_t baseOffset_;
    std::optional<TimetableWalk> walk_;
    int year_ = 0;
    bool prepared_ = false;
};

Row MakeRow(ProgramState& ps, DayPreparer& days, const Day& d) {
    AstroState& astro = ps.astro;
    Row row;
    row.date = d;
    days.Prepare(d);
    for (int c = 0; c < kColumnCount; ++c)
        row.times[c] = ComputeVakit(astro, kColumns[c]);
    row.weekday = Weekday(astro);
    row.hijri.day = HijriDay(astro);
    row.hijri.month = astro.hijriMonth;
    row.hijri.year = astro.hijriYear;
    row.religious = ReligiousDayName(astro);
    return row;
}

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...) {
    char buf[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    return buf;
}

// Text of the settings (city, country) as page text.
std::string Escaped(const char* text, size_t size) {
    std::string out;
    for (size_t i = 0; i < size && text[i] != '\0'; ++i) {
        switch (text[i]) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += text[i];
                break;
        }
    }
    return out;
}

std::string GregorianDay(const Day& d) {
    return Printf("%d %s", d.day, MonthName(static_cast<int16_t>(d.month)));
}

std::string HijriMonthYear(const HijriDate& h) {
    return Printf("%s %d", HijriMonthName(static_cast<int16_t>(h.month)), h.year);
}

// "Şaban – Ramazan 1448", "Zilhicce 1448 – Muharrem 1449".
std::string HijriSpan(const HijriDate& first, const HijriDate& last) {
    if (first.month == last.month && first.year == last.year) return HijriMonthYear(first);
    if (first.year == last.year)
        return Printf("%s – %s", HijriMonthName(static_cast<int16_t>(first.month)),
                      HijriMonthYear(last).c_str());
    return HijriMonthYear(first) + " – " + HijriMonthYear(last);
}

std::string Degrees(int32_t hundredths, const char* positive, const char* negative) {
    // In 64 bits: the magnitude of the int32 minimum is no int32.
    const long long a = std::llabs(static_cast<long long>(hundredths));
    return Printf("%lld,%02lld° %s", a / 100, a % 100, hundredths < 0 ? negative : positive);
}

std::string ZoneText(int16_t minutes) {
    const int a = std::abs(minutes);
    if (a % 60 == 0) return Printf("UTC%c%d", minutes < 0 ? '-' : '+', a / 60);
    return Printf("UTC%c%d:%02d", minutes < 0 ? '-' : '+', a / 60, a % 60);
}

bool IsNight(const char* name) {
    return std::strstr(name, "Gecesi") != nullptr;
}
bool IsKadir(const char* name) {
    return std::strncmp(name, "Kadir Gecesi", 12) == 0;
}

// Screen and print in one sheet: on screen each printed page is a sheet of
// paper on a grey desk; in print the desk goes and each sheet fills an A4
// page. The sizes in print are in millimetres so that a month of 31 days,
// the header and up to five lines of notes fit one page.
constexpr char kStyle[] = R"(
@page { size: A4 portrait; margin: 9mm 11mm; }
* { box-sizing: border-box; }
html { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
body { margin: 0; background: #d9ddd6; color: #17231c;
  font-family: "Segoe UI", "DejaVu Sans", "Liberation Sans", Arial, sans-serif; }
.hint { max-width: 188mm; margin: 5mm auto 0; font-size: 10pt; color: #3b4a40; }
.sheet { background: #fff; width: 210mm; margin: 5mm auto; padding: 9mm 11mm;
  box-shadow: 0 1mm 4mm rgba(0,0,0,.25); }
header { display: flex; justify-content: space-between; align-items: flex-end;
  border-bottom: 1.2mm solid #1f6b4a; padding-bottom: 2.5mm; margin-bottom: 2.5mm; }
.kind { margin: 0; font-size: 10.5pt; letter-spacing: .35em; font-weight: 700; color: #1f6b4a; }
h1 { margin: .5mm 0 0; font-size: 23pt; line-height: 1.1; white-space: nowrap; }
h1 .country { font-size: 12pt; font-weight: 400; color: #4a5a50; }
.month { text-align: right; white-space: nowrap; padding-left: 4mm; }
.month .title { margin: 0; font-size: 23pt; font-weight: 700; line-height: 1.1; color: #1f6b4a; }
.month .subtitle { margin: .5mm 0 0; font-size: 12pt; color: #4a5a50; }
.facts { margin: 0 0 2mm; font-size: 9pt; color: #4a5a50; }
table { width: 100%; border-collapse: collapse; font-variant-numeric: tabular-nums; }
th { font-size: 10pt; font-weight: 700; text-transform: uppercase; letter-spacing: .04em;
  color: #fff; background: #1f6b4a; height: 7.5mm; padding: 0 1.5mm; }
th.t { text-align: center; }
th.d { text-align: left; }
td { height: 6.8mm; padding: 0 1.5mm; border-bottom: .25mm solid #cfd8d1; font-size: 10.5pt;
  white-space: nowrap; }
td.t { text-align: center; font-size: 13pt; font-weight: 600; }
.ramadan td { height: 7mm; }
.ramadan td.t { font-size: 14pt; }
.ramadan td.k, .ramadan th.k { background: #e3f0e8; }
.ramadan th.k { background: #164f37; }
td.h, td.w { color: #3b4a40; }
.sheet tr.fri td { background: #eef6f0; font-weight: 700; }
.sheet tr.fri td.t { font-weight: 800; }
.sheet tr.rel td { background: #fbf1d4; }
.sheet tr.kadir td { background: #f3dc8e; font-weight: 700; }
.star { color: #a3720b; }
tr.kadir .star { color: #6b4300; }
b.first { color: #1f6b4a; }
.notes { margin: 2.5mm 0 0; padding: 0; list-style: none; columns: 2; column-gap: 6mm;
  font-size: 9.5pt; line-height: 1.45; }
.notes li { break-inside: avoid; }
footer { padding-top: 2mm; display: flex; justify-content: space-between;
  font-size: 8.5pt; color: #4a5a50; }
.key span { display: inline-block; padding: 0 1.5mm; margin-left: 1.5mm; border-radius: .8mm; }
.key .fri { background: #eef6f0; font-weight: 700; }
.key .rel { background: #fbf1d4; }
.key .kadir { background: #f3dc8e; font-weight: 700; }
@media screen {
  .sheet tr.today td { background: #ffd54a; box-shadow: inset 0 .4mm 0 #b8860b, inset 0 -.4mm 0 #b8860b; }
  tr.today td:first-child::before { content: "\25B6\00A0"; color: #7a4f00; }
}
@media print {
  body { background: none; }
  .hint { display: none; }
  .sheet { width: auto; margin: 0; padding: 0; box-shadow: none;
    break-after: page; break-inside: avoid; }
  .sheet:last-child { break-after: auto; }
}
)";

void WriteRow(std::string& page, const Row& row, bool todayRow) {
    std::string classes;
    if (row.weekday == 5) classes += " fri";
    if (row.religious[0] != '\0') classes += IsKadir(row.religious) ? " rel kadir" : " rel";
    if (todayRow) classes += " today";
    page += (classes.empty() ? "<tr>" : "<tr class=\"" + classes.substr(1) + "\">");
    page += ("<td class=\"d\">" + GregorianDay(row.date));
    if (row.religious[0] != '\0') page += (" <span class=\"star\">&#9733;</span>");
    page += ("</td><td class=\"h\">");
    const std::string hijri =
        Printf("%d %s", row.hijri.day, HijriMonthName(static_cast<int16_t>(row.hijri.month)));
    page += (row.hijri.day == 1 ? "<b class=\"first\">" + hijri + "</b>" : hijri);
    page +=
        (Printf("</td><td class=\"w\">%s</td>", WeekdayName(static_cast<int16_t>(row.weekday))));
    for (int c = 0; c < kColumnCount; ++c) {
        const bool key = kColumns[c] == Imsak || kColumns[c] == Aksam;
        page += (Printf("<td class=\"t%s\">%02d:%02d</td>", key ? " k" : "", row.times[c] / 60,
                        row.times[c] % 60));
    }
    page += ("</tr>\n");
}

void WriteNote(std::string& page, const Row& row) {
    page += (Printf("<li><span class=\"star\">&#9733;</span> %s %s%s: %s</li>\n",
                    GregorianDay(row.date).c_str(), WeekdayName(static_cast<int16_t>(row.weekday)),
                    IsNight(row.religious) ? " akşamı" : "", row.religious));
}

void WriteSheet(std::string& page, const Sheet& sheet, const std::string& place,
                const std::string& facts, const Day& today) {
    page += (sheet.ramadan ? "<section class=\"sheet ramadan\">\n" : "<section class=\"sheet\">\n");
    page += ("<header><div><p class=\"kind\">" + sheet.kind + "</p><h1>" + place +
             "</h1></div>\n<div class=\"month\"><p class=\"title\">" + sheet.title +
             "</p><p class=\"subtitle\">" + sheet.subtitle + "</p></div></header>\n");
    page += ("<p class=\"facts\">" + facts + "</p>\n");
    page +=
        ("<table>\n<thead><tr><th class=\"d\">Tarih</th><th class=\"d\">Hicri</th>"
         "<th class=\"d\">Gün</th>");
    for (int c = 0; c < kColumnCount; ++c) {
        const bool key = kColumns[c] == Imsak || kColumns[c] == Aksam;
        page += (Printf("<th class=\"t%s\">%s</th>", key ? " k" : "", kColumnNames[c]));
    }
    page += ("</tr></thead>\n<tbody>\n");
    for (const Row& row : sheet.rows)
        WriteRow(page, row, row.date == today);
    page += ("</tbody>\n</table>\n<ul class=\"notes\">\n");
    for (const Row& row : sheet.rows) {
        if (row.religious[0] != '\0') WriteNote(page, row);
    }
    if (sheet.after.religious[0] != '\0') WriteNote(page, sheet.after);
    page +=
        ("</ul>\n<footer><span>Miravel</span><span class=\"key\">"
         "<span class=\"fri\">Cuma</span><span class=\"rel\">&#9733; Dini gün / gece</span>"
         "<span class=\"kadir\">&#9733; Kadir Gecesi</span></span></footer>\n</section>\n");
}

Sheet MonthSheet(ProgramState& ps, DayPreparer& days, int month, int year, const char* kind) {
    Sheet sheet;
    sheet.kind = kind;
    sheet.title = Printf("%s %d", MonthName(static_cast<int16_t>(month)), year);
    for (Day d{1, month, year}; d.month == month; d = AddDays(d, 1))
        sheet.rows.push_back(MakeRow(ps, days, d));
    sheet.subtitle = HijriSpan(sheet.rows.front().hijri, sheet.rows.back().hijri);
    return sheet;
}

Sheet RamadanSheet(ProgramState& ps, DayPreparer& days, const RamadanSpan& span) {
    Sheet sheet;
    sheet.kind = "RAMAZAN İMSAKİYESİ";
    sheet.title = Printf("Ramazan %d", span.hijriYear);
    sheet.ramadan = true;
    Day d{span.day, span.month, span.year};
    for (int i = 0; i < span.length; ++i, d = AddDays(d, 1))
        sheet.rows.push_back(MakeRow(ps, days, d));
    sheet.after = MakeRow(ps, days, d);
    const Day& first = sheet.rows.front().date;
    const Day& last = sheet.rows.back().date;
    if (first.year != last.year) {
        sheet.subtitle = Printf("%s %d – %s %d", GregorianDay(first).c_str(), first.year,
                                GregorianDay(last).c_str(), last.year);
    } else {
        sheet.subtitle = Printf("%s – %s %d", GregorianDay(first).c_str(),
                                GregorianDay(last).c_str(), last.year);
    }
    return sheet;
}

}  // namespace

RamadanSpan FindRamadan(AstroState& s, int day, int month, int year) {
    Day d{day, month, year};
    HijriDate h = HijriAt(s, d);
    // Months counted from the Hijri era; Ramazan is month index 8 of a year.
    const int target = (h.month <= 9 ? h.year : h.year + 1) * 12 + 8;
    // A month has at least 29 days, so these steps never pass 1 Ramazan.
    for (int at = h.year * 12 + h.month - 1; at < target; at = h.year * 12 + h.month - 1) {
        const int step = (target - at) * 29 - h.day + 1;
        d = AddDays(d, step > 0 ? step : 1);
        h = HijriAt(s, d);
    }
    RamadanSpan span;
    const Day first = AddDays(d, 1 - h.day);
    span.day = first.day;
    span.month = first.month;
    span.year = first.year;
    span.hijriYear = target / 12;
    const HijriDate thirtieth = HijriAt(s, AddDays(first, 29));
    span.length = thirtieth.month == 9 ? 30 : 29;
    return span;
}

std::string BuildTimetablePage(ProgramState& ps, PageKind kind, const SystemZone& system,
                               const WorkTime& today) {
    if (ps.ticksToNextRun < 9) ps.ticksToNextRun = 9;
    const Location& loc = ps.location;
    const int16_t baseOffset = TimetableBaseOffset(loc, system);
    DayPreparer days(ps, baseOffset);
    const int year = ps.workTime.year;

    std::vector<Sheet> sheets;
    std::string title;
    if (kind == PageKind::Ramadan) {
        const RamadanSpan span = FindRamadan(ps.astro, ps.workTime.day, ps.workTime.month, year);
        sheets.push_back(RamadanSheet(ps, days, span));
        title = Printf("Ramazan İmsakiyesi %d", span.hijriYear);
    } else if (kind == PageKind::Yearly) {
        for (int month = 1; month <= 12; ++month)
            sheets.push_back(MonthSheet(ps, days, month, year, "YILLIK İMSAKİYE"));
        title = Printf("%d Yılı İmsakiyesi", year);
    } else {
        sheets.push_back(MonthSheet(ps, days, ps.workTime.month, year, "İMSAKİYE"));
        title = sheets.front().title + " İmsakiyesi";
    }

    const std::string city = Escaped(loc.city, sizeof loc.city);
    const std::string country = Escaped(loc.country, sizeof loc.country);
    const std::string place = city + " <span class=\"country\">" + country + "</span>";
    std::string facts = "Enlem " + Degrees(loc.latitude, "Kuzey", "Güney") + " &middot; Boylam " +
                        Degrees(loc.longitude, "Doğu", "Batı") + " &middot; " +
                        ZoneText(baseOffset);
    if (loc.useSystemSummerTime) {
        facts += " &middot; Yaz saati: Avrupa";
    } else if (loc.summerTime) {
        facts += " &middot; Yaz saati: var";
    }
    facts += ps.astro.diyanetTimes ? " &middot; Hesap: Diyanet Uyumlu"
                                   : " &middot; Hesap: Miravel'in kendi hesabı";
    facts += ps.astro.officialHijri ? " &middot; Hicri takvim: Resmi Hicri Takvim"
                                    : " &middot; Hicri takvim: hilal (8°)";

    std::string page;
    page +=
        ("<!DOCTYPE html>\n<html lang=\"tr\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
         title + " &ndash; " + city + "</title>\n<style>");
    page += (kStyle);
    page +=
        ("</style>\n</head>\n<body>\n<p class=\"hint\">Yazdırmak için: Ctrl+P, kağıt A4, "
         "dikey; arka plan grafikleri açık. Her ay bir sayfaya sığar.</p>\n");
    const Day todayDay{today.day, today.month, today.year};
    for (const Sheet& sheet : sheets)
        WriteSheet(page, sheet, place, facts, todayDay);
    page += ("</body>\n</html>\n");
    ps.ticksToNextRun = 0;
    return Cp1254ToUtf8(page);
}

std::filesystem::path PagePathFor(const std::filesystem::path& programPath) {
    std::filesystem::path path = programPath;
    path.replace_extension();
    path += "-imsakiye.html";
    return path;
}

bool WriteTimetablePage(ProgramState& ps, PageKind kind, const std::filesystem::path& path,
                        const SystemZone& system, const WorkTime& today) {
    // Opened first, so that a page that cannot be written leaves the core
    // and the scheduler's countdown as they were.
    std::FILE* file = OpenFile(path, "wb");
    if (!file) return false;
    const std::string bytes = BuildTimetablePage(ps, kind, system, today);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

}  // namespace miravel
