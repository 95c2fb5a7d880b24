#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <map>
#include <mutex>

namespace platform {
namespace {

// The console that runs holds an exclusive lock (flock) on the folder its
// settings file really lives in (links resolved). Every operator who may read
// the settings may open that folder, so the hold works across users; nothing
// is created for it, so nobody can plant a file beforehand that blocks the
// start or sends it elsewhere (a lock file in a shared folder could be made
// by anyone, as a link or with rights the next console lacks); and the kernel
// drops the lock the moment the process ends, however it ends. The settings
// file itself is not locked: a settings write renames a new file over it.
struct Held {
    std::mutex lock;
    std::map<std::string, int> folders;  // folder -> locked descriptor of this copy
};

Held& held() {
    static Held h;
    return h;
}

std::string folderOfSettings(const std::string& sSettingsFile) {
    char real[PATH_MAX];
    const std::string path = realpath(sSettingsFile.c_str(), real) != nullptr ? std::string(real) : sSettingsFile;
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool booPrevInstance(const std::string& sSettingsFile) {
    Held& h = held();
    const std::lock_guard<std::mutex> guard(h.lock);
    const std::string folder = folderOfSettings(sSettingsFile);
    if (h.folders.count(folder) != 0) return false;  // this copy already holds it
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;  // cannot tell: let this copy run
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool taken = errno == EWOULDBLOCK;
        close(fd);
        return taken;
    }
    h.folders[folder] = fd;
    return false;
}

void vReleaseInstance() {
    Held& h = held();
    const std::lock_guard<std::mutex> guard(h.lock);
    for (const auto& entry : h.folders) close(entry.second);
    h.folders.clear();
}

}  // namespace platform
