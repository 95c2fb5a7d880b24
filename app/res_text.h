// How a resource text is looked up and which text explains a result code.
#pragma once
#include <cstdint>
#include <string>

// The text the loader hands on for number lNo when the table gave pszFound
// (nullptr when it holds no such number): the fallback
// "Error : LoadResString(<lNo>)" for a missing text, the empty text for one
// made of blanks only, else the text untrimmed.
std::string sTidyResText(int32_t lNo, const char* pszFound);

// Number of the text that explains a library or transaction result code:
// 10450 + code for 1..30, 10491 for -10..-1, 10400 - code for -99..-93,
// 10492 for every other code.
int32_t lCodeTextNo(int32_t lCode);
