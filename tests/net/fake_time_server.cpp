#include "net/fake_time_server.h"

#include <chrono>

namespace miravel::test {

std::vector<uint8_t> CountBytes(uint32_t secondsSince1900) {
    return {static_cast<uint8_t>(secondsSince1900 >> 24),
            static_cast<uint8_t>(secondsSince1900 >> 16),
            static_cast<uint8_t>(secondsSince1900 >> 8), static_cast<uint8_t>(secondsSince1900)};
}

FakeTimeServer::FakeTimeServer(const char* address, uint16_t port,
                               std::vector<ScriptedReply> replies)
    : socket_(address, port), replies_(std::move(replies)) {
    if (!socket_.valid()) return;
    for (const ScriptedReply& reply : replies_) {
        strangers_.push_back(reply.fromAddress.empty()
                                 ? nullptr
                                 : std::make_unique<TestUdpSocket>(reply.fromAddress.c_str(), 0));
    }
    thread_ = std::thread([this] { Serve(); });
}

FakeTimeServer::~FakeTimeServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

std::vector<uint8_t> FakeTimeServer::lastRequest() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastRequest_;
}

namespace {

bool WaitForCount(const std::atomic<int>& count, int n, int timeoutMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (count < n) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace

bool FakeTimeServer::WaitForRequests(int n, int timeoutMs) const {
    return WaitForCount(requests_, n, timeoutMs);
}

bool FakeTimeServer::WaitForReplies(int n, int timeoutMs) const {
    return WaitForCount(repliesSent_, n, timeoutMs);
}

void FakeTimeServer::Serve() {
    while (!stop_) {
        uint8_t buffer[512];
        uint32_t fromAddress = 0;
        uint16_t fromPort = 0;
        const int n = socket_.Receive(buffer, sizeof buffer, 20, &fromAddress, &fromPort);
        if (n < 0) continue;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            lastRequest_.assign(buffer, buffer + n);
        }
        ++requests_;
        for (size_t i = 0; i < replies_.size() && !stop_; ++i) {
            while (replies_[i].held && !released_ && !stop_)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            const auto until =
                std::chrono::steady_clock::now() + std::chrono::milliseconds(replies_[i].delayMs);
            while (!stop_ && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            TestUdpSocket& from = strangers_[i] ? *strangers_[i] : socket_;
            const std::vector<uint8_t>& bytes = replies_[i].bytes;
            if (from.SendTo(bytes.data(), static_cast<int>(bytes.size()), fromAddress, fromPort))
                ++repliesSent_;
        }
    }
}

ServerPair MakeServerPair(const char* firstAddress, std::vector<ScriptedReply> firstReplies,
                          const char* secondAddress, std::vector<ScriptedReply> secondReplies) {
    ServerPair pair;
    for (int attempt = 0; attempt < 20; ++attempt) {
        pair.first = std::make_unique<FakeTimeServer>(firstAddress, 0, firstReplies);
        if (!pair.first->ready()) continue;
        pair.second =
            std::make_unique<FakeTimeServer>(secondAddress, pair.first->port(), secondReplies);
        if (pair.second->ready()) return pair;
    }
    pair.first.reset();
    pair.second.reset();
    return pair;
}

}  // namespace miravel::test
