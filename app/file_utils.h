// File and folder utilities. Paths are joined with '/'.
#pragma once
#include <string>

bool booBuildPath(const std::string& sFolder, const std::string& sName, std::string& sPath);
bool booGetParentFolder(const std::string& sPath, std::string& sFolder);
bool booMakeFolder(const std::string& sFolder);
bool booDeleteFiles(const std::string& sPattern);

class ClsGetSpecialFolder {
public:
    // The platform's folder for temporary files, with its trailing '/'.
    std::string TempPath() const;
};
