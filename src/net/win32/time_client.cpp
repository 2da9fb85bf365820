#include "net/win32/time_client.h"

#include <memory>

#include "build_stamp.h"
#include "config/settings.h"
#include "net/clock_check.h"
#include "net/time_endpoint.h"
#include "net/win32/time_server_window.h"

namespace miravel {

namespace {

// FILETIME counts 100 ns steps since 1601-01-01 UTC.
constexpr int64_t kFileTimeTicksPerSecond = 10000000;
constexpr int64_t kSecondsFrom1601To1970 = 11644473600;

int64_t SecondsFromFileTime(const FILETIME& ft) {
    const int64_t ticks =
        static_cast<int64_t>((static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    return ticks / kFileTimeTicksPerSecond - kSecondsFrom1601To1970;
}

FILETIME FileTimeFromSeconds(int64_t seconds) {
    const uint64_t ticks =
        static_cast<uint64_t>(seconds + kSecondsFrom1601To1970) * kFileTimeTicksPerSecond;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return ft;
}

class WindowsClock final : public ComputerClock {
  public:
    int64_t Now() override { return SystemSecondsNow(); }
    CivilTime ToLocal(int64_t seconds) override { return LocalCivilTime(seconds); }
    bool Set(int64_t seconds) override {
        // Set as UTC: the local-time setter converts with the daylight-saving
        // state of the moment before the change, an hour off across a switch.
        const FILETIME ft = FileTimeFromSeconds(seconds);
        SYSTEMTIME st;
        if (!FileTimeToSystemTime(&ft, &st)) return false;
        st.wMilliseconds = 0;
        return SetSystemTime(&st) != 0;
    }
    void AnnounceChange() override { PostMessageW(HWND_BROADCAST, WM_TIMECHANGE, 0, 0); }
};

struct TimeClient {
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    std::filesystem::path iniPath;
    std::unique_ptr<TimeServerWindow> window;
    bool running = false;
};

TimeClient& Client() {
    static TimeClient client;
    return client;
}

std::filesystem::path DefaultIniPath() {
    wchar_t module[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    std::filesystem::path path(module);
    path.replace_extension(L".ini");
    return path;
}

}  // namespace

int64_t SystemSecondsNow() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return SecondsFromFileTime(ft);
}

CivilTime LocalCivilTime(int64_t seconds) {
    CivilTime c;
    const FILETIME ft = FileTimeFromSeconds(seconds);
    SYSTEMTIME utc, local;
    if (!FileTimeToSystemTime(&ft, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return c;
    c.year = local.wYear;
    c.month = local.wMonth;
    c.day = local.wDay;
    c.hour = local.wHour;
    c.minute = local.wMinute;
    c.second = local.wSecond;
    return c;
}

std::unique_ptr<TimeEndpoint> MakeTimeEndpoint(uint16_t serverPort, uint16_t localPort) {
    TimeServerWindow::Options options;
    options.instance = GetModuleHandleW(nullptr);
    options.serverPort = serverPort;
    options.localPort = localPort;
    options.messageOnly = true;
    return std::make_unique<TimeServerWindow>(options);
}

void InitTimeClient(HINSTANCE instance, HICON icon, const std::filesystem::path& iniPath) {
    TimeClient& client = Client();
    client.instance = instance;
    client.icon = icon;
    client.iniPath = iniPath;
}

void SyncClock(bool silent) {
    TimeClient& client = Client();
    // A check that starts inside the wait of another would close the socket
    // the first one waits on.
    if (client.running) return;
    client.running = true;

    if (client.iniPath.empty()) client.iniPath = DefaultIniPath();
    const TimeServerList list = ReadTimeServers(client.iniPath);
    TimeServers servers;
    servers.hosts = list.hosts;
    servers.timeoutMs = list.hostTimeoutMs;

    if (!client.window) {
        TimeServerWindow::Options options;
        options.instance = client.instance ? client.instance : GetModuleHandleW(nullptr);
        options.icon = client.icon;
        client.window = std::make_unique<TimeServerWindow>(options);
    }
    ClockCheckRequest request;
    request.silent = silent;
    request.notBefore = MIRAVEL_BUILD_UNIX_TIME;
    WindowsClock clock;
    RunClockCheck(servers, request, *client.window, clock, *client.window);

    client.running = false;
    int exitCode = 0;
    if (client.window->TakeQuit(&exitCode)) PostQuitMessage(exitCode);
}

}  // namespace miravel
