#include "net/time_protocol.h"

#include <cstdio>

namespace miravel {

bool ParseDottedQuad(std::string_view text, uint32_t* address) {
    uint32_t value = 0;
    size_t pos = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= text.size() || text[pos] != '.') return false;
            ++pos;
        }
        const size_t start = pos;
        uint32_t number = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 3) {
            number = number * 10 + static_cast<uint32_t>(text[pos] - '0');
            ++pos;
        }
        if (pos == start || number > 255) return false;
        value = (value << 8) | number;
    }
    if (pos != text.size()) return false;
    *address = value;
    return true;
}

std::string DottedQuad(uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", (address >> 24) & 0xFF, (address >> 16) & 0xFF,
                  (address >> 8) & 0xFF, address & 0xFF);
    return text;
}

ServerNameKind ClassifyServerName(std::string_view name, uint32_t* address) {
    *address = 0;
    if (name.empty()) return ServerNameKind::kEmpty;
    // Checked before the dotted form: the usual address parsers return the
    // broadcast address as their error value.
    if (name == "255.255.255.255") {
        *address = kBroadcastAddress;
        return ServerNameKind::kBroadcast;
    }
    if (ParseDottedQuad(name, address)) return ServerNameKind::kDotted;
    return ServerNameKind::kHostName;
}

ServerTime ServerTimeFromCount(uint32_t secondsSince1900) {
    // Modulo 2^32 and then signed: counts past the wrap of 2036 come out as
    // 2036..2038, counts before 1970 as negative.
    const uint32_t shifted = secondsSince1900 - kSecondsFrom1900To1970;
    const int32_t seconds = static_cast<int32_t>(shifted);
    ServerTime t;
    if (seconds < 0) {
        t.clampedTo1970 = true;
        t.seconds = 0;
    } else {
        t.seconds = seconds;
    }
    return t;
}

bool DecodeTimeAnswer(const uint8_t* data, size_t size, ServerTime* out) {
    if (data == nullptr || size < 4) return false;
    const uint32_t count = (static_cast<uint32_t>(data[0]) << 24) |
                           (static_cast<uint32_t>(data[1]) << 16) |
                           (static_cast<uint32_t>(data[2]) << 8) | static_cast<uint32_t>(data[3]);
    *out = ServerTimeFromCount(count);
    return true;
}

void AnswerWait::Start(uint32_t address, uint16_t port, uint16_t timeoutMs) {
    address_ = address;
    port_ = port;
    timeoutMs_ = timeoutMs;
    waiting_ = timeoutMs != 0;
}

AnswerWait::Action AnswerWait::OnDatagram(uint32_t fromAddress, uint16_t fromPort) {
    if (waiting_) {
        if (IsFromServer(fromAddress, fromPort)) {
            waiting_ = false;
            return Action::kAnswer;
        }
        return Action::kDrop;
    }
    // Not waiting: with a time-out this is a late answer, which must not count
    // for the next server; without one the read may still want it.
    return timeoutMs_ != 0 ? Action::kDrop : Action::kLeave;
}

}  // namespace miravel
