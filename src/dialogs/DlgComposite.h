#pragma once
// The key-assignment dialog: what one key (or G key) of the active profile
// does. Key tab (another key, a modifier, a mouse button or the wheel),
// Macro tab, Media tab, Function tab; the Key tab also disables the key, and
// Clear gives the key back its own function. Apply and OK store the choice in the working configuration and
// enable the main window's Apply.
#include <cstdint>
#include <optional>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/CompositeImages.h"
#include "dialogs/CompositeKeyCapture.h"
#include "dialogs/EditorOpenCounts.h"
#include "dialogs/MacroTab.h"
#include "ui/BaseDialog.h"
#include "ui/ColorStatic.h"
#include "ui/MessageBridge.h"
#include "ui/PngButton.h"

namespace orvane {

class CCompositeWindow;

// Tab kinds: the shown tab and the kind of record Apply stores.
constexpr uint16_t TAB_CLEARED = 0;  // shown on the Key tab
constexpr uint16_t TAB_DISABLED = 1; // shown on the Key tab with its box ticked
constexpr uint16_t TAB_KEY = 2;
constexpr uint16_t TAB_MACRO = 4;
constexpr uint16_t TAB_MEDIA = 7;
constexpr uint16_t TAB_FUNCTION = 8;

constexpr int kMacroOnlyButtonId = 1143;
constexpr int kDisableBoxId = 1204; // the Key tab's "disable this key" choice
constexpr int kMouseRowCount = 5;
// Scan codes of the mouse drop-down's rows: left, right, middle, wheel up, down.
constexpr ScanCode kMouseRowCodes[kMouseRowCount] = {0x171, 0x172, 0x173, 0x161, 0x162};

class Orvane_DlgComposite : public CBaseDialog {
    Q_OBJECT
  public:
    explicit Orvane_DlgComposite(QWidget* parent);
    ~Orvane_DlgComposite() override;

    // Inputs set before each run.
    void SetTarget(CCompositeWindow* window, int buttonId, uint16_t keyIndex, bool macroOnly);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Controls by id (the dialog's own and the Macro tab's).
    QWidget* Control(int id) const;
    CPngButton* Button(int id) const;
    CMessageBridge& Bridge() { return m_bridge; }

    // Commands, as the controls send them.
    void OnCommand(int id);
    // Stores the choice; false when it could not (active profile unknown).
    bool Apply();

    uint16_t TabKind() const { return m_tabKind; }
    int CapturedScanCode() const { return m_captured; }
    bool ApplyEnabled() const { return m_changed != 0; }
    bool MacroOnly() const { return m_macroOnly != 0; }
    uint16_t KeyIndex() const { return m_keyIndex; }
    const CKeyCapture& Capture() const { return m_capture; }
    CMacroTab& MacroTab() { return m_macroTab; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void CreateControls();
    void SetReadingTabOrder();
    void LayoutControls();
    void CreateFonts();
    void FillLists();
    void ApplyTexts(int languageIndex);
    void ShowTab(uint16_t kind, bool fromRecord);
    void ShowTabControls(uint16_t kind);
    void SelectTab(uint16_t kind);
    void Clear();
    void SetKeyboardChoice(bool keyboard);
    // The disable box ticked: neither keyboard nor mouse is chosen.
    void SetDisabledChoice(bool disabled);
    void FocusKeyField();
    void TakeCapturedKey(ScanCode code);
    void PlaceBesideButton();
    void EnableApply(bool enabled);
    void CloseUp();
    void OpenHelp();

    CCompositeWindow* m_window = nullptr;
    CMessageBridge m_bridge;
    CCompositeImages m_images;
    CKeyCapture m_capture;
    CMacroTab m_macroTab;
    std::optional<CCompositeOpenScope> m_openScope;

    CPngButton* m_tabKey;
    CPngButton* m_tabMacro;
    CPngButton* m_tabMedia;
    CPngButton* m_tabFunction;
    CPngButton* m_clear;
    CPngButton* m_mask;
    CPngButton* m_title;
    CPngButton* m_osk;
    CPngButton* m_ok;
    CPngButton* m_cancel;
    QPushButton* m_apply;
    QLineEdit* m_keyEdit;
    QCheckBox* m_kb;
    QCheckBox* m_mou;
    QCheckBox* m_disable;
    ColorStatic* m_disableLabel;
    ColorStatic* m_kbLabel;
    ColorStatic* m_mouLabel;
    QComboBox* m_mouse;
    ColorStatic* m_keyPrompt;
    QComboBox* m_media;
    ColorStatic* m_mediaPrompt;
    QComboBox* m_function;
    ColorStatic* m_functionPrompt;
    ColorStatic* m_heading;

    uint16_t m_keyIndex = 0;
    int m_buttonId = 0;
    int m_macroOnly = 0;
    uint16_t m_tabKind = TAB_CLEARED;
    int m_captured = 0;
    int m_recordValue = 0;
    uint16_t m_recordKind = 0;
    int m_changed = 0;
    int m_fontsCreated = 0;
};

} // namespace orvane
