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

std::string ServerAddressCaption(uint32_t address) {
    return "Sunucu Adresi : " + DottedQuad(address);
}

uint32_t ResolveServer(TimeEndpoint& endpoint, std::string_view name) {
    uint32_t address = 0;
    switch (ClassifyServerName(name, &address)) {
        case ServerNameKind::kEmpty:
        case ServerNameKind::kBroadcast:
        case ServerNameKind::kDotted:
            return address;
        case ServerNameKind::kHostName:
            break;
    }
    return endpoint.LookUpHost(std::string(name));
}

ServerReply AskTimeServer(TimeEndpoint& endpoint, uint32_t address, uint16_t timeoutMs) {
    ServerReply reply;
    // Answers are taken only from the address asked, so a broadcast could
    // never be answered; and letting any machine of the network set the
    // clock is not wanted either.
    if (address == 0 || address == kBroadcastAddress) {
        reply.status = ServerReply::Status::kNoAddress;
        return reply;
    }
    if (!endpoint.SendRequest(address)) {
        reply.status = ServerReply::Status::kSendFailed;
        return reply;
    }
    std::vector<uint8_t> datagram;
    switch (endpoint.AwaitAnswer(address, timeoutMs, &datagram)) {
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

bool CorrectClock(ComputerClock& clock, int64_t drift) {
    // Setting the clock at the start of a second keeps the fraction the
    // computer had: the new clock starts exactly at a whole second.
    const int64_t start = clock.Now();
    int64_t next = start;
    while (next == start)
        next = clock.Now();
    if (!clock.Set(next - drift)) return false;
    clock.AnnounceChange();
    return true;
}

ClockCheckResult RunClockCheck(const TimeServers& servers, const ClockCheckRequest& request,
                               TimeEndpoint& endpoint, ComputerClock& clock, ClockCheckUi& ui) {
    ClockCheckResult result;
    const bool interactive = !request.silent;
    // Without a socket the silent mode still walks the list: every send fails
    // and the check ends without a word.
    if (!endpoint.Open() && interactive) {
        ui.ShowSocketError(kSocketErrorText, kClockCheckCaption);
        result.outcome = ClockCheckOutcome::kSocketFailed;
        return result;
    }
    if (interactive) ui.ShowProgress(kClockCheckCaption);

    bool answered = false;
    bool stopped = false;
    for (const std::string& entry : servers.hosts) {
        if (!ui.WindowExists()) {
            result.outcome = ClockCheckOutcome::kWindowClosed;
            stopped = true;
            break;
        }
        const std::string name = entry.substr(0, kMaxServerNameChars);
        if (name.empty()) continue;
        const uint32_t address = ResolveServer(endpoint, name);
        ui.SetProgressTitle(name);
        const ServerReply reply = AskTimeServer(endpoint, address, servers.timeoutMs);
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
        // Nobody looks at a silent correction, so it must not take a time
        // that cannot be right; the next server may do better.
        if (request.silent && (reply.time.clampedTo1970 || reply.time.seconds < request.notBefore))
            continue;

        answered = true;
        result.server = name;
        result.address = address;
        result.serverTime = reply.time;
        const int64_t now = clock.Now();
        result.drift = now - reply.time.seconds;
        const std::string text =
            ComparisonText(clock.ToLocal(reply.time.seconds), clock.ToLocal(now), result.drift);
        const std::string caption = ServerAddressCaption(address);
        if (result.drift == 0) {
            if (interactive) ui.ShowMessage(text, caption, BoxIcon::kInformation);
            result.outcome = ClockCheckOutcome::kInSync;
        } else if (request.silent || ui.AskYesNo(text, caption)) {
            result.outcome = CorrectClock(clock, result.drift) ? ClockCheckOutcome::kCorrected
                                                               : ClockCheckOutcome::kSetRefused;
        } else {
            result.outcome = ClockCheckOutcome::kDeclined;
        }
        break;
    }

    if (!answered && !stopped) {
        result.outcome = ClockCheckOutcome::kNoAnswer;
        if (interactive) ui.ShowMessage(kNoServerAnsweredText, kClockCheckCaption, BoxIcon::kError);
    }
    ui.HideProgress();
    return result;
}

}  // namespace miravel
