// Our own library linked into a test program, behind the console's table
// (the test program links zyrpan_sim).
#pragma once
#include "sensor/zyr_lib.h"

inline ZyrLib simTable() {
    ZyrLib l;
#define ZYRWEQ_CALL(ret, name, params, args) l.name = ZyrWeq_##name;
#include "sensor/zyrpan2_calls.def"
    return l;
}
