// miravel-cli render: every chart, map and sky picture of the graph window and
// the wallpaper, written as a 24-bit BMP file.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "config/autostart.h"
#include "config/settings.h"
#include "config/zone_offset.h"
#include "core/calendar.h"
#include "graphics/bmp.h"
#include "graphics/chart_raster.h"
#include "graphics/charts.h"
#include "graphics/sky_image.h"

namespace miravel::cli {

namespace {

struct Kind {
    const char* name;
    int command;
};

constexpr Kind kKinds[] = {
    {"angles", kChartAngles},     {"paths", kChartPaths},
    {"moon", kChartMoon},         {"earth", kChartEarth},
    {"globe", kChartGlobe},       {"vakitmap", kChartVakitMap},
    {"qiblamap", kChartQiblaMap}, {"declmap", kChartDeclinationMap},
    {"yearly", kChartYearly},
};

// Pictures written at a screen's size when --size does not say otherwise.
constexpr int kDefaultWidth = 1280, kDefaultHeight = 720;
constexpr int32_t kScreenPelsPerMeter = 2835;  // 72 dpi

bool ParseSize(const std::string& text, int* width, int* height) {
    int w = 0, h = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &tail) != 2) return false;
    if (w < 16 || h < 16 || w > 8192 || h > 8192) return false;
    *width = w;
    *height = h;
    return true;
}

// The source bitmaps are the program's resources "_MOON_" and "_EARTH_"; the
// command line reads them from a resources folder: --resources, else beside
// the program, its resources/ or ../resources, resources/ in the current
// folder, or the source tree it was built from. A file of that name that is
// not a palette bitmap (a picture rendered earlier, say) is passed over.
bool LoadSource(const Args& args, const char* name, PaletteBitmap* out, std::string* error) {
    std::vector<std::filesystem::path> folders;
    if (const std::string* dir = args.Value("--resources")) {
        folders.push_back(std::filesystem::u8path(*dir));
    } else {
        const std::filesystem::path exe = ProgramFolder();
        if (!exe.empty()) {
            folders.push_back(exe);
            folders.push_back(exe / "resources");
            folders.push_back(exe.parent_path() / "resources");
        }
        folders.push_back("resources");
        folders.push_back(std::filesystem::path(MIRAVEL_DATA_DIR).parent_path() / "resources");
    }
    for (const std::filesystem::path& folder : folders) {
        std::error_code ec;
        const std::filesystem::path file = folder / name;
        if (std::filesystem::is_regular_file(file, ec) && LoadPaletteBitmap(file.string(), out)) {
            return true;
        }
    }
    *error = std::string("cannot find the source bitmap ") + name + " (use --resources DIR)";
    return false;
}

}  // namespace

namespace {
constexpr OptionHelp kRenderOptions[] = {
    kDateOptionHelp,
    {"--time HH:MM", "the minute (default: now)"},
    {"--size WxH", "the picture's size, 16..8192 each (default 1280x720)"},
    {"--resources DIR", "the folder of moon.bmp and earth.bmp"},
    {"--out FILE.bmp", "the picture to write (required)"},
};
}  // namespace

const CommandHelp kRenderHelp = {
    "render",
    "KIND --out FILE.bmp [OPTIONS]",
    "a chart, map or sky picture as a BMP file",
    "KIND is one of angles, paths, moon, earth, globe, vakitmap, qiblamap,\n"
    "declmap, yearly. Without --size, moon, earth and globe are written at\n"
    "the wallpaper's own size.",
    kRenderOptions,
    kPlaceOptionHelp};

int RunRender(int argc, char** argv) {
    Args args(PlaceDayFlags({"--time", "--size", "--out", "--resources"}), {"--summer"});
    std::string error;
    if (!args.Parse(argc, argv, &error) || args.Positional().size() != 1) {
        PrintError(error.empty() ? "render takes one kind: angles, paths, moon, earth, globe, "
                                   "vakitmap, qiblamap, declmap or yearly"
                                 : error);
        return 2;
    }
    const std::string& kindName = args.Positional()[0];
    int command = 0;
    for (const Kind& k : kKinds) {
        if (kindName == k.name) command = k.command;
    }
    if (command == 0) {
        PrintError("unknown picture " + kindName);
        return 2;
    }
    const std::string* out = args.Value("--out");
    if (!out) {
        PrintError("render needs --out FILE.bmp");
        return 2;
    }
    Date date;
    if (!DateOption(args, &date, &error)) {
        PrintError(error);
        return 2;
    }
    int hour = 0, minute = 0;
    if (!TimeOption(args, &hour, &minute, &error)) {
        PrintError(error);
        return 2;
    }
    int width = kDefaultWidth, height = kDefaultHeight;
    const std::string* size = args.Value("--size");
    if (size && !ParseSize(*size, &width, &height)) {
        PrintError("bad size " + *size + " (WxH, 16..8192 each)");
        return 2;
    }

    ProgramState ps;
    std::filesystem::path ini;
    if (!LoadPlaceAndOptions(args, ps, &ini, &error)) {
        PrintError(error);
        return 2;
    }
    ps.workTime.year = static_cast<uint16_t>(date.year);
    ps.workTime.month = static_cast<uint16_t>(date.month);
    ps.workTime.day = static_cast<uint16_t>(date.day);
    ps.workTime.hour = static_cast<uint16_t>(hour);
    ps.workTime.minute = static_cast<uint16_t>(minute);
    AstroState& astro = ps.astro;
    astro.viewAltitude = ps.options.viewAltitude;
    astro.crescentVisibility = ps.options.crescentVisibility;
    SetPlaceAndDate(ps, date);
    SetClock(astro, static_cast<int16_t>(hour), static_cast<int16_t>(minute));

    PaletteBitmap moon, earth;
    SkySources sources;
    if (command == kChartMoon) {
        if (!LoadSource(args, "moon.bmp", &moon, &error)) {
            PrintError(error);
            return 2;
        }
        sources.moon = &moon;
    } else if (command >= kChartEarth && command <= kChartDeclinationMap) {
        if (!LoadSource(args, "earth.bmp", &earth, &error)) {
            PrintError(error);
            return 2;
        }
        sources.earth = &earth;
    }

    RgbImage picture;
    int32_t xPels = kScreenPelsPerMeter, yPels = kScreenPelsPerMeter;
    if (!size && command >= kChartMoon && command <= kChartGlobe) {
        // Without --size the sky picture is written as the wallpaper file is.
        SkyPicture sky;
        if (!ComposeSkyImage(command - 1032, astro, ps.location.latitude, sources, &sky)) {
            PrintError("the source bitmap does not suit this picture");
            return 1;
        }
        picture = std::move(sky.image);
        xPels = sky.xPelsPerMeter;
        yPels = sky.yPelsPerMeter;
    } else {
        Chart chart;
        if (!BuildChart(command, width, height, ps, ReadSystemZone(), sources, &chart)) {
            PrintError("the source bitmap does not suit this picture");
            return 1;
        }
        picture = RenderChart(chart);
    }
    // Unlike the wallpaper file, a picture for other programs carries its true
    // file and image sizes: strict readers refuse a 0 there.
    if (!WriteWallBmp(*out, picture, xPels, yPels, BmpSizeFields::kTrue)) {
        PrintError("cannot write " + *out);
        return 1;
    }
    return 0;
}

}  // namespace miravel::cli
