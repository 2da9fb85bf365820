// The clock check: asks the time servers of the list in turn, compares the
// first answer with the computer's clock and corrects the clock, after asking
// the user (interactive) or at once (silent). The socket, the clock and the
// boxes are reached through the interfaces below, so the whole flow runs in
// tests against recording fakes and in the Windows program against Winsock,
// the system clock and message boxes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/time_protocol.h"

namespace miravel {

struct TimeServers {
    std::vector<std::string> hosts;  // tried in order; empty entries are skipped
    uint16_t timeoutMs = 2000;       // per server; 0 = do not wait
};

enum class AnswerStatus {
    kAnswer,        // `datagram` holds what the server sent
    kNoAnswer,      // time-out, or nothing from the server asked
    kWindowClosed,  // the user closed the progress window meanwhile
    kQuit,          // the program is asked to end
};

// One UDP endpoint for the queries.
class TimeEndpoint {
  public:
    virtual ~TimeEndpoint() = default;
    // (Re)creates the socket for a query; false when the socket layer, the
    // socket, its notification or the bind fails.
    virtual bool Open() = 0;
    // Host-name look-up: the first IPv4 address found, 0 when there is none.
    virtual uint32_t LookUpHost(const std::string& name) = 0;
    // Sends the one-byte request to the server's time port.
    virtual bool SendRequest(uint32_t address) = 0;
    // Waits up to `timeoutMs` for the answer of `address` and reads it. Only
    // a datagram from the server asked (address and port) is handed back.
    virtual AnswerStatus AwaitAnswer(uint32_t address, uint16_t timeoutMs,
                                     std::vector<uint8_t>* datagram) = 0;
};

struct CivilTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// The computer's clock.
class ComputerClock {
  public:
    virtual ~ComputerClock() = default;
    // Whole seconds since 1970-01-01 00:00 UTC.
    virtual int64_t Now() = 0;
    // The instant in the computer's local time.
    virtual CivilTime ToLocal(int64_t seconds) = 0;
    // Sets the clock to the start of that second; false when refused.
    virtual bool Set(int64_t seconds) = 0;
    // Tells the running windows that the time changed.
    virtual void AnnounceChange() = 0;
};

enum class BoxIcon { kError, kInformation };

// The progress window and the boxes of the interactive mode.
class ClockCheckUi {
  public:
    virtual ~ClockCheckUi() = default;
    virtual void ShowProgress(std::string_view title) = 0;
    virtual void SetProgressTitle(std::string_view title) = 0;
    virtual void HideProgress() = 0;
    // False once the user has closed the progress window.
    virtual bool WindowExists() = 0;
    // The socket layer failed: a box owned by the active window.
    virtual void ShowSocketError(std::string_view text, std::string_view caption) = 0;
    // A box owned by the progress window.
    virtual void ShowMessage(std::string_view text, std::string_view caption, BoxIcon icon) = 0;
    // Yes/No box owned by the progress window, information icon; true on Yes.
    virtual bool AskYesNo(std::string_view text, std::string_view caption) = 0;
};

// The texts of the check (Windows-1254).
inline constexpr char kClockCheckCaption[] = "Internet Saati";
inline constexpr char kSocketErrorText[] = "WINSOCK Hatası";
inline constexpr char kNoServerAnsweredText[] = "Hiçbir sunucudan yanıt alınamadı !";

// "Internet Saati :  …" and "PC'nizin Saati :  …" lines followed by the drift
// sentence (the question when the drift is not 0).
std::string ComparisonText(const CivilTime& server, const CivilTime& computer, int64_t drift);
std::string ServerTimeLine(const CivilTime& t);
std::string ComputerTimeLine(const CivilTime& t);
// "Sunucu Adresi : a.b.c.d"
std::string ServerAddressCaption(uint32_t address);

// Resolves a server entry: empty → 0, "255.255.255.255" → broadcast, a dotted
// address → itself, anything else through the endpoint's look-up.
uint32_t ResolveServer(TimeEndpoint& endpoint, std::string_view name);

struct ServerReply {
    enum class Status {
        kAnswered,
        kNoAddress,  // empty entry, unknown name, or the broadcast address
        kSendFailed,
        kNoAnswer,
        kShortAnswer,  // fewer than four bytes: counts as no answer
        kWindowClosed,
        kQuit,
    };
    Status status = Status::kNoAnswer;
    ServerTime time;
};

// One exchange with one server: request, wait, decode.
ServerReply AskTimeServer(TimeEndpoint& endpoint, uint32_t address, uint16_t timeoutMs);

enum class ClockCheckOutcome {
    kSocketFailed,  // interactive only: the box was shown and the check ended
    kNoAnswer,      // no server answered (usable answer, in silent mode)
    kInSync,        // drift 0
    kCorrected,     // the clock was set
    kDeclined,      // the user answered No
    kSetRefused,    // the clock refused the new time
    kWindowClosed,  // the user closed the window during the check
    kQuit,          // the program is ending; nothing was shown or set
};

struct ClockCheckResult {
    ClockCheckOutcome outcome = ClockCheckOutcome::kNoAnswer;
    std::string server;  // the entry that answered
    uint32_t address = 0;
    ServerTime serverTime;
    int64_t drift = 0;  // computer minus server, seconds; positive: the computer is ahead
};

struct ClockCheckRequest {
    bool silent = false;
    // The silent mode takes no server time earlier than this (seconds since
    // 1970): a clock set from it would certainly be wrong.
    int64_t notBefore = 0;
};

ClockCheckResult RunClockCheck(const TimeServers& servers, const ClockCheckRequest& request,
                               TimeEndpoint& endpoint, ComputerClock& clock, ClockCheckUi& ui);

// Waits for the computer's next whole second and sets the clock to that
// second minus `drift`. True when the clock took the new time.
bool CorrectClock(ComputerClock& clock, int64_t drift);

}  // namespace miravel
