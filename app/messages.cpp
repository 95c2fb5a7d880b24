#include "app/messages.h"

#include <climits>
#include <cstdlib>

#include "app/res_text.h"
#include "app/run_end.h"
#include "app/serial_permission.h"
#include "app/settings.h"
#include "platform/message_box.h"

namespace {

// Every box the operator sees carries the product's name as its title.
constexpr const char* kBoxTitle = "Tolvek E";
constexpr const char* kLineBreak = "\r\n";

}  // namespace

void vMsgInfo(void* hOwner, const std::string& sMsg) {
    platform::MessageBoxA(hOwner, sMsg.c_str(), kBoxTitle, platform::MB_ICONINFORMATION);
}

int32_t lMsgYesNo(void* hOwner, const std::string& sMsg) {
    const int32_t lAnswer = platform::MessageBoxA(hOwner, sMsg.c_str(), kBoxTitle,
                                                  platform::MB_YESNO_QUESTION_DEFBUTTON2);
    // Closing the box any other way than with Yes is a No: nothing proceeds
    // that the operator did not confirm.
    return lAnswer == platform::IDYES ? platform::IDYES : platform::IDNO;
}

bool booMsgRetry(void* hOwner, const std::string& sMsg) {
    return platform::MessageBoxA(hOwner, sMsg.c_str(), kBoxTitle, platform::MB_RETRYCANCEL_WARNING) == platform::IDRETRY;
}

std::string sCodeExplanation(int32_t lCode) {
    if (lCode == kCodeNoSerialPermission) return sNoSerialPermissionText();
    std::string sText = sGetResText(lCodeTextNo(lCode));
    // No Link setting: the operator is told which file to edit, where it
    // really is (the program folder's may be a link to it).
    if (lCode == kCodeNoLinkSetting) {
        char real[PATH_MAX];
        const std::string sPath = sSettingsPath();
        sText = sWithName(sText, realpath(sPath.c_str(), real) != nullptr ? std::string(real) : sPath);
    }
    return sText;
}

std::string sWithName(const std::string& sText, const std::string& sName) {
    const auto at = sText.find("%1");
    return at == std::string::npos ? sText : sText.substr(0, at) + sName + sText.substr(at + 2);
}

void vShowErrMsg(void* hOwner, int32_t lCode, const std::string& sMsg) {
    vNoteFailureShown(sMsg);
    if (lCode == 0) {
        vMsgInfo(hOwner, sMsg);
        return;
    }
    const std::string sBox = sMsg + kLineBreak + "ERR : " + std::to_string(lCode) + kLineBreak +
                             "MSG : " + sCodeExplanation(lCode);
    vMsgInfo(hOwner, sBox);
}

void vShowInitErr(void* hOwner, int32_t lCode) {
    std::string sBox = sGetResText(20100) + " (" + std::to_string(lCode) + ")" + kLineBreak;
    // A link that cannot open for a reason of the installation says which:
    // checking the unit's power and cable would not help.
    if (booInstallationCode(lCode)) sBox += sCodeExplanation(lCode) + kLineBreak;
    sBox += sGetResText(20101);
    vNoteFailureShown(sBox);
    vMsgInfo(hOwner, sBox);
}
