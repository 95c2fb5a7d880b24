// The console's look as it shows on the widgets: the light background and
// dark text by control kind, pictures by number, and the window itself
// (its centring and close control are checked on the console's windows).
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>

#include "tests/support/temp_dir.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/look.h"

namespace {

const QColor kLight(178, 227, 221), kDark(15, 106, 97);

// Inside the border, away from the caption.
QColor nearCorner(QWidget* w) { return w->grab().toImage().pixelColor(w->width() - 6, w->height() - 6); }

template <class C>
ui::Control& make(ui::Form& f) {
    return f.add<C>("c", nullptr, 60, 60, 1500, 600);
}

struct tKindLook {
    const char* what;
    ui::Control& (*add)(ui::Form&);
    bool locked, takesBack, takesFore;
};

void PrintTo(const tKindLook& c, std::ostream* os) { *os << c.what; }

class KindLook : public ::testing::TestWithParam<tKindLook> {};

// Catches a kind coloured that the console leaves alone (an unlocked text
// box keeps the toolkit's colours, an option button its text colour) or
// one left out, and a colour taken but not shown.
TEST_P(KindLook, TakesTheConsoleColoursAsTheLookSays) {
    const tKindLook& c = GetParam();
    ui::Form f;
    ui::Control& ctl = c.add(f);
    if (auto* box = dynamic_cast<ui::TextBox*>(&ctl)) box->setLocked(c.locked);
    if (auto* box = dynamic_cast<ui::TextBox*>(&ctl)) box->setText("H");
    ctl.setCaption("H");
    // One thick letter: its strokes show the text colour itself, unblended.
    ctl.widget()->setFont(QFont("Sans", 16, QFont::Black));
    const QColor before = nearCorner(ctl.widget());
    vSetBackColor(f);
    vSetForeColor(f);
    EXPECT_EQ(nearCorner(ctl.widget()), c.takesBack ? kLight : before);
    const QImage shot = ctl.widget()->grab().toImage();
    int dark = 0;
    for (int i = 0; i < shot.width() * shot.height(); ++i)
        dark += shot.pixelColor(i % shot.width(), i / shot.width()) == kDark;
    EXPECT_EQ(dark > 0, c.takesFore) << dark << " pixels in the dark text colour";
}

INSTANTIATE_TEST_SUITE_P(EveryKind, KindLook,
                         ::testing::ValuesIn(std::vector<tKindLook>{
                             {"label", &make<ui::Label>, false, true, true},
                             {"push button", &make<ui::CommandButton>, false, true, true},
                             {"option: background only", &make<ui::OptionButton>, false, true, false},
                             {"locked text box: both", &make<ui::TextBox>, true, true, true},
                             {"unlocked text box: neither", &make<ui::TextBox>, false, false, false},
                             {"picture box: background only", &make<ui::PictureBox>, false, true, false},
                             {"3-D button: background only", &make<ui::Button3D>, false, true, false},
                             {"3-D panel: background only", &make<ui::Panel3D>, false, true, false},
                             {"animation area: neither", &make<ui::AnimationArea>, false, false, false}}));

// Every opaque pixel of picture `no`, drawn `size` large, shows at `at`.
int wrongPixels(const ui::Control& c, QPoint at, int32_t no, QSize size = {}) {
    QImage pic = pLoadPicture(no).toImage().convertToFormat(QImage::Format_ARGB32);
    if (size.isValid()) pic = pic.scaled(size);
    const QImage shot = c.widget()->grab().toImage();
    int wrong = 0;
    for (int i = 0; i < pic.width() * pic.height(); ++i) {
        const QPoint p(i % pic.width(), i / pic.width());
        wrong += qAlpha(pic.pixel(p)) == 255 && shot.pixel(at + p) != pic.pixel(p);
    }
    return wrong;
}

// Catches a picture number not found in the resources, or found in the
// wrong kind, an unknown number yielding a picture, the picture files in
// the current folder not looked at, or looked at before the resources; a
// picture given but not drawn, or drawn off its place (an image and a
// picture box at the top left, a button's in its middle, a stretched
// image's over all of it), an image not taking its picture's size.
TEST(Look, PicturesByNumberShowOnTheirControls) {
    const std::pair<int32_t, QSize> pictures[] = {{12401, QSize(48, 34)}, {15203, QSize(333, 30)},  // a bitmap, an icon
                                                  {0, QSize(0, 0)},       {12460, QSize(0, 0)}};
    for (const auto& [no, size] : pictures) EXPECT_EQ(pLoadPicture(no).size(), size) << no;
    zyrtest::TempDir dir;  // the last resort: a picture file named by the number in the current folder
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.path())));
    QImage red(13, 7, QImage::Format_RGB32);
    red.fill(Qt::red);
    for (const char* name : {"77001", "12401"}) red.save(name, "PNG");
    EXPECT_EQ(pLoadPicture(77001).size(), QSize(13, 7));
    EXPECT_EQ(pLoadPicture(12401).size(), QSize(48, 34));
    QDir::setCurrent(old);
    ui::Form f;
    auto& img = f.add<ui::Image>("cmdDefVolt", 0, nullptr, 9330, 720, 900, 900);
    auto& stretched = f.add<ui::Image>("imgLogo", nullptr, 0, 0, 900, 900);
    auto& btn = f.add<ui::CommandButton>("cmdVoltUp", nullptr, 8700, 2000, 900, 690);
    auto& box = f.add<ui::PictureBox>("picVoltH", nullptr, 0, 0, 840, 1290);
    stretched.setStretch(true);
    for (ui::Control* c : {&img, &stretched}) vSetPicture(*c, 12462);
    vSetPicture(btn, 12401);
    vSetPicture(box, 12456);
    EXPECT_EQ(std::pair(img.width(), stretched.width()), std::pair(735, 900));
    EXPECT_EQ(wrongPixels(img, {0, 0}, 12462), 0);
    EXPECT_EQ(wrongPixels(stretched, {0, 0}, 12462, QSize(60, 60)), 0);
    EXPECT_EQ(wrongPixels(btn, {6, 6}, 12401), 0);  // on a 60 x 46 face
    EXPECT_EQ(wrongPixels(box, {0, 0}, 12456), 0);
}

// Catches a button's width taken below zero by shrinking; a window's own
// background not drawn in the toolkit's button face before the look.
TEST(Look, TheWindowItself) {
    ui::Form f;
    auto& tiny = f.add<ui::CommandButton>("cmdTiny", nullptr, 0, 0, 20, 600);
    vShrinkButtons(f, 2);
    EXPECT_EQ(std::pair(tiny.width(), tiny.height()), std::pair(20, 570));
    f.moveTwips(0, 0, 6000, 3000);
    EXPECT_EQ(f.grab().toImage().pixelColor(390, 190), QGuiApplication::palette().color(QPalette::Button));
}

}  // namespace
