// The internet-time client as the Windows program uses it: set up once at
// start-up, then SyncClock from the "Internet Saati" command (interactive)
// and from the hourly and options-dialog corrections (silent).
#pragma once

#include <windows.h>

#include <filesystem>

#include "net/clock_check.h"

namespace miravel {

// Start-up hands over the instance, the program icon (null: the icon
// resource "_icon_") and the INI file; an empty path means the program
// file's path with the extension "ini".
void InitTimeClient(HINSTANCE instance, HICON icon, const std::filesystem::path& iniPath);

// Reads the "Time Servers" section, asks the servers in turn and corrects
// the clock: after the user's Yes (interactive) or at once (silent, only
// from a plausible server time). Runs its own message loop while it waits
// for an answer; a call made while a check is running returns at once. The
// caller grays the menu entry 1041 around the call. Where the clock may not
// be set, the interactive check offers to set it with administrator rights.
ClockCheckOutcome SyncClock(bool silent);

// True once a silent correction was refused because the user may not change
// the system time; the silent checks of the rest of the run then do nothing.
bool ClockSettingNeedsAdministrator();

// Whether this process holds the right to change the system time (a user
// without administrator rights, or an administrator whose program was not
// started "as administrator", does not). True when it cannot be told.
bool MayChangeSystemTime();

}  // namespace miravel
