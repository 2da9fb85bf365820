#include "ui/form_fields.h"

#include <cstring>
#include <string>

#include "config/decimal_text.h"

namespace miravel {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// An optional sign and digits at text[*pos]; advances *pos past them.
bool ReadNumber(std::string_view text, size_t* pos, bool allowSign, int32_t* out) {
    size_t i = *pos;
    bool negative = false;
    if (allowSign && i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || !IsDigit(text[i])) return false;
    int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (value <= INT32_MAX) value = value * 10 + (text[i] - '0');
    }
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    if (value < INT32_MIN) value = INT32_MIN;
    *out = static_cast<int32_t>(value);
    *pos = i;
    return true;
}

}  // namespace

int32_t FieldInteger(std::string_view text, bool allowSign) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    int32_t value = 0;
    if (!ReadNumber(text, &i, allowSign, &value)) return 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    return i == text.size() ? value : 0;
}

bool ScanSeparatedIntegers(std::string_view text, char separator, int count, int32_t* out) {
    size_t i = 0;
    for (int n = 0; n < count; ++n) {
        if (n > 0) {
            if (i >= text.size() || text[i] != separator) return false;
            ++i;
        }
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        if (!ReadNumber(text, &i, true, &out[n])) return false;
    }
    return true;
}

int32_t FieldDecimal(std::string_view text, int32_t multiplier) {
    std::string copy(text);
    for (char& c : copy) {
        if (c == ',') c = '.';
    }
    return ScaleDecimal(copy.c_str(), multiplier);
}

void CopyCut(std::string_view text, size_t limit, char* buffer, size_t size) {
    if (size == 0) return;
    size_t n = text.size() < limit ? text.size() : limit;
    if (n > size - 1) n = size - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

}  // namespace miravel
