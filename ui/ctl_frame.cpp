#include "ui/ctl_frame.h"

#include <QPainter>
#include <QWidget>

#include "ui/color.h"

namespace ui {
namespace {

// A frame drawn in the window's own colours: an etched line round it, the
// caption set into the top line.
class FrameWidget : public QWidget {
public:
    QString caption;
    std::optional<int32_t> back;
    std::optional<int32_t> fore;
    int border = 1;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QColor face = back ? qColorOf(*back) : palette().color(QPalette::Window);
        if (back) p.fillRect(rect(), face);
        if (border == 0 && caption.isEmpty()) return;
        const QFontMetrics fm = fontMetrics();
        const int lineY = caption.isEmpty() ? 0 : fm.height() / 2;
        if (border != 0) {
            const QRect r = rect().adjusted(0, lineY, -2, -2);
            p.setPen(face.darker(150));
            p.drawRect(r);
            p.setPen(face.lighter(130));
            p.drawRect(r.translated(1, 1));
        }
        if (!caption.isEmpty()) {
            const int w = fm.horizontalAdvance(caption) + 6;
            const QRect tr(6, 0, w, fm.height());
            p.fillRect(tr, face);
            QColor ink = fore ? qColorOf(*fore) : palette().color(QPalette::WindowText);
            if (!isEnabled()) ink = palette().color(QPalette::Disabled, QPalette::WindowText);
            p.setPen(ink);
            p.drawText(tr, Qt::AlignCenter, caption);
        }
    }
};

FrameWidget* fw(QWidget* w) { return static_cast<FrameWidget*>(w); }

}  // namespace

Frame::Frame(Form& form, std::string name, int index, Control* container)
    : Control(Kind::Frame, form, std::move(name), index, container) {
    attach(new FrameWidget);
}

bool Frame::setCaption(const std::string& sCaption) {
    fw(widget())->caption = QString::fromStdString(sCaption);
    widget()->update();
    return true;
}

std::optional<std::string> Frame::caption() const { return fw(widget())->caption.toStdString(); }

bool Frame::setBackColor(int32_t lColor) {
    backColor_ = lColor;
    applyColors();
    return true;
}

bool Frame::setForeColor(int32_t lColor) {
    foreColor_ = lColor;
    applyColors();
    return true;
}

void Frame::setBorderStyle(int lStyle) {
    fw(widget())->border = lStyle;
    widget()->update();
}

void Frame::applyColors() {
    fw(widget())->back = backColor_;
    fw(widget())->fore = foreColor_;
    // Controls inside without colours of their own show the frame's.
    if (backColor_) {
        QPalette pal = widget()->palette();
        pal.setColor(QPalette::Window, qColorOf(*backColor_));
        widget()->setPalette(pal);
    }
    widget()->update();
}

}  // namespace ui
