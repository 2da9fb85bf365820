// timesync: asks one time server, with SNTP (RFC 4330) or the Time Protocol
// (RFC 868) over UDP, and compares its time with this computer's clock. With
// --set it also sets the clock, where the user may (Windows, with the right
// to change the system time, e.g. from a prompt run as administrator).
#include <cstdio>
#include <memory>
#include <string>

#include "build_stamp.h"
#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/json_writer.h"
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

// Seconds with three decimals and a sign: "+1.234", "-0.050".
std::string SignedSeconds(int64_t micros) {
    const int64_t ms = (micros >= 0 ? micros + 500 : micros - 500) / 1000;
    const int64_t magnitude = ms < 0 ? -ms : ms;
    char text[48];
    std::snprintf(text, sizeof text, "%s%lld.%03lld", ms < 0 ? "-" : "+",
                  static_cast<long long>(magnitude / 1000),
                  static_cast<long long>(magnitude % 1000));
    return text;
}

const char* RefusalText(SntpAnswer::Status status) {
    switch (status) {
        case SntpAnswer::Status::kWrongVersion:
            return "an NTP version other than 3 or 4";
        case SntpAnswer::Status::kNotSynced:
            return "a server whose clock is not synchronised (leap indicator 3)";
        case SntpAnswer::Status::kBadStratum:
            return "a stratum above 15";
        case SntpAnswer::Status::kZeroTime:
            return "no receive or transmit time";
        default:
            return "no answer to this request";
    }
}

// Letters, digits, dots and hyphens: a name or a dotted address, nothing the
// resolver would be asked about in vain.
bool IsHostName(const std::string& host) {
    if (host.empty()) return false;
    for (const char c : host) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        if (!ok) return false;
    }
    return true;
}

}  // namespace

namespace {
constexpr OptionHelp kTimeSyncOptions[] = {
    {"--protocol ntp|time",
     "SNTP (UDP 123) or the Time Protocol (UDP 37); by default as HOST says"},
    {"--port N", "the server's UDP port (default 123 for ntp, 37 for time)"},
    {"--timeout MS", "how long to wait for the answer, 0..65535 ms (default 2000)"},
    {"--json", "one JSON object: protocol, server, port, offsetMs, delayMs, stratum"},
    {"--set", "set this computer's clock from the answer (needs the right to)"},
};
}  // namespace

const CommandHelp kTimeSyncHelp = {
    "timesync", "HOST [OPTIONS]", "compare this computer's clock with a time server",
    "HOST is written as in the INI section \"Time Servers\": ntp:HOST[:PORT] asks by\n"
    "SNTP, time:HOST[:PORT] or a plain HOST by the Time Protocol. Prints the\n"
    "offset (server minus this computer) with milliseconds, the round-trip delay\n"
    "and the stratum. Exit codes: 0 answered (and set with --set), 1 no usable\n"
    "answer, 2 bad arguments, 3 no right to set the clock, 4 a server time before\n"
    "the build refused for --set.",
    kTimeSyncOptions};

int RunTimeSync(int argc, char** argv) {
    Args args({"--port", "--timeout", "--protocol"}, {"--json", "--set"});
    std::string error;
    if (!args.Parse(argc, argv, &error) || args.Positional().size() != 1) {
        PrintError(error.empty() ? "timesync takes one HOST" : error);
        return 2;
    }
    ServerEntry entry;
    if (!ParseServerEntry(args.Positional()[0].substr(0, kMaxServerNameChars), &entry) ||
        !IsHostName(entry.host)) {
        PrintError("bad server " + args.Positional()[0] +
                   " (HOST, ntp:HOST[:PORT], time:HOST[:PORT])");
        return 2;
    }
    if (const std::string* text = args.Value("--protocol")) {
        if (*text == "ntp") {
            entry.protocol = TimeProtocol::kNtp;
        } else if (*text == "time") {
            entry.protocol = TimeProtocol::kTime;
        } else {
            PrintError("bad protocol " + *text + " (ntp or time)");
            return 2;
        }
    }
    long port = PortOf(entry), timeout = 2000;
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
    const bool ntp = entry.protocol == TimeProtocol::kNtp;
    const uint16_t serverPort = static_cast<uint16_t>(port);

    // Any free local port: this query must not need the rights that port 37 needs.
    std::unique_ptr<TimeEndpoint> endpoint = MakeTimeEndpoint(serverPort);
    if (!endpoint->Open()) {
        PrintError("cannot open a UDP socket");
        return 1;
    }
    const uint32_t address = ResolveServer(*endpoint, entry.host, static_cast<uint16_t>(timeout));
    if (address == 0 || address == kBroadcastAddress) {
        PrintError("no server address for " + entry.host);
        return 1;
    }
    SystemClock clock;
    const std::string where = DottedQuad(address) + ":" + std::to_string(serverPort);
    int64_t offsetMicros = 0, delayMicros = 0, serverSeconds = 0;
    int stratum = 0;
    bool before1970 = false;
    if (ntp) {
        const NtpReply reply =
            AskNtpServer(*endpoint, clock, address, serverPort, static_cast<uint16_t>(timeout));
        switch (reply.status) {
            case NtpReply::Status::kAnswered:
                break;
            case NtpReply::Status::kSendFailed:
                PrintError("cannot send to " + where);
                return 1;
            case NtpReply::Status::kKissOfDeath:
                PrintError("the server " + where + " refuses service (Kiss-o'-Death " +
                           reply.answer.kissCode + ")");
                return 1;
            case NtpReply::Status::kRefused:
                PrintError(std::string("answer refused from ") + where + ": " +
                           RefusalText(reply.answer.status));
                return 1;
            default:
                PrintError("no answer from " + where);
                return 1;
        }
        offsetMicros = reply.answer.offsetMicros;
        delayMicros = reply.answer.delayMicros;
        stratum = reply.answer.stratum;
        serverSeconds = reply.answer.serverMicros / 1000000;
    } else {
        const int64_t sentMicros = clock.NowMicros();
        const ServerReply reply = AskTimeServer(*endpoint, address, static_cast<uint16_t>(timeout));
        const int64_t receivedMicros = clock.NowMicros();
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
        serverSeconds = reply.time.seconds;
        before1970 = reply.time.clampedTo1970;
        offsetMicros = (serverSeconds - SystemSecondsNow()) * 1000000;
        delayMicros = receivedMicros - sentMicros;
    }
    const int64_t now = SystemSecondsNow();

    if (args.Has("--json")) {
        JsonWriter json;
        json.BeginObject()
            .String("protocol", ntp ? "ntp" : "time")
            .String("server", DottedQuad(address))
            .Int("port", serverPort)
            .Fixed("offsetMs", offsetMicros, 3)
            .Fixed("delayMs", delayMicros, 3);
        if (ntp) json.Int("stratum", stratum);
        json.EndObject();
        PrintUtf8(json.Text());
    } else {
        std::string out = ServerAddressCaption(address) + "\n";
        out += ServerTimeLine(LocalCivilTime(serverSeconds));
        out += ComputerTimeLine(LocalCivilTime(now));
        char line[128];
        if (!ntp) {
            std::snprintf(line, sizeof line, "drift: %lld s (positive: this computer is ahead)\n",
                          static_cast<long long>(now - serverSeconds));
            out += line;
        }
        out += "protocol: " + std::string(ntp ? "ntp" : "time") + "\n";
        out += "offset: " + SignedSeconds(offsetMicros) + " s (server minus this computer)\n";
        out += "delay: " + SignedSeconds(delayMicros).substr(1) + " s\n";
        if (ntp) out += "stratum: " + std::to_string(stratum) + "\n";
        if (before1970) out += "the server's count lies before 1970\n";
        PrintText(out);
    }
    if (!args.Has("--set")) return 0;

    // Nothing looks at this setting but the user who allowed it: a time that
    // cannot be right is not taken.
    if (before1970 || serverSeconds < static_cast<int64_t>(MIRAVEL_BUILD_UNIX_TIME)) {
        PrintError("the server's time lies before this program was built: clock not set");
        return 4;
    }
    const int64_t offsetMs = (offsetMicros >= 0 ? offsetMicros + 500 : offsetMicros - 500) / 1000;
    const ClockSetStatus status =
        ntp ? CorrectClockMs(clock, offsetMs) : CorrectClock(clock, -offsetMs / 1000);
    switch (status) {
        case ClockSetStatus::kSet:
            PrintText("clock set\n");
            return 0;
        case ClockSetStatus::kNoPrivilege:
            PrintError("no right to set the clock: run as administrator");
            return 3;
        case ClockSetStatus::kFailed:
            break;
    }
    PrintError("the clock could not be set");
    return 1;
}

}  // namespace miravel::cli
