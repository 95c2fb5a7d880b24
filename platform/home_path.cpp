#include "platform/home_path.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace platform {

std::string sHomeFolder() {
    const char* env = std::getenv("HOME");
    if (env != nullptr && *env != '\0') return env;
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buf(static_cast<size_t>(size > 0 ? size : 16384));
    passwd pw{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &pw, buf.data(), buf.size(), &found) != 0 || found == nullptr || found->pw_dir == nullptr)
        return {};
    return found->pw_dir;
}

std::string sExpandHome(const std::string& sName) {
    if (sName.rfind("~/", 0) != 0) return sName;
    std::string home = sHomeFolder();
    if (home.empty()) return sName;
    while (home.size() > 1 && home.back() == '/') home.pop_back();
    return (home == "/" ? "" : home) + sName.substr(1);
}

}  // namespace platform
