#pragma once
// The keyboard picture of the main window: one image button per key (the 106
// key slots, Fn and the nine G keys) plus the six flip-row buttons and the
// hidden button 1057. A click paints the key while the lighting switch is on
// and opens the key dialog while it is off; the G keys always open it. The
// buttons show the preview's colours in their outline mode and the key
// assignments as tooltips and checked looks.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <QRect>
#include <string>

#include "dialogs/CompositeWindow.h"
#include "model/KeyTooltip.h"
#include "model/LightingModel.h"
#include "model/PreviewLights.h"

class QWidget;

namespace orvane {

class CFlipRowFaces;
class CKeyFocusGroup;
class CMainSkinFaces;
class CPngButton;

// What the key dialog needs to open for a button.
struct CompositeRequest {
    int buttonId = 0;
    int keyIndex = 0;       // key table index, 256.. for the G keys
    bool macroOnly = false; // opened for G9: only the macro tab
    QRect buttonOnScreen;   // where the dialog places itself beside the key
};

class CKeyboardView final : public CKeyLights, public CKeyButtonView, public CCompositeWindow {
  public:
    static constexpr int kFnButtonId = 1174;
    static constexpr int kMacroOnlyButtonId = 1143; // G9
    static constexpr int kHiddenButtonId = 1057;
    static constexpr int kFirstFlipRowId = 1016; // 1016-1021
    static constexpr int kFlipRowCount = 6;

    // Creates and places every button of the picture on `window`.
    CKeyboardView(QWidget* window, const CMainSkinFaces& faces, const std::string& skinFile,
                  CLightingModel& lighting = TheLighting());
    ~CKeyboardView() override;
    CKeyboardView(const CKeyboardView&) = delete;
    CKeyboardView& operator=(const CKeyboardView&) = delete;

    // Any button of the picture by control id; null for other ids.
    CPngButton* Button(int controlId) const;
    // The key a button stands for; nullopt for 1016-1021 and 1057.
    static std::optional<KeyButton> KeyButtonOfControl(int controlId);

    // ------------------------------------------------------------ commands
    // A click on any button of the picture, or 1007 turned into G9, by id.
    void OnCommand(int controlId);
    // A key button, 1016-1021, 1057 or Fn.
    void OnKeyClicked(int controlId);
    void OnGKeyClicked(int controlId);
    // "FUNC_MACRO" (1007): the key dialog of G9 in its macro-only form.
    void OnMacroButton();

    // Opens the key dialog for a button: -1 for a button without a key, 0
    // otherwise. The button wears the editing look while the dialog runs.
    int OpenCompositeForButton(int controlId);
    // Runs the key dialog modally instead of the dialog itself (tests).
    using CompositeRunner = std::function<void(const CompositeRequest&)>;
    void SetCompositeRunner(CompositeRunner runner) { m_runComposite = std::move(runner); }
    int EditingButton() const { return m_editing; }
    // The button's own faces again (the dialog's close-up).
    void RestoreKeyFaces(int controlId);

    // Paints one key in mode 20; buttons without an LED do nothing
    // (kLightingNothingToSend).
    int PaintKey(int controlId);
    // The lighting-mode list's shown mode; painting only acts while it is 20.
    void SetListModeQuery(std::function<int()> query) { m_listMode = std::move(query); }

    // UM_LED: the G keys carrying an assignment show checked.
    void OnLedMessage(uintptr_t wParam);
    // Every key, G key and Fn to colour 0, unlit and unchecked.
    void ClearPreview();
    // One frame of the preview; the window's PREVIEW_TIMER calls it between
    // stopping and restarting the timer.
    void PreviewFrame();
    // The key buttons show their key assignments (active profile).
    void RefreshTooltips();

    // The flip setting: F1-F4 give way to the six flip-row buttons.
    void ApplyFlip(bool flipped);
    void SetGKeyBank(bool set) { m_gKeyBank = set; }
    // The window enables Apply when the working configuration changed.
    void SetConfigurationChangedHandler(std::function<void()> handler) { m_changed = std::move(handler); }

    // The picture's buttons as one Tab stop walked with the arrow keys.
    CKeyFocusGroup* FocusGroup() const { return m_focusGroup; }
    // The name a button of the picture goes by ("Esc", "G3", "Fn").
    static std::string OwnKeyName(int controlId);

    // How many outline changes reached the buttons (each one repaints).
    uint64_t RepaintCount() const { return m_repaints; }

    // CKeyLights
    void SetKeyLight(const KeyButton& button, Colour colour, bool lit) override;
    // CKeyButtonView
    bool GKeyBankSet() const override { return m_gKeyBank; }
    void SetKeyButtonTooltip(int controlId, const std::string& text, bool checked) override;
    void MarkConfigurationChanged() override;
    // CCompositeWindow: what the key dialog needs of the picture.
    QWidget* DialogParent() override { return m_window; }
    QRect ButtonScreenRect(int buttonId) override;
    void SetButtonEditing(int buttonId, bool editing) override;
    CKeyButtonView& KeyButtons() override { return *this; }

  private:
    CPngButton* MakeButton(QWidget* window, int controlId, const std::string& skinKey);
    void GroupKeys();

    QWidget* m_window;
    const CMainSkinFaces& m_faces;
    std::string m_skinFile;
    CLightingModel& m_lighting;
    std::map<int, CPngButton*> m_buttons;  // owned by the window
    std::map<int, std::string> m_skinKeys; // faces to restore after editing
    std::array<CPngButton*, kKeyButtonCount> m_lightButtons{};
    struct Shown {
        Colour colour = 0;
        bool lit = false;
    };
    std::array<Shown, kKeyButtonCount> m_shown{};
    CompositeRunner m_runComposite;
    std::function<int()> m_listMode;
    std::function<void()> m_changed;
    int m_editing = -1;
    std::atomic<bool> m_gKeyBank{false}; // read by the keyboard read's worker too
    uint64_t m_repaints = 0;
    std::unique_ptr<CFlipRowFaces> m_flipRowFaces;
    CKeyFocusGroup* m_focusGroup = nullptr; // owned by the window
};

} // namespace orvane
