// The platform's endpoint (POSIX sockets natively, the Winsock window under
// Wine) against scripted servers on loopback addresses.
#include "net/time_endpoint.h"

#include "build_stamp.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "net/fake_time_server.h"

namespace miravel {
namespace {

using test::CountBytes;
using test::FakeTimeServer;
using test::MakeServerPair;
using test::ScriptedReply;

constexpr uint32_t kLoopback1 = 0x7F000001;
constexpr uint32_t kLoopback2 = 0x7F000002;

// Two servers on one port at two loopback addresses. Wine cannot give them:
// it binds a UDP socket for 127.0.0.1 to the whole loopback interface, and
// it reports every loopback sender as 127.0.0.1, so there the tests that
// need two servers told apart by address are skipped.
#ifdef _WIN32
#define SKIP_WITHOUT_PAIR(pair)          \
    if (!(pair).first || !(pair).second) \
    GTEST_SKIP() << "two loopback servers on one port are not available here"
#else
#define SKIP_WITHOUT_PAIR(pair) static_cast<void>(0)
#endif

int64_t MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

std::unique_ptr<TimeEndpoint> OpenEndpoint(uint16_t serverPort) {
    std::unique_ptr<TimeEndpoint> endpoint = MakeTimeEndpoint(serverPort);
    EXPECT_TRUE(endpoint->Open());
    return endpoint;
}

TEST(TimeEndpoint, OneByteRequestAndTheAnswerOfTheServerAsked) {
    const uint32_t count = 3913027072u;
    FakeTimeServer server("127.0.0.1", 0, {{CountBytes(count), 0, ""}});
    ASSERT_TRUE(server.ready());
    auto endpoint = OpenEndpoint(server.port());
    const ServerReply reply = AskTimeServer(*endpoint, kLoopback1, 2000);
    ASSERT_EQ(reply.status, ServerReply::Status::kAnswered);
    EXPECT_EQ(reply.time.seconds, static_cast<int32_t>(count - kSecondsFrom1900To1970));
    EXPECT_EQ(server.lastRequest(), std::vector<uint8_t>{0x48});
}

TEST(TimeEndpoint, AnswersFromElsewhereAreDroppedAndTheWaitGoesOn) {
    // A stranger answers first, then the server itself from another port,
    // then the server's own answer.
    FakeTimeServer server("127.0.0.1", 0,
                          {{CountBytes(1111), 0, "127.0.0.3"},
                           {CountBytes(2222), 30, "127.0.0.1"},
                           {CountBytes(3913027072u), 80, ""}});
    ASSERT_TRUE(server.ready());
    auto endpoint = OpenEndpoint(server.port());
    const auto start = std::chrono::steady_clock::now();
    const ServerReply reply = AskTimeServer(*endpoint, kLoopback1, 3000);
    ASSERT_EQ(reply.status, ServerReply::Status::kAnswered);
    EXPECT_EQ(reply.time.seconds, static_cast<int32_t>(3913027072u - kSecondsFrom1900To1970));
    EXPECT_GE(MillisecondsSince(start), 100);
    EXPECT_LT(MillisecondsSince(start), 2500);
    // The server counts a reply once it is sent, which may be after the
    // client has it.
    EXPECT_TRUE(server.WaitForReplies(3, 2000));
}

TEST(TimeEndpoint, OnlyStrangersAnsweringMeansNoAnswerAfterTheTimeOut) {
    FakeTimeServer server("127.0.0.1", 0, {{CountBytes(1111), 0, "127.0.0.3"}});
    ASSERT_TRUE(server.ready());
    auto endpoint = OpenEndpoint(server.port());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(AskTimeServer(*endpoint, kLoopback1, 300).status, ServerReply::Status::kNoAnswer);
    EXPECT_GE(MillisecondsSince(start), 250);
    EXPECT_EQ(server.repliesSent(), 1);
}

TEST(TimeEndpoint, ALateAnswerDoesNotCountForTheNextServer) {
    // The first server answers 400 ms after a 150 ms time-out, while the
    // client waits for the second one, which stays silent.
    test::ServerPair pair =
        MakeServerPair("127.0.0.1", {{CountBytes(3913027072u), 400, ""}}, "127.0.0.2", {});
    SKIP_WITHOUT_PAIR(pair);
    ASSERT_TRUE(pair.first && pair.second);
    auto endpoint = OpenEndpoint(pair.first->port());
    EXPECT_EQ(AskTimeServer(*endpoint, kLoopback1, 150).status, ServerReply::Status::kNoAnswer);
    EXPECT_EQ(AskTimeServer(*endpoint, kLoopback2, 800).status, ServerReply::Status::kNoAnswer);
    EXPECT_EQ(pair.first->repliesSent(), 1);
    EXPECT_EQ(pair.second->requests(), 1);
}

TEST(TimeEndpoint, WithoutWaitingOnlyAQueuedAnswerOfTheServerAskedCounts) {
    // Both servers hold their answers until the test lets them go, so what is
    // queued at each read does not depend on how fast the threads run.
    const uint32_t firstCount = 3913027072u, secondCount = 3913027999u;
    test::ServerPair pair = MakeServerPair("127.0.0.1", {{CountBytes(firstCount), 0, "", true}},
                                           "127.0.0.2", {{CountBytes(secondCount), 0, "", true}});
    SKIP_WITHOUT_PAIR(pair);
    ASSERT_TRUE(pair.first && pair.second);
    auto endpoint = OpenEndpoint(pair.first->port());
    // Nothing is queued when the client reads: no answer, and no waiting.
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(AskTimeServer(*endpoint, kLoopback1, 0).status, ServerReply::Status::kNoAnswer);
    EXPECT_LT(MillisecondsSince(start), 1000);
    // The first server's answer comes after the read and stays queued...
    pair.first->Release();
    ASSERT_TRUE(pair.first->WaitForReplies(1, 5000));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // ...where it must not pass for the second server's answer.
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(AskTimeServer(*endpoint, kLoopback2, 0).status, ServerReply::Status::kNoAnswer);
    EXPECT_LT(MillisecondsSince(start), 1000);
    // Once the second server's own answer is queued, a read without waiting
    // takes it, and it is that server's count.
    ASSERT_TRUE(pair.second->WaitForRequests(1, 5000));
    pair.second->Release();
    ASSERT_TRUE(pair.second->WaitForReplies(1, 5000));
    std::vector<uint8_t> datagram;
    AnswerStatus status = AnswerStatus::kNoAnswer;
    start = std::chrono::steady_clock::now();
    while (status == AnswerStatus::kNoAnswer && MillisecondsSince(start) < 5000) {
        status = endpoint->AwaitAnswer(kLoopback2, 0, &datagram);
        if (status == AnswerStatus::kNoAnswer)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_EQ(status, AnswerStatus::kAnswer);
    EXPECT_EQ(datagram, CountBytes(secondCount));
    EXPECT_EQ(pair.first->repliesSent(), 1);
}

TEST(TimeEndpoint, ShortAnswerCountsAsNoAnswer) {
    FakeTimeServer server("127.0.0.1", 0, {{{0xE9, 0x3C, 0x0E}, 0, ""}});
    ASSERT_TRUE(server.ready());
    auto endpoint = OpenEndpoint(server.port());
    EXPECT_EQ(AskTimeServer(*endpoint, kLoopback1, 2000).status, ServerReply::Status::kShortAnswer);
}

TEST(TimeEndpoint, CountsBefore1970AndAfterThe2036WrapOverTheWire) {
    FakeTimeServer early("127.0.0.1", 0, {{CountBytes(2208988799u), 0, ""}});
    ASSERT_TRUE(early.ready());
    auto endpoint = OpenEndpoint(early.port());
    ServerReply reply = AskTimeServer(*endpoint, kLoopback1, 2000);
    ASSERT_EQ(reply.status, ServerReply::Status::kAnswered);
    EXPECT_EQ(reply.time.seconds, 0);
    EXPECT_TRUE(reply.time.clampedTo1970);

    // Extra bytes after the count are ignored.
    FakeTimeServer wrapped("127.0.0.1", 0, {{{0x00, 0x00, 0x00, 0x05, 0xAA, 0xBB}, 0, ""}});
    ASSERT_TRUE(wrapped.ready());
    endpoint = OpenEndpoint(wrapped.port());
    reply = AskTimeServer(*endpoint, kLoopback1, 2000);
    ASSERT_EQ(reply.status, ServerReply::Status::kAnswered);
    EXPECT_EQ(reply.time.seconds, 2085978501);  // 2036-02-07 06:28:21 UTC
    EXPECT_FALSE(reply.time.clampedTo1970);
}

// The whole silent check over real sockets: the first server's 1970 answer is
// passed over, the second one's is taken.
struct StepClock : ComputerClock {
    int64_t base = 0;
    int readings = 0;
    std::vector<int64_t> sets;
    int64_t Now() override { return base + readings++ / 2; }
    int64_t NowMs() override { return (base + readings / 2) * 1000; }
    CivilTime ToLocal(int64_t) override { return CivilTime{}; }
    ClockSetStatus SetMs(int64_t ms) override {
        sets.push_back(ms / 1000);
        return ClockSetStatus::kSet;
    }
    void AnnounceChange() override {}
};

struct SilentUi : ClockCheckUi {
    std::vector<std::string> titles;
    int boxes = 0;
    void ShowProgress(std::string_view) override { ++boxes; }
    void SetProgressTitle(std::string_view title) override { titles.emplace_back(title); }
    void HideProgress() override {}
    bool WindowExists() override { return true; }
    void ShowSocketError(std::string_view, std::string_view) override { ++boxes; }
    void ShowMessage(std::string_view, std::string_view, BoxIcon) override { ++boxes; }
    bool AskYesNo(std::string_view, std::string_view) override { return ++boxes, true; }
};

TEST(TimeEndpoint, SilentCheckPassesOverAnImpossibleAnswer) {
    const int64_t serverNow = 1893456000;  // 2030-01-01 00:00:00 UTC
    test::ServerPair pair = MakeServerPair(
        "127.0.0.1", {{CountBytes(2208988000u), 0, ""}}, "127.0.0.2",
        {{CountBytes(static_cast<uint32_t>(serverNow + kSecondsFrom1900To1970)), 0, ""}});
    SKIP_WITHOUT_PAIR(pair);
    ASSERT_TRUE(pair.first && pair.second);
    auto endpoint = MakeTimeEndpoint(pair.first->port());
    StepClock clock;
    clock.base = serverNow + 2;
    SilentUi ui;
    TimeServers servers{{"127.0.0.1", "127.0.0.2"}, 1000};
    ClockCheckRequest request;
    request.silent = true;
    request.notBefore = MIRAVEL_BUILD_UNIX_TIME;
    const ClockCheckResult r = RunClockCheck(servers, request, *endpoint, clock, ui);
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kCorrected);
    EXPECT_EQ(r.address, kLoopback2);
    EXPECT_EQ(r.drift, 2);
    ASSERT_EQ(clock.sets.size(), 1u);
    EXPECT_EQ(clock.sets[0], serverNow + 1);  // the next second (base + 1) minus 2
    EXPECT_EQ(ui.boxes, 0);
    EXPECT_EQ(ui.titles, (std::vector<std::string>{"127.0.0.1", "127.0.0.2"}));
}

// An entry with a port of its own goes to that port, not to the endpoint's,
// and the answer of the server's address from another port is passed over.
TEST(TimeEndpoint, EntryWithItsOwnPortIsAskedThere) {
    const int64_t serverNow = 1893456000;  // 2030-01-01 00:00:00 UTC
    const auto count = static_cast<uint32_t>(serverNow + kSecondsFrom1900To1970);
    FakeTimeServer server("127.0.0.1", 0,
                          {{CountBytes(1111), 0, "127.0.0.1"}, {CountBytes(count), 40, ""}});
    ASSERT_TRUE(server.ready());
    auto endpoint = MakeTimeEndpoint(9);  // the endpoint's own port: nothing there
    StepClock clock;
    clock.base = serverNow - 2;
    SilentUi ui;
    TimeServers servers{{"time:127.0.0.1:" + std::to_string(server.port())}, 2000};
    ClockCheckRequest request;
    request.silent = true;
    request.notBefore = MIRAVEL_BUILD_UNIX_TIME;
    const ClockCheckResult r = RunClockCheck(servers, request, *endpoint, clock, ui);
    EXPECT_EQ(r.outcome, ClockCheckOutcome::kCorrected);
    EXPECT_EQ(r.drift, -2);
    EXPECT_EQ(r.port, server.port());
    EXPECT_EQ(server.lastRequest(), std::vector<uint8_t>{0x48});
    ASSERT_EQ(clock.sets.size(), 1u);
}

}  // namespace
}  // namespace miravel
