// The pictures on screens of device pixel ratio 1 and 2 (CTest runs this
// program once more with QT_SCALE_FACTOR=2): at 2 each picture is the
// drawing with twice the pixels, and it takes the same room in the window.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "resources/picture_catalog.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/look.h"

namespace {

TEST(PicturesForTheScreen, SharperAtRatioTwoInTheSameRoom) {
    const int iRatio = qGuiApp->devicePixelRatio() > 1.0 ? 2 : 1;
    for (const tPictureEntry& e : kPictureCatalog) {
        const QPixmap pic = pLoadPicture(e.lNo);
        EXPECT_EQ(pic.devicePixelRatio(), iRatio) << e.lNo;
        EXPECT_EQ(pic.size(), QSize(e.lWidth, e.lHeight) * iRatio) << e.lNo;
    }
    ui::Form f;
    auto& img = f.add<ui::Image>("cmdDefVolt", 0, nullptr, 9330, 720, 735, 735);
    vSetPicture(img, 12462);
    EXPECT_EQ(img.width(), 735);  // the image takes its picture's size in the layout, not its pixels
}

}  // namespace
