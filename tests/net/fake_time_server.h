// A scripted Time Protocol server on a loopback address, answering every
// request with the replies it was given: late, short, from a stranger, with
// any count. Runs on its own thread until destroyed.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/test_udp.h"

namespace miravel::test {

struct ScriptedReply {
    std::vector<uint8_t> bytes;
    int delayMs = 0;  // after the request (or after the previous reply)
    // Sent from another socket: this address, any port ("" = the server's own socket).
    std::string fromAddress;
    // Held back until the test calls Release(), so that a test decides what
    // is queued at the client when it reads, whatever the threads' speed.
    bool held = false;
};

// The four big-endian bytes of a count of seconds since 1900.
std::vector<uint8_t> CountBytes(uint32_t secondsSince1900);

class FakeTimeServer {
  public:
    FakeTimeServer(const char* address, uint16_t port, std::vector<ScriptedReply> replies);
    ~FakeTimeServer();

    bool ready() const { return socket_.valid(); }
    uint16_t port() const { return socket_.port(); }
    int requests() const { return requests_; }
    int repliesSent() const { return repliesSent_; }
    std::vector<uint8_t> lastRequest() const;
    // Lets the held replies go.
    void Release() { released_ = true; }
    // Waits until at least `n` requests came in / `n` replies were sent;
    // false after `timeoutMs`.
    bool WaitForRequests(int n, int timeoutMs) const;
    bool WaitForReplies(int n, int timeoutMs) const;

  private:
    void Serve();

    TestUdpSocket socket_;
    std::vector<ScriptedReply> replies_;
    std::vector<std::unique_ptr<TestUdpSocket>> strangers_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> released_{false};
    std::atomic<int> requests_{0};
    std::atomic<int> repliesSent_{0};
    mutable std::mutex mutex_;
    std::vector<uint8_t> lastRequest_;
    std::thread thread_;
};

// Two servers on the same port number at two loopback addresses, as two
// real time servers would be (both on port 37).
struct ServerPair {
    std::unique_ptr<FakeTimeServer> first, second;
};
ServerPair MakeServerPair(const char* firstAddress, std::vector<ScriptedReply> firstReplies,
                          const char* secondAddress, std::vector<ScriptedReply> secondReplies);

}  // namespace miravel::test
