// Message boxes: the responder that answers instead of the operator, and the
// real box the operator sees (icon, buttons, preselected button, title, text,
// owner, and what each way of closing it returns).
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/message_box.h"

namespace {

TEST(MsgBoxResponder, AnswersAndRecordsEveryBox) {
    std::vector<platform::MsgBoxCall> calls;
    platform::vSetMsgBoxResponder([&calls](const platform::MsgBoxCall& c) {
        calls.push_back(c);
        return c.style == platform::MB_YESNO_QUESTION_DEFBUTTON2 ? platform::IDYES : platform::IDOK;
    });
    int owner = 0;
    EXPECT_EQ(platform::MessageBoxA(&owner, "Line one\r\nLine two", "Tolvek E", 292), platform::IDYES);
    EXPECT_EQ(platform::MessageBoxA(nullptr, "Done.", "Tolvek E", 64), platform::IDOK);
    platform::vSetMsgBoxResponder({});
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].hOwner, &owner);
    EXPECT_EQ(calls[0].text, "Line one\r\nLine two");
    EXPECT_EQ(calls[0].title, "Tolvek E");
    EXPECT_EQ(calls[0].style, 292u);
    EXPECT_EQ(calls[1].hOwner, nullptr);
    EXPECT_EQ(calls[1].text, "Done.");
    EXPECT_EQ(calls[1].style, 64u);
}

// What the operator saw in a real box.
struct Seen {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title, text;
    QWidget* parent = nullptr;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton preselected = QMessageBox::NoButton;
    bool modal = false;
};

// Shows a real box; once it is up, records it and lets `act` close it.
int32_t showAndAct(QWidget* owner, const char* text, uint32_t style, Seen& seen,
                   const std::function<void(QMessageBox*)>& act) {
    bool found = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        found = true;
        seen.icon = box->icon();
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.parent = box->parentWidget();
        seen.buttons = box->standardButtons();
        seen.preselected = box->standardButton(box->defaultButton());
        seen.modal = box->isModal();
        act(box);
    });
    const int32_t result = platform::MessageBoxA(owner, text, "Tolvek E", style);
    EXPECT_TRUE(found) << "no modal box was shown";
    return result;
}

struct BoxCase {
    const char* name;
    uint32_t style;
    QMessageBox::StandardButton press;  // NoButton: close with Escape
    int32_t expected;
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class RealBox : public ::testing::TestWithParam<BoxCase> {};

TEST_P(RealBox, ShowsTheStyleAndReturnsTheAnswer) {
    const BoxCase& c = GetParam();
    QWidget owner;
    Seen seen;
    const int32_t result = showAndAct(&owner, "Do you generate image?", c.style, seen, [&c](QMessageBox* box) {
        if (c.press == QMessageBox::NoButton) {
            box->reject();  // what Escape and the window's close do
        } else {
            box->button(c.press)->click();
        }
    });
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(seen.title, QStringLiteral("Tolvek E"));
    EXPECT_EQ(seen.text, QStringLiteral("Do you generate image?"));
    EXPECT_EQ(seen.parent, &owner);
    EXPECT_TRUE(seen.modal);
    if (c.style == 292) {
        EXPECT_EQ(seen.icon, QMessageBox::Question);
        EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(seen.preselected, QMessageBox::No) << "No must be preselected";
    } else {
        EXPECT_EQ(seen.icon, QMessageBox::Information);
        EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_EQ(seen.preselected, QMessageBox::Ok);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, RealBox,
    ::testing::Values(BoxCase{"InfoOk", 64, QMessageBox::Ok, platform::IDOK},
                      BoxCase{"InfoEscape", 64, QMessageBox::NoButton, platform::IDOK},
                      BoxCase{"QuestionYes", 292, QMessageBox::Yes, platform::IDYES},
                      BoxCase{"QuestionNo", 292, QMessageBox::No, platform::IDNO},
                      BoxCase{"QuestionClosed", 292, QMessageBox::NoButton, platform::IDNO}),
    [](const ::testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

TEST(RealBoxText, MultiLineTextAndNoOwner) {
    Seen seen;
    const int32_t result = showAndAct(nullptr, "Initialization error occurred. (5)\r\nConfirm power supply",
                                      64, seen, [](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
    EXPECT_EQ(result, platform::IDOK);
    EXPECT_EQ(seen.parent, nullptr);
    EXPECT_TRUE(seen.text.contains(QStringLiteral("(5)")));
    EXPECT_TRUE(seen.text.contains(QStringLiteral("Confirm power supply")));
    EXPECT_EQ(seen.text.count(QLatin1Char('\n')), 1);
}

TEST(RealBoxText, JapaneseTextShownAsWritten) {
    Seen seen;
    // "Exposure" in Japanese, as the string table holds it (UTF-8).
    showAndAct(nullptr, "\xe6\x92\xae\xe5\xbd\xb1", 64, seen, [](QMessageBox* box) { box->accept(); });
    EXPECT_EQ(seen.text, QString::fromUtf8("\xe6\x92\xae\xe5\xbd\xb1"));
    EXPECT_EQ(seen.text.size(), 2);
}

}  // namespace
