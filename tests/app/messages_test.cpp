// The operator's message boxes: exact texts, title, style, owner and answers.
#include <gtest/gtest.h>

#include <climits>

#include "app/messages.h"
#include "app/res_text.h"
#include "resources/string_table.h"
#include "tests/support/program_fixture.h"

using MessagesTest = ProgramTest;
static int g_iOwner;  // stands for a window: only its address is passed on

static std::string sBox(const platform::MsgBoxCall& b) {
    return b.title + "|" + std::to_string(b.style) + "|" + (b.hOwner == &g_iOwner ? "owner" : "none") + "|" + b.text;
}

TEST_F(MessagesTest, EachBoxCarriesTitleStyleOwnerAndItsExactText) {
    vMsgInfo(&g_iOwner, "Setting was saved.");
    vShowErrMsg(&g_iOwner, 0, "Sensor is not connected.");
    vShowErrMsg(nullptr, -1, "Image Data Reading Error occurred.");
    vSetResLanguage(2);
    vShowInitErr(&g_iOwner, -3);
    std::vector<std::string> seen;
    for (const auto& b : boxes_) seen.push_back(sBox(b));
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "Tolvek E|64|owner|Setting was saved.", "Tolvek E|64|owner|Sensor is not connected.",
                        "Tolvek E|64|none|Image Data Reading Error occurred.\r\nERR : -1\r\n"
                        "MSG : Communication Error. Communication is not established.",
                        "Tolvek E|64|owner|初期化エラーが発生しました。 (-3)\r\n"
                        "装置の電源とセンサの接続を確認してください。\n"
                        "復旧しない場合は、サービス担当者に連絡してください。"}));
}

TEST_F(MessagesTest, QuestionBoxAnswersYesOnlyForYes) {
    // No, a box closed without a choice (2) or anything else is No.
    const std::pair<int32_t, int32_t> kAnswers[] = {{6, 6}, {7, 7}, {2, 7}, {1, 7}, {0, 7}};
    for (const auto& [lAnswer, lResult] : kAnswers) {
        lBoxAnswer_ = lAnswer;
        EXPECT_EQ(lMsgYesNo(&g_iOwner, "Is it OK?"), lResult) << lAnswer;
        EXPECT_EQ(sBox(boxes_.back()), "Tolvek E|292|owner|Is it OK?");
    }
}

TEST_F(MessagesTest, CodesExplainedByRangeTextsUntrimmedMissingOnesNamed) {
    const std::pair<int32_t, int32_t> kCases[] = {
        {1, 10451},    {14, 10464},    {15, 10465},        {30, 10480},       {31, 10492},  {0, 10492},
        {-1, 10491},   {-10, 10491},   {-11, 10492},       {-92, 10492},      {-93, 10493}, {-99, 10499},
        {-100, 10492}, {10003, 10492}, {INT32_MIN, 10492}, {INT32_MAX, 10492}};
    for (const auto& [lCode, lTextNo] : kCases) EXPECT_EQ(lCodeTextNo(lCode), lTextNo) << lCode;
    EXPECT_EQ(sCodeExplanation(31), "Unclear Error");
    EXPECT_EQ(sCodeExplanation(15), "Error : LoadResString(10465)");
    EXPECT_EQ(sGetResText(-5), "Error : LoadResString(-5)");
    EXPECT_EQ(sGetResText(12404), "Tube current ");
    EXPECT_EQ(sTidyResText(12000, "   "), "") << "a text of blanks only";
}
