#include "config/zone_offset.h"

#include <gtest/gtest.h>

namespace miravel {
namespace {

struct TzCase {
    const char* tz;
    int16_t standardMinutes;
    bool summer;
};

// The forms a "TZ" variable takes: a zone name of three or more letters, the
// hours west of Greenwich, and the summer zone's name, which may carry its
// own offset and the rules of the switch after a comma.
TEST(ParseTzVariable, TakesTheUsualFormsWithTheirSummerNames) {
    for (const TzCase& c :
         {TzCase{"EET-2EEST", 120, true}, TzCase{"CET-1CEST", 60, true}, TzCase{"CET-1", 60, false},
          TzCase{"EST+5EDT", -300, true}, TzCase{"EST5EDT", -300, true},
          TzCase{"TRT-3", 180, false}, TzCase{"EET-2EEST,M3.5.0/3,M10.5.0/4", 120, true},
          TzCase{"CET-1CEST,M3.5.0,M10.5.0/3", 60, true},
          TzCase{"EST5EDT4,M3.2.0,M11.1.0", -300, true},
          TzCase{"GMT0BST,M3.5.0/1,M10.5.0", 0, true}, TzCase{"AEST-10AEDT", 600, true},
          TzCase{"UTC0", 0, false}}) {
        SystemZone zone;
        ASSERT_TRUE(ParseTzVariable(c.tz, &zone)) << c.tz;
        EXPECT_EQ(zone.standardMinutes, c.standardMinutes) << c.tz;
        EXPECT_EQ(zone.daylightNow, c.summer) << c.tz;
    }
}

// Anything else is left to the system's own information, and leaves the
// answer untouched.
TEST(ParseTzVariable, RefusesWhatIsNotAZone) {
    for (const char* tz :
         {"", "E", "EE-2", "EET", "EET-", "EET-25", "EET-2E", "EET-2EE", "Europe/Istanbul",
          ":Europe/Istanbul", "EET-2EEST,", "123", "EET-2 EEST", "EET-2EEST-3x"}) {
        SystemZone zone{77, true};
        EXPECT_FALSE(ParseTzVariable(tz, &zone)) << tz;
        EXPECT_EQ(zone.standardMinutes, 77) << tz;
    }
    EXPECT_FALSE(ParseTzVariable(nullptr, nullptr));
}

}  // namespace
}  // namespace miravel
