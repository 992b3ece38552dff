#pragma once
// Key capture of the key-assignment dialog's Key tab. While it runs the
// dialog holds the keyboard, so keys the desktop would take for itself (the
// Super keys, Alt+Tab) reach the dialog; each key event becomes a scan code
// and is passed on, swallowed, or taken as the key to assign.
#include <cstdint>
#include <functional>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "model/KeyTables.h"

class QKeyEvent;

namespace orvane {

enum class CaptureAction { Pass, Swallow, Take };

struct CaptureDecision {
    CaptureAction action = CaptureAction::Pass;
    ScanCode code = kScanNone;
};

// A key event as the capture rules see it.
struct CaptureKey {
    uint32_t vk = 0;
    ScanCode code = kScanNone;
    bool release = false;
    bool repeat = false;
};

// The capture rules. The Super and Menu keys are always taken (as 0x15B,
// 0x15C, 0x15D) so the desktop never sees them. Keys without a scan code and
// the media keys pass on, so the desktop's volume keys keep working. Any other
// key is swallowed and taken only on a first press while the keyboard choice
// (KB) is checked; Print Screen is taken on any event.
CaptureDecision DecideCapture(const CaptureKey& key, bool keyboardChoice);

// Turns a Qt key event into what a keyboard hook would have seen: the
// hardware code (native scan code minus the X keycode offset) through the
// key tables.
CaptureKey CaptureKeyFromEvent(const QKeyEvent& event);

class CKeyCapture : public QObject {
    Q_OBJECT
  public:
    using KeyboardChoiceFn = std::function<bool()>;
    using TakeFn = std::function<void(ScanCode code)>;

    CKeyCapture(QWidget* owner, KeyboardChoiceFn keyboardChoice, TakeFn take);
    ~CKeyCapture() override;

    // Start: watch the owner's key events and hold the keyboard whenever the
    // owner is the shown, active window. Stop: let go of both.
    void Start();
    void Stop();
    bool Active() const { return m_active; }
    bool HoldsKeyboard() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void UpdateGrab();
    bool HandleKey(QObject* watched, QKeyEvent* event);

    QPointer<QWidget> m_owner;
    KeyboardChoiceFn m_keyboardChoice;
    TakeFn m_take;
    bool m_active = false;
};

} // namespace orvane
