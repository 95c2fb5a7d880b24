// The console's seam to the sensor and unit-link library. The program loads
// libZyrPan2.so from its folder and fills the table from it; tests hand in a
// table of their own (an in-process fake, or our simulator linked in).
#pragma once
#include <cstdint>
#include <string>

#include "sensor/zyrpan2.h"

struct ZyrLib {
    decltype(&ZyrWeq_Init) Init = nullptr;
    decltype(&ZyrWeq_SetCommInit) SetCommInit = nullptr;
    decltype(&ZyrWeq_SetSensMduInit) SetSensMduInit = nullptr;
    decltype(&ZyrWeq_ResetAll) ResetAll = nullptr;
    decltype(&ZyrWeq_SetParamforPictEx) SetParamforPictEx = nullptr;
    decltype(&ZyrWeq_SetWaitXExpose) SetWaitXExpose = nullptr;
    decltype(&ZyrWeq_CheckPictStatus) CheckPictStatus = nullptr;
    decltype(&ZyrWeq_GetImageDataEx) GetImageDataEx = nullptr;
    decltype(&ZyrWeq_SetDeviceFree) SetDeviceFree = nullptr;
    decltype(&ZyrWeq_ImageProcessingEx) ImageProcessingEx = nullptr;
    decltype(&ZyrWeq_SaveBitmap) SaveBitmap = nullptr;
    decltype(&ZyrWeq_Ether232Send) Ether232Send = nullptr;
    decltype(&ZyrWeq_Ether232Recv) Ether232Recv = nullptr;
};

// The library in use. Calling through it before one was set is a bug.
const ZyrLib& zyr();
void vSetZyrLib(const ZyrLib& lib);

// Loads sPath with every symbol resolved. On failure returns false and puts a
// message naming the file (and the missing symbol) in sError.
bool booLoadZyrLib(const std::string& sPath, ZyrLib& lib, std::string& sError);
