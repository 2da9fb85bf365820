// The time clients on any answers: the decoding of a datagram, the
// server names, the wait for the server asked, and the whole clock check
// against scripted servers, a fake clock and a recording window.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "net/clock_check.h"

namespace {

using namespace miravel;

struct Endpoint : TimeEndpoint {
    struct Script {
        AnswerStatus status = AnswerStatus::kNoAnswer;
        std::vector<uint8_t> datagram;
        bool sendFails = false;
        // An SNTP answer echoes the request's transmit value in its origin
        // field (the value is random, so only the server can know it).
        bool echoes = false;
        int awaited = 0;
    };
    bool opens = true;
    std::map<std::string, uint32_t> hosts;
    std::map<uint32_t, Script> servers;
    std::vector<uint32_t> asked;

    bool Open() override { return opens; }
    AnswerStatus LookUpHost(const std::string& name, uint16_t, uint32_t* address) override {
        const auto it = hosts.find(name);
        *address = it == hosts.end() ? 0 : it->second;
        return AnswerStatus::kAnswer;
    }
    bool SendRequest(uint32_t address) override {
        asked.push_back(address);
        return !servers[address].sendFails;
    }
    bool SendDatagram(uint32_t address, uint16_t, const std::vector<uint8_t>& bytes) override {
        asked.push_back(address);
        Script& s = servers[address];
        if (s.echoes && bytes.size() >= kNtpPacketBytes && s.datagram.size() >= kNtpPacketBytes)
            std::copy(bytes.begin() + 40, bytes.begin() + 48, s.datagram.begin() + 24);
        return !s.sendFails;
    }
    // A server answers once; waiting on after that times out.
    AnswerStatus AwaitAnswer(uint32_t address, uint16_t, std::vector<uint8_t>* datagram) override {
        Script& s = servers[address];
        if (s.awaited++ > 0) return AnswerStatus::kNoAnswer;
        if (s.status == AnswerStatus::kAnswer) *datagram = s.datagram;
        return s.status;
    }
    AnswerStatus AwaitAnswerFrom(uint32_t address, uint16_t, uint16_t timeoutMs,
                                 std::vector<uint8_t>* datagram) override {
        return AwaitAnswer(address, timeoutMs, datagram);
    }
};

// Each reading advances a third of a second.
struct Clock : ComputerClock {
    int64_t base = 0;
    int64_t readings = 0;
    ClockSetStatus setStatus = ClockSetStatus::kSet;
    std::vector<int64_t> setsMs;
    std::vector<int64_t> readMs;
    int announced = 0;
    int64_t NowMs() override {
        const int64_t ms = base * 1000 + readings++ * 1000 / 3;
        readMs.push_back(ms);
        return ms;
    }
    int64_t Now() override {
        const int64_t ms = NowMs();
        return ms / 1000 - (ms % 1000 != 0 && ms < 0);
    }
    CivilTime ToLocal(int64_t s) override {
        CivilTime t;
        const int64_t day = s >= 0 ? s / 86400 : (s - 86399) / 86400;
        const int64_t rest = s - day * 86400;
        t.day = static_cast<int>(day % 28) + 1;
        t.hour = static_cast<int>(rest / 3600);
        t.minute = static_cast<int>(rest / 60 % 60);
        t.second = static_cast<int>(rest % 60);
        return t;
    }
    ClockSetStatus SetMs(int64_t ms) override {
        setsMs.push_back(ms);
        return setStatus;
    }
    void AnnounceChange() override { ++announced; }
};

struct Elevation : ClockElevation {
    ElevatedSetStatus status = ElevatedSetStatus::kSet;
    int calls = 0;
    int64_t offsetMs = 0;
    ElevatedSetStatus SetClockAsAdministrator(int64_t offset) override {
        ++calls;
        offsetMs = offset;
        return status;
    }
};

struct Ui : ClockCheckUi {
    std::vector<std::string> events;
    int windowLives = 0;
    bool yes = false;
    void ShowProgress(std::string_view) override { events.push_back("show"); }
    void SetProgressTitle(std::string_view) override { events.push_back("title"); }
    void HideProgress() override { events.push_back("hide"); }
    bool WindowExists() override { return windowLives-- > 0; }
    void ShowSocketError(std::string_view, std::string_view) override {
        events.push_back("socket");
    }
    void ShowMessage(std::string_view text, std::string_view, BoxIcon) override {
        FUZZ_CHECK(!text.empty());
        events.push_back("message");
    }
    bool AskYesNo(std::string_view text, std::string_view) override {
        FUZZ_CHECK(!text.empty());
        events.push_back("ask");
        return yes;
    }
    int Count(const char* e) const {
        int n = 0;
        for (const std::string& x : events)
            n += x == e;
        return n;
    }
};

// The count's value by its definition: seconds from 1970, the 32-bit count
// taken as the era of 2036 for the counts that would lie before 1970 in the
// first era but fall after 2036 in the next.
void CheckDecode(const uint8_t* data, size_t size) {
    ServerTime t;
    t.seconds = 77;
    const bool ok = DecodeTimeAnswer(data, size, &t);
    FUZZ_CHECK(ok == (size >= 4));
    if (!ok) {
        FUZZ_CHECK(t.seconds == 77);
        return;
    }
    const int64_t count = int64_t{data[0]} << 24 | data[1] << 16 | data[2] << 8 | data[3];
    int64_t seconds = count - 2208988800LL;
    if (seconds < 0) seconds += int64_t{1} << 32;
    const bool before1970 = seconds > INT32_MAX;
    FUZZ_CHECK(t.clampedTo1970 == before1970);
    FUZZ_CHECK(t.seconds == (before1970 ? 0 : seconds));
}

void CheckNames(const std::string& name) {
    uint32_t address = 1;
    const ServerNameKind kind = ClassifyServerName(name, &address);
    if (kind == ServerNameKind::kBroadcast) {
        FUZZ_CHECK(address == kBroadcastAddress && name == "255.255.255.255");
    } else if (kind == ServerNameKind::kDotted) {
        // Leading zeros are decimal ("010" is 10), so only the number is compared.
        uint32_t again = 0;
        FUZZ_CHECK(ParseDottedQuad(DottedQuad(address), &again) && again == address);
        FUZZ_CHECK(name.size() >= 7 && name.size() <= 15);
    } else {
        FUZZ_CHECK(address == 0);
    }
    FUZZ_CHECK((kind == ServerNameKind::kEmpty) == name.empty());
    uint32_t parsed = 0;
    if (ParseDottedQuad(name, &parsed)) {
        uint32_t again = 0;
        FUZZ_CHECK(ParseDottedQuad(DottedQuad(parsed), &again) && again == parsed);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckDecode(data, size);
    fuzz::FuzzInput in(data, size);
    const uint8_t flags = in.Byte();
    const bool silent = flags & 1;
    Endpoint endpoint;
    endpoint.opens = !(flags & 2);
    Clock clock;
    // A refused set: for want of rights, or for another reason.
    if (flags & 4)
        clock.setStatus = flags & 64 ? ClockSetStatus::kNoPrivilege : ClockSetStatus::kFailed;
    clock.base = in.InRange(-(int64_t{1} << 33), int64_t{1} << 33);
    Ui ui;
    ui.yes = flags & 8;
    ui.windowLives = flags & 16 && !silent ? in.Byte() % 8 : 1000;
    ClockCheckRequest request;
    request.silent = silent;
    request.notBefore = flags & 32 ? in.InRange(0, INT32_MAX) : 0;
    SilentCorrectionAllowance allowance;
    request.allowance = &allowance;
    Elevation elevation;
    if (flags & 128) {
        static const ElevatedSetStatus kElevated[] = {
            ElevatedSetStatus::kSet, ElevatedSetStatus::kCancelled, ElevatedSetStatus::kFailed};
        elevation.status = kElevated[in.Byte() % 3];
        request.elevation = &elevation;
    }
    TimeServers servers;
    servers.timeoutMs = static_cast<uint16_t>(in.U32());

    // The answer wait: only the sender asked ends it, once.
    AnswerWait wait;
    const uint32_t waitAddress = in.U32();
    const uint16_t waitPort = static_cast<uint16_t>(in.U32());
    wait.Start(waitAddress, waitPort, servers.timeoutMs);
    FUZZ_CHECK(wait.waiting() == (servers.timeoutMs != 0));
    bool answered = false;
    for (int i = 0, n = in.Byte() % 8; i < n; ++i) {
        const uint32_t from = in.Byte() & 1 ? waitAddress : in.U32();
        const uint16_t port = in.Byte() & 1 ? waitPort : static_cast<uint16_t>(in.U32());
        const bool wasWaiting = wait.waiting();
        const AnswerWait::Action a = wait.OnDatagram(from, port);
        const bool fromServer = from == waitAddress && port == waitPort;
        if (wasWaiting) FUZZ_CHECK((a == AnswerWait::Action::kAnswer) == fromServer);
        if (a == AnswerWait::Action::kAnswer) {
            FUZZ_CHECK(fromServer && !answered);
            answered = true;
        }
        if (in.Byte() % 16 == 0) wait.OnTimeout();
    }

    while (!in.Empty() && servers.hosts.size() < 6) {
        const std::string name = in.Part();
        CheckNames(name);
        servers.hosts.push_back(name);
        const uint32_t lookedUp = in.U32();
        const uint8_t how = in.Byte();
        std::string datagram = in.Part();
        CheckDecode(reinterpret_cast<const uint8_t*>(datagram.data()), datagram.size());
        // The address the check will ask: that of the entry's host.
        const std::string entryText = name.substr(0, kMaxServerNameChars);
        ServerEntry entry;
        uint32_t address = 0;
        if (ParseServerEntry(entryText, &entry)) {
            endpoint.hosts[entry.host] = lookedUp;
            if (ClassifyServerName(entry.host, &address) == ServerNameKind::kHostName)
                address = lookedUp;
        }
        static const AnswerStatus kStatus[] = {AnswerStatus::kAnswer,       AnswerStatus::kAnswer,
                                               AnswerStatus::kAnswer,       AnswerStatus::kNoAnswer,
                                               AnswerStatus::kWindowClosed, AnswerStatus::kQuit};
        endpoint.servers[address] = {kStatus[how % 6],
                                     std::vector<uint8_t>(datagram.begin(), datagram.end()),
                                     (how & 0x80) != 0, (how & 0x40) != 0};
    }

    const ClockCheckResult r = RunClockCheck(servers, request, endpoint, clock, ui);

    // Nothing on the screen in the silent mode (no window, no box); the
    // window, when shown, is closed at the end.
    if (silent) {
        FUZZ_CHECK(ui.Count("show") == 0 && ui.Count("message") == 0 && ui.Count("ask") == 0 &&
                   ui.Count("socket") == 0);
    }
    if (r.outcome == ClockCheckOutcome::kSocketFailed) {
        FUZZ_CHECK(!silent && !endpoint.opens && ui.events == std::vector<std::string>{"socket"});
        return 0;
    }
    if (!silent) FUZZ_CHECK(ui.events.front() == "show" && ui.events.back() == "hide");

    // Nobody asked and broadcast never answer.
    for (uint32_t a : endpoint.asked)
        FUZZ_CHECK(a != 0 && a != kBroadcastAddress);
    // The helper with administrator rights is offered only in the interactive
    // mode, after a refusal for want of rights, and then to the server that answered.
    FUZZ_CHECK(elevation.calls <= 1);
    if (elevation.calls == 1) {
        FUZZ_CHECK(!silent && clock.setStatus == ClockSetStatus::kNoPrivilege);
        FUZZ_CHECK(elevation.offsetMs == r.offsetMs);
        FUZZ_CHECK(ui.Count("ask") == 2);
    } else {
        FUZZ_CHECK(ui.Count("ask") <= 1);
    }

    const bool usedAnswer =
        r.outcome == ClockCheckOutcome::kInSync || r.outcome == ClockCheckOutcome::kCorrected ||
        r.outcome == ClockCheckOutcome::kDeclined || r.outcome == ClockCheckOutcome::kSetRefused ||
        r.outcome == ClockCheckOutcome::kNoPrivilege ||
        r.outcome == ClockCheckOutcome::kCorrectedAsAdministrator;
    if (usedAnswer) {
        FUZZ_CHECK(!r.server.empty() && r.address != 0 && r.address != kBroadcastAddress);
        FUZZ_CHECK(!endpoint.asked.empty() && endpoint.asked.back() == r.address);
        const Endpoint::Script& s = endpoint.servers[r.address];
        FUZZ_CHECK(s.status == AnswerStatus::kAnswer);
        if (r.protocol == TimeProtocol::kTime) {
            FUZZ_CHECK(s.datagram.size() >= 4);
            ServerTime t;
            FUZZ_CHECK(DecodeTimeAnswer(s.datagram.data(), s.datagram.size(), &t));
            FUZZ_CHECK(t.seconds == r.serverTime.seconds);
            // A clock set without asking anybody never takes a time that cannot be right.
            if (silent) FUZZ_CHECK(!t.clampedTo1970 && t.seconds >= request.notBefore);
        } else {
            // Only an answer that echoes the request is taken.
            FUZZ_CHECK(s.echoes && s.datagram.size() >= kNtpPacketBytes);
            FUZZ_CHECK(s.datagram[1] >= 1 && s.datagram[1] <= 15);
        }
        // A silent correction never steps further than the day's allowance,
        // unless the computer's clock reads a time before any that can be
        // right.
        if (silent && !clock.setsMs.empty()) {
            bool clockBefore = false;
            for (int64_t ms : clock.readMs)
                clockBefore |= ms < request.notBefore * 1000;
            FUZZ_CHECK(clockBefore || (r.offsetMs <= kSilentDailyAllowanceMs &&
                                       r.offsetMs >= -kSilentDailyAllowanceMs));
        }
    } else {
        FUZZ_CHECK(clock.setsMs.empty() && clock.announced == 0);
    }
    const bool setTried = r.outcome == ClockCheckOutcome::kCorrected ||
                          r.outcome == ClockCheckOutcome::kSetRefused ||
                          r.outcome == ClockCheckOutcome::kNoPrivilege ||
                          r.outcome == ClockCheckOutcome::kCorrectedAsAdministrator;
    if (setTried) {
        FUZZ_CHECK(clock.setsMs.size() == 1);
        FUZZ_CHECK(silent || ui.Count("ask") >= 1);
        if (r.protocol == TimeProtocol::kTime) {
            // The next whole second of the computer, moved by the drift.
            FUZZ_CHECK(r.drift != 0 && clock.setsMs[0] % 1000 == 0);
            const int64_t set = clock.setsMs[0] / 1000;
            FUZZ_CHECK(set - r.serverTime.seconds >= 1 && set - r.serverTime.seconds <= 2);
        } else {
            // The computer's reading just before the set, moved by the offset.
            FUZZ_CHECK(r.offsetMs >= kNtpInSyncMs || r.offsetMs <= -kNtpInSyncMs);
            FUZZ_CHECK(clock.setsMs[0] == clock.readMs.back() + r.offsetMs);
        }
    }
    switch (r.outcome) {
        case ClockCheckOutcome::kInSync:
            FUZZ_CHECK(clock.setsMs.empty());
            if (r.protocol == TimeProtocol::kTime)
                FUZZ_CHECK(r.drift == 0);
            else
                FUZZ_CHECK(r.offsetMs < kNtpInSyncMs && r.offsetMs > -kNtpInSyncMs);
            FUZZ_CHECK(silent || ui.Count("message") == 1);
            break;
        case ClockCheckOutcome::kCorrected:
            FUZZ_CHECK(clock.setStatus == ClockSetStatus::kSet && clock.announced == 1);
            break;
        case ClockCheckOutcome::kSetRefused:
            FUZZ_CHECK(clock.setStatus != ClockSetStatus::kSet && clock.announced == 0);
            // A silent refusal for want of rights has an outcome of its own.
            if (silent) FUZZ_CHECK(clock.setStatus == ClockSetStatus::kFailed);
            break;
        case ClockCheckOutcome::kNoPrivilege:
            FUZZ_CHECK(silent && clock.setStatus == ClockSetStatus::kNoPrivilege &&
                       clock.announced == 0);
            break;
        case ClockCheckOutcome::kCorrectedAsAdministrator:
            FUZZ_CHECK(!silent && elevation.calls == 1 &&
                       elevation.status == ElevatedSetStatus::kSet && clock.announced == 1);
            break;
        case ClockCheckOutcome::kDeclined:
            FUZZ_CHECK(!silent && ui.Count("ask") == 1 && clock.setsMs.empty());
            break;
        case ClockCheckOutcome::kNoAnswer:
            FUZZ_CHECK(silent || ui.Count("message") == 1);
            break;
        case ClockCheckOutcome::kUnconfirmed:
        case ClockCheckOutcome::kBeyondAllowance:
            FUZZ_CHECK(silent && clock.setsMs.empty());
            break;
        case ClockCheckOutcome::kWindowClosed:
        case ClockCheckOutcome::kQuit:
            FUZZ_CHECK(ui.Count("message") == 0 && ui.Count("ask") == 0);
            break;
        case ClockCheckOutcome::kSocketFailed:
            break;
    }
    return 0;
}
