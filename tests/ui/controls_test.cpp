// The control kinds: what each one holds and shows, and the events it raises.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>

#include "ui/color.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/look.h"
#include "ui/twips.h"

namespace {

TEST(Controls, PropertiesAKindLacksAreRefused) {
    ui::Form f;
    auto& img = f.add<ui::Image>("imgLogo", nullptr, 240, 120, 5000, 450);
    auto& tm = f.add<ui::Timer>("tmStart", nullptr, 0, 0, 0, 0);
    auto& bar = f.add<ui::ProgressBar>("prgRetryInit", nullptr, 0, 0, 3000, 300);
    EXPECT_FALSE(img.setCaption("x"));
    EXPECT_FALSE(img.setBackColor(lColorLight()));
    EXPECT_FALSE(img.setForeColor(lColorDark()));
    EXPECT_FALSE(img.caption().has_value());
    EXPECT_FALSE(tm.setPicture(QPixmap(4, 4)));
    EXPECT_FALSE(tm.setWidth(100));
    EXPECT_EQ(tm.widget(), nullptr);
    EXPECT_FALSE(bar.setCaption("x"));
    EXPECT_FALSE(bar.setPicture(QPixmap(4, 4)));
    EXPECT_FALSE(bar.backColor().has_value());
}

TEST(Controls, TagCaptionEnabledVisible) {
    ui::Form f;
    auto& b = f.add<ui::Button3D>("cmdDebug", nullptr, 6600, 8400, 1800, 600);
    EXPECT_EQ(b.tag(), "");
    b.setTag("ON");
    EXPECT_EQ(b.tag(), "ON");
    EXPECT_TRUE(b.setCaption("Test Mode"));
    EXPECT_EQ(b.caption(), std::optional<std::string>("Test Mode"));
    b.setVisible(false);
    EXPECT_FALSE(b.visible());
    EXPECT_TRUE(b.widget()->isHidden());
    b.setVisible(true);
    b.setEnabled(false);
    EXPECT_FALSE(b.enabled());
    EXPECT_FALSE(b.widget()->isEnabled());
}

TEST(Controls, ButtonInsideADisabledFrameStaysLitButCannotBePressed) {
    ui::Form f;
    auto& frame = f.add<ui::Frame>("Frame1", nullptr, 10320, 6000, 2700, 2100);
    auto& start = f.add<ui::Button3D>("cmdStart", &frame, 0, 0, 2700, 2100);
    int clicks = 0;
    start.onClick = [&] { ++clicks; };
    start.setBackColor(ui::RGB(75, 176, 161));
    frame.setEnabled(false);
    EXPECT_TRUE(start.enabled());  // its own property
    EXPECT_FALSE(start.click());
    EXPECT_EQ(clicks, 0);
    // Lit: painted in its background colour, not greyed.
    const QImage face = start.widget()->grab().toImage();
    EXPECT_EQ(face.pixelColor(face.width() / 2, face.height() / 2), QColor(75, 176, 161));
    frame.setEnabled(true);
    EXPECT_TRUE(start.click());
    EXPECT_EQ(clicks, 1);
    start.setEnabled(false);
    EXPECT_FALSE(start.click());
    start.setEnabled(true);
    frame.setVisible(false);
    EXPECT_FALSE(start.click());
    EXPECT_EQ(clicks, 1);
}

TEST(Controls, Button3DValueAndOutlineChangeTheFace) {
    ui::Form f;
    auto& b = f.add<ui::Button3D>("cmdStart", nullptr, 0, 0, 2700, 2100);
    b.setBackColor(lColorLight());
    const QImage up = b.widget()->grab().toImage();
    b.setValue(true);
    EXPECT_TRUE(b.value());
    const QImage down = b.widget()->grab().toImage();
    EXPECT_NE(up, down);
    b.setValue(false);
    b.setOutline(false);
    EXPECT_FALSE(b.outline());
    EXPECT_NE(b.widget()->grab().toImage(), up);
}

TEST(Controls, OptionGroupHoldsAtMostOneOn) {
    ui::Form f;
    auto& grp = f.add<ui::Frame>("FrameGroup", 1, nullptr, 2910, 1890, 1500, 900);
    auto& on = f.add<ui::OptionButton>("optAutoPower", 1, &grp, 100, 100, 1200, 300);
    auto& off = f.add<ui::OptionButton>("optAutoPower", 0, &grp, 100, 500, 1200, 300);
    std::vector<int> clicked;
    on.onClick = [&] { clicked.push_back(1); };
    off.onClick = [&] { clicked.push_back(0); };
    on.setValue(true);
    EXPECT_TRUE(on.value());
    EXPECT_FALSE(off.value());
    off.setValue(true);
    EXPECT_FALSE(on.value());
    EXPECT_TRUE(off.value());
    // Switching the one that is on off leaves the group without a choice.
    off.setValue(false);
    EXPECT_FALSE(on.value());
    EXPECT_FALSE(off.value());
    // The group rule still holds afterwards.
    on.setValue(true);
    off.setValue(true);
    EXPECT_FALSE(on.value());
    EXPECT_EQ(clicked, (std::vector<int>{1, 0, 1, 0}));
}

TEST(Controls, TextBoxLockedLimitsSelectionAndChange) {
    ui::Form f;
    auto& t = f.add<ui::TextBox>("txtPreHeat", 0, nullptr, 3120, 4500, 600, 375);
    int changes = 0;
    t.onChange = [&] { ++changes; };
    t.setMaxLength(3);
    EXPECT_EQ(t.maxLength(), 3);
    t.setText("12345");
    EXPECT_EQ(t.text(), "123");
    EXPECT_EQ(changes, 1);
    t.setLocked(true);
    EXPECT_TRUE(t.locked());
    EXPECT_TRUE(static_cast<QLineEdit*>(t.widget())->isReadOnly());
    t.setSelStart(1);
    t.setSelLength(5);  // as much as there is
    EXPECT_EQ(t.selStart(), 1);
    EXPECT_EQ(t.selLength(), 2);
    EXPECT_EQ(t.selText(), "23");
    t.setSelLength(0);
    EXPECT_EQ(t.selLength(), 0);
    t.setMaxLength(0);
    EXPECT_EQ(t.maxLength(), 0);
}

TEST(Controls, GotFocusIsRaised) {
    ui::Form f;
    auto& a = f.add<ui::TextBox>("txtVolt", nullptr, 0, 0, 1095, 375);
    auto& b = f.add<ui::TextBox>("txtElec", nullptr, 0, 500, 1095, 375);
    int got = 0;
    b.onGotFocus = [&] { ++got; };
    f.Show();
    QApplication::setActiveWindow(&f);
    a.setFocus();
    b.setFocus();
    if (!b.hasFocus()) GTEST_SKIP() << "this platform gives no keyboard focus";
    EXPECT_EQ(got, 1);
}

struct BarCase {
    int32_t min, max, value;
    double filled;
};

class ProgressBarFill : public ::testing::TestWithParam<BarCase> {};

TEST_P(ProgressBarFill, ShowsTheValueInItsRange) {
    const BarCase c = GetParam();
    ui::Form f;
    auto& bar = f.add<ui::ProgressBar>("prgRetryInit", nullptr, 0, 0, 3000, 300);
    bar.setMax(c.max);
    bar.setMin(c.min);
    bar.setValue(c.min);
    EXPECT_TRUE(bar.setValue(c.value));
    EXPECT_DOUBLE_EQ(bar.filled(), c.filled);
}

INSTANTIATE_TEST_SUITE_P(Ranges, ProgressBarFill,
                         ::testing::Values(BarCase{0, 10, 0, 0.0}, BarCase{0, 10, 5, 0.5}, BarCase{0, 10, 10, 1.0},
                                           BarCase{0, 0, 0, 1.0},  // one point: full at once
                                           BarCase{3, 3, 3, 1.0}, BarCase{0, 1, 0, 0.0}));

TEST(Controls, ProgressBarRefusesAValueOutsideItsRange) {
    ui::Form f;
    auto& bar = f.add<ui::ProgressBar>("prgRetryInit", nullptr, 0, 0, 3000, 300);
    bar.setMax(60);
    bar.setMin(0);
    EXPECT_TRUE(bar.setValue(30));
    EXPECT_FALSE(bar.setValue(61));
    EXPECT_FALSE(bar.setValue(-1));
    EXPECT_EQ(bar.value(), 30);
    // Narrowing the range brings the value along.
    bar.setMax(20);
    EXPECT_EQ(bar.value(), 20);
    // The full bar reaches the screen.
    EXPECT_TRUE(bar.setValue(20));
    const QImage img = bar.widget()->grab().toImage();
    EXPECT_EQ(img.pixelColor(img.width() - 4, img.height() / 2), bar.widget()->palette().color(QPalette::Highlight));
}

TEST(Controls, UpDownStepsWithinItsRangeAndRaisesChange) {
    ui::Form f;
    auto& ud = f.add<ui::UpDown>("UpDown1", 0, nullptr, 3765, 4500, 255, 375);
    ud.setMin(0);
    ud.setMax(255);
    ud.setIncrement(1);
    int changes = 0;
    ud.onChange = [&] { ++changes; };
    ud.setValue(254);
    ud.stepUp();
    EXPECT_EQ(ud.value(), 255);
    ud.stepUp();  // no wrapping
    EXPECT_EQ(ud.value(), 255);
    EXPECT_EQ(changes, 2);
    ud.setValue(300);
    EXPECT_EQ(ud.value(), 255);
    ud.setValue(1);
    ud.setIncrement(5);
    ud.stepDown();
    EXPECT_EQ(ud.value(), 0);
    ud.setEnabled(false);
    ud.stepUp();
    EXPECT_EQ(ud.value(), 0);
}

TEST(Controls, ImageTakesItsPictureSizeUnlessStretched) {
    ui::Form f;
    auto& img = f.add<ui::Image>("imgLogo", nullptr, 240, 120, 900, 900);
    QPixmap pic(20, 10);
    pic.fill(Qt::blue);
    img.setPicture(pic);
    EXPECT_EQ(img.width(), ui::lTwipsX(20));
    EXPECT_EQ(img.height(), ui::lTwipsY(10));
    auto& st = f.add<ui::Image>("imgStretch", nullptr, 0, 0, 900, 900);
    st.setStretch(true);
    st.setPicture(pic);
    EXPECT_EQ(st.width(), 900);
    const QImage shown = st.widget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() - 1, shown.height() - 1), QColor(Qt::blue));
}

TEST(Controls, PictureBoxDrawsItsPictureAtTheTopLeftOverItsBackground) {
    ui::Form f;
    auto& box = f.add<ui::PictureBox>("picVoltH", nullptr, 0, 0, 900, 900);
    box.setBackColor(lColorDark());
    QPixmap pic(10, 10);
    pic.fill(Qt::white);
    box.setPicture(pic);
    const QImage img = box.widget()->grab().toImage();
    EXPECT_EQ(img.pixelColor(2, 2), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(30, 30), ui::qColorOf(lColorDark()));
}

TEST(Controls, PanelLooksAreClearlyDifferent) {
    ui::Form f;
    auto& p = f.add<ui::Panel3D>("spnlStat", nullptr, 240, 10200, 14880, 600);
    p.setBackColor(lColorLight());
    p.setForeColor(ui::vbBlack);
    p.setCaption("Under exposure.");
    auto shot = [&] { return p.widget()->grab().toImage(); };
    const QImage normal = shot();
    p.setLook(ui::PanelLook::Alert);
    EXPECT_EQ(p.look(), ui::PanelLook::Alert);
    const QImage alert = shot();
    p.setLook(ui::PanelLook::Cooling);
    const QImage cooling = shot();
    EXPECT_NE(normal, alert);
    EXPECT_NE(normal, cooling);
    EXPECT_NE(alert, cooling);
    // The alert border is warning orange, the cooling band cool blue; the
    // normal look has neither.
    auto count = [](const QImage& img, auto pred) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += pred(img.pixelColor(x, y)) ? 1 : 0;
        return n;
    };
    auto orange = [](QColor c) { return c.red() > 220 && c.green() > 100 && c.green() < 160 && c.blue() < 80; };
    auto blue = [](QColor c) { return c.blue() > 200 && c.red() < 130; };
    EXPECT_EQ(count(normal, orange), 0);
    EXPECT_GT(count(alert, orange), 200);
    EXPECT_EQ(count(normal, blue), 0);
    EXPECT_GT(count(cooling, blue), 200);
    EXPECT_EQ(p.caption(), std::optional<std::string>("Under exposure."));
}

TEST(Controls, TimerRunsOnlyWhileEnabledWithAnInterval) {
    ui::Form f;
    auto& t = f.add<ui::Timer>("tmStart", nullptr, 0, 0, 0, 0);
    EXPECT_TRUE(t.enabled());
    EXPECT_FALSE(t.isRunning());  // no interval yet
    t.setInterval(10);
    EXPECT_EQ(t.interval(), 10);
    EXPECT_TRUE(t.isRunning());
    t.setEnabled(false);
    EXPECT_FALSE(t.isRunning());
    t.setEnabled(true);
    EXPECT_TRUE(t.isRunning());
    t.setInterval(0);
    EXPECT_FALSE(t.isRunning());
    EXPECT_TRUE(t.enabled());
}

TEST(Controls, AnimationAreaRefusesAMissingClipAndTakesItsBackground) {
    ui::Form f;
    auto& a = f.add<ui::AnimationArea>("Animation2", nullptr, 240, 6000, 6000, 2100);
    a.setAutoPlay(true);
    EXPECT_TRUE(a.autoPlay());
    EXPECT_FALSE(a.open("/nonexistent/Animation/STARTIMG.avi"));
    EXPECT_FALSE(a.isOpen());
    EXPECT_FALSE(a.isPlaying());
    EXPECT_TRUE(a.setBackColor(lColorLight()));
    a.close();
    const QImage img = a.widget()->grab().toImage();
    EXPECT_EQ(img.pixelColor(img.width() / 2, img.height() / 2), ui::qColorOf(lColorLight()));
}

}  // namespace
