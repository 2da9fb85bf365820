#include "reports/report_text.h"

#include <cstdarg>
#include <cstdio>

namespace miravel {

void ReportText::Printf(const char* format, ...) {
    char small[256];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (n < 0) {
        va_end(again);
        return;
    }
    if (static_cast<size_t>(n) < sizeof small) {
        va_end(again);
        Put(std::string_view(small, static_cast<size_t>(n)));
        return;
    }
    std::string large(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(large.data(), large.size(), format, again);
    va_end(again);
    Put(std::string_view(large.data(), static_cast<size_t>(n)));
}

void ReportText::Put(std::string_view text) {
    for (char c : text) {
        if (c == '\n') bytes_ += '\r';
        bytes_ += c;
    }
}

}  // namespace miravel
