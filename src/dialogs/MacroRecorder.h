#pragma once
// Keyboard input while a macro is recorded. The dialog holds the keyboard so
// keys the desktop would take for itself (the Super keys, Alt+Tab) reach it,
// and every key event of its window is handed to the owner as the (virtual
// key, scan code) pair a keyboard hook would have seen; the owner says
// whether the event is swallowed.
#include <cstdint>
#include <functional>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "dialogs/CompositeKeyCapture.h"
#include "model/KeyTables.h"

namespace orvane {

// Key events arrive as the Key tab's capture sees them (CaptureKeyFromEvent).
using RecordKey = CaptureKey;

class CMacroRecorder : public QObject {
    Q_OBJECT
  public:
    // Returns true to swallow the event.
    using KeyFn = std::function<bool(const RecordKey& key)>;

    // No Qt parent: the recorder is a member of its owner's tab.
    CMacroRecorder(QWidget* owner, KeyFn onKey);
    ~CMacroRecorder() override;

    void Start();
    void Stop();
    bool Active() const { return m_active; }
    bool HoldsKeyboard() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void UpdateGrab();

    QPointer<QWidget> m_owner;
    KeyFn m_onKey;
    bool m_active = false;
};

} // namespace orvane
