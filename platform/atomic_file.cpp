#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

namespace platform {
namespace {

std::atomic<ReplaceHook> g_hook{nullptr};
std::atomic<unsigned> g_serial{0};

// The file a write lands in: a symbolic link is followed through a chain of
// links, also to a target that does not exist yet, so that the new file is
// made beside the target and the link itself stays in place (an installed
// program folder links its settings file to a writable folder elsewhere).
std::string resolveTarget(const std::string& path) {
    std::string target = path;
    for (int hop = 0; hop < 40; ++hop) {
        char text[PATH_MAX];
        const ssize_t n = readlink(target.c_str(), text, sizeof text);
        if (n <= 0 || n >= static_cast<ssize_t>(sizeof text)) return target;
        const std::string link(text, static_cast<size_t>(n));
        const size_t slash = target.rfind('/');
        // A relative link is taken from the folder the link is in.
        target = link.front() == '/' || slash == std::string::npos ? link : target.substr(0, slash + 1) + link;
    }
    return target;  // a loop of links: the write then fails
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Creates a fresh hidden file beside the target; -1 when the folder refuses.
int openTemp(const std::string& folder, const std::string& name, std::string& tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "/." + name + ".~" + std::to_string(getpid()) + "." + std::to_string(g_serial++);
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Gives the new file the old one's owner and group, or, for a writer who is
// not root, its group (the writer being one of the group). False when the
// group cannot be kept.
bool booKeepOwnership(int fd, const struct stat& old) {
    struct stat made {};
    if (fstat(fd, &made) != 0) return false;
    if (made.st_uid == old.st_uid && made.st_gid == old.st_gid) return true;
    if (fchown(fd, old.st_uid, old.st_gid) == 0) return true;
    return made.st_gid == old.st_gid || fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
}

// Rewrites the file in place: its owner, group and permission bits stay. The
// new bytes go out in one write, padded with line ends to the old length,
// then the file is cut to the new length and flushed. A writer stopped
// between the write and the cut leaves the new settings and blank lines; only
// a write torn inside (a power cut before the flush reached the disk) can
// leave the start of the new bytes over the rest of the old.
bool booRewriteInPlace(const std::string& target, std::string_view bytes) {
    const int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    std::string padded(bytes);
    if (ok && static_cast<off_t>(padded.size()) < st.st_size)
        padded.append(static_cast<size_t>(st.st_size) - padded.size(), '\n');
    ok = ok && writeAll(fd, padded);
    ok = ok && ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    return ok;
}

}  // namespace

bool booReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char chunk[65536];
    bool ok = true;
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        bytes.append(chunk, static_cast<size_t>(n));
    }
    close(fd);
    if (!ok) bytes.clear();
    return ok;
}

bool booReplaceFile(const std::string& path, std::string_view bytes) {
    if (path.empty()) return false;
    const std::string target = resolveTarget(path);
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode)) return false;
        // The read-only attribute: root could write anyway, the operator's
        // setting must not be overwritten all the same.
        if ((old.st_mode & S_IWUSR) == 0) return false;
        if (access(target.c_str(), W_OK) != 0) return false;
    } else if (errno != ENOENT) {
        return false;
    }

    const std::string folder = folderOf(target);
    std::string tempPath;
    const int fd = openTemp(folder, nameOf(target), tempPath);
    if (fd < 0) {
        // A writable file in a folder closed to the writer (an installed
        // folder whose settings operators may change): nothing can go beside
        // it, so it is rewritten in place.
        const bool booClosedFolder = errno == EACCES || errno == EPERM;
        return exists && booClosedFolder && booRewriteInPlace(target, bytes);
    }
    bool ok = writeAll(fd, bytes);
    if (ok && exists) {
        // The replacement keeps the old file's group (and, for root, its
        // owner), then its permission bits; a group the writer cannot give
        // it is kept by writing the old file in place instead.
        if (!booKeepOwnership(fd, old)) {
            close(fd);
            unlink(tempPath.c_str());
            return booRewriteInPlace(target, bytes);
        }
        ok = fchmod(fd, old.st_mode & 07777) == 0;
    }
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok) {
        const ReplaceHook hook = g_hook.load();
        if (hook != nullptr) hook(tempPath.c_str());
        ok = rename(tempPath.c_str(), target.c_str()) == 0;
    }
    if (!ok) {
        unlink(tempPath.c_str());
        return false;
    }
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);  // make the rename itself durable; a failure here changes nothing
        close(dir);
    }
    return true;
}

void vSetReplaceHook(ReplaceHook hook) { g_hook.store(hook); }

}  // namespace platform
