#ifndef _WIN32

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "net/test_udp.h"

namespace miravel::test {

TestUdpSocket::TestUdpSocket(const char* address, uint16_t port) {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) return;
    handle_ = fd;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    if (inet_pton(AF_INET, address, &a.sin_addr) != 1) return;
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return;
    socklen_t length = sizeof a;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) != 0) return;
    port_ = ntohs(a.sin_port);
    valid_ = true;
}

TestUdpSocket::~TestUdpSocket() {
    if (handle_ >= 0) close(static_cast<int>(handle_));
}

int TestUdpSocket::Receive(uint8_t* buffer, int size, int timeoutMs, uint32_t* fromAddress,
                           uint16_t* fromPort) {
    pollfd p{static_cast<int>(handle_), POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return -1;
    sockaddr_in from{};
    socklen_t length = sizeof from;
    const ssize_t n = recvfrom(static_cast<int>(handle_), buffer, static_cast<size_t>(size), 0,
                               reinterpret_cast<sockaddr*>(&from), &length);
    if (n < 0) return -1;
    *fromAddress = ntohl(from.sin_addr.s_addr);
    *fromPort = ntohs(from.sin_port);
    return static_cast<int>(n);
}

bool TestUdpSocket::SendTo(const uint8_t* data, int size, uint32_t address, uint16_t port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(address);
    return sendto(static_cast<int>(handle_), data, static_cast<size_t>(size), 0,
                  reinterpret_cast<sockaddr*>(&to), sizeof to) == size;
}

}  // namespace miravel::test

#endif
