// Interpretation of the unit's reports: errors, cooling time, sensor and
// position status, movement and READY progress, X-ray progress.
#pragma once
#include <cstdint>
#include <string>

// The number after the first character of an answer ("e5" -> 5, "T45" -> 45):
// leading digits only, 0 when there are none.
int32_t lAnswerNumber(const std::string& sAnswer);

// Interprets one answer text. lHandled = 1 when the console goes on polling,
// 0 when the main window is being closed.
void vParseAnswer(const std::string& sAnswer, int32_t& lHandled);
