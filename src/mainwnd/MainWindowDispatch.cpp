// The main window's message map, its commands, the keys it takes before any
// control does, and its four timers.
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

#include "device/DeviceCommands.h"
#include "dialogs/FlipSetting.h"
#include "mainwnd/AboutDlg.h"
#include "mainwnd/COrvaneDlg.h"
#include "mainwnd/MainTrayIcon.h"
#include "mainwnd/MainWindowIds.h"
#include "services/Language.h"
#include "services/PathTable.h"
#include "services/WindowMessages.h"
#include "transfer/Apply.h"
#include "transfer/ProfileFileCommands.h"
#include "transfer/RestoreDefaults.h"
#include "ui/BridgeWindowLink.h"
#include "ui/ControlMessages.h"
#include "ui/DesktopOpen.h"
#include "ui/FadingNote.h"
#include "ui/HyperLink.h"
#include "ui/PngButton.h"

namespace orvane {
namespace {

constexpr uint32_t UM_BUSY_PICTURE = WM_APP + 20;   // wParam: shown
constexpr uint32_t UM_AFTER_TRANSFER = WM_APP + 21; // the next handler that waited for a transfer
constexpr uint32_t kPreviewPeriodMs = 50;
constexpr int kBusyFrames = 10;

bool IsKeyCommand(int id) {
    return (id >= 1000 && id <= 1004) || (id >= 1140 && id <= 1143) || (id >= 1010 && id <= 1120) ||
           id == 1199 || id == 1200 || id == 1174;
}

bool IsPanelCommand(int id) {
    return (id >= 1145 && id <= 1198) || id == 1204 || (id >= 1207 && id <= 1218);
}

void OpenAddress(const QString& address) {
    OpenWebAddress(address);
}

} // namespace

void COrvaneDlg::RegisterMessages() {
    m_bridge.OnTaggedMessage(UM_INIT, TAG_INIT, [this](intptr_t) -> intptr_t {
        HideMainWindow();
        return 0;
    });
    m_bridge.OnTaggedMessage(UM_OPEN, TAG_OPEN, [this](intptr_t) -> intptr_t {
        ShowMainWindow();
        return 0;
    });
    m_bridge.OnTaggedMessage(UM_KILL, TAG_KILL, [this](intptr_t) -> intptr_t {
        CloseProgram();
        return 0;
    });
    m_bridge.OnTaggedMessage(UM_LANG, TAG_LANG, [this](intptr_t index) -> intptr_t {
        ApplyTexts(static_cast<int>(index));
        return 0;
    });
    m_bridge.OnMessage(UM_DEVICE_GONE, [this](uintptr_t, intptr_t) -> intptr_t {
        OnKeyboardGone();
        return 0;
    });
    // Reading a new keyboard is a transfer: it waits for one that runs.
    m_bridge.OnTaggedMessage(UM_PROFILE, TAG_PROF, [this](intptr_t) -> intptr_t {
        m_transfers.RunWhenIdle(UM_PROFILE, [this] { OnKeyboardConnected(); });
        return 0;
    });
    m_bridge.OnMessage(UM_SLIDER, [this](uintptr_t wParam, intptr_t lParam) -> intptr_t {
        if (m_parts.slider) m_parts.slider(wParam, lParam);
        return 0;
    });
    // The wall clock was set: the keyboard's configuration is sent again.
    m_bridge.OnMessage(WM_TIMECHANGE, [this](uintptr_t, intptr_t) -> intptr_t {
        m_transfers.RunWhenIdle(
            WM_TIMECHANGE, [this] { RunApply(); }, true);
        return 0;
    });
    m_transfers.SetScheduler([this] { m_bridge.PostMessage(UM_AFTER_TRANSFER, 0, 0); });
    m_bridge.OnMessage(UM_AFTER_TRANSFER, [this](uintptr_t, intptr_t) -> intptr_t {
        if (!m_shutdownDone) m_transfers.RunNextQueued(); // nothing talks to the keyboard after the end
        return 0;
    });
    m_bridge.OnMessage(UM_LINK_SET_TRAY_ICON, [this](uintptr_t icon, intptr_t) -> intptr_t {
        const int id = static_cast<int>(icon);
        if (id != m_trayIconId && m_tray && m_tray->Shown()) {
            m_tray->SetIcon(id);
            m_trayIconId = id;
        }
        return 0;
    });
    m_bridge.OnMessage(UM_LINK_HIDE_WINDOW, [this](uintptr_t, intptr_t) -> intptr_t {
        HideMainWindow();
        return 0;
    });
    m_bridge.OnMessage(UM_LINK_SHOW_MESSAGE, [](uintptr_t, intptr_t) -> intptr_t {
        if (std::optional<std::string> text = MainBridgeLink().TakeMessage())
            Prompt().MessageBox(*text, std::string(), MB_OK);
        return 0;
    });
    m_bridge.OnMessage(UM_BUSY_PICTURE, [this](uintptr_t shown, intptr_t) -> intptr_t {
        ShowBusyFrame(shown ? 0 : -1);
        return 0;
    });
    m_bridge.OnTimer([this](uint32_t id) { OnTimer(id); });
}

void COrvaneDlg::OnCommand(int id) {
    if (IsKeyCommand(id)) {
        if (m_parts.keyCommand) m_parts.keyCommand(id);
        return;
    }
    if (IsPanelCommand(id)) {
        if (m_parts.panelCommand) m_parts.panelCommand(id);
        return;
    }
    switch (id) {
    case IDC_OK:
        OnOK();
        break;
    case IDC_CANCEL:
        OnCancel();
        break;
    case IDC_APPLY:
        ApplyCommand();
        break;
    case IDC_PROFILE_MANAGER:
        if (m_parts.runProfileManager) m_parts.runProfileManager();
        break;
    case IDC_MACRO:
        if (m_parts.keyCommand) m_parts.keyCommand(IDC_G9);
        break;
    case IDC_WEB_ADDRESS:
        OpenAddress(m_webAddress);
        break;
    case IDC_HELP:
        OpenHelp();
        break;
    case IDC_MINIMISE:
        showMinimized();
        break;
    case IDC_CLOSE:
    case ID_TRAY_EXIT:
        CloseProgram();
        break;
    case IDC_PROFILE_1:
    case IDC_PROFILE_2:
    case IDC_PROFILE_3:
        PressProfileButton(id - IDC_PROFILE_1);
        break;
    case IDC_DEFAULT:
        DefaultCommand();
        break;
    case IDC_FLIP_1:
    case IDC_FLIP_2:
        ToggleFlip();
        break;
    case IDC_MENU:
        ShowBackupMenu();
        break;
    case ID_RESTORE_FILE:
        RestoreFileCommand();
        break;
    case ID_BACKUP_FILE:
        BackupFileCommand();
        break;
    case IDC_REPORT_1:
    case IDC_REPORT_2:
    case IDC_REPORT_3:
    case IDC_REPORT_4:
        // The report rate is one of the lighting record's options.
        if (m_parts.panelCommand) m_parts.panelCommand(id);
        break;
    case ID_TRAY_OPEN:
        ShowMainWindow();
        break;
    case ID_TRAY_ABOUT:
        OpenAbout();
        break;
    default: // 1128 and 1129 do nothing
        break;
    }
}

void COrvaneDlg::ToggleFlip() {
    m_flip = ::orvane::ToggleFlip() != 0;
    PlaceArrows();
    ApplyFlipLayout();
}

void COrvaneDlg::ShowBackupMenu() {
    QMenu menu(this);
    menu.addAction(QString::fromStdString(Text("MENU_1")))->setData(ID_RESTORE_FILE);
    menu.addAction(QString::fromStdString(Text("MENU_2")))->setData(ID_BACKUP_FILE);
    if (QAction* chosen = menu.exec(QCursor::pos())) OnCommand(chosen->data().toInt());
}

bool COrvaneDlg::SendChanges() {
    ++m_appliesStarted;
    ApplyOutcome outcome;
    RunTransfer([&outcome] { outcome = Apply(); });
    return outcome.pending && outcome.Succeeded();
}

void COrvaneDlg::ApplyCommand() {
    if (SendChanges()) Confirm(Text("CONFIRM_APPLIED"));
}

void COrvaneDlg::RestoreFileCommand() {
    int result = 0;
    RunTransfer([&result] { result = ImportProfileCommand(); });
    if (result == 1) Confirm(Text("CONFIRM_RESTORED"));
}

void COrvaneDlg::BackupFileCommand() {
    if (ExportProfileCommand() == 1) Confirm(Text("CONFIRM_SAVED"));
}

void COrvaneDlg::DefaultCommand() {
    int result = 0;
    RunTransfer([&result] { result = RestoreDefaults(); });
    if (result == 1) Confirm(Text("CONFIRM_DEFAULTS"));
}

void COrvaneDlg::Confirm(const std::string& text) {
    if (m_shutdownDone) return;
    if (isVisible() && !isMinimized()) {
        if (!m_note) m_note = new CFadingNote(this);
        m_note->Show(QString::fromStdString(text));
    } else if (m_tray) {
        m_tray->ShowMessage(windowTitle(), QString::fromStdString(text));
    }
}

void COrvaneDlg::OpenHelp() {
    OpenHelpPage();
}

bool COrvaneDlg::IsOwnEvent(QObject* watched) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && (widget == this || widget->window() == this);
}

bool COrvaneDlg::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !IsOwnEvent(watched))
        return CBaseDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The window takes no Enter, but a typed value (an RGB field) is
        // entered by it, as by leaving the field.
        if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && type == QEvent::KeyPress)
            emit edit->editingFinished();
        return true;
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        // The mode list keeps its selection: an arrow key would change the
        // keyboard's lighting without a deliberate choice.
        for (QWidget* w = QApplication::focusWidget(); w && w != this; w = w->parentWidget())
            if (ControlIdOf(w) == IDC_MODE_LIST) return true;
        return false;
    }
    case Qt::Key_F1:
        if (type == QEvent::KeyPress) OpenHelp();
        return true;
    default:
        return false;
    }
}

void COrvaneDlg::contextMenuEvent(QContextMenuEvent* event) {
    // A frameless window has no system menu; its About item lives here.
    QMenu menu(this);
    QAction* about = menu.addAction(QString::fromStdString(Text("MENU_22")));
    if (menu.exec(event->globalPos()) == about) OpenAbout();
}

void COrvaneDlg::OnTimer(uint32_t timerId) {
    switch (timerId) {
    case PREVIEW_TIMER:
        OnPreviewTimer();
        break;
    case BUSY_ANIMATION_TIMER:
        if (m_busyFrame >= 0) ShowBusyFrame((m_busyFrame + 1) % kBusyFrames);
        break;
    // One-shot timers, stopped at once: queued behind a transfer they would
    // fire on every turn of its loop.
    case LIGHTING_CHANGED_TIMER:
    case KEYBOARD_RESET_TIMER:
        m_bridge.KillTimer(timerId);
        m_transfers.RunWhenIdle(
            static_cast<int>(timerId),
            [this, timerId] { timerId == KEYBOARD_RESET_TIMER ? OnKeyboardReset() : OnLightingChanged(); },
            true);
        break;
    default:
        m_bridge.KillTimer(timerId);
        break;
    }
}

void COrvaneDlg::OnPreviewTimer() {
    m_bridge.KillTimer(PREVIEW_TIMER);
    // Nothing to animate while nobody sees it or the switch is off: the
    // timer stays stopped until the window shows or the switch turns on.
    if (!PreviewSeen()) return;
    if (m_parts.previewTick)
        m_parts.previewTick();
    else
        TheLighting().Preview().TimerTick(TheLighting().CurrentPreviewParams(), KeyLights());
    m_bridge.SetTimer(PREVIEW_TIMER, kPreviewPeriodMs);
}

bool COrvaneDlg::PreviewSeen() const {
    return isVisible() && !isMinimized() && TheLighting().SwitchOn();
}

void COrvaneDlg::ResumePreview() {
    if (!m_shutdownDone && PreviewSeen() && !m_bridge.TimerActive(PREVIEW_TIMER))
        m_bridge.SetTimer(PREVIEW_TIMER, kPreviewPeriodMs);
}

void COrvaneDlg::ShowBusyIndicator(bool shown) {
    // From the indicator's own thread, which must not wait for this one.
    m_bridge.PostMessage(UM_BUSY_PICTURE, shown ? 1 : 0, 0);
}

void COrvaneDlg::ShowBusyFrame(int frame) {
    if (frame != m_busyFrame) ++m_busyFrameChanges;
    m_busyFrame = frame;
    if (m_parts.busyPicture) m_parts.busyPicture(frame);
}

void COrvaneDlg::CreateTrayIcon() {
    m_tray = std::make_unique<CTrayIcon>([this](int command) { OnCommand(command); });
    m_tray->SetMenuTextCallback([](QMenu& menu) {
        const char* keys[] = {"MENU_11", "MENU_22", "MENU_33"};
        const QList<QAction*> actions = menu.actions();
        for (int i = 0; i < actions.size() && i < 3; ++i)
            actions[i]->setText(QString::fromStdString(Text(keys[i])));
    });
    m_tray->Create(QString::fromStdString(Text("KEYBOARD_TRAY_DESC")), ICON_NO_KEYBOARD);
}

} // namespace orvane
