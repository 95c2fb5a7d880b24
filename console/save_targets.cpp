#include "console/save_targets.h"

#include <QJsonDocument>
#include <QJsonObject>

#include "app/app_state.h"
#include "app/messages.h"
#include "app/run_end.h"
#include "console/exposure_record.h"
#include "sensor/sensor_steps.h"

namespace {

constexpr const char* kLineBreak = "\r\n";

// Shows the refusal and keeps it as the reason the run ends.
void vRefuse(void* hOwner, const std::string& sBox) {
    vNoteFailureShown(sBox);
    vMsgInfo(hOwner, sBox);
    vRunEndsOnFailure();
}

bool booBitmapWritable(void* hOwner) {
    const std::string sBitmap = sBitmapPath();
    const platform::WriteTarget t = platform::checkWriteTarget(sBitmap, platform::booBitmapHead, 2);
    if (t.fault == platform::TargetFault::None) return true;
    vRefuse(hOwner, sTargetRefusal(false, t.fault, sBitmap));
    return false;
}

}  // namespace

bool booRecordHead(std::string_view head) {
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(head.data(), static_cast<qsizetype>(head.size())));
    if (!doc.isObject()) return false;
    const QJsonObject o = doc.object();
    for (const char* key : {"bitmap", "mode", "kV", "mA", "patientSize", "images", "complete", "start", "end",
                            "program", "library"})
        if (!o.contains(QLatin1String(key))) return false;
    return true;
}

std::string sTargetRefusal(bool booRecord, platform::TargetFault fault, const std::string& sPath) {
    int32_t lWhy = 11568;
    switch (fault) {
        case platform::TargetFault::ForeignLink: lWhy = 11564; break;
        case platform::TargetFault::ForeignSharedFile: lWhy = 11565; break;
        case platform::TargetFault::OtherKind: lWhy = booRecord ? 11567 : 11566; break;
        case platform::TargetFault::None: break;
    }
    return sWithName(sGetResText(booRecord ? 11563 : 11562), sPath) + kLineBreak + sGetResText(lWhy);
}

bool booSaveTargetsReady() {
    if (!booBitmapWritable(nullptr)) return false;
    if (App.g_lSaveInfo != 1) return true;
    const std::string sRecord = sRecordPath(sBitmapPath());
    if (sRecord == sBitmapPath()) {
        vRefuse(nullptr, sWithName(sGetResText(11563), sRecord) + kLineBreak + sGetResText(11569));
        return false;
    }
    const platform::WriteTarget t = platform::checkWriteTarget(sRecord, booRecordHead, kRecordHeadBytes);
    if (t.fault == platform::TargetFault::None) return true;
    vRefuse(nullptr, sTargetRefusal(true, t.fault, sRecord));
    return false;
}

bool booPrepareBitmapSave(void* hOwner) {
    if (!booBitmapWritable(hOwner)) return false;
    // A record that cannot be removed is not ours to remove; the new record
    // is then refused in its turn, and the operator told.
    if (App.g_lSaveInfo == 1) (void)platform::booRemoveTarget(sRecordPath(sBitmapPath()), booRecordHead, kRecordHeadBytes);
    return true;
}
