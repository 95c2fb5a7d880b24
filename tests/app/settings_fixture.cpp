#include "settings_fixture.h"

#include <fstream>
#include <sstream>

const std::vector<std::pair<std::string, std::string>>& fullIniKeys() {
    static const auto keys = [] {
        std::vector<std::pair<std::string, std::string>> k = {
            {"Volt", "71"},      {"Elec", "3"},        {"DefMode", "4"},
            {"ClickSound", "/snd/click.wav"},          {"CephPlace", "1"},
            {"AutoPower", "0"},  {"DisplayMode", "1"}, {"ElecPP2", "10"},
            {"ElecPP4", "20"},   {"ElecPP6", "30"},    {"ElecPP8", "40"},
            {"ElecPP10", "50"},  {"ElecPP12", "60"},
        };
        for (int g = 0; g < 3; ++g) {
            const std::string m = "M" + std::to_string(g);
            for (int s = 0; s < 3; ++s) {
                k.push_back({m + "_VoltDef" + std::to_string(s), std::to_string(61 + 5 * g + s)});
                k.push_back({m + "_ElecDef" + std::to_string(s), std::to_string(3 + g + s)});
            }
            k.push_back({m + "_Volt", std::to_string(75 + g)});
            k.push_back({m + "_Elec", std::to_string(6 + g)});
            k.push_back({m + "_Select", std::to_string(g)});
        }
        const std::vector<std::pair<std::string, std::string>> tail = {
            {"CephModeEnabled", "0"}, {"TimeStep", "11"},          {"TimeLag", "51"},
            {"XrayTime", "7"},        {"WaitTime", "30000"},       {"InitRetryTime_Boot", "10"},
            {"InitRetryTime_Timer", "61"}, {"SaveFileName", "/img/out.bmp"},
        };
        k.insert(k.end(), tail.begin(), tail.end());
        return k;
    }();
    return keys;
}

void SettingsTest::vWriteRaw(const std::string& sBytes) const {
    std::ofstream out(sIniPath(), std::ios::binary | std::ios::trunc);
    out << sBytes;
}

std::string SettingsTest::sReadRaw() const {
    std::ifstream in(sIniPath(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void SettingsTest::vWriteIni(const tChanges& oChanges, const std::string& sExtraLines) const {
    std::string sText = "[ZYR_PAN_WEQ]\r\n";
    for (const auto& [sKey, sValue] : fullIniKeys()) {
        std::optional<std::string> oValue = sValue;
        for (const auto& [sChKey, oChValue] : oChanges) {
            if (sChKey == sKey) oValue = oChValue;
        }
        if (oValue) sText += sKey + "=" + *oValue + "\r\n";
    }
    sText += sExtraLines;
    vWriteRaw(sText);
}
