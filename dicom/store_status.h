// --status: what waits in the spool, what the archive refused and why.
#pragma once
#include <ostream>
#include <string>

namespace store {
void vPrintStatus(const std::string& sSpool, std::ostream& out);
}
