// The roles a child copy of this test program plays. They run before main,
// when the environment names one, and the process ends when the role does;
// a test program started without a role runs its tests as usual.
#include <grp.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/atomic_file.h"
#include "platform/profile_string.h"
#include "platform/single_instance.h"

namespace {

constexpr int kReportFd = 3;

std::string arg(int i) {
    const char* v = std::getenv(("ZYR_PLATFORM_CHILD_ARG" + std::to_string(i)).c_str());
    return v != nullptr ? v : "";
}

void report(const std::string& line) {
    const std::string s = line + "\n";
    (void)!write(kReportFd, s.data(), s.size());
}

[[noreturn]] void waitToBeKilled() {
    for (;;) pause();
}

// Tells the parent where the finished temporary file is, then stops before
// the rename as if the power went.
void vStopBeforeRename(const char* tempPath) {
    report(std::string("temp ") + tempPath);
    waitToBeKilled();
}

[[noreturn]] void runRole(const std::string& role) {
    if (role == "hold-instance") {
        report(platform::booPrevInstance(arg(0)) ? "running" : "first");
        waitToBeKilled();
    }
    if (role == "query-instance") {
        report(platform::booPrevInstance(arg(0)) ? "running" : "first");
        _exit(0);
    }
    if (role == "write-stop-before-rename") {
        platform::vSetReplaceHook(vStopBeforeRename);
        platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", "Volt", arg(1).c_str(), arg(0).c_str());
        report("renamed");  // the hook did not stop it
        _exit(1);
    }
    if (role == "write-huge") {
        const std::string value(std::stoul(arg(1)), 'v');
        report("writing");
        const int32_t ok = platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", "Volt", value.c_str(), arg(0).c_str());
        report(ok != 0 ? "done" : "failed");
        _exit(0);
    }
    if (role == "write-as-user") {
        // Drop root's rights so that folder permissions apply.
        const auto id = static_cast<uid_t>(std::stoul(arg(0)));
        if (setgroups(0, nullptr) != 0 || setgid(id) != 0 || setuid(id) != 0) {
            report("cannot-drop");
            _exit(0);
        }
        const int32_t ok = platform::WritePrivateProfileStringA("ZYR_PAN_WEQ", "Volt", "75", arg(1).c_str());
        report(ok != 0 ? "written" : "refused");
        _exit(0);
    }
    report("unknown-role");
    _exit(2);
}

const bool g_childRan = [] {
    const char* role = std::getenv("ZYR_PLATFORM_CHILD_ROLE");
    if (role != nullptr) runRole(role);
    return false;
}();

}  // namespace
