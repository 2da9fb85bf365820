#include "net/clock_check.h"

#include <cstdio>

namespace miravel {

namespace {

std::string TimeLine(const char* format, const CivilTime& t) {
    char line[96];
    std::snprintf(line, sizeof line, format, t.day, t.month, t.year, t.hour, t.minute, t.second);
    return line;
}

}  // namespace

std::string ServerTimeLine(const CivilTime& t) {
    return TimeLine("Internet Saati :  %02d/%02d/%04d     %02d:%02d:%02d\n", t);
}

std::string ComputerTimeLine(const CivilTime& t) {
    return TimeLine("PC'nizin Saati :  %02d/%02d/%04d     %02d:%02d:%02d\n", t);
}

std::string ComparisonText(const CivilTime& server, const CivilTime& computer, int64_t drift) {
    std::string text = ServerTimeLine(server) + ComputerTimeLine(computer);
    if (drift != 0) {
        char sentence[96];
        std::snprintf(sentence, sizeof sentence,
                      "\nPC'nizin saati  %lld saniye kaymış !\nDüzeltmek ister misiniz ?\n",
                      static_cast<long long>(drift));
        text += sentence;
    } else {
        text += "\nPC'nizin saati  düzeltme gerektirmiyor...\n";
    }
    return text;
}

std::string ComparisonTextMs(const CivilTime& server, const CivilTime& computer, int64_t driftMs) {
    std::string text = ServerTimeLine(server) + ComputerTimeLine(computer);
    if (driftMs >= kNtpInSyncMs || driftMs <= -kNtpInSyncMs) {
        const int64_t magnitude = driftMs < 0 ? -driftMs : driftMs;
        char sentence[112];
        std::snprintf(
            sentence, sizeof sentence,
            "\nPC'nizin saati  %s%lld,%03lld saniye kaymış !\nDüzeltmek ister misiniz ?\n",
            driftMs < 0 ? "-" : "", static_cast<long long>(magnitude / 1000),
            static_cast<long long>(magnitude % 1000));
        text += sentence;
    } else {
        text += "\nPC'nizin saati  düzeltme gerektirmiyor...\n";
    }
    return text;
}

std::string ServerAddressCaption(uint32_t address) {
    return "Sunucu Adresi : " + DottedQuad(address);
}

uint32_t ResolveServer(TimeEndpoint& endpoint, std::string_view name, uint16_t timeoutMs,
                       AnswerStatus* status) {
    if (status) *status = AnswerStatus::kAnswer;
    uint32_t address = 0;
    switch (ClassifyServerName(name, &address)) {
        case ServerNameKind::kEmpty:
        case ServerNameKind::kBroadcast:
        case ServerNameKind::kDotted:
            return address;
        case ServerNameKind::kHostName:
            break;
    }
    const AnswerStatus looked = endpoint.LookUpHost(std::string(name), timeoutMs, &address);
    if (status) *status = looked;
    return looked == AnswerStatus::kAnswer ? address : 0;
}

ServerReply AskTimeServer(TimeEndpoint& endpoint, uint32_t address, uint16_t timeoutMs,
                          uint16_t port) {
    ServerReply reply;
    // Answers are taken only from the address asked, so a broadcast could
    // never be answered; and letting any machine of the network set the
    // clock is not wanted either.
    if (address == 0 || address == kBroadcastAddress) {
        reply.status = ServerReply::Status::kNoAddress;
        return reply;
    }
    const bool sent = port == 0 ? endpoint.SendRequest(address)
                                : endpoint.SendDatagram(address, port, {kTimeRequestByte});
    if (!sent) {
        reply.status = ServerReply::Status::kSendFailed;
        return reply;
    }
    std::vector<uint8_t> datagram;
    const AnswerStatus status = port == 0
                                    ? endpoint.AwaitAnswer(address, timeoutMs, &datagram)
                                    : endpoint.AwaitAnswerFrom(address, port, timeoutMs, &datagram);
    switch (status) {
        case AnswerStatus::kAnswer:
            break;
        case AnswerStatus::kNoAnswer:
            reply.status = ServerReply::Status::kNoAnswer;
            return reply;
        case AnswerStatus::kWindowClosed:
            reply.status = ServerReply::Status::kWindowClosed;
            return reply;
        case AnswerStatus::kQuit:
            reply.status = ServerReply::Status::kQuit;
            return reply;
    }
    reply.status = DecodeTimeAnswer(datagram.data(), datagram.size(), &reply.time)
                       ? ServerReply::Status::kAnswered
                       : ServerReply::Status::kShortAnswer;
    return reply;
}

NtpReply AskNtpServer(TimeEndpoint& endpoint, ComputerClock& clock, uint32_t address, uint16_t port,
                      uint16_t timeoutMs) {
    NtpReply reply;
    if (address == 0 || address == kBroadcastAddress) {
        reply.status = NtpReply::Status::kNoAddress;
        return reply;
    }
    const NtpTimestamp transmit = RandomTransmitValue();
    const int64_t sentMicros = clock.NowMicros();
    if (!endpoint.SendDatagram(address, port, MakeSntpRequest(transmit))) {
        reply.status = NtpReply::Status::kSendFailed;
        return reply;
    }
    // A datagram with the server's address that does not echo our value is
    // someone else's (forged, or an answer to an earlier request): the wait
    // goes on for the real one within the same time-out.
    uint16_t left = timeoutMs;
    for (;;) {
        std::vector<uint8_t> datagram;
        switch (endpoint.AwaitAnswerFrom(address, port, left, &datagram)) {
            case AnswerStatus::kAnswer:
                break;
            case AnswerStatus::kNoAnswer:
                reply.status = NtpReply::Status::kNoAnswer;
                return reply;
            case AnswerStatus::kWindowClosed:
                reply.status = NtpReply::Status::kWindowClosed;
                return reply;
            case AnswerStatus::kQuit:
                reply.status = NtpReply::Status::kQuit;
                return reply;
        }
        const int64_t receivedMicros = clock.NowMicros();
        reply.answer = DecodeSntpAnswer(datagram.data(), datagram.size(), transmit, sentMicros,
                                        receivedMicros);
        switch (reply.answer.status) {
            case SntpAnswer::Status::kAccepted:
                reply.status = NtpReply::Status::kAnswered;
                return reply;
            case SntpAnswer::Status::kKissOfDeath:
                reply.status = NtpReply::Status::kKissOfDeath;
                return reply;
            case SntpAnswer::Status::kWrongOrigin:
            case SntpAnswer::Status::kTooShort:
            case SntpAnswer::Status::kWrongMode:
                break;  // not the answer to this request: wait on
            default:
                reply.status = NtpReply::Status::kRefused;
                return reply;
        }
        const int64_t elapsed = (receivedMicros - sentMicros) / 1000;
        if (timeoutMs == 0 || elapsed < 0 || elapsed >= timeoutMs) {
            reply.status = NtpReply::Status::kRefused;
            return reply;
        }
        left = static_cast<uint16_t>(timeoutMs - elapsed);
    }
}

ClockSetStatus CorrectClock(ComputerClock& clock, int64_t drift) {
    // Setting the clock at the start of a second keeps the fraction the
    // computer had: the new clock starts exactly at a whole second.
    const int64_t start = clock.Now();
    int64_t next = start;
    while (next == start)
        next = clock.Now();
    const ClockSetStatus status = clock.SetMs((next - drift) * 1000);
    if (status == ClockSetStatus::kSet) clock.AnnounceChange();
    return status;
}

ClockSetStatus CorrectClockMs(ComputerClock& clock, int64_t offsetMs) {
    const ClockSetStatus status = clock.SetMs(clock.NowMs() + offsetMs);
    if (status == ClockSetStatus::kSet) clock.AnnounceChange();
    return status;
}

std::string ElevatedClockAdjustArguments(int64_t offsetMs) {
    // No profile (the user's own scripts), no module looked up along the
    // module path (which starts in the user's documents): the cmdlet comes
    // from the module in PowerShell's own folder, by its full name. Any
    // error ends the process with exit code 1.
    char text[400];
    std::snprintf(text, sizeof text,
                  "-NoProfile -NonInteractive -NoLogo -WindowStyle Hidden -Command "
                  "\"$ErrorActionPreference='Stop'; "
                  "Import-Module -Force -Name ($PSHOME + "
                  "'\\Modules\\Microsoft.PowerShell.Utility\\Microsoft.PowerShell.Utility.psd1'); "
                  "Microsoft.PowerShell.Utility\\Set-Date -Adjust "
                  "([TimeSpan]::FromMilliseconds(%lld)) | Out-Null\"",
                  static_cast<long long>(offsetMs));
    return text;
}

bool SilentCorrectionAllowance::Allows(int64_t stepMs, int64_t steadyMs) const {
    int64_t total = stepMs < 0 ? -stepMs : stepMs;
    for (const Step& step : steps_)
        if (steadyMs - step.steadyMs < kAllowanceWindowMs) total += step.sizeMs;
    return total <= kSilentDailyAllowanceMs;
}

void SilentCorrectionAllowance::Record(int64_t stepMs, int64_t steadyMs) {
    std::erase_if(
        steps_, [steadyMs](const Step& s) { return steadyMs - s.steadyMs >= kAllowanceWindowMs; });
    steps_.push_back({steadyMs, stepMs < 0 ? -stepMs : stepMs});
}

namespace {

int64_t FloorDivMs(int64_t ms) {
    return ms / 1000 - ((ms % 1000 != 0) && ms < 0);
}

// What follows a refused or failed set: the interactive mode says so and,
// where the refusal is for want of rights, offers to set the clock with
// administrator rights from the same server.
ClockCheckOutcome AfterSet(ClockSetStatus status, const ClockCheckRequest& request,
                           const ClockCheckResult& result, ComputerClock& clock, ClockCheckUi& ui) {
    if (status == ClockSetStatus::kSet) return ClockCheckOutcome::kCorrected;
    if (request.silent)
        return status == ClockSetStatus::kNoPrivilege ? ClockCheckOutcome::kNoPrivilege
                                                      : ClockCheckOutcome::kSetRefused;
    if (status == ClockSetStatus::kFailed) {
        ui.ShowMessage(kSetFailedText, kClockCheckCaption, BoxIcon::kError);
        return ClockCheckOutcome::kSetRefused;
    }
    if (request.elevation == nullptr) {
        ui.ShowMessage(kNoAdministratorText, kClockCheckCaption, BoxIcon::kError);
        return ClockCheckOutcome::kSetRefused;
    }
    if (!ui.AskYesNo(kNeedAdministratorText, kClockCheckCaption))
        return ClockCheckOutcome::kSetRefused;
    switch (request.elevation->SetClockAsAdministrator(result.offsetMs)) {
        case ElevatedSetStatus::kSet:
            clock.AnnounceChange();
            ui.ShowMessage(kSetAsAdministratorText, kClockCheckCaption, BoxIcon::kInformation);
            return ClockCheckOutcome::kCorrectedAsAdministrator;
        case ElevatedSetStatus::kCancelled:
            return ClockCheckOutcome::kSetRefused;
        case ElevatedSetStatus::kFailed:
            break;
    }
    ui.ShowMessage(kSetFailedText, kClockCheckCaption, BoxIcon::kError);
    return ClockCheckOutcome::kSetRefused;
}

// What the silent mode makes of one usable answer: take it, pass on to the
// next server (a step too large for one server and none agreeing yet), or
// stop (the step would pass the day's allowance).
enum class SilentVerdict { kTake, kAskNext, kStop };

struct SilentAnswer {
    uint32_t address;
    int64_t stepMs;
};

SilentVerdict JudgeSilentStep(const ClockCheckRequest& request, uint32_t address, int64_t stepMs,
                              bool computerSurelyWrong, std::vector<SilentAnswer>* earlier,
                              ClockCheckOutcome* outcome) {
    const int64_t size = stepMs < 0 ? -stepMs : stepMs;
    if (size > kSilentLoneStepMs) {
        bool agreed = false;
        for (const SilentAnswer& a : *earlier) {
            const int64_t apart = a.stepMs - stepMs;
            if (a.address != address && apart <= kServersAgreeMs && apart >= -kServersAgreeMs)
                agreed = true;
        }
        if (!agreed) {
            earlier->push_back({address, stepMs});
            *outcome = ClockCheckOutcome::kUnconfirmed;
            return SilentVerdict::kAskNext;
        }
    }
    if (!computerSurelyWrong && request.allowance &&
        !request.allowance->Allows(stepMs, request.steadyMs)) {
        *outcome = ClockCheckOutcome::kBeyondAllowance;
        return SilentVerdict::kStop;
    }
    return SilentVerdict::kTake;
}

}  // namespace

ClockCheckResult RunClockCheck(const TimeServers& servers, const ClockCheckRequest& request,
                               TimeEndpoint& endpoint, ComputerClock& clock, ClockCheckUi& ui) {
    ClockCheckResult result;
    const bool interactive = !request.silent;
    // Without a socket the silent mode still walks the list: every send fails
    // and the check ends without a word.
    if (!endpoint.Open() && interactive) {
        endpoint.Close();
        ui.ShowSocketError(kSocketErrorText, kClockCheckCaption);
        result.outcome = ClockCheckOutcome::kSocketFailed;
        return result;
    }
    if (interactive) ui.ShowProgress(kClockCheckCaption);

    bool answered = false;
    bool stopped = false;
    std::vector<SilentAnswer> unconfirmed;  // silent: large steps no second server agreed with yet
    ClockCheckOutcome silentRefusal = ClockCheckOutcome::kNoAnswer;
    for (const std::string& raw : servers.hosts) {
        if (!ui.WindowExists()) {
            result.outcome = ClockCheckOutcome::kWindowClosed;
            stopped = true;
            break;
        }
        const std::string name = raw.substr(0, kMaxServerNameChars);
        if (name.empty()) continue;
        ServerEntry entry;
        const bool parsed = ParseServerEntry(name, &entry);
        ui.SetProgressTitle(name);
        // A resolver that does not answer costs this server's time-out, no more.
        AnswerStatus looked = AnswerStatus::kAnswer;
        const uint32_t address =
            parsed ? ResolveServer(endpoint, entry.host, servers.timeoutMs, &looked) : 0;
        if (looked == AnswerStatus::kWindowClosed || looked == AnswerStatus::kQuit) {
            result.outcome = looked == AnswerStatus::kQuit ? ClockCheckOutcome::kQuit
                                                           : ClockCheckOutcome::kWindowClosed;
            stopped = true;
            break;
        }
        const bool ntp = entry.protocol == TimeProtocol::kNtp;
        const uint16_t port = ntp ? PortOf(entry) : entry.port;  // 0: the endpoint's own

        ServerTime time;
        int64_t offsetMs = 0;  // server minus computer, SNTP
        NtpReply ntpReply;
        if (ntp) {
            const int64_t nowMs = clock.NowMs();
            if (request.kissOfDeath && request.kissOfDeath->Blocked(address, port, nowMs)) continue;
            ntpReply = AskNtpServer(endpoint, clock, address, port, servers.timeoutMs);
            if (ntpReply.status == NtpReply::Status::kKissOfDeath) {
                const int64_t hold = KissOfDeathHoldMillis(ntpReply.answer);
                if (request.kissOfDeath)
                    request.kissOfDeath->Add(
                        address, port,
                        hold == KissOfDeathList::kForever ? hold : clock.NowMs() + hold);
                continue;
            }
            if (ntpReply.status == NtpReply::Status::kWindowClosed ||
                ntpReply.status == NtpReply::Status::kQuit) {
                result.outcome = ntpReply.status == NtpReply::Status::kQuit
                                     ? ClockCheckOutcome::kQuit
                                     : ClockCheckOutcome::kWindowClosed;
                stopped = true;
                break;
            }
            if (ntpReply.status != NtpReply::Status::kAnswered) continue;
            offsetMs = ntpReply.answer.offsetMicros >= 0
                           ? (ntpReply.answer.offsetMicros + 500) / 1000
                           : -((-ntpReply.answer.offsetMicros + 500) / 1000);
        } else {
            const ServerReply reply = AskTimeServer(endpoint, address, servers.timeoutMs, port);
            if (reply.status == ServerReply::Status::kWindowClosed) {
                result.outcome = ClockCheckOutcome::kWindowClosed;
                stopped = true;
                break;
            }
            if (reply.status == ServerReply::Status::kQuit) {
                result.outcome = ClockCheckOutcome::kQuit;
                stopped = true;
                break;
            }
            if (reply.status != ServerReply::Status::kAnswered) continue;
            time = reply.time;
        }

        const int64_t nowMs = clock.NowMs();
        const int64_t serverMs = ntp ? nowMs + offsetMs : int64_t{time.seconds} * 1000;
        // Nobody looks at a silent correction, so it must not take a time
        // that cannot be right; the next server may do better.
        if (request.silent && (time.clampedTo1970 || serverMs < request.notBefore * 1000)) continue;
        const int64_t now = ntp ? FloorDivMs(nowMs) : clock.Now();
        const int64_t jumpMs = ntp ? offsetMs : (int64_t{time.seconds} - now) * 1000;
        const bool inSync =
            ntp ? (offsetMs < kNtpInSyncMs && offsetMs > -kNtpInSyncMs) : jumpMs == 0;
        if (request.silent && !inSync) {
            const SilentVerdict verdict =
                JudgeSilentStep(request, address, jumpMs, nowMs < request.notBefore * 1000,
                                &unconfirmed, &silentRefusal);
            if (verdict == SilentVerdict::kAskNext) continue;
            if (verdict == SilentVerdict::kStop) {
                result.outcome = silentRefusal;
                stopped = true;
                break;
            }
        }

        answered = true;
        result.server = name;
        result.address = address;
        result.protocol = entry.protocol;
        result.port = ntp ? port : PortOf(entry);
        result.offsetMs = jumpMs;
        if (ntp) {
            result.delayMs = (ntpReply.answer.delayMicros + 500) / 1000;
            result.stratum = ntpReply.answer.stratum;
            const int64_t serverSeconds = FloorDivMs(serverMs);
            time.seconds = static_cast<int32_t>(
                serverSeconds < 0 ? 0 : (serverSeconds > INT32_MAX ? INT32_MAX : serverSeconds));
            result.drift = -offsetMs / 1000;
        } else {
            result.drift = now - time.seconds;
        }
        result.serverTime = time;
        const std::string text =
            ntp ? ComparisonTextMs(clock.ToLocal(FloorDivMs(serverMs)), clock.ToLocal(now),
                                   -offsetMs)
                : ComparisonText(clock.ToLocal(time.seconds), clock.ToLocal(now), result.drift);
        const std::string caption = ServerAddressCaption(address);
        if (inSync) {
            if (interactive) ui.ShowMessage(text, caption, BoxIcon::kInformation);
            result.outcome = ClockCheckOutcome::kInSync;
        } else if (request.silent || ui.AskYesNo(text, caption)) {
            const ClockSetStatus status =
                ntp ? CorrectClockMs(clock, offsetMs) : CorrectClock(clock, result.drift);
            result.outcome = AfterSet(status, request, result, clock, ui);
            if (request.silent && status == ClockSetStatus::kSet && request.allowance &&
                nowMs >= request.notBefore * 1000)
                request.allowance->Record(jumpMs, request.steadyMs);
        } else {
            result.outcome = ClockCheckOutcome::kDeclined;
        }
        break;
    }

    if (!answered && !stopped) {
        result.outcome = silentRefusal;
        if (interactive) ui.ShowMessage(kNoServerAnsweredText, kClockCheckCaption, BoxIcon::kError);
    }
    endpoint.Close();
    ui.HideProgress();
    return result;
}

}  // namespace miravel
