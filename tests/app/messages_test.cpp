// The operator's message boxes: exact texts, titles, styles and answers.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "app/messages.h"
#include "app/res_text.h"
#include "platform/message_box.h"
#include "resources/string_table.h"

namespace {

class MessagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        vSetResLanguage(1);
        platform::vSetMsgBoxResponder([this](const platform::MsgBoxCall& call) {
            boxes_.push_back(call);
            return lAnswer_;
        });
    }
    void TearDown() override {
        platform::vSetMsgBoxResponder({});
        vSetResLanguage(0);
    }
    std::vector<platform::MsgBoxCall> boxes_;
    int32_t lAnswer_ = platform::IDOK;
};

int g_iOwner;  // stands for a window: only its address is passed on

TEST_F(MessagesTest, InfoBoxCarriesTitleStyleAndOwner) {
    vMsgInfo(&g_iOwner, "Setting was saved.");
    vMsgInfo(nullptr, "two\nlines");
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].hOwner, &g_iOwner);
    EXPECT_EQ(boxes_[0].text, "Setting was saved.");
    EXPECT_EQ(boxes_[0].title, "Tolvek E");
    EXPECT_EQ(boxes_[0].style, 64u);
    EXPECT_EQ(boxes_[1].hOwner, nullptr);
    EXPECT_EQ(boxes_[1].text, "two\nlines");
}

class YesNoAnswer : public MessagesTest,
                    public ::testing::WithParamInterface<std::pair<int32_t, int32_t>> {};

TEST_P(YesNoAnswer, OnlyYesIsYes) {
    lAnswer_ = GetParam().first;
    EXPECT_EQ(lMsgYesNo(&g_iOwner, "Setting value will be changed. Is it OK?"), GetParam().second);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].style, 292u);
    EXPECT_EQ(boxes_[0].title, "Tolvek E");
    EXPECT_EQ(boxes_[0].hOwner, &g_iOwner);
    EXPECT_EQ(boxes_[0].text, "Setting value will be changed. Is it OK?");
}

// 6 Yes, 7 No, 2 the box closed without a choice, 1 and 0 anything else.
INSTANTIATE_TEST_SUITE_P(Answers, YesNoAnswer,
                         ::testing::Values(std::pair{6, 6}, std::pair{7, 7}, std::pair{2, 7},
                                           std::pair{1, 7}, std::pair{0, 7}));

struct tCodeCase {
    int32_t lCode;
    int32_t lTextNo;
    const char* sExplanation;
};

class CodeExplanation : public MessagesTest, public ::testing::WithParamInterface<tCodeCase> {};

TEST_P(CodeExplanation, ErrorBoxShowsTextCodeAndExplanation) {
    const tCodeCase& c = GetParam();
    EXPECT_EQ(lCodeTextNo(c.lCode), c.lTextNo);
    EXPECT_EQ(sCodeExplanation(c.lCode), c.sExplanation);
    vShowErrMsg(&g_iOwner, c.lCode, "Image Data Reading Error occurred.");
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, "Image Data Reading Error occurred.\r\nERR : " +
                                  std::to_string(c.lCode) + "\r\nMSG : " + c.sExplanation);
    EXPECT_EQ(boxes_[0].style, 64u);
    EXPECT_EQ(boxes_[0].title, "Tolvek E");
    EXPECT_EQ(boxes_[0].hOwner, &g_iOwner);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, CodeExplanation,
    ::testing::Values(
        tCodeCase{1, 10451, "Status of Circuit Setting at Initialization Time was changed."},
        tCodeCase{2, 10452, "AD cannot be reading condition."},
        tCodeCase{14, 10464, "Incorrect Data File Size for Damage Correction."},
        tCodeCase{15, 10465, "Error : LoadResString(10465)"},
        tCodeCase{17, 10467, "Error : LoadResString(10467)"},
        tCodeCase{18, 10468, "Data cannot be read from Sensor Unit."},
        tCodeCase{24, 10474, "Communication Control Program Load File Error."},
        tCodeCase{25, 10475, "Error : LoadResString(10475)"},
        tCodeCase{30, 10480, "Error : LoadResString(10480)"},
        tCodeCase{31, 10492, "Unclear Error"},
        tCodeCase{-1, 10491, "Communication Error. Communication is not established."},
        tCodeCase{-10, 10491, "Communication Error. Communication is not established."},
        tCodeCase{-11, 10492, "Unclear Error"}, tCodeCase{-92, 10492, "Unclear Error"},
        tCodeCase{-93, 10493, "BMP(8bit) File Writing Error"},
        tCodeCase{-94, 10494, "Reading Error of Image Data (12bit) File"},
        tCodeCase{-95, 10495, "Memory Obtaining Error"},
        tCodeCase{-96, 10496, "Image Data File Writing Error"},
        tCodeCase{-97, 10497, "Parameter Error"}, tCodeCase{-98, 10498, "Memory Obtaining Error"},
        tCodeCase{-99, 10499, "Film Sending Speed Data File Reading Error"},
        tCodeCase{-100, 10492, "Unclear Error"}, tCodeCase{10003, 10492, "Unclear Error"},
        tCodeCase{INT32_MIN, 10492, "Unclear Error"},
        tCodeCase{INT32_MAX, 10492, "Unclear Error"}));

TEST_F(MessagesTest, CodeZeroShowsThePlainText) {
    vShowErrMsg(&g_iOwner, 0, "Sensor is not connected.");
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, "Sensor is not connected.");
    EXPECT_EQ(boxes_[0].style, 64u);
}

TEST_F(MessagesTest, InitErrorShowsCodeThenAdvice) {
    vShowInitErr(&g_iOwner, 5);
    vShowInitErr(nullptr, -1);
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].text,
              "Initialization error occurred. (5)\r\n"
              "Confirm power supply of equipment and connection of sensor.\n"
              "If it can't restore, please contact to serviceman.");
    EXPECT_EQ(boxes_[0].hOwner, &g_iOwner);
    EXPECT_EQ(boxes_[0].style, 64u);
    EXPECT_EQ(boxes_[1].text.substr(0, 37), "Initialization error occurred. (-1)\r\n");
    EXPECT_EQ(boxes_[1].hOwner, nullptr);
}

TEST_F(MessagesTest, JapaneseBoxesKeepTheTitleAndLayout) {
    vSetResLanguage(2);
    vShowErrMsg(&g_iOwner, -1, sGetResText(10426));
    vShowInitErr(&g_iOwner, 3);
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].text,
              "画像データの読み込みエラーが発生しました。\r\nERR : -1\r\n"
              "MSG : 通信エラー。通信が確立されていません。");
    EXPECT_EQ(boxes_[0].title, "Tolvek E");
    EXPECT_EQ(boxes_[1].text,
              "初期化エラーが発生しました。 (3)\r\n"
              "装置の電源とセンサの接続を確認してください。\n"
              "復旧しない場合は、サービス担当者に連絡してください。");
}

struct tResCase {
    int32_t lNo;
    const char* sText;
};

class ResText : public MessagesTest, public ::testing::WithParamInterface<tResCase> {};

TEST_P(ResText, LoaderHandsOnTextOrFallback) {
    EXPECT_EQ(sGetResText(GetParam().lNo), GetParam().sText);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResText,
    ::testing::Values(
        // Kept untrimmed, inner and trailing blanks included.
        tResCase{12404, "Tube current "}, tResCase{11492, "Waiting for finish of READY. "},
        tResCase{21005, "Communication Error between PC and  MAIN CPU."},
        // Numbers the table lacks: the fallback text.
        tResCase{20999, "Error : LoadResString(20999)"},
        tResCase{21100, "Error : LoadResString(21100)"},
        tResCase{11497, "Error : LoadResString(11497)"},
        tResCase{0, "Error : LoadResString(0)"}, tResCase{-5, "Error : LoadResString(-5)"}));

TEST(ResTextTidy, BlankTextComesBackEmpty) {
    EXPECT_EQ(sTidyResText(12000, "   "), "");
    EXPECT_EQ(sTidyResText(12000, ""), "");
    EXPECT_EQ(sTidyResText(12000, " x "), " x ");
    EXPECT_EQ(sTidyResText(12000, "\t"), "\t");  // only blanks count as blank
    EXPECT_EQ(sTidyResText(12000, nullptr), "Error : LoadResString(12000)");
}

}  // namespace
