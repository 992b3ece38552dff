#include "mainwnd/KeyboardAndPanel.h"

#include "mainwnd/COrvaneDlg.h"
#include "mainwnd/MainWindowIds.h"
#include "mainwnd/MainWindowParts.h"
#include "services/PathTable.h"
#include "services/WindowMessages.h"
#include "ui/GuiThread.h"
#include "ui/SkinColorBtn.h"

namespace orvane {

CKeyboardAndPanel::~CKeyboardAndPanel() {
    if (writes) TheLighting().SetSender(nullptr);
}

std::unique_ptr<CKeyboardAndPanel> BuildKeyboardAndPanel(COrvaneDlg& window) {
    auto parts = std::make_unique<CKeyboardAndPanel>();
    // The window never waits for the keyboard: lighting writes go to a worker
    // and their results come back on the GUI thread.
    parts->writes = std::make_unique<CLightingWriteQueue>(
        DeviceLightingPort(), [](const std::function<void()>& answer) { RunOnGuiThread(answer); });
    TheLighting().SetSender(parts->writes.get());
    parts->keys = std::make_unique<CKeyboardView>(&window, *window.Faces(), Paths().MainSkinFile);
    parts->panel =
        std::make_unique<CLightingPanel>(&window, *parts->keys, Paths().MainSkinFile, Paths().SkinFolder);
    CKeyboardView* keys = parts->keys.get();
    CLightingPanel* panel = parts->panel.get();

    panel->SetLightingHost(&window);
    panel->SetReportRateButtons({window.Button(IDC_REPORT_1), window.Button(IDC_REPORT_2),
                                 window.Button(IDC_REPORT_3), window.Button(IDC_REPORT_4)});
    keys->SetConfigurationChangedHandler([&window] { window.SetApplyPending(true); });

    CMainWindowParts& hooks = window.Parts();
    hooks.keyLights = keys;
    hooks.keyButtons = keys;
    hooks.keyCommand = [keys](int id) { keys->OnCommand(id); };
    hooks.applyFlip = [keys](bool flipped) { keys->ApplyFlip(flipped); };
    hooks.panelCommand = [panel](int id) { panel->OnCommand(id); };
    hooks.slider = [panel](uintptr_t w, intptr_t l) { panel->OnSliderMessage(w, l); };
    hooks.previewTick = [keys] { keys->PreviewFrame(); };
    hooks.busyPicture = [panel](int frame) {
        if (frame >= 0) panel->ShowBusyFrame(frame + 1);
        panel->ShowBusyIndicator(frame >= 0);
    };
    hooks.applyTexts = [panel](int index) { panel->ApplyTexts(index); };
    hooks.showSwitchImage = [panel](bool on) { panel->ShowSwitchImage(on); };
    hooks.showPanelControls = [panel](int mode) { panel->ShowPanelControls(mode); };
    hooks.hidePanelControls = [panel] { panel->HidePanelControls(); };
    hooks.setPanelDefaults = [panel] { panel->SetLightingPanelDefaults(); };
    hooks.refillColourSets = [panel] { panel->RefillColourSets(); };
    hooks.turnSwitchOff = [panel] { panel->TurnLightingSwitchOff(); };
    hooks.refreshPanel = [panel] { panel->RefreshLightingPanel(); };
    window.Bridge().OnMessage(UM_COLOUR_CHOSEN, [panel](uintptr_t w, intptr_t l) -> intptr_t {
        return panel->OnColourMessage(w, l);
    });
    window.Bridge().OnMessage(UM_LED, [keys](uintptr_t w, intptr_t) -> intptr_t {
        keys->OnLedMessage(w);
        return 0;
    });
    return parts;
}

} // namespace orvane
