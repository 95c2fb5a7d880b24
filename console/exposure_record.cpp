#include "console/exposure_record.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <unistd.h>

#include <cerrno>

#include "app/app_state.h"
#include "app/messages.h"
#include "app/run_end.h"
#include "app/service_log.h"
#include "app/version.h"
#include "console/save_targets.h"
#include "sensor/sensor_steps.h"
#include "sensor/zyr_lib.h"

namespace {
constexpr const char* kModeNames[3] = {"panorama adult", "panorama child", "TMJ"};
constexpr const char* kSizeNames[3] = {"large", "middle", "small"};

QJsonValue named(int32_t lIndex, const char* const (&names)[3]) {
    if (lIndex < 0 || lIndex > 2) return QJsonValue::Null;
    return QJsonObject{{"index", lIndex}, {"name", names[lIndex]}};
}

// Local time with its offset from UTC, to the second, the offset always
// written out (also +00:00): 2024-05-02T10:15:02+02:00.
QJsonValue isoTime(const QDateTime& t) {
    if (!t.isValid()) return QJsonValue::Null;
    const int iOffsetMin = t.offsetFromUtc() / 60;
    const int iAbs = iOffsetMin < 0 ? -iOffsetMin : iOffsetMin;
    return t.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + (iOffsetMin < 0 ? '-' : '+') +
           QStringLiteral("%1:%2").arg(iAbs / 60, 2, 10, QChar('0')).arg(iAbs % 60, 2, 10, QChar('0'));
}

// The library's interface has no version call, and a vendor's library must
// fit as well as ours: the digest tells exactly which file made the image.
QJsonValue sha256Of(const std::string& sPath) {
    QFile f(QString::fromStdString(sPath));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (sPath.empty() || !f.open(QIODevice::ReadOnly) || !hash.addData(&f)) return QJsonValue::Null;
    return QString::fromLatin1(hash.result().toHex());
}

QByteArray recordJson(const std::string& sBitmap) {
    const tExposureNote& e = App.g_tExposure;
    const QDateTime tStart = e.llStartMs != 0 ? QDateTime::fromMSecsSinceEpoch(e.llStartMs) : QDateTime();
    const std::string& sLib = sZyrLibPath();
    const QJsonObject o{
        {"bitmap", QString::fromStdString(sBitmap)},
        {"mode", named(e.lModeIdx, kModeNames)},
        {"kV", e.lVolt},
        {"mA", e.lElec},
        {"patientSize", named(e.lSize, kSizeNames)},
        {"images", QJsonObject{{"exposed", App.g_lPictNo}, {"expected", App.g_lPictCount}}},
        {"complete", !e.booInterrupted},
        {"simulated", App.g_booSimSensor},
        {"start", isoTime(tStart)},
        {"end", isoTime(QDateTime::currentDateTime())},
        {"program", QJsonObject{{"name", "ZYR_PAN_WEQ"}, {"version", QString::fromStdString(sProgramVersion())}}},
        {"library", QJsonObject{{"file", sLib.empty() ? QJsonValue::Null : QJsonValue(QString::fromStdString(sLib))},
                                {"sha256", sha256Of(sLib)}}},
    };
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}
}  // namespace

std::string sRecordPath(const std::string& sBitmap) {
    const QFileInfo fi(QString::fromStdString(sBitmap));
    return (fi.path() + '/' + fi.completeBaseName() + ".json").toStdString();
}

void vWriteExposureRecord(void* hOwner) {
    const std::string sBitmap = sBitmapPath();
    const std::string sPath = sRecordPath(sBitmap);
    const std::string sJson = recordJson(sBitmap).toStdString();
    platform::TargetFault fault = platform::TargetFault::None;
    const auto fill = [&sJson](int fd) {
        std::string_view rest(sJson);
        while (!rest.empty()) {
            const ssize_t n = write(fd, rest.data(), rest.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            rest.remove_prefix(static_cast<size_t>(n));
        }
        return true;
    };
    if (platform::booWriteTarget(sPath, booRecordHead, kRecordHeadBytes, fill, true, &fault)) return;
    // The bitmap stays, but without its record it is not what the imaging
    // program asked for: the run ends without an image to import.
    App.g_booRecordFailed = true;
    service_log::vRecordNotWritten(sPath);
    const std::string sBox = sTargetRefusal(true, fault, sPath);
    vNoteFailureShown(sBox);
    vMsgInfo(hOwner, sBox);
    vRunEndsOnFailure();
}