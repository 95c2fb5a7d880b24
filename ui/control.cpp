#include "ui/control.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include "ui/form.h"
#include "ui/key_codes.h"
#include "ui/twips.h"

namespace ui {
namespace {

int lButtonOf(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton: return vbLeftButton;
        case Qt::RightButton: return vbRightButton;
        case Qt::MiddleButton: return vbMiddleButton;
        default: return 0;
    }
}

// Sees the mouse, focus and key events of a control's widget before the
// widget itself, and raises the control's events.
class EventHook : public QObject {
public:
    explicit EventHook(Control& c) : c_(c) {}

    bool eventFilter(QObject* obj, QEvent* e) override {
        switch (e->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease: {
                auto* me = static_cast<QMouseEvent*>(e);
                const QPoint p = me->position().toPoint();
                c_.fireMouse(e->type() == QEvent::MouseButtonPress, lButtonOf(me->button()),
                             lShiftOf(me->modifiers()), lTwipsX(p.x()), lTwipsY(p.y()));
                break;
            }
            case QEvent::FocusIn: c_.fireGotFocus(); break;
            case QEvent::KeyPress: {
                // The window sees every key first, wherever the focus is; a
                // key passed up from a control inside is not seen twice.
                if (obj != QApplication::focusWidget()) break;
                auto* ke = static_cast<QKeyEvent*>(e);
                QPointer<QObject> alive(obj);
                c_.form().keyDown(lKeyCodeOf(ke), lShiftOf(ke->modifiers()));
                if (alive.isNull()) return true;
                // The window's handler took the focus away (it locked this
                // control for a command, say): the key was the window's alone
                // and must not reach the window again as one that started there.
                if (obj != QApplication::focusWidget()) return true;
                break;
            }
            default: break;
        }
        return false;
    }

private:
    Control& c_;
};

}  // namespace

Control::Control(Kind kind, Form& form, std::string name, int index, Control* container)
    : kind_(kind), form_(form), name_(std::move(name)), index_(index), container_(container) {}

Control::~Control() {
    if (widget_ != nullptr) {
        widget_->removeEventFilter(hook_.get());
        delete widget_;
    }
}

void Control::attach(QWidget* w) {
    QWidget* parent = container_ != nullptr ? container_->childArea() : static_cast<QWidget*>(&form_);
    widget_ = w;
    w->setParent(parent);
    hook_ = std::make_unique<EventHook>(*this);
    w->installEventFilter(hook_.get());
    placeWidget();
    w->setVisible(visible_);
}

void Control::placeWidget() {
    if (widget_ == nullptr) return;
    const int x = lPixelsX(left_);
    const int y = lPixelsY(top_);
    const int r = lPixelsX(left_ + width_);
    const int b = lPixelsY(top_ + height_);
    widget_->setGeometry(x, y, r > x ? r - x : 0, b > y ? b - y : 0);
}

void Control::setEnabled(bool booEnabled) {
    enabled_ = booEnabled;
    applyEnabled();
}

void Control::applyEnabled() {
    if (widget_ != nullptr) widget_->setEnabled(enabled_);
}

void Control::setVisible(bool booVisible) {
    visible_ = booVisible;
    if (widget_ != nullptr) widget_->setVisible(booVisible);
}

bool Control::setWidth(int32_t w) {
    if (widget_ == nullptr || w < 0) return false;
    move(left_, top_, w, height_);
    return true;
}

bool Control::setHeight(int32_t h) {
    if (widget_ == nullptr || h < 0) return false;
    move(left_, top_, width_, h);
    return true;
}

void Control::move(int32_t lLeft, int32_t lTop, int32_t lWidth, int32_t lHeight) {
    left_ = lLeft;
    top_ = lTop;
    if (widget_ != nullptr) {
        width_ = lWidth < 0 ? 0 : lWidth;
        height_ = lHeight < 0 ? 0 : lHeight;
    }
    placeWidget();
}

bool Control::setCaption(const std::string&) { return false; }
bool Control::setBackColor(int32_t) { return false; }
bool Control::setForeColor(int32_t) { return false; }
bool Control::setPicture(const QPixmap&) { return false; }

void Control::setFocus() {
    if (widget_ != nullptr) widget_->setFocus(Qt::OtherFocusReason);
}

bool Control::hasFocus() const { return widget_ != nullptr && widget_->hasFocus(); }

void Control::refresh() {
    if (widget_ != nullptr) widget_->repaint();
}

void Control::zOrderFront() {
    if (widget_ != nullptr) widget_->raise();
}

bool Control::booReachable() const {
    if (widget_ == nullptr || !widget_->isEnabled()) return false;
    for (const Control* c = this; c != nullptr; c = c->container_) {
        if (!c->visible_) return false;
    }
    return true;
}

bool Control::click() {
    if (!booReachable()) return false;
    fireMouse(true, vbLeftButton, 0, 0, 0);
    fireMouse(false, vbLeftButton, 0, 0, 0);
    fireClick();
    return true;
}

// Handlers run on a copy: a handler may replace itself while it runs.
void Control::fireClick() {
    if (auto h = onClick) h();
}

void Control::fireChange() {
    if (auto h = onChange) h();
}

void Control::fireMouse(bool booDown, int Button, int Shift, int32_t X, int32_t Y) {
    if (widget_ != nullptr && !widget_->isEnabled()) return;
    if (auto h = booDown ? onMouseDown : onMouseUp) h(Button, Shift, X, Y);
}

void Control::fireGotFocus() {
    if (auto h = onGotFocus) h();
}

}  // namespace ui
