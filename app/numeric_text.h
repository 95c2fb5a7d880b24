// Numbers typed by the operator or read from the settings file.
#pragma once
#include <cstdint>
#include <string>

// Converts numeric text to the nearest whole number, halves to the even one
// (70.5 -> 70, 71.5 -> 72). Numeric text is blanks or tabs around an
// optional sign, then digits with an optional decimal fraction ("12", "-3",
// "+4.5", "7.", ".5"). Nothing else counts: no exponent, no thousands
// separators, no hexadecimal, no blank between sign and digits. The decimal
// mark is always '.', whatever the locale. A value beyond the 32-bit range
// is held at the nearest 32-bit value, so range checks of the caller still
// reject it.
// Returns false, leaving lValue untouched, when the text is not numeric.
bool booTextToLong(const std::string& sText, int32_t& lValue);
