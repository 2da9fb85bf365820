// Reading a fuzzer's bytes as the parts of one test case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace miravel::fuzz {

class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size)
        : text_(reinterpret_cast<const char*>(data), size) {}

    bool Empty() const { return text_.empty(); }
    // The bytes up to the next NUL (dropped) or the end; parts keep seeds readable.
    std::string Part() {
        const size_t cut = text_.find('\0');
        std::string part(text_.substr(0, cut));
        text_.remove_prefix(cut == std::string_view::npos ? text_.size() : cut + 1);
        return part;
    }
    uint8_t Byte() {
        if (text_.empty()) return 0;
        const uint8_t b = static_cast<uint8_t>(text_.front());
        text_.remove_prefix(1);
        return b;
    }
    uint32_t U32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | Byte();
        return v;
    }
    // A number in [low, high].
    int64_t InRange(int64_t low, int64_t high) {
        const uint64_t span = static_cast<uint64_t>(high - low) + 1;
        const uint64_t v = (static_cast<uint64_t>(U32()) << 32 | U32());
        return span == 0 ? low + static_cast<int64_t>(v) : low + static_cast<int64_t>(v % span);
    }
    std::string Rest() {
        std::string rest(text_);
        text_ = {};
        return rest;
    }

  private:
    std::string_view text_;
};

// A broken property: says which and where, then aborts so that the fuzzer
// keeps the input and the replay test fails.
[[noreturn]] inline void Broken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

}  // namespace miravel::fuzz

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::miravel::fuzz::Broken(#condition, __FILE__, __LINE__))
