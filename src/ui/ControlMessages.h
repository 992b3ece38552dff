#pragma once
// How a control tells its dialog something: a window message to the parent,
// addressed by the control's id. The parent takes it through its message
// bridge when it has one (a CMessageBridge child object); otherwise the
// message arrives as a CControlMessageEvent on the parent widget.
#include <QEvent>
#include <QWidget>
#include <cstdint>

namespace orvane {

// Control ids stay the numbers the dialogs give them, so messages and tests
// can name controls.
void SetControlId(QWidget* control, int id);
int ControlIdOf(const QWidget* control); // 0 when none was given

class CControlMessageEvent final : public QEvent {
public:
    CControlMessageEvent(uint32_t message, uintptr_t wParam, intptr_t lParam)
        : QEvent(Type()), m_message(message), m_wParam(wParam), m_lParam(lParam) {}
    static QEvent::Type Type();
    uint32_t Message() const { return m_message; }
    uintptr_t WParam() const { return m_wParam; }
    intptr_t LParam() const { return m_lParam; }
    // Set by a receiver that handled a sent message.
    intptr_t result = 0;

private:
    uint32_t m_message;
    uintptr_t m_wParam;
    intptr_t m_lParam;
};

// Queued to the parent of `control`; returns at once.
void PostToParent(const QWidget* control, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Handled by the parent before it returns (GUI thread only).
intptr_t SendToParent(const QWidget* control, uint32_t message, uintptr_t wParam, intptr_t lParam);

} // namespace orvane
