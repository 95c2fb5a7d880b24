// The pictures compiled into the program: every number the console asks
// for, of the size its control has, and showing what it should.
#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "resources/picture_catalog.h"
#include "resources/pictures.h"

namespace {

QImage image(int32_t no) { return pResourcePicture(ePictureKind::Bitmap, no).toImage(); }

TEST(Pictures, EveryCatalogNumberIsHeldAsItsKindWithItsSize) {
    for (const tPictureEntry& e : kPictureCatalog) {
        const ePictureKind kind = e.booIcon ? ePictureKind::Icon : ePictureKind::Bitmap;
        const QPixmap pic = pResourcePicture(kind, e.lNo);
        ASSERT_FALSE(pic.isNull()) << e.lNo;
        EXPECT_EQ(pic.width(), e.lWidth) << e.lNo;
        EXPECT_EQ(pic.height(), e.lHeight) << e.lNo;
        // Held only as that kind.
        const ePictureKind other = e.booIcon ? ePictureKind::Bitmap : ePictureKind::Icon;
        EXPECT_TRUE(pResourcePicture(other, e.lNo).isNull()) << e.lNo;
        EXPECT_TRUE(pResourcePicture(ePictureKind::Cursor, e.lNo).isNull()) << e.lNo;
    }
}

TEST(Pictures, TheNumbersTheConsoleUsesAreAllThere) {
    std::set<int32_t> want = {12401, 12404, 12411, 12412, 12421, 12422, 12425, 12428, 15204, 15205, 15206, 15207};
    for (int n = 12450; n <= 12459; ++n) want.insert(n);
    for (int n = 12462; n <= 12469; ++n) want.insert(n);
    const std::vector<int32_t> bitmaps = vecPictureNumbers(ePictureKind::Bitmap);
    EXPECT_EQ(std::set<int32_t>(bitmaps.begin(), bitmaps.end()), want);
    EXPECT_EQ(vecPictureNumbers(ePictureKind::Icon), std::vector<int32_t>{15203});
    EXPECT_TRUE(vecPictureNumbers(ePictureKind::Cursor).empty());
}

TEST(Pictures, UnknownNumbersGiveNoPicture) {
    for (int32_t n : {0, -1, 12402, 12460, 12470, 15202, 15208, 99999}) {
        EXPECT_TRUE(pResourcePicture(ePictureKind::Bitmap, n).isNull()) << n;
        EXPECT_TRUE(pResourcePicture(ePictureKind::Icon, n).isNull()) << n;
    }
}

// Segments a..g of a seven-segment digit: where their middles lie in the
// 56 x 86 digit pictures, and which are lit for each digit.
struct Seg {
    int x, y;
};
const Seg kSegMid[7] = {{28, 10}, {45, 27}, {45, 59}, {28, 75}, {10, 59}, {10, 27}, {28, 43}};
const char* const kLit[10] = {"abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"};

class DigitPicture : public ::testing::TestWithParam<int> {};

TEST_P(DigitPicture, LightsTheSegmentsOfItsDigit) {
    const int d = GetParam();
    const QImage img = image(12450 + d);
    ASSERT_FALSE(img.isNull());
    const std::string lit = kLit[d];
    for (int s = 0; s < 7; ++s) {
        const QColor c = img.pixelColor(kSegMid[s].x, kSegMid[s].y);
        const bool on = c.green() > 200 && c.red() > 150;
        EXPECT_EQ(on, lit.find(static_cast<char>('a' + s)) != std::string::npos)
            << "digit " << d << " segment " << static_cast<char>('a' + s);
    }
    // The box behind the digits is the dark teal of the value displays.
    EXPECT_EQ(img.pixelColor(1, 1), QColor(15, 106, 97));
}

INSTANTIATE_TEST_SUITE_P(ZeroToNine, DigitPicture, ::testing::Range(0, 10));

double luminance(const QImage& img) {
    double sum = 0;
    int n = 0;
    for (int y = 0; y < img.height(); y += 2)
        for (int x = 0; x < img.width(); x += 2) {
            const QColor c = img.pixelColor(x, y);
            if (c.alpha() < 128) continue;
            sum += 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue();
            ++n;
        }
    return n > 0 ? sum / n : 0;
}

struct PairCase {
    int32_t released, pressed;
};

class PressedLook : public ::testing::TestWithParam<PairCase> {};

// The selected or pressed face is the dark variant of the same picture.
TEST_P(PressedLook, IsDarkerThanTheReleasedOne) {
    const PairCase c = GetParam();
    const QImage a = image(c.released), b = image(c.pressed);
    ASSERT_FALSE(a.isNull());
    ASSERT_FALSE(b.isNull());
    EXPECT_EQ(a.size(), b.size());
    EXPECT_GT(luminance(a), luminance(b) + 40) << c.released << " / " << c.pressed;
}

INSTANTIATE_TEST_SUITE_P(Faces, PressedLook,
                         ::testing::Values(PairCase{15204, 15205}, PairCase{15206, 15207}, PairCase{12411, 12412},
                                           PairCase{12462, 12463}, PairCase{12465, 12466}, PairCase{12468, 12469},
                                           PairCase{12421, 12422}));

TEST(Pictures, DistinctNumbersShowDistinctPictures) {
    std::vector<QImage> seen;
    for (const tPictureEntry& e : kPictureCatalog) {
        const QImage img =
            pResourcePicture(e.booIcon ? ePictureKind::Icon : ePictureKind::Bitmap, e.lNo).toImage();
        for (const QImage& other : seen) EXPECT_NE(img, other) << e.lNo;
        seen.push_back(img);
    }
}

TEST(Pictures, ArrowsPointTheirWay) {
    // Up: ink near the top middle, none in the top corners; down the reverse.
    const QImage up = image(12401), down = image(12404);
    auto ink = [](const QImage& i, int x, int y) { return i.pixelColor(x, y).alpha() > 128; };
    EXPECT_TRUE(ink(up, up.width() / 2, 8));
    EXPECT_FALSE(ink(up, 3, 3));
    EXPECT_TRUE(ink(down, down.width() / 2, down.height() - 8));
    EXPECT_FALSE(ink(down, 3, down.height() - 3));
}

}  // namespace
