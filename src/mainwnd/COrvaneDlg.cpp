#include "mainwnd/COrvaneDlg.h"

#include <QCloseEvent>

#include "services/PathTable.h"
#include "services/WindowMessages.h"
#include "device/ConnectionMonitor.h"
#include "ui/BridgeWindowLink.h"

namespace orvane {
namespace {
COrvaneDlg* g_MainWindowObject = nullptr;
}

COrvaneDlg* MainWindowObject() { return g_MainWindowObject; }

COrvaneDlg::COrvaneDlg(const std::vector<std::string>& args, CInstanceSystem& system, QWidget* parent)
    : CBaseDialog(parent, Paths().MainSkinFile, Paths().SkinFolder), m_bridge(this), m_instanceSocket(m_bridge, this) {
    SetPrompt(&m_prompt);
    RegisterMessages();
    m_endProcess = RunInstanceCheck(args, system) == InstanceCheckResult::EndProcess;
    m_applyPending = 0;
}

COrvaneDlg::~COrvaneDlg() {
    if (g_MainWindowObject == this) {
        // The device threads keep the process-wide link; it goes quiet now.
        MainBridgeLink().Attach(nullptr);
        g_MainWindowObject = nullptr;
    }
    SetPrompt(nullptr);
}

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
    m_bridge.OnMessage(UM_LINK_SET_TRAY_ICON, [this](uintptr_t icon, intptr_t) -> intptr_t {
        m_trayIconId = static_cast<int>(icon);
        return 0;
    });
    m_bridge.OnMessage(UM_LINK_HIDE_WINDOW, [this](uintptr_t, intptr_t) -> intptr_t {
        HideMainWindow();
        return 0;
    });
    m_bridge.OnMessage(UM_LINK_SHOW_MESSAGE, [](uintptr_t, intptr_t text) -> intptr_t {
        if (text)
            Prompt().MessageBox(*reinterpret_cast<const std::string*>(text), std::string(), MB_OK);
        return 0;
    });
    m_bridge.OnTimer([this](uint32_t id) { OnTimer(id); });
}

int COrvaneDlg::RunModal() {
    if (!OnInitDialog())
        return 0;
    if (m_endRequested) // ended during initialisation
        return m_modalResult;
    QEventLoop loop;
    m_modalLoop = &loop;
    m_modalResult = loop.exec(QEventLoop::DialogExec);
    m_modalLoop = nullptr;
    return m_modalResult;
}

bool COrvaneDlg::OnInitDialog() {
    CBaseDialog::OnInitDialog();
    g_MainWindowObject = this;
    MainBridgeLink().Attach(m_bridge.Core());
    SetMainWindowLink(&MainBridgeLink());
    m_applyPending = 0;

    BuildUserPaths();
    // After the per-user paths: the threads' connection handling reads them.
    if (m_startDeviceThreads)
        StartDeviceThreads();

    // No taskbar button while hidden; the tag makes this the window another
    // copy of the program talks to.
    setWindowFlag(Qt::Tool, true);
    m_windowTag = MAIN_WINDOW_TAG;
    m_instanceSocket.Open();

    m_trayIconId = ICON_NO_KEYBOARD;
    m_bridge.PostMessage(UM_INIT, TAG_INIT, 0);
    m_bridge.SendMessage(UM_LANG, TAG_LANG, 0);
    m_bridge.SetTimer(PREVIEW_TIMER, 100);
    return true;
}

void COrvaneDlg::OnTimer(uint32_t timerId) {
    if (timerId == PREVIEW_TIMER) {
        m_bridge.KillTimer(PREVIEW_TIMER);
        m_bridge.SetTimer(PREVIEW_TIMER, 50);
    }
}

void COrvaneDlg::ShowMainWindow() {
    setWindowFlag(Qt::Tool, false);
    showNormal();
    raise();
    activateWindow();
}

void COrvaneDlg::HideMainWindow() {
    hide();
    setWindowFlag(Qt::Tool, true);
}

void COrvaneDlg::OnOK() { HideMainWindow(); }

void COrvaneDlg::OnCancel() { HideMainWindow(); }

void COrvaneDlg::closeEvent(QCloseEvent* event) {
    // The window manager's close only hides, like Cancel: the program lives on in the tray.
    event->ignore();
    HideMainWindow();
}

void COrvaneDlg::CloseProgram() {
    HideMainWindow();
    RunShutdown();
    ReleasePictures();
    m_endRequested = true;
    m_modalResult = QDialog::Rejected;
    if (m_modalLoop)
        m_modalLoop->exit(QDialog::Rejected);
}

void COrvaneDlg::RunShutdown() {
    if (m_shutdownDone)
        return;
    m_shutdownDone = true;
    InstanceMutex().Close();
    m_instanceSocket.Close();
    m_trayIconId = 0;
    m_applyPending = 0;
    m_bridge.KillTimer(PREVIEW_TIMER);
}

} // namespace orvane
