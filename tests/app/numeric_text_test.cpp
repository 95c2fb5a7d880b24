// Numbers typed by the operator or read from the settings file.
#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "app/numeric_text.h"

TEST(NumericText, AcceptsSignedDecimalsRoundsHalvesToEvenHoldsAt32Bits) {
    const std::string sHuge = "1" + std::string(400, '0');
    const std::optional<int32_t> no;
    const std::pair<std::string, std::optional<int32_t>> kCases[] = {
        {"70", 70}, {"-1", -1}, {"+12", 12}, {" 12 ", 12}, {"\t5", 5}, {".5", 0}, {"7.", 7}, {"-.6", -1},
        // Halves go to the even neighbour, other fractions to the nearest.
        {"70.5", 70}, {"71.5", 72}, {"-2.5", -2}, {"-3.5", -4}, {"70.49", 70}, {"70.51", 71},
        // Beyond 32 bits: held at the nearest 32-bit value, never wrapped.
        {"2147483647", INT32_MAX}, {"2147483648", INT32_MAX}, {"4294967366", INT32_MAX}, {sHuge, INT32_MAX},
        {"-2147483648", INT32_MIN}, {"-2147483649", INT32_MIN}, {"-" + sHuge, INT32_MIN},
        {"0." + std::string(400, '0') + "1", 0},
        {"", no}, {" ", no}, {"abc", no}, {"NONE", no}, {"+", no}, {".", no}, {"1e3", no}, {"0x10", no},
        {"1,000", no}, {"70,5", no}, {"1.2.3", no}, {"- 5", no}, {"5 5", no}, {"12a", no}, {"--1", no}};
    for (const auto& [sText, oValue] : kCases) {
        int32_t lValue = 12345;
        EXPECT_EQ(booTextToLong(sText, lValue), oValue.has_value()) << '"' << sText << '"';
        EXPECT_EQ(lValue, oValue.value_or(12345)) << '"' << sText << '"';
    }
}
