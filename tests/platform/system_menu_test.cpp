// A window without a close control: no close button, the window manager's
// close requests refused, the program's own close still works.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QWidget>
#include <QWindow>

#include "platform/system_menu.h"

// The window manager's close request (title bar, Alt+F4) reaches the
// toolkit's window and comes on to the widget as a spontaneous close event;
// the same request closes a window that keeps its control.
TEST(SystemMenu, CloseControlGoesWindowManagerCloseRefusedProgramCloseWorks) {
    QWidget guarded, plain;
    for (QWidget* w : {&guarded, &plain}) {
        w->setAttribute(Qt::WA_DontShowOnScreen);
        w->show();
    }
    platform::vRemoveCloseItem(&guarded);
    EXPECT_FALSE(guarded.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(guarded.windowFlags().testFlags(Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint));
    for (QWidget* w : {&guarded, &plain}) {
        QCloseEvent request;
        QCoreApplication::sendEvent(w->windowHandle(), &request);
    }
    EXPECT_EQ(std::pair(guarded.isVisible(), plain.isVisible()), std::pair(true, false));
    EXPECT_TRUE(guarded.close());
    EXPECT_FALSE(guarded.isVisible());
}
