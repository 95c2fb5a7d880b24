// The settings writer: one key at a time into the program's settings file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/settings.h"
#include "settings_fixture.h"

namespace {

TEST_F(SettingsTest, WriteReplacesTheValueInPlace) {
    vWriteRaw("[ZYR_PAN_WEQ]\r\nVolt=70\r\nElec=4\r\n\r\n[ZyrPan2]\r\nLink=sim\r\n");
    EXPECT_FALSE(booWriteSetting("Volt", "72"));
    EXPECT_EQ(sReadRaw(), "[ZYR_PAN_WEQ]\r\nVolt=72\r\nElec=4\r\n\r\n[ZyrPan2]\r\nLink=sim\r\n");
}

TEST_F(SettingsTest, WriteAddsAMissingKeyToTheSection) {
    vWriteRaw("[ZYR_PAN_WEQ]\r\nVolt=70\r\nElec=4\r\n\r\n[ZyrPan2]\r\nLink=sim\r\n");
    EXPECT_FALSE(booWriteSetting("M2_Select", "-1"));
    EXPECT_EQ(sReadRaw(),
              "[ZYR_PAN_WEQ]\r\nVolt=70\r\nElec=4\r\nM2_Select=-1\r\n\r\n[ZyrPan2]\r\nLink=sim\r\n");
}

TEST_F(SettingsTest, WriteCreatesTheFileWithTheSection) {
    EXPECT_FALSE(booWriteSetting("DefMode", "2"));
    EXPECT_EQ(sReadRaw(), "[ZYR_PAN_WEQ]\r\nDefMode=2\r\n");
}

TEST_F(SettingsTest, WrittenValuesAreReadBack) {
    vWriteIni();
    EXPECT_FALSE(booWriteSetting("Volt", "66"));
    EXPECT_FALSE(booWriteSetting("M1_ElecDef2", "8"));
    EXPECT_FALSE(booWriteSetting("ElecPP10", "0"));
    EXPECT_TRUE(booReadSetting());
    EXPECT_EQ(App.g_lVolt, 66);
    EXPECT_EQ(App.g_tModeCond[1].lElecDef[2], 8);
    EXPECT_EQ(App.g_lElecPP[4], 0);
    EXPECT_EQ(App.g_lElec, 3);
}

TEST_F(SettingsTest, ReadOnlyFileFailsAndStaysUntouched) {
    const std::string sBefore = "[ZYR_PAN_WEQ]\r\nVolt=70\r\n";
    vWriteRaw(sBefore);
    ASSERT_EQ(chmod(sIniPath().c_str(), 0444), 0);
    EXPECT_TRUE(booWriteSetting("Volt", "72"));  // true means the write failed
    EXPECT_TRUE(booWriteSetting("Elec", "4"));
    EXPECT_EQ(sReadRaw(), sBefore);
    chmod(sIniPath().c_str(), 0644);
}

TEST_F(SettingsTest, MissingProgramFolderFails) {
    platform::vSetProgramFolder(sFolder_ + "/gone");
    EXPECT_TRUE(booWriteSetting("Volt", "72"));
}

}  // namespace
