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
    // Host-name look-up, bounded by `timeoutMs` like an answer: kAnswer with
    // the first IPv4 address found in `*address` (0 when the name has none),
    // kNoAnswer when the resolver did not answer in time (0 = do not wait),
    // or why the wait ended. The program's windows keep running meanwhile.
    virtual AnswerStatus LookUpHost(const std::string& name, uint16_t timeoutMs,
                                    uint32_t* address) = 0;
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
    // The check is over: its sockets go, so that no port stays held between checks.
    virtual void Close() {}
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

// Moves the clock by `offsetMs` in a process of its own that runs with
// administrator rights (on Windows: Windows PowerShell from the system
// folder, started through the elevation prompt). The move is relative, so
// the offset measured before the prompt stays right however long the user
// takes to answer it.
class ClockElevation {
  public:
    virtual ~ClockElevation() = default;
    virtual ElevatedSetStatus SetClockAsAdministrator(int64_t offsetMs) = 0;
};

// The elevated process's command line after its name: Windows PowerShell
// without profiles, loading the date cmdlet's module from its own folder
// ($PSHOME) and moving the clock by the offset. Only the number comes from
// outside; nothing of the user's (profile, module path) is read.
std::string ElevatedClockAdjustArguments(int64_t offsetMs);
// Windows PowerShell below the system folder (no trailing separator).
inline constexpr char kPowerShellBelowSystemFolder[] = "\\WindowsPowerShell\\v1.0\\powershell.exe";

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
// Nobody looks at a silent correction, so one server must not be able to
// move the clock far. A step up to kSilentLoneStepMs may follow one answer;
// a larger one needs a second server (another address) whose answer lies
// within kServersAgreeMs of it. A PC's clock drifts by a second or two a
// day, which an hourly check sees as a fraction of a second.
inline constexpr int64_t kSilentLoneStepMs = 2000;
inline constexpr int64_t kServersAgreeMs = 1000;
// All silent steps of any 24 hours together stay within this: ten times
// what a poor PC clock drifts in a day, and little enough that wrong or
// hostile servers cannot walk the clock away from the user's eyes. A larger
// error is for the user to correct with "Internet Saati". A computer clock
// before the build's own time is wrong whatever the step, and may be set
// (on two servers' agreement) without counting against the allowance.
inline constexpr int64_t kSilentDailyAllowanceMs = 60 * 1000;
inline constexpr int64_t kAllowanceWindowMs = 24LL * 3600 * 1000;

// The silent steps made in the last 24 hours, counted on a clock that the
// steps themselves do not move (the time since the computer started).
class SilentCorrectionAllowance {
  public:
    // Whether a step of `stepMs` (either sign) still fits in the 24 hours
    // that end at `steadyMs`.
    bool Allows(int64_t stepMs, int64_t steadyMs) const;
    void Record(int64_t stepMs, int64_t steadyMs);

  private:
    struct Step {
        int64_t steadyMs;
        int64_t sizeMs;
    };
    std::vector<Step> steps_;
};

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
// address → itself, anything else through the endpoint's look-up within
// `timeoutMs`. `*status` (may be null) says how a look-up ended; a look-up
// that was not answered in time gives 0 like an unknown name.
uint32_t ResolveServer(TimeEndpoint& endpoint, std::string_view name, uint16_t timeoutMs,
                       AnswerStatus* status = nullptr);

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
    kUnconfirmed,               // silent: a step too large for one server, and no second agreed
    kBeyondAllowance,           // silent: the step would pass the 24 hours' allowance
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
    // The silent steps of the last 24 hours (may be null: no allowance), and
    // the steady clock's reading for it.
    SilentCorrectionAllowance* allowance = nullptr;
    int64_t steadyMs = 0;
};

ClockCheckResult RunClockCheck(const TimeServers& servers, const ClockCheckRequest& request,
                               TimeEndpoint& endpoint, ComputerClock& clock, ClockCheckUi& ui);

// Waits for the computer's next whole second and sets the clock to that
// second minus `drift`; announces the change when the clock took it.
ClockSetStatus CorrectClock(ComputerClock& clock, int64_t drift);
// Sets the clock to its own reading plus `offsetMs`, to the millisecond.
ClockSetStatus CorrectClockMs(ComputerClock& clock, int64_t offsetMs);

}  // namespace miravel
