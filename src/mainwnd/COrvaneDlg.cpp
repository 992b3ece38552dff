#include "mainwnd/COrvaneDlg.h"
#include "mainwnd/KeyboardAndPanel.h"

#include <mutex>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>

#include "device/ConnectionMonitor.h"
#include "device/DeviceCommands.h"
#include "dialogs/COrvane_DlgProfile.h"
#include "dialogs/DlgComposite.h"
#include "dialogs/FlipSetting.h"
#include "dialogs/OpenComposite.h"
#include "dialogs/ProfileMenu.h"
#include "dialogs/ProfileSwitch.h"
#include "mainwnd/AboutDlg.h"
#include "mainwnd/ClockChangeWatch.h"
#include "mainwnd/MainSkinFaces.h"
#include "mainwnd/MainTrayIcon.h"
#include "mainwnd/MainWindowIds.h"
#include "model/ConfigStore.h"
#include "model/ProfileFile.h"
#include "model/UserData.h"
#include "platform/CriticalSections.h"
#include "platform/IniFile.h"
#include "services/Language.h"
#include "services/PathTable.h"
#include "services/WindowMessages.h"
#include "services/WriteFailureReport.h"
#include "transfer/Apply.h"
#include "transfer/BusyIndicator.h"
#include "ui/BridgeWindowLink.h"
#include "ui/DialogOwner.h"
#include "ui/TabChainByPlace.h"

namespace orvane {
namespace {
COrvaneDlg* g_MainWindowObject = nullptr;
constexpr uint32_t kPreviewFirstDelayMs = 100;
constexpr size_t kWebAddressChars = 260;
} // namespace

COrvaneDlg* MainWindowObject() {
    return g_MainWindowObject;
}

COrvaneDlg::COrvaneDlg(const std::vector<std::string>& args, CInstanceSystem& system, QWidget* parent)
    : CBaseDialog(parent, Paths().MainSkinFile, Paths().SkinFolder), m_bridge(this),
      m_instanceSocket(m_bridge, this) {
    SetPrompt(&m_prompt);
    RegisterMessages();
    const InstanceCheckResult check = RunInstanceCheck(args, system);
    m_endProcess = check != InstanceCheckResult::RunAsInstance;
    m_killFailed = check == InstanceCheckResult::KillFailed;
    m_applyPending = 0;
}

COrvaneDlg::~COrvaneDlg() {
    qApp->removeEventFilter(this);
    if (m_about) delete m_about.data();
    if (g_MainWindowObject == this) {
        SetProfileMenuRebuild(nullptr);
        // The device threads keep the process-wide link; it goes quiet now.
        MainBridgeLink().Attach(nullptr);
        SetTransferHost(nullptr);
        TheLighting().SetPaintStore(nullptr);
        g_MainWindowObject = nullptr;
    }
    SetPrompt(nullptr);
}

int COrvaneDlg::RunModal() {
    if (!OnInitDialog()) return 0;
    if (m_endRequested) // ended during initialisation
        return m_modalResult;
    QEventLoop loop;
    m_modalLoop = &loop;
    m_modalResult = loop.exec(QEventLoop::DialogExec);
    m_modalLoop = nullptr;
    return m_modalResult;
}

bool COrvaneDlg::OnInitDialog() {
    // The face pictures of step 7 decode while the steps before it run.
    CMainSkinFaces::Decoding faces = CMainSkinFaces::StartDecoding();
    // 1. The skinned base: background and outline.
    CBaseDialog::OnInitDialog();
    // 3. The program icon.
    setWindowIcon(QIcon(QString::fromStdString(Paths().SkinFolder) +
                        QStringLiteral("Icon%1.png").arg(ICON_NO_KEYBOARD)));
    // 4. The window is reachable; the current profile is not known yet.
    g_MainWindowObject = this;
    MainBridgeLink().Attach(m_bridge.Core());
    SetMainWindowLink(&MainBridgeLink());
    SetTransferHost(this);
    SetCurrentProfile(0);
    SetActiveProfileCache(-1);

    // 10 (first half). The per-user paths and folder; painted keys are kept
    // in its files. Before the device threads: their connection handling
    // reads them.
    BuildUserPaths();
    ReportWriteFailures(EnsureUserFolder());
    TheLighting().SetPaintStore(&UserDataPaintStore());

    // 5. The device side: the consumer listener, then the connection monitor.
    if (m_startDeviceThreads) StartDeviceThreads();

    // 6. A fresh working copy; nothing to apply.
    {
        std::lock_guard lock(ConfigStoreLock());
        CreateBlankProfile(nullptr, 0);
    }
    SetApplyPending(false);

    // 7. The face pictures, made once for every skinned control.
    m_faces = std::make_unique<CMainSkinFaces>(size(), std::move(faces));

    // 8. The configured web address.
    m_webAddress = QString::fromStdString(
                       IniReadString(Paths().MainSkinFile, kSectionScreen, "Link", kDefaultWebAddress))
                       .left(static_cast<int>(kWebAddressChars - 1));

    // 9 and 10. The window's own buttons, then the keyboard picture and the
    // lighting panel.
    m_flip = ReadFlip() != 0;
    CreateButtons();
    LayoutButtons();
    ConstructParts();
    ChainOverlappingButtons();
    ApplyFlipLayout();
    ChainTabsByPlace(*this);

    // 11. The tag makes this the window another copy of the program talks
    // to. Its flags stay as made: changing them re-creates the native window,
    // which then loses its place and its type.
    m_windowTag = MAIN_WINDOW_TAG;
    m_instanceSocket.Open();

    // 12.
    setWindowTitle(QString::fromStdString(Text("MAIN_CAPTION")));

    // 14. 1144 stays hidden (CreateButtons). 15. The tray icon.
    CreateTrayIcon();
    m_trayIconId = ICON_NO_KEYBOARD;

    // The desktop's key events pass our filter first (Enter, Escape, arrows, F1).
    qApp->installEventFilter(this);
    // A change of the wall clock reaches the window as the platform's message.
    m_clockWatch = std::make_unique<CClockChangeWatch>([this] { m_bridge.PostMessage(WM_TIMECHANGE, 0, 0); });

    // 16 to 18.
    m_bridge.PostMessage(UM_INIT, TAG_INIT, 0);
    m_bridge.SendMessage(UM_LANG, TAG_LANG, CurrentLanguageIndex());
    m_bridge.SetTimer(PREVIEW_TIMER, kPreviewFirstDelayMs);
    return true;
}

void COrvaneDlg::ConstructParts() {
    // The keyboard picture and the lighting panel fill m_parts; so do the
    // editor dialogs.
    m_keyboardAndPanel = BuildKeyboardAndPanel(*this);
    m_profileManager = std::make_unique<COrvane_DlgProfile>(this);
    m_profileManager->SetTransferRunner([this](const std::function<void()>& work) { RunTransfer(work); });
    m_parts.runProfileManager = [this] { m_profileManager->DoModal(); };
    m_parts.cancelEditors = [this] {
        m_profileManager->CancelIfOpen();
        CancelCompositeDialog();
    };
    m_parts.selectProfile = [](int profile) { return SelectProfile(profile, false); };
    // 1005 names the keyboard's active profile; every switch renames it.
    InstallProfileSwitching();
    SetProfileMenuRebuild([this] {
        CPngButton* button = Button(IDC_PROFILE_MANAGER);
        if (!button) return;
        const ProfileMenuModel shown = BuildProfileMenu(*button);
        if (m_tray) m_tray->SetTip(QString::fromStdString(shown.trayTip));
    });
}

bool COrvaneDlg::KeyboardPresent() const {
    return m_keyboardPresent ? m_keyboardPresent() : ConnectedState() > 0;
}

void COrvaneDlg::ShowMainWindow() {
    if (m_loadingConnection || m_transfers.IsQueued(UM_PROFILE)) {
        m_showAfterLoading = true;
        return;
    }
    if (!KeyboardPresent()) {
        Prompt().MessageBox(Text("MAIN_NO_DEVICE_PROMPT"), std::string(), MB_OK);
        return;
    }
    ShowWindowNow();
}

void COrvaneDlg::ShowWindowNow() {
    showNormal();
    if (m_hiddenAt) move(*m_hiddenAt);
    raise();
    activateWindow();
    ResumePreview();
}

void COrvaneDlg::HideMainWindow() {
    if (isVisible()) m_hiddenAt = pos();
    hide();
}

void COrvaneDlg::OnOK() {
    const bool applied = SendChanges();
    HideMainWindow();
    // The window has gone: the confirmation comes from the tray.
    if (applied) Confirm(Text("CONFIRM_APPLIED"));
}

void COrvaneDlg::OnCancel() {
    HideMainWindow();
}

void COrvaneDlg::closeEvent(QCloseEvent* event) {
    // The window manager's close only hides, like Cancel: the program lives on in the tray.
    event->ignore();
    HideMainWindow();
}

void COrvaneDlg::changeEvent(QEvent* event) {
    CBaseDialog::changeEvent(event);
    // Back from minimised: the preview goes on where it stopped.
    if (event->type() == QEvent::WindowStateChange) ResumePreview();
}

void COrvaneDlg::RunApply() {
    SendChanges();
}

void COrvaneDlg::RunTransfer(const std::function<void()>& work) {
    m_transfers.Run(work);
    // On a transfer's worker the work was part of that transfer.
    if (QThread::currentThread() != thread()) return;
    if (m_closeAfterTransfer && !m_transfers.Running()) {
        m_closeAfterTransfer = false;
        CloseProgram();
    }
}

void COrvaneDlg::OpenAbout() {
    if (m_about) return; // one box at a time
    m_about = new CAboutDlg(DialogOwner(), m_webAddress, [this] { OpenHelp(); });
    connect(m_about.data(), &CAboutDlg::Closed, this, [this] { m_about.clear(); });
}

void COrvaneDlg::CloseProgram() {
    HideMainWindow();
    // A message box or menu still open would keep its own loop, and with it
    // the program (and a transfer's loop beneath it), running until someone
    // answers it.
    while (QWidget* popup = QApplication::activePopupWidget())
        if (!popup->close()) break;
    while (QWidget* modal = QApplication::activeModalWidget())
        if (!modal->close()) break;
    // The transfer's worker may still need this thread (a message, a widget):
    // the shutdown waits until it has ended.
    if (m_transfers.Running()) {
        m_closeAfterTransfer = true;
        return;
    }
    RunShutdown();
    ReleasePictures();
    m_endRequested = true;
    m_modalResult = QDialog::Rejected;
    if (m_modalLoop) m_modalLoop->exit(QDialog::Rejected);
}

void COrvaneDlg::CancelOpenDialogs() {
    if (m_about) m_about->Close();
    if (m_parts.cancelEditors) m_parts.cancelEditors();
}

void COrvaneDlg::RunShutdown() {
    if (m_shutdownDone) return;
    m_shutdownDone = true;
    // 1. The About box, then the editors.
    CancelOpenDialogs();
    // 2. Another copy may start now.
    InstanceMutex().Close();
    m_instanceSocket.Close();
    // 4. The tray icon; nothing is left to apply.
    if (m_tray) m_tray->Remove();
    m_trayIconId = 0;
    SetApplyPending(false);
    m_bridge.KillTimer(PREVIEW_TIMER);
    m_bridge.KillTimer(BUSY_ANIMATION_TIMER);
    m_clockWatch.reset();
    // An indicator still winding down from the last Apply ends first.
    WaitForBusyIndicator();
    // 5. The working copy and its strings, then the committed copy, each
    // under its lock: committing the emptied working copy empties the
    // committed one.
    std::lock_guard lock(ConfigStoreLock());
    g_ConfigStore.ReleaseWorking();
    g_ConfigStore.Commit();
}

} // namespace orvane
