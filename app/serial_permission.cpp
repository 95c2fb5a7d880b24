#include "app/serial_permission.h"

#include "app/messages.h"
#include "app/settings.h"
#include "platform/file_group.h"
#include "platform/profile_string.h"
#include "sim/link_spec.h"

namespace {

std::string sLinkSetting() {
    char buf[1024] = {};
    platform::GetPrivateProfileStringA("ZyrPan2", "Link", "", buf, sizeof buf, sSettingsPath().c_str());
    std::string value(buf);
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return value.substr(first, value.find_last_not_of(" \t\r") - first + 1);
}

void vReplace(std::string& sText, const std::string& sMark, const std::string& sWith) {
    const auto at = sText.find(sMark);
    if (at != std::string::npos) sText.replace(at, sMark.size(), sWith);
}

}  // namespace

std::string sNoSerialPermissionText() {
    const sim::LinkSpec link = sim::parseLinkSpec(sLinkSetting());
    const std::string sGroup = link.kind == sim::LinkSpec::Kind::Serial ? platform::sFileGroup(link.device) : "";
    if (sGroup.empty()) return sGetResText(10407);
    std::string sText = sGetResText(10405);
    vReplace(sText, "%1", link.device);
    vReplace(sText, "%2", sGroup);
    return sText;
}
