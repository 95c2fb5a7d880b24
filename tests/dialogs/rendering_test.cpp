// Both dialogs as the operator sees them, rendered offscreen: the console's
// light teal shows behind the controls, the dark teal text is drawn, and
// the captions fit. With ZYR_SHOT_DIR set, the pictures are also saved there
// as PNG files for a person to look at.
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <cstdlib>

#include "dialogs/frm_setting.h"
#include "dialogs/frm_test.h"
#include "resources/string_table.h"
#include "tests/dialogs/dialog_fixture.h"
#include "ui/color.h"
#include "ui/look.h"

namespace {

QImage imgRender(ui::Form& frm, const char* sShotName) {
    frm.Show(false);
    const QImage img = frm.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const char* sDir = std::getenv("ZYR_SHOT_DIR");
    if (sDir != nullptr && *sDir != '\0') {
        QDir().mkpath(sDir);
        img.save(QDir(sDir).filePath(sShotName), "PNG");
    }
    return img;
}

bool booHasColor(const QImage& img, const QRect& r, QRgb rgb) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF)) return true;
    return false;
}

QRect rectOf(const ui::Control& c) { return QRect(c.widget()->mapTo(c.form().window(), QPoint(0, 0)), c.widget()->size()); }

class DialogRendering : public DialogTest {};

TEST_F(DialogRendering, EquipmentSettingShowsTheSwitchesOnTheLightBackground) {
    frmTest d(main_.get());
    d.Load();
    const QImage img = imgRender(d, "frmTest.png");
    ASSERT_FALSE(img.isNull());
    const QRgb light = ui::qColorOf(lColorLight()).rgb();
    const QRgb dark = ui::qColorOf(lColorDark()).rgb();
    EXPECT_EQ(img.pixel(2, 2) & 0xFFFFFF, light & 0xFFFFFF);
    EXPECT_TRUE(booHasColor(img, rectOf(*d.lbl1[1]), dark));      // "Auto Power OFF"
    EXPECT_TRUE(booHasColor(img, rectOf(*d.FrameSetting), dark));  // its caption
    EXPECT_TRUE(booHasColor(img, rectOf(*d.optAutoPower[1]), light));
    d.Hide();
}

TEST_F(DialogRendering, DefaultConditionDialogShowsItsTextsInBothLanguages) {
    for (int lang : {1, 2}) {
        vSetResLanguage(lang);
        frmSetting d(main_.get());
        d.m_lModePos = 0;
        d.m_lSizePos = 0;
        d.Load();
        const QImage img = imgRender(d, lang == 1 ? "frmSetting.png" : "frmSetting_ja.png");
        ASSERT_FALSE(img.isNull());
        const QRgb light = ui::qColorOf(lColorLight()).rgb();
        const QRgb dark = ui::qColorOf(lColorDark()).rgb();
        EXPECT_EQ(img.pixel(2, 2) & 0xFFFFFF, light & 0xFFFFFF);
        EXPECT_TRUE(booHasColor(img, rectOf(*d.lbl1[0]), dark));
        EXPECT_TRUE(booHasColor(img, rectOf(*d.lbl1[1]), dark));
        // The caption and the label texts fit their places.
        const QFontMetrics fm = d.lbl1[1]->widget()->fontMetrics();
        EXPECT_LE(fm.horizontalAdvance(QString::fromStdString(*d.lbl1[1]->caption())), d.lbl1[1]->widget()->width());
        d.Hide();
    }
}

}  // namespace
