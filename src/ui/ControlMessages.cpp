#include "ui/ControlMessages.h"

#include <QCoreApplication>
#include <QVariant>

#include "ui/MessageBridge.h"

namespace orvane {

namespace {

const char kIdProperty[] = "orvaneControlId";
const char kReceiverProperty[] = "orvaneMessageReceiver";

CMessageBridge* BridgeOf(QWidget* parent) {
    return parent ? parent->findChild<CMessageBridge*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

} // namespace

void SetControlId(QWidget* control, int id) {
    if (control) control->setProperty(kIdProperty, id);
}

int ControlIdOf(const QWidget* control) {
    return control ? control->property(kIdProperty).toInt() : 0;
}

QEvent::Type CControlMessageEvent::Type() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void SetMessageReceiver(QWidget* widget, bool on) {
    if (widget) widget->setProperty(kReceiverProperty, on);
}

QWidget* MessageReceiverOf(const QWidget* control) {
    QWidget* w = control && !control->isWindow() ? control->parentWidget() : nullptr;
    for (; w; w = w->parentWidget()) {
        if (w->isWindow() || BridgeOf(w) || w->property(kReceiverProperty).toBool()) return w;
    }
    return nullptr;
}

void PostToParent(const QWidget* control, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    QWidget* parent = MessageReceiverOf(control);
    if (!parent) return;
    if (CMessageBridge* bridge = BridgeOf(parent))
        bridge->PostMessage(message, wParam, lParam);
    else
        QCoreApplication::postEvent(parent, new CControlMessageEvent(message, wParam, lParam));
}

intptr_t SendToParent(const QWidget* control, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    QWidget* parent = MessageReceiverOf(control);
    if (!parent) return 0;
    if (CMessageBridge* bridge = BridgeOf(parent)) return bridge->SendMessage(message, wParam, lParam);
    CControlMessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(parent, &event);
    return event.result;
}

} // namespace orvane
