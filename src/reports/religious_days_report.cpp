#include "reports/religious_days_report.h"

#include "core/calendar.h"
#include "core/hijri.h"
#include "reports/report_text.h"

namespace miravel {

void WriteReligiousDaysReport(ProgramState& ps, std::string* out) {
    ps.ticksToNextRun = 9;
    const int year = ps.workTime.year;
    AstroState& astro = ps.astro;
    ReportText text;
    text.Printf(
        "\n\n\n\t\t  %d Yılının Önemli Dini Günleri\n\t\t"
        "------------------------------------\n\n",
        year);
    const int days = IsLeapYear(year) ? 366 : 365;
    for (int n = 1; n <= days; ++n) {
        int month = 0, day = 0;
        MonthAndDay(year, n, &month, &day);
        SetDate(astro, static_cast<int16_t>(day), static_cast<int16_t>(month),
                static_cast<int16_t>(year));
        const char* name = ReligiousDayName(astro);
        if (name[0] == '\0') continue;
        text.Printf("\t%3d %-9s  %-9s   %s\n", day, MonthName(static_cast<int16_t>(month)),
                    WeekdayName(static_cast<int16_t>(Weekday(astro))), name);
    }
    *out += text.Take();
    ps.ticksToNextRun = 0;
}

}  // namespace miravel
