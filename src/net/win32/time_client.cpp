#include "net/win32/time_client.h"

#include <shellapi.h>

#include <cstring>
#include <memory>
#include <vector>

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

// Moves the clock with Windows PowerShell from the system folder, started
// with the elevation prompt ("runas"). Only administrators can write that
// file, its folder and the module it loads; nothing of the user's is read
// (see ElevatedClockAdjustArguments), and the command line carries nothing
// but the offset's digits. The program's windows keep running while it
// works; the wait is bounded.
class RunAsElevation final : public ClockElevation {
  public:
    ElevatedSetStatus SetClockAsAdministrator(int64_t offsetMs) override {
        wchar_t system[MAX_PATH];
        const UINT n = GetSystemDirectoryW(system, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return ElevatedSetStatus::kFailed;
        const std::string below = kPowerShellBelowSystemFolder;
        const std::wstring file =
            std::wstring(system, n) + std::wstring(below.begin(), below.end());  // ASCII only
        const DWORD attributes = GetFileAttributesW(file.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return ElevatedSetStatus::kFailed;
        const std::string arguments = ElevatedClockAdjustArguments(offsetMs);
        const std::wstring wideArguments(arguments.begin(), arguments.end());  // ASCII only
        const std::wstring folder(system, n);

        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        info.hwnd = GetActiveWindow();
        info.lpVerb = L"runas";
        info.lpFile = file.c_str();
        info.lpParameters = wideArguments.c_str();
        info.lpDirectory = folder.c_str();
        info.nShow = SW_HIDE;
        if (!ShellExecuteExW(&info)) {
            return GetLastError() == ERROR_CANCELLED ? ElevatedSetStatus::kCancelled
                                                     : ElevatedSetStatus::kFailed;
        }
        if (info.hProcess == nullptr) return ElevatedSetStatus::kFailed;
        const DWORD limit = 60000;
        const ULONGLONG start = GetTickCount64();
        bool done = false;
        bool quit = false;
        int quitCode = 0;
        while (!done) {
            const ULONGLONG spent = GetTickCount64() - start;
            if (spent >= limit) break;
            const DWORD r = MsgWaitForMultipleObjects(
                1, &info.hProcess, FALSE, static_cast<DWORD>(limit - spent), QS_ALLINPUT);
            if (r == WAIT_OBJECT_0) {
                done = true;
            } else if (r == WAIT_OBJECT_0 + 1) {
                MSG msg;
                while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                    if (msg.message == WM_QUIT) {
                        quit = true;
                        quitCode = static_cast<int>(msg.wParam);
                        continue;
                    }
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
            } else {
                break;
            }
        }
        DWORD exitCode = 1;
        const bool finished = done && GetExitCodeProcess(info.hProcess, &exitCode);
        CloseHandle(info.hProcess);
        if (quit) PostQuitMessage(quitCode);
        return finished && exitCode == 0 ? ElevatedSetStatus::kSet : ElevatedSetStatus::kFailed;
    }
};

struct TimeClient {
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    std::filesystem::path iniPath;
    std::unique_ptr<TimeServerWindow> window;
    bool running = false;
    KissOfDeathList kissOfDeath;
    // The silent steps of the last 24 hours; kept for the program's run.
    SilentCorrectionAllowance allowance;
    // A silent correction was refused for want of rights: the rights do not
    // come during a run, so later silent checks do not ask the servers again.
    bool silentNeedsAdministrator = false;
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

namespace {

// The system clock to 100 ns where Windows can read it so (8 and later);
// otherwise at the timer's tick, which may be 15.6 ms.
int64_t PreciseFileTimeTicks() {
    using PreciseReader = void(WINAPI*)(LPFILETIME);
    static const PreciseReader precise = [] {
        HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        FARPROC found = kernel ? GetProcAddress(kernel, "GetSystemTimePreciseAsFileTime") : nullptr;
        PreciseReader reader = nullptr;
        static_assert(sizeof reader == sizeof found);
        std::memcpy(&reader, &found, sizeof reader);
        return reader;
    }();
    FILETIME ft;
    if (precise)
        precise(&ft);
    else
        GetSystemTimeAsFileTime(&ft);
    return static_cast<int64_t>((static_cast<uint64_t>(ft.dwHighDateTime) << 32) |
                                ft.dwLowDateTime);
}

}  // namespace

int64_t SystemMillisecondsNow() {
    return PreciseFileTimeTicks() / 10000 - kSecondsFrom1601To1970 * 1000;
}

int64_t SystemMicrosecondsNow() {
    return PreciseFileTimeTicks() / 10 - kSecondsFrom1601To1970 * 1000000;
}

ClockSetStatus SetSystemClockMs(int64_t milliseconds) {
    // Set as UTC: the local-time setter converts with the daylight-saving
    // state of the moment before the change, an hour off across a switch.
    if (milliseconds < 0) return ClockSetStatus::kFailed;
    const uint64_t ticks = static_cast<uint64_t>(milliseconds + kSecondsFrom1601To1970 * 1000) *
                           (kFileTimeTicksPerSecond / 1000);
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    SYSTEMTIME st;
    if (!FileTimeToSystemTime(&ft, &st)) return ClockSetStatus::kFailed;
    if (SetSystemTime(&st)) return ClockSetStatus::kSet;
    const DWORD error = GetLastError();
    return error == ERROR_PRIVILEGE_NOT_HELD || error == ERROR_ACCESS_DENIED
               ? ClockSetStatus::kNoPrivilege
               : ClockSetStatus::kFailed;
}

void SystemClock::AnnounceChange() {
    PostMessageW(HWND_BROADCAST, WM_TIMECHANGE, 0, 0);
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

std::unique_ptr<TimeEndpoint> MakeTimeEndpoint(uint16_t serverPort) {
    TimeServerWindow::Options options;
    options.instance = GetModuleHandleW(nullptr);
    options.serverPort = serverPort;
    options.messageOnly = true;
    return std::make_unique<TimeServerWindow>(options);
}

void InitTimeClient(HINSTANCE instance, HICON icon, const std::filesystem::path& iniPath) {
    TimeClient& client = Client();
    client.instance = instance;
    client.icon = icon;
    client.iniPath = iniPath;
}

bool ClockSettingNeedsAdministrator() {
    return Client().silentNeedsAdministrator;
}

bool MayChangeSystemTime() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return true;  // unknown
    bool holds = true;
    LUID wanted;
    DWORD size = 0;
    if (LookupPrivilegeValueW(nullptr, SE_SYSTEMTIME_NAME, &wanted) &&
        !GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size) && size > 0) {
        std::vector<BYTE> buffer(size);
        if (GetTokenInformation(token, TokenPrivileges, buffer.data(), size, &size)) {
            const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
            holds = false;
            for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
                const LUID& luid = privileges->Privileges[i].Luid;
                if (luid.LowPart == wanted.LowPart && luid.HighPart == wanted.HighPart)
                    holds = true;
            }
        }
    }
    CloseHandle(token);
    return holds;
}

ClockCheckOutcome SyncClock(bool silent) {
    TimeClient& client = Client();
    // A check that starts inside the wait of another would close the socket
    // the first one waits on.
    if (client.running) return ClockCheckOutcome::kNoAnswer;
    if (silent && client.silentNeedsAdministrator) return ClockCheckOutcome::kNoPrivilege;
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
    request.kissOfDeath = &client.kissOfDeath;
    request.allowance = &client.allowance;
    request.steadyMs = static_cast<int64_t>(GetTickCount64());
    RunAsElevation elevation;
    request.elevation = &elevation;
    SystemClock clock;
    const ClockCheckResult result =
        RunClockCheck(servers, request, *client.window, clock, *client.window);
    if (result.outcome == ClockCheckOutcome::kNoPrivilege) client.silentNeedsAdministrator = true;

    client.running = false;
    int exitCode = 0;
    if (client.window->TakeQuit(&exitCode)) PostQuitMessage(exitCode);
    return result.outcome;
}

}  // namespace miravel
