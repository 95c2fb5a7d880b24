#include "sim/trace_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace sim {
namespace {

constexpr const char* kFolderName = "zyr-pan-weq";
constexpr const char* kPrefix = "trace-";
constexpr const char* kSuffix = ".txt";

std::string sHome() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    const passwd* pw = ::getpwuid(::geteuid());
    return pw != nullptr && pw->pw_dir != nullptr ? pw->pw_dir : "";
}

// mkdir -p, the folders it makes open to the user alone.
void vMakeFolders(const std::string& path) {
    for (size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1))
        ::mkdir(path.substr(0, at).c_str(), 0700);
    ::mkdir(path.c_str(), 0700);
}

// "20250304-091402-118-4711": sorts as the runs began.
std::string sRunName() {
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    ::localtime_r(&ts.tv_sec, &local);
    char buf[64];
    const size_t n = std::strftime(buf, sizeof buf, "%Y%m%d-%H%M%S", &local);
    std::snprintf(buf + n, sizeof buf - n, "-%03ld-%ld", ts.tv_nsec / 1000000, static_cast<long>(::getpid()));
    return buf;
}

bool booTraceName(const std::string& name) {
    const size_t p = std::strlen(kPrefix), s = std::strlen(kSuffix);
    return name.size() > p + s && name.compare(0, p, kPrefix) == 0 && name.compare(name.size() - s, s, kSuffix) == 0;
}

void vRemoveOldest(int dirFd) {
    const int fd = ::dup(dirFd);
    DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (dir == nullptr) {
        if (fd >= 0) ::close(fd);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(dir))
        if (booTraceName(e->d_name)) names.emplace_back(e->d_name);
    ::closedir(dir);
    if (names.size() <= kTraceFilesKept) return;
    std::sort(names.begin(), names.end());
    for (size_t i = 0; i + kTraceFilesKept < names.size(); ++i) ::unlinkat(dirFd, names[i].c_str(), 0);
}

}  // namespace

std::string sTraceFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') return std::string(state) + "/" + kFolderName;
    const std::string home = sHome();
    return home.empty() ? std::string() : home + "/.local/state/" + kFolderName;
}

TraceFile openRunTraceFile() {
    TraceFile t;
    t.path = sTraceFolder();
    if (t.path.empty()) {
        t.why = "no home folder";
        return t;
    }
    vMakeFolders(t.path);
    const int dirFd = ::open(t.path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dirFd < 0) {
        t.why = errno == ELOOP || errno == ENOTDIR ? "not a folder (a symbolic link?)" : std::strerror(errno);
        return t;
    }
    struct stat st {};
    if (::fstat(dirFd, &st) != 0 || st.st_uid != ::geteuid()) {
        t.why = "the folder belongs to another user";
    } else if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        t.why = "others may write to the folder";
    } else {
        const std::string run = sRunName();
        // A name taken already (a second library in this process within the
        // same millisecond) gets a number; O_EXCL never opens what is there.
        for (int n = 0; n < 10 && t.fd < 0; ++n) {
            std::string name = kPrefix + run;
            if (n > 0) name += '-' + std::to_string(n);
            name += kSuffix;
            t.fd = ::openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (t.fd >= 0) t.path += "/" + name;
            else if (errno != EEXIST) break;
        }
        if (t.fd < 0) {
            t.why = std::strerror(errno);
        } else {
            ::fchmod(t.fd, 0600);  // whatever the umask
            vRemoveOldest(dirFd);
        }
    }
    ::close(dirFd);
    return t;
}

}  // namespace sim
