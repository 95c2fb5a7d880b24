// The pictures compiled into the program: each number the console asks for,
// as its kind and of its control's size, and the digits showing their digit.
#include <gtest/gtest.h>

#include <QImage>

#include "resources/picture_catalog.h"
#include "resources/pictures.h"

TEST(Pictures, EachNumberLoadsAsItsKindWithItsSize) {
    for (const tPictureEntry& e : kPictureCatalog) {
        const ePictureKind kind = e.booIcon ? ePictureKind::Icon : ePictureKind::Bitmap;
        EXPECT_EQ(pResourcePicture(kind, e.lNo).size(), QSize(e.lWidth, e.lHeight)) << e.lNo;
        EXPECT_TRUE(pResourcePicture(e.booIcon ? ePictureKind::Bitmap : ePictureKind::Icon, e.lNo).isNull()) << e.lNo;
    }
    for (int32_t lNo : {0, 12400, 12402, 12460, 12470, 15202, 15208})
        EXPECT_TRUE(pResourcePicture(ePictureKind::Bitmap, lNo).isNull()) << lNo;
}

// The selected or pressed face of each pair is the darker one, and the
// arrows point their way.
TEST(Pictures, PressedFacesAreDarkerAndArrowsPointTheirWay) {
    const auto lightness = [](int32_t lNo) {  // the mean grey of the face
        const QImage img = pResourcePicture(ePictureKind::Bitmap, lNo).toImage();
        return qGray(img.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixel(0, 0));
    };
    for (int32_t lNo : {15204, 15206, 12411, 12421, 12462, 12465, 12468})
        EXPECT_GT(lightness(lNo), lightness(lNo + 1) + 40) << lNo << " and " << lNo + 1;
    const QImage up = pResourcePicture(ePictureKind::Bitmap, 12401).toImage(),
                 down = pResourcePicture(ePictureKind::Bitmap, 12404).toImage();
    const auto ink = [](const QImage& img, int x, int y) { return qAlpha(img.pixel(x, y)) > 128; };
    EXPECT_TRUE(ink(up, 8, up.height() - 6) && !ink(up, 8, 6)) << "up: broad at the bottom, a tip at the top";
    EXPECT_TRUE(ink(down, 8, 6) && !ink(down, 8, down.height() - 6)) << "down: broad at the top";
}

// Segments a..g of the 56 x 86 digit pictures 12450 + digit: where their
// middles lie, and which are lit for each digit.
TEST(Pictures, DigitsLightTheSegmentsOfTheirDigit) {
    const QPoint kMiddle[7] = {{28, 10}, {45, 27}, {45, 59}, {28, 75}, {10, 59}, {10, 27}, {28, 43}};
    const std::string kLit[10] = {"abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"};
    const auto on = [](const QColor& c) { return c.green() > 200 && c.red() > 150; };  // a lit segment's colour
    for (int d = 0; d < 10; ++d) {
        const QImage img = pResourcePicture(ePictureKind::Bitmap, 12450 + d).toImage();
        std::string lit;
        for (int s = 0; s < 7; ++s)
            if (on(img.pixelColor(kMiddle[s]))) lit += static_cast<char>('a' + s);
        EXPECT_EQ(lit, kLit[d]) << "digit " << d;
    }
}
