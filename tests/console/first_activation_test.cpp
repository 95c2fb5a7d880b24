// The first activation (the power-on box and the connection) starts once the
// main window is on screen, also on a desktop that never activates a window
// another program started; later activations and a second show leave it be.
#include <QApplication>
#include <QEvent>

#include "tests/support/console_fixture.h"

namespace {

// A window system that refuses the window its activation.
class NoActivation : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* e) override { return e->type() == QEvent::WindowActivate; }
};

TEST_F(ConsoleTest, FirstActivationRunsOnShowAloneAndOnlyOnce) {
    frmMain& frm = load();
    const std::vector<std::string> powerOn = {"Confirm power on of the equipment."};
    NoActivation refuse;
    frm.installEventFilter(&refuse);
    frm.Show(false);
    QApplication::processEvents();
    EXPECT_EQ(boxTexts(), powerOn);
    EXPECT_EQ(scripted::iSent("c1"), 1);
    EXPECT_TRUE(frm.tmStart->isRunning());

    frm.removeEventFilter(&refuse);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&frm, &activate);
    QApplication::processEvents();
    frm.hide();
    frm.Show(false);
    QApplication::processEvents();
    EXPECT_EQ(boxTexts(), powerOn);
    EXPECT_EQ(scripted::iSent("c1"), 1);
}

}  // namespace
