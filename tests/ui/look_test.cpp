// The console's look on real widgets: which controls take the background
// and text colours, the order they are visited in, shrinking, centring,
// the close control and whole-text selection.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPalette>
#include <QScreen>
#include <string>
#include <vector>

#include "ui/color.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/look.h"
#include "ui/twips.h"

namespace {

using ui::Kind;

ui::Control& addKind(ui::Form& f, Kind k, const std::string& name) {
    switch (k) {
        case Kind::Label: return f.add<ui::Label>(name, nullptr, 60, 60, 1200, 450);
        case Kind::CommandButton: return f.add<ui::CommandButton>(name, nullptr, 60, 60, 1290, 900);
        case Kind::Button3D: return f.add<ui::Button3D>(name, nullptr, 60, 60, 1290, 900);
        case Kind::Frame: return f.add<ui::Frame>(name, nullptr, 60, 60, 1500, 1500);
        case Kind::OptionButton: return f.add<ui::OptionButton>(name, nullptr, 60, 60, 1500, 300);
        case Kind::TextBox: return f.add<ui::TextBox>(name, nullptr, 60, 60, 1500, 375);
        case Kind::PictureBox: return f.add<ui::PictureBox>(name, nullptr, 60, 60, 900, 900);
        case Kind::Panel3D: return f.add<ui::Panel3D>(name, nullptr, 60, 60, 3000, 600);
        case Kind::Image: return f.add<ui::Image>(name, nullptr, 60, 60, 735, 735);
        case Kind::Timer: return f.add<ui::Timer>(name, nullptr, 0, 0, 0, 0);
        case Kind::AnimationArea: return f.add<ui::AnimationArea>(name, nullptr, 60, 60, 3000, 1500);
        case Kind::ProgressBar: return f.add<ui::ProgressBar>(name, nullptr, 60, 60, 3000, 300);
        case Kind::UpDown: return f.add<ui::UpDown>(name, nullptr, 60, 60, 255, 375);
    }
    throw std::logic_error("kind");
}

struct ColourCase {
    const char* what;
    Kind kind;
    bool locked;  // text boxes only
    bool takesBack;
    bool takesFore;
};

void PrintTo(const ColourCase& c, std::ostream* os) { *os << c.what; }

class WhoTakesColours : public ::testing::TestWithParam<ColourCase> {};

TEST_P(WhoTakesColours, AsTheLookRulesSay) {
    const ColourCase c = GetParam();
    ui::Form f;
    ui::Control& ctl = addKind(f, c.kind, "ctl");
    if (c.kind == Kind::TextBox) static_cast<ui::TextBox&>(ctl).setLocked(c.locked);
    EXPECT_EQ(booIsBackColorCtl(ctl), c.takesBack);
    EXPECT_EQ(booIsForeColorCtl(ctl), c.takesFore);

    vSetBackColor(f);
    vSetForeColor(f);
    EXPECT_EQ(f.backColor(), lColorLight());
    EXPECT_EQ(f.foreColor(), lColorDark());
    if (c.takesBack)
        EXPECT_EQ(ctl.backColor(), std::optional<int32_t>(lColorLight()));
    else
        EXPECT_FALSE(ctl.backColor().has_value());
    if (c.takesFore)
        EXPECT_EQ(ctl.foreColor(), std::optional<int32_t>(lColorDark()));
    else
        EXPECT_FALSE(ctl.foreColor().has_value());
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, WhoTakesColours,
    ::testing::Values(ColourCase{"label", Kind::Label, false, true, true},
                      ColourCase{"push button", Kind::CommandButton, false, true, true},
                      ColourCase{"frame", Kind::Frame, false, true, true},
                      ColourCase{"option: background only", Kind::OptionButton, false, true, false},
                      ColourCase{"locked text box: both", Kind::TextBox, true, true, true},
                      ColourCase{"unlocked text box: neither", Kind::TextBox, false, false, false},
                      ColourCase{"picture box: background only", Kind::PictureBox, false, true, false},
                      ColourCase{"3-D button: background only", Kind::Button3D, false, true, false},
                      ColourCase{"3-D panel: background only", Kind::Panel3D, false, true, false},
                      ColourCase{"image", Kind::Image, false, false, false},
                      ColourCase{"timer", Kind::Timer, false, false, false},
                      ColourCase{"animation", Kind::AnimationArea, false, false, false},
                      ColourCase{"progress bar", Kind::ProgressBar, false, false, false},
                      ColourCase{"up-down", Kind::UpDown, false, false, false}));

QColor pixelAt(QWidget* w, QPoint p) { return w->grab().toImage().pixelColor(p); }

TEST(Look, ColoursReachTheScreen) {
    ui::Form f;
    auto& lbl = f.add<ui::Label>("lbl", nullptr, 0, 0, 1500, 450);
    auto& pic = f.add<ui::PictureBox>("pic", nullptr, 0, 600, 900, 900);
    auto& pnl = f.add<ui::Panel3D>("pnl", nullptr, 0, 1600, 3000, 600);
    auto& cmd = f.add<ui::CommandButton>("cmd", nullptr, 0, 2400, 1290, 900);
    auto& locked = f.add<ui::TextBox>("txt", 0, nullptr, 0, 3400, 1500, 375);
    auto& open = f.add<ui::TextBox>("txt", 1, nullptr, 0, 3900, 1500, 375);
    auto& frame = f.add<ui::Frame>("FrameMode", nullptr, 3000, 0, 3000, 3000);
    auto& inFrame = f.add<ui::Label>("lblMode", 0, &frame, 300, 600, 1200, 300);
    locked.setLocked(true);
    lbl.setCaption("Tube voltage");
    const QColor before = pixelAt(open.widget(), {open.widget()->width() / 2, open.widget()->height() / 2});
    vSetBackColor(f);
    vSetForeColor(f);
    const QColor light = ui::qColorOf(lColorLight());
    EXPECT_EQ(pixelAt(lbl.widget(), {lbl.widget()->width() - 2, lbl.widget()->height() - 2}), light);
    EXPECT_EQ(pixelAt(pic.widget(), {5, 5}), light);
    EXPECT_EQ(pixelAt(pnl.widget(), {pnl.widget()->width() / 2, 6}), light);
    EXPECT_EQ(pixelAt(frame.widget(), {frame.widget()->width() / 2, frame.widget()->height() / 2}), light);
    EXPECT_EQ(pixelAt(inFrame.widget(), {2, 2}), light);
    EXPECT_EQ(pixelAt(cmd.widget(), {cmd.widget()->width() / 2, cmd.widget()->height() / 2}), light);
    EXPECT_EQ(pixelAt(locked.widget(), {locked.widget()->width() / 2, locked.widget()->height() / 2}), light);
    // The unlocked box keeps the toolkit's colours.
    EXPECT_EQ(pixelAt(open.widget(), {open.widget()->width() / 2, open.widget()->height() / 2}), before);
    EXPECT_EQ(lbl.widget()->palette().color(QPalette::WindowText), ui::qColorOf(lColorDark()));
    EXPECT_EQ(locked.widget()->palette().color(QPalette::Text), ui::qColorOf(lColorDark()));
    // An option button keeps the toolkit's text colour.
    auto& opt = f.add<ui::OptionButton>("optDisplay", 1, nullptr, 0, 4500, 1500, 300);
    const QColor optInk = opt.widget()->palette().color(QPalette::WindowText);
    vSetForeColor(f);
    EXPECT_EQ(opt.widget()->palette().color(QPalette::WindowText), optInk);
    EXPECT_NE(optInk, ui::qColorOf(lColorDark()));
    // The window itself.
    f.moveTwips(0, 0, 6000, 6000);
    EXPECT_EQ(pixelAt(&f, {f.QWidget::width() - 2, f.QWidget::height() - 2}), light);
}

TEST(Look, WindowWithoutControlsGetsOnlyItsOwnColours) {
    ui::Form f;
    vSetBackColor(f);
    vSetForeColor(f);
    EXPECT_EQ(f.backColor(), lColorLight());
    EXPECT_EQ(f.foreColor(), lColorDark());
    EXPECT_EQ(f.controlCount(), 0);
}

// A label that notes the order in which the look reaches it.
class Probe : public ui::Label {
public:
    Probe(ui::Form& f, std::string n, int i, ui::Control* c) : ui::Label(f, std::move(n), i, c) {}
    static std::vector<int>* log;
    bool setBackColor(int32_t v) override {
        log->push_back(index());
        return ui::Label::setBackColor(v);
    }
    bool setForeColor(int32_t v) override {
        log->push_back(100 + index());
        return ui::Label::setForeColor(v);
    }
};
std::vector<int>* Probe::log = nullptr;

TEST(Look, ControlsAreVisitedFromLastToFirst) {
    std::vector<int> log;
    Probe::log = &log;
    ui::Form f;
    for (int i = 0; i < 4; ++i) f.add<Probe>("lbl", i, nullptr, 0, i * 300, 600, 300);
    vSetBackColor(f);
    vSetForeColor(f);
    EXPECT_EQ(log, (std::vector<int>{3, 2, 1, 0, 103, 102, 101, 100}));
    Probe::log = nullptr;
}

TEST(Look, ShrinkButtonsTouchesOnlyPlainPushButtons) {
    ui::Form f;
    auto& reset = f.add<ui::CommandButton>("cmdReset", nullptr, 10320, 8400, 1290, 900);
    auto& close = f.add<ui::CommandButton>("cmdClose", nullptr, 11730, 8400, 1290, 900);
    auto& start = f.add<ui::Button3D>("cmdStart", nullptr, 0, 0, 2700, 2100);
    auto& lbl = f.add<ui::Label>("lbl", nullptr, 0, 0, 900, 300);
    auto& frame = f.add<ui::Frame>("Frame1", nullptr, 0, 0, 3000, 3000);
    auto& tiny = f.add<ui::CommandButton>("cmdTiny", nullptr, 0, 0, 20, 600);
    vShrinkButtons(f, 2);
    EXPECT_EQ(reset.width(), 1260);
    EXPECT_EQ(reset.height(), 870);
    EXPECT_EQ(close.width(), 1260);
    EXPECT_EQ(reset.left(), 10320);  // the position stays
    EXPECT_EQ(reset.top(), 8400);
    const double tpp = ui::dTwipsPerPixelX();
    EXPECT_EQ(reset.widget()->width(), ui::lPixelsFromTwips(10320 + 1260, tpp) - ui::lPixelsFromTwips(10320, tpp));
    EXPECT_EQ(start.width(), 2700);
    EXPECT_EQ(start.height(), 2100);
    EXPECT_EQ(lbl.width(), 900);
    EXPECT_EQ(frame.width(), 3000);
    // A width that would go below zero is refused; the height still shrinks.
    EXPECT_EQ(tiny.width(), 20);
    EXPECT_EQ(tiny.height(), 570);
}

TEST(Look, CenterFormPutsTheWindowInTheMiddleOfTheScreen) {
    ui::Form f;
    f.moveTwips(0, 0, 6000, 3000);
    vCenterForm(f);
    const double expLeft = (ui::lScreenWidth() - 6000) / 2.0;
    const double expTop = (ui::lScreenHeight() - 3000) / 2.0;
    EXPECT_NEAR(f.left(), expLeft, ui::dTwipsPerPixelX());
    EXPECT_NEAR(f.top(), expTop, ui::dTwipsPerPixelY());
    QScreen* s = QGuiApplication::primaryScreen();
    EXPECT_NEAR(f.x() + f.QWidget::width() / 2.0, s->geometry().center().x(), 1.5);
}

TEST(Look, DelSysMenuTakesTheCloseControlAwayButTheProgramStillCloses) {
    struct Win : ui::Form {
        int unloads = 0;
        void Form_Unload() override { ++unloads; }
    } f;
    f.Show();
    vDelSysMenu(f);
    EXPECT_FALSE(f.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.Unload());
    EXPECT_EQ(f.unloads, 1);
    EXPECT_FALSE(f.isVisible());
}

TEST(Look, SelectAllTextSelectsTheWholeValue) {
    ui::Form f;
    auto& txt = f.add<ui::TextBox>("txtPreHeat", 0, nullptr, 0, 0, 900, 375);
    txt.setText("226");
    txt.setSelStart(1);
    vSelectAllText(txt);
    EXPECT_EQ(txt.selStart(), 0);
    EXPECT_EQ(txt.selLength(), 3);
    EXPECT_EQ(txt.selText(), "226");
    auto* edit = static_cast<QLineEdit*>(txt.widget());
    EXPECT_EQ(edit->selectedText(), QStringLiteral("226"));
    // Another kind is passed over.
    auto& lbl = f.add<ui::Label>("lbl", nullptr, 0, 0, 900, 375);
    vSelectAllText(lbl);
    EXPECT_EQ(lbl.caption(), std::optional<std::string>(""));
}

TEST(Look, SelectAllTextOnAnEmptyBoxSelectsNothing) {
    ui::Form f;
    auto& txt = f.add<ui::TextBox>("txtVolt", nullptr, 0, 0, 900, 375);
    vSelectAllText(txt);
    EXPECT_EQ(txt.selStart(), 0);
    EXPECT_EQ(txt.selLength(), 0);
}

}  // namespace
