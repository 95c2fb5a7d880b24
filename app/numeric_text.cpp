#include "app/numeric_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool booIsBlank(char c) { return c == ' ' || c == '\t'; }
bool booIsDigit(char c) { return c >= '0' && c <= '9'; }

// The unsigned part of a number (digits and fraction) inside the blanks,
// with its sign; false when the text is not numeric.
bool booSplitNumber(const std::string& sText, bool& booNegative, std::string_view& svDigits) {
    size_t b = 0, e = sText.size();
    while (b < e && booIsBlank(sText[b])) ++b;
    while (e > b && booIsBlank(sText[e - 1])) --e;
    booNegative = false;
    if (b < e && (sText[b] == '+' || sText[b] == '-')) {
        booNegative = sText[b] == '-';
        ++b;
    }
    size_t lInt = 0, lFrac = 0, i = b;
    while (i < e && booIsDigit(sText[i])) ++i, ++lInt;
    if (i < e && sText[i] == '.') {
        ++i;
        while (i < e && booIsDigit(sText[i])) ++i, ++lFrac;
    }
    if (i != e || lInt + lFrac == 0) return false;
    svDigits = std::string_view(sText).substr(b, e - b);
    return true;
}

}  // namespace

bool booTextToLong(const std::string& sText, int32_t& lValue) {
    bool booNegative;
    std::string_view svDigits;
    if (!booSplitNumber(sText, booNegative, svDigits)) return false;
    double dValue = 0.0;
    // from_chars ignores the locale. Out of a double's range means huge when
    // the whole part holds a non-zero digit, else a tiny fraction.
    const auto r = std::from_chars(svDigits.data(), svDigits.data() + svDigits.size(), dValue,
                                   std::chars_format::fixed);
    if (r.ec == std::errc::result_out_of_range) {
        const std::string_view svWhole = svDigits.substr(0, svDigits.find('.'));
        const bool booHuge = svWhole.find_first_not_of('0') != std::string_view::npos;
        dValue = booHuge ? std::numeric_limits<double>::infinity() : 0.0;
    }
    if (booNegative) dValue = -dValue;
    const double dRounded = std::nearbyint(dValue);  // default rounding: halves to even
    constexpr double dMin = std::numeric_limits<int32_t>::min();
    constexpr double dMax = std::numeric_limits<int32_t>::max();
    if (dRounded <= dMin) {
        lValue = std::numeric_limits<int32_t>::min();
    } else if (dRounded >= dMax) {
        lValue = std::numeric_limits<int32_t>::max();
    } else {
        lValue = static_cast<int32_t>(dRounded);
    }
    return true;
}
