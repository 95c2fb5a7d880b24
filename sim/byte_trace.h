// One line of zyrpan-unit's trace: the direction, the bytes in hexadecimal,
// and the same bytes readable, e.g.
//   <- 02 63 31 20 62 34 03  [STX]c1 b4[ETX]
// "<-" is what the unit received from the console, "->" what it sent.
// Trace lines are read in terminals and editors and may be pasted into a
// shell: bytes from the line and texts from the settings file never reach
// them raw.
#pragma once
#include <string>
#include <string_view>

namespace sim {

std::string sTraceLine(std::string_view direction, std::string_view bytes);

// Text from outside (a setting, a device name) as a trace line carries it:
// printable ASCII stays, every other byte and the shell's '$', '`' and '\'
// become \xNN, so one record stays one line and pastes as plain words.
std::string sTraceText(std::string_view text);

}  // namespace sim
