// The time-server window "Q-UDP": it owns the Winsock socket of the time
// queries, receives its read notifications (message 1025) and the answer
// time-out (timer 1), runs the wait's own message loop, and doubles as the
// caption-only progress window and the owner of the boxes.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/clock_check.h"
#include "net/time_protocol.h"

namespace miravel {

class TimeServerWindow final : public TimeEndpoint, public ClockCheckUi {
  public:
    static constexpr UINT kSocketMessage = 1025;
    static constexpr UINT_PTR kTimeoutTimer = 1;

    struct Options {
        HINSTANCE instance = nullptr;
        HICON icon = nullptr;  // null: the icon resource "_icon_"
        uint16_t serverPort = kTimeProtocolPort;
        uint16_t localPort = kTimeProtocolPort;
        // A message-only window: nothing is ever shown (command line, tests).
        bool messageOnly = false;
    };

    explicit TimeServerWindow(const Options& options);
    ~TimeServerWindow() override;
    TimeServerWindow(const TimeServerWindow&) = delete;
    TimeServerWindow& operator=(const TimeServerWindow&) = delete;

    bool Open() override;
    uint32_t LookUpHost(const std::string& name) override;
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
    SOCKET QuerySocket();
    AnswerStatus AwaitOn(SOCKET s, uint32_t address, uint16_t port, uint16_t timeoutMs,
                         std::vector<uint8_t>* datagram);
    AnswerStatus ReadAnswer(std::vector<uint8_t>* datagram);
    void CloseSocket();
    void OnDestroyed();

    Options options_;
    HWND hwnd_ = nullptr;
    SOCKET socket_ = INVALID_SOCKET;       // bound to the time port: the Time Protocol
    SOCKET querySocket_ = INVALID_SOCKET;  // any local port: SNTP and entries with a port
    SOCKET waitSocket_ = INVALID_SOCKET;   // the one the current wait reads
    bool socketsStarted_ = false;
    AnswerWait wait_;
    bool quit_ = false;
    int quitCode_ = 0;
};

}  // namespace miravel
