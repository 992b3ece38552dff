#pragma once
// The real main window under test: the one application object, the shipped
// skins beside the built program, a home of its own, a system where no
// other copy runs and the recording prompt; connected, the simulated
// keyboard as the connection monitor leaves it.
#include <gtest/gtest.h>

#include <optional>
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <string>
#include <vector>

#include "app/InstanceCheck.h"
#include "device/DeviceCommands.h"
#include "device/DeviceDiscovery.h"
#include "device/HidBackend.h"
#include "mainwnd/COrvaneDlg.h"
#include "mainwnd/MainTrayIcon.h"
#include "platform/Paths.h"
#include "services/PathTable.h"
#include "services/Prompt.h"
#include "sim/SimKeyboard.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "support/TestApp.h"
#include "transfer/BusyIndicator.h"
#include "transfer/DeviceInfo.h"

namespace orvane::testing {

class CAloneSystem final : public CInstanceSystem {
  public:
    pid_t FindOtherInstance() override { return 0; }
    void SendToInstance(pid_t, uint32_t, uintptr_t) override {}
    bool WaitForInstanceEnd(pid_t) override { return true; }
    CInstanceMutex::Result OpenOrCreateMutex() override {
        return InstanceMutex().OpenOrCreate(InstanceLockPath());
    }
    void StartCompanion() override {}
};

// Runs the event loop for `ms`.
inline void Pump(int ms = 0) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// What every window test needs before it makes a window.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TestApp();
        ASSERT_TRUE(BuildPathTable(std::string(ORVANE_BIN_DIR) + "/orvane"));
        ASSERT_TRUE(FileExists(Paths().MainSkinFile)) << "build the skins first";
    }
    CTempHome home;
    CAloneSystem system;
};

// The window made and initialised as a start with /Start leaves it.
class MainWindow : public WindowTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(WindowTest::SetUp());
        window.emplace(std::vector<std::string>{"/Start"}, system);
        ASSERT_FALSE(window->EndProcessRequested());
        ASSERT_TRUE(window->OnInitDialog());
        window->SetKeyboardPresence([this] { return keyboard; });
        window->Tray()->SetStatusNotifierForTests(0);
        SetPrompt(&prompt);
        Pump(); // UM_INIT
    }
    void TearDown() override {
        if (!window) return;
        window->CloseProgram();
        WaitForBusyIndicator();
        window.reset();
        Pump();
    }
    void Key(QWidget* target, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }

    CRecordingPrompt prompt;
    bool keyboard = true;
    std::optional<COrvaneDlg> window;
};

// The window over the simulated keyboard, opened as the connection monitor
// opens it.
class ConnectedWindow : public MainWindow {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(MainWindow::SetUp());
        SetHidBackend(&sim);
        ASSERT_TRUE(OpenCommandInterface(g_HidDevice));
        g_DeviceOpen.store(1);
        ASSERT_EQ(ReadConnectionInfo(), DEV_OK);
    }
    void TearDown() override {
        g_DeviceOpen.store(0);
        g_HidDevice.Close();
        SetHidBackend(nullptr);
        MainWindow::TearDown();
    }

    CSimKeyboard sim{128};
};

} // namespace orvane::testing
