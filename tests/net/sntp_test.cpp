#include "net/sntp.h"

#include <gtest/gtest.h>

#include "config/settings.h"
#include "net/clock_check.h"

namespace miravel {
namespace {

constexpr int64_t kSecond = 1000000;
constexpr int64_t kEraWrap = 2085978496;  // 2036-02-07 06:28:16 UTC

void Put(std::vector<uint8_t>& p, size_t at, NtpTimestamp value) {
    for (int i = 7; i >= 0; --i) {
        p[at + i] = static_cast<uint8_t>(value);
        value >>= 8;
    }
}

NtpTimestamp Get(const std::vector<uint8_t>& p, size_t at) {
    NtpTimestamp v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 8) | p[at + i];
    return v;
}

// A server's answer to a request that carried `origin`.
struct Answer {
    int leap = 0, version = 4, mode = 4, stratum = 2, poll = 6;
    NtpTimestamp origin = 0x1122334455667788u;
    int64_t receivedMicros = 0, transmittedMicros = 0;
    std::string refId;

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> p(48, 0);
        p[0] = static_cast<uint8_t>((leap << 6) | (version << 3) | mode);
        p[1] = static_cast<uint8_t>(stratum);
        p[2] = static_cast<uint8_t>(poll);
        for (size_t i = 0; i < refId.size() && i < 4; ++i)
            p[12 + i] = static_cast<uint8_t>(refId[i]);
        Put(p, 24, origin);
        if (receivedMicros) Put(p, 32, NtpFromUnixMicros(receivedMicros));
        if (transmittedMicros) Put(p, 40, NtpFromUnixMicros(transmittedMicros));
        return p;
    }
};

SntpAnswer Decode(const std::vector<uint8_t>& bytes, int64_t t1, int64_t t4,
                  NtpTimestamp sent = 0x1122334455667788u) {
    return DecodeSntpAnswer(bytes.data(), bytes.size(), sent, t1, t4);
}

TEST(Sntp, TimestampsCrossTheEraOf2036) {
    // 1970 is 2208988800 s after 1900; half a second is half the fraction.
    EXPECT_EQ(NtpFromUnixMicros(0), NtpTimestamp{2208988800u} << 32);
    EXPECT_EQ(NtpFromUnixMicros(kSecond / 2) & 0xFFFFFFFFu, 0x80000000u);
    // The last second of era 0 and the first of era 1.
    EXPECT_EQ(NtpFromUnixMicros((kEraWrap - 1) * kSecond) >> 32, 0xFFFFFFFFu);
    EXPECT_EQ(NtpFromUnixMicros(kEraWrap * kSecond) >> 32, 0u);
    for (int64_t t : {int64_t{0}, int64_t{1798761600} * kSecond + 123456,
                      (kEraWrap - 1) * kSecond + 999999, kEraWrap * kSecond, kEraWrap * kSecond + 1,
                      int64_t{2147483648} * kSecond + 7, int64_t{4000000000} * kSecond})
        EXPECT_EQ(UnixMicrosFromNtp(NtpFromUnixMicros(t)), t) << t;
    // Seconds with the top bit clear belong to the era after 2036, not to 1900..1968.
    EXPECT_EQ(UnixMicrosFromNtp(NtpTimestamp{5} << 32), (kEraWrap + 5) * kSecond);
    EXPECT_EQ(UnixMicrosFromNtp(NtpTimestamp{0x80000000u} << 32),
              (int64_t{0x80000000} - 2208988800) * kSecond);  // 1968-01-20
}

TEST(Sntp, RequestIsAVersion4ClientPacketCarryingOnlyTheRandomValue) {
    const std::vector<uint8_t> r = MakeSntpRequest(0x0102030405060708u);
    ASSERT_EQ(r.size(), 48u);
    EXPECT_EQ(r[0], 0x23);  // LI 0, VN 4, mode 3
    EXPECT_EQ(Get(r, 40), 0x0102030405060708u);
    for (size_t i = 1; i < 40; ++i)
        EXPECT_EQ(r[i], 0) << i;
    const NtpTimestamp a = RandomTransmitValue(), b = RandomTransmitValue();
    EXPECT_NE(a, 0u);
    EXPECT_NE(a, b);
}

TEST(Sntp, OffsetAndDelayFromTheFourTimestamps) {
    // The computer is 0.496 s behind; 28 ms on the wire, 2 ms in the server.
    const int64_t t1 = int64_t{1900000000} * kSecond;
    Answer a;
    a.receivedMicros = t1 + 510000;
    a.transmittedMicros = t1 + 512000;
    SntpAnswer r = Decode(a.Bytes(), t1, t1 + 30000);
    ASSERT_EQ(r.status, SntpAnswer::Status::kAccepted);
    EXPECT_EQ(r.offsetMicros, 496000);
    EXPECT_EQ(r.delayMicros, 28000);
    EXPECT_EQ(r.serverMicros, t1 + 512000);
    EXPECT_EQ(r.stratum, 2);

    // Sub-millisecond parts survive, and a computer ahead gives a negative offset.
    a.receivedMicros = t1 - 1234567;
    a.transmittedMicros = t1 - 1234467;
    r = Decode(a.Bytes(), t1, t1 + 300);
    ASSERT_EQ(r.status, SntpAnswer::Status::kAccepted);
    EXPECT_EQ(r.offsetMicros, -1234667);
    EXPECT_EQ(r.delayMicros, 200);

    // Across the wrap of 2036: the server's seconds are small, its time is not.
    a.receivedMicros = kEraWrap * kSecond + 2 * kSecond;
    a.transmittedMicros = a.receivedMicros;
    const int64_t local = kEraWrap * kSecond - 3 * kSecond;
    r = Decode(a.Bytes(), local, local);
    ASSERT_EQ(r.status, SntpAnswer::Status::kAccepted);
    EXPECT_EQ(r.offsetMicros, 5 * kSecond);
}

TEST(Sntp, EachRuleRefusesAnAnswer) {
    const int64_t t1 = int64_t{1900000000} * kSecond;
    Answer good;
    good.receivedMicros = t1 + 100;
    good.transmittedMicros = t1 + 200;
    using S = SntpAnswer::Status;
    struct Case {
        const char* what;
        Answer answer;
        S expected;
    };
    std::vector<Case> cases;
    auto with = [&](const char* what, auto change, S expected) {
        Answer a = good;
        change(a);
        cases.push_back({what, a, expected});
    };
    with(
        "version 3", [](Answer& a) { a.version = 3; }, S::kAccepted);
    with(
        "stratum 1", [](Answer& a) { a.stratum = 1; }, S::kAccepted);
    with(
        "stratum 15", [](Answer& a) { a.stratum = 15; }, S::kAccepted);
    with(
        "leap second warning", [](Answer& a) { a.leap = 1; }, S::kAccepted);
    with(
        "client mode", [](Answer& a) { a.mode = 3; }, S::kWrongMode);
    with(
        "broadcast mode", [](Answer& a) { a.mode = 5; }, S::kWrongMode);
    with(
        "version 2", [](Answer& a) { a.version = 2; }, S::kWrongVersion);
    with(
        "version 5", [](Answer& a) { a.version = 5; }, S::kWrongVersion);
    with(
        "unsynchronised", [](Answer& a) { a.leap = 3; }, S::kNotSynced);
    with(
        "stratum 16", [](Answer& a) { a.stratum = 16; }, S::kBadStratum);
    with(
        "spoofed origin", [](Answer& a) { a.origin ^= 1; }, S::kWrongOrigin);
    with(
        "zero origin", [](Answer& a) { a.origin = 0; }, S::kWrongOrigin);
    with(
        "zero transmit", [](Answer& a) { a.transmittedMicros = 0; }, S::kZeroTime);
    with(
        "zero receive", [](Answer& a) { a.receivedMicros = 0; }, S::kZeroTime);
    with(
        "kiss of death", [](Answer& a) { a.stratum = 0, a.leap = 3, a.refId = "RATE"; },
        S::kKissOfDeath);
    with(
        "forged kiss of death", [](Answer& a) { a.stratum = 0, a.refId = "DENY", a.origin = 42; },
        S::kWrongOrigin);
    for (const Case& c : cases)
        EXPECT_EQ(Decode(c.answer.Bytes(), t1, t1 + 1000).status, c.expected) << c.what;

    std::vector<uint8_t> shortAnswer = good.Bytes();
    shortAnswer.pop_back();
    EXPECT_EQ(Decode(shortAnswer, t1, t1).status, S::kTooShort);
    EXPECT_EQ(DecodeSntpAnswer(nullptr, 48, 1, t1, t1).status, S::kTooShort);
    // Longer answers (extension fields) are read by their first 48 bytes.
    std::vector<uint8_t> longer = good.Bytes();
    longer.resize(68, 0xEE);
    EXPECT_EQ(Decode(longer, t1, t1 + 1000).status, S::kAccepted);
}

TEST(Sntp, KissOfDeathHoldsTheServerOff) {
    Answer a;
    a.stratum = 0;
    a.refId = "RATE";
    a.poll = 10;
    SntpAnswer r = Decode(a.Bytes(), 0, 0);
    ASSERT_EQ(r.status, SntpAnswer::Status::kKissOfDeath);
    EXPECT_STREQ(r.kissCode, "RATE");
    EXPECT_EQ(KissOfDeathHoldMillis(r), 1024 * 1000);
    a.poll = 2;  // shorter than a minute: held off a minute
    EXPECT_EQ(KissOfDeathHoldMillis(Decode(a.Bytes(), 0, 0)), 60 * 1000);
    a.poll = 30;  // at most a day
    EXPECT_EQ(KissOfDeathHoldMillis(Decode(a.Bytes(), 0, 0)), 24 * 3600 * 1000);
    a.refId = "DENY";
    EXPECT_EQ(KissOfDeathHoldMillis(Decode(a.Bytes(), 0, 0)), KissOfDeathList::kForever);
    a.refId = "RSTR";
    EXPECT_EQ(KissOfDeathHoldMillis(Decode(a.Bytes(), 0, 0)), KissOfDeathList::kForever);
    a.refId = std::string("\x01\x02Z\x7F", 4);  // unprintable bytes do not reach the text
    EXPECT_STREQ(Decode(a.Bytes(), 0, 0).kissCode, "??Z?");

    KissOfDeathList list;
    list.Add(0x7F000001, 123, 5000);
    list.Add(0x7F000002, 123, KissOfDeathList::kForever);
    EXPECT_TRUE(list.Blocked(0x7F000001, 123, 4999));
    EXPECT_FALSE(list.Blocked(0x7F000001, 123, 5000));
    EXPECT_FALSE(list.Blocked(0x7F000001, 124, 0));  // another port is another server
    EXPECT_TRUE(list.Blocked(0x7F000002, 123, INT64_MAX - 1));
    list.Add(0x7F000001, 123, 1000);  // a shorter hold does not shorten a longer one
    EXPECT_TRUE(list.Blocked(0x7F000001, 123, 4000));
}

TEST(Sntp, ServerEntriesSayTheirProtocol) {
    ServerEntry e;
    ASSERT_TRUE(ParseServerEntry("time.nist.gov", &e));
    EXPECT_EQ(e.protocol, TimeProtocol::kTime);
    EXPECT_EQ(e.host, "time.nist.gov");
    EXPECT_FALSE(e.marked);
    EXPECT_EQ(PortOf(e), 37);
    ASSERT_TRUE(ParseServerEntry("NTP:tr.pool.ntp.org", &e));
    EXPECT_EQ(e.protocol, TimeProtocol::kNtp);
    EXPECT_EQ(e.host, "tr.pool.ntp.org");
    EXPECT_EQ(PortOf(e), 123);
    ASSERT_TRUE(ParseServerEntry("ntp:127.0.0.1:12399", &e));
    EXPECT_EQ(e.host, "127.0.0.1");
    EXPECT_EQ(PortOf(e), 12399);
    ASSERT_TRUE(ParseServerEntry("time:10.0.0.1:3700", &e));
    EXPECT_EQ(e.protocol, TimeProtocol::kTime);
    EXPECT_EQ(e.port, 3700);
    ASSERT_TRUE(ParseServerEntry("time:10.0.0.1", &e));
    EXPECT_EQ(e.port, 0);
    for (const char* bad : {"ntp:", "ntp::123", "ntp:host:", "ntp:host:0", "ntp:host:65536",
                            "ntp:host:12a", "time:host:123456"})
        EXPECT_FALSE(ParseServerEntry(bad, &e)) << bad;
}

TEST(Sntp, ShippedServerListAsksNtpServersFirst) {
    const TimeServerList list =
        ReadTimeServers(std::filesystem::path(MIRAVEL_SOURCE_DIR) / "packaging" / "miravel.ini");
    ASSERT_GE(list.hosts.size(), 6u);
    bool timeProtocolSeen = false;
    int ntpServers = 0;
    for (const std::string& host : list.hosts) {
        ServerEntry e;
        ASSERT_TRUE(ParseServerEntry(host, &e)) << host;
        if (e.protocol == TimeProtocol::kTime) timeProtocolSeen = true;
        if (e.protocol == TimeProtocol::kNtp) {
            EXPECT_FALSE(timeProtocolSeen) << host << " comes after a Time Protocol server";
            ++ntpServers;
        }
    }
    EXPECT_GE(ntpServers, 4);
    EXPECT_TRUE(timeProtocolSeen);
    EXPECT_EQ(list.hosts[0], "ntp:tr.pool.ntp.org");
}

}  // namespace
}  // namespace miravel
