#include "platform/write_target.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <deque>
#include <vector>

namespace platform {
namespace {

std::atomic<unsigned> g_serial{0};

// Links the running user made, and the system's own, are followed.
bool booTrustedOwner(uid_t uid) { return uid == geteuid() || uid == 0; }

std::deque<std::string> components(const std::string& path) {
    std::deque<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t slash = path.find('/', start);
        const size_t end = slash == std::string::npos ? path.size() : slash;
        const std::string part = path.substr(start, end - start);
        if (!part.empty() && part != ".") parts.push_back(part);
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    return parts;
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string parentOf(const std::string& folder) {
    const size_t slash = folder.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : folder.substr(0, slash);
}

// The first bytes of the open file, or nothing when it cannot be read.
bool booReadHead(int fd, size_t lHeadBytes, std::string& head) {
    head.assign(lHeadBytes, '\0');
    size_t got = 0;
    while (got < lHeadBytes) {
        const ssize_t n = read(fd, head.data() + got, lHeadBytes - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    head.resize(got);
    return true;
}

// The rules for an existing entry of the target's folder (opened as dirFd);
// folderSticky: the folder has its sticky bit.
TargetFault entryFault(int dirFd, const std::string& name, bool folderSticky, KindTest isKind, size_t lHeadBytes,
                       bool& booExists) {
    struct stat st {};
    booExists = false;
    if (fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return TargetFault::None;
    booExists = true;
    if (S_ISLNK(st.st_mode)) return booTrustedOwner(st.st_uid) ? TargetFault::None : TargetFault::ForeignLink;
    if (folderSticky && st.st_uid != geteuid()) return TargetFault::ForeignSharedFile;
    if (!S_ISREG(st.st_mode)) return TargetFault::OtherKind;
    const int fd = openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    std::string head;
    const bool booRead = fd >= 0 && booReadHead(fd, lHeadBytes, head);
    if (fd >= 0) close(fd);
    return booRead && isKind(head) ? TargetFault::None : TargetFault::OtherKind;
}

bool booSticky(int dirFd) {
    struct stat st {};
    return fstat(dirFd, &st) == 0 && (st.st_mode & S_ISVTX) != 0;
}

int openFolder(const std::string& folder) {
    return open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

}  // namespace

WriteTarget checkWriteTarget(const std::string& sPath, KindTest isKind, size_t lHeadBytes) {
    WriteTarget t;
    std::string path = sPath;
    if (path.empty() || path.front() != '/') {
        char cwd[PATH_MAX];
        path = std::string(getcwd(cwd, sizeof cwd) != nullptr ? cwd : ".") + "/" + path;
    }
    std::deque<std::string> todo = components(path);
    const bool booFolderNamed = path.back() == '/';
    std::string done = "/";
    int hops = 0;
    while (!todo.empty()) {
        const std::string part = todo.front();
        todo.pop_front();
        if (part == "..") {
            done = parentOf(done);
            continue;
        }
        const std::string candidate = joined(done, part);
        struct stat st {};
        if (lstat(candidate.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            if (todo.empty()) {
                t.folder = done;
                t.name = part;
                break;
            }
            done = candidate;  // a folder, or a missing one: the write then fails
            continue;
        }
        if (!booTrustedOwner(st.st_uid)) {
            t.fault = TargetFault::ForeignLink;
            t.folder = done;
            t.name = part;
            return t;
        }
        std::vector<char> text(PATH_MAX);
        const ssize_t n = readlink(candidate.c_str(), text.data(), text.size());
        if (n <= 0 || n >= static_cast<ssize_t>(text.size()) || ++hops > 40) {
            t.fault = TargetFault::OtherKind;  // a loop of links, or one that cannot be read
            t.folder = done;
            t.name = part;
            return t;
        }
        const std::string link(text.data(), static_cast<size_t>(n));
        if (link.front() == '/') done = "/";
        std::deque<std::string> more = components(link);
        todo.insert(todo.begin(), more.begin(), more.end());
    }
    if (t.name.empty() || booFolderNamed) {
        t.fault = TargetFault::OtherKind;  // the name is a folder's
        if (t.folder.empty()) t.folder = done;
        return t;
    }
    const int dirFd = openFolder(t.folder);
    if (dirFd < 0) return t;
    t.fault = entryFault(dirFd, t.name, booSticky(dirFd), isKind, lHeadBytes, t.booExists);
    close(dirFd);
    return t;
}

bool booWriteTarget(const std::string& sPath, KindTest isKind, size_t lHeadBytes,
                    const std::function<bool(int fd)>& fill, bool booSync, TargetFault* pFault) {
    const WriteTarget t = checkWriteTarget(sPath, isKind, lHeadBytes);
    if (pFault != nullptr) *pFault = t.fault;
    if (t.fault != TargetFault::None) return false;
    const int dirFd = openFolder(t.folder);
    if (dirFd < 0) return false;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = "." + t.name + ".~" + std::to_string(getpid()) + "." + std::to_string(g_serial++);
        fd = openat(dirFd, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        close(dirFd);
        return false;
    }
    bool ok = fill(fd);
    ok = ok && (!booSync || fsync(fd) == 0);
    ok = close(fd) == 0 && ok;
    // The name may have changed hands while the file was written.
    bool booExists = false;
    const TargetFault late = ok ? entryFault(dirFd, t.name, booSticky(dirFd), isKind, lHeadBytes, booExists)
                                : TargetFault::None;
    if (pFault != nullptr) *pFault = late;
    ok = ok && late == TargetFault::None && renameat(dirFd, temp.c_str(), dirFd, t.name.c_str()) == 0;
    if (!ok) unlinkat(dirFd, temp.c_str(), 0);
    if (ok && booSync) fsync(dirFd);  // the rename itself; a failure here changes nothing
    close(dirFd);
    return ok;
}

bool booRemoveTarget(const std::string& sPath, KindTest isKind, size_t lHeadBytes) {
    const WriteTarget t = checkWriteTarget(sPath, isKind, lHeadBytes);
    if (t.fault != TargetFault::None) return false;
    if (!t.booExists) return true;
    const int dirFd = openFolder(t.folder);
    if (dirFd < 0) return false;
    bool booExists = false;
    bool ok = entryFault(dirFd, t.name, booSticky(dirFd), isKind, lHeadBytes, booExists) == TargetFault::None;
    ok = ok && (!booExists || unlinkat(dirFd, t.name.c_str(), 0) == 0 || errno == ENOENT);
    close(dirFd);
    return ok;
}

bool booBitmapHead(std::string_view head) { return head.substr(0, 2) == "BM"; }

}  // namespace platform
