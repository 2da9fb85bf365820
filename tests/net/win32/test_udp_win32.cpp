#ifdef _WIN32

#include <winsock2.h>
#include <ws2tcpip.h>

#include "net/test_udp.h"

namespace miravel::test {

TestUdpSocket::TestUdpSocket(const char* address, uint16_t port) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
    const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) {
        WSACleanup();
        return;
    }
    handle_ = static_cast<intptr_t>(s);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = inet_addr(address);
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return;
    int length = sizeof a;
    if (getsockname(s, reinterpret_cast<sockaddr*>(&a), &length) != 0) return;
    port_ = ntohs(a.sin_port);
    valid_ = true;
}

TestUdpSocket::~TestUdpSocket() {
    if (handle_ == -1) return;
    closesocket(static_cast<SOCKET>(handle_));
    WSACleanup();
}

int TestUdpSocket::Receive(uint8_t* buffer, int size, int timeoutMs, uint32_t* fromAddress,
                           uint16_t* fromPort) {
    const SOCKET s = static_cast<SOCKET>(handle_);
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    if (select(0, &readable, nullptr, nullptr, &timeout) <= 0) return -1;
    sockaddr_in from{};
    int length = sizeof from;
    const int n = recvfrom(s, reinterpret_cast<char*>(buffer), size, 0,
                           reinterpret_cast<sockaddr*>(&from), &length);
    if (n == SOCKET_ERROR) return -1;
    *fromAddress = ntohl(from.sin_addr.s_addr);
    *fromPort = ntohs(from.sin_port);
    return n;
}

bool TestUdpSocket::SendTo(const uint8_t* data, int size, uint32_t address, uint16_t port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(address);
    return sendto(static_cast<SOCKET>(handle_), reinterpret_cast<const char*>(data), size, 0,
                  reinterpret_cast<sockaddr*>(&to), sizeof to) == size;
}

}  // namespace miravel::test

#endif
