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

#include "net/sntp.h"
#include "net/time_protocol.h"

namespace miravel {

struct TimeServers {
    // Tried in order; empty entries are skipped. "ntp:" marks an SNTP server
    // (see ParseServerEntry), anything else speaks the Time Protocol.
    std::vector<std::string> hosts;
    uint16_t timeoutMs = 2000;  // per server; 0 = do not wait
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
    // The same for any request to any port (SNTP, or a time port of an entry's own).
    virtual bool SendDatagram(uint32_t address, uint16_t port,
                              const std::vector<uint8_t>& bytes) = 0;
    virtual AnswerStatus AwaitAnswerFrom(uint32_t address, uint16_t port, uint16_t timeoutMs,
                                         std::vector<uint8_t>* datagram) = 0;
};

struct CivilTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

enum class ClockSetStatus {
    kSet,
    kNoPrivilege,  // the user may not change the system time
    kFailed,
};

// The computer's clock.
class ComputerClock {
  public:
    virtual ~ComputerClock() = default;
    // Whole seconds since 1970-01-01 00:00 UTC.
    virtual int64_t Now() = 0;
    // Milliseconds since 1970-01-01 00:00 UTC.
    virtual int64_t NowMs() = 0;
    // Microseconds since 1970-01-01 00:00 UTC, as finely as the clock reads
    // (the timestamps of an SNTP exchange).
    virtual int64_t NowMicros() { return NowMs() * 1000; }
    // The instant in the computer's local time.
    virtual CivilTime ToLocal(int64_t seconds) = 0;
    // Sets the clock to that millisecond since 1970 UTC.
    virtual ClockSetStatus SetMs(int64_t milliseconds) = 0;
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

enum class ElevatedSetStatus {
    kSet,        // the helper with administrator rights set the clock
    kCancelled,  // the user refused the rights
    kFailed,     // it ran but could not set the clock, or could not be started
};

// Sets the clock from one server in a process of its own that runs with
// administrator rights (on Windows: miravel-cli timesync … --set, started
// through the elevation prompt). It asks the server itself, so no time read
// here goes stale on the way.
class ClockElevation {
  public:
    virtual ~ClockElevation() = default;
    virtual ElevatedSetStatus SetClockAsAdministrator(TimeProtocol protocol, uint32_t address,
                                                      uint16_t port, uint16_t timeoutMs) = 0;
};

// The command line of that helper, after the program's name.
std::string ElevatedTimeSyncArguments(TimeProtocol protocol, uint32_t address, uint16_t port,
                                      uint16_t timeoutMs);

// The texts of the check (Windows-1254).
inline constexpr char kClockCheckCaption[] = "Internet Saati";
inline constexpr char kSocketErrorText[] = "WINSOCK Hatası";
inline constexpr char kNoServerAnsweredText[] = "Hiçbir sunucudan yanıt alınamadı !";
inline constexpr char kNeedAdministratorText[] =
    "PC'nizin saati ayarlanamadı: Windows, saati değiştirmek için yönetici izni istiyor.\n"
    "\nSaat yönetici izniyle ayarlansın mı ?";
inline constexpr char kNoAdministratorText[] =
    "PC'nizin saati ayarlanamadı: Windows, saati değiştirmek için yönetici izni istiyor.";
inline constexpr char kSetAsAdministratorText[] = "PC'nizin saati yönetici izniyle ayarlandı.";
inline constexpr char kSetFailedText[] = "PC'nizin saati ayarlanamadı !";
inline constexpr char kAutoCorrectionNeedsAdministratorText[] =
    "Saat otomatik düzeltilemiyor: Windows, saati değiştirmek için yönetici izni istiyor.\n"
    "Program yönetici olarak çalışmadıkça saat kendiliğinden düzeltilmez; \"Internet Saati\" "
    "ile yönetici izni vererek düzeltebilirsiniz.";

// An SNTP offset this small needs no correction: the answer itself is not
// surer than that over an ordinary internet path.
inline constexpr int64_t kNtpInSyncMs = 100;
// The silent mode sets the clock by at most this much (15 hours, the bound
// Windows' own time service keeps on a stand-alone computer): a larger jump
// is far likelier a wrong answer or a clock the user set on purpose than a
// drift, and nobody looks at a silent correction. A computer clock before the
// build's own time is wrong whatever the jump, and is corrected.
inline constexpr int64_t kMaxSilentJumpMs = 15LL * 3600 * 1000;

// "Internet Saati :  …" and "PC'nizin Saati :  …" lines followed by the drift
// sentence (the question when the drift is not 0).
std::string ComparisonText(const CivilTime& server, const CivilTime& computer, int64_t drift);
// The same for an SNTP answer: the drift (computer minus server) in seconds
// with milliseconds, "düzeltme gerektirmiyor" below kNtpInSyncMs.
std::string ComparisonTextMs(const CivilTime& server, const CivilTime& computer, int64_t driftMs);
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

// One exchange with one server: request, wait, decode. `port` 0 is the
// endpoint's own time port.
ServerReply AskTimeServer(TimeEndpoint& endpoint, uint32_t address, uint16_t timeoutMs,
                          uint16_t port = 0);

struct NtpReply {
    enum class Status {
        kAnswered,
        kNoAddress,
        kSendFailed,
        kNoAnswer,
        kRefused,  // the answer broke a rule (`answer.status` says which)
        kKissOfDeath,
        kWindowClosed,
        kQuit,
    };
    Status status = Status::kNoAnswer;
    SntpAnswer answer;
};

// One SNTP exchange: a request with a random transmit value, the wait, the
// answer's rules and the four timestamps, read from `clock`.
NtpReply AskNtpServer(TimeEndpoint& endpoint, ComputerClock& clock, uint32_t address, uint16_t port,
                      uint16_t timeoutMs);

enum class ClockCheckOutcome {
    kSocketFailed,              // interactive only: the box was shown and the check ended
    kNoAnswer,                  // no server answered (usable answer, in silent mode)
    kInSync,                    // drift 0
    kCorrected,                 // the clock was set
    kDeclined,                  // the user answered No
    kSetRefused,                // the clock refused the new time
    kNoPrivilege,               // silent: the user may not change the time (nothing was shown)
    kCorrectedAsAdministrator,  // interactive: set by the helper with administrator rights
    kWindowClosed,              // the user closed the window during the check
    kQuit,                      // the program is ending; nothing was shown or set
};

struct ClockCheckResult {
    ClockCheckOutcome outcome = ClockCheckOutcome::kNoAnswer;
    std::string server;  // the entry that answered
    uint32_t address = 0;
    ServerTime serverTime;
    int64_t drift = 0;  // computer minus server, seconds; positive: the computer is ahead
    TimeProtocol protocol = TimeProtocol::kTime;
    uint16_t port = 0;
    int64_t offsetMs = 0;  // server minus computer
    int64_t delayMs = 0;   // SNTP round trip
    int stratum = 0;       // SNTP
};

struct ClockCheckRequest {
    bool silent = false;
    // The silent mode takes no server time earlier than this (seconds since
    // 1970): a clock set from it would certainly be wrong.
    int64_t notBefore = 0;
    // Servers that sent a Kiss-o'-Death answer, kept between checks (may be null).
    KissOfDeathList* kissOfDeath = nullptr;
    // Offered in the interactive mode when the clock may not be set (may be null).
    ClockElevation* elevation = nullptr;
};

ClockCheckResult RunClockCheck(const TimeServers& servers, const ClockCheckRequest& request,
                               TimeEndpoint& endpoint, ComputerClock& clock, ClockCheckUi& ui);

// Waits for the computer's next whole second and sets the clock to that
// second minus `drift`; announces the change when the clock took it.
ClockSetStatus CorrectClock(ComputerClock& clock, int64_t drift);
// Sets the clock to its own reading plus `offsetMs`, to the millisecond.
ClockSetStatus CorrectClockMs(ComputerClock& clock, int64_t offsetMs);

}  // namespace miravel
