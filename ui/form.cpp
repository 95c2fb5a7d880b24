#include "ui/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "ui/color.h"
#include "ui/key_codes.h"
#include "ui/twips.h"

namespace ui {

Form::Form(QWidget* owner) : QWidget(owner, Qt::Window), backColor_(vbButtonFace), foreColor_(vbButtonText) {}

Form::~Form() {
    if (modalLoop_ != nullptr) modalLoop_->quit();
    // Controls go in reverse creation order, so the controls inside a
    // container go before the container itself.
    order_.clear();
    while (!owned_.empty()) owned_.pop_back();
}

void Form::adopt(std::unique_ptr<Control> c) {
    if (c->widget() != nullptr) c->widget()->setProperty("zyrHooked", true);
    order_.push_back(c.get());
    owned_.push_back(std::move(c));
}

Control* Form::find(const std::string& name, int index) const {
    for (Control* c : order_) {
        if (c->name() == name && c->index() == index) return c;
    }
    return nullptr;
}

std::vector<Control*> Form::array(const std::string& name) const {
    std::vector<Control*> v;
    for (Control* c : order_) {
        if (c->name() == name && c->index() >= 0) v.push_back(c);
    }
    std::stable_sort(v.begin(), v.end(), [](const Control* a, const Control* b) { return a->index() < b->index(); });
    return v;
}

std::string Form::caption() const { return windowTitle().toStdString(); }

void Form::setCaption(const std::string& sCaption) { setWindowTitle(QString::fromStdString(sCaption)); }

int32_t Form::left() const { return lTwipsX(x()); }
int32_t Form::top() const { return lTwipsY(y()); }
int32_t Form::width() const { return lTwipsX(QWidget::width()); }
int32_t Form::height() const { return lTwipsY(QWidget::height()); }

void Form::setLeft(int32_t lLeft) { QWidget::move(lPixelsX(lLeft), y()); }
void Form::setTop(int32_t lTop) { QWidget::move(x(), lPixelsY(lTop)); }

// The console's windows have a fixed size: their layout is laid out in
// twips for exactly that size.
void Form::setWidth(int32_t lWidth) { setFixedSize(lPixelsX(lWidth), QWidget::height()); }
void Form::setHeight(int32_t lHeight) { setFixedSize(QWidget::width(), lPixelsY(lHeight)); }

void Form::moveTwips(int32_t lLeft, int32_t lTop, int32_t lWidth, int32_t lHeight) {
    setFixedSize(lPixelsX(lWidth), lPixelsY(lHeight));
    QWidget::move(lPixelsX(lLeft), lPixelsY(lTop));
}

void Form::setBackColor(int32_t lColor) {
    backColor_ = lColor;
    update();
}

// The window's own text colour; its controls keep theirs unless they are
// given one (an option button keeps the toolkit's text colour).
void Form::setForeColor(int32_t lColor) { foreColor_ = lColor; }

void Form::Load() {
    if (loaded_) return;
    loaded_ = true;
    Form_Load();
}

void Form::Show(bool modal) {
    Load();
    if (!loaded_) return;  // Form_Load unloaded it again
    if (!modal) {
        show();
        raise();
        activateWindow();
        return;
    }
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    modalLoop_ = &loop;
    if (isVisible()) loop.exec(QEventLoop::DialogExec);
    modalLoop_ = nullptr;
    setWindowModality(Qt::NonModal);
}

void Form::Hide() {
    hide();
    if (modalLoop_ != nullptr) modalLoop_->quit();
}

bool Form::Unload(int unloadMode) {
    if (unloading_) return false;
    int cancel = 0;
    Form_QueryUnload(cancel, unloadMode);
    if (cancel != 0) return false;
    unloading_ = true;
    Form_Unload();
    loaded_ = false;
    // The program's own close passes the guard of a window without a close
    // control, and ends the program when this was the last window.
    close();
    unloading_ = false;
    if (modalLoop_ != nullptr) modalLoop_->quit();
    return true;
}

void Form::Refresh() { repaint(); }

void Form::keyDown(int KeyCode, int Shift) { Form_KeyDown(KeyCode, Shift); }

void Form::runActivate() {
    // A box shown by the handler takes the activation away and gives it back;
    // that return does not start the handler again while it still runs.
    if (inActivate_ || !isVisible()) return;
    inActivate_ = true;
    ++activations_;
    Form_Activate();
    inActivate_ = false;
}

bool Form::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        // After the event: the window is on screen before the handler runs.
        QMetaObject::invokeMethod(this, [this] { runActivate(); }, Qt::QueuedConnection);
    }
    return QWidget::event(e);
}

void Form::setVisible(bool visible) {
    QWidget::setVisible(visible);
    // However the window went away, a modal Show waiting for it returns.
    if (!visible && modalLoop_ != nullptr) modalLoop_->quit();
}

void Form::closeEvent(QCloseEvent* e) {
    if (unloading_) {
        e->accept();
        return;
    }
    // Closed by the operator from the title bar: the same road as Unload.
    int cancel = 0;
    Form_QueryUnload(cancel, vbFormControlMenu);
    if (cancel != 0) {
        e->ignore();
        return;
    }
    unloading_ = true;
    Form_Unload();
    loaded_ = false;
    unloading_ = false;
    e->accept();
    if (modalLoop_ != nullptr) modalLoop_->quit();
}

void Form::keyPressEvent(QKeyEvent* e) {
    // Keys that start at a control reached the window through the control's
    // hook already; the rest start here.
    QWidget* f = QApplication::focusWidget();
    if (f == nullptr || f == this || !f->property("zyrHooked").toBool()) keyDown(lKeyCodeOf(e), lShiftOf(e->modifiers()));
    QWidget::keyPressEvent(e);
}

void Form::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), qColorOf(backColor_));
}

}  // namespace ui
