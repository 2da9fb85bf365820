// The time-server window "Q-UDP": it owns the Winsock socket of the time
// queries, receives its read notifications (message 1025), the results of
// the name look-ups (message 1026) and the time-outs of both (timers 1 and
// 2), runs the waits' own message loop, and doubles as the caption-only
// progress window and the owner of the boxes.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "net/clock_check.h"
#include "net/time_protocol.h"

namespace miravel {

class TimeServerWindow final : public TimeEndpoint, public ClockCheckUi {
  public:
    static constexpr UINT kSocketMessage = 1025;
    static constexpr UINT kLookUpMessage = 1026;
    static constexpr UINT_PTR kTimeoutTimer = 1;
    static constexpr UINT_PTR kLookUpTimer = 2;

    struct Options {
        HINSTANCE instance = nullptr;
        HICON icon = nullptr;  // null: the icon resource "_icon_"
        uint16_t serverPort = kTimeProtocolPort;
        // A message-only window: nothing is ever shown (command line, tests).
        bool messageOnly = false;
    };

    explicit TimeServerWindow(const Options& options);
    ~TimeServerWindow() override;
    TimeServerWindow(const TimeServerWindow&) = delete;
    TimeServerWindow& operator=(const TimeServerWindow&) = delete;

    bool Open() override;
    void Close() override { CloseSocket(); }
    AnswerStatus LookUpHost(const std::string& name, uint16_t timeoutMs,
                            uint32_t* address) override;
    bool SendRequest(uint32_t address) override;
    AnswerStatus AwaitAnswer(uint32_t address, uint16_t timeoutMs,
                             std::vector<uint8_t>* datagram) override;
    bool SendDatagram(uint32_t address, uint16_t port, const std::vector<uint8_t>& bytes) override;
    AnswerStatus AwaitAnswerFrom(uint32_t address, uint16_t port, uint16_t timeoutMs,
                                 std::vector<uint8_t>* datagram) override;

    void ShowProgress(std::string_view title) override;
    void SetProgressTitle(std::string_view title) override;
    void HideProgress() override;
    bool WindowExists() override { return hwnd_ != nullptr; }
    void ShowSocketError(std::string_view text, std::string_view caption) override;
    void ShowMessage(std::string_view text, std::string_view caption, BoxIcon icon) override;
    bool AskYesNo(std::string_view text, std::string_view caption) override;

    HWND window() const { return hwnd_; }
    // A wait that ended on WM_QUIT took the message off the queue; the caller
    // posts it again with this code so that the main loop still ends.
    bool TakeQuit(int* exitCode);

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateTheWindow();
    void OnReadable(SOCKET s);
    void OnLookedUp(HANDLE request, LPARAM result);
    SOCKET FreshSocket();
    // Runs the thread's messages while `waiting` holds: kAnswer once it no
    // longer does, or why the loop ended before.
    AnswerStatus PumpWhile(const std::function<bool()>& waiting);
    AnswerStatus AwaitOn(SOCKET s, uint32_t address, uint16_t port, uint16_t timeoutMs,
                         std::vector<uint8_t>* datagram);
    AnswerStatus ReadAnswer(SOCKET s, std::vector<uint8_t>* datagram);
    void CloseSocket();
    void OnDestroyed();

    Options options_;
    HWND hwnd_ = nullptr;
    // The socket of the request in flight, on a local port the system chose
    // for it alone; closed at the next request and when the check ends.
    SOCKET socket_ = INVALID_SOCKET;
    bool socketsStarted_ = false;
    AnswerWait wait_;
    // Name look-ups run by Winsock in the background, each into a buffer of
    // its own that must live until its result message comes (a look-up
    // cannot be called back for sure); only the current one is waited for.
    struct LookUp {
        HANDLE request = nullptr;
        alignas(hostent) char buffer[MAXGETHOSTSTRUCT];
    };
    std::vector<std::unique_ptr<LookUp>> lookUps_;
    HANDLE currentLookUp_ = nullptr;
    bool lookingUp_ = false;
    uint32_t lookedUpAddress_ = 0;
    bool quit_ = false;
    int quitCode_ = 0;
};

}  // namespace miravel
