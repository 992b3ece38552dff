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

#include "model/KeyTables.h"

class QKeyEvent;

namespace orvane {

struct RecordKey {
    uint32_t vk = 0;
    ScanCode code = kScanNone;
    bool release = false;
    bool repeat = false;
};

// The hardware code (native scan code minus the X keycode offset) through
// the key tables, as a hook would see the event.
RecordKey RecordKeyFromEvent(const QKeyEvent& event);

class CMacroRecorder : public QObject {
    Q_OBJECT
  public:
    // Returns true to swallow the event.
    using KeyFn = std::function<bool(const RecordKey& key)>;

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
