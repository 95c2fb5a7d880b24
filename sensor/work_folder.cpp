// The working folder of one run: it holds the library's data file and is
// removed when the main window closes, leaving only the bitmap.
#include <QDateTime>

#include "app/file_utils.h"
#include "platform/file_find.h"
#include "sensor/sensor_steps.h"

std::string sWorkFolderPath(int64_t lWindowId, const QDateTime& tNow) {
    std::string sTemp = ClsGetSpecialFolder().TempPath();
    if (sTemp.empty() || sTemp.back() != '/') sTemp += '/';
    const std::string sStamp = tNow.toString(QStringLiteral("yyyyMMddHHmmss")).toStdString();
    return sTemp + "$" + std::to_string(lWindowId) + "$" + sStamp + "$";
}

void vMakeWorkFolder(int64_t lWindowId, std::string& sWorkPath) {
    sWorkPath = sWorkFolderPath(lWindowId, QDateTime::currentDateTime());
    if (!booMakeFolder(sWorkPath)) sWorkPath.clear();
}

void vRemoveWorkFolder(const std::string& sWorkPath) {
    if (sWorkPath.empty()) return;
    std::string sPattern = sWorkPath;
    if (sPattern.back() != '/') sPattern += '/';
    booDeleteFiles(sPattern + "*.*");
    platform::RemoveFolder(sWorkPath);
}
