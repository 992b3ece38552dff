#include "dialogs/MacroRecorder.h"

#include <QApplication>
#include <QKeyEvent>

namespace orvane {

CMacroRecorder::CMacroRecorder(QWidget* owner, KeyFn onKey) : m_owner(owner), m_onKey(std::move(onKey)) {}

CMacroRecorder::~CMacroRecorder() {
    Stop();
}

void CMacroRecorder::Start() {
    if (!m_active) {
        m_active = true;
        qApp->installEventFilter(this);
    }
    UpdateGrab();
}

void CMacroRecorder::Stop() {
    if (m_active) {
        m_active = false;
        qApp->removeEventFilter(this);
    }
    UpdateGrab();
}

bool CMacroRecorder::HoldsKeyboard() const {
    return m_owner && QWidget::keyboardGrabber() == m_owner->window();
}

void CMacroRecorder::UpdateGrab() {
    if (!m_owner) return;
    QWidget* window = m_owner->window();
    // Hold the keyboard only while the dialog is shown and in front; a
    // message box over it gets its keys back.
    const bool want = m_active && window->isVisible() && window->isActiveWindow();
    if (want && !HoldsKeyboard())
        window->grabKeyboard();
    else if (!want && HoldsKeyboard())
        window->releaseKeyboard();
}

bool CMacroRecorder::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!m_owner || !widget || widget->window() != m_owner->window()) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (!m_onKey(CaptureKeyFromEvent(*key))) return false;
        // Accepted, or the event would travel on to the parent and be
        // recorded again there.
        key->accept();
        return true;
    }
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (m_owner && watched == m_owner->window()) UpdateGrab();
        return false;
    default:
        return false;
    }
}

} // namespace orvane
