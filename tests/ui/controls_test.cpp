// The controls and their window: where they land in pixels, when a press
// reaches them, what bars and panels show, and the activation, keys
// and mouse as the window's handlers receive them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/color.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/twips.h"

namespace {

QColor pixelOf(const ui::Control& c, int x, int y) { return c.widget()->grab().toImage().pixelColor(x, y); }

class ControlPlace : public ::testing::TestWithParam<std::pair<QRect, QRect>> {};  // twips, pixels

// At 96 dpi 15 twips make a pixel; edges round to the nearest pixel, the
// size spans from the left edge to the right one. Catches truncating or
// rounding up, a control or window off by a pixel, a negative size shown.
TEST_P(ControlPlace, TwipsLandOnTheNearestPixels) {
    ASSERT_EQ(QPointF(ui::dTwipsPerPixelX(), ui::dTwipsPerPixelY()), QPointF(15, 15)) << "the tests run at 96 dpi";
    ui::Form f;
    f.moveTwips(1500, 750, 4500, 3002);
    EXPECT_EQ(f.geometry(), QRect(100, 50, 300, 200));
    auto& frame = f.add<ui::Frame>("FrameMode", nullptr, 240, 600, 6000, 5000);
    const QRect t = GetParam().first;
    auto& img = f.add<ui::Image>("imgMode", 0, &frame, t.x(), t.y(), t.width(), t.height());
    EXPECT_EQ(img.widget()->parentWidget(), frame.widget());
    EXPECT_EQ(img.widget()->geometry(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Twips, ControlPlace,
                         ::testing::Values(std::pair{QRect(780, 930, 1605, 1605), QRect(52, 62, 107, 107)},
                                           std::pair{QRect(22, 23, 735, 735), QRect(1, 2, 49, 49)},
                                           std::pair{QRect(8, 7, 14, 16), QRect(1, 0, 0, 2)},
                                           std::pair{QRect(-30, 0, 22, 23), QRect(-2, 0, 1, 2)},
                                           std::pair{QRect(60, 60, -100, -1), QRect(4, 4, 0, 0)}));

// Catches a button inside a disabled or hidden frame that can still be
// pressed, or that turns grey although its own Enabled is on; a 3-D
// button's outline drawn when it is switched off; a disabled
// spinner that still steps; a timer counting without an interval or while
// disabled, or not again when enabled.
TEST(Controls, OnlyEnabledControlsAct) {
    ui::Form f;
    auto& frame = f.add<ui::Frame>("Frame1", nullptr, 10320, 6000, 2700, 2100);
    auto& start = f.add<ui::Button3D>("cmdStart", &frame, 0, 0, 2700, 2100);
    start.setBackColor(ui::RGB(75, 176, 161));
    frame.setEnabled(false);
    EXPECT_FALSE(start.click());
    EXPECT_EQ(pixelOf(start, 90, 70), QColor(75, 176, 161));
    frame.setEnabled(true);
    EXPECT_TRUE(start.click());
    frame.setVisible(false);
    EXPECT_FALSE(start.click());
    const QImage outlined = start.widget()->grab().toImage();
    start.setOutline(false);  // READY's face draws no outline
    EXPECT_NE(start.widget()->grab().toImage(), outlined);
    auto& ud = f.add<ui::UpDown>("UpDown1", 0, nullptr, 3765, 4500, 255, 375);
    ud.setEnabled(false);
    ud.stepUp();
    EXPECT_EQ(ud.value(), 0);
    auto& t = f.add<ui::Timer>("tmStart", nullptr, 0, 0, 0, 0);
    std::string running = std::to_string(t.isRunning());
    for (auto step : {+[](ui::Timer& t) { t.setInterval(10); }, +[](ui::Timer& t) { t.setEnabled(false); },
                      +[](ui::Timer& t) { t.setEnabled(true); }, +[](ui::Timer& t) { t.setInterval(0); }}) {
        step(t);
        running += std::to_string(t.isRunning());
    }
    EXPECT_EQ(running, "01010");
}

// Catches a value outside the range taken, a bar filled short or past its
// end, a one-point range never full.
TEST(Controls, ProgressBarShowsItsValueInItsRange) {
    const struct {
        int32_t min, max, value;
        bool accepted, startLit, endLit;  // the bar's first and last pixels filled
    } rows[] = {{0, 10, 0, true, false, false},   {0, 10, 5, true, true, false}, {0, 10, 10, true, true, true},
                {0, 10, 11, false, false, false}, {0, 10, -1, false, false, false}, {3, 3, 3, true, true, true}};
    for (const auto& r : rows) {
        ui::Form f;
        auto& bar = f.add<ui::ProgressBar>("prgRetryInit", nullptr, 0, 0, 3000, 300);  // 200 x 20 pixels
        bar.setMax(r.max);
        bar.setMin(r.min);
        EXPECT_EQ(bar.setValue(r.value), r.accepted) << r.value;
        const QColor fill = bar.widget()->palette().color(QPalette::Highlight);
        EXPECT_EQ(std::tuple(pixelOf(bar, 3, 10) == fill, pixelOf(bar, 196, 10) == fill, pixelOf(bar, 198, 10) == fill),
                  std::tuple(r.startLit, r.endLit, false))
            << r.value;
    }
}

// Catches a look that is not shown: the alert's warning-orange border, the
// cooling look's blue band; the normal look has neither.
TEST(Controls, PanelLooksShowTheirColours) {
    ui::Form f;
    auto& p = f.add<ui::Panel3D>("spnlStat", nullptr, 240, 10200, 14880, 600);
    std::string seen;
    for (ui::PanelLook look : {ui::PanelLook::Normal, ui::PanelLook::Alert, ui::PanelLook::Cooling}) {
        p.setLook(look);
        const QImage img = p.widget()->grab().toImage();
        int orange = 0, blue = 0;
        for (int i = 0; i < img.width() * img.height(); ++i) {
            orange += img.pixelColor(i % img.width(), i / img.width()) == QColor(255, 128, 30);
            blue += img.pixelColor(i % img.width(), i / img.width()) == QColor(96, 170, 225);
        }
        seen += std::to_string(orange > 200) + std::to_string(blue > 200);
    }
    EXPECT_EQ(seen, "001001");
}

// A window with a button, a button inside a frame and an image.
struct Window : ui::Form {
    std::string keys, activations, queries;
    int depth = 0;
    ui::CommandButton& btn = add<ui::CommandButton>("cmdReset", nullptr, 0, 0, 1290, 900);
    ui::Frame& frame = add<ui::Frame>("Frame1", nullptr, 2000, 0, 3000, 3000);
    ui::Button3D& inner = add<ui::Button3D>("cmdStart", &frame, 100, 300, 2700, 2100);
    ui::Image& img = add<ui::Image>("cmdDefVolt", 1, nullptr, 0, 1000, 735, 735);
    void Form_KeyDown(int KeyCode, int Shift) override {
        keys += std::to_string(KeyCode) + "/" + std::to_string(Shift) + " ";
    }
    void Form_QueryUnload(int& Cancel, int UnloadMode) override {
        queries += std::to_string(UnloadMode);
        Cancel = 1;
    }
    // As a message box does, the activation goes away and comes back while the handler runs.
    void Form_Activate() override {
        activations += ++depth > 1 ? "nested " : isVisible() ? "shown " : "hidden ";
        QEvent again(QEvent::WindowActivate);
        if (depth < 3) QApplication::sendEvent(this, &again);
        QCoreApplication::processEvents();
        --depth;
    }
};

// Catches Form_Activate run before the window shows or again from inside
// itself. Each key, sent in turn to a button, a button inside a frame and
// the window itself, must reach Form_KeyDown exactly once with the
// platform's key code (letters and digits as upper-case ASCII) and shift
// bits 1, 2, 4. Catches, of the mouse, the wrong button or shift bits,
// pixels passed as twips, a click from the right button or before MouseUp,
// events on a disabled control; and an unload that does not ask first, or
// says the wrong one of the program and the title bar.
TEST(Window, ActivationKeysMouseAndUnload) {
    const std::tuple<int, Qt::KeyboardModifiers, const char*> keys[] = {
        {Qt::Key_J, Qt::ControlModifier | Qt::AltModifier, "74/6"}, {Qt::Key_K, Qt::ShiftModifier, "75/1"},
        {Qt::Key_A, Qt::ControlModifier, "65/2"}, {Qt::Key_Z, Qt::AltModifier, "90/4"}, {Qt::Key_5, {}, "53/0"},
        {Qt::Key_F1, {}, "112/0"}, {Qt::Key_Enter, {}, "13/0"}, {Qt::Key_Left, {}, "37/0"}, {Qt::Key_Menu, {}, "0/0"}};
    Window w;
    w.Show();
    QApplication::setActiveWindow(&w);
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(w.activations.substr(0, 6), "shown ");
    EXPECT_EQ(w.activations.find_first_not_of("shown "), std::string::npos) << w.activations;  // none nested or hidden
    std::string want;
    for (size_t i = 0; i < std::size(keys); ++i) {
        QWidget* target = i % 3 == 0 ? w.btn.widget() : i % 3 == 1 ? w.inner.widget() : &w;
        target->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), target) << "this platform gives no keyboard focus";
        QKeyEvent e(QEvent::KeyPress, std::get<0>(keys[i]), std::get<1>(keys[i]));
        QApplication::sendEvent(target, &e);
        want += std::get<2>(keys[i]) + std::string(" ");
    }
    EXPECT_EQ(w.keys, want);

    std::string log;
    w.img.onMouseDown = [&](int b, int s, int32_t x, int32_t y) {
        log += "down" + std::to_string(b) + "/" + std::to_string(s) + "@" + std::to_string(x) + "," +
               std::to_string(y) + " ";
    };
    w.img.onMouseUp = [&](int b, int, int32_t, int32_t) { log += "up" + std::to_string(b) + " "; };
    w.img.onClick = [&] { log += "click "; };
    for (bool enabled : {true, false}) {
        w.img.setEnabled(enabled);
        for (auto [type, button, mods] : {std::tuple{QEvent::MouseButtonPress, Qt::RightButton, Qt::ShiftModifier},
                                          {QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoModifier},
                                          {QEvent::MouseButtonPress, Qt::LeftButton, Qt::ControlModifier},
                                          {QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoModifier}}) {
            QMouseEvent e(type, QPointF(10, 20), w.img.widget()->mapToGlobal(QPointF(10, 20)), button,
                          type == QEvent::MouseButtonPress ? button : Qt::NoButton, mods);
            QApplication::sendEvent(w.img.widget(), &e);
        }
    }
    EXPECT_EQ(log, "down2/1@150,300 up2 down1/2@150,300 up1 click ");
    EXPECT_FALSE(w.Unload() || w.close() || !w.isVisible());
    EXPECT_EQ(w.queries, "10");  // the program's unload, then the title bar's close
}

}  // namespace
