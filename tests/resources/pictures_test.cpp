// The pictures compiled into the program: each number the console asks for,
// as its kind and of its control's size, and the digits showing their digit.
#include <gtest/gtest.h>

#include <QImage>

#include "resources/picture_catalog.h"
#include "resources/pictures.h"

TEST(Pictures, EachNumberLoadsAsItsKindWithItsSize) {
    for (const tPictureEntry& e : kPictureCatalog) {
        const ePictureKind kind = e.booIcon ? ePictureKind::Icon : ePictureKind::Bitmap;
        const QPixmap pic = pResourcePicture(kind, e.lNo);
        EXPECT_EQ(pic.size(), QSize(e.lWidth, e.lHeight)) << e.lNo;
        EXPECT_TRUE(pResourcePicture(e.booIcon ? ePictureKind::Bitmap : ePictureKind::Icon, e.lNo).isNull()) << e.lNo;
    }
    for (int32_t lNo : {0, 12400, 12402, 12460, 12470, 15202, 15208})
        EXPECT_TRUE(pResourcePicture(ePictureKind::Bitmap, lNo).isNull()) << lNo;
}

// Segments a..g of the 56 x 86 digit pictures 12450 + digit: where their
// middles lie, and which are lit for each digit.
TEST(Pictures, DigitsLightTheSegmentsOfTheirDigit) {
    const QPoint kMiddle[7] = {{28, 10}, {45, 27}, {45, 59}, {28, 75}, {10, 59}, {10, 27}, {28, 43}};
    const std::string kLit[10] = {"abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"};
    for (int d = 0; d < 10; ++d) {
        const QImage img = pResourcePicture(ePictureKind::Bitmap, 12450 + d).toImage();
        std::string lit;
        for (int s = 0; s < 7; ++s) {
            const QColor c = img.pixelColor(kMiddle[s]);
            if (c.green() > 200 && c.red() > 150) lit += static_cast<char>('a' + s);
        }
        EXPECT_EQ(lit, kLit[d]) << "digit " << d;
    }
}
