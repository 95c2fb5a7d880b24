#include "platform/temp_path.h"

#include <cstdlib>

namespace platform {

std::string GetTempPathA() {
    const char* env = std::getenv("TMPDIR");
    if (env == nullptr || *env == '\0') return "/tmp/";
    std::string path(env);
    if (path.back() != '/') path.push_back('/');
    return path;
}

}  // namespace platform
