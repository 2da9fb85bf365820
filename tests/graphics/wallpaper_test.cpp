#include "graphics/wallpaper.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ini_file.h"
#include "config/settings.h"
#include "config/temp_folder.h"
#include "core/calendar.h"
#include "graphics/bmp.h"

namespace miravel {
namespace {

using testing::TempFolder;

class RecordingDesktop : public WallpaperDesktop {
  public:
    void SetMenuChecked(int command, bool checked) override {
        calls.push_back((checked ? "check " : "uncheck ") + std::to_string(command));
    }
    void SaveDesktopState() override { calls.push_back("save"); }
    void RestoreDesktop() override { calls.push_back("restore"); }
    bool GraphWindowVisible() override { return graphVisible; }
    void SetBackgroundBlack() override { calls.push_back("black"); }
    bool InstallWallpaper(const SkyPicture& picture) override {
        calls.push_back("install " + std::to_string(picture.image.Width()) + "x" +
                        std::to_string(picture.image.Height()));
        return installWorks;
    }

    std::vector<std::string> calls;
    bool graphVisible = false;
    bool installWorks = true;
};

// Tiny stand-ins for the two resources.
PaletteBitmap Moon() {
    PaletteBitmap b;
    b.width = 8;
    b.height = 8;
    b.bitsPerPixel = 4;
    b.palette = {Rgb{200, 200, 200}};
    b.stride = 4;
    b.bits.assign(32, 0);
    return b;
}

PaletteBitmap Mask() {
    PaletteBitmap b;
    b.width = 16;
    b.height = 8;
    b.bitsPerPixel = 1;
    b.palette = {Rgb{}, Rgb{255, 255, 255}};
    b.stride = 4;
    b.bits.assign(32, 0xF0);
    return b;
}

class Wallpaper : public ::testing::Test {
  protected:
    void SetUp() override {
        SetLocation(ps.astro, 4101, 2897, 180);
        SetDate(ps.astro, 7, 12, 2026);
        SetClock(ps.astro, 12, 0);
        sources.moon = &moon;
        sources.earth = &mask;
    }
    std::string Duvar() const {
        char text[32];
        ReadIniString(ini, kOptionsSection, "Duvar", "", text, sizeof text);
        return text;
    }

    TempFolder dir;
    std::filesystem::path ini = dir / "miravel.ini";
    ProgramState ps;
    PaletteBitmap moon = Moon(), mask = Mask();
    SkySources sources;
    RecordingDesktop desktop;
};

TEST_F(Wallpaper, SwitchingOnSavesTheDesktopOnceAndSwitchingOffRestoresIt) {
    const int32_t now = AbsoluteMinute(ps.astro);

    SetWallpaperMode(ps, ini, kSkyMoon, sources, desktop);
    EXPECT_EQ(desktop.calls,
              (std::vector<std::string>{"uncheck 1046", "uncheck 1047", "uncheck 1048", "save",
                                        "check 1046", "black", "install 8x8"}));
    EXPECT_EQ(ps.options.wallpaper, 1);
    EXPECT_EQ(ps.nextWallpaperRefresh, now + 60);
    EXPECT_EQ(Duvar(), "Ay");

    // Another picture: the desktop from before the first switch-on is kept.
    desktop.calls.clear();
    SetWallpaperMode(ps, ini, kSkyGlobe, sources, desktop);
    EXPECT_EQ(desktop.calls,
              (std::vector<std::string>{"uncheck 1046", "uncheck 1047", "uncheck 1048",
                                        "check 1048", "black", "install 8x8"}));
    EXPECT_EQ(ps.nextWallpaperRefresh, now + 5);
    EXPECT_EQ(Duvar(), "Yerküre");

    // The checked picture again switches the wallpaper off.
    desktop.calls.clear();
    SetWallpaperMode(ps, ini, kSkyGlobe, sources, desktop);
    EXPECT_EQ(desktop.calls, (std::vector<std::string>{"uncheck 1046", "uncheck 1047",
                                                       "uncheck 1048", "restore"}));
    EXPECT_EQ(ps.options.wallpaper, 0);
    EXPECT_EQ(Duvar(), "Yok");

    // Off is off at exit; on gives the desktop back, keeping the choice.
    desktop.calls.clear();
    RestoreWallpaperAtExit(ps, desktop);
    EXPECT_TRUE(desktop.calls.empty());
    SetWallpaperMode(ps, ini, kSkyEarthMap, sources, desktop);
    desktop.calls.clear();
    RestoreWallpaperAtExit(ps, desktop);
    EXPECT_EQ(desktop.calls, std::vector<std::string>{"restore"});
    EXPECT_EQ(Duvar(), "Yeryüzü");
    EXPECT_EQ(ps.options.wallpaper, 2);
}

TEST_F(Wallpaper, RefreshWaitsForTheGraphWindowAndAdvancesBeforeItCanFail) {
    ps.options.wallpaper = kSkyEarthMap;
    ps.nextWallpaperRefresh = 0;
    desktop.graphVisible = true;
    EXPECT_FALSE(RefreshWallpaper(ps, sources, desktop));
    EXPECT_TRUE(desktop.calls.empty());  // not even the background colour
    EXPECT_EQ(ps.nextWallpaperRefresh, 0);

    // The file cannot be written: the next attempt waits for the next time.
    desktop.graphVisible = false;
    desktop.installWorks = false;
    EXPECT_FALSE(RefreshWallpaper(ps, sources, desktop));
    EXPECT_EQ(ps.nextWallpaperRefresh, AbsoluteMinute(ps.astro) + 5);
    EXPECT_EQ(desktop.calls, (std::vector<std::string>{"black", "install 16x8"}));

    // No source picture: nothing is installed, the time still moves on.
    desktop.calls.clear();
    ps.nextWallpaperRefresh = 0;
    sources.earth = nullptr;
    EXPECT_FALSE(RefreshWallpaper(ps, sources, desktop));
    EXPECT_EQ(desktop.calls, std::vector<std::string>{"black"});
    EXPECT_NE(ps.nextWallpaperRefresh, 0);

    // Nothing to refresh while off, and unknown kinds do nothing.
    desktop.calls.clear();
    ps.options.wallpaper = 0;
    EXPECT_FALSE(RefreshWallpaper(ps, sources, desktop));
    SetWallpaperMode(ps, ini, 4, sources, desktop);
    EXPECT_TRUE(desktop.calls.empty());
    EXPECT_EQ(ps.options.wallpaper, 0);
}

TEST(WallpaperRefreshRule, HourForTheMoonFiveMinutesForTheEarthAndAClockSetBack) {
    EXPECT_TRUE(WallpaperRefreshDue(kSkyMoon, 1000, 0));
    EXPECT_FALSE(WallpaperRefreshDue(kSkyMoon, 1000, 1001));
    EXPECT_FALSE(WallpaperRefreshDue(kSkyMoon, 1000, 1060));
    EXPECT_TRUE(WallpaperRefreshDue(kSkyMoon, 1000, 1061));  // clock set back over an hour
    EXPECT_TRUE(WallpaperRefreshDue(kSkyMoon, 1001, 1001));
    EXPECT_FALSE(WallpaperRefreshDue(kSkyGlobe, 1000, 1005));
    EXPECT_TRUE(WallpaperRefreshDue(kSkyGlobe, 1000, 1006));
    EXPECT_EQ(NextWallpaperRefresh(kSkyEarthMap, 1000), 1005);
}

}  // namespace
}  // namespace miravel
