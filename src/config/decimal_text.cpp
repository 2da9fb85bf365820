#include "config/decimal_text.h"

#include <cstdint>
#include <limits>

namespace miravel {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr int64_t kLimit = std::numeric_limits<int32_t>::max();

}  // namespace

int32_t ScaleDecimal(const char* text, int32_t multiplier, const char** end) {
    if (end) *end = text;
    if (!text) return 0;
    const char* p = text;
    while (IsBlank(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    const bool hasIntDigits = IsDigit(*p);
    const bool hasFracDigits = *p == '.' && IsDigit(p[1]);
    if (!hasIntDigits && !hasFracDigits) return 0;

    // Integer part, saturating: anything this large is out of every range anyway.
    int64_t whole = 0;
    while (IsDigit(*p)) {
        if (whole <= kLimit) whole = whole * 10 + (*p - '0');
        ++p;
    }
    // Every fraction digit counts: 0.0166666667 hours are 1.000000002 minutes.
    const char* fracFirst = p;
    const char* fracEnd = p;
    if (*p == '.' && (IsDigit(p[1]) || hasIntDigits)) {
        fracFirst = ++p;
        while (IsDigit(*p))
            ++p;
        fracEnd = p;
    }
    if (end) *end = p;

    const int64_t m = multiplier < 0 ? -static_cast<int64_t>(multiplier) : multiplier;
    // floor(m x 0.d1d2...dn), exactly: multiply from the last digit up and
    // keep only the carry.
    int64_t fracPart = 0;
    for (const char* d = fracEnd; d != fracFirst; --d)
        fracPart = (m * (d[-1] - '0') + fracPart) / 10;
    // Zero times any number is zero, however large the number.
    int64_t magnitude = whole > kLimit && m != 0 ? kLimit + 1 : whole * m;
    if (magnitude <= kLimit) magnitude += fracPart;
    const bool resultNegative = negative != (multiplier < 0);
    // The int32 range reaches one further below zero than above.
    const int64_t cap = resultNegative ? kLimit + 1 : kLimit;
    if (magnitude > cap) magnitude = cap;
    return static_cast<int32_t>(resultNegative ? -magnitude : magnitude);
}

bool ParseScaledDecimal(const char* text, int32_t multiplier, int32_t* out) {
    const char* end = nullptr;
    const int32_t value = ScaleDecimal(text, multiplier, &end);
    if (end == text) return false;
    while (IsBlank(*end))
        ++end;
    if (*end != '\0') return false;
    *out = value;
    return true;
}

}  // namespace miravel
