#pragma once
// Key capture of the key-assignment dialog's Key tab. While the capture
// field has the focus the dialog holds the keyboard, so keys the desktop
// would take for itself (the Super keys, Alt+Tab) reach the dialog; each key
// event becomes a scan code and is passed on, swallowed, or taken as the key
// to assign. Once a key is taken the focus moves on, so Tab, Enter and Escape
// are assignable without trapping a user who has no mouse.
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
    // Moves the focus to the next (true) or previous control.
    using MoveOnFn = std::function<void(bool next)>;

    CKeyCapture(QWidget* owner, KeyboardChoiceFn keyboardChoice, TakeFn take);
    ~CKeyCapture() override;

    // The field whose focus arms the capture, and how the focus leaves it.
    void SetField(QWidget* field, MoveOnFn moveOn);

    // Start: watch the owner's key events and hold the keyboard whenever the
    // field has the focus in the shown, active owner. Stop: let go of both.
    void Start();
    void Stop();
    bool Active() const { return m_active; }
    bool Armed() const;
    bool HoldsKeyboard() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void UpdateGrab();
    bool HandleKey(QObject* watched, QKeyEvent* event);
    void AfterTake(const CaptureKey& key, ScanCode taken, bool shiftDown);

    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_field;
    KeyboardChoiceFn m_keyboardChoice;
    TakeFn m_take;
    MoveOnFn m_moveOn;
    bool m_active = false;
    // A modifier taken on its press keeps the focus until it is let go, so
    // Shift+Tab or Alt+Tab take the second key and a held Super key never
    // reaches the desktop.
    ScanCode m_heldModifier = kScanNone;
};

} // namespace orvane
