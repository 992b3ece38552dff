#pragma once
// A plain skinned dialog with the main skin carrying the keyboard picture and
// the lighting panel, driven against a lighting model whose keyboard writes
// are recorded; per-user files live in a temporary home, and messages to the
// user are kept.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <QApplication>
#include <string>
#include <vector>

#include "device/ReportExchange.h"
#include "mainwnd/KeyboardView.h"
#include "mainwnd/LightingPanel.h"
#include "mainwnd/MainSkinFaces.h"
#include "model/LightingModel.h"
#include "model/LightingWriteQueue.h"
#include "model/UserData.h"
#include "platform/Paths.h"
#include "services/PathTable.h"
#include "services/WindowMessages.h"
#include "support/RecordingLightingPort.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "support/TestApp.h"
#include "ui/BaseDialog.h"
#include "ui/GuiThread.h"
#include "ui/MessageBridge.h"
#include "ui/SkinColorBtn.h"

namespace orvane::testing {

using CRecordingPort = CRecordingLightingPort;
using Calls = std::vector<std::string>;

// Every mode, each in its own slot.
inline const std::vector<uint8_t> kAllModes = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                               11, 12, 13, 14, 15, 16, 17, 18, 19, 20};

// Counts the mouse presses that reach a widget.
class CPressCounter final : public QObject {
  public:
    int presses = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        presses += event->type() == QEvent::MouseButtonPress ? 1 : 0;
        return false;
    }
};

class PanelFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        orvane::testing::TestApp();
        ASSERT_TRUE(BuildPathTable(std::string(ORVANE_BIN_DIR) + "/orvane"));
        ASSERT_TRUE(FileExists(Paths().MainSkinFile)) << "build the skins first";
        BuildUserPaths();
        EnsureUserFolder();
        lighting.SetSettingsFile(home.Data() + "/zaru.ini");
        lighting.SetPaintStore(&UserDataPaintStore());
        dialog = std::make_unique<CBaseDialog>(nullptr, Paths().MainSkinFile, Paths().SkinFolder);
        dialog->OnInitDialog();
        faces = std::make_unique<CMainSkinFaces>(dialog->size());
        keys = std::make_unique<CKeyboardView>(dialog.get(), *faces, Paths().MainSkinFile, lighting);
        panel = std::make_unique<CLightingPanel>(dialog.get(), *keys, Paths().MainSkinFile,
                                                 Paths().SkinFolder, lighting);
        panel->SetReselectActiveProfile([] { return true; });
        bridge = new CMessageBridge(dialog.get());
        bridge->OnMessage(UM_SLIDER,
                          [this](uintptr_t w, intptr_t l) { return panel->OnSliderMessage(w, l); });
        bridge->OnMessage(UM_COLOUR_CHOSEN,
                          [this](uintptr_t w, intptr_t l) { return panel->OnColourMessage(w, l); });
        SetPrompt(&prompt);
    }
    void TearDown() override {
        lighting.SetSender(nullptr);
        queue.reset();
        g_DeviceOpen.store(0);
        g_HidDevice.Close();
        panel.reset();
        keys.reset();
        dialog.reset();
    }

    // The keyboard offers `modes` (in slot order) and its record holds `record`.
    void Connect(std::vector<uint8_t> modes, std::vector<uint8_t> record) {
        modes.resize(kModeSlotCount);
        lighting.SetDeviceModes(modes);
        record.resize(kLightingRecordSize);
        lighting.SetLightingArea(record);
        lighting.DecodeCurrentProfile(SwitchFromSettings::ExactlyStored);
        panel->RefreshLightingPanel();
    }
    void SwitchOn() {
        panel->OnSwitchClicked();
        ASSERT_TRUE(lighting.SwitchOn());
        port.Take();
    }
    // From here on writes go through a queue as the window's do, its
    // answers come back on the GUI thread, and the keyboard counts as open.
    void QueueWrites() {
        queue = std::make_unique<CLightingWriteQueue>(
            port, [](const std::function<void()>& answer) { RunOnGuiThread(answer); });
        lighting.SetSender(queue.get());
        g_DeviceOpen.store(1);
    }
    bool Shown(int id) const { return !panel->Control(id)->isHidden(); }

    CTempHome home;
    CRecordingPort port;
    CLightingModel lighting{port};
    std::unique_ptr<CLightingWriteQueue> queue;
    CRecordingPrompt prompt;
    std::unique_ptr<CBaseDialog> dialog;
    std::unique_ptr<CMainSkinFaces> faces;
    std::unique_ptr<CKeyboardView> keys;
    std::unique_ptr<CLightingPanel> panel;
    CMessageBridge* bridge = nullptr; // owned by the dialog
};

} // namespace orvane::testing
