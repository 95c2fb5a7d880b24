#include "ui/color.h"

#include <QApplication>
#include <QColor>
#include <QPalette>

namespace ui {

QColor qColorOf(int32_t lColor) {
    const auto u = static_cast<uint32_t>(lColor);
    if (booIsSystemColor(lColor)) {
        const QPalette pal = QApplication::palette();
        switch (u & 0xFFu) {
            case 5: return pal.color(QPalette::Base);
            case 8: return pal.color(QPalette::Text);
            case 15: return pal.color(QPalette::Button);
            case 18: return pal.color(QPalette::ButtonText);
            default: return pal.color(QPalette::Window);
        }
    }
    return QColor(static_cast<int>(u & 0xFFu), static_cast<int>((u >> 8) & 0xFFu), static_cast<int>((u >> 16) & 0xFFu));
}

int32_t lColorOf(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }

}  // namespace ui
