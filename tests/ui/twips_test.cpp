// Twips and pixels: the layout is given in twips and must land on the
// pixels the operator sees.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "ui/twips.h"

namespace {

struct TwipsCase {
    int32_t twips;
    double perPixel;
    int pixels;
};

class TwipsToPixels : public ::testing::TestWithParam<TwipsCase> {};

TEST_P(TwipsToPixels, RoundsToNearestPixel) {
    const TwipsCase c = GetParam();
    EXPECT_EQ(ui::lPixelsFromTwips(c.twips, c.perPixel), c.pixels);
}

INSTANTIATE_TEST_SUITE_P(Layout, TwipsToPixels,
                         ::testing::Values(TwipsCase{15360, 15.0, 1024},  // main window width
                                           TwipsCase{11520, 15.0, 768},   // main window height
                                           TwipsCase{1605, 15.0, 107},    // a mode picture
                                           TwipsCase{735, 15.0, 49},      // a size button
                                           TwipsCase{2810, 15.0, 187},    // 187.33 -> 187
                                           TwipsCase{22, 15.0, 1},        // 1.47 -> 1
                                           TwipsCase{23, 15.0, 2},        // 1.53 -> 2
                                           TwipsCase{0, 15.0, 0},
                                           TwipsCase{-30, 15.0, -2},
                                           TwipsCase{1440, 12.0, 120},  // 120 dpi
                                           TwipsCase{1440, 10.0, 144},  // 144 dpi
                                           TwipsCase{15, 10.0, 2}));    // 1.5 -> 2 (halves to even)

TEST(Twips, PixelsBackToTwips) {
    EXPECT_EQ(ui::lTwipsFromPixels(1024, 15.0), 15360);
    EXPECT_EQ(ui::lTwipsFromPixels(1, 12.0), 12);
    EXPECT_EQ(ui::lTwipsFromPixels(0, 15.0), 0);
}

TEST(Twips, ScreenTwipsPerPixelComeFromItsLogicalDpi) {
    QScreen* s = QGuiApplication::primaryScreen();
    ASSERT_NE(s, nullptr);
    EXPECT_DOUBLE_EQ(ui::dTwipsPerPixelX(), 1440.0 / s->logicalDotsPerInchX());
    EXPECT_DOUBLE_EQ(ui::dTwipsPerPixelY(), 1440.0 / s->logicalDotsPerInchY());
    EXPECT_EQ(ui::lScreenWidth(), ui::lTwipsX(s->geometry().width()));
    EXPECT_EQ(ui::lScreenHeight(), ui::lTwipsY(s->geometry().height()));
    // Round trip on this screen.
    EXPECT_EQ(ui::lPixelsX(ui::lTwipsX(333)), 333);
    EXPECT_EQ(ui::lPixelsY(ui::lTwipsY(77)), 77);
}

}  // namespace
