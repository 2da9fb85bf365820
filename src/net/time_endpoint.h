// The platform's UDP endpoint for time queries, for the command-line front
// end and the tests: POSIX sockets natively, Winsock (with a message-only
// window for its notifications) on Windows.
#pragma once

#include <cstdint>
#include <memory>

#include "net/clock_check.h"

namespace miravel {

// `serverPort` is where requests go (37 for real servers); `localPort` 0
// lets the system choose the local port.
std::unique_ptr<TimeEndpoint> MakeTimeEndpoint(uint16_t serverPort, uint16_t localPort);

// Seconds since 1970 UTC on the computer's clock, and their local time.
int64_t SystemSecondsNow();
CivilTime LocalCivilTime(int64_t seconds);

}  // namespace miravel
