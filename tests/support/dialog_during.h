// Acting on a dialog while a modal wait holds it on screen.
#pragma once
#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

#include "ui/form.h"

// Runs action on the dialog of type T as soon as it is up (shown modally by
// whatever the test calls next). When the action leaves it open, the dialog
// is hidden so that the wait ends, and the returned flag says so.
template <class T>
std::shared_ptr<bool> pDuringDialog(std::function<void(T&)> action) {
    auto pLeftOpen = std::make_shared<bool>(false);
    QTimer::singleShot(0, [action, pLeftOpen] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            T* dlg = dynamic_cast<T*>(w);
            if (dlg == nullptr || !dlg->isVisible()) continue;
            action(*dlg);
            if (dlg->isVisible()) {
                *pLeftOpen = true;
                dlg->Hide();
            }
            return;
        }
    });
    return pLeftOpen;
}
