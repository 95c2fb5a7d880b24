#include "sensor/zyr_lib.h"

#include <dlfcn.h>

#include <cstdlib>

#include "app/service_log.h"

namespace {
ZyrLib s_lib;
std::string s_sPath;
bool s_booSet = false;

// The console calls the library through these: each passes the call on and
// logs a failure status where the console receives it, whether or not the
// caller looks at the status.
int32_t lSeen(const char* sCall, int32_t lStatus) {
    if (lStatus != 0) service_log::vLibFailure(sCall, lStatus);
    return lStatus;
}
int32_t cInit(const char* s, int32_t l) { return lSeen("ZyrWeq_Init", s_lib.Init(s, l)); }
int32_t cSetCommInit() { return lSeen("ZyrWeq_SetCommInit", s_lib.SetCommInit()); }
int32_t cSetSensMduInit(const char* s, int32_t l) {
    return lSeen("ZyrWeq_SetSensMduInit", s_lib.SetSensMduInit(s, l));
}
int32_t cResetAll() { return lSeen("ZyrWeq_ResetAll", s_lib.ResetAll()); }
int32_t cSetParamforPictEx(const char* s, int32_t n, int32_t step, int32_t lag) {
    return lSeen("ZyrWeq_SetParamforPictEx", s_lib.SetParamforPictEx(s, n, step, lag));
}
int32_t cSetWaitXExpose() { return lSeen("ZyrWeq_SetWaitXExpose", s_lib.SetWaitXExpose()); }
int32_t cCheckPictStatus(uint8_t* p) { return lSeen("ZyrWeq_CheckPictStatus", s_lib.CheckPictStatus(p)); }
int32_t cGetImageDataEx(int32_t n) { return lSeen("ZyrWeq_GetImageDataEx", s_lib.GetImageDataEx(n)); }
int32_t cSetDeviceFree() { return lSeen("ZyrWeq_SetDeviceFree", s_lib.SetDeviceFree()); }
int32_t cImageProcessingEx(const char* s, int32_t* p1, int32_t* p2) {
    return lSeen("ZyrWeq_ImageProcessingEx", s_lib.ImageProcessingEx(s, p1, p2));
}
int32_t cSaveBitmap(const char* s, int32_t v1, int32_t v2, int32_t z1, int32_t z2, const char* b) {
    return lSeen("ZyrWeq_SaveBitmap", s_lib.SaveBitmap(s, v1, v2, z1, z2, b));
}
int32_t cEther232Send(const char* s, int16_t n) { return lSeen("ZyrWeq_Ether232Send", s_lib.Ether232Send(s, n)); }
int32_t cEther232Recv(char* b) {
    // A count of bytes is no failure; only a negative status is.
    const int32_t lCount = s_lib.Ether232Recv(b);
    if (lCount < 0) service_log::vLibFailure("ZyrWeq_Ether232Recv", lCount);
    return lCount;
}

const ZyrLib kSeen = {.Init = cInit,
                      .SetCommInit = cSetCommInit,
                      .SetSensMduInit = cSetSensMduInit,
                      .ResetAll = cResetAll,
                      .SetParamforPictEx = cSetParamforPictEx,
                      .SetWaitXExpose = cSetWaitXExpose,
                      .CheckPictStatus = cCheckPictStatus,
                      .GetImageDataEx = cGetImageDataEx,
                      .SetDeviceFree = cSetDeviceFree,
                      .ImageProcessingEx = cImageProcessingEx,
                      .SaveBitmap = cSaveBitmap,
                      .Ether232Send = cEther232Send,
                      .Ether232Recv = cEther232Recv};

template <class F>
bool booResolve(void* h, const char* name, F& fn, std::string& sMissing) {
    void* p = dlsym(h, name);
    if (p == nullptr) {
        if (sMissing.empty()) sMissing = name;
        return false;
    }
    fn = reinterpret_cast<F>(p);
    return true;
}
}  // namespace

const ZyrLib& zyr() {
    if (!s_booSet) std::abort();  // the library is loaded before any window exists
    return kSeen;
}

void vSetZyrLib(const ZyrLib& lib, const std::string& sPath) {
    s_lib = lib;
    s_sPath = sPath;
    s_booSet = true;
}

const std::string& sZyrLibPath() { return s_sPath; }

bool booLoadZyrLib(const std::string& sPath, ZyrLib& lib, std::string& sError, std::string* psWhy) {
    // The handle stays open for the life of the program: the library owns the
    // link and the sensor until the process ends.
    void* h = dlopen(sPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (h == nullptr) {
        const char* why = dlerror();
        sError = "Cannot load the sensor library " + sPath + (why ? std::string("\n") + why : "");
        if (psWhy != nullptr) *psWhy = why ? why : "unknown reason";
        return false;
    }
    ZyrLib l;
    std::string sMissing;
    bool ok = true;
    ok &= booResolve(h, "ZyrWeq_Init", l.Init, sMissing);
    ok &= booResolve(h, "ZyrWeq_SetCommInit", l.SetCommInit, sMissing);
    ok &= booResolve(h, "ZyrWeq_SetSensMduInit", l.SetSensMduInit, sMissing);
    ok &= booResolve(h, "ZyrWeq_ResetAll", l.ResetAll, sMissing);
    ok &= booResolve(h, "ZyrWeq_SetParamforPictEx", l.SetParamforPictEx, sMissing);
    ok &= booResolve(h, "ZyrWeq_SetWaitXExpose", l.SetWaitXExpose, sMissing);
    ok &= booResolve(h, "ZyrWeq_CheckPictStatus", l.CheckPictStatus, sMissing);
    ok &= booResolve(h, "ZyrWeq_GetImageDataEx", l.GetImageDataEx, sMissing);
    ok &= booResolve(h, "ZyrWeq_SetDeviceFree", l.SetDeviceFree, sMissing);
    ok &= booResolve(h, "ZyrWeq_ImageProcessingEx", l.ImageProcessingEx, sMissing);
    ok &= booResolve(h, "ZyrWeq_SaveBitmap", l.SaveBitmap, sMissing);
    ok &= booResolve(h, "ZyrWeq_Ether232Send", l.Ether232Send, sMissing);
    ok &= booResolve(h, "ZyrWeq_Ether232Recv", l.Ether232Recv, sMissing);
    if (!ok) {
        sError = "The sensor library " + sPath + " has no function " + sMissing + ".";
        if (psWhy != nullptr) *psWhy = "no function " + sMissing;
        dlclose(h);
        return false;
    }
    lib = l;
    return true;
}
