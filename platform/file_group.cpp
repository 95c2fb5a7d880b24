#include "platform/file_group.h"

#include <grp.h>
#include <sys/stat.h>

#include <vector>

namespace platform {

std::string sFileGroup(const std::string& sPath) {
    struct stat st {};
    if (sPath.empty() || ::stat(sPath.c_str(), &st) != 0) return {};
    group gr{};
    group* found = nullptr;
    std::vector<char> buf(16384);
    if (::getgrgid_r(st.st_gid, &gr, buf.data(), buf.size(), &found) == 0 && found != nullptr && gr.gr_name != nullptr)
        return gr.gr_name;
    return std::to_string(st.st_gid);
}

}  // namespace platform
