// The time query endpoint over POSIX sockets.
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>

#include "net/time_endpoint.h"

namespace miravel {

namespace {

class PosixTimeEndpoint final : public TimeEndpoint {
  public:
    explicit PosixTimeEndpoint(uint16_t serverPort) : serverPort_(serverPort) {}
    ~PosixTimeEndpoint() override { Close(); }

    bool Open() override {
        Close();
        fd_ = socket(AF_INET, SOCK_DGRAM, 0);
        if (fd_ < 0) return false;
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = 0;  // a port the system chooses
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        if (bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
            Close();
            return false;
        }
        return true;
    }

    // The command line has no window to keep answering: the system's
    // resolver is asked directly and waited for.
    AnswerStatus LookUpHost(const std::string& name, uint16_t, uint32_t* address) override {
        *address = Resolve(name);
        return AnswerStatus::kAnswer;
    }

    static uint32_t Resolve(const std::string& name) {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_DGRAM;
        addrinfo* found = nullptr;
        if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return 0;
        uint32_t address = 0;
        for (const addrinfo* a = found; a; a = a->ai_next) {
            if (a->ai_family == AF_INET && a->ai_addrlen >= sizeof(sockaddr_in)) {
                address = ntohl(reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr);
                break;
            }
        }
        freeaddrinfo(found);
        return address;
    }

    bool SendRequest(uint32_t address) override {
        return SendDatagram(address, serverPort_, {kTimeRequestByte});
    }

    AnswerStatus AwaitAnswer(uint32_t address, uint16_t timeoutMs,
                             std::vector<uint8_t>* datagram) override {
        return AwaitAnswerFrom(address, serverPort_, timeoutMs, datagram);
    }

    bool SendDatagram(uint32_t address, uint16_t port, const std::vector<uint8_t>& bytes) override {
        if (fd_ < 0) return false;
        // Whatever came in since the last wait is a late answer.
        uint8_t scratch[kMaxAnswerBytes];
        while (recv(fd_, scratch, sizeof scratch, MSG_DONTWAIT) >= 0) {
        }
        const sockaddr_in to = Address(address, port);
        return sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                      sizeof to) == static_cast<ssize_t>(bytes.size());
    }

    AnswerStatus AwaitAnswerFrom(uint32_t address, uint16_t port, uint16_t timeoutMs,
                                 std::vector<uint8_t>* datagram) override {
        datagram->clear();
        if (fd_ < 0) return AnswerStatus::kNoAnswer;
        AnswerWait wait;
        wait.Start(address, port, timeoutMs);
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (wait.waiting()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                wait.OnTimeout();
                break;
            }
            pollfd p{fd_, POLLIN, 0};
            const int ready = poll(&p, 1, static_cast<int>(left.count()));
            if (ready < 0 && errno != EINTR) return AnswerStatus::kNoAnswer;
            if (ready <= 0) continue;
            uint32_t fromAddress = 0;
            uint16_t fromPort = 0;
            uint8_t peek[1];
            if (Receive(peek, sizeof peek, MSG_PEEK, &fromAddress, &fromPort) < 0) continue;
            if (wait.OnDatagram(fromAddress, fromPort) == AnswerWait::Action::kDrop)
                Receive(peek, sizeof peek, 0, &fromAddress, &fromPort);
        }
        return ReadAnswer(wait, datagram);
    }

  private:
    static sockaddr_in Address(uint32_t address, uint16_t port) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(address);
        return a;
    }

    ssize_t Receive(uint8_t* buffer, size_t size, int flags, uint32_t* fromAddress,
                    uint16_t* fromPort) {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n = recvfrom(fd_, buffer, size, flags | MSG_DONTWAIT,
                                   reinterpret_cast<sockaddr*>(&from), &length);
        if (n >= 0) {
            *fromAddress = ntohl(from.sin_addr.s_addr);
            *fromPort = ntohs(from.sin_port);
        }
        return n;
    }

    // Reads what is queued: the first datagram of the server asked is the
    // answer, anything from elsewhere is dropped on the way.
    AnswerStatus ReadAnswer(const AnswerWait& wait, std::vector<uint8_t>* datagram) {
        uint8_t buffer[kMaxAnswerBytes];
        for (;;) {
            uint32_t fromAddress = 0;
            uint16_t fromPort = 0;
            const ssize_t n = Receive(buffer, sizeof buffer, 0, &fromAddress, &fromPort);
            if (n < 0) return AnswerStatus::kNoAnswer;
            if (wait.IsFromServer(fromAddress, fromPort)) {
                datagram->assign(buffer, buffer + n);
                return AnswerStatus::kAnswer;
            }
        }
    }

    void Close() override {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

    uint16_t serverPort_;
    int fd_ = -1;
};

}  // namespace

std::unique_ptr<TimeEndpoint> MakeTimeEndpoint(uint16_t serverPort) {
    return std::make_unique<PosixTimeEndpoint>(serverPort);
}

int64_t SystemSecondsNow() {
    return static_cast<int64_t>(std::time(nullptr));
}

int64_t SystemMillisecondsNow() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

int64_t SystemMicrosecondsNow() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

void SystemClock::AnnounceChange() {}

ClockSetStatus SetSystemClockMs(int64_t) {
    // Here the system's own time service keeps the clock; this program never
    // sets it (and a test run as root must not be able to).
    return ClockSetStatus::kNoPrivilege;
}

CivilTime LocalCivilTime(int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    CivilTime c;
    if (localtime_r(&t, &tm) == nullptr) return c;
    c.year = tm.tm_year + 1900;
    c.month = tm.tm_mon + 1;
    c.day = tm.tm_mday;
    c.hour = tm.tm_hour;
    c.minute = tm.tm_min;
    c.second = tm.tm_sec;
    return c;
}

}  // namespace miravel
