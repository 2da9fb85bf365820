// The program's one record of settings and working values. Settings are
// loaded from and saved to the INI file beside the program (config/settings.h).
#pragma once

#include <cstdint>

#include "core/astro_state.h"

namespace miravel {

// The settlement: section "Hesap Paramatreleri".
struct Location {
    bool useList = false;
    int32_t listRow = 34;
    char city[16] = "???";
    char country[16] = "???";
    int32_t latitude = 0;   // hundredths of a degree, north positive
    int32_t longitude = 0;  // hundredths of a degree, east positive
    int32_t utcOffset = 0;  // minutes east of UTC
    bool useSystemTimeZone = false;
    bool summerTime = false;
    bool useSystemSummerTime = false;
};

struct CalcParams {
    int32_t temkin[kVakitCount + 1] = {0, -2, -7, 10, 0, 5, 5, 5, 0, 7, 2};  // by Vakit
    float imsakAngle = -18.0f;
    float yatsiAngle = -17.0f;
    int32_t mode = 4;
    // The convention of Turkey's official timetable ("Diyanet Uyumlu").
    bool diyanet = false;
    // Months begin by the criterion of Turkey's official calendar ("Resmi
    // Hicri Takvim") instead of the 8-degree elongation at 00:00 UT.
    bool officialHijri = false;
};

// Section "Seçenekler".
struct Options {
    int32_t morningAdhanLead = 60;
    bool morningAdhanAtImsak = false;
    int32_t fridaySalaLead = 60;
    bool fridaySala = false;
    int32_t sahurSalaLead = 90;
    bool sahurSala = false;
    int32_t reminderLead = 20;
    bool reminder = false;
    bool reminderSala = false;
    bool asrSaniAdhan = false;
    bool remainingToAnyTime = false;
    bool autoClockCorrection = false;
    bool autostart = false;
    int32_t relayPort = 0;
    int32_t relayLeadSeconds = 3;
    int32_t relayHoldSeconds = 400;
    int16_t crescentVisibility = 50;
    int16_t viewAltitude = 0;
    char salaTimes[7] = "111111";
    char reminderFile[255] = "sala.wav";
    char reminderButtonText[33] = "VALLAHİ  KILDIM..!";
    bool adhanEnabled = true;
    bool wakeUp = false;
    int32_t messageStyle = 2;  // 0 none, 1 balloon, 2 message box
    int32_t wallpaper = 0;     // 0 off, 1 moon, 2 earth map, 3 globe
};

// A local date and time in the layout of the Windows local-time record.
struct WorkTime {
    uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0;
    uint16_t hour = 0, minute = 0, second = 0, milliseconds = 0;
};

inline constexpr int kAdhanSlotCount = 5;

// What the scheduler keeps from one pass to the next so that the events of a
// minute fire once whatever wakes, resumes or clock corrections bring
// (app/scheduler.cpp).
struct SchedulerMemory {
    static constexpr int64_t kNoMinute = INT64_MIN;
    // Universal minute (days since 2000 x 1440 + minute) whose events fired last.
    int64_t firedMinute = kNoMinute;
    // ticksToNextRun as the scheduler itself left it; another value means
    // another part of the program set the countdown.
    int32_t countdown = -1;
    // The next pass also fires the minutes the program's own clock correction
    // jumped over.
    bool catchUp = false;
    // The clock was set by someone else than the program: the next pass
    // measures by how much.
    bool foreignChange = false;
    // A resume arrived since the last pass.
    bool resumed = false;
    // A clock check of the program is running; ticks left during which a
    // time change is still taken as its own.
    bool clockSyncRunning = false;
    int32_t ownChangeTicks = 0;
    // Universal second of the clock at the last pass, and ticks since.
    int64_t lastPassSecond = 0;
    int32_t ticksSincePass = 0;
    // Universal minute of the event the wake timer is armed for, and the one
    // a wake came too late for (kNoMinute: none).
    int64_t wakeMinute = kNoMinute;
    int64_t missedWake = kNoMinute;
    // The event being fired: the day number of the date whose times it
    // belongs to, and its minute counted from that date's midnight.
    int32_t firingDay = 0;
    int32_t firingMinute = 0;
};

struct ProgramState {
    Location location;
    CalcParams calc;
    Options options;

    bool realTime = true;
    WorkTime workTime;
    int32_t dayTimes[kVakitCount] = {};  // element i holds Vakit i + 1
    // The times of the dates before and after the working date: a time that
    // falls across midnight belongs to its own date (core VakitInstant).
    int32_t dayTimesBefore[kVakitCount] = {};
    int32_t dayTimesAfter[kVakitCount] = {};
    int32_t ticksToNextRun = 0;
    int32_t recalcLevel = 0;
    Vakit ikindiAdhanTime = Ikindi;
    char adhanFiles[kAdhanSlotCount][255] = {"ezan.wav", "ezan.wav", "ezan.wav", "ezan.wav",
                                             "ezan.wav"};

    // The scheduler's links to other parts of the program.
    int32_t nextWallpaperRefresh = 0;  // AbsoluteMinute of the next wallpaper compose; 0 = at once
    int32_t lastChart = 0;             // command of the chart on show, 0 when none
    int32_t reminderTimeName = 0;      // ending time of the last reminder (EndingTimeName index)
    SchedulerMemory scheduler;

    // The astronomy core's working record.
    AstroState astro;
};

}  // namespace miravel
