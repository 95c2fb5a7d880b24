// A window without a close control: no close button, the window manager's
// close requests refused, the program's own close still works.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QWidget>
#include <QWindow>

#include "platform/system_menu.h"

namespace {

// Counts the close events that reach the window and whether they were accepted.
class Probe : public QWidget {
public:
    int closeEvents = 0;

protected:
    void closeEvent(QCloseEvent* e) override {
        ++closeEvents;
        QWidget::closeEvent(e);
    }
};

// The window manager's close request (title bar, Alt+F4) comes to the
// toolkit's window as a close event, which hands it on to the widget as a
// spontaneous one.
void closeFromOutside(QWidget& window) {
    ASSERT_NE(window.windowHandle(), nullptr);
    QCloseEvent request;
    QCoreApplication::sendEvent(window.windowHandle(), &request);
}

TEST(SystemMenu, CloseButtonRemovedOtherButtonsKept) {
    QWidget window;
    platform::vRemoveCloseItem(&window);
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
}

TEST(SystemMenu, ShownWindowStaysShown) {
    QDialog dialog;
    dialog.show();
    ASSERT_TRUE(dialog.isVisible());
    platform::vRemoveCloseItem(&dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint)) << "a dialog gains no buttons";
}

TEST(SystemMenu, WindowManagerCloseRefusedProgramCloseWorks) {
    Probe window;
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    platform::vRemoveCloseItem(&window);
    ASSERT_NE(window.windowHandle(), nullptr);

    closeFromOutside(window);
    EXPECT_TRUE(window.isVisible()) << "the operator must not close it";
    EXPECT_EQ(window.closeEvents, 0);

    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.closeEvents, 1);
}

TEST(SystemMenu, UntouchedWindowClosesFromOutside) {
    // Without the removal the same request closes the window, which shows
    // that the request above really was one from outside.
    Probe window;
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    closeFromOutside(window);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.closeEvents, 1);
}

TEST(SystemMenu, SecondRemovalAddsNoSecondGuard) {
    QWidget window;
    platform::vRemoveCloseItem(&window);
    platform::vRemoveCloseItem(&window);
    EXPECT_EQ(window.findChildren<QObject*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    platform::vRemoveCloseItem(nullptr);  // nothing to do
}

}  // namespace
