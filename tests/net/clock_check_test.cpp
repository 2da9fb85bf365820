#include "net/clock_check.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/simulated_zone.h"

namespace miravel {
namespace {

// The test's civil times go through the app's file-time arithmetic (units of
// 100 ns since 1601), shifted to 1970.
constexpr int64_t kSecondsFrom1601To1970 = 11'644'473'600;

// Seconds since 1970 of a UTC civil time.
int64_t UnixSeconds(int y, int m, int d, int hh, int mm, int ss) {
    return UtcSeconds(d, m, y, hh) + mm * 60 + ss - kSecondsFrom1601To1970;
}

CivilTime CivilOf(int64_t seconds) {
    const WorkTime t =
        FromLocalFileTime((seconds + kSecondsFrom1601To1970) * kFileTimeUnitsPerSecond);
    return {t.year, t.month, t.day, t.hour, t.minute, t.second};
}

uint32_t CountOf(int64_t unixSeconds) {
    return static_cast<uint32_t>(unixSeconds + 2208988800LL);
}

std::vector<uint8_t> Bytes(uint32_t count) {
    return {static_cast<uint8_t>(count >> 24), static_cast<uint8_t>(count >> 16),
            static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count)};
}

struct FakeEndpoint : TimeEndpoint {
    struct Script {
        AnswerStatus status = AnswerStatus::kNoAnswer;
        std::vector<uint8_t> datagram;
        bool sendFails = false;
    };
    bool openResult = true;
    std::map<std::string, uint32_t> hosts;
    std::map<std::string, AnswerStatus> hangingNames;  // the resolver does not answer
    std::map<uint32_t, Script> servers;
    std::vector<std::string> lookUps;
    std::vector<uint32_t> sent;
    std::vector<uint16_t> waits;
    int closes = 0;

    bool Open() override { return openResult; }
    void Close() override { ++closes; }
    AnswerStatus LookUpHost(const std::string& name, uint16_t timeoutMs,
                            uint32_t* address) override {
        lookUps.push_back(name);
        const auto h = hangingNames.find(name);
        if (h != hangingNames.end()) waits.push_back(timeoutMs);
        *address = h == hangingNames.end() && hosts.count(name) ? hosts[name] : 0;
        return h == hangingNames.end() ? AnswerStatus::kAnswer : h->second;
    }
    bool SendRequest(uint32_t address) override {
        sent.push_back(address);
        return !servers[address].sendFails;
    }
    AnswerStatus AwaitAnswer(uint32_t address, uint16_t timeoutMs,
                             std::vector<uint8_t>* datagram) override {
        waits.push_back(timeoutMs);
        const Script& s = servers[address];
        if (s.status == AnswerStatus::kAnswer) *datagram = s.datagram;
        return s.status;
    }
    // SNTP and entries with a port of their own: what was sent to which port,
    // and answers made from the request (so that they can echo its value).
    using Responder =
        std::function<std::vector<std::vector<uint8_t>>(const std::vector<uint8_t>& request)>;
    std::map<uint32_t, Responder> responders;
    std::vector<std::pair<uint32_t, uint16_t>> datagramsTo;
    std::vector<std::vector<uint8_t>> pending;
    bool SendDatagram(uint32_t address, uint16_t port, const std::vector<uint8_t>& bytes) override {
        datagramsTo.emplace_back(address, port);
        auto it = responders.find(address);
        pending = it == responders.end() ? std::vector<std::vector<uint8_t>>{} : it->second(bytes);
        return !servers[address].sendFails;
    }
    AnswerStatus AwaitAnswerFrom(uint32_t address, uint16_t, uint16_t timeoutMs,
                                 std::vector<uint8_t>* datagram) override {
        waits.push_back(timeoutMs);
        if (responders.count(address) == 0) {
            const Script& s = servers[address];
            if (s.status == AnswerStatus::kAnswer) *datagram = s.datagram;
            return s.status;
        }
        if (pending.empty()) return AnswerStatus::kNoAnswer;
        *datagram = pending.front();
        pending.erase(pending.begin());
        return AnswerStatus::kAnswer;
    }
    void Answers(uint32_t address, uint32_t count) {
        servers[address] = {AnswerStatus::kAnswer, Bytes(count), false};
    }
};

// The computer's clock: each reading advances a third of a second; the
// local zone is UTC+3.
struct FakeClock : ComputerClock {
    int64_t base = 0;
    int readings = 0;
    bool refuse = false;
    std::vector<int64_t> sets;
    int announcements = 0;
    std::vector<int> readingsAtSet;

    // Millisecond readings: `baseMs` (default: the start of `base`), moving
    // on by `stepMs` at each reading.
    int64_t baseMs = -1;
    int64_t stepMs = 0;
    int msReadings = 0;
    ClockSetStatus refusal = ClockSetStatus::kFailed;
    std::vector<int64_t> setsMs;

    int64_t Now() override { return base + readings++ / 3; }
    int64_t NowMs() override { return (baseMs < 0 ? base * 1000 : baseMs) + stepMs * msReadings++; }
    CivilTime ToLocal(int64_t seconds) override { return CivilOf(seconds + 3 * 3600); }
    ClockSetStatus SetMs(int64_t ms) override {
        sets.push_back(ms / 1000);
        setsMs.push_back(ms);
        readingsAtSet.push_back(readings);
        return refuse ? refusal : ClockSetStatus::kSet;
    }
    void AnnounceChange() override { ++announcements; }
};

struct RecordingUi : ClockCheckUi {
    std::vector<std::string> events;
    std::string lastText;
    bool answerYes = true;
    int windowLivesFor = 1000;  // WindowExists calls before the user closes it

    void ShowProgress(std::string_view title) override {
        events.push_back("show " + std::string(title));
    }
    void SetProgressTitle(std::string_view title) override {
        events.push_back("title " + std::string(title));
    }
    void HideProgress() override { events.push_back("hide"); }
    bool WindowExists() override { return windowLivesFor-- > 0; }
    void ShowSocketError(std::string_view text, std::string_view caption) override {
        events.push_back("socket-error " + std::string(caption));
        lastText = text;
    }
    void ShowMessage(std::string_view text, std::string_view caption, BoxIcon icon) override {
        events.push_back(std::string(icon == BoxIcon::kError ? "error " : "info ") +
                         std::string(caption));
        lastText = text;
    }
    // Answers of the next questions in turn, before `answerYes` applies.
    std::vector<bool> nextAnswers;
    bool AskYesNo(std::string_view text, std::string_view caption) override {
        events.push_back("ask " + std::string(caption));
        lastText = text;
        if (!nextAnswers.empty()) {
            const bool answer = nextAnswers.front();
            nextAnswers.erase(nextAnswers.begin());
            return answer;
        }
        return answerYes;
    }
};

constexpr uint32_t kServerA = 0x0A000005;  // 10.0.0.5
constexpr uint32_t kServerB = 0x0A000006;  // 10.0.0.6

class ClockCheck : public ::testing::Test {
  protected:
    ClockCheckResult Run(bool silent, std::vector<std::string> hosts) {
        servers.hosts = std::move(hosts);
        ClockCheckRequest request;
        request.silent = silent;
        request.notBefore = UnixSeconds(2026, 1, 1, 0, 0, 0);
        return RunClockCheck(servers, request, endpoint, clock, ui);
    }

    TimeServers servers;
    FakeEndpoint endpoint;
    FakeClock clock;
    RecordingUi ui;
};

TEST_F(ClockCheck, InteractiveAsksWithTheComparisonAndCorrectsOnYes) {
    const int64_t serverTime = UnixSeconds(2036, 2, 7, 6, 28, 16);  // the count wrapped to 0
    clock.base = serverTime + 5;
    endpoint.Answers(kServerA, 0);
    servers.timeoutMs = 1500;
    const ClockCheckResult r = Run(false, {"10.0.0.5"});

    EXPECT_EQ(r.outcome, ClockCheckOutcome::kCorrected);
    EXPECT_EQ(r.drift, 5);
    EXPECT_EQ(r.serverTime.seconds, serverTime);
    EXPECT_EQ(ui.events, (std::vector<std::string>{"show Internet Saati", "title 10.0.0.5",
                                                   "ask Sunucu Adresi : 10.0.0.5", "hide"}));
    EXPECT_EQ(ui.lastText,
              "Internet Saati :  07/02/2036     09:28:16\n"
              "PC'nizin Saati :  07/02/2036     09:28:21\n"
              "\nPC'nizin saati  5 saniye kaymış !\nDüzeltmek ister misiniz ?\n");
    EXPECT_NE(ui.lastText.find("kaym\xFD\xFE"), std::string::npos);  // Windows-1254 bytes
    EXPECT_EQ(endpoint.sent, std::vector<uint32_t>{kServerA});
    EXPECT_EQ(endpoint.waits, std::vector<uint16_t>{1500});
    EXPECT_TRUE(endpoint.lookUps.empty());  // a dotted address needs no look-up
    // Set at the first reading of a new second, to that second minus the drift.
    ASSERT_EQ(clock.sets.size(), 1u);
    const int64_t secondAtSet = clock.base + (clock.readingsAtSet[0] - 1) / 3;
    EXPECT_EQ((clock.readingsAtSet[0] - 1) % 3, 0);
    EXPECT_EQ(clock.sets[0], secondAtSet - 5);
    EXPECT_EQ(clock.announcements, 1);
}

TEST_F(ClockCheck, InteractiveNoLeavesTheClockAndARefusedSetIsNotAnnounced) {
    clock.base = UnixSeconds(2027, 5, 1, 12, 0, 0);
    endpoint.Answers(kServerA, CountOf(clock.base + 42));
    ui.answerYes = false;
    ClockCheckResult r = Run(false, {"10.0.0.5"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kDeclined);
    EXPECT_EQ(r.drift, -42);
    EXPECT_NE(ui.lastText.find("  -42 saniye"), std::string::npos);
    EXPECT_TRUE(clock.sets.empty());

    ui.answerYes = true;
    clock.refuse = true;
    r = Run(false, {"10.0.0.5"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kSetRefused);
    EXPECT_EQ(clock.sets.size(), 1u);
    EXPECT_EQ(clock.announcements, 0);
}

TEST_F(ClockCheck, NoDriftIsShownInteractivelyAndLeavesNoTraceWhenSilent) {
    clock.base = UnixSeconds(2027, 12, 31, 20, 59, 59);
    endpoint.Answers(kServerA, CountOf(clock.base));
    ClockCheckResult r = Run(false, {"10.0.0.5"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kInSync);
    EXPECT_EQ(ui.events[2], "info Sunucu Adresi : 10.0.0.5");
    EXPECT_EQ(ui.lastText,
              "Internet Saati :  31/12/2027     23:59:59\n"
              "PC'nizin Saati :  31/12/2027     23:59:59\n"
              "\nPC'nizin saati  düzeltme gerektirmiyor...\n");

    ui.events.clear();
    r = Run(true, {"10.0.0.5"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kInSync);
    EXPECT_EQ(ui.events, (std::vector<std::string>{"title 10.0.0.5", "hide"}));
    EXPECT_TRUE(clock.sets.empty());
}

TEST_F(ClockCheck, SilentCorrectsAtOnceButNeverFromATimeThatCannotBeRight) {
    clock.base = UnixSeconds(2027, 3, 3, 3, 3, 3);
    endpoint.hosts = {
        {"old.example", kServerA}, {"zero.example", kServerB}, {"good.example", 0x0A000007}};
    endpoint.Answers(kServerA, CountOf(UnixSeconds(2025, 6, 1, 0, 0, 0)));  // before the build
    endpoint.Answers(kServerB, 2208988799u);                                // before 1970
    endpoint.Answers(0x0A000007, CountOf(clock.base - 2));
    const ClockCheckResult r = Run(true, {"old.example", "zero.example", "good.example"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kCorrected);
    EXPECT_EQ(r.server, "good.example");
    EXPECT_EQ(r.drift, 2);
    EXPECT_EQ(endpoint.sent.size(), 3u);
    ASSERT_EQ(clock.sets.size(), 1u);
    EXPECT_EQ(clock.announcements, 1);
    for (const std::string& e : ui.events)
        EXPECT_TRUE(e.rfind("title ", 0) == 0 || e == "hide") << e;  // nothing shown

    // The user looking at the box may still take a 1970 answer.
    ui.events.clear();
    ui.answerYes = false;
    Run(false, {"zero.example"});
    EXPECT_EQ(ui.lastText.substr(0, 41), "Internet Saati :  01/01/1970     03:00:00");
}

TEST_F(ClockCheck, EntriesThatCannotBeAskedAreSkippedAndTheNextServerTried) {
    clock.base = UnixSeconds(2027, 1, 1, 0, 0, 0);
    endpoint.hosts = {{"bcast.example", kBroadcastAddress}};
    endpoint.servers[kServerA].sendFails = true;
    endpoint.servers[0x0A000008] = {AnswerStatus::kAnswer, {0x12, 0x34, 0x56}, false};  // short
    endpoint.servers[0x0A000009] = {AnswerStatus::kNoAnswer, {}, false};
    endpoint.Answers(kServerB, CountOf(clock.base - 2));
    const std::string longName(300, 'x');
    const ClockCheckResult r =
        Run(false, {"", "255.255.255.255", "bcast.example", "unknown.example", longName, "10.0.0.5",
                    "10.0.0.8", "10.0.0.9", "10.0.0.6", "10.0.0.7"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kCorrected);
    EXPECT_EQ(r.address, kServerB);
    // Neither the broadcast nor an unknown name is sent to; the answer ends the list.
    EXPECT_EQ(endpoint.sent, (std::vector<uint32_t>{kServerA, 0x0A000008, 0x0A000009, kServerB}));
    ASSERT_EQ(endpoint.lookUps.size(), 3u);
    EXPECT_EQ(endpoint.lookUps[2].size(), kMaxServerNameChars);
    EXPECT_EQ(ui.events[1], "title 255.255.255.255");
}

TEST_F(ClockCheck, NoAnswerIsReportedOnlyInteractively) {
    ClockCheckResult r = Run(false, {"10.0.0.5", "10.0.0.6"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kNoAnswer);
    EXPECT_EQ(ui.events.back(), "hide");
    EXPECT_EQ(ui.events[ui.events.size() - 2], "error Internet Saati");
    EXPECT_EQ(ui.lastText, "Hiçbir sunucudan yanıt alınamadı !");

    ui.events.clear();
    r = Run(true, {"10.0.0.5", "10.0.0.6"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kNoAnswer);
    EXPECT_EQ(ui.events, (std::vector<std::string>{"title 10.0.0.5", "title 10.0.0.6", "hide"}));
}

TEST_F(ClockCheck, SocketFailureEndsTheInteractiveCheckButNotTheSilentOne) {
    endpoint.openResult = false;
    ClockCheckResult r = Run(false, {"10.0.0.5"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kSocketFailed);
    EXPECT_EQ(ui.events, std::vector<std::string>{"socket-error Internet Saati"});
    EXPECT_EQ(ui.lastText, "WINSOCK Hatası");
    EXPECT_TRUE(endpoint.sent.empty());

    clock.base = UnixSeconds(2027, 1, 1, 0, 0, 0);
    endpoint.Answers(kServerA, CountOf(clock.base + 1));
    r = Run(true, {"10.0.0.5"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kCorrected);
}

TEST_F(ClockCheck, ClosingTheWindowOrQuittingEndsTheCheckWithoutAWord) {
    endpoint.servers[kServerA] = {AnswerStatus::kWindowClosed, {}, false};
    ClockCheckResult r = Run(false, {"10.0.0.5", "10.0.0.6"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kWindowClosed);
    EXPECT_EQ(endpoint.sent, std::vector<uint32_t>{kServerA});
    EXPECT_EQ(ui.events.back(), "hide");
    EXPECT_EQ(ui.events.size(), 3u);  // show, title, hide: no box

    ui.events.clear();
    endpoint.sent.clear();
    endpoint.servers[kServerA] = {AnswerStatus::kQuit, {}, false};
    endpoint.Answers(kServerB, CountOf(UnixSeconds(2027, 1, 1, 0, 0, 0)));
    r = Run(true, {"10.0.0.5", "10.0.0.6"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kQuit);
    EXPECT_EQ(endpoint.sent, std::vector<uint32_t>{kServerA});
    EXPECT_TRUE(clock.sets.empty());

    // Closed between two servers (the window is checked before each one).
    ui.events.clear();
    endpoint.sent.clear();
    endpoint.servers[kServerA] = {AnswerStatus::kNoAnswer, {}, false};
    ui.windowLivesFor = 1;
    r = Run(false, {"10.0.0.5", "10.0.0.6"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kWindowClosed);
    EXPECT_EQ(endpoint.sent, std::vector<uint32_t>{kServerA});
    EXPECT_EQ(ui.events.back(), "hide");
}

// An SNTP server's answer to `request`: its clock at `serverMs` (receive
// and transmit alike), echoing the request's transmit value.
std::vector<uint8_t> NtpAnswer(const std::vector<uint8_t>& request, int64_t serverMs,
                               int stratum = 2, int leap = 0, const char* kiss = "", int poll = 6) {
    std::vector<uint8_t> p(48, 0);
    p[0] = static_cast<uint8_t>((leap << 6) | (4 << 3) | 4);
    p[1] = static_cast<uint8_t>(stratum);
    p[2] = static_cast<uint8_t>(poll);
    for (int i = 0; i < 4 && kiss[i]; ++i)
        p[12 + i] = static_cast<uint8_t>(kiss[i]);
    for (int i = 0; i < 8; ++i)
        p[24 + i] = request.size() >= 48 ? request[40 + i] : 0;
    const NtpTimestamp t = NtpFromUnixMicros(serverMs * 1000);
    for (int i = 0; i < 8; ++i) {
        p[32 + i] = static_cast<uint8_t>(t >> (56 - 8 * i));
        p[40 + i] = p[32 + i];
    }
    return p;
}

struct FakeElevation : ClockElevation {
    ElevatedSetStatus result = ElevatedSetStatus::kSet;
    std::vector<int64_t> calls;
    ElevatedSetStatus SetClockAsAdministrator(int64_t offsetMs) override {
        calls.push_back(offsetMs);
        return result;
    }
};

class NtpClockCheck : public ClockCheck {
  protected:
    // Server A answers with its clock `offsetMs` off the computer's.
    void ServerAOffBy(int64_t offsetMs, int stratum = 2) {
        endpoint.responders[kServerA] = [this, offsetMs, stratum](const std::vector<uint8_t>& r) {
            return std::vector<std::vector<uint8_t>>{
                NtpAnswer(r, clock.NowMs() + offsetMs, stratum)};
        };
    }
};

TEST_F(NtpClockCheck, AnswerSetsTheClockToTheMillisecond) {
    clock.base = UnixSeconds(2027, 4, 10, 8, 0, 0);
    clock.baseMs = clock.base * 1000 + 250;
    clock.stepMs = 1;
    ServerAOffBy(-1234);  // the computer is 1.234 s ahead
    servers.timeoutMs = 900;
    const ClockCheckResult r = Run(false, {"ntp:10.0.0.5"});

    EXPECT_EQ(r.outcome, ClockCheckOutcome::kCorrected);
    EXPECT_EQ(r.protocol, TimeProtocol::kNtp);
    EXPECT_EQ(r.stratum, 2);
    // One request to port 123, answered; the round trip spans two readings of
    // the fake clock (the server reads it in between), 2 ms.
    ASSERT_EQ(endpoint.datagramsTo.size(), 1u);
    EXPECT_EQ(endpoint.datagramsTo[0], std::make_pair(kServerA, uint16_t{123}));
    EXPECT_TRUE(endpoint.sent.empty());  // no Time Protocol request
    EXPECT_EQ(endpoint.waits, std::vector<uint16_t>{900});
    EXPECT_EQ(r.delayMs, 2);
    EXPECT_NEAR(static_cast<double>(r.offsetMs), -1234.0, 1.0);
    EXPECT_EQ(ui.events, (std::vector<std::string>{"show Internet Saati", "title ntp:10.0.0.5",
                                                   "ask Sunucu Adresi : 10.0.0.5", "hide"}));
    EXPECT_NE(ui.lastText.find("\nPC'nizin saati  1,23"), std::string::npos) << ui.lastText;
    EXPECT_NE(ui.lastText.find("saniye kaym\xFD\xFE !\nD\xFC"), std::string::npos);
    // Set to the clock's reading at that moment plus the offset, not to a whole second.
    ASSERT_EQ(clock.setsMs.size(), 1u);
    const int64_t readingAtSet = clock.baseMs + clock.stepMs * (clock.msReadings - 1);
    EXPECT_EQ(clock.setsMs[0], readingAtSet + r.offsetMs);
    EXPECT_NE(clock.setsMs[0] % 1000, 0);
    EXPECT_EQ(clock.announcements, 1);
}

TEST_F(NtpClockCheck, SmallOffsetNeedsNoCorrectionAndTheNextSecondIsKeptApart) {
    clock.base = UnixSeconds(2027, 4, 10, 8, 0, 0);
    ServerAOffBy(60);
    ClockCheckResult r = Run(false, {"ntp:10.0.0.5"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kInSync);
    EXPECT_NE(ui.lastText.find("d\xFCzeltme gerektirmiyor"), std::string::npos);
    EXPECT_TRUE(clock.sets.empty());

    ServerAOffBy(-100);  // at the bound: corrected
    ui.answerYes = false;
    r = Run(false, {"ntp:10.0.0.5"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kDeclined);
    EXPECT_NE(ui.lastText.find("saati  0,100 saniye"), std::string::npos) << ui.lastText;
    ServerAOffBy(2500);
    r = Run(false, {"ntp:10.0.0.5"});
    EXPECT_NE(ui.lastText.find("saati  -2,500 saniye"), std::string::npos) << ui.lastText;
    EXPECT_EQ(r.drift, -2);
}

TEST_F(NtpClockCheck, ForgedAnswersAreWaitedPastAndBadServersPassedOver) {
    clock.base = UnixSeconds(2027, 4, 10, 8, 0, 0);
    // A forged answer (wrong origin) comes first; the real one follows.
    endpoint.responders[kServerA] = [this](const std::vector<uint8_t>& r) {
        std::vector<uint8_t> forged = NtpAnswer(r, clock.NowMs() + 3600 * 1000);
        forged[30] ^= 0x40;
        return std::vector<std::vector<uint8_t>>{forged, NtpAnswer(r, clock.NowMs() + 1500)};
    };
    ClockCheckResult r = Run(true, {"ntp:10.0.0.5"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kCorrected);
    EXPECT_NEAR(static_cast<double>(r.offsetMs), 1500.0, 2.0);
    EXPECT_EQ(endpoint.datagramsTo.size(), 1u);
    EXPECT_EQ(endpoint.waits.size(), 2u);

    // An unsynchronised server and one of stratum 16 are passed over.
    endpoint.datagramsTo.clear();
    endpoint.responders[kServerA] = [this](const std::vector<uint8_t>& r) {
        return std::vector<std::vector<uint8_t>>{NtpAnswer(r, clock.NowMs() + 9000, 2, 3)};
    };
    endpoint.responders[kServerB] = [this](const std::vector<uint8_t>& r) {
        return std::vector<std::vector<uint8_t>>{NtpAnswer(r, clock.NowMs() + 9000, 16)};
    };
    endpoint.responders[0x0A000007] = [this](const std::vector<uint8_t>& r) {
        return std::vector<std::vector<uint8_t>>{NtpAnswer(r, clock.NowMs() + 1700, 1)};
    };
    r = Run(true, {"ntp:10.0.0.5", "ntp:10.0.0.6", "ntp:10.0.0.7:4123"});
    EXPECT_EQ(r.address, 0x0A000007u);
    EXPECT_EQ(r.stratum, 1);
    EXPECT_EQ(r.port, 4123);
    EXPECT_EQ(endpoint.datagramsTo.back(), std::make_pair(0x0A000007u, uint16_t{4123}));
}

TEST_F(NtpClockCheck, KissOfDeathKeepsTheServerUnaskedForTheTimeItSays) {
    clock.base = UnixSeconds(2027, 4, 10, 8, 0, 0);
    KissOfDeathList kod;
    endpoint.responders[kServerA] = [](const std::vector<uint8_t>& r) {
        return std::vector<std::vector<uint8_t>>{NtpAnswer(r, 0, 0, 3, "RATE", 8)};  // 256 s
    };
    endpoint.responders[kServerB] = [](const std::vector<uint8_t>& r) {
        return std::vector<std::vector<uint8_t>>{NtpAnswer(r, 0, 0, 3, "DENY")};
    };
    ClockCheckRequest request;
    request.silent = true;
    request.notBefore = UnixSeconds(2026, 1, 1, 0, 0, 0);
    request.kissOfDeath = &kod;
    servers.hosts = {"ntp:10.0.0.5", "ntp:10.0.0.6"};
    ClockCheckResult r = RunClockCheck(servers, request, endpoint, clock, ui);
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kNoAnswer);
    EXPECT_EQ(endpoint.datagramsTo.size(), 2u);
    EXPECT_TRUE(clock.sets.empty());

    // A minute later neither is asked; 300 s later the RATE one is, the DENY one never.
    endpoint.datagramsTo.clear();
    clock.baseMs = clock.base * 1000 + 60 * 1000;
    RunClockCheck(servers, request, endpoint, clock, ui);
    EXPECT_TRUE(endpoint.datagramsTo.empty());
    clock.baseMs = clock.base * 1000 + 300 * 1000;
    RunClockCheck(servers, request, endpoint, clock, ui);
    EXPECT_EQ(endpoint.datagramsTo, (std::vector<std::pair<uint32_t, uint16_t>>{{kServerA, 123}}));
    clock.baseMs = clock.base * 1000 + 1000LL * 86400 * 365;
    endpoint.datagramsTo.clear();
    endpoint.responders.erase(kServerA);
    RunClockCheck(servers, request, endpoint, clock, ui);
    EXPECT_EQ(endpoint.datagramsTo, (std::vector<std::pair<uint32_t, uint16_t>>{{kServerA, 123}}));
}

// The silent mode on answers "server:offset" (10.0.0.<server>, offset in ms).
TEST_F(NtpClockCheck, SilentStepBeyondOneServersNeedsASecondServerThatAgrees) {
    const struct {
        const char* answers;
        ClockCheckOutcome outcome;
        uint32_t setBy;  // 0: not set
    } rows[] = {
        {"5:1900", ClockCheckOutcome::kCorrected, 5},
        {"5:-2600", ClockCheckOutcome::kUnconfirmed, 0},
        {"5:30000 6:30900", ClockCheckOutcome::kCorrected, 6},
        {"5:-30000 6:-31200", ClockCheckOutcome::kUnconfirmed, 0},
        {"5:30000 5:30000", ClockCheckOutcome::kUnconfirmed, 0},  // one server twice
        {"5:-54000000 6:800", ClockCheckOutcome::kCorrected, 6},
        {"5:3600000 6:-40000 7:-39500", ClockCheckOutcome::kCorrected, 7},
        {"5:61000 6:61000", ClockCheckOutcome::kBeyondAllowance, 0},
    };
    clock.base = UnixSeconds(2027, 4, 10, 8, 0, 0);
    SilentCorrectionAllowance allowance;
    ClockCheckRequest request;
    request.silent = true;
    request.notBefore = UnixSeconds(2026, 1, 1, 0, 0, 0);
    request.allowance = &allowance;
    for (const auto& row : rows) {
        std::istringstream answers(row.answers);
        int server = 0;
        int64_t offset = 0;
        servers.hosts.clear();
        while (answers >> server && answers.ignore(1) >> offset) {
            servers.hosts.push_back("ntp:10.0.0." + std::to_string(server));
            endpoint.responders[0x0A000000u + server] = [this,
                                                         offset](const std::vector<uint8_t>& r) {
                return std::vector<std::vector<uint8_t>>{NtpAnswer(r, clock.NowMs() + offset)};
            };
        }
        clock.setsMs.clear();
        allowance = {};
        const ClockCheckResult r = RunClockCheck(servers, request, endpoint, clock, ui);
        EXPECT_EQ(r.outcome, row.outcome) << row.answers;
        EXPECT_EQ(clock.setsMs.empty() ? 0u : r.address, row.setBy ? 0x0A000000u + row.setBy : 0u)
            << row.answers;
    }
    // Time Protocol answers agree within a second, their resolution.
    endpoint.Answers(0x0A000008, CountOf(clock.base + 20));
    endpoint.Answers(0x0A000009, CountOf(clock.base + 21));
    EXPECT_EQ(Run(true, {"10.0.0.8", "10.0.0.9"}).address, 0x0A000009u);
    // A computer clock before the build's own time: two servers set it,
    // outside the allowance.
    const int64_t yearsMs = (clock.base - UnixSeconds(2001, 1, 1, 0, 0, 0)) * 1000;
    clock.base = UnixSeconds(2001, 1, 1, 0, 0, 0);
    for (const uint32_t a : {kServerA, kServerB})
        endpoint.responders[a] = [this, yearsMs](const std::vector<uint8_t>& r) {
            return std::vector<std::vector<uint8_t>>{NtpAnswer(r, clock.NowMs() + yearsMs)};
        };
    EXPECT_EQ(RunClockCheck(servers, request, endpoint, clock, ui).outcome,
              ClockCheckOutcome::kCorrected);
    EXPECT_TRUE(allowance.Allows(kSilentDailyAllowanceMs, 0));
}

TEST(SilentCorrectionAllowance, AnyDayHoldsAtMostAMinuteOfSteps) {
    const int64_t h = 3600 * 1000;
    const struct {
        int64_t steadyMs, stepMs;
        bool allowed;
    } steps[] = {{0, 40000, true},      {h, -30000, false}, {2 * h, 1500, true},
                 {3 * h, -18500, true}, {4 * h, 1, false},  {24 * h - 1, 1, false},
                 {24 * h, 30000, true}};
    SilentCorrectionAllowance allowance;
    for (const auto& step : steps) {
        EXPECT_EQ(allowance.Allows(step.stepMs, step.steadyMs), step.allowed) << step.steadyMs;
        if (step.allowed) allowance.Record(step.stepMs, step.steadyMs);
    }
}

// Unanswered look-ups cost each name its time-out and the check goes on;
// its sockets go when it ends.
TEST_F(NtpClockCheck, UnansweredLookUpsCountAsTimeOuts) {
    clock.base = UnixSeconds(2027, 4, 10, 8, 0, 0);
    servers.timeoutMs = 700;
    endpoint.hangingNames = {{"a.example", AnswerStatus::kNoAnswer},
                             {"b.example", AnswerStatus::kNoAnswer}};
    endpoint.hosts = {{"good.example", kServerA}};
    ServerAOffBy(-400);
    ClockCheckResult r = Run(false, {"ntp:a.example", "time:b.example:37", "ntp:good.example"});
    EXPECT_EQ(r.address, kServerA);
    EXPECT_EQ(endpoint.waits, (std::vector<uint16_t>{700, 700, 700}));
    EXPECT_EQ(endpoint.datagramsTo.size(), 1u);
    EXPECT_EQ(endpoint.closes, 1);
    endpoint.hangingNames["b.example"] = AnswerStatus::kQuit;
    EXPECT_EQ(Run(true, {"ntp:a.example", "b.example", "ntp:good.example"}).outcome,
              ClockCheckOutcome::kQuit);
    EXPECT_EQ(endpoint.datagramsTo.size(), 1u);
}

TEST(ClockElevationCommand, OnlyTheOffsetsDigitsVary) {
    EXPECT_EQ(ElevatedClockAdjustArguments(-1234),
              "-NoProfile -NonInteractive -NoLogo -WindowStyle Hidden -Command "
              "\"$ErrorActionPreference='Stop'; Import-Module -Force -Name ($PSHOME + "
              "'\\Modules\\Microsoft.PowerShell.Utility\\Microsoft.PowerShell.Utility.psd1'); "
              "Microsoft.PowerShell.Utility\\Set-Date -Adjust "
              "([TimeSpan]::FromMilliseconds(-1234)) | Out-Null\"");
    EXPECT_NE(ElevatedClockAdjustArguments(INT64_MIN).find("(-9223372036854775808)) | Out-Null\""),
              std::string::npos);
}

TEST_F(NtpClockCheck, AClockThatMayNotBeSetIsSaidAndOfferedToTheAdministrator) {
    clock.base = UnixSeconds(2027, 4, 10, 8, 0, 0);
    clock.refuse = true;
    clock.refusal = ClockSetStatus::kNoPrivilege;
    ServerAOffBy(1600);
    servers.timeoutMs = 1500;
    // Silent: nothing shown, the outcome tells the caller.
    ClockCheckResult r = Run(true, {"ntp:10.0.0.5"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kNoPrivilege);
    EXPECT_EQ(ui.events, (std::vector<std::string>{"title ntp:10.0.0.5", "hide"}));
    EXPECT_EQ(clock.announcements, 0);

    // Interactive without a way to the rights: said, not hidden.
    ui.events.clear();
    r = Run(false, {"ntp:10.0.0.5"});
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kSetRefused);
    EXPECT_EQ(ui.lastText, kNoAdministratorText);
    EXPECT_EQ(ui.events[ui.events.size() - 2], "error Internet Saati");

    // With the helper: asked, and the helper asks the same server itself.
    FakeElevation elevation;
    ClockCheckRequest request;
    request.notBefore = UnixSeconds(2026, 1, 1, 0, 0, 0);
    request.elevation = &elevation;
    servers.hosts = {"ntp:10.0.0.5"};
    ui.events.clear();
    r = RunClockCheck(servers, request, endpoint, clock, ui);
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kCorrectedAsAdministrator);
    // Moved by the offset measured before the question: nothing is asked again.
    EXPECT_EQ(elevation.calls, std::vector<int64_t>{r.offsetMs});
    EXPECT_NEAR(static_cast<double>(r.offsetMs), 1600.0, 2.0);
    EXPECT_EQ(ui.events,
              (std::vector<std::string>{"show Internet Saati", "title ntp:10.0.0.5",
                                        "ask Sunucu Adresi : 10.0.0.5", "ask Internet Saati",
                                        "info Internet Saati", "hide"}));
    EXPECT_EQ(ui.lastText, kSetAsAdministratorText);
    EXPECT_EQ(clock.announcements, 1);

    // The helper failed: never reported as done.
    elevation.result = ElevatedSetStatus::kFailed;
    r = RunClockCheck(servers, request, endpoint, clock, ui);
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kSetRefused);
    EXPECT_EQ(ui.lastText, kSetFailedText);
    EXPECT_EQ(clock.announcements, 1);
    // The user refused the rights prompt: nothing more to say.
    elevation.result = ElevatedSetStatus::kCancelled;
    ui.events.clear();
    r = RunClockCheck(servers, request, endpoint, clock, ui);
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kSetRefused);
    EXPECT_EQ(ui.events.back(), "hide");
    EXPECT_EQ(ui.events[ui.events.size() - 2], "ask Internet Saati");
    // Yes to the correction, No to the offer: the helper is not started.
    elevation.calls.clear();
    ui.nextAnswers = {true, false};
    r = RunClockCheck(servers, request, endpoint, clock, ui);
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kSetRefused);
    EXPECT_TRUE(elevation.calls.empty());
    EXPECT_EQ(ui.lastText, kNeedAdministratorText);

    // A Time Protocol server refused for another reason: the failure is said.
    ui.answerYes = true;
    clock.refusal = ClockSetStatus::kFailed;
    endpoint.Answers(kServerB, CountOf(clock.base + 30));
    servers.hosts = {"10.0.0.6"};
    r = RunClockCheck(servers, request, endpoint, clock, ui);
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kSetRefused);
    EXPECT_EQ(ui.lastText, kSetFailedText);
    EXPECT_TRUE(elevation.calls.empty());
}

TEST(ClockCheckTexts, AddressCaptionAndTimeLines) {
    EXPECT_EQ(ServerAddressCaption(0xC0A80001), "Sunucu Adresi : 192.168.0.1");
    const CivilTime t{2038, 1, 19, 3, 14, 7};
    EXPECT_EQ(ServerTimeLine(t), "Internet Saati :  19/01/2038     03:14:07\n");
    EXPECT_EQ(ComputerTimeLine(t), "PC'nizin Saati :  19/01/2038     03:14:07\n");
}

}  // namespace
}  // namespace miravel
