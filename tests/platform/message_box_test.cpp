// The real message box the operator sees for each style: icon, buttons, the
// preselected button, title, text, owner, and what each way of closing it
// answers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/message_box.h"

using QBox = QMessageBox;

TEST(MessageBox, ShowsItsStyleAndAnswersWhatWasPressed) {
    // The style, the button pressed (NoButton: closed with Escape or by the
    // window manager) and the answer.
    const std::tuple<uint32_t, QBox::StandardButton, int32_t> kCases[] = {
        {64, QBox::Ok, 1}, {64, QBox::NoButton, 1}, {292, QBox::Yes, 6}, {292, QBox::No, 7}, {292, QBox::NoButton, 7}};
    const std::string sText = "撮影\r\nDo you generate image?";
    for (const auto& [style, pressed, lAnswer] : kCases) {
        const QBox::StandardButton press = pressed;  // a lambda below takes it
        QWidget owner;
        std::string seen = "no modal box";
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            seen = std::to_string(box->icon()) + "|" + std::to_string(box->standardButtons().toInt()) + "|" +
                   std::to_string(box->standardButton(box->defaultButton())) + "|" + box->windowTitle().toStdString() +
                   "|" + box->text().toStdString() + "|" + (box->parentWidget() == &owner && box->isModal() ? "modal" : "");
            press == QBox::NoButton ? box->reject() : box->button(press)->click();
        });
        EXPECT_EQ(platform::MessageBoxA(&owner, sText.c_str(), "Tolvek E", style), lAnswer);
        const bool booQuestion = style == 292;
        const QBox::StandardButtons buttons = booQuestion ? QBox::Yes | QBox::No : QBox::Ok;
        EXPECT_EQ(seen, std::to_string(booQuestion ? QBox::Question : QBox::Information) + "|" +
                            std::to_string(buttons.toInt()) + "|" + std::to_string(booQuestion ? QBox::No : QBox::Ok) +
                            "|Tolvek E|" + sText + "|modal");
    }
}
