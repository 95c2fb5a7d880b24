#include "platform/system_menu.h"

#include <QCloseEvent>
#include <QObject>
#include <QWidget>

namespace platform {
namespace {

// Refuses the close requests that come from outside the program: the title
// bar, the window menu, Alt+F4, the session. Those arrive as spontaneous
// close events. The program's own close() sends a non-spontaneous one, which
// passes, so the window still goes when the console decides it should.
class CloseGuard : public QObject {
public:
    explicit CloseGuard(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("zyrpan_close_guard")); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close && event->spontaneous()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void vRemoveCloseItem(QWidget* window) {
    if (window == nullptr) return;
    window = window->window();
    if (window->findChild<CloseGuard*>(QStringLiteral("zyrpan_close_guard"), Qt::FindDirectChildrenOnly) == nullptr) {
        window->installEventFilter(new CloseGuard(window));
    }
    // Without the customise hint the window manager decides the buttons
    // itself; with it, keep title, menu and the minimise/maximise buttons a
    // plain window has and leave out Close only.
    Qt::WindowFlags flags = window->windowFlags();
    if (!flags.testFlag(Qt::CustomizeWindowHint)) {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
        if (window->windowType() == Qt::Window) flags |= Qt::WindowMinMaxButtonsHint;
    }
    flags &= ~Qt::WindowCloseButtonHint;
    const bool visible = window->isVisible();
    window->setWindowFlags(flags);
    if (visible) window->show();  // changing the flags hides a shown window
}

}  // namespace platform
