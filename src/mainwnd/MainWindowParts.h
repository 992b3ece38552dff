#pragma once
// The keyboard picture, the lighting panel and the editor dialogs are
// classes of their own, built with the window. The window reaches them only through these hooks,
// set where the window constructs them (COrvaneDlg::ConstructParts); a hook
// left empty does nothing, so the window runs, and is tested, without them.
#include <cstdint>
#include <functional>

namespace orvane {

class CKeyLights;
class CKeyButtonView;

struct CMainWindowParts {
    // ------------------------------------------------ the keyboard picture
    // Colours of the preview and of painted keys; null: kept off screen.
    CKeyLights* keyLights = nullptr;
    // Tooltips and checked looks of the key buttons; null: nothing shown.
    CKeyButtonView* keyButtons = nullptr;
    // A click on a key button, G key, Fn or 1007 (already turned into G9).
    std::function<void(int controlId)> keyCommand;
    // The Flip setting changed (0 or 1): F1-F4 against the six extra buttons.
    std::function<void(bool flipped)> applyFlip;

    // --------------------------------------------------- the lighting panel
    // A command of a panel control (1145-1198, 1204, 1207-1218).
    std::function<void(int controlId)> panelCommand;
    // UM_SLIDER as the slider sent it.
    std::function<void(uintptr_t wParam, intptr_t lParam)> slider;
    // One frame of the preview (PREVIEW_TIMER, switch on, window shown).
    std::function<void()> previewTick;
    // The busy picture 1177: frame 0-9 shown, -1 hidden.
    std::function<void(int frame)> busyPicture;
    // The panel's labels and mode names in language `index` (UM_LANG).
    std::function<void(int index)> applyTexts;
    // CLightingHost and CTransferHost calls about the panel.
    std::function<void(bool on)> showSwitchImage;
    std::function<void(int mode)> showPanelControls;
    std::function<void()> hidePanelControls;
    std::function<void()> setPanelDefaults;
    std::function<void()> refillColourSets;
    std::function<void()> turnSwitchOff;
    // After every read of the lighting records.
    std::function<void()> refreshPanel;

    // ---------------------------------------------------- the editor dialogs
    // Runs the profile manager modally (1005).
    std::function<void()> runProfileManager;
    // Cancels the profile manager, then the key dialog, where open.
    std::function<void()> cancelEditors;
    // Makes `profile` the keyboard's active profile, asking what must be
    // asked; nonzero on success. Empty: switches without asking.
    std::function<int(int profile)> selectProfile;
};

} // namespace orvane
