// Decimal text to scaled integers, against the exact value of the digits.
//
// Input: four bytes of multiplier, then the text (cut at its first NUL).
#include <cstring>
#include <string>

#include "config/decimal_text.h"
#include "exact_decimal.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    miravel::fuzz::FuzzInput in(data, size);
    // The multipliers the program uses most of the time, any other now and then.
    static const int32_t kCommon[] = {1, 60, 100, 1000, -1, -100};
    const uint32_t pick = in.U32();
    const int32_t multiplier =
        pick >> 28 ? kCommon[pick % 6] : static_cast<int32_t>(pick << 4) >> 4;
    const std::string text = in.Rest();
    const char* s = text.c_str();

    const char* end = nullptr;
    const char* wantedEnd = nullptr;
    const int32_t got = miravel::ScaleDecimal(s, multiplier, &end);
    const int32_t wanted = miravel::fuzz::ExactScale(s, multiplier, &wantedEnd);
    if (got != wanted || end != wantedEnd) {
        std::fprintf(stderr, "\"%s\" x %d: %d, end +%td; exact %d, end +%td\n", s, multiplier, got,
                     end - s, wanted, wantedEnd - s);
    }
    FUZZ_CHECK(end == wantedEnd);
    FUZZ_CHECK(got == wanted);
    FUZZ_CHECK(miravel::ScaleDecimal(s, multiplier) == got);

    // The whole-text form: a number with nothing but blanks after it.
    int32_t whole = 12345;
    const bool parsed = miravel::ParseScaledDecimal(s, multiplier, &whole);
    const char* rest = wantedEnd;
    while (miravel::fuzz::RefBlank(*rest))
        ++rest;
    FUZZ_CHECK(parsed == (wantedEnd != s && *rest == '\0'));
    FUZZ_CHECK(whole == (parsed ? wanted : 12345));
    return 0;
}
