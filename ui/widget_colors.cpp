#include "ui/widget_colors.h"

#include <QWidget>

#include "ui/color.h"

namespace ui {

void vApplyColors(QWidget* w, std::optional<int32_t> back, std::optional<int32_t> fore,
                  QPalette::ColorRole backRole, QPalette::ColorRole foreRole) {
    if (w == nullptr) return;
    QPalette pal = w->palette();
    if (back) {
        // A disabled control keeps its colour: the console shows locked
        // controls in their own colours.
        pal.setColor(QPalette::All, backRole, qColorOf(*back));
        w->setAutoFillBackground(true);
    }
    if (fore) pal.setColor(QPalette::All, foreRole, qColorOf(*fore));
    w->setPalette(pal);
}

}  // namespace ui
