#pragma once
// The Macro tab of the key-assignment dialog: the dialog's own copies of
// every macro (named in an editable drop-down), the shown macro's actions in
// a report list with in-place editing, and recording from the keyboard. The
// dialog hands over at load, show tab, Apply (store list) and close-up.
#include <cstdint>
#include <functional>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <string>
#include <vector>

#include "app/SkinReaders.h"
#include "dialogs/MacroRecorder.h"
#include "model/MacroRecord.h"
#include "ui/ColorStatic.h"
#include "ui/PngButton.h"
#include "ui/ReportCtrl.h"

namespace orvane {

class CKeyButtonView;

constexpr int kMacroRecordDelayMs = 50;  // every gap with the record-delay option off
constexpr int kReleaseOnlyPressMs = 2;   // the press put before a release-only key's release
constexpr int kMacroDelayStepMs = 10;    // the keyboard keeps delays in tens of milliseconds
constexpr int kPickableKeyCount = 106;   // key ids 0..105 of the key drop-down
constexpr int kMacroNameReadChars = 259; // what a rename reads of the typed text

// How a row joins the action list.
struct ActionRowMode {
    bool recorded = false;    // from the recorder: record-delay rule, selected and shown
    bool markChanged = false; // enables the dialog's Apply
    bool afterSelection = false;
    bool keepDelay = false; // the row keeps its own delay (showing a stored macro)
};

class CMacroTab {
  public:
    using ClockFn = std::function<int64_t()>; // milliseconds, monotonic

    // Controls are children of `dialog`; `enableApply` marks the dialog changed.
    CMacroTab(QWidget* dialog, std::function<void()> enableApply);
    ~CMacroTab();
    CMacroTab(const CMacroTab&) = delete;
    CMacroTab& operator=(const CMacroTab&) = delete;

    // Places every control by its skin key; image buttons take `faces`
    // (the macro image set).
    void Layout(const std::string& skinFile, const SkinFaceSet& faces);
    // Action list columns, record-delay box from the option, loop count "1".
    void SetUp();
    void SetFonts(const QFont& listFont, const QFont& comboFont);
    void ApplyTexts(int languageIndex);
    void SetVisible(bool visible);
    // The tab's controls that Tab reaches, in reading order: name and its
    // buttons, the action list and its buttons, repeat, record delays.
    std::vector<QWidget*> TabChain() const;

    // Copies every stored macro into the dialog's list.
    void LoadList();
    // With `fromRecord` the macro whose id is `recordValue` is selected (the
    // first when none has it); otherwise, the first time after loading and
    // only for a record value of 0, the first one.
    void ShowTab(bool fromRecord, int recordValue);
    // Commands 1017, 1018, 1020-1027; false for any other id.
    bool OnCommand(int id);

    void StartRecording();
    void StopRecording();
    bool Recording() const { return m_recorder.Active(); }

    // Apply: finishes cell editing, stops recording, stores the shown macro
    // and hands the dialog's list to the store (keys that play a macro that
    // is gone turn back to their default). False when the store refused it.
    bool StoreList(CKeyButtonView& view);
    // Close-up: every copy and row is dropped; unapplied edits are lost.
    void FreeAll();

    bool Empty() const { return m_list.empty(); }
    int Selected() const { return m_selected; }
    // The loop-count edit as a repeat count, 1-255.
    long long LoopCount() const;

    // For the dialog and for tests.
    QComboBox* MacroCombo() const { return m_combo; }
    QLineEdit* LoopEdit() const { return m_loops; }
    CReportCtrl* Actions() const { return m_actions; }
    QCheckBox* RecordDelayBox() const { return m_recordDelay; }
    CPngButton* Button(int id) const;
    const MacroList& List() const { return m_list; }
    const std::vector<MacroAction>& Rows() const { return m_rows; }
    CMacroRecorder& Recorder() { return m_recorder; }
    void SetClock(ClockFn clock) { m_clock = std::move(clock); }
    // Adds a row by the rules of `mode`; false when the list is full.
    bool AddActionRow(MacroAction action, const ActionRowMode& mode);

  private:
    // List and names (MacroTab.cpp).
    void Select(int position);
    void ShowMacro();
    void StoreShownMacro();
    void UpdateButtons();
    void OnSelectionChange(int position);
    void AddMacro();
    void AddMacroNamed(const std::u16string& typed, int position);
    void DeleteMacro();
    void Rename(const QString& typed);
    void OnLoopCountEdited(const QString& text);
    void SetLoopText(const QString& text);
    std::u16string GeneratedName(int skip);
    bool NameClashes(const QString& name, int skip) const;
    void SetComboItem(int position, const QString& text);

    // Action rows and cell editing (MacroTabActions.cpp).
    void SetRowCells(int row, const QString& keyName);
    void FillRows(const MacroRecord& macro);
    void DeleteAction();
    void ClearActions();
    void MoveAction(int id);
    int BeginCellEdit(int row, int column, unsigned* style);
    int ValidateDelay(int row, QString* text);
    int EndCellEdit(int row, int column, bool keep);

    // Recording (MacroTabRecording.cpp).
    bool OnRecordedKey(const RecordKey& key);
    void AddRecorded(ScanCode code, uint16_t transition, int64_t delay);
    void SetRecordingLook(bool recording);

    std::function<void()> m_enableApply;
    QComboBox* m_combo;
    QLineEdit* m_loops;
    CReportCtrl* m_actions;
    QCheckBox* m_recordDelay;
    ColorStatic* m_nameLabel;
    ColorStatic* m_loopsLabel;
    ColorStatic* m_recordDelayLabel;
    std::vector<CPngButton*> m_buttons; // 1017, 1018, 1020-1026
    CMacroRecorder m_recorder;
    ClockFn m_clock;

    MacroList m_list;
    std::vector<MacroAction> m_rows; // the action list's rows, in order
    int m_selected = -1;
    int m_nameCounter = 0;
    bool m_shownSinceLoad = false;
    bool m_updatingCombo = false;
    bool m_settingLoops = false; // the tab itself writes the loop-count edit
    int64_t m_lastTick = 0;
    uint32_t m_lastSuperVk = 0; // the Super key last pressed while recording
};

} // namespace orvane
