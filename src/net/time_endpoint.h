// The platform's UDP endpoint for time queries, for the command-line front
// end and the tests: POSIX sockets natively, Winsock (with a message-only
// window for its notifications) on Windows.
#pragma once

#include <cstdint>
#include <memory>

#include "net/clock_check.h"

namespace miravel {

// `serverPort` is where requests go (37 for real servers); they leave from a
// port the system chooses.
std::unique_ptr<TimeEndpoint> MakeTimeEndpoint(uint16_t serverPort);

// Seconds since 1970 UTC on the computer's clock, and their local time.
int64_t SystemSecondsNow();
int64_t SystemMillisecondsNow();
int64_t SystemMicrosecondsNow();
CivilTime LocalCivilTime(int64_t seconds);

// Sets the computer's clock (UTC milliseconds since 1970). On Windows this
// needs the right to change the system time; elsewhere the system's own time
// service keeps the clock and this always answers kNoPrivilege.
ClockSetStatus SetSystemClockMs(int64_t milliseconds);

// The computer's clock through the functions above.
class SystemClock final : public ComputerClock {
  public:
    int64_t Now() override { return SystemSecondsNow(); }
    int64_t NowMs() override { return SystemMillisecondsNow(); }
    int64_t NowMicros() override { return SystemMicrosecondsNow(); }
    CivilTime ToLocal(int64_t seconds) override { return LocalCivilTime(seconds); }
    ClockSetStatus SetMs(int64_t milliseconds) override { return SetSystemClockMs(milliseconds); }
    void AnnounceChange() override;
};

}  // namespace miravel
