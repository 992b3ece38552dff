#include "ui/DialogOwner.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace orvane {
namespace {

// Menus, tooltips and palettes close with the next click: nothing belongs to them.
bool CanOwn(const QWidget* w) {
    if (!w || !w->isVisible()) return false;
    const Qt::WindowType type = w->windowType();
    return type != Qt::Popup && type != Qt::ToolTip;
}

} // namespace

QWidget* DialogOwner() {
    if (QWidget* modal = QApplication::activeModalWidget(); CanOwn(modal)) return modal;
    if (QWidget* active = QApplication::activeWindow(); CanOwn(active)) return active;
    // Nothing of ours is active (the desktop has the focus): the shown window
    // that stands on its own, which is the main window.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (CanOwn(w) && !w->parentWidget() && qobject_cast<QDialog*>(w)) return w;
    return nullptr;
}

} // namespace orvane
