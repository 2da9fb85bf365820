// The dialogs' field rules on any typed text: numbers read as the patterns
// say, a refused field has the focus, accepted values are within their
// ranges, and what a dialog shows is accepted again unchanged.
//
// Input: a flags byte, then NUL-separated pairs of a control pick and the
// text typed into it.
#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "ui/calc_params_form.h"
#include "ui/form_fields.h"
#include "ui/options_form.h"

namespace {

using namespace miravel;

struct Controls : DialogControls {
    std::map<int, std::string> text;
    int focus = 0;
    std::string Text(int id) override { return text[id]; }
    void SetText(int id, const char* t) override { text[id] = t; }
    void Enable(int, bool) override {}
    void Check(int, bool) override {}
    void Focus(int id) override { focus = id; }
    int FocusedControl() override { return focus; }
    void SetCaption(const char*) override {}
};

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// "%d" as the dialogs read it: blanks, a sign, digits; saturated.
bool RefNumber(const std::string& s, size_t* i, bool sign, int64_t* out) {
    size_t p = *i;
    bool negative = false;
    if (sign && p < s.size() && (s[p] == '-' || s[p] == '+')) negative = s[p++] == '-';
    if (p >= s.size() || s[p] < '0' || s[p] > '9') return false;
    int64_t v = 0;
    for (; p < s.size() && s[p] >= '0' && s[p] <= '9'; ++p)
        v = std::min<int64_t>(v * 10 + (s[p] - '0'), int64_t{1} << 40);
    *out = std::clamp<int64_t>(negative ? -v : v, INT32_MIN, INT32_MAX);
    *i = p;
    return true;
}

void CheckReaders(const std::string& s, char separator) {
    for (bool sign : {false, true}) {
        size_t i = 0;
        while (i < s.size() && Blank(s[i]))
            ++i;
        int64_t v = 0;
        bool ok = RefNumber(s, &i, sign, &v);
        while (ok && i < s.size() && Blank(s[i]))
            ++i;
        ok = ok && i == s.size();
        FUZZ_CHECK(FieldInteger(s, sign) == (ok ? v : 0));
    }
    for (int count = 1; count <= 3; ++count) {
        int32_t got[3] = {7, 7, 7};
        const bool scanned = ScanSeparatedIntegers(s, separator, count, got);
        size_t i = 0;
        bool ok = true;
        for (int n = 0; n < count && ok; ++n) {
            if (n > 0) ok = i < s.size() && s[i++] == separator;
            while (ok && i < s.size() && Blank(s[i]))
                ++i;
            int64_t v = 0;
            ok = ok && RefNumber(s, &i, true, &v);
            if (ok) FUZZ_CHECK(got[n] == v);
        }
        FUZZ_CHECK(scanned == ok);
    }
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    const size_t limit = s.size() % 10;
    CopyCut(s, limit, buffer, sizeof buffer);
    const size_t n = std::min({s.size(), limit, sizeof buffer - 1});
    FUZZ_CHECK(buffer[n] == '\0' && std::memcmp(buffer, s.data(), n) == 0);
}

using Typed = std::vector<std::pair<uint8_t, std::string>>;

bool SameCommitted(const ProgramState& a, const ProgramState& b) {
    const Location &l = a.location, &m = b.location;
    const WorkTime &t = a.workTime, &u = b.workTime;
    return std::memcmp(&a.calc, &b.calc, sizeof a.calc) == 0 && l.listRow == m.listRow &&
           std::strcmp(l.city, m.city) == 0 && std::strcmp(l.country, m.country) == 0 &&
           l.latitude == m.latitude && l.longitude == m.longitude && l.utcOffset == m.utcOffset &&
           t.year == u.year && t.month == u.month && t.day == u.day && t.hour == u.hour &&
           t.minute == u.minute;
}

// The fuzzer's texts, each typed into the text field its first byte picks;
// false when the form shows no text field.
bool TypeInto(Controls& c, const Typed& typed) {
    std::vector<int> ids;
    for (const auto& [id, _] : c.text)
        ids.push_back(id);
    if (ids.empty()) return false;
    for (const auto& [pick, text] : typed)
        c.text[ids[pick % ids.size()]] = text;
    return true;
}

void CheckCalcParams(uint8_t flags, const Typed& typed) {
    ProgramState ps;
    ps.realTime = flags & 1;
    ps.workTime = {2024, 2, 4, 29, 23, 59, 0, 0};
    const SettlementListFile list{"no-such-list.csv", false};
    Controls c;
    RefreshCalcParamsForm(ps, list, c);
    if (!TypeInto(c, typed)) return;

    const int failed = CommitCalcParams(ps, c, list);
    if (failed != 0) {
        FUZZ_CHECK(c.focus == failed);
        return;
    }
    const CalcParams& p = ps.calc;
    FUZZ_CHECK(p.mode >= 0 && p.mode <= 5);
    for (int v = 1; v <= kVakitCount; ++v) {
        int32_t low = 0, high = 0;
        TemkinRange(v, p.mode, &low, &high);
        FUZZ_CHECK(p.temkin[v] >= low && p.temkin[v] <= high);
    }
    FUZZ_CHECK(p.imsakAngle >= -20.0f && p.imsakAngle <= -15.0f);
    FUZZ_CHECK(p.yatsiAngle >= -20.0f && p.yatsiAngle <= -10.0f);
    const Location& l = ps.location;
    FUZZ_CHECK(l.listRow >= 1 && l.listRow <= 30000);
    FUZZ_CHECK(l.latitude >= -9000 && l.latitude <= 9000);
    FUZZ_CHECK(l.longitude >= -18000 && l.longitude <= 18000);
    FUZZ_CHECK(l.utcOffset >= -720 && l.utcOffset <= 720);
    FUZZ_CHECK(std::strlen(l.city) <= 15 && std::strlen(l.country) <= 15);

    // Shown again and accepted as shown, nothing changes.
    const ProgramState before = ps;
    Controls again;
    RefreshCalcParamsForm(ps, list, again);
    FUZZ_CHECK(CommitCalcParams(ps, again, list) == 0);
    FUZZ_CHECK(SameCommitted(before, ps));
}

void CheckOptions(const Typed& typed) {
    ProgramState ps;
    Controls c;
    RefreshOptionsForm(ps, c);
    if (!TypeInto(c, typed)) return;
    const int failed = CommitOptions(ps, c);
    if (failed != 0) {
        FUZZ_CHECK(c.focus == failed);
        return;
    }
    const Options& o = ps.options;
    FUZZ_CHECK(o.morningAdhanLead >= 10 && o.morningAdhanLead <= 60);
    FUZZ_CHECK(o.reminderLead >= 10 && o.reminderLead <= 60);
    FUZZ_CHECK(o.fridaySalaLead >= 10 && o.fridaySalaLead <= 120);
    FUZZ_CHECK(o.sahurSalaLead >= 10 && o.sahurSalaLead <= 120);
    const Options before = o;
    Controls again;
    RefreshOptionsForm(ps, again);
    FUZZ_CHECK(CommitOptions(ps, again) == 0);
    FUZZ_CHECK(o.morningAdhanLead == before.morningAdhanLead &&
               o.reminderLead == before.reminderLead && o.fridaySalaLead == before.fridaySalaLead &&
               o.sahurSalaLead == before.sahurSalaLead);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput in(data, size);
    const uint8_t flags = in.Byte();
    Typed typed;
    while (!in.Empty() && typed.size() < 24) {
        const uint8_t pick = in.Byte();
        typed.emplace_back(pick, in.Part());
        CheckReaders(typed.back().second, flags & 2 ? ':' : '/');
    }
    CheckCalcParams(flags, typed);
    CheckOptions(typed);
    return 0;
}
