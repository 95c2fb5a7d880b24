// How a resource text is looked up and which text explains a result code.
#pragma once
#include <cstdint>
#include <string>

// The text the loader hands on for number lNo when the table gave pszFound
// (nullptr when it holds no such number): the fallback
// "Error : LoadResString(<lNo>)" for a missing text, the empty text for one
// made of blanks only, else the text untrimmed.
std::string sTidyResText(int32_t lNo, const char* pszFound);

// Link codes of the library whose remedy is the installation's, not the
// unit's: no Link setting, a serial device the user may not open, and one
// another program holds.
constexpr int32_t kCodeNoLinkSetting = -4;
constexpr int32_t kCodeNoSerialPermission = -5;
constexpr int32_t kCodeSerialInUse = -6;
bool booInstallationCode(int32_t lCode);

// Number of the text that explains a library or transaction result code:
// 10450 + code for 1..30, 10400 - code for -99..-93 and for the three link
// codes above, 10491 for the other codes -10..-1, 10492 for every other code.
int32_t lCodeTextNo(int32_t lCode);
