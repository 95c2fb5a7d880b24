// libZyrPan2.so as the console loads it: it exports the thirteen calls and
// nothing else, and works on its own (embedded unit, its own clock).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "sensor/zyrpan2.h"
#include "sim/frame_codec.h"
#include "tests/sim/unit_process.h"

namespace {

const std::set<std::string> kCalls = {
    "ZyrWeq_Init",           "ZyrWeq_SetCommInit",       "ZyrWeq_SetSensMduInit", "ZyrWeq_ResetAll",
    "ZyrWeq_SetParamforPictEx", "ZyrWeq_SetWaitXExpose", "ZyrWeq_CheckPictStatus", "ZyrWeq_GetImageDataEx",
    "ZyrWeq_SetDeviceFree",  "ZyrWeq_ImageProcessingEx", "ZyrWeq_SaveBitmap",     "ZyrWeq_Ether232Send",
    "ZyrWeq_Ether232Recv"};

std::string sLibrary() { return simtest::sStageDir() + "/libZyrPan2.so"; }

TEST(ApiExports, ExactlyTheThirteenCallsAreExported) {
    FILE* nm = ::popen(("nm -D --defined-only " + sLibrary() + " 2>/dev/null").c_str(), "r");
    ASSERT_NE(nm, nullptr);
    std::set<std::string> names;
    char line[512];
    while (std::fgets(line, sizeof line, nm) != nullptr) {
        std::string s(line);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
        const auto sp = s.rfind(' ');
        if (sp != std::string::npos) names.insert(s.substr(sp + 1));
    }
    const int status = ::pclose(nm);
    if (status != 0 && names.empty()) GTEST_SKIP() << "nm is not available";
    EXPECT_EQ(names, kCalls);
}

TEST(ApiExports, EveryCallResolvesAndTheEmbeddedUnitAnswers) {
    void* h = ::dlopen(sLibrary().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(h, nullptr) << ::dlerror();
    for (const auto& name : kCalls) EXPECT_NE(::dlsym(h, name.c_str()), nullptr) << name;
    EXPECT_EQ(::dlsym(h, "_ZN3sim9theSensorEv"), nullptr) << "internals stay hidden";

    char tmpl[] = "/tmp/zyrsoXXXXXX";
    const std::string dir = mkdtemp(tmpl);
    const std::string ini = dir + "/ZYR_PAN_WEQ.ini";
    std::ofstream(ini) << "[ZyrPan2]\nLink=sim\nAnswerDelay=0\n";
    auto init = reinterpret_cast<decltype(&ZyrWeq_Init)>(::dlsym(h, "ZyrWeq_Init"));
    auto open = reinterpret_cast<decltype(&ZyrWeq_SetCommInit)>(::dlsym(h, "ZyrWeq_SetCommInit"));
    auto send = reinterpret_cast<decltype(&ZyrWeq_Ether232Send)>(::dlsym(h, "ZyrWeq_Ether232Send"));
    auto recv = reinterpret_cast<decltype(&ZyrWeq_Ether232Recv)>(::dlsym(h, "ZyrWeq_Ether232Recv"));
    auto release = reinterpret_cast<decltype(&ZyrWeq_SetDeviceFree)>(::dlsym(h, "ZyrWeq_SetDeviceFree"));
    init(ini.c_str(), 1);
    ASSERT_EQ(open(), 0);
    ASSERT_EQ(send("\x02" "c1 b4\x03", 7), 0);
    char buf[1024];
    // With no answer delay the report is due at once: the first read has both.
    const int32_t n = recv(buf);
    EXPECT_EQ(std::string(buf, n > 0 ? static_cast<size_t>(n) : 0), "\x06" + sim::sBuildFrame("s1"));
    release();
    ::dlclose(h);
    std::filesystem::remove_all(dir);
}

}  // namespace
