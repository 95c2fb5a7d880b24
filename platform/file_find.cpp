#include "platform/file_find.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>

namespace platform {
namespace {

// '*' matches any run of characters, '?' exactly one; everything else,
// brackets and backslashes included, stands for itself.
bool wildMatch(std::string_view pat, std::string_view name) {
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pat.size() && (pat[p] == '?' || pat[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pat.size() && pat[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pat.size() && pat[p] == '*') ++p;
    return p == pat.size();
}

// A pattern ending in ".*" also takes names without any extension, so "*.*"
// means every file, as the console's clean-up expects.
bool nameMatches(std::string_view pat, std::string_view name) {
    if (wildMatch(pat, name)) return true;
    if (pat.size() >= 2 && pat.substr(pat.size() - 2) == ".*") {
        return wildMatch(pat.substr(0, pat.size() - 2), name);
    }
    return false;
}

bool isDir(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::vector<std::string> FindFiles(const std::string& pattern) {
    std::vector<std::string> found;
    const size_t slash = pattern.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : pattern.substr(0, slash));
    const std::string last = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    if (last.empty()) return found;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return found;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || !nameMatches(last, name)) continue;
        struct stat st {};
        if (stat((folder + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) found.push_back(name);
    }
    closedir(dir);
    std::sort(found.begin(), found.end());
    return found;
}

bool DeleteFileA(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    // A read-only file is refused until its attribute is cleared.
    if (S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0) return false;
    return unlink(path.c_str()) == 0;
}

bool ClearReadOnly(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return false;
    if ((st.st_mode & S_IWUSR) != 0) return true;
    return chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FolderExists(const std::string& path) { return isDir(path); }

bool CreateFolder(const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }

bool RemoveFolder(const std::string& path) { return rmdir(path.c_str()) == 0; }

}  // namespace platform
