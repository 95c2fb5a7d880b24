#include "sensor/zyr_lib.h"

#include <dlfcn.h>

#include <cstdlib>

namespace {
ZyrLib s_lib;
bool s_booSet = false;

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
    return s_lib;
}

void vSetZyrLib(const ZyrLib& lib) {
    s_lib = lib;
    s_booSet = true;
}

bool booLoadZyrLib(const std::string& sPath, ZyrLib& lib, std::string& sError) {
    // The handle stays open for the life of the program: the library owns the
    // link and the sensor until the process ends.
    void* h = dlopen(sPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (h == nullptr) {
        const char* why = dlerror();
        sError = "Cannot load the sensor library " + sPath + (why ? std::string("\n") + why : "");
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
        dlclose(h);
        return false;
    }
    lib = l;
    return true;
}
