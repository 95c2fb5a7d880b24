#include "sensor/zyr_lib.h"

#include <dlfcn.h>

#include <cstdlib>
#include <string_view>

#include "app/service_log.h"

namespace {
ZyrLib s_lib;
std::string s_sPath;
bool s_booSet = false;

// The count of bytes ZyrWeq_Ether232Recv returns is no failure; only a
// negative status is.
int32_t lSeen(const char* sCall, int32_t lStatus, bool booCountsBytes) {
    if (lStatus < 0 || (lStatus != 0 && !booCountsBytes)) service_log::vLibFailure(sCall, lStatus);
    return lStatus;
}
constexpr bool booCountsBytes(std::string_view sName) { return sName == "Ether232Recv"; }

// The console calls the library through these (cInit, cSetCommInit, ...):
// each passes the call on and logs a failure status where the console
// receives it, whether or not the caller looks at the status.
#define ZYRWEQ_CALL(ret, name, params, args) \
    ret c##name params { return lSeen("ZyrWeq_" #name, s_lib.name args, booCountsBytes(#name)); }
#include "sensor/zyrpan2_calls.def"

const ZyrLib kSeen = {
#define ZYRWEQ_CALL(ret, name, params, args) .name = c##name,
#include "sensor/zyrpan2_calls.def"
};

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
#define ZYRWEQ_CALL(ret, name, params, args) ok &= booResolve(h, "ZyrWeq_" #name, l.name, sMissing);
#include "sensor/zyrpan2_calls.def"
    if (!ok) {
        sError = "The sensor library " + sPath + " has no function " + sMissing + ".";
        if (psWhy != nullptr) *psWhy = "no function " + sMissing;
        dlclose(h);
        return false;
    }
    lib = l;
    return true;
}
