// The platform RGB encoding: red + 256 * green + 65536 * blue.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QPalette>

#include "ui/color.h"
#include "ui/look.h"

namespace {

struct ColorCase {
    int r, g, b;
    int32_t value;
};

class ColorEncoding : public ::testing::TestWithParam<ColorCase> {};

TEST_P(ColorEncoding, EncodesAndDecodes) {
    const ColorCase c = GetParam();
    EXPECT_EQ(ui::RGB(c.r, c.g, c.b), c.value);
    const QColor q = ui::qColorOf(c.value);
    EXPECT_EQ(q.red(), c.r);
    EXPECT_EQ(q.green(), c.g);
    EXPECT_EQ(q.blue(), c.b);
    EXPECT_EQ(ui::lColorOf(QColor(c.r, c.g, c.b)), c.value);
}

INSTANTIATE_TEST_SUITE_P(Console, ColorEncoding,
                         ::testing::Values(ColorCase{178, 227, 221, 178 + 256 * 227 + 65536 * 221},  // light
                                           ColorCase{15, 106, 97, 15 + 256 * 106 + 65536 * 97},     // dark
                                           ColorCase{75, 176, 161, 0xA1B04B},  // READY while exposing
                                           ColorCase{255, 128, 30, 0x1E80FF},  // alert text
                                           ColorCase{0, 0, 0, 0}, ColorCase{255, 255, 255, 0xFFFFFF},
                                           ColorCase{255, 0, 0, 0x0000FF}, ColorCase{0, 0, 255, 0xFF0000}));

TEST(Color, ConsoleColoursHaveTheirValues) {
    EXPECT_EQ(lColorLight(), 14541746);  // 178 + 256*227 + 65536*221
    EXPECT_EQ(lColorDark(), 6384143);    // 15 + 256*106 + 65536*97
}

TEST(Color, SystemColoursComeFromThePalette) {
    EXPECT_TRUE(ui::booIsSystemColor(ui::vbButtonFace));
    EXPECT_FALSE(ui::booIsSystemColor(lColorLight()));
    EXPECT_EQ(ui::qColorOf(ui::vbButtonFace), QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(ui::qColorOf(ui::vbButtonText), QApplication::palette().color(QPalette::ButtonText));
    EXPECT_EQ(ui::qColorOf(ui::vbWindowBackground), QApplication::palette().color(QPalette::Base));
}

TEST(Color, AlphaIsDropped) {
    EXPECT_EQ(ui::lColorOf(QColor(1, 2, 3, 40)), ui::RGB(1, 2, 3));
}

}  // namespace
