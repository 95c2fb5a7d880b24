// The program's string table: every text the console shows, by number, in
// English and Japanese. The texts are compiled into the program.
#pragma once
#include <cstdint>
#include <string>

// Which row of the table the texts come from: 0 follows the user-interface
// locale (Japanese when its language is Japanese, else English), 1 English,
// 2 Japanese.
void vSetResLanguage(int lang);
// True when the texts come from the Japanese row now.
bool booResJapanese();

// The text of number lNo in the current language, untouched. False when the
// table holds no text of that number (sText is then left as it was).
bool booLoadResString(int32_t lNo, std::string& sText);
