// The settings reader against real files in a program folder of its own.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>

#include "app/settings.h"
#include "settings_fixture.h"

namespace {

constexpr int32_t kSentinel = -777;

// The member a key fills, independent of the reader's own table.
int32_t* plMemberOf(const std::string& sKey) {
    static const char* const kPreHeat[] = {"ElecPP2", "ElecPP4", "ElecPP6",
                                           "ElecPP8", "ElecPP10", "ElecPP12"};
    for (int i = 0; i < 6; ++i) {
        if (sKey == kPreHeat[i]) return &App.g_lElecPP[i];
    }
    if (sKey.size() > 3 && sKey[0] == 'M' && sKey[2] == '_') {
        tModeCond& c = App.g_tModeCond[sKey[1] - '0'];
        const std::string sRole = sKey.substr(3);
        if (sRole == "Volt") return &c.lVolt;
        if (sRole == "Elec") return &c.lElec;
        if (sRole == "Select") return &c.lSelect;
        const int k = sRole.back() - '0';
        return sRole.rfind("VoltDef", 0) == 0 ? &c.lVoltDef[k] : &c.lElecDef[k];
    }
    if (sKey == "Volt") return &App.g_lVolt;
    if (sKey == "Elec") return &App.g_lElec;
    if (sKey == "DefMode") return &App.g_lDefMode;
    if (sKey == "CephPlace") return &App.g_lCephPlace;
    if (sKey == "AutoPower") return &App.g_lAutoPower;
    if (sKey == "DisplayMode") return &App.g_lDisplayMode;
    if (sKey == "CephModeEnabled") return &App.g_lCephModeEnabled;
    if (sKey == "TimeStep") return &App.g_lTimeStep;
    if (sKey == "TimeLag") return &App.g_lTimeLag;
    if (sKey == "XrayTime") return &App.g_lXrayTime;
    if (sKey == "WaitTime") return &App.g_lWaitTime;
    if (sKey == "InitRetryTime_Boot") return &App.g_lInitRetryTimeBoot;
    if (sKey == "InitRetryTime_Timer") return &App.g_lInitRetryTimeTimer;
    return nullptr;
}

std::string* psMemberOf(const std::string& sKey) {
    if (sKey == "ClickSound") return &App.g_sClickSound;
    if (sKey == "SaveFileName") return &App.g_sSaveFileName;
    return nullptr;
}

bool booIsRequired(const std::string& sKey) {
    return sKey == "Volt" || sKey == "Elec" || sKey == "DefMode" || sKey[0] == 'M' ||
           sKey == "SaveFileName";
}

// The value a member takes right before its key is read; none for the
// members Main sets before the reader runs.
std::optional<int32_t> oBeforeOf(const std::string& sKey) {
    if (sKey == "Volt" || sKey.find("_Volt") != std::string::npos) return 60;
    if (sKey == "Elec" || sKey.find("_Elec") != std::string::npos) return 2;
    if (sKey == "DefMode" || sKey.find("_Select") != std::string::npos) return -1;
    if (sKey == "CephModeEnabled") return 1;
    if (sKey == "TimeStep") return 10;
    if (sKey == "TimeLag") return 50;
    if (sKey == "XrayTime" || sKey == "WaitTime" || sKey == "InitRetryTime_Boot") return 0;
    if (sKey == "InitRetryTime_Timer") return 60;
    return std::nullopt;
}

void vFillSentinels() {
    for (const auto& [sKey, sValue] : fullIniKeys()) {
        if (int32_t* pl = plMemberOf(sKey)) *pl = kSentinel;
        if (std::string* ps = psMemberOf(sKey)) *ps = "old";
    }
}

TEST_F(SettingsTest, CompleteFileFillsEveryMemberInSilence) {
    vWriteIni();
    EXPECT_TRUE(booReadSetting());
    for (const auto& [sKey, sValue] : fullIniKeys()) {
        if (int32_t* pl = plMemberOf(sKey)) {
            EXPECT_EQ(*pl, std::stoi(sValue)) << sKey;
        } else {
            ASSERT_NE(psMemberOf(sKey), nullptr) << sKey;
            EXPECT_EQ(*psMemberOf(sKey), sValue) << sKey;
        }
    }
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(fullIniKeys().size(), 48u);  // 21 single keys and 27 of the mode groups
}

TEST_F(SettingsTest, StagedDefaultFileIsComplete) {
    const char* sSource = std::getenv("ZYR_SOURCE_DIR");
    if (sSource == nullptr) GTEST_SKIP() << "ZYR_SOURCE_DIR not set";
    std::ifstream in(std::string(sSource) + "/resources/ZYR_PAN_WEQ.ini", std::ios::binary);
    ASSERT_TRUE(in.good());
    std::ostringstream s;
    s << in.rdbuf();
    vWriteRaw(s.str());
    EXPECT_TRUE(booReadSetting());
    EXPECT_EQ(App.g_lDefMode, 0);
    EXPECT_FALSE(App.g_sSaveFileName.empty());
    EXPECT_TRUE(boxes_.empty());
}

struct tValueCase {
    const char* sKey;
    std::optional<std::string> oValue;  // nullopt: no line for the key
    int32_t lExpected;
    int32_t lEarlier = kSentinel;  // the member's value before the reader runs
};

class SettingsValue : public SettingsTest, public ::testing::WithParamInterface<tValueCase> {};

TEST_P(SettingsValue, StoresRangedValue) {
    const tValueCase& c = GetParam();
    vWriteIni({{c.sKey, c.oValue}});
    *plMemberOf(c.sKey) = c.lEarlier;
    EXPECT_TRUE(booReadSetting()) << "reading must go on past " << c.sKey;
    EXPECT_EQ(*plMemberOf(c.sKey), c.lExpected) << c.sKey << "=" << c.oValue.value_or("(absent)");
    EXPECT_EQ(App.g_sSaveFileName, "/img/out.bmp");
    EXPECT_TRUE(boxes_.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsValue,
    ::testing::Values(
        tValueCase{"Volt", "85", 60}, tValueCase{"Volt", "80", 80}, tValueCase{"Volt", "60", 60},
        tValueCase{"Volt", "59", 60}, tValueCase{"Volt", "abc", 60},
        tValueCase{"Volt", "none", 60}, tValueCase{"Volt", "None", 60},
        tValueCase{"Volt", "70.5", 70}, tValueCase{"Volt", "71.5", 72},
        tValueCase{"Volt", "79.5", 80}, tValueCase{"Volt", "80.5", 80},
        tValueCase{"Volt", "80.6", 60}, tValueCase{"Volt", "+66", 66},
        tValueCase{"Volt", "99999999999", 60}, tValueCase{"Volt", "1e2", 60},
        tValueCase{"Elec", "9", 2}, tValueCase{"Elec", "1", 2}, tValueCase{"Elec", "8", 8},
        tValueCase{"DefMode", "abc", -1}, tValueCase{"DefMode", "7", 0},
        tValueCase{"DefMode", "-1", 0}, tValueCase{"DefMode", "6", 6},
        tValueCase{"DefMode", "0", 0},
        tValueCase{"CephPlace", "3", 2, 0}, tValueCase{"CephPlace", "0", 0},
        tValueCase{"CephPlace", std::nullopt, 1, 1}, tValueCase{"CephPlace", "x", 0, 0},
        tValueCase{"AutoPower", "2", 1, 0}, tValueCase{"AutoPower", "0", 0, 1},
        tValueCase{"DisplayMode", "-1", 0, 1}, tValueCase{"DisplayMode", "1", 1, 0},
        tValueCase{"ElecPP4", "300", 234}, tValueCase{"ElecPP4", "-1", 234},
        tValueCase{"ElecPP4", "0", 0}, tValueCase{"ElecPP4", "255", 255},
        tValueCase{"ElecPP2", "256", 226, 100}, tValueCase{"ElecPP6", "-5", 240},
        tValueCase{"ElecPP8", "999", 247}, tValueCase{"ElecPP10", "1000", 254},
        tValueCase{"ElecPP12", "-1000", 254}, tValueCase{"ElecPP12", "NONE", 17, 17},
        tValueCase{"M1_Select", "3", -1}, tValueCase{"M1_Select", "-1", -1},
        tValueCase{"M1_Select", "-2", -1}, tValueCase{"M2_Select", "2", 2},
        tValueCase{"M0_VoltDef2", "81", 60}, tValueCase{"M2_ElecDef0", "0", 2},
        tValueCase{"M1_Elec", "8.4", 8}, tValueCase{"M1_Volt", "x", 60},
        tValueCase{"CephModeEnabled", "2", 1}, tValueCase{"CephModeEnabled", "0", 0},
        tValueCase{"CephModeEnabled", std::nullopt, 1},
        tValueCase{"TimeStep", "-40", -40}, tValueCase{"TimeStep", "99999999999", INT32_MAX},
        tValueCase{"TimeStep", "-99999999999", INT32_MIN}, tValueCase{"TimeStep", "", 10},
        tValueCase{"TimeStep", "x", 10}, tValueCase{"TimeLag", std::nullopt, 50},
        tValueCase{"XrayTime", "2.5", 2}, tValueCase{"WaitTime", "5000", 5000},
        tValueCase{"InitRetryTime_Boot", "-1", 0}, tValueCase{"InitRetryTime_Boot", "40000", 40000},
        tValueCase{"InitRetryTime_Boot", std::nullopt, 0},
        tValueCase{"InitRetryTime_Timer", "-5", 0}, tValueCase{"InitRetryTime_Timer", "0", 0},
        tValueCase{"InitRetryTime_Timer", std::nullopt, 60},
        tValueCase{"InitRetryTime_Timer", "abc", 60}));

// A required key that fails stops the reading there: the keys before it keep
// what was read, the key itself its value from just before, the rest what
// they held before the reader ran.
struct tRequiredCase {
    std::string sKey;
    std::optional<std::string> oValue;  // nullopt: no line
};

class SettingsRequired : public SettingsTest,
                         public ::testing::WithParamInterface<tRequiredCase> {};

TEST_P(SettingsRequired, MissingRequiredKeyStopsTheReading) {
    const tRequiredCase& c = GetParam();
    vWriteIni({{c.sKey, c.oValue}});
    vFillSentinels();
    EXPECT_FALSE(booReadSetting());
    bool booBefore = true;
    for (const auto& [sKey, sValue] : fullIniKeys()) {
        if (sKey == c.sKey) {
            booBefore = false;
            if (int32_t* pl = plMemberOf(sKey)) {
                EXPECT_EQ(*pl, *oBeforeOf(sKey)) << sKey;
            } else {
                EXPECT_EQ(*psMemberOf(sKey), "") << sKey;
            }
        } else if (int32_t* pl = plMemberOf(sKey)) {
            EXPECT_EQ(*pl, booBefore ? std::stoi(sValue) : kSentinel) << sKey;
        } else {
            EXPECT_EQ(*psMemberOf(sKey), booBefore ? sValue : "old") << sKey;
        }
    }
    if (c.sKey != "SaveFileName") {
        EXPECT_TRUE(boxes_.empty()) << "a missing " << c.sKey;
    }
}

std::vector<tRequiredCase> requiredCases() {
    std::vector<tRequiredCase> cases;
    for (const auto& [sKey, sValue] : fullIniKeys()) {
        if (!booIsRequired(sKey)) continue;
        cases.push_back({sKey, std::nullopt});
        cases.push_back({sKey, ""});
        cases.push_back({sKey, "NONE"});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryRequiredKey, SettingsRequired, ::testing::ValuesIn(requiredCases()));

// An optional key that is absent, empty or "NONE" leaves its member alone
// (after its Before value, for the keys that have one).
class SettingsOptional : public SettingsTest,
                         public ::testing::WithParamInterface<tRequiredCase> {};

TEST_P(SettingsOptional, MissingOptionalKeyIsPassedOver) {
    const tRequiredCase& c = GetParam();
    vWriteIni({{c.sKey, c.oValue}});
    vFillSentinels();
    EXPECT_TRUE(booReadSetting());
    if (int32_t* pl = plMemberOf(c.sKey)) {
        EXPECT_EQ(*pl, oBeforeOf(c.sKey).value_or(kSentinel)) << c.sKey;
    } else {
        EXPECT_EQ(*psMemberOf(c.sKey), "") << c.sKey;
    }
    EXPECT_EQ(App.g_sSaveFileName, "/img/out.bmp");
    EXPECT_TRUE(boxes_.empty());
}

std::vector<tRequiredCase> optionalCases() {
    std::vector<tRequiredCase> cases;
    for (const auto& [sKey, sValue] : fullIniKeys()) {
        if (booIsRequired(sKey)) continue;
        cases.push_back({sKey, std::nullopt});
        cases.push_back({sKey, ""});
        cases.push_back({sKey, "NONE"});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryOptionalKey, SettingsOptional, ::testing::ValuesIn(optionalCases()));

struct tSaveCase {
    std::optional<std::string> oValue;
    const char* sMessage;
};

class SettingsSaveFileName : public SettingsTest,
                             public ::testing::WithParamInterface<tSaveCase> {};

TEST_P(SettingsSaveFileName, ShowsItsOneMessageWithoutOwner) {
    vWriteIni({{"SaveFileName", GetParam().oValue}});
    EXPECT_FALSE(booReadSetting());
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, GetParam().sMessage);
    EXPECT_EQ(boxes_[0].title, "Tolvek E");
    EXPECT_EQ(boxes_[0].style, 64u);
    EXPECT_EQ(boxes_[0].hOwner, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsSaveFileName,
    ::testing::Values(tSaveCase{"", "Not Found the bitmap name."},
                      tSaveCase{std::nullopt, "Not found the SaveFileName section."},
                      tSaveCase{"NONE", "Not found the SaveFileName section."}));

TEST_F(SettingsTest, NoFileEndsSilentlyAtVolt) {
    App.g_lElec = kSentinel;
    EXPECT_FALSE(booReadSetting());
    EXPECT_EQ(App.g_lVolt, 60);
    EXPECT_EQ(App.g_lElec, kSentinel);
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(SettingsTest, NumberBeforeTheWordIsNoPreHeatKey) {
    vWriteIni({{"ElecPP4", std::nullopt}}, "4ElecPP=100\r\n");
    EXPECT_TRUE(booReadSetting());
    EXPECT_EQ(App.g_lElecPP[1], 234);
}

TEST_F(SettingsTest, TextValuesAreStoredUnchanged) {
    vWriteIni({{"ClickSound", "/snd/two  blanks.wav"}, {"SaveFileName", "C:\\img\\a b.bmp"}});
    EXPECT_TRUE(booReadSetting());
    EXPECT_EQ(App.g_sClickSound, "/snd/two  blanks.wav");
    EXPECT_EQ(App.g_sSaveFileName, "C:\\img\\a b.bmp");
}

TEST_F(SettingsTest, ClickSoundNoneLeavesItEmpty) {
    App.g_sClickSound = "earlier.wav";
    vWriteIni({{"ClickSound", "NONE"}});
    EXPECT_TRUE(booReadSetting());
    EXPECT_EQ(App.g_sClickSound, "");
}

TEST_F(SettingsTest, AtMost511CharactersOfAValueAreSeen) {
    const std::string sLong = "/" + std::string(599, 'n');
    vWriteIni({{"SaveFileName", sLong}});
    EXPECT_TRUE(booReadSetting());
    EXPECT_EQ(App.g_sSaveFileName, sLong.substr(0, 511));
}

TEST_F(SettingsTest, KeyAndSectionNamesIgnoreCase) {
    vWriteIni({{"Volt", std::nullopt}}, "");
    std::string sText = sReadRaw();
    sText.replace(sText.find("[ZYR_PAN_WEQ]\r\n"), 15, "[zyr_pan_weq]\r\nVOLT=72\r\n");
    vWriteRaw(sText);
    EXPECT_TRUE(booReadSetting());
    EXPECT_EQ(App.g_lVolt, 72);
}

TEST_F(SettingsTest, OtherSectionsAreNotRead) {
    vWriteIni({{"Volt", std::nullopt}}, "[ZyrPan2]\r\nVolt=75\r\n");
    EXPECT_FALSE(booReadSetting());
    EXPECT_EQ(App.g_lVolt, 60);
}

TEST_F(SettingsTest, SettingsPathIsBesideTheProgram) {
    platform::vSetProgramFolder("/opt/zyr");
    EXPECT_EQ(sSettingsPath(), "/opt/zyr/ZYR_PAN_WEQ.ini");
    platform::vSetProgramFolder("/opt/zyr/");
    EXPECT_EQ(sSettingsPath(), "/opt/zyr/ZYR_PAN_WEQ.ini");
    platform::vSetProgramFolder(sFolder_);
    EXPECT_EQ(sSettingsPath(), sIniPath());
}

}  // namespace
