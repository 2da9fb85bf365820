// timesync: asks one time server (RFC 868 over UDP) and compares its time
// with this computer's clock. It never sets the clock.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "net/clock_check.h"
#include "net/time_endpoint.h"

namespace miravel::cli {

namespace {

bool ParseNumber(const std::string& text, long min, long max, long* out) {
    if (text.empty() || text.size() > 9) return false;
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < min || value > max) return false;
    *out = value;
    return true;
}

}  // namespace

namespace {
constexpr OptionHelp kTimeSyncOptions[] = {
    {"--port N", "the server's UDP port (default 37)"},
    {"--timeout MS", "how long to wait for the answer, 0..65535 ms (default 2000)"},
};
}  // namespace

const CommandHelp kTimeSyncHelp = {
    "timesync", "HOST [OPTIONS]", "compare this computer's clock with a time server",
    "Asks HOST by the Time Protocol (RFC 868, UDP) and prints both clocks and\n"
    "the difference. The clock is never set.",
    kTimeSyncOptions};

int RunTimeSync(int argc, char** argv) {
    Args args({"--port", "--timeout"}, {});
    std::string error;
    if (!args.Parse(argc, argv, &error) || args.Positional().size() != 1) {
        PrintError(error.empty() ? "timesync takes one HOST" : error);
        return 2;
    }
    long port = kTimeProtocolPort, timeout = 2000;
    if (const std::string* text = args.Value("--port");
        text && !ParseNumber(*text, 1, 65535, &port)) {
        PrintError("bad port " + *text + " (1..65535)");
        return 2;
    }
    if (const std::string* text = args.Value("--timeout");
        text && !ParseNumber(*text, 0, 65535, &timeout)) {
        PrintError("bad timeout " + *text + " (0..65535 ms)");
        return 2;
    }
    const std::string host = args.Positional()[0].substr(0, kMaxServerNameChars);

    // Any free local port: this query must not need the rights that port 37 needs.
    std::unique_ptr<TimeEndpoint> endpoint = MakeTimeEndpoint(static_cast<uint16_t>(port), 0);
    if (!endpoint->Open()) {
        PrintError("cannot open a UDP socket");
        return 1;
    }
    const uint32_t address = ResolveServer(*endpoint, host);
    if (address == 0 || address == kBroadcastAddress) {
        PrintError("no server address for " + host);
        return 1;
    }
    const ServerReply reply = AskTimeServer(*endpoint, address, static_cast<uint16_t>(timeout));
    const int64_t now = SystemSecondsNow();
    switch (reply.status) {
        case ServerReply::Status::kAnswered:
            break;
        case ServerReply::Status::kSendFailed:
            PrintError("cannot send to " + DottedQuad(address));
            return 1;
        case ServerReply::Status::kShortAnswer:
            PrintError("answer shorter than four bytes from " + DottedQuad(address));
            return 1;
        default:
            PrintError("no answer from " + DottedQuad(address));
            return 1;
    }
    const int64_t drift = now - reply.time.seconds;
    std::string out = ServerAddressCaption(address) + "\n";
    out += ServerTimeLine(LocalCivilTime(reply.time.seconds));
    out += ComputerTimeLine(LocalCivilTime(now));
    char line[96];
    std::snprintf(line, sizeof line, "drift: %lld s (positive: this computer is ahead)\n",
                  static_cast<long long>(drift));
    out += line;
    if (reply.time.clampedTo1970) out += "the server's count lies before 1970\n";
    PrintText(out);
    return 0;
}

}  // namespace miravel::cli
