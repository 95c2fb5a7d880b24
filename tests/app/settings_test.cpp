// The settings file beside the program: what the reader makes of each key of
// the default file, and the bytes the writer leaves behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cstdio>
#include <regex>

#include "app/app_state.h"
#include "app/settings.h"
#include "tests/support/program_fixture.h"

namespace {

constexpr int32_t kOwnPreHeat = -9999;  // outside value: the pre-heat current's own default
constexpr int32_t kPreHeat[6] = {226, 234, 240, 247, 254, 254};
const std::vector<std::optional<std::string>> kMissing = {std::nullopt, "", "NONE"};

// How the reader treats the integer keys whose names match: the member
// filled (from the numbers in the name: the group and patient size of a mode
// key, the current of a pre-heat key), the accepted range, the value stored
// for a number outside it, the value kept when the key is missing or not a
// number, and whether a missing value ends the reading.
struct tRule {
    const char* sPattern;
    int32_t* (*member)(int, int);
    int32_t lMin, lMax, lOutside, lKept;
    bool booRequired;
};
const tRule kRules[] = {
    {"Volt", [](int, int) { return &App.g_lVolt; }, 60, 80, 60, 60, true},
    {"Elec", [](int, int) { return &App.g_lElec; }, 2, 8, 2, 2, true},
    {"DefMode", [](int, int) { return &App.g_lDefMode; }, 0, 6, 0, -1, true},
    {"CephPlace", [](int, int) { return &App.g_lCephPlace; }, 0, 2, 2, 2, false},
    {"AutoPower", [](int, int) { return &App.g_lAutoPower; }, 0, 1, 1, 1, false},
    {"DisplayMode", [](int, int) { return &App.g_lDisplayMode; }, 0, 1, 0, 0, false},
    {"ElecPP.*", [](int mA, int) { return &App.g_lElecPP[mA / 2 - 1]; }, 0, 255, kOwnPreHeat, kOwnPreHeat, false},
    {"M._VoltDef.", [](int g, int k) { return &App.g_tModeCond[g].lVoltDef[k]; }, 60, 80, 60, 60, true},
    {"M._ElecDef.", [](int g, int k) { return &App.g_tModeCond[g].lElecDef[k]; }, 2, 8, 2, 2, true},
    {"M._Volt", [](int g, int) { return &App.g_tModeCond[g].lVolt; }, 60, 80, 60, 60, true},
    {"M._Elec", [](int g, int) { return &App.g_tModeCond[g].lElec; }, 2, 8, 2, 2, true},
    {"M._Select", [](int g, int) { return &App.g_tModeCond[g].lSelect; }, -1, 2, -1, -1, true},
    {"CephModeEnabled", [](int, int) { return &App.g_lCephModeEnabled; }, 0, 1, 1, 1, false},
    {"TimeStep", [](int, int) { return &App.g_lTimeStep; }, INT32_MIN, INT32_MAX, 0, 10, false},
    {"TimeLag", [](int, int) { return &App.g_lTimeLag; }, INT32_MIN, INT32_MAX, 0, 50, false},
    {"XrayTime", [](int, int) { return &App.g_lXrayTime; }, INT32_MIN, INT32_MAX, 0, 0, false},
    {"WaitTime", [](int, int) { return &App.g_lWaitTime; }, INT32_MIN, INT32_MAX, 0, 0, false},
    // A negative reconnection time means no retry at all, not the default.
    {"InitRetryTime_Boot", [](int, int) { return &App.g_lInitRetryTimeBoot; }, 0, INT32_MAX, 0, 0, false},
    {"InitRetryTime_Timer", [](int, int) { return &App.g_lInitRetryTimeTimer; }, 0, INT32_MAX, 0, 60, false},
    {"SaveInfo", [](int, int) { return &App.g_lSaveInfo; }, 0, 1, 0, 0, false},
};

using SettingsTest = ProgramTest;

// Each integer key of the program's section (the first) of the default file,
// one at a time: both ends of its range reach its own member, one beyond
// each end stores the outside value, and a missing value or one that is not
// a number keeps the member's value.
TEST_F(SettingsTest, EveryKeyFillsItsOwnMemberWithinItsRange) {
    const std::string sText = sDefaultSettingsText(), sOurs = sText.substr(0, sText.find("\n["));
    const std::regex line("(\\w+)=([^\r\n]*)");
    const auto booReadWith = [this](const std::string& sKey, std::optional<std::string> oValue) {
        vSetKey(sKey, std::move(oValue));
        vWriteSettings();
        vResetAppState();
        return booReadSetting();  // false when reading stopped
    };
    int lKeys = 0;
    for (auto it = std::sregex_iterator(sOurs.begin(), sOurs.end(), line); it != std::sregex_iterator(); ++it) {
        const std::string sKey = (*it)[1];
        if (sKey == "ClickSound" || sKey == "SaveFileName") continue;
        const auto* rule = std::find_if(std::begin(kRules), std::end(kRules),
                                        [&](const tRule& r) { return std::regex_match(sKey, std::regex(r.sPattern)); });
        ASSERT_NE(rule, std::end(kRules)) << "a key the test does not know: " << sKey;
        int a = 0, b = 0;
        std::sscanf(sKey.c_str(), "%*[^0-9]%d%*[^0-9]%d", &a, &b);
        int32_t* plMember = rule->member(a, b);
        tRule r = *rule;
        if (r.lOutside == kOwnPreHeat) r.lOutside = r.lKept = kPreHeat[plMember - App.g_lElecPP];
        std::vector<std::pair<int64_t, int32_t>> edges = {{r.lMin, r.lMin}, {r.lMax, r.lMax}};
        if (r.lMin != INT32_MIN) edges.push_back({int64_t{r.lMin} - 1, r.lOutside});
        if (r.lMax != INT32_MAX) edges.push_back({int64_t{r.lMax} + 1, r.lOutside});
        for (const auto& [lValue, lExpected] : edges) {
            EXPECT_TRUE(booReadWith(sKey, std::to_string(lValue))) << sKey << "=" << lValue;
            EXPECT_EQ(*plMember, lExpected) << sKey << "=" << lValue;
        }
        // Only "NONE" in capitals means missing: a required key with any
        // other text that is not a number lets the reading go on.
        EXPECT_TRUE(booReadWith(sKey, "none")) << sKey;
        EXPECT_EQ(*plMember, r.lKept) << sKey << "=none";
        for (const std::optional<std::string>& oMissing : kMissing) {
            const std::string sCase = sKey + "=" + oMissing.value_or("(no line)");
            EXPECT_EQ(booReadWith(sKey, oMissing), !r.booRequired) << sCase;
            EXPECT_EQ(*plMember, r.lKept) << sCase;
            EXPECT_EQ(App.g_sSaveFileName.empty(), r.booRequired) << sCase << ": reading goes on to the last key";
        }
        vSetKey(sKey, (*it)[2]);
        ++lKeys;
    }
    EXPECT_EQ(lKeys, 47) << "20 single keys and 27 of the three mode groups";
    EXPECT_TRUE(boxes_.empty()) << "a missing required key ends the start-up silently";
}

// The click sound may be missing (it is then empty); the image's name is
// required, and told when missing.
TEST_F(SettingsTest, TextKeysAreTakenAsWrittenUpTo511CharactersTheImagesNameRequired) {
    const std::string sLong = "/a  b" + std::string(520, 'n');
    for (size_t i = 0; i < kMissing.size(); ++i) {
        vSetKey("ClickSound", kMissing[i]);
        vSetKey("SaveFileName", sLong.substr(0, 510 + i));
        vWriteSettings();
        EXPECT_TRUE(booReadSetting());
        EXPECT_EQ(App.g_sClickSound, "") << i;
        EXPECT_EQ(App.g_sSaveFileName, sLong.substr(0, std::min<size_t>(510 + i, 511)));
        vSetKey("SaveFileName", kMissing[i]);
        vWriteSettings();
        EXPECT_FALSE(booReadSetting());
    }
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Not found the SaveFileName section.", "Not Found the bitmap name.",
                                                    "Not found the SaveFileName section."}));
    for (const auto& b : boxes_) EXPECT_TRUE(b.title == "Tolvek E" && b.style == 64 && !b.hOwner) << b.text;
}

// A write changes its key's line in place or adds the key after the last
// key of the program's section; every other byte stays.
TEST_F(SettingsTest, WriteChangesOnlyItsKeysLine) {
    EXPECT_FALSE(booWriteSetting("DefMode", "2"));
    EXPECT_EQ(sIniText(), "[ZYR_PAN_WEQ]\r\nDefMode=2\r\n");
    vWriteSettings();
    std::string sExpected = sIniText();
    sExpected = std::regex_replace(sExpected, std::regex("\nM1_Volt=[^\r]*"), "\nM1_Volt=72");
    sExpected = std::regex_replace(sExpected, std::regex("\nClickSound=[^\r]*"), "\nClickSound=/snd/a  b.wav");
    sExpected.insert(sExpected.find("[ZyrPan2]"), "NewKey=-1\r\n");
    EXPECT_FALSE(booWriteSetting("M1_Volt", "72"));
    EXPECT_FALSE(booWriteSetting("ClickSound", "/snd/a  b.wav"));
    EXPECT_FALSE(booWriteSetting("NewKey", "-1"));
    EXPECT_EQ(sIniText(), sExpected);
    ASSERT_EQ(chmod(sIniPath().c_str(), 0444), 0);
    EXPECT_TRUE(booWriteSetting("DefMode", "3")) << "true means the write failed";
    EXPECT_EQ(sIniText(), sExpected);
}

}  // namespace
