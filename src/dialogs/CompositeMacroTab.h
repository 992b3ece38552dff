#pragma once
// The Macro tab of the key-assignment dialog: its controls, the dialog's own
// copies of every macro, and the points where the dialog hands over to it
// (load the list, show the tab, store the list at Apply, free all at close).
#include <functional>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <string>
#include <vector>

#include "dialogs/CompositeImages.h"
#include "model/MacroRecord.h"
#include "ui/ColorStatic.h"
#include "ui/PngButton.h"
#include "ui/ReportCtrl.h"

namespace orvane {

class CKeyButtonView;

class CCompositeMacroTab {
  public:
    // `changed` is called for every edit that Apply should store.
    CCompositeMacroTab(QWidget* dialog, std::function<void()> changed);

    // Control placement from the skin file, faces from the macro set.
    void Layout(const std::string& skinFile, const CCompositeImages& images);
    // Action list columns, record-delay box, loop count "1".
    void SetUp();
    void SetFonts(const QFont& listFont, const QFont& comboFont);
    void ApplyTexts(int languageIndex);
    void SetVisible(bool visible);

    // Copies every stored macro into the dialog's list.
    void LoadList();
    // With `fromRecord` the macro whose id is `recordValue` is selected (the
    // first when none has it); otherwise, the first time after loading and
    // only for a record value of 0, the first one.
    void ShowTab(bool fromRecord, int recordValue);
    void StopRecording() { m_recording = false; }
    bool Recording() const { return m_recording; }
    // Apply: finishes cell editing, stops recording, stores the shown macro
    // and hands the dialog's list to the store (keys that play a macro that
    // is gone turn back to their default). False when the store refused it.
    bool StoreList(CKeyButtonView& view);
    // Close-up: every copy and row is dropped; unapplied edits are lost.
    void FreeAll();

    bool Empty() const { return m_list.empty(); }
    int Selected() const { return m_selected; }
    long long LoopCount() const;

    QComboBox* MacroCombo() { return m_combo; }
    QLineEdit* LoopEdit() { return m_loops; }
    CReportCtrl* Actions() { return m_actions; }

  private:
    void Select(int position);
    void ShowMacro();
    void StoreShownMacro();
    void UpdateButtons();

    void LoopCountEdited();

    QWidget* m_dialog;
    std::function<void()> m_changed;
    QComboBox* m_combo;
    QLineEdit* m_loops;
    CReportCtrl* m_actions;
    QCheckBox* m_recordDelay;
    ColorStatic* m_nameLabel;
    ColorStatic* m_loopsLabel;
    ColorStatic* m_recordDelayLabel;
    std::vector<CPngButton*> m_buttons; // 1017, 1018, 1020-1026

    MacroList m_list;
    int m_selected = -1;
    bool m_shownSinceLoad = false;
    bool m_recording = false;
    bool m_updating = false;
};

} // namespace orvane
