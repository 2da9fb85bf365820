#include "net/win32/time_server_window.h"

#include <ws2tcpip.h>

#include "config/codepage.h"

namespace miravel {

namespace {

constexpr wchar_t kClassName[] = L"Q-UDP";
constexpr int kWindowWidth = 300;

std::wstring Wide(std::string_view cp1254) {
    const std::u16string text = Cp1254ToUtf16(cp1254);
    return std::wstring(text.begin(), text.end());
}

sockaddr_in SocketAddress(uint32_t address, uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(address);
    return a;
}

// Reads or peeks one datagram without blocking (the socket is non-blocking
// once it reports to a window). A datagram longer than the buffer comes
// truncated, which is all the answer needs. -1 when nothing is there.
int ReceiveFrom(SOCKET s, uint8_t* buffer, int size, int flags, uint32_t* fromAddress,
                uint16_t* fromPort) {
    sockaddr_in from{};
    int length = sizeof from;
    int n = recvfrom(s, reinterpret_cast<char*>(buffer), size, flags,
                     reinterpret_cast<sockaddr*>(&from), &length);
    if (n == SOCKET_ERROR) {
        if (WSAGetLastError() != WSAEMSGSIZE) return -1;
        n = size;
    }
    *fromAddress = ntohl(from.sin_addr.s_addr);
    *fromPort = ntohs(from.sin_port);
    return n;
}

}  // namespace

TimeServerWindow::TimeServerWindow(const Options& options) : options_(options) {}

TimeServerWindow::~TimeServerWindow() {
    if (hwnd_) {
        DestroyWindow(hwnd_);  // WM_DESTROY closes the socket and stops Winsock
    } else {
        CloseSocket();
        if (socketsStarted_) WSACleanup();
    }
}

bool TimeServerWindow::CreateTheWindow() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(options_.instance, kClassName, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = options_.instance;
        wc.hIcon = options_.icon ? options_.icon : LoadIconW(options_.instance, L"_icon_");
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kClassName;
        if (!RegisterClassExW(&wc)) return false;
    }
    HWND parent = options_.messageOnly ? HWND_MESSAGE : nullptr;
    hwnd_ = CreateWindowExW(0, kClassName, L"", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0,
                            kWindowWidth, 0, parent, nullptr, options_.instance, this);
    return hwnd_ != nullptr;
}

LRESULT CALLBACK TimeServerWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TimeServerWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && self->hwnd_ == hwnd) return self->Handle(message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT TimeServerWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam != kTimeoutTimer) break;
            KillTimer(hwnd_, kTimeoutTimer);
            wait_.OnTimeout();
            return 0;
        case kSocketMessage:
            // A notification of a socket closed since then is stale.
            if (static_cast<SOCKET>(wParam) != INVALID_SOCKET &&
                (static_cast<SOCKET>(wParam) == socket_ ||
                 static_cast<SOCKET>(wParam) == querySocket_) &&
                WSAGETSELECTEVENT(lParam) == FD_READ)
                OnReadable(static_cast<SOCKET>(wParam));
            return 0;
        case WM_DESTROY:
            OnDestroyed();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void TimeServerWindow::OnReadable(SOCKET s) {
    uint8_t peek[kMaxAnswerBytes];
    uint32_t fromAddress = 0;
    uint16_t fromPort = 0;
    if (s != waitSocket_) {
        // A late answer on the socket no one waits on.
        ReceiveFrom(s, peek, sizeof peek, 0, &fromAddress, &fromPort);
        return;
    }
    if (ReceiveFrom(s, peek, sizeof peek, MSG_PEEK, &fromAddress, &fromPort) < 0) return;
    switch (wait_.OnDatagram(fromAddress, fromPort)) {
        case AnswerWait::Action::kAnswer:
            KillTimer(hwnd_, kTimeoutTimer);  // the datagram stays for the read
            break;
        case AnswerWait::Action::kDrop:
            ReceiveFrom(s, peek, sizeof peek, 0, &fromAddress, &fromPort);
            break;
        case AnswerWait::Action::kLeave:
            break;
    }
}

void TimeServerWindow::OnDestroyed() {
    KillTimer(hwnd_, kTimeoutTimer);
    CloseSocket();
    if (socketsStarted_) WSACleanup();
    socketsStarted_ = false;
    hwnd_ = nullptr;
    wait_.Abandon();
}

void TimeServerWindow::CloseSocket() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = INVALID_SOCKET;
    if (querySocket_ != INVALID_SOCKET) closesocket(querySocket_);
    querySocket_ = INVALID_SOCKET;
    waitSocket_ = INVALID_SOCKET;
}

bool TimeServerWindow::Open() {
    if (!socketsStarted_) {
        WSADATA data;
        if (WSAStartup(MAKEWORD(1, 1), &data) != 0) return false;
        socketsStarted_ = true;
    }
    if (!hwnd_ && !CreateTheWindow()) return false;
    CloseSocket();
    socket_ = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (socket_ == INVALID_SOCKET) return false;
    if (WSAAsyncSelect(socket_, hwnd_, kSocketMessage, FD_READ) != 0) return false;
    const BOOL broadcast = TRUE;
    setsockopt(socket_, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&broadcast),
               sizeof broadcast);
    const sockaddr_in local = SocketAddress(INADDR_ANY, options_.localPort);
    return bind(socket_, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
}

uint32_t TimeServerWindow::LookUpHost(const std::string& name) {
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

namespace {

bool SendOn(SOCKET s, uint32_t address, uint16_t port, const std::vector<uint8_t>& bytes) {
    if (s == INVALID_SOCKET || bytes.empty()) return false;
    const sockaddr_in to = SocketAddress(address, port);
    const int size = static_cast<int>(bytes.size());
    return sendto(s, reinterpret_cast<const char*>(bytes.data()), size, 0,
                  reinterpret_cast<const sockaddr*>(&to), sizeof to) == size;
}

}  // namespace

bool TimeServerWindow::SendRequest(uint32_t address) {
    return SendOn(socket_, address, options_.serverPort, {kTimeRequestByte});
}

// Other requests (SNTP) leave from a port the system chooses, as every NTP
// client's do: networks that filter the time port 37 let them through.
SOCKET TimeServerWindow::QuerySocket() {
    if (querySocket_ != INVALID_SOCKET || !hwnd_) return querySocket_;
    querySocket_ = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (querySocket_ == INVALID_SOCKET) return querySocket_;
    const sockaddr_in local = SocketAddress(INADDR_ANY, 0);
    if (WSAAsyncSelect(querySocket_, hwnd_, kSocketMessage, FD_READ) != 0 ||
        bind(querySocket_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        closesocket(querySocket_);
        querySocket_ = INVALID_SOCKET;
    }
    return querySocket_;
}

bool TimeServerWindow::SendDatagram(uint32_t address, uint16_t port,
                                    const std::vector<uint8_t>& bytes) {
    return SendOn(QuerySocket(), address, port, bytes);
}

AnswerStatus TimeServerWindow::AwaitAnswer(uint32_t address, uint16_t timeoutMs,
                                           std::vector<uint8_t>* datagram) {
    return AwaitOn(socket_, address, options_.serverPort, timeoutMs, datagram);
}

AnswerStatus TimeServerWindow::AwaitAnswerFrom(uint32_t address, uint16_t port, uint16_t timeoutMs,
                                               std::vector<uint8_t>* datagram) {
    return AwaitOn(querySocket_, address, port, timeoutMs, datagram);
}

AnswerStatus TimeServerWindow::AwaitOn(SOCKET s, uint32_t address, uint16_t port,
                                       uint16_t timeoutMs, std::vector<uint8_t>* datagram) {
    datagram->clear();
    if (!hwnd_) return AnswerStatus::kWindowClosed;
    waitSocket_ = s;
    wait_.Start(address, port, timeoutMs);
    if (wait_.waiting() && !SetTimer(hwnd_, kTimeoutTimer, timeoutMs, nullptr)) wait_.OnTimeout();
    // The program's windows, the scheduler's timer among them, keep running
    // here while the answer is awaited.
    while (wait_.waiting()) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit_ = true;
            quitCode_ = static_cast<int>(msg.wParam);
            wait_.Abandon();
            if (hwnd_) KillTimer(hwnd_, kTimeoutTimer);
            return AnswerStatus::kQuit;
        }
        if (got == -1) {
            wait_.Abandon();
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (!hwnd_) return AnswerStatus::kWindowClosed;
    }
    return ReadAnswer(datagram);
}

AnswerStatus TimeServerWindow::ReadAnswer(std::vector<uint8_t>* datagram) {
    if (waitSocket_ == INVALID_SOCKET) return AnswerStatus::kNoAnswer;
    uint8_t buffer[kMaxAnswerBytes];
    // With no time-out, answers of servers asked earlier may still be queued:
    // only the one from the server asked counts.
    for (;;) {
        uint32_t fromAddress = 0;
        uint16_t fromPort = 0;
        const int n = ReceiveFrom(waitSocket_, buffer, sizeof buffer, 0, &fromAddress, &fromPort);
        if (n < 0) return AnswerStatus::kNoAnswer;
        if (wait_.IsFromServer(fromAddress, fromPort)) {
            datagram->assign(buffer, buffer + n);
            return AnswerStatus::kAnswer;
        }
    }
}

bool TimeServerWindow::TakeQuit(int* exitCode) {
    if (!quit_) return false;
    quit_ = false;
    *exitCode = quitCode_;
    return true;
}

void TimeServerWindow::ShowProgress(std::string_view title) {
    if (!hwnd_ || options_.messageOnly) return;
    SetWindowTextW(hwnd_, Wide(title).c_str());
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    SetWindowPos(hwnd_, nullptr, (desktop.right - kWindowWidth) / 2, desktop.bottom / 2,
                 kWindowWidth, 0, SWP_NOZORDER);
    ShowWindow(hwnd_, SW_SHOW);
}

void TimeServerWindow::SetProgressTitle(std::string_view title) {
    if (hwnd_) SetWindowTextW(hwnd_, Wide(title).c_str());
}

void TimeServerWindow::HideProgress() {
    if (hwnd_ && !options_.messageOnly) ShowWindow(hwnd_, SW_HIDE);
}

void TimeServerWindow::ShowSocketError(std::string_view text, std::string_view caption) {
    MessageBoxW(GetActiveWindow(), Wide(text).c_str(), Wide(caption).c_str(), MB_ICONERROR);
}

void TimeServerWindow::ShowMessage(std::string_view text, std::string_view caption, BoxIcon icon) {
    MessageBoxW(hwnd_, Wide(text).c_str(), Wide(caption).c_str(),
                icon == BoxIcon::kError ? MB_ICONERROR : MB_ICONINFORMATION);
}

bool TimeServerWindow::AskYesNo(std::string_view text, std::string_view caption) {
    return MessageBoxW(hwnd_, Wide(text).c_str(), Wide(caption).c_str(),
                       MB_YESNO | MB_ICONINFORMATION) == IDYES;
}

}  // namespace miravel
