#pragma once
// How a control tells its dialog something: a window message addressed by the
// control's id. It goes to the nearest ancestor that takes messages: one with
// a message bridge (a CMessageBridge child object) or one marked as a message
// receiver, else the control's window. Containers in between are passed by,
// so a control inside a group box still reaches its dialog, and exactly once.
// Without a bridge the message arrives as a CControlMessageEvent.
#include <cstdint>
#include <QEvent>
#include <QWidget>

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

// Marks a widget without a bridge as taking the messages of the controls
// inside it (a widget that handles CControlMessageEvent itself).
void SetMessageReceiver(QWidget* widget, bool on = true);
// The widget that receives the messages of `control`, or null.
QWidget* MessageReceiverOf(const QWidget* control);

// Queued to the receiver of `control`; returns at once.
void PostToParent(const QWidget* control, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Handled by the receiver before it returns (GUI thread only).
intptr_t SendToParent(const QWidget* control, uint32_t message, uintptr_t wParam, intptr_t lParam);

} // namespace orvane
