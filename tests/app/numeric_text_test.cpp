// Numbers typed by the operator or read from the settings file.
#include <gtest/gtest.h>

#include <climits>

#include "app/numeric_text.h"

namespace {

struct tNumCase {
    const char* sText;
    bool booNumeric;
    int32_t lValue;  // expected when numeric
};

class NumericText : public ::testing::TestWithParam<tNumCase> {};

TEST_P(NumericText, AcceptsAndRoundsHalvesToEven) {
    const tNumCase& c = GetParam();
    EXPECT_EQ(booIsNumeric(c.sText), c.booNumeric) << '"' << c.sText << '"';
    int32_t lValue = 12345;
    EXPECT_EQ(booTextToLong(c.sText, lValue), c.booNumeric) << '"' << c.sText << '"';
    EXPECT_EQ(lValue, c.booNumeric ? c.lValue : 12345) << '"' << c.sText << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumericText,
    ::testing::Values(
        tNumCase{"70", true, 70}, tNumCase{"-1", true, -1}, tNumCase{"+12", true, 12},
        tNumCase{"0", true, 0}, tNumCase{"-0", true, 0}, tNumCase{"007", true, 7},
        // Halves go to the even neighbour, other fractions to the nearest.
        tNumCase{"70.5", true, 70}, tNumCase{"71.5", true, 72}, tNumCase{"0.5", true, 0},
        tNumCase{"1.5", true, 2}, tNumCase{"2.5", true, 2}, tNumCase{"-2.5", true, -2},
        tNumCase{"-3.5", true, -4}, tNumCase{"70.49", true, 70}, tNumCase{"70.51", true, 71},
        tNumCase{".5", true, 0}, tNumCase{"7.", true, 7}, tNumCase{"-.6", true, -1},
        tNumCase{" 12 ", true, 12}, tNumCase{"\t5", true, 5},
        // Beyond 32 bits: held at the nearest 32-bit value.
        tNumCase{"2147483647", true, INT32_MAX}, tNumCase{"2147483648", true, INT32_MAX},
        tNumCase{"-2147483648", true, INT32_MIN}, tNumCase{"-2147483649", true, INT32_MIN},
        tNumCase{"99999999999999999999", true, INT32_MAX},
        tNumCase{"0.0000000000000000000000000000000000000000000000000000000000000000000000000"
                 "000000000000000000000000000000000000000000000000000000000000000000000000000"
                 "000000000000000000000000000000000000000000000000000000000000000000000000000"
                 "000000000000000000000000000000000000000000000000000000000000000000000000000"
                 "0000000000000000000000000000000000000000000000000000000000000000000000000001",
                 true, 0},
        // Not numbers.
        tNumCase{"", false, 0}, tNumCase{" ", false, 0}, tNumCase{"abc", false, 0},
        tNumCase{"none", false, 0}, tNumCase{"NONE", false, 0}, tNumCase{"+", false, 0},
        tNumCase{"-", false, 0}, tNumCase{".", false, 0}, tNumCase{"1e3", false, 0},
        tNumCase{"0x10", false, 0}, tNumCase{"1,000", false, 0}, tNumCase{"1.2.3", false, 0},
        tNumCase{"- 5", false, 0}, tNumCase{"5 5", false, 0}, tNumCase{"12a", false, 0},
        tNumCase{"--1", false, 0}, tNumCase{"70,5", false, 0}));

TEST(NumericTextHuge, FourHundredDigitsHeldAtLimit) {
    const std::string sHuge = "1" + std::string(400, '0');
    int32_t lValue = 0;
    ASSERT_TRUE(booTextToLong(sHuge, lValue));
    EXPECT_EQ(lValue, INT32_MAX);
    ASSERT_TRUE(booTextToLong("-" + sHuge, lValue));
    EXPECT_EQ(lValue, INT32_MIN);
}

}  // namespace
