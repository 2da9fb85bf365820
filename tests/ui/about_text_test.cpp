#include <gtest/gtest.h>

#include <string>

#include "ui/project_addresses.h"

namespace miravel {
namespace {

TEST(AboutText, CreditsTheProgramItsLicenceAndItsData) {
    const std::string text = AboutText();
    EXPECT_EQ(text.rfind(std::string("Miravel ") + MIRAVEL_VERSION, 0), 0u);
    for (const char* credit : {"GPL 3", "GeoNames (CC BY 4.0)", "Natural Earth", "world-atlas",
                               "kstars-data, GPL-2+", "IGRF-12"}) {
        EXPECT_NE(text.find(credit), std::string::npos) << credit;
    }
    // Whole, not cut by a buffer.
    EXPECT_EQ(text.substr(text.size() - 7), "(IAGA).");
}

}  // namespace
}  // namespace miravel
