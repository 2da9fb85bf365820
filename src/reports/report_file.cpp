#include "reports/report_file.h"

#include <cstdio>

#include "config/file_access.h"
#include "reports/religious_days_report.h"
#include "reports/timetable_report.h"

namespace miravel {

std::string BuildReport(ProgramState& ps, ReportKind kind, const SystemZone& system) {
    std::string bytes;
    switch (kind) {
        case ReportKind::Monthly:
            WriteTimetableReport(ps, false, system, &bytes);
            break;
        case ReportKind::Yearly:
            WriteTimetableReport(ps, true, system, &bytes);
            break;
        case ReportKind::ReligiousDays:
            WriteReligiousDaysReport(ps, &bytes);
            break;
    }
    return bytes;
}

std::filesystem::path ReportPathFor(const std::filesystem::path& programPath) {
    std::filesystem::path path = programPath;
    path.replace_extension("txt");
    return path;
}

bool WriteReportFile(ProgramState& ps, ReportKind kind, const std::filesystem::path& path,
                     const SystemZone& system, bool* opened) {
    // Opened first, so that a file that cannot be written leaves the core and
    // the scheduler's countdown as they were.
    std::FILE* file = OpenFile(path, "wb");
    if (opened) *opened = file != nullptr;
    if (!file) return false;
    const std::string bytes = BuildReport(ps, kind, system);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

}  // namespace miravel
