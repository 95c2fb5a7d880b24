// Our own library linked into a test program, behind the console's table
// (the test program links zyrpan_sim).
#pragma once
#include "sensor/zyr_lib.h"

inline ZyrLib simTable() {
    ZyrLib l;
    l.Init = ZyrWeq_Init;
    l.SetCommInit = ZyrWeq_SetCommInit;
    l.SetSensMduInit = ZyrWeq_SetSensMduInit;
    l.ResetAll = ZyrWeq_ResetAll;
    l.SetParamforPictEx = ZyrWeq_SetParamforPictEx;
    l.SetWaitXExpose = ZyrWeq_SetWaitXExpose;
    l.CheckPictStatus = ZyrWeq_CheckPictStatus;
    l.GetImageDataEx = ZyrWeq_GetImageDataEx;
    l.SetDeviceFree = ZyrWeq_SetDeviceFree;
    l.ImageProcessingEx = ZyrWeq_ImageProcessingEx;
    l.SaveBitmap = ZyrWeq_SaveBitmap;
    l.Ether232Send = ZyrWeq_Ether232Send;
    l.Ether232Recv = ZyrWeq_Ether232Recv;
    return l;
}
