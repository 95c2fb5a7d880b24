#include "ui/look.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QString>
#include <cmath>

#include "platform/system_menu.h"
#include "resources/pictures.h"
#include "ui/color.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/twips.h"

int32_t lColorLight() { return ui::RGB(178, 227, 221); }

int32_t lColorDark() { return ui::RGB(15, 106, 97); }

void vCenterForm(ui::Form& frm) {
    // Single precision, as the window positions were always computed.
    const float l = static_cast<float>(ui::lScreenWidth() - frm.width()) / 2.0f;
    const float t = static_cast<float>(ui::lScreenHeight() - frm.height()) / 2.0f;
    frm.setLeft(static_cast<int32_t>(std::nearbyint(l)));
    frm.setTop(static_cast<int32_t>(std::nearbyint(t)));
}

void vDelSysMenu(ui::Form& frm) { platform::vRemoveCloseItem(&frm); }

bool booIsBackColorCtl(const ui::Control& ctl) {
    using ui::Kind;
    switch (ctl.kind()) {
        case Kind::Label:
        case Kind::CommandButton:
        case Kind::Frame:
        case Kind::OptionButton: return true;
        case Kind::TextBox: return static_cast<const ui::TextBox&>(ctl).locked();
        case Kind::PictureBox:
        case Kind::Button3D:
        case Kind::Panel3D: return true;
        default: return false;
    }
}

bool booIsForeColorCtl(const ui::Control& ctl) {
    using ui::Kind;
    switch (ctl.kind()) {
        case Kind::CommandButton:
        case Kind::Label:
        case Kind::Frame: return true;
        case Kind::TextBox: return static_cast<const ui::TextBox&>(ctl).locked();
        default: return false;
    }
}

void vSetBackColor(ui::Form& frm) {
    frm.setBackColor(lColorLight());
    const auto& ctls = frm.controls();
    for (auto i = ctls.size(); i-- > 0;) {
        // A control that has no background colour refuses it silently.
        if (booIsBackColorCtl(*ctls[i])) ctls[i]->setBackColor(lColorLight());
    }
}

void vSetForeColor(ui::Form& frm) {
    frm.setForeColor(lColorDark());
    const auto& ctls = frm.controls();
    for (auto i = ctls.size(); i-- > 0;) {
        if (booIsForeColorCtl(*ctls[i])) ctls[i]->setForeColor(lColorDark());
    }
}

void vSelectAllText(ui::Control& txt) {
    if (txt.kind() != ui::Kind::TextBox) return;
    auto& box = static_cast<ui::TextBox&>(txt);
    box.setSelStart(0);
    box.setSelLength(static_cast<int>(QString::fromStdString(box.text()).size()));
}

QPixmap pLoadPicture(const int32_t& lNo) {
    // The sharper drawing when any screen has a device pixel ratio above 1.
    const qreal dRatio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
    for (ePictureKind kind : {ePictureKind::Bitmap, ePictureKind::Icon, ePictureKind::Cursor}) {
        QPixmap pic = pResourcePicture(kind, lNo, dRatio);
        if (!pic.isNull()) return pic;
    }
    // Last, a picture file named by the number in the current folder.
    const QString file = QString::number(lNo);
    if (QFileInfo(file).isFile()) {
        QPixmap pic;
        if (pic.load(file)) return pic;
    }
    return {};
}

void vSetPicture(ui::Control& ctl, int32_t lNo) { ctl.setPicture(pLoadPicture(lNo)); }

void vShrinkButtons(ui::Form& frm, int32_t lSteps) {
    const int32_t d = lSteps * 15;
    const auto& ctls = frm.controls();
    for (auto i = ctls.size(); i-- > 0;) {
        ui::Control& c = *ctls[i];
        if (c.kind() != ui::Kind::CommandButton) continue;
        c.setWidth(c.width() - d);
        c.setHeight(c.height() - d);
    }
}
