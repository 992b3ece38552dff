#include "app/gui/OrvaneApp.h"

#include <iostream>
#include <memory>
#include <QWidget>

#include "app/CommandLine.h"
#include "app/gui/ProgramOptions.h"
#include "app/gui/TerminationSignals.h"
#include "app/StartupEnvironment.h"
#include "mainwnd/COrvaneDlg.h"
#include "services/WindowMessages.h"
#include "sim/SimInstall.h"
#include "ui/ProgramLook.h"

namespace orvane {

COrvaneApp::COrvaneApp(int& argc, char** argv, std::vector<std::string> args)
    : QApplication(argc, argv), m_args(std::move(args)) {
    // The window hides and message boxes come and go while nothing else is
    // shown; none of that may end the program.
    setQuitOnLastWindowClosed(false);
    setApplicationName("Orvane");
    setApplicationVersion(QStringLiteral(ORVANE_VERSION));
    ApplyProgramLook(*this);
}

bool COrvaneApp::InitInstance() {
    ApplySimulateOption(m_args);
    const ProgramOptions options = ParseProgramOptions(m_args);
    PrepareStartupEnvironment();

    auto window = std::make_unique<COrvaneDlg>(m_args);
    if (window->KillFailed()) {
        std::cerr << "orvane: /Kill: the running copy did not close\n";
        m_exitCode = 1;
    }
    if (!window->EndProcessRequested()) {
        // Only the copy that runs touches the keyboard, simulated or real.
        InstallSimulatedKeyboardIfRequested();
        if (ApplyProgramOptions(options)) {
            window->EnableDeviceThreads();
            COrvaneDlg* target = window.get();
            CTerminationSignals termination([target] { target->Bridge().PostMessage(UM_KILL, TAG_KILL, 0); });
            window->RunModal();
            SaveSimulatedState(options);
        } else {
            m_exitCode = 2; // a refused state file: nothing ran, nothing saved
        }
    }

    // The platform's whole-screen repaint after the window has gone: here
    // every remaining top-level widget is asked to repaint.
    for (QWidget* w : topLevelWidgets())
        w->update();
    window.reset();
    return false;
}

} // namespace orvane
