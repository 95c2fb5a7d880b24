// Windows: control arrays and creation order, placement inside containers,
// load/unload with the window's handlers, modal showing, the keys and the
// mouse as the handlers receive them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/twips.h"

namespace {

TEST(Form, ControlsInCreationOrderAndArraysByIndex) {
    ui::Form f;
    auto& frame = f.add<ui::Frame>("FrameMode", nullptr, 240, 600, 6000, 5000);
    // Created out of index order on purpose.
    f.add<ui::Image>("imgMode", 2, &frame, 4020, 930, 1605, 1605);
    f.add<ui::Image>("imgMode", 0, &frame, 780, 930, 1605, 1605);
    f.add<ui::Image>("imgMode", 1, &frame, 780, 3120, 1605, 1605);
    f.add<ui::Panel3D>("spnlStat", nullptr, 240, 10200, 14880, 600);

    std::vector<std::string> names;
    for (ui::Control* c : f.controls()) names.push_back(c->name() + "(" + std::to_string(c->index()) + ")");
    EXPECT_EQ(names, (std::vector<std::string>{"FrameMode(-1)", "imgMode(2)", "imgMode(0)", "imgMode(1)",
                                               "spnlStat(-1)"}));
    const auto arr = f.array("imgMode");
    ASSERT_EQ(arr.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(arr[i]->index(), i);
    EXPECT_EQ(&f.ctl<ui::Image>("imgMode", 1), arr[1]);
    EXPECT_EQ(f.ctl<ui::Image>("imgMode", 1).top(), 3120);
    EXPECT_EQ(f.find("imgMode", 3), nullptr);
    EXPECT_EQ(f.find("imgMode"), nullptr);  // an array member needs its index
    EXPECT_THROW(f.ctl<ui::Image>("spnlStat"), std::out_of_range);  // wrong kind
    EXPECT_THROW(f.ctl<ui::Image>("nothing"), std::out_of_range);
    EXPECT_EQ(f.ctl<ui::Panel3D>("spnlStat").kind(), ui::Kind::Panel3D);
}

TEST(Form, OneHandlerServesTheWholeArray) {
    ui::Form f;
    std::vector<int> pressed;
    for (int i = 0; i < 3; ++i) {
        auto& b = f.add<ui::Image>("cmdDefVolt", i, nullptr, 9330 + 990 * i, 720, 735, 735);
        b.onClick = [&pressed, i] { pressed.push_back(i); };
    }
    f.ctl<ui::Image>("cmdDefVolt", 2).click();
    f.ctl<ui::Image>("cmdDefVolt", 0).click();
    EXPECT_EQ(pressed, (std::vector<int>{2, 0}));
}

TEST(Form, PositionsAreTwipsRelativeToTheContainer) {
    ui::Form f;
    f.moveTwips(0, 0, 15360, 11520);
    auto& frame = f.add<ui::Frame>("FrameMode", nullptr, 240, 600, 6000, 5000);
    auto& img = f.add<ui::Image>("imgMode", 0, &frame, 780, 930, 1605, 1605);
    const double tx = ui::dTwipsPerPixelX(), ty = ui::dTwipsPerPixelY();
    EXPECT_EQ(f.QWidget::width(), ui::lPixelsFromTwips(15360, tx));
    EXPECT_EQ(f.QWidget::height(), ui::lPixelsFromTwips(11520, ty));
    EXPECT_EQ(frame.widget()->parentWidget(), &f);
    EXPECT_EQ(img.widget()->parentWidget(), frame.widget());
    EXPECT_EQ(img.widget()->geometry(), QRect(ui::lPixelsFromTwips(780, tx), ui::lPixelsFromTwips(930, ty),
                                              ui::lPixelsFromTwips(1605, tx), ui::lPixelsFromTwips(1605, ty)));
    img.move(1000, 2000);
    EXPECT_EQ(img.left(), 1000);
    EXPECT_EQ(img.top(), 2000);
    EXPECT_EQ(img.width(), 1605);
    EXPECT_EQ(img.widget()->x(), ui::lPixelsFromTwips(1000, tx));
    EXPECT_EQ(f.width(), 15360);
    EXPECT_EQ(f.height(), 11520);
}

// A window that records its handlers.
struct Recorder : ui::Form {
    std::vector<std::string> log;
    int cancelNext = 0;
    void Form_Load() override { log.push_back("load"); }
    void Form_QueryUnload(int& Cancel, int UnloadMode) override {
        log.push_back("query" + std::to_string(UnloadMode));
        Cancel = cancelNext;
    }
    void Form_Unload() override { log.push_back("unload"); }
    void Form_KeyDown(int KeyCode, int Shift) override {
        log.push_back("key" + std::to_string(KeyCode) + "/" + std::to_string(Shift));
    }
};

TEST(Form, LoadRunsOnceAndUnloadAsksFirst) {
    Recorder f;
    f.Load();
    f.Load();
    f.Show();
    EXPECT_TRUE(f.isVisible());
    f.cancelNext = 1;
    EXPECT_FALSE(f.Unload());
    EXPECT_TRUE(f.isVisible());
    f.cancelNext = 0;
    EXPECT_TRUE(f.Unload());
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(f.isLoaded());
    EXPECT_EQ(f.log, (std::vector<std::string>{"load", "query1", "query1", "unload"}));
}

TEST(Form, CloseFromTheTitleBarTakesTheSameRoad) {
    Recorder f;
    f.Show();
    f.cancelNext = 1;
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(f.isVisible());
    f.cancelNext = 0;
    EXPECT_TRUE(f.close());
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.log, (std::vector<std::string>{"load", "query0", "query0", "unload"}));
}

TEST(Form, ModalShowWaitsUntilTheWindowIsUnloaded) {
    Recorder f;
    bool sawVisible = false;
    QTimer::singleShot(0, &f, [&] {
        sawVisible = f.isVisible() && f.isModal();
        f.Unload();
    });
    f.Show(true);
    EXPECT_TRUE(sawVisible);
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(f.isModal());
    EXPECT_EQ(f.log.back(), "unload");
}

TEST(Form, ModalShowReturnsWhenTheWindowIsHidden) {
    Recorder f;
    QTimer::singleShot(0, &f, [&] { f.hide(); });
    f.Show(true);
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(f.isLoaded());  // hidden, not unloaded
}

TEST(Form, ModalShowOfAWindowThatUnloadsItselfInLoadReturnsAtOnce) {
    struct SelfUnload : ui::Form {
        void Form_Load() override { Unload(); }
    } f;
    f.Show(true);
    EXPECT_FALSE(f.isVisible());
}

TEST(Form, KeysReachTheWindowOnceWhereverTheFocusIs) {
    Recorder f;
    auto& btn = f.add<ui::CommandButton>("cmdReset", nullptr, 0, 0, 1290, 900);
    auto& frame = f.add<ui::Frame>("Frame1", nullptr, 2000, 0, 3000, 3000);
    auto& inner = f.add<ui::Button3D>("cmdStart", &frame, 100, 300, 2700, 2100);
    f.Show();
    QApplication::setActiveWindow(&f);
    f.log.clear();

    btn.setFocus();
    QKeyEvent ctrlAltJ(QEvent::KeyPress, Qt::Key_J, Qt::ControlModifier | Qt::AltModifier);
    QApplication::sendEvent(QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : btn.widget(),
                            &ctrlAltJ);
    inner.setFocus();
    QKeyEvent k(QEvent::KeyPress, Qt::Key_K, Qt::ShiftModifier);
    QApplication::sendEvent(QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : inner.widget(),
                            &k);
    // A key sent to the window itself.
    QKeyEvent l(QEvent::KeyPress, Qt::Key_L, Qt::NoModifier);
    f.setFocus();
    QApplication::sendEvent(&f, &l);
    EXPECT_EQ(f.log, (std::vector<std::string>{"key74/6", "key75/1", "key76/0"}));
}

TEST(Form, MouseEventsCarryButtonShiftAndTwips) {
    ui::Form f;
    auto& img = f.add<ui::Image>("cmdDefVolt", 1, nullptr, 0, 0, 735, 735);
    std::vector<std::string> log;
    img.onMouseDown = [&](int b, int s, int32_t x, int32_t y) {
        log.push_back("down" + std::to_string(b) + "/" + std::to_string(s) + "@" + std::to_string(x) + "," +
                      std::to_string(y));
    };
    img.onMouseUp = [&](int b, int, int32_t, int32_t) { log.push_back("up" + std::to_string(b)); };
    img.onClick = [&] { log.push_back("click"); };
    f.Show();
    auto send = [&](QEvent::Type t, Qt::MouseButton b, Qt::KeyboardModifiers m) {
        const QPointF p(10, 20);
        QMouseEvent e(t, p, img.widget()->mapToGlobal(p), b, t == QEvent::MouseButtonPress ? b : Qt::NoButton, m);
        QApplication::sendEvent(img.widget(), &e);
    };
    send(QEvent::MouseButtonPress, Qt::RightButton, Qt::ShiftModifier);
    send(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoModifier);
    send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::NoModifier);
    send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoModifier);
    const std::string at = "@" + std::to_string(ui::lTwipsX(10)) + "," + std::to_string(ui::lTwipsY(20));
    // The right button makes no click; the left one does, after its MouseUp.
    EXPECT_EQ(log, (std::vector<std::string>{"down2/1" + at, "up2", "down1/0" + at, "up1", "click"}));

    log.clear();
    img.setEnabled(false);
    send(QEvent::MouseButtonPress, Qt::RightButton, Qt::NoModifier);
    send(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoModifier);
    EXPECT_TRUE(log.empty());
}

TEST(Form, ActivationRunsTheHandlerAfterShowing) {
    struct Act : ui::Form {
        int n = 0;
        bool visibleThen = false;
        void Form_Activate() override {
            ++n;
            visibleThen = isVisible();
        }
    } f;
    f.Show();
    QApplication::setActiveWindow(&f);
    QEvent act(QEvent::WindowActivate);
    QApplication::sendEvent(&f, &act);
    QCoreApplication::processEvents();
    EXPECT_GE(f.n, 1);
    EXPECT_EQ(f.activations(), f.n);
    EXPECT_TRUE(f.visibleThen);
}

TEST(Form, ActivationDoesNotReenterItsOwnHandler) {
    struct Act : ui::Form {
        int n = 0;
        int depth = 0, maxDepth = 0;
        void Form_Activate() override {
            ++n;
            ++depth;
            maxDepth = std::max(maxDepth, depth);
            // As a message box does: the window loses and regains activation
            // while the handler runs, with events processed.
            QEvent act(QEvent::WindowActivate);
            QApplication::sendEvent(this, &act);
            QCoreApplication::processEvents();
            --depth;
        }
    } f;
    f.Show();
    QEvent act(QEvent::WindowActivate);
    QApplication::sendEvent(&f, &act);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_GE(f.n, 1);
    EXPECT_EQ(f.maxDepth, 1);
}

TEST(Form, CaptionAndPosition) {
    ui::Form f;
    f.setCaption("ZYRPLUS");
    EXPECT_EQ(f.caption(), "ZYRPLUS");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("ZYRPLUS"));
    f.setCaption("設定 - 【A】");
    EXPECT_EQ(f.caption(), "設定 - 【A】");
    f.moveTwips(1500, 750, 4500, 3000);
    EXPECT_EQ(f.left(), ui::lTwipsX(ui::lPixelsX(1500)));
    EXPECT_EQ(f.width(), ui::lTwipsX(ui::lPixelsX(4500)));
}

}  // namespace
