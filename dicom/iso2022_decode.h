// Texts written with ISO 2022 code extensions, as Japanese worklists send
// them: escape sequences switch between ASCII or JIS X 0201 romaji, JIS X
// 0208 kanji and kana, JIS X 0212, and half-width katakana in the upper
// half; Latin-1's upper half is known as well.
#pragma once
#include <string>

// The text as UTF-8. sFirstTerm is the first term of SpecificCharacterSet
// ("", "ISO 2022 IR 6", "ISO 2022 IR 13", ...): it sets the initial state,
// to which every delimiter in pszDelimiters and every line or tab control
// returns. Characters of an unknown or undesignated set become U+FFFD.
std::string sDecodeIso2022(const std::string& sFirstTerm, const std::string& sBytes, const char* pszDelimiters);
