#ifdef _WIN32

// The Winsock window's own wait loop: what ends it besides an answer.
#include "net/win32/time_server_window.h"

#include <gtest/gtest.h>

#include <chrono>

#include "net/fake_time_server.h"

namespace miravel {
namespace {

using test::CountBytes;
using test::FakeTimeServer;

constexpr uint32_t kLoopback1 = 0x7F000001;

int64_t MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

TimeServerWindow::Options QuietOptions(uint16_t serverPort) {
    TimeServerWindow::Options options;
    options.instance = GetModuleHandleW(nullptr);
    options.serverPort = serverPort;
    options.messageOnly = true;
    return options;
}

// The server never lets its answer go, so only the quit message or the
// closed window can end the wait before its long time-out.
TEST(TimeServerWindow, QuitDuringTheWaitEndsItAndIsHandedOnToTheMainLoop) {
    FakeTimeServer server("127.0.0.1", 0, {{CountBytes(3913027072u), 0, "", true}});
    ASSERT_TRUE(server.ready());
    TimeServerWindow window(QuietOptions(server.port()));
    ASSERT_TRUE(window.Open());
    ASSERT_TRUE(window.SendRequest(kLoopback1));
    PostQuitMessage(7);
    std::vector<uint8_t> datagram;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(window.AwaitAnswer(kLoopback1, 20000, &datagram), AnswerStatus::kQuit);
    EXPECT_LT(MillisecondsSince(start), 10000);
    EXPECT_TRUE(datagram.empty());
    // The wait took the quit message off the queue; its exit code is kept
    // for the caller to post again, once.
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    int exitCode = 0;
    ASSERT_TRUE(window.TakeQuit(&exitCode));
    EXPECT_EQ(exitCode, 7);
    EXPECT_FALSE(window.TakeQuit(&exitCode));
    EXPECT_TRUE(window.WindowExists());
}

HWND closeLater = nullptr;

void CALLBACK CloseTheWindow(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (closeLater) DestroyWindow(closeLater);
    closeLater = nullptr;
}

TEST(TimeServerWindow, ClosingTheWindowDuringTheWaitEndsItWithoutAnAnswer) {
    FakeTimeServer server("127.0.0.1", 0, {{CountBytes(3913027072u), 0, "", true}});
    ASSERT_TRUE(server.ready());
    TimeServerWindow window(QuietOptions(server.port()));
    ASSERT_TRUE(window.Open());
    ASSERT_TRUE(window.SendRequest(kLoopback1));
    closeLater = window.window();
    ASSERT_NE(SetTimer(nullptr, 0, 100, CloseTheWindow), 0u);
    std::vector<uint8_t> datagram;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(window.AwaitAnswer(kLoopback1, 20000, &datagram), AnswerStatus::kWindowClosed);
    EXPECT_LT(MillisecondsSince(start), 10000);
    EXPECT_FALSE(window.WindowExists());
    // The socket went with the window: nothing more can be sent until the
    // next query opens the endpoint again, window and all.
    EXPECT_FALSE(window.SendRequest(kLoopback1));
    server.Release();
    ASSERT_TRUE(window.Open());
    EXPECT_TRUE(window.WindowExists());
}

}  // namespace
}  // namespace miravel

#endif
