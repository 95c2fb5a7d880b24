// Texts of DICOM answers into UTF-8. An answer says in SpecificCharacterSet
// how its texts are written; the operator must see every name as the server
// meant it, and a byte that cannot be read as a visible replacement mark
// (U+FFFD), never as a silently shorter name.
#pragma once
#include <string>

// The replacement mark, UTF-8.
inline constexpr const char* kReplacementMark = "\xEF\xBF\xBD";

// Delimiters after which ISO 2022 code extensions return to their initial
// state: the value separator, and for person names the component and group
// separators.
inline constexpr const char* kTextDelimiters = "\\";
inline constexpr const char* kPersonNameDelimiters = "\\^=";

// sBytes, written in the character set sCharset (the raw SpecificCharacterSet
// value, its terms separated by backslashes), as UTF-8. The result is always
// valid UTF-8.
std::string sDecodeDicomText(const std::string& sCharset, const std::string& sBytes,
                             const char* pszDelimiters = kTextDelimiters);

// UTF-8 as it is where valid; each byte that does not start a valid
// sequence becomes the replacement mark.
std::string sRepairUtf8(const std::string& sBytes);
bool booValidUtf8(const std::string& sBytes);
