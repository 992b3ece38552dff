#pragma once
// The main window's way into the key-assignment dialog.
namespace orvane {

class CCompositeWindow;
class Orvane_DlgComposite;

// Key table index edited for the main-window button `buttonId`: a G key
// (256-273, by the G-key bank) or one of the 106 key buttons; -1 for any
// other button.
int CompositeKeyIndexForButton(int buttonId, bool gKeyBank);

// Opens the dialog modally for the clicked button: the button shows its
// editing look until the dialog closes. -1 (nothing opens) for a button
// without a key or while the dialog is already open, 0 otherwise. Button
// 1143 opens the macro-only form.
int OpenCompositeForButton(CCompositeWindow& window, int buttonId);

// The dialog while it is open, else null.
Orvane_DlgComposite* OpenCompositeDialog();

// Closes an open dialog as Cancel does (keyboard gone, program closing).
void CancelCompositeDialog();

} // namespace orvane
