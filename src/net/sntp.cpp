#include "net/sntp.h"

#include <algorithm>
#include <chrono>
#include <random>

#include "net/time_protocol.h"

namespace miravel {

namespace {

constexpr int64_t kMicrosPerSecond = 1000000;
constexpr int64_t kEraSeconds = int64_t{1} << 32;

NtpTimestamp ReadTimestamp(const uint8_t* p) {
    NtpTimestamp value = 0;
    for (int i = 0; i < 8; ++i)
        value = (value << 8) | p[i];
    return value;
}

void WriteTimestamp(uint8_t* p, NtpTimestamp value) {
    for (int i = 7; i >= 0; --i) {
        p[i] = static_cast<uint8_t>(value & 0xFF);
        value >>= 8;
    }
}

int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

NtpTimestamp NtpFromUnixMicros(int64_t unixMicros) {
    const int64_t seconds = FloorDiv(unixMicros, kMicrosPerSecond);
    const int64_t rest = unixMicros - seconds * kMicrosPerSecond;
    const uint32_t eraSeconds = static_cast<uint32_t>(
        static_cast<uint64_t>(seconds + static_cast<int64_t>(kSecondsFrom1900To1970)));
    const uint64_t fraction = (static_cast<uint64_t>(rest) << 32) / kMicrosPerSecond;
    return (static_cast<uint64_t>(eraSeconds) << 32) | fraction;
}

int64_t UnixMicrosFromNtp(NtpTimestamp timestamp) {
    const int64_t eraSeconds = static_cast<int64_t>(timestamp >> 32);
    const uint64_t fraction = timestamp & 0xFFFFFFFFu;
    int64_t seconds = eraSeconds - static_cast<int64_t>(kSecondsFrom1900To1970);
    if ((eraSeconds & 0x80000000) == 0) seconds += kEraSeconds;
    // Rounded up, so that a time written by NtpFromUnixMicros reads back whole.
    const int64_t micros = static_cast<int64_t>((fraction * kMicrosPerSecond + 0xFFFFFFFFu) >> 32);
    return seconds * kMicrosPerSecond + micros;
}

std::vector<uint8_t> MakeSntpRequest(NtpTimestamp transmit) {
    std::vector<uint8_t> packet(kNtpPacketBytes, 0);
    packet[0] = (0 << 6) | (4 << 3) | 3;  // no leap warning, version 4, client
    WriteTimestamp(&packet[40], transmit);
    return packet;
}

NtpTimestamp RandomTransmitValue() {
    std::random_device device;
    std::seed_seq seed{
        device(), device(), device(), device(),
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count())};
    std::mt19937_64 generator(seed);
    NtpTimestamp value = 0;
    while (value == 0)
        value = generator();
    return value;
}

SntpAnswer DecodeSntpAnswer(const uint8_t* data, size_t size, NtpTimestamp sentTransmit,
                            int64_t sentMicros, int64_t receivedMicros) {
    SntpAnswer a;
    using S = SntpAnswer::Status;
    if (data == nullptr || size < kNtpPacketBytes) {
        a.status = S::kTooShort;
        return a;
    }
    const int leap = data[0] >> 6;
    const int version = (data[0] >> 3) & 7;
    const int mode = data[0] & 7;
    a.stratum = data[1];
    a.poll = static_cast<int8_t>(data[2]);
    if (mode != 4) {
        a.status = S::kWrongMode;
        return a;
    }
    if (version != 3 && version != 4) {
        a.status = S::kWrongVersion;
        return a;
    }
    // Checked before anything the server says is obeyed: an answer that does
    // not echo our random value may come from anyone.
    if (ReadTimestamp(&data[24]) != sentTransmit) {
        a.status = S::kWrongOrigin;
        return a;
    }
    if (a.stratum == 0) {
        for (int i = 0; i < 4; ++i) {
            const char c = static_cast<char>(data[12 + i]);
            a.kissCode[i] = (c >= 0x20 && c < 0x7F) ? c : '?';
        }
        a.kissCode[4] = '\0';
        a.status = S::kKissOfDeath;
        return a;
    }
    if (leap == 3) {
        a.status = S::kNotSynced;
        return a;
    }
    if (a.stratum > 15) {
        a.status = S::kBadStratum;
        return a;
    }
    const NtpTimestamp received = ReadTimestamp(&data[32]);
    const NtpTimestamp transmitted = ReadTimestamp(&data[40]);
    if (received == 0 || transmitted == 0) {
        a.status = S::kZeroTime;
        return a;
    }
    const int64_t t2 = UnixMicrosFromNtp(received);
    const int64_t t3 = UnixMicrosFromNtp(transmitted);
    const int64_t sum = (t2 - sentMicros) + (t3 - receivedMicros);
    a.offsetMicros = FloorDiv(sum + 1, 2);  // halves rounded to the nearest microsecond
    a.delayMicros = std::max<int64_t>(0, (receivedMicros - sentMicros) - (t3 - t2));
    a.serverMicros = t3;
    a.status = S::kAccepted;
    return a;
}

int64_t KissOfDeathHoldMillis(const SntpAnswer& answer) {
    const std::string_view code(answer.kissCode);
    if (code == "DENY" || code == "RSTR") return KissOfDeathList::kForever;
    constexpr int64_t kMinute = 60 * 1000;
    constexpr int64_t kDay = 24 * 60 * 60 * 1000;
    const int poll = std::clamp(answer.poll, 0, 17);
    return std::clamp<int64_t>((int64_t{1} << poll) * 1000, kMinute, kDay);
}

void KissOfDeathList::Add(uint32_t address, uint16_t port, int64_t untilMillis) {
    for (Entry& e : entries_) {
        if (e.address == address && e.port == port) {
            e.untilMillis = std::max(e.untilMillis, untilMillis);
            return;
        }
    }
    entries_.push_back({address, port, untilMillis});
}

bool KissOfDeathList::Blocked(uint32_t address, uint16_t port, int64_t nowMillis) const {
    for (const Entry& e : entries_)
        if (e.address == address && e.port == port && nowMillis < e.untilMillis) return true;
    return false;
}

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

}  // namespace

bool ParseServerEntry(std::string_view entry, ServerEntry* out) {
    *out = ServerEntry{};
    std::string_view rest;
    if (StartsWithNoCase(entry, "ntp:")) {
        out->protocol = TimeProtocol::kNtp;
        rest = entry.substr(4);
    } else if (StartsWithNoCase(entry, "time:")) {
        out->protocol = TimeProtocol::kTime;
        rest = entry.substr(5);
    } else {
        // A host name never holds a colon, so every entry of an older list
        // lands here unchanged.
        out->host = std::string(entry);
        return true;
    }
    out->marked = true;
    const size_t colon = rest.rfind(':');
    if (colon != std::string_view::npos) {
        const std::string_view digits = rest.substr(colon + 1);
        if (digits.empty() || digits.size() > 5) return false;
        uint32_t port = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return false;
            port = port * 10 + static_cast<uint32_t>(c - '0');
        }
        if (port == 0 || port > 65535) return false;
        out->port = static_cast<uint16_t>(port);
        rest = rest.substr(0, colon);
    }
    if (rest.empty()) return false;
    out->host = std::string(rest);
    return true;
}

uint16_t PortOf(const ServerEntry& entry) {
    if (entry.port != 0) return entry.port;
    return entry.protocol == TimeProtocol::kNtp ? kNtpPort : kTimeProtocolPort;
}

}  // namespace miravel
