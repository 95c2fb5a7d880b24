// Rows of the string table, gathered by the part of the console that shows them.
#pragma once
#include <cstdint>
#include <span>

struct tResRow {
    int32_t lNo;
    const char* sEnglish;
    const char* sJapanese;
};

namespace res_rows {
std::span<const tResRow> sequence();      // exposure sequence and initialization
std::span<const tResRow> libraryCodes();  // explanations of the library's result codes
std::span<const tResRow> console();       // status texts, prompts and link messages
std::span<const tResRow> captions();      // labels, mode names, condition dialog
std::span<const tResRow> unitErrors();    // the unit's error reports with their own texts
std::span<const tResRow> worklist();      // the worklist choice window and its messages
}  // namespace res_rows
