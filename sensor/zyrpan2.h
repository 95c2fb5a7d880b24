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

/* Path of ZYR_PAN_WEQ.ini beside the program; the console passes 1. Result ignored. */
ZYRWEQ_API int32_t ZyrWeq_Init(const char* sIniPath, int32_t lFlag);
/* Opens the link to the unit. */
ZYRWEQ_API int32_t ZyrWeq_SetCommInit(void);
/* Initialises the sensor module; lLoadFpga 1 loads its program file again. */
ZYRWEQ_API int32_t ZyrWeq_SetSensMduInit(const char* sIniPath, int32_t lLoadFpga);
ZYRWEQ_API int32_t ZyrWeq_ResetAll(void);
/* Film speed data file, number of images (1, 2 or 4), TimeStep, TimeLag. */
ZYRWEQ_API int32_t ZyrWeq_SetParamforPictEx(const char* sFilmPath, int32_t lPictCount,
                                             int32_t lTimeStep, int32_t lTimeLag);
ZYRWEQ_API int32_t ZyrWeq_SetWaitXExpose(void);
/* *pbytStat: 1 while X-ray is being received, 0 when not. */
ZYRWEQ_API int32_t ZyrWeq_CheckPictStatus(uint8_t* pbytStat);
/* Reads the data of the lPictCount images exposed. */
ZYRWEQ_API int32_t ZyrWeq_GetImageDataEx(int32_t lPictCount);
ZYRWEQ_API int32_t ZyrWeq_SetDeviceFree(void);
/* Writes the processed data file; fills the image's width and height. */
ZYRWEQ_API int32_t ZyrWeq_ImageProcessingEx(const char* sDatPath, int32_t* plValue1,
                                            int32_t* plValue2);
/* Writes the bitmap sBmpName from the data file. */
ZYRWEQ_API int32_t ZyrWeq_SaveBitmap(const char* sDatPath, int32_t lValue1, int32_t lValue2,
                                     int32_t lZero1, int32_t lZero2, const char* sBmpName);
/* Sends iLen characters of sText over the unit link. */
ZYRWEQ_API int32_t ZyrWeq_Ether232Send(const char* sText, int16_t iLen);
/* Fills sBuf (1024 characters, not NUL-terminated) with what arrived:
 * the count of characters, 0 when nothing came, negative when the link failed. */
ZYRWEQ_API int32_t ZyrWeq_Ether232Recv(char* sBuf);

#ifdef __cplusplus
}
#endif

#endif
