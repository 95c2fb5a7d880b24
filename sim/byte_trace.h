// One line of zyrpan-unit's trace: the direction, the bytes in hexadecimal,
// and the same bytes readable, e.g.
//   <- 02 63 31 20 62 34 03  [STX]c1 b4[ETX]
// "<-" is what the unit received from the console, "->" what it sent.
#pragma once
#include <string>
#include <string_view>

namespace sim {

std::string sTraceLine(std::string_view direction, std::string_view bytes);

}  // namespace sim
