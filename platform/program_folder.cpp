#include "platform/program_folder.h"

#include <unistd.h>

#include <mutex>

namespace platform {
namespace {

std::mutex g_lock;
std::string g_override;

// The folder of the executable as the kernel names it; the current folder is
// never consulted, so a program started from elsewhere still finds its files.
std::string executableFolder() {
    std::string exe(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", exe.data(), exe.size());
    if (n <= 0) return ".";
    exe.resize(static_cast<size_t>(n));
    const size_t slash = exe.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return exe.substr(0, slash);
}

}  // namespace

std::string sProgramFolder() {
    {
        const std::lock_guard<std::mutex> guard(g_lock);
        // A folder set by a test is answered exactly as given, so that tests
        // can also hand in one that ends with '/'.
        if (!g_override.empty()) return g_override;
    }
    static const std::string folder = executableFolder();
    return folder;
}

void vSetProgramFolder(const std::string& folder) {
    const std::lock_guard<std::mutex> guard(g_lock);
    g_override = folder;
}

}  // namespace platform
