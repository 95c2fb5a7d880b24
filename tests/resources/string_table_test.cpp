// The string table, spot-checked by number in both languages (the console's
// tests read many more texts where they are shown), and the choice of
// language.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>

#include "resources/string_table.h"

static std::string sText(int lang, int32_t lNo) {
    std::string s = "(none)";
    vSetResLanguage(lang);
    booLoadResString(lNo, s);
    vSetResLanguage(0);
    return s;
}

TEST(StringTable, TextsByNumberInEnglishAndJapanese) {
    const std::tuple<int32_t, const char*, const char*> kRows[] = {
        {10417, "Exposure was interrupted.\nDo you generate image?", "撮影が中断されました。\n画像を作成しますか？"},
        {11464, "Set preheat value correctly.\n(Valid value: 0 - 255)",
         "プレヒート値を正しく設定してください。\n(有効な値: 0 - 255)"},
        {11499, "Wait for", "残り # 秒"},
        {12438, "Panorama 10 Sec. Adult", "パノラマ 10秒 成人"},
        {20101, "Confirm power supply of equipment and connection of sensor.\nIf it can't restore, please contact to serviceman.",
         "装置の電源とセンサの接続を確認してください。\n復旧しない場合は、サービス担当者に連絡してください。"},
        {21099, "Not defined error e100", "未定義のエラー e100"}};
    for (const auto& [lNo, sEnglish, sJapanese] : kRows) {
        EXPECT_EQ(sText(1, lNo), sEnglish) << lNo;
        EXPECT_EQ(sText(2, lNo), sJapanese) << lNo;
    }
    // Numbers the table lacks leave the text as it was.
    for (int32_t lNo : {10449, 10465, 10480, 10490, 11497, 20999, 21100}) EXPECT_EQ(sText(2, lNo), "(none)") << lNo;
}

// Runs this program again with only the test below, under the given LANG.
static void vRunWithLang(const char* sLang, const char* sExpected) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* s : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"}) env.remove(s);
    env.insert("LANG", sLang);
    env.insert("ZYR_RES_EXPECT", sExpected);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests", "--gtest_filter=StringTable.DISABLED_FollowsTheUserInterface"});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_TRUE(child.readAllStandardOutput().contains("[  PASSED  ] 1 test")) << "under LANG=" << sLang;
}

TEST(StringTable, JapaneseUserInterfaceGetsJapaneseOthersEnglish) {
    vRunWithLang("ja_JP.UTF-8", "撮影モード");
    vRunWithLang("de_DE.UTF-8", "Exposure mode");
}

// Run only by the test above, in a child.
TEST(StringTable, DISABLED_FollowsTheUserInterface) {
    std::string s;
    ASSERT_TRUE(booLoadResString(12406, s));
    EXPECT_EQ(s, std::getenv("ZYR_RES_EXPECT"));
}
