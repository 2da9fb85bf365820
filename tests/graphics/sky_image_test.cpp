#include "graphics/sky_image.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include "config/temp_folder.h"
#include "graphics/bmp.h"
#include "graphics/test_pictures.h"

namespace miravel {
namespace {

// A square moon whose palette entry grows to the right and upwards, so that
// turns and mirrors show.
PaletteBitmap GradientMoon(int side) {
    PaletteBitmap b;
    b.width = b.height = side;
    b.bitsPerPixel = 4;
    for (int i = 0; i < 16; ++i)
        b.palette.push_back(Rgb{static_cast<uint8_t>(96 + 10 * i),
                                static_cast<uint8_t>(96 + 10 * i),
                                static_cast<uint8_t>(96 + 10 * i)});
    b.stride = ((side * 4 + 31) / 32) * 4;
    b.bits.assign(static_cast<size_t>(b.stride) * side, 0);
    for (int r = 0; r < side; ++r) {
        for (int x = 0; x < side; ++x) {
            const int index = (x * 8 / side + r * 8 / side) & 15;
            uint8_t& byte = b.bits[r * b.stride + x / 2];
            byte |= (x % 2 == 0) ? index << 4 : index;
        }
    }
    return b;
}

// A white disc filling the square on black, as the moon's photograph is.
PaletteBitmap WhiteMoon(int side) {
    PaletteBitmap b = GradientMoon(side);
    b.palette.assign(16, Rgb{});
    b.palette[1] = Rgb{255, 255, 255};
    const double c = (side - 1) / 2.0;
    for (int r = 0; r < side; ++r) {
        for (int x = 0; x < side; ++x) {
            const bool inside = (x - c) * (x - c) + (r - c) * (r - c) <= side * side / 4.0;
            uint8_t& byte = b.bits[r * b.stride + x / 2];
            byte = x % 2 == 0 ? static_cast<uint8_t>((byte & 0x0F) | (inside ? 0x10 : 0))
                              : static_cast<uint8_t>((byte & 0xF0) | (inside ? 0x01 : 0));
        }
    }
    return b;
}

double FromCentre(int x, int y, int side) {
    const double c = (side - 1) / 2.0;
    return std::sqrt((x - c) * (x - c) + (y - c) * (y - c));
}

TEST(MoonPicture, NewMoonAtAnEighthFullMoonWhollyLit) {
    const PaletteBitmap moon = WhiteMoon(328);
    const RgbImage fresh = ComposeMoonPicture(moon, 0, false);
    int dim = 0, transition = 0;
    for (int y = 0; y < 328; ++y) {
        for (int x = 0; x < 328; ++x) {
            const Rgb c = fresh.At(x, y);
            if (c == (Rgb{31, 31, 31})) {
                ++dim;
            } else if (!(c == Rgb{})) {
                ++transition;
                // Only along the right limb.
                EXPECT_GE(x, 156) << x << "," << y;
                EXPECT_GT(FromCentre(x, y, 328), 157.0) << x << "," << y;
            }
        }
    }
    EXPECT_GT(dim, 80000);
    EXPECT_GT(transition, 0);
    EXPECT_LT(transition, 2000);

    const RgbImage full = ComposeMoonPicture(moon, 1800, false);
    for (int y = 0; y < 328; ++y) {
        for (int x = 0; x < 328; ++x) {
            if (FromCentre(x, y, 328) < 156.0) {
                ASSERT_EQ(full.At(x, y), (Rgb{255, 255, 255})) << x << "," << y;
            }
        }
    }
}

TEST(MoonPicture, LitOnTheRightWhileWaxingAndMirroredInTheSouth) {
    const PaletteBitmap moon = WhiteMoon(328);
    const int middle = 164;
    struct Case {
        int phase;
        bool southern;
        bool litRight;
    };
    const Case cases[] = {{600, false, true},   {900, false, true}, {2700, false, false},
                          {3000, false, false}, {900, true, false}, {2700, true, true}};
    for (const Case& c : cases) {
        const RgbImage m = ComposeMoonPicture(moon, c.phase, c.southern);
        const Rgb left = m.At(20, middle), right = m.At(307, middle);
        EXPECT_EQ(c.litRight ? right : left, (Rgb{255, 255, 255})) << c.phase << c.southern;
        EXPECT_LT((c.litRight ? left : right).r, 40) << c.phase << c.southern;
    }
}

TEST(MoonPicture, TheSouthernViewIsThePictureTurned) {
    const PaletteBitmap moon = GradientMoon(64);
    const RgbImage north = ComposeMoonPicture(moon, 1800, false);
    const RgbImage south = ComposeMoonPicture(moon, 1800, true);
    // Full moon: away from the limbs every pixel is lit in both views.
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            if (FromCentre(x, y, 64) < 28.0) {
                ASSERT_EQ(south.At(x, y), north.At(63 - x, 63 - y)) << x << "," << y;
            }
        }
    }
    // And it is not the same picture: the gradient runs the other way.
    EXPECT_NE(south.At(20, 32), north.At(20, 32));
}

TEST(EarthPictures, TheDayIsUnderTheSun) {
    const PaletteBitmap sea = BlankMask(800, 400);
    SunOverEarth sun;
    sun.declination = 0.0;
    sun.b = 360;  // six hours after noon at Greenwich: the sun over 90° W
    const RgbImage map = ComposeEarthMapPicture(sea, sun);
    ASSERT_EQ(map.Width(), 800);
    EXPECT_EQ(map.At(200, 200), (Rgb{0, 0, 255}));  // 90° W, noon
    EXPECT_EQ(map.At(600, 200), (Rgb{0, 0, 63}));   // 90° E, midnight
    EXPECT_EQ(map.At(399, 200), (Rgb{0, 0, 255}));  // Greenwich at 18:00, still lit at the edge

    // The globe: 401 wide, black outside the disc, the afternoon lit on the
    // left (the sun to the west of the middle), the morning on the right.
    sun.afternoon = true;
    const RgbImage evening = ComposeGlobePicture(sea, sun);
    ASSERT_EQ(evening.Width(), 401);
    ASSERT_EQ(evening.Height(), 400);
    EXPECT_EQ(evening.At(0, 200), (Rgb{}));
    EXPECT_EQ(evening.At(5, 2), (Rgb{}));
    EXPECT_EQ(evening.At(100, 200), (Rgb{0, 0, 255}));
    EXPECT_EQ(evening.At(300, 200), (Rgb{0, 0, 63}));
    sun.afternoon = false;
    const RgbImage morning = ComposeGlobePicture(sea, sun);
    EXPECT_EQ(morning.At(100, 200), (Rgb{0, 0, 63}));
    EXPECT_EQ(morning.At(300, 200), (Rgb{0, 0, 255}));
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

TEST(WallBmp, HeaderFieldsAndRowPadding) {
    RgbImage image(3, 2);
    image.Set(0, 0, Rgb{1, 2, 3});     // top-left
    image.Set(2, 1, Rgb{10, 20, 30});  // bottom-right
    const std::vector<uint8_t> b = EncodeWallBmp(image, 3780, 2835);
    ASSERT_EQ(b.size(), 54u + 2 * 12);  // 9 bytes a row, padded to 12
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Le32(b, 2), 0u);  // file size left 0
    EXPECT_EQ(Le32(b, 6), 0u);
    EXPECT_EQ(Le32(b, 10), 54u);
    EXPECT_EQ(Le32(b, 14), 40u);
    EXPECT_EQ(Le32(b, 18), 3u);
    EXPECT_EQ(Le32(b, 22), 2u);
    EXPECT_EQ(b[26] | b[27] << 8, 1);
    EXPECT_EQ(b[28] | b[29] << 8, 24);
    EXPECT_EQ(Le32(b, 30), 0u);
    EXPECT_EQ(Le32(b, 34), 0u);
    EXPECT_EQ(Le32(b, 38), 3780u);
    EXPECT_EQ(Le32(b, 42), 2835u);
    EXPECT_EQ(Le32(b, 46), 0u);
    EXPECT_EQ(Le32(b, 50), 0u);
    // The bottom row first, blue-green-red, then three zero bytes.
    EXPECT_EQ(b[54 + 6], 30);
    EXPECT_EQ(b[54 + 7], 20);
    EXPECT_EQ(b[54 + 8], 10);
    EXPECT_EQ(b[54 + 9] | b[54 + 10] | b[54 + 11], 0);
    EXPECT_EQ(b[66], 3);
    EXPECT_EQ(b[67], 2);
    EXPECT_EQ(b[68], 1);
}

TEST(WallBmp, PictureForOtherProgramsCarriesItsTrueSizes) {
    // 401 pixels of 3 bytes pad to 1204 a row; 1-pixel rows pad 3 to 4.
    for (const auto& [w, h, stride] : {std::tuple{401, 3, 1204}, std::tuple{1, 5, 4}}) {
        RgbImage image(w, h);
        image.Set(0, 0, Rgb{9, 8, 7});
        const std::vector<uint8_t> wall = EncodeWallBmp(image, 2835, 2835);
        const std::vector<uint8_t> b = EncodeWallBmp(image, 2835, 2835, BmpSizeFields::kTrue);
        const uint32_t pixels = static_cast<uint32_t>(stride * h);
        ASSERT_EQ(b.size(), 54u + pixels);
        EXPECT_EQ(Le32(b, 2), b.size());
        EXPECT_EQ(Le32(b, 34), pixels);
        // Apart from the two size fields, the same bytes as the wallpaper file.
        ASSERT_EQ(wall.size(), b.size());
        std::vector<uint8_t> cleared = b;
        for (size_t at : {2u, 3u, 4u, 5u, 34u, 35u, 36u, 37u})
            cleared[at] = 0;
        EXPECT_EQ(cleared, wall) << w << "x" << h;
    }
}

#ifndef _WIN32
TEST(WallBmp, StrictReaderTakesTheTrueSizesWithoutWarning) {
    if (std::system("convert -version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no ImageMagick";
    testing::TempFolder dir;
    RgbImage image(401, 3);
    image.Set(400, 2, Rgb{200, 100, 50});
    const std::string bmp = (dir / "picture.bmp").string();
    const std::string zero = (dir / "wall.bmp").string();
    ASSERT_TRUE(WriteWallBmp(bmp, image, 2835, 2835, BmpSizeFields::kTrue));
    ASSERT_TRUE(WriteWallBmp(zero, image, 2835, 2835));
    // -regard-warnings turns ImageMagick's length-mismatch warning into a
    // failure: the wallpaper file (sizes 0) fails, the picture passes.
    const std::string check = "identify -regard-warnings '";
    EXPECT_EQ(std::system((check + bmp + "' > /dev/null 2>&1").c_str()), 0);
    EXPECT_NE(std::system((check + zero + "' > /dev/null 2>&1").c_str()), 0);
}
#endif

#ifndef _WIN32
TEST(WallBmp, ImageMagickReadsTheGlobeFile) {
    if (std::system("convert -version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no ImageMagick";
    testing::TempFolder dir;
    const PaletteBitmap sea = BlankMask(800, 400);
    SunOverEarth sun;
    sun.b = -100;
    sun.afternoon = true;
    const RgbImage globe = ComposeGlobePicture(sea, sun);  // 401 wide: padded rows
    const std::string bmp = (dir / "wall.bmp").string(), raw = (dir / "wall.rgb").string();
    ASSERT_TRUE(WriteWallBmp(bmp, globe, 2835, 2835));
    // ImageMagick warns (exit code 1) that the file size field, left 0 as
    // Windows allows, does not match the file's length; what it reads must
    // still be the picture, pixel for pixel.
    std::system(("convert -quiet '" + bmp + "' -depth 8 'rgb:" + raw + "' 2>/dev/null").c_str());
    std::ifstream in(raw, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 401u * 400 * 3);
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 401; ++x) {
            const size_t at = (static_cast<size_t>(y) * 401 + x) * 3;
            const Rgb read{static_cast<uint8_t>(bytes[at]), static_cast<uint8_t>(bytes[at + 1]),
                           static_cast<uint8_t>(bytes[at + 2])};
            ASSERT_EQ(read, globe.At(x, y)) << x << "," << y;
        }
    }
}
#endif

}  // namespace
}  // namespace miravel
