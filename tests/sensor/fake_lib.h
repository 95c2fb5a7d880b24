// A scripted stand-in for the sensor library: each call is recorded and
// answers with the status the test set for it.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sensor/zyr_lib.h"

namespace fakelib {

struct Call {
    std::string name;
    std::string text;  // path or name argument
    int32_t a = 0, b = 0, c = 0;
};

extern std::vector<Call> calls;
extern std::map<std::string, int32_t> status;  // function name -> status
extern std::vector<uint8_t> pictBytes;          // answers of CheckPictStatus, in order
extern int32_t value1, value2;                  // filled by ImageProcessingEx

void vReset();
ZyrLib table();
std::vector<std::string> names();

}  // namespace fakelib
