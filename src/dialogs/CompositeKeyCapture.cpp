#include "dialogs/CompositeKeyCapture.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>

#include "model/EvdevKeys.h"

namespace orvane {

namespace {

constexpr uint32_t VK_LWIN = 0x5B;
constexpr uint32_t VK_RWIN = 0x5C;
constexpr uint32_t VK_APPS = 0x5D;
constexpr uint32_t kXNumLockMask = 0x10; // Mod2 in the X server's modifier state
constexpr ScanCode kScanTab = 0x0F;
constexpr ScanCode kScanLeftShift = 0x2A;

bool IsModifier(ScanCode code) {
    switch (code) {
    case kScanLeftShift:
    case kScanRightShift:
    case 0x1D:  // left Ctrl
    case 0x11D: // right Ctrl
    case 0x38:  // left Alt
    case 0x138: // right Alt
    case 0x15B: // left Super
    case 0x15C: // right Super
        return true;
    default:
        return false;
    }
}

} // namespace

CaptureDecision DecideCapture(const CaptureKey& key, bool keyboardChoice) {
    switch (key.vk) {
    case VK_LWIN:
        return {CaptureAction::Take, 0x15B};
    case VK_RWIN:
        return {CaptureAction::Take, 0x15C};
    case VK_APPS:
        return {CaptureAction::Take, 0x15D};
    default:
        break;
    }
    if (key.code == kScanNone || MediaNumberOfScanCode(key.code) >= 0)
        return {CaptureAction::Pass, kScanNone};
    // The system reports only Print Screen's release; take it on any event.
    if (key.code == kScanPrintScreen || (keyboardChoice && !key.release && !key.repeat))
        return {CaptureAction::Take, key.code};
    return {CaptureAction::Swallow, kScanNone};
}

CaptureKey CaptureKeyFromEvent(const QKeyEvent& event) {
    CaptureKey key;
    key.release = event.type() == QEvent::KeyRelease;
    key.repeat = event.isAutoRepeat();
    const quint32 native = event.nativeScanCode();
    if (native <= kXkbKeycodeOffset || native - kXkbKeycodeOffset > 0xFFFF) return key;
    KeyEventFlags flags;
    flags.release = key.release;
    flags.repeat = key.repeat;
    // Only the X server tells the Num Lock state; elsewhere take it as on.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        flags.numLockOn = (event.nativeModifiers() & kXNumLockMask) != 0;
    flags.altDown = event.modifiers().testFlag(Qt::AltModifier);
    flags.ctrlDown = event.modifiers().testFlag(Qt::ControlModifier);
    const HookKeyEvent hook = HookKeyEventFromEvdev(static_cast<uint16_t>(native - kXkbKeycodeOffset), flags);
    key.vk = hook.vk;
    key.code = hook.vk ? ScanCodeFromKeyEvent(hook.vk, hook.lParam) : kScanNone;
    return key;
}

CKeyCapture::CKeyCapture(QWidget* owner, KeyboardChoiceFn keyboardChoice, TakeFn take)
    : QObject(owner), m_owner(owner), m_keyboardChoice(std::move(keyboardChoice)), m_take(std::move(take)) {}

CKeyCapture::~CKeyCapture() {
    Stop();
}

void CKeyCapture::SetField(QWidget* field, MoveOnFn moveOn) {
    m_field = field;
    m_moveOn = std::move(moveOn);
    connect(qApp, &QApplication::focusChanged, this, [this] { UpdateGrab(); });
}

void CKeyCapture::Start() {
    if (!m_active) {
        m_active = true;
        qApp->installEventFilter(this);
    }
    UpdateGrab();
}

void CKeyCapture::Stop() {
    if (m_active) {
        m_active = false;
        qApp->removeEventFilter(this);
    }
    UpdateGrab();
}

bool CKeyCapture::HoldsKeyboard() const {
    return m_owner && QWidget::keyboardGrabber() == m_owner;
}

bool CKeyCapture::Armed() const {
    // Only while the dialog is on screen, the window the user works in, and
    // its capture field has the focus; a message box over it, another window
    // in front or the focus on another control gets the keys back.
    return m_active && m_owner && m_field && m_owner->isVisible() && m_owner->isActiveWindow() &&
           m_field->hasFocus();
}

void CKeyCapture::UpdateGrab() {
    if (!m_owner) return;
    const bool want = Armed();
    if (!want) m_heldModifier = kScanNone;
    if (want && !HoldsKeyboard())
        m_owner->grabKeyboard();
    else if (!want && HoldsKeyboard())
        m_owner->releaseKeyboard();
}

bool CKeyCapture::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return HandleKey(watched, static_cast<QKeyEvent*>(event));
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (watched == m_owner) UpdateGrab();
        return false;
    default:
        return false;
    }
}

bool CKeyCapture::HandleKey(QObject* watched, QKeyEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!m_owner || !widget || widget->window() != m_owner || !Armed()) return false;
    // A swallowed event ends here, so a key is never taken twice while an
    // event travels up to a parent widget.
    const CaptureKey key = CaptureKeyFromEvent(*event);
    const CaptureDecision decision = DecideCapture(key, m_keyboardChoice());
    const bool shiftDown = event->modifiers().testFlag(Qt::ShiftModifier);
    if (decision.action == CaptureAction::Take) {
        m_take(decision.code);
        AfterTake(key, decision.code, shiftDown);
    } else if (key.release && key.code != kScanNone && key.code == m_heldModifier) {
        // A modifier pressed and let go alone is the key.
        m_heldModifier = kScanNone;
        if (m_moveOn) m_moveOn(true);
    }
    return decision.action != CaptureAction::Pass;
}

void CKeyCapture::AfterTake(const CaptureKey& key, ScanCode taken, bool shiftDown) {
    if (!key.release && IsModifier(taken)) {
        m_heldModifier = taken;
        return;
    }
    if (key.release && taken == m_heldModifier) {
        m_heldModifier = kScanNone;
        if (m_moveOn) m_moveOn(true);
        return;
    }
    // Shift+Tab goes back, as it does everywhere else; any other key onwards.
    const bool back = taken == kScanTab &&
                      (shiftDown || m_heldModifier == kScanLeftShift || m_heldModifier == kScanRightShift);
    m_heldModifier = kScanNone;
    if (m_moveOn) m_moveOn(!back);
}

} // namespace orvane
