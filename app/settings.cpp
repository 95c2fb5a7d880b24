#include "app/settings.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "app/app_state.h"
#include "app/messages.h"
#include "app/numeric_text.h"
#include "app/run_end.h"
#include "app/service_log.h"
#include "platform/link_spec.h"
#include "platform/profile_string.h"
#include "platform/program_folder.h"

namespace {

constexpr const char* kSection = "ZYR_PAN_WEQ";
constexpr const char* kFileName = "ZYR_PAN_WEQ.ini";
// The answer for a key the file does not hold. Only this exact text counts:
// "none" in lower case is an ordinary (non-numeric) value.
constexpr const char* kAbsent = "NONE";
constexpr uint32_t kValueBuffer = 512;
constexpr int32_t kNoLimit = std::numeric_limits<int32_t>::max();

// One key of the settings file and the member it fills.
struct tSettingKey {
    std::string sKey;
    int32_t* plMember = nullptr;      // integer keys
    std::string* psMember = nullptr;  // text keys
    bool booRequired = false;
    // Value stored right before the key is read; none for the members that
    // Main has already set (the pre-heat values and the dialog's switches).
    std::optional<int32_t> lBefore;
    bool booRanged = false;
    int32_t lMin = 0;
    int32_t lMax = 0;
    int32_t lOutside = 0;
    // Messages for the operator when a required text key is missing.
    const char* sMsgEmpty = nullptr;
    const char* sMsgAbsent = nullptr;
};

tSettingKey keyRanged(std::string sKey, int32_t& lMember, bool booRequired,
                      std::optional<int32_t> lBefore, int32_t lMin, int32_t lMax,
                      int32_t lOutside) {
    tSettingKey k;
    k.sKey = std::move(sKey);
    k.plMember = &lMember;
    k.booRequired = booRequired;
    k.lBefore = lBefore;
    k.booRanged = true;
    k.lMin = lMin;
    k.lMax = lMax;
    k.lOutside = lOutside;
    return k;
}

tSettingKey keyAny(std::string sKey, int32_t& lMember, int32_t lBefore) {
    tSettingKey k;
    k.sKey = std::move(sKey);
    k.plMember = &lMember;
    k.lBefore = lBefore;
    return k;
}

tSettingKey keyText(std::string sKey, std::string& sMember, bool booRequired) {
    tSettingKey k;
    k.sKey = std::move(sKey);
    k.psMember = &sMember;
    k.booRequired = booRequired;
    return k;
}

// Keys of the exposure conditions of mode group g, in the order they are read.
void vAddModeGroupKeys(std::vector<tSettingKey>& keys, int g) {
    tModeCond& cond = App.g_tModeCond[g];
    const std::string sGroup = "M" + std::to_string(g);
    for (int k = 0; k < 3; ++k) {
        keys.push_back(keyRanged(sGroup + "_VoltDef" + std::to_string(k), cond.lVoltDef[k], true,
                                 60, 60, 80, 60));
        keys.push_back(keyRanged(sGroup + "_ElecDef" + std::to_string(k), cond.lElecDef[k], true,
                                 2, 2, 8, 2));
    }
    keys.push_back(keyRanged(sGroup + "_Volt", cond.lVolt, true, 60, 60, 80, 60));
    keys.push_back(keyRanged(sGroup + "_Elec", cond.lElec, true, 2, 2, 8, 2));
    keys.push_back(keyRanged(sGroup + "_Select", cond.lSelect, true, -1, -1, 2, -1));
}

// Every key, in the order the reader reads them.
std::vector<tSettingKey> settingKeys() {
    std::vector<tSettingKey> keys;
    keys.push_back(keyRanged("Volt", App.g_lVolt, true, 60, 60, 80, 60));
    keys.push_back(keyRanged("Elec", App.g_lElec, true, 2, 2, 8, 2));
    keys.push_back(keyRanged("DefMode", App.g_lDefMode, true, -1, 0, 6, 0));
    keys.push_back(keyText("ClickSound", App.g_sClickSound, false));
    keys.push_back(keyRanged("CephPlace", App.g_lCephPlace, false, std::nullopt, 0, 2, 2));
    keys.push_back(keyRanged("AutoPower", App.g_lAutoPower, false, std::nullopt, 0, 1, 1));
    keys.push_back(keyRanged("DisplayMode", App.g_lDisplayMode, false, std::nullopt, 0, 1, 0));
    // Pre-heat of the tube currents 2, 4 ... 12 mA: the current follows the word.
    static constexpr int32_t kPreHeatDefault[6] = {226, 234, 240, 247, 254, 254};
    for (int i = 0; i < 6; ++i) {
        keys.push_back(keyRanged("ElecPP" + std::to_string(2 * i + 2), App.g_lElecPP[i], false,
                                 std::nullopt, 0, 255, kPreHeatDefault[i]));
    }
    for (int g = 0; g < 3; ++g) vAddModeGroupKeys(keys, g);
    keys.push_back(keyRanged("CephModeEnabled", App.g_lCephModeEnabled, false, 1, 0, 1, 1));
    keys.push_back(keyAny("TimeStep", App.g_lTimeStep, 10));
    keys.push_back(keyAny("TimeLag", App.g_lTimeLag, 50));
    keys.push_back(keyAny("XrayTime", App.g_lXrayTime, 0));
    keys.push_back(keyAny("WaitTime", App.g_lWaitTime, 0));
    keys.push_back(
        keyRanged("InitRetryTime_Boot", App.g_lInitRetryTimeBoot, false, 0, 0, kNoLimit, 0));
    // A negative reconnection time means no retry at all, not the default.
    keys.push_back(
        keyRanged("InitRetryTime_Timer", App.g_lInitRetryTimeTimer, false, 60, 0, kNoLimit, 0));
    keys.push_back(keyRanged("SaveInfo", App.g_lSaveInfo, false, 0, 0, 1, 0));
    tSettingKey save = keyText("SaveFileName", App.g_sSaveFileName, true);
    save.sMsgEmpty = "Not Found the bitmap name.";
    save.sMsgAbsent = "Not found the SaveFileName section.";
    keys.push_back(save);
    return keys;
}

// Reads one key into its member; false when a required key is missing.
bool booReadKey(const std::string& sPath, const tSettingKey& key) {
    if (key.lBefore && key.plMember != nullptr) *key.plMember = *key.lBefore;
    if (key.psMember != nullptr) key.psMember->clear();

    char sBuffer[kValueBuffer] = {};
    const uint32_t lCount = platform::GetPrivateProfileStringA(
        kSection, key.sKey.c_str(), kAbsent, sBuffer, kValueBuffer, sPath.c_str());
    if (lCount == 0) {
        if (!key.booRequired) return true;
        if (key.sMsgEmpty != nullptr) vMsgInfo(nullptr, key.sMsgEmpty);
        vRunEnds("settings file: required key " + key.sKey + " empty");
        return false;
    }
    const std::string sValue(sBuffer);  // up to the first NUL
    if (sValue == kAbsent) {
        if (!key.booRequired) return true;
        if (key.sMsgAbsent != nullptr) vMsgInfo(nullptr, key.sMsgAbsent);
        vRunEnds("settings file: required key " + key.sKey + " missing");
        return false;
    }
    if (key.psMember != nullptr) {
        *key.psMember = sValue;
        return true;
    }
    // A value that is not a number leaves the member as it was, even for a
    // required key; a number out of range is replaced, never refused.
    int32_t lValue = 0;
    if (booTextToLong(sValue, lValue)) {
        *key.plMember = lValue;
        if (key.booRanged && (lValue < key.lMin || lValue > key.lMax)) {
            *key.plMember = key.lOutside;
        }
    }
    return true;
}

}  // namespace

std::string sSettingsPath() {
    std::string sPath = platform::sProgramFolder();
    if (sPath.empty() || sPath.back() != '/') sPath += '/';
    return sPath + kFileName;
}

bool booReadSetting() {
    const std::string sPath = sSettingsPath();
    for (const tSettingKey& key : settingKeys()) {
        if (!booReadKey(sPath, key)) return false;
    }
    // The library's own keys, read only to tell the operator what it does.
    const platform::UnitChoice choice = platform::readUnitChoice(sPath);
    App.g_booSimSensor = choice.booSimulatedSensor;
    App.g_booRealUnitSimSensor = choice.booRealUnitSimulatedSensor();
    return true;
}

bool booWriteSetting(const std::string& sKey, const std::string& sValue) {
    const std::string sPath = sSettingsPath();
    const bool booFailed = platform::WritePrivateProfileStringA(kSection, sKey.c_str(), sValue.c_str(),
                                                                sPath.c_str()) == 0;
    if (booFailed) service_log::vSettingNotWritten(sKey, sValue);
    return booFailed;
}
