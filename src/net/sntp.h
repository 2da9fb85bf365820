// The Simple Network Time Protocol (RFC 4330, the client side of RFC 5905)
// over UDP port 123: the request, the rules an answer must pass, the offset
// and round-trip delay from the four timestamps, Kiss-o'-Death answers, and
// the entries of the server list that say which protocol a server speaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace miravel {

inline constexpr uint16_t kNtpPort = 123;
inline constexpr size_t kNtpPacketBytes = 48;

// An NTP timestamp: seconds since 1900 (of the era) in the high 32 bits, the
// fraction of a second in the low 32 bits.
using NtpTimestamp = uint64_t;

// Microseconds since 1970-01-01 00:00 UTC as an NTP timestamp (modulo the
// 32-bit era).
NtpTimestamp NtpFromUnixMicros(int64_t unixMicros);
// The other way. The era is told by the top bit of the seconds: set, the time
// lies in 1968..2036 and counts from 1900; clear, it lies in 2036..2104 and
// counts from 2036-02-07 06:28:16 UTC, when the 32-bit seconds wrap.
int64_t UnixMicrosFromNtp(NtpTimestamp timestamp);

// The client's request: version 4, mode 3 (client), all fields 0 but the
// transmit timestamp, which carries `transmit` (a random value: the answer
// must echo it, and the computer's clock is not told to anyone).
std::vector<uint8_t> MakeSntpRequest(NtpTimestamp transmit);
// A random, non-zero transmit value for a request.
NtpTimestamp RandomTransmitValue();

struct SntpAnswer {
    enum class Status {
        kAccepted,
        kTooShort,      // fewer than 48 bytes
        kWrongMode,     // not a server's answer (mode 4)
        kWrongVersion,  // neither version 3 nor 4
        kNotSynced,     // leap indicator 3: the server's clock is not set
        kBadStratum,    // stratum 16 or more
        kWrongOrigin,   // does not echo the request's transmit value
        kZeroTime,      // no receive or transmit time
        kKissOfDeath,   // stratum 0: the server tells the client to go away
    };
    Status status = Status::kTooShort;
    int stratum = 0;
    char kissCode[5] = "";     // four ASCII letters of a Kiss-o'-Death answer
    int poll = 0;              // the poll exponent of the answer (seconds = 2^poll)
    int64_t offsetMicros = 0;  // server minus computer
    int64_t delayMicros = 0;   // round trip, without the server's own time
    int64_t serverMicros = 0;  // the server's transmit time, Unix microseconds
};

// Checks an answer and computes the offset θ = ((T2 − T1) + (T3 − T4)) / 2
// and the delay δ = (T4 − T1) − (T3 − T2). `sentTransmit` is what the request
// carried; `sentMicros` (T1) and `receivedMicros` (T4) are the computer's
// clock when the request left and the answer came, Unix microseconds. The
// sender's address and port are checked by the endpoint.
SntpAnswer DecodeSntpAnswer(const uint8_t* data, size_t size, NtpTimestamp sentTransmit,
                            int64_t sentMicros, int64_t receivedMicros);

// A server answering "DENY" or "RSTR" is not asked again in this run; "RATE"
// and other codes hold it off for the poll interval it gave, at least a
// minute and at most a day.
int64_t KissOfDeathHoldMillis(const SntpAnswer& answer);

// Servers that sent a Kiss-o'-Death answer, and until when they are left alone.
class KissOfDeathList {
  public:
    static constexpr int64_t kForever = INT64_MAX;
    void Add(uint32_t address, uint16_t port, int64_t untilMillis);
    bool Blocked(uint32_t address, uint16_t port, int64_t nowMillis) const;

  private:
    struct Entry {
        uint32_t address;
        uint16_t port;
        int64_t untilMillis;
    };
    std::vector<Entry> entries_;
};

enum class TimeProtocol { kTime, kNtp };

// One entry of the server list. "ntp:HOST" or "ntp:HOST:PORT" asks HOST with
// SNTP (port 123 unless given); "time:HOST" or "time:HOST:PORT" with the Time
// Protocol (port 37 unless given); an entry without a marker is a host name
// or address for the Time Protocol, taken whole as it always was.
struct ServerEntry {
    TimeProtocol protocol = TimeProtocol::kTime;
    std::string host;
    uint16_t port = 0;  // 0: the protocol's own port
    bool marked = false;
};
// False for a marked entry with an empty host or a port outside 1..65535.
bool ParseServerEntry(std::string_view entry, ServerEntry* out);
uint16_t PortOf(const ServerEntry& entry);

}  // namespace miravel
