#include "dialogs/OpenComposite.h"

#include <QPointer>

#include "dialogs/CompositeWindow.h"
#include "dialogs/DlgComposite.h"
#include "dialogs/EditorOpenCounts.h"
#include "model/KeyFunction.h"
#include "model/KeyTables.h"
#include "model/KeyTooltip.h"

namespace orvane {

namespace {

// One dialog per window, kept between runs so its pictures are made once.
QPointer<Orvane_DlgComposite> g_dialog;

} // namespace

int CompositeKeyIndexForButton(int buttonId, bool gKeyBank) {
    for (int n = 0; n < kGKeyCount; ++n)
        if (kGKeyControlIds[n] == buttonId) return GKeyButtonIndex(n, gKeyBank);
    const int slot = KeySlotOfControlId(buttonId);
    if (slot < 0) return -1;
    return ScanCodeToIndex(KeySlotAt(slot)->scanCode);
}

int OpenCompositeForButton(CCompositeWindow& window, int buttonId) {
    const int keyIndex = CompositeKeyIndexForButton(buttonId, window.KeyButtons().GKeyBankSet());
    // One key at a time: a click that reaches the window while the dialog is
    // open opens nothing.
    if (keyIndex < 0 || OpenCompositeDialog()) return -1;
    QWidget* parent = window.DialogParent();
    if (g_dialog && g_dialog->parentWidget() != parent) {
        delete g_dialog.data();
    }
    if (!g_dialog) g_dialog = new Orvane_DlgComposite(parent);
    g_dialog->SetTarget(&window, buttonId, static_cast<uint16_t>(keyIndex), buttonId == kMacroOnlyButtonId);
    window.SetButtonEditing(buttonId, true);
    g_dialog->DoModal();
    return 0;
}

Orvane_DlgComposite* OpenCompositeDialog() {
    return g_dialog && CompositeOpenCount() > 0 ? g_dialog.data() : nullptr;
}

void CancelCompositeDialog() {
    if (Orvane_DlgComposite* dialog = OpenCompositeDialog()) dialog->OnCancel();
}

} // namespace orvane
