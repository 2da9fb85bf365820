#include "net/win32/time_server_window.h"

#include <algorithm>
#include <cstring>

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
            if (wParam == kTimeoutTimer) {
                KillTimer(hwnd_, kTimeoutTimer);
                wait_.OnTimeout();
                return 0;
            }
            if (wParam == kLookUpTimer) {
                KillTimer(hwnd_, kLookUpTimer);
                lookingUp_ = false;  // unanswered: counts as the server's time-out
                return 0;
            }
            break;
        case kSocketMessage:
            // A notification of a socket closed since then is stale.
            if (static_cast<SOCKET>(wParam) != INVALID_SOCKET &&
                static_cast<SOCKET>(wParam) == socket_ && WSAGETSELECTEVENT(lParam) == FD_READ)
                OnReadable(static_cast<SOCKET>(wParam));
            return 0;
        case kLookUpMessage:
            OnLookedUp(reinterpret_cast<HANDLE>(wParam), lParam);
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

void TimeServerWindow::OnLookedUp(HANDLE request, LPARAM result) {
    for (auto it = lookUps_.begin(); it != lookUps_.end(); ++it) {
        if ((*it)->request != request) continue;
        if (request == currentLookUp_ && lookingUp_) {
            const auto* host = reinterpret_cast<const hostent*>((*it)->buffer);
            if (WSAGETASYNCERROR(result) == 0 && host->h_addrtype == AF_INET &&
                host->h_length == 4 && host->h_addr_list && host->h_addr_list[0]) {
                in_addr a;
                std::memcpy(&a, host->h_addr_list[0], sizeof a);
                lookedUpAddress_ = ntohl(a.s_addr);
            }
            lookingUp_ = false;
            KillTimer(hwnd_, kLookUpTimer);
        }
        lookUps_.erase(it);  // an old look-up's late result: its buffer may go now
        return;
    }
}

void TimeServerWindow::OnDestroyed() {
    KillTimer(hwnd_, kTimeoutTimer);
    KillTimer(hwnd_, kLookUpTimer);
    CloseSocket();
    // Look-ups still running write into their buffers when they end; with
    // the window gone no message will say so, so the buffers are left to them.
    for (std::unique_ptr<LookUp>& l : lookUps_)
        static_cast<void>(l.release());
    lookUps_.clear();
    lookingUp_ = false;
    if (socketsStarted_) WSACleanup();
    socketsStarted_ = false;
    hwnd_ = nullptr;
    wait_.Abandon();
}

void TimeServerWindow::CloseSocket() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = INVALID_SOCKET;
}

bool TimeServerWindow::Open() {
    if (!socketsStarted_) {
        WSADATA data;
        if (WSAStartup(MAKEWORD(1, 1), &data) != 0) return false;
        socketsStarted_ = true;
    }
    if (!hwnd_ && !CreateTheWindow()) return false;
    return FreshSocket() != INVALID_SOCKET;
}

// Each request leaves from a new socket on a port the system chooses: no
// fixed port to hold (another user's copy of the program asks too), and an
// answer forged from afar has to hit a port it cannot know. A late answer
// to an earlier request finds its socket closed.
SOCKET TimeServerWindow::FreshSocket() {
    CloseSocket();
    if (!hwnd_) return INVALID_SOCKET;
    socket_ = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (socket_ == INVALID_SOCKET) return socket_;
    const sockaddr_in local = SocketAddress(INADDR_ANY, 0);
    if (WSAAsyncSelect(socket_, hwnd_, kSocketMessage, FD_READ) != 0 ||
        bind(socket_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        CloseSocket();
    return socket_;
}

AnswerStatus TimeServerWindow::LookUpHost(const std::string& name, uint16_t timeoutMs,
                                          uint32_t* address) {
    *address = 0;
    if (!hwnd_) return AnswerStatus::kWindowClosed;
    // With no time to wait, no answer can come.
    if (timeoutMs == 0) return AnswerStatus::kNoAnswer;
    auto lookUp = std::make_unique<LookUp>();
    lookUp->request = WSAAsyncGetHostByName(hwnd_, kLookUpMessage, name.c_str(), lookUp->buffer,
                                            sizeof lookUp->buffer);
    if (lookUp->request == nullptr) return AnswerStatus::kAnswer;  // no address
    currentLookUp_ = lookUp->request;
    lookUps_.push_back(std::move(lookUp));
    lookedUpAddress_ = 0;
    lookingUp_ = true;
    if (!SetTimer(hwnd_, kLookUpTimer, timeoutMs, nullptr)) lookingUp_ = false;
    const AnswerStatus status = PumpWhile([this] { return lookingUp_; });
    lookingUp_ = false;
    if (hwnd_) KillTimer(hwnd_, kLookUpTimer);
    if (status != AnswerStatus::kAnswer) return status;
    // Still running on the time-out: its result, when it comes, only frees its buffer.
    const bool answered = std::none_of(lookUps_.begin(), lookUps_.end(), [this](const auto& l) {
        return l->request == currentLookUp_;
    });
    currentLookUp_ = nullptr;
    if (!answered) return AnswerStatus::kNoAnswer;
    *address = lookedUpAddress_;
    return AnswerStatus::kAnswer;
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
    return SendDatagram(address, options_.serverPort, {kTimeRequestByte});
}

bool TimeServerWindow::SendDatagram(uint32_t address, uint16_t port,
                                    const std::vector<uint8_t>& bytes) {
    return SendOn(FreshSocket(), address, port, bytes);
}

AnswerStatus TimeServerWindow::AwaitAnswer(uint32_t address, uint16_t timeoutMs,
                                           std::vector<uint8_t>* datagram) {
    return AwaitOn(socket_, address, options_.serverPort, timeoutMs, datagram);
}

AnswerStatus TimeServerWindow::AwaitAnswerFrom(uint32_t address, uint16_t port, uint16_t timeoutMs,
                                               std::vector<uint8_t>* datagram) {
    return AwaitOn(socket_, address, port, timeoutMs, datagram);
}

AnswerStatus TimeServerWindow::PumpWhile(const std::function<bool()>& waiting) {
    // The program's windows, the scheduler's timer among them, keep running
    // here while the answer is awaited.
    while (waiting()) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit_ = true;
            quitCode_ = static_cast<int>(msg.wParam);
            return AnswerStatus::kQuit;
        }
        if (got == -1) return AnswerStatus::kNoAnswer;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (!hwnd_) return AnswerStatus::kWindowClosed;
    }
    return AnswerStatus::kAnswer;
}

AnswerStatus TimeServerWindow::AwaitOn(SOCKET s, uint32_t address, uint16_t port,
                                       uint16_t timeoutMs, std::vector<uint8_t>* datagram) {
    datagram->clear();
    if (!hwnd_) return AnswerStatus::kWindowClosed;
    wait_.Start(address, port, timeoutMs);
    if (wait_.waiting() && !SetTimer(hwnd_, kTimeoutTimer, timeoutMs, nullptr)) wait_.OnTimeout();
    const AnswerStatus status = PumpWhile([this] { return wait_.waiting(); });
    if (status == AnswerStatus::kQuit || status == AnswerStatus::kNoAnswer) {
        wait_.Abandon();
        if (hwnd_) KillTimer(hwnd_, kTimeoutTimer);
    }
    if (status == AnswerStatus::kQuit || status == AnswerStatus::kWindowClosed) return status;
    return ReadAnswer(s, datagram);
}

AnswerStatus TimeServerWindow::ReadAnswer(SOCKET s, std::vector<uint8_t>* datagram) {
    if (s == INVALID_SOCKET || s != socket_) return AnswerStatus::kNoAnswer;
    uint8_t buffer[kMaxAnswerBytes];
    // With no time-out, answers of servers asked earlier may still be queued:
    // only the one from the server asked counts.
    for (;;) {
        uint32_t fromAddress = 0;
        uint16_t fromPort = 0;
        const int n = ReceiveFrom(s, buffer, sizeof buffer, 0, &fromAddress, &fromPort);
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
