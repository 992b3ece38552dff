#pragma once
// The program's one main window. The application object constructs it (the
// constructor settles the single instance), runs it for the life of the
// process and destroys it. It starts hidden; UM_OPEN shows it, UM_KILL ends
// the program through the shutdown routine.
#include <QEventLoop>
#include <cstdint>
#include <string>
#include <vector>

#include "app/InstanceCheck.h"
#include "mainwnd/QtPrompt.h"
#include "ui/BaseDialog.h"
#include "ui/InstanceSocket.h"
#include "ui/MessageBridge.h"

namespace orvane {

class COrvaneDlg : public CBaseDialog {
    Q_OBJECT
public:
    // `args` are the arguments after the program name.
    explicit COrvaneDlg(const std::vector<std::string>& args, CInstanceSystem& system = DefaultInstanceSystem(),
                        QWidget* parent = nullptr);
    ~COrvaneDlg() override;

    // True when the instance check has ended this copy: the caller then ends
    // the process (exit code 0) without running the window.
    bool EndProcessRequested() const { return m_endProcess; }
    // The program's own window watches the keyboard from initialisation on;
    // a window built by a test does not start the process-long threads.
    void EnableDeviceThreads() { m_startDeviceThreads = true; }

    // The modal run: initialisation, then the window's own loop until the
    // shutdown ends it. Hiding the window does not end it.
    int RunModal();
    bool OnInitDialog() override;
    void OnOK() override;     // hides (Apply comes with the transfer layer)
    void OnCancel() override; // only hides

    // Hides the window, runs the shutdown routine and ends the modal run.
    void CloseProgram();
    // UM_OPEN and the tray's Open.
    void ShowMainWindow();
    void HideMainWindow();

    CMessageBridge& Bridge() { return m_bridge; }
    uint32_t WindowTag() const { return m_windowTag; }
    int TrayIconId() const { return m_trayIconId; }
    bool ApplyPending() const { return m_applyPending != 0; }
    bool ShutdownDone() const { return m_shutdownDone; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void RegisterMessages();
    void OnTimer(uint32_t timerId);
    void RunShutdown();

    CMessageBridge m_bridge;
    CInstanceSocket m_instanceSocket;
    CQtPrompt m_prompt;
    QEventLoop* m_modalLoop = nullptr;
    int m_modalResult = 0;
    bool m_endProcess = false;
    bool m_startDeviceThreads = false;
    bool m_shutdownDone = false;
    bool m_endRequested = false;
    uint32_t m_windowTag = 0;
    int m_trayIconId = 0;
    int m_applyPending = 0;
};

// The window object and whether it is the one the process runs; null before
// initialisation and after destruction.
COrvaneDlg* MainWindowObject();

} // namespace orvane
