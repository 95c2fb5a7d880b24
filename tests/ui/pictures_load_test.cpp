// pLoadPicture and vSetPicture: resource bitmaps, icons, a picture file
// named by its number in the current folder, and no picture at all.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "resources/picture_catalog.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/look.h"

namespace {

TEST(LoadPicture, EveryNumberOfTheConsoleLoadsWithItsSize) {
    for (const tPictureEntry& e : kPictureCatalog) {
        const int32_t no = e.lNo;
        const QPixmap pic = pLoadPicture(no);
        ASSERT_FALSE(pic.isNull()) << no;
        EXPECT_EQ(pic.size(), QSize(e.lWidth, e.lHeight)) << no;
    }
}

TEST(LoadPicture, AnIconOnlyNumberStillYieldsAPicture) {
    // The logo is held as an icon, not as a bitmap.
    const QPixmap pic = pLoadPicture(15203);
    ASSERT_FALSE(pic.isNull());
    EXPECT_EQ(pic.size(), QSize(333, 30));
}

TEST(LoadPicture, UnknownNumbersGiveNoPicture) {
    for (int32_t n : {0, -1, 12402, 12460, 15202, 2147483647}) EXPECT_TRUE(pLoadPicture(n).isNull()) << n;
}

// Runs in a folder of its own and goes back afterwards.
class InTempFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        old_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    }
    void TearDown() override { QDir::setCurrent(old_); }
    void writePicture(const QString& name, QSize size) {
        QImage img(size, QImage::Format_RGB32);
        img.fill(Qt::red);
        ASSERT_TRUE(img.save(dir_.filePath(name), "PNG"));
    }
    QTemporaryDir dir_;
    QString old_;
};

TEST_F(InTempFolder, APictureFileNamedByTheNumberIsTheLastResort) {
    EXPECT_TRUE(pLoadPicture(77001).isNull());
    writePicture(QStringLiteral("77001"), QSize(13, 7));
    const QPixmap pic = pLoadPicture(77001);
    ASSERT_FALSE(pic.isNull());
    EXPECT_EQ(pic.size(), QSize(13, 7));
}

TEST_F(InTempFolder, AResourceComesBeforeAFileOfTheSameNumber) {
    writePicture(QStringLiteral("12401"), QSize(5, 5));
    EXPECT_EQ(pLoadPicture(12401).size(), QSize(48, 34));
}

TEST_F(InTempFolder, AFileThatIsNoPictureGivesNone) {
    QFile f(dir_.filePath(QStringLiteral("77002")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    EXPECT_TRUE(pLoadPicture(77002).isNull());
}

TEST(SetPicture, GivesAndClearsPictures) {
    ui::Form f;
    auto& img = f.add<ui::Image>("cmdDefVolt", 0, nullptr, 9330, 720, 735, 735);
    auto& btn = f.add<ui::Button3D>("cmdVoltUpDown", 0, nullptr, 8700, 2000, 900, 690);
    auto& box = f.add<ui::PictureBox>("picVoltH", nullptr, 0, 0, 840, 1290);
    vSetPicture(img, 12462);
    vSetPicture(btn, 12401);
    vSetPicture(box, 12456);
    EXPECT_EQ(img.picture().size(), QSize(49, 49));
    EXPECT_EQ(img.width(), 735);  // the image took its picture's size, which fits the layout
    EXPECT_EQ(btn.picture().toImage(), pLoadPicture(12401).toImage());
    EXPECT_EQ(box.picture().toImage(), pLoadPicture(12456).toImage());
    // No picture of that number: the picture is cleared.
    vSetPicture(box, 12460);
    EXPECT_TRUE(box.picture().isNull());
    // A control without a picture is passed over.
    auto& lbl = f.add<ui::Label>("lbl", nullptr, 0, 0, 900, 300);
    vSetPicture(lbl, 12401);
    EXPECT_TRUE(lbl.picture().isNull());
}

}  // namespace
