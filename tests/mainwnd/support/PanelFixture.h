#pragma once
// A plain skinned dialog with the main skin carrying the keyboard picture and
// the lighting panel, driven against a lighting model whose keyboard writes
// are recorded; per-user files live in a temporary home.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <QApplication>
#include <string>
#include <vector>

#include "mainwnd/KeyboardView.h"
#include "mainwnd/LightingPanel.h"
#include "mainwnd/MainSkinFaces.h"
#include "mainwnd/support/WindowTestDoubles.h"
#include "model/LightingModel.h"
#include "model/UserData.h"
#include "platform/Paths.h"
#include "services/PathTable.h"
#include "services/WindowMessages.h"
#include "support/RecordingLightingPort.h"
#include "support/TempDir.h"
#include "support/TestApp.h"
#include "ui/BaseDialog.h"
#include "ui/MessageBridge.h"
#include "ui/SkinColorBtn.h"

namespace orvane::testing {

using CRecordingPort = CRecordingLightingPort;

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
    }
    void TearDown() override {
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
    bool Shown(int id) const { return !panel->Control(id)->isHidden(); }

    CTempHome home;
    CRecordingPort port;
    CLightingModel lighting{port};
    std::unique_ptr<CBaseDialog> dialog;
    std::unique_ptr<CMainSkinFaces> faces;
    std::unique_ptr<CKeyboardView> keys;
    std::unique_ptr<CLightingPanel> panel;
    CMessageBridge* bridge = nullptr; // owned by the dialog
};

} // namespace orvane::testing
