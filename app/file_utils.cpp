#include "app/file_utils.h"

#include <exception>

#include "platform/file_find.h"
#include "platform/temp_path.h"

namespace {

// A name as the file search hands it over, up to its first NUL.
std::string sCutAtNul(const std::string& s) { return s.substr(0, s.find('\0')); }

}  // namespace

bool booBuildPath(const std::string& sFolder, const std::string& sName, std::string& sPath) {
    try {
        // One '/' between folder and name, none added when the folder has it.
        sPath = sFolder;
        if (sPath.empty() || sPath.back() != '/') sPath += '/';
        sPath += sName;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool booGetParentFolder(const std::string& sPath, std::string& sFolder) {
    try {
        // A trailing '/' names the folder itself, not an empty last component.
        std::string s = sPath;
        while (s.size() > 1 && s.back() == '/') s.pop_back();
        const size_t lSlash = s.rfind('/');
        // A bare name has no folder to derive: the caller would otherwise act
        // in whatever the current folder happens to be.
        if (lSlash == std::string::npos) return false;
        sFolder = lSlash == 0 ? std::string("/") : s.substr(0, lSlash);
        return !(s == "/");
    } catch (const std::exception&) {
        return false;
    }
}

bool booMakeFolder(const std::string& sFolder) {
    try {
        if (sFolder.empty()) return false;
        if (platform::FolderExists(sFolder)) return true;
        if (platform::FileExists(sFolder)) return false;
        return platform::CreateFolder(sFolder);
    } catch (const std::exception&) {
        return false;
    }
}

bool booDeleteFiles(const std::string& sPattern) {
    try {
        std::string sFolder;
        if (!booGetParentFolder(sPattern, sFolder)) return false;
        bool booResult = true;
        // Subfolders are neither entered nor removed.
        for (const std::string& sFound : platform::FindFiles(sPattern)) {
            std::string sFile;
            if (!booBuildPath(sFolder, sCutAtNul(sFound), sFile)) {
                booResult = false;
                continue;
            }
            if (platform::FolderExists(sFile)) continue;
            // The sensor library may leave its files read-only; they go too.
            platform::ClearReadOnly(sFile);
            if (!platform::DeleteFileA(sFile)) booResult = false;
        }
        return booResult;
    } catch (const std::exception&) {
        return false;
    }
}

std::string ClsGetSpecialFolder::TempPath() const {
    try {
        return sCutAtNul(platform::GetTempPathA());
    } catch (const std::exception&) {
        return std::string();
    }
}
