// The console's seam to the sensor and unit-link library. The program loads
// libZyrPan2.so from its folder and fills the table from it; tests hand in a
// table of their own (an in-process fake, or our simulator linked in).
#pragma once
#include <cstdint>
#include <string>

#include "sensor/zyrpan2.h"

// One pointer per call of the library, named as the call without ZyrWeq_.
struct ZyrLib {
#define ZYRWEQ_CALL(ret, name, params, args) decltype(&ZyrWeq_##name) name = nullptr;
#include "sensor/zyrpan2_calls.def"
};

// The library in use: its calls, each failure status logged for the service
// engineer. Calling through it before one was set is a bug.
const ZyrLib& zyr();
// sPath: the file the calls came from (the exposure record names it and its
// digest), empty for a table linked into the program.
void vSetZyrLib(const ZyrLib& lib, const std::string& sPath = {});
const std::string& sZyrLibPath();

// Loads sPath with every symbol resolved. On failure returns false and puts a
// message naming the file (and the missing symbol) in sError, and the reason
// alone in *psWhy when given.
bool booLoadZyrLib(const std::string& sPath, ZyrLib& lib, std::string& sError,
                   std::string* psWhy = nullptr);
