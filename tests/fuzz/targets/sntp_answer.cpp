// The SNTP client on any answer: the rules a datagram must pass against the
// request sent, the offset and delay from the four timestamps (computed here
// once more in 128-bit integers), the timestamp eras, the Kiss-o'-Death hold,
// and the server-list entries on any text.
//
// Input: an entry (up to the first NUL), the request's transmit value (8
// bytes), the send time and the wait (8 bytes each), a byte whose low bit
// makes the answer echo the transmit value, then the answer.
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "net/sntp.h"
#include "net/time_protocol.h"

namespace {

using namespace miravel;
using S = SntpAnswer::Status;

constexpr int64_t kMicros = 1000000;
// Unix seconds of the two eras' windows: 1968-01-20 up to 2104-02-26.
constexpr int64_t kWindowStart = (int64_t{1} << 31) - int64_t{kSecondsFrom1900To1970};
constexpr int64_t kWindowEnd = kWindowStart + (int64_t{1} << 32);

uint64_t Read64(const uint8_t* p) {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = v << 8 | p[i];
    return v;
}

// Unix microseconds of an NTP timestamp by the era rule: seconds with the top
// bit set count from 1900, the others from 2036; the fraction rounded up.
__int128 Micros(uint64_t t) {
    const int64_t seconds = static_cast<int64_t>(t >> 32);
    const int64_t from1970 = seconds - int64_t{kSecondsFrom1900To1970} +
                             ((seconds & 0x80000000) ? 0 : (int64_t{1} << 32));
    const __int128 fraction = static_cast<__int128>(t & 0xFFFFFFFFu) * kMicros;
    const __int128 one = __int128{1} << 32;
    return static_cast<__int128>(from1970) * kMicros + (fraction + one - 1) / one;
}

__int128 FloorHalf(__int128 v) {
    return v >= 0 ? v / 2 : -((-v + 1) / 2);
}

void CheckEntry(const std::string& text) {
    ServerEntry e;
    e.port = 7;
    const bool ok = ParseServerEntry(text, &e);
    auto startsWith = [&](const char* prefix) {
        const size_t n = std::strlen(prefix);
        if (text.size() < n) return false;
        for (size_t i = 0; i < n; ++i) {
            char c = text[i];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if (c != prefix[i]) return false;
        }
        return true;
    };
    const bool ntp = startsWith("ntp:");
    const bool time = startsWith("time:");
    if (!ntp && !time) {
        // An entry of an older list: the host whole, the Time Protocol's own port.
        FUZZ_CHECK(ok && !e.marked && e.host == text && e.port == 0 &&
                   e.protocol == TimeProtocol::kTime && PortOf(e) == kTimeProtocolPort);
        return;
    }
    if (!ok) return;
    FUZZ_CHECK(e.marked && !e.host.empty());
    FUZZ_CHECK(e.protocol == (ntp ? TimeProtocol::kNtp : TimeProtocol::kTime));
    FUZZ_CHECK(PortOf(e) == (e.port != 0 ? e.port : ntp ? kNtpPort : kTimeProtocolPort));
    // Written again, the entry reads the same (a host with a colon needs its port).
    if (e.port != 0 || e.host.find(':') == std::string::npos) {
        std::string again = (ntp ? "ntp:" : "time:") + e.host;
        if (e.port != 0) again += ":" + std::to_string(e.port);
        ServerEntry f;
        FUZZ_CHECK(ParseServerEntry(again, &f));
        FUZZ_CHECK(f.host == e.host && f.port == e.port && f.protocol == e.protocol && f.marked);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput in(data, size);
    CheckEntry(in.Part());
    const uint64_t transmit = static_cast<uint64_t>(in.U32()) << 32 | in.U32();
    // The computer's clock anywhere in the two eras, the wait up to a day
    // either way (a clock set back during the wait reads an earlier time).
    const int64_t sent = in.InRange(kWindowStart * kMicros, kWindowEnd * kMicros - 1);
    const int64_t received = sent + in.InRange(-86400 * kMicros, 86400 * kMicros);
    const bool echo = in.Byte() & 1;
    std::string answer = in.Rest();
    if (echo && answer.size() >= kNtpPacketBytes)
        for (int i = 0; i < 8; ++i)
            answer[24 + i] = static_cast<char>(transmit >> (56 - 8 * i));

    // The era rule both ways: a time in the window reads back to the microsecond.
    const bool receivedInWindow =
        received >= kWindowStart * kMicros && received < kWindowEnd * kMicros;
    const int64_t inWindow = receivedInWindow ? received : sent;
    FUZZ_CHECK(UnixMicrosFromNtp(NtpFromUnixMicros(inWindow)) == inWindow);
    FUZZ_CHECK(Micros(NtpFromUnixMicros(inWindow)) == inWindow);

    // The request: version 4, client, only the transmit value.
    const std::vector<uint8_t> request = MakeSntpRequest(transmit);
    FUZZ_CHECK(request.size() == kNtpPacketBytes && request[0] == 0x23 &&
               Read64(&request[40]) == transmit);
    for (size_t i = 1; i < 40; ++i)
        FUZZ_CHECK(request[i] == 0);

    const auto* p = reinterpret_cast<const uint8_t*>(answer.data());
    const SntpAnswer a = DecodeSntpAnswer(p, answer.size(), transmit, sent, received);
    if (answer.size() < kNtpPacketBytes) {
        FUZZ_CHECK(a.status == S::kTooShort);
        return 0;
    }
    const int leap = p[0] >> 6, version = p[0] >> 3 & 7, mode = p[0] & 7, stratum = p[1];
    const bool echoed = Read64(&p[24]) == transmit;
    // Nothing the answer says is obeyed, not even a Kiss-o'-Death, unless it
    // is a server's answer to this request.
    if (mode != 4 || (version != 3 && version != 4) || !echoed) {
        FUZZ_CHECK(a.status == S::kWrongMode || a.status == S::kWrongVersion ||
                   a.status == S::kWrongOrigin);
        FUZZ_CHECK((a.status == S::kWrongMode) == (mode != 4));
        return 0;
    }
    if (stratum == 0) {
        FUZZ_CHECK(a.status == S::kKissOfDeath && std::strlen(a.kissCode) == 4);
        for (int i = 0; i < 4; ++i)
            FUZZ_CHECK(a.kissCode[i] == (p[12 + i] >= 0x20 && p[12 + i] < 0x7F ? p[12 + i] : '?'));
        const int64_t hold = KissOfDeathHoldMillis(a);
        const std::string code(a.kissCode);
        if (code == "DENY" || code == "RSTR") {
            FUZZ_CHECK(hold == KissOfDeathList::kForever);
        } else {
            FUZZ_CHECK(hold >= 60 * 1000 && hold <= 24 * 3600 * 1000);
        }
        KissOfDeathList list;
        const int64_t now = sent / 1000;
        list.Add(1, kNtpPort, hold == KissOfDeathList::kForever ? hold : now + hold);
        FUZZ_CHECK(list.Blocked(1, kNtpPort, now) && !list.Blocked(1, 124, now) &&
                   !list.Blocked(2, kNtpPort, now));
        if (hold != KissOfDeathList::kForever) FUZZ_CHECK(!list.Blocked(1, kNtpPort, now + hold));
        return 0;
    }
    if (leap == 3) {
        FUZZ_CHECK(a.status == S::kNotSynced);
        return 0;
    }
    if (stratum > 15) {
        FUZZ_CHECK(a.status == S::kBadStratum);
        return 0;
    }
    const uint64_t t2 = Read64(&p[32]), t3 = Read64(&p[40]);
    if (t2 == 0 || t3 == 0) {
        FUZZ_CHECK(a.status == S::kZeroTime);
        return 0;
    }
    FUZZ_CHECK(a.status == S::kAccepted && a.stratum == stratum);
    // θ = ((T2 − T1) + (T3 − T4)) / 2 to the nearest microsecond (halves up),
    // δ = (T4 − T1) − (T3 − T2), never below 0.
    const __int128 sum = (Micros(t2) - sent) + (Micros(t3) - received);
    FUZZ_CHECK(a.offsetMicros == FloorHalf(sum + 1));
    __int128 delay = (static_cast<__int128>(received) - sent) - (Micros(t3) - Micros(t2));
    if (delay < 0) delay = 0;
    FUZZ_CHECK(a.delayMicros == delay);
    FUZZ_CHECK(a.serverMicros == Micros(t3));
    return 0;
}
