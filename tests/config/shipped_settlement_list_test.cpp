// The settlement list the program ships: every row loads to a usable place.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "config/settlement_list.h"

namespace miravel {
namespace {

class ShippedList : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        rows_ = new std::vector<std::string>(
            ReadSettlementRows(std::string(MIRAVEL_SOURCE_DIR) + "/data/miravel.csv"));
    }
    static void TearDownTestSuite() { delete rows_; }

    static Location Row(size_t n) {
        Location loc;
        ParseSettlementRow((*rows_)[n - 1], loc);
        return loc;
    }
    static size_t Find(const std::string& name, const std::string& country) {
        for (size_t n = 1; n <= rows_->size(); ++n) {
            const Location loc = Row(n);
            if (name == loc.city && country == loc.country) return n;
        }
        return 0;
    }

    static std::vector<std::string>* rows_;
};
std::vector<std::string>* ShippedList::rows_ = nullptr;

TEST_F(ShippedList, EveryRowIsAUsablePlace) {
    ASSERT_GE(rows_->size(), 7500u);
    ASSERT_LE(rows_->size(), 9000u);
    std::set<std::pair<std::string, std::string>> seen;
    for (size_t n = 1; n <= rows_->size(); ++n) {
        const Location loc = Row(n);
        SCOPED_TRACE("row " + std::to_string(n) + ": " + (*rows_)[n - 1]);
        EXPECT_NE(loc.city[0], '\0');
        EXPECT_NE(loc.country[0], '\0');
        EXPECT_LE(std::abs(loc.latitude), 9000);
        EXPECT_LE(std::abs(loc.longitude), 18000);
        EXPECT_LE(std::abs(loc.utcOffset), 840);
        EXPECT_TRUE(seen.insert({loc.city, loc.country}).second) << "duplicate";
    }
}

TEST_F(ShippedList, ProvincesComeFirstInPlateOrder) {
    const char* const plates[][2] = {{"1", "Adana"},  {"6", "Ankara"},     {"34", "İstanbul"},
                                     {"35", "İzmir"}, {"63", "Şanlıurfa"}, {"81", "Düzce"}};
    for (const auto& p : plates) {
        const Location loc = Row(std::strtoul(p[0], nullptr, 10));
        EXPECT_STREQ(loc.city, p[1]);
        EXPECT_STREQ(loc.country, "Türkiye");
    }
    // Every row of Türkiye, provinces and districts alike, keeps the clock at +3.
    std::set<std::string> provinces;
    for (size_t n = 1; n <= 81; ++n) {
        const Location loc = Row(n);
        EXPECT_EQ(loc.utcOffset, 180) << loc.city;
        provinces.insert(loc.city);
    }
    for (size_t n = 82; n <= rows_->size(); ++n) {
        const Location loc = Row(n);
        if (provinces.count(loc.country)) {
            EXPECT_EQ(loc.utcOffset, 180) << loc.city;
        }
    }
    // The capital's centre, not the province's middle.
    const Location ankara = Row(6);
    EXPECT_NEAR(ankara.latitude, 3992, 15);
    EXPECT_NEAR(ankara.longitude, 3285, 15);
}

TEST_F(ShippedList, CapitalsCarryTheirStandardOffsets) {
    const struct {
        const char* name;
        const char* country;
        int offset;
    } capitals[] = {{"Berlin", "Almanya", 60},
                    {"Tokyo", "Japonya", 540},
                    {"New York", "ABD", -300},
                    {"Delhi", "Hindistan", 330}};
    for (const auto& c : capitals) {
        const size_t n = Find(c.name, c.country);
        ASSERT_NE(n, 0u) << c.name;
        EXPECT_EQ(Row(n).utcOffset, c.offset) << c.name;
    }
    EXPECT_NE(Find("Kadıköy", "İstanbul"), 0u);
}

}  // namespace
}  // namespace miravel
