/* The sensor and unit-link library's C interface, as the console calls it.
 * Any library that exports these thirteen functions with C linkage can take
 * the place of ours (libZyrPan2.so beside the program). All results are
 * 32-bit signed statuses, 0 = success, unless noted. */
#ifndef ZYRPAN2_H
#define ZYRPAN2_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define ZYRWEQ_API __attribute__((visibility("default")))
#else
#define ZYRWEQ_API
#endif

/* ZyrWeq_Init, ZyrWeq_SetCommInit, ... as listed, with their comments, in
 * zyrpan2_calls.def beside this header. */
#define ZYRWEQ_CALL(ret, name, params, args) ZYRWEQ_API ret ZyrWeq_##name params;
#include "zyrpan2_calls.def"

#ifdef __cplusplus
}
#endif

#endif
