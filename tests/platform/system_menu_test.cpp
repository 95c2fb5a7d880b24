// A window without a close control: no close button, the window manager's
// close requests refused, the program's own close still works.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QWindow>

#include "platform/system_menu.h"

// The window manager's close request (title bar, Alt+F4) reaches the
// toolkit's window and comes on to the widget as a spontaneous close event.
static void vCloseFromOutside(QWidget& window) {
    QCloseEvent request;
    QCoreApplication::sendEvent(window.windowHandle(), &request);
}

TEST(SystemMenu, CloseControlGoesOtherControlsStay) {
    QWidget window;
    QDialog dialog;
    dialog.show();
    platform::vRemoveCloseItem(&window);
    platform::vRemoveCloseItem(&dialog);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(window.windowFlags().testFlags(Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(dialog.isVisible()) << "a shown window stays shown";
}

TEST(SystemMenu, WindowManagerCloseRefusedProgramCloseWorks) {
    QWidget guarded, plain;
    for (QWidget* w : {&guarded, &plain}) {
        w->setAttribute(Qt::WA_DontShowOnScreen);
        w->show();
    }
    platform::vRemoveCloseItem(&guarded);
    vCloseFromOutside(guarded);
    vCloseFromOutside(plain);
    EXPECT_TRUE(guarded.isVisible()) << "the operator cannot close it";
    EXPECT_FALSE(plain.isVisible()) << "the same request closes a window that keeps its control";
    EXPECT_TRUE(guarded.close());
    EXPECT_FALSE(guarded.isVisible());
}
