#include "net/time_protocol.h"

#include <gtest/gtest.h>

namespace miravel {
namespace {

TEST(TimeProtocol, CountConvertsToSecondsSince1970) {
    EXPECT_EQ(ServerTimeFromCount(2208988800u).seconds, 0);
    EXPECT_FALSE(ServerTimeFromCount(2208988800u).clampedTo1970);
    // 2024-01-01 00:00:00 UTC
    EXPECT_EQ(ServerTimeFromCount(1704067200u + 2208988800u).seconds, 1704067200);
    // The last second before the 32-bit count wraps: 2036-02-07 06:28:15 UTC.
    EXPECT_EQ(ServerTimeFromCount(0xFFFFFFFFu).seconds, 2085978495);
}

TEST(TimeProtocol, CountsBefore1970AreClampedAndMarked) {
    for (uint32_t count : {2208988799u, 2000000000u, 61505152u}) {
        const ServerTime t = ServerTimeFromCount(count);
        EXPECT_EQ(t.seconds, 0) << count;
        EXPECT_TRUE(t.clampedTo1970) << count;
    }
}

TEST(TimeProtocol, SmallCountsBelongToTheEraAfter2036) {
    // 0 is 2036-02-07 06:28:16 UTC, when the count wraps.
    EXPECT_EQ(ServerTimeFromCount(0).seconds, 2085978496);
    EXPECT_FALSE(ServerTimeFromCount(0).clampedTo1970);
    EXPECT_EQ(ServerTimeFromCount(5).seconds, 2085978501);
    // The era ends where a signed 32-bit second count ends: 2038-01-19 03:14:07.
    EXPECT_EQ(ServerTimeFromCount(61505151u).seconds, 2147483647);
    EXPECT_FALSE(ServerTimeFromCount(61505151u).clampedTo1970);
}

TEST(TimeProtocol, AnswerIsFourBigEndianBytesAndNeedsAllFour) {
    const uint8_t answer[] = {0xE9, 0x3C, 0x0E, 0x00, 0x11, 0x22};  // 3913027072, with extra bytes
    ServerTime t;
    ASSERT_TRUE(DecodeTimeAnswer(answer, sizeof answer, &t));
    EXPECT_EQ(t.seconds, static_cast<int32_t>(3913027072u - 2208988800u));
    ASSERT_TRUE(DecodeTimeAnswer(answer, 4, &t));
    EXPECT_EQ(t.seconds, static_cast<int32_t>(3913027072u - 2208988800u));
    t.seconds = 77;
    EXPECT_FALSE(DecodeTimeAnswer(answer, 3, &t));
    EXPECT_FALSE(DecodeTimeAnswer(answer, 0, &t));
    EXPECT_FALSE(DecodeTimeAnswer(nullptr, 4, &t));
    EXPECT_EQ(t.seconds, 77);  // left alone
}

TEST(TimeProtocol, ServerNamesAreClassified) {
    uint32_t a = 99;
    EXPECT_EQ(ClassifyServerName("", &a), ServerNameKind::kEmpty);
    EXPECT_EQ(a, 0u);
    EXPECT_EQ(ClassifyServerName("255.255.255.255", &a), ServerNameKind::kBroadcast);
    EXPECT_EQ(a, kBroadcastAddress);
    EXPECT_EQ(ClassifyServerName("192.168.1.20", &a), ServerNameKind::kDotted);
    EXPECT_EQ(a, 0xC0A80114u);
    EXPECT_EQ(ClassifyServerName("0.0.0.0", &a), ServerNameKind::kDotted);
    EXPECT_EQ(a, 0u);
    for (const char* name : {"time.example.org", "256.1.1.1", "1.2.3", "1.2.3.4.5", "1.2.3.4 ",
                             "1..2.3", "1.2.3.0004", "-1.2.3.4"}) {
        EXPECT_EQ(ClassifyServerName(name, &a), ServerNameKind::kHostName) << name;
        EXPECT_EQ(a, 0u) << name;
    }
    EXPECT_EQ(DottedQuad(0xC0A80114u), "192.168.1.20");
    EXPECT_EQ(DottedQuad(kBroadcastAddress), "255.255.255.255");
}

TEST(AnswerWait, OnlyTheServerAskedEndsTheWait) {
    AnswerWait w;
    w.Start(0x7F000001, 37, 2000);
    EXPECT_TRUE(w.waiting());
    EXPECT_EQ(w.OnDatagram(0x7F000003, 37), AnswerWait::Action::kDrop);    // other address
    EXPECT_EQ(w.OnDatagram(0x7F000001, 4000), AnswerWait::Action::kDrop);  // other port
    EXPECT_TRUE(w.waiting());
    EXPECT_EQ(w.OnDatagram(0x7F000001, 37), AnswerWait::Action::kAnswer);
    EXPECT_FALSE(w.waiting());
    EXPECT_TRUE(w.IsFromServer(0x7F000001, 37));
    EXPECT_FALSE(w.IsFromServer(0x7F000002, 37));
}

TEST(AnswerWait, AfterTheTimeOutEverythingIsDroppedUnlessNoWaitWasWanted) {
    AnswerWait w;
    w.Start(0x7F000001, 37, 500);
    w.OnTimeout();
    EXPECT_FALSE(w.waiting());
    // Late, even from the server asked.
    EXPECT_EQ(w.OnDatagram(0x7F000001, 37), AnswerWait::Action::kDrop);

    // Time-out 0: the client does not wait and reads at once; what arrives
    // later stays queued.
    w.Start(0x7F000001, 37, 0);
    EXPECT_FALSE(w.waiting());
    EXPECT_EQ(w.OnDatagram(0x7F000001, 37), AnswerWait::Action::kLeave);
    EXPECT_EQ(w.OnDatagram(0x7F000009, 37), AnswerWait::Action::kLeave);
}

}  // namespace
}  // namespace miravel
