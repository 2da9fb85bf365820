// A bare UDP socket for the test's own fake servers (POSIX or Winsock).
// Addresses are IPv4 in host byte order.
#pragma once

#include <cstdint>

namespace miravel::test {

class TestUdpSocket {
  public:
    // Binds to the dotted address and port (0: any free port).
    TestUdpSocket(const char* address, uint16_t port);
    ~TestUdpSocket();
    TestUdpSocket(const TestUdpSocket&) = delete;
    TestUdpSocket& operator=(const TestUdpSocket&) = delete;

    bool valid() const { return valid_; }
    uint16_t port() const { return port_; }
    // Waits up to `timeoutMs` for one datagram; its length, or -1.
    int Receive(uint8_t* buffer, int size, int timeoutMs, uint32_t* fromAddress,
                uint16_t* fromPort);
    bool SendTo(const uint8_t* data, int size, uint32_t address, uint16_t port);

  private:
    intptr_t handle_ = -1;
    bool valid_ = false;
    uint16_t port_ = 0;
};

}  // namespace miravel::test
