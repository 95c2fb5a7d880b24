#include "app/res_text.h"

#include "app/messages.h"
#include "resources/string_table.h"

std::string sTidyResText(int32_t lNo, const char* pszFound) {
    if (pszFound == nullptr) return "Error : LoadResString(" + std::to_string(lNo) + ")";
    const std::string sText(pszFound);
    if (sText.find_first_not_of(' ') == std::string::npos) return std::string();
    return sText;
}

std::string sGetResText(int32_t lNo) {
    std::string sText;
    if (!booLoadResString(lNo, sText)) return sTidyResText(lNo, nullptr);
    return sTidyResText(lNo, sText.c_str());
}

bool booInstallationCode(int32_t lCode) {
    return lCode == kCodeNoLinkSetting || lCode == kCodeNoSerialPermission || lCode == kCodeSerialInUse;
}

int32_t lCodeTextNo(int32_t lCode) {
    if (lCode >= 1 && lCode <= 30) return 10450 + lCode;
    if (booInstallationCode(lCode)) return 10400 - lCode;
    if (lCode >= -10 && lCode <= -1) return 10491;
    if (lCode >= -99 && lCode <= -93) return 10400 - lCode;
    return 10492;
}
