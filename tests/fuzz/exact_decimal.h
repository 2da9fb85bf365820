// The exact value of decimal text times an integer, by long multiplication of
// the digits: the reference the decimal readers are checked against.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

namespace miravel::fuzz {

inline bool RefBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
inline bool RefDigit(char c) {
    return c >= '0' && c <= '9';
}

// trunc(value x multiplier) toward zero, saturated to [INT32_MIN, INT32_MAX],
// of the number at the start of `text` (blanks, sign, digits, "." and
// digits); `*end` is the first character after it, `text` without a number.
inline int32_t ExactScale(const char* text, int32_t multiplier, const char** end) {
    *end = text;
    const char* p = text;
    while (RefBlank(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    std::string whole, fraction;
    while (RefDigit(*p))
        whole += *p++;
    if (*p == '.' && (RefDigit(p[1]) || !whole.empty())) {
        ++p;
        while (RefDigit(*p))
            fraction += *p++;
    }
    if (whole.empty() && fraction.empty()) return 0;
    *end = p;

    const uint64_t m = multiplier < 0 ? 0u - static_cast<uint64_t>(static_cast<int64_t>(multiplier))
                                      : static_cast<uint64_t>(multiplier);
    // Fraction x m: the carry out of the digits, right to left, is its
    // integer part.
    uint64_t carry = 0;
    for (auto it = fraction.rbegin(); it != fraction.rend(); ++it)
        carry = (static_cast<uint64_t>(*it - '0') * m + carry) / 10;
    // Whole x m + carry, stopped once past any 32-bit value.
    constexpr uint64_t kPast = 1ull << 40;
    uint64_t magnitude = 0;
    for (char c : whole) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');
        if (magnitude > kPast) break;
    }
    // Zero times any number, however large, is zero; a product past 2^40
    // is taken as 2^40 before it could overflow.
    if (m == 0)
        magnitude = 0;
    else if (magnitude > kPast / m)
        magnitude = kPast;
    else
        magnitude = std::min(magnitude * m + carry, kPast);
    const bool resultNegative = negative != (multiplier < 0);
    const int64_t v =
        resultNegative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace miravel::fuzz
