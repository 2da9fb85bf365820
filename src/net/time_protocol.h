// The Time Protocol (RFC 868) over UDP: the request, the answer's conversion
// and the rules that decide which datagram is the answer of the server asked.
// IPv4 addresses are held in host byte order; 0 means "no address".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace miravel {

inline constexpr uint16_t kTimeProtocolPort = 37;
inline constexpr uint8_t kTimeRequestByte = 0x48;  // "H"; any datagram asks for the time
// Seconds from 1900-01-01 to 1970-01-01, the offset between the protocol's
// count and the computer's.
inline constexpr uint32_t kSecondsFrom1900To1970 = 2208988800u;
// The longest datagram the client reads; the answer needs only four bytes.
inline constexpr size_t kMaxAnswerBytes = 255;
// A server entry longer than this is cut, as the INI reader would.
inline constexpr size_t kMaxServerNameChars = 254;
inline constexpr uint32_t kBroadcastAddress = 0xFFFFFFFFu;

enum class ServerNameKind { kEmpty, kBroadcast, kDotted, kHostName };

// Tells how an entry of the server list is resolved. For kBroadcast and
// kDotted `*address` receives the address, otherwise 0.
ServerNameKind ClassifyServerName(std::string_view name, uint32_t* address);

// Four decimal numbers 0..255 separated by dots, nothing else.
bool ParseDottedQuad(std::string_view text, uint32_t* address);
std::string DottedQuad(uint32_t address);

struct ServerTime {
    // Seconds since 1970-01-01 00:00 UTC, 0 .. 2^31 - 1.
    int32_t seconds = 0;
    // The count lay between 1900 and 1970 and was raised to 1970: no server
    // that keeps time sends that, so the value cannot be right.
    bool clampedTo1970 = false;
};

// The protocol's 32-bit count of seconds since 1900 as seconds since 1970.
// Counts below 61505152 belong to the era that starts on 2036-02-07 06:28:16
// UTC, when the 32-bit count wraps.
ServerTime ServerTimeFromCount(uint32_t secondsSince1900);

// Reads the answer datagram: bytes 0..3 are the big-endian count, further
// bytes are ignored. False for a datagram shorter than four bytes.
bool DecodeTimeAnswer(const uint8_t* data, size_t size, ServerTime* out);

// Which datagram counts as the answer while the client waits for one server.
// The platform layers feed it the sender of every datagram that arrives and
// the end of the time-out, and act on what it says.
class AnswerWait {
  public:
    enum class Action {
        kAnswer,  // from the server asked: stop waiting, leave it queued for the read
        kDrop,    // read and discard it
        kLeave,   // leave it queued
    };

    // Starts waiting for `address`:`port`. A time-out of 0 means no waiting:
    // only what is already queued when the client reads can count.
    void Start(uint32_t address, uint16_t port, uint16_t timeoutMs);
    void OnTimeout() { waiting_ = false; }
    // Stops the wait without an answer (the window was closed, the program quits).
    void Abandon() { waiting_ = false; }
    Action OnDatagram(uint32_t fromAddress, uint16_t fromPort);

    bool waiting() const { return waiting_; }
    uint16_t timeoutMs() const { return timeoutMs_; }
    // Whether a datagram with this sender is the answer of the server asked.
    bool IsFromServer(uint32_t fromAddress, uint16_t fromPort) const {
        return fromAddress == address_ && fromPort == port_;
    }

  private:
    uint32_t address_ = 0;
    uint16_t port_ = 0;
    uint16_t timeoutMs_ = 0;
    bool waiting_ = false;
};

}  // namespace miravel
