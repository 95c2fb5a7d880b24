// File search, deletion and attributes. Patterns may hold * and ? in their
// last component only.
#pragma once
#include <string>
#include <vector>

namespace platform {

// Names (without folder) of the plain files matching the pattern, sorted.
std::vector<std::string> FindFiles(const std::string& pattern);
bool DeleteFileA(const std::string& path);
// Clears the read-only attribute (gives the owner write permission).
bool ClearReadOnly(const std::string& path);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
bool CreateFolder(const std::string& path);
bool RemoveFolder(const std::string& path);  // empty folder only

}  // namespace platform
