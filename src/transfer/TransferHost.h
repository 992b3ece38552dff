#pragma once
// What the configuration transfer needs from the main window: the Apply
// button's state, the busy indicator, the lighting panel, the colour-set
// list, the profile buttons and the key buttons. The main window implements
// it; tests use a recorder; orvanectl and anything run before a window exists
// get a quiet host that only keeps the Apply state.
#include "model/KeyTooltip.h"

namespace orvane {

class CTransferHost {
  public:
    virtual ~CTransferHost() = default;

    // ApplyPending: set with every change of the working configuration, the
    // Apply button enabled exactly while it is set.
    virtual bool ApplyPending() const = 0;
    virtual void SetApplyPending(bool pending) = 0;

    // Shows or hides the busy indicator picture. Called from the busy
    // indicator's own thread: it must not wait for the window's thread.
    virtual void ShowBusyIndicator(bool shown) = 0;

    // The lighting panel's controls to their default state.
    virtual void SetLightingPanelDefaults() = 0;
    // Refills the colour-set list of the current profile and loads its
    // per-key colours (only called when the keyboard offers mode 20).
    virtual void RefillColourSets() = 0;
    // Checks profile button `profile` (0-2) and unchecks the other two.
    virtual void SetProfileButtons(int profile) = 0;
    // Acts as if profile button `profile` had been pressed.
    virtual void PressProfileButton(int profile) = 0;
    // Turns the lighting switch off (only called while it is on).
    virtual void TurnLightingSwitchOff() = 0;
    // The key buttons, for their tooltips and for marking the configuration
    // changed.
    virtual CKeyButtonView& KeyButtons() = 0;
};

// The host of this process; the quiet one until a window installs its own.
CTransferHost& TransferHost();
void SetTransferHost(CTransferHost* host);

// A host without a window: keeps ApplyPending, shows nothing, and acts on a
// profile button as the main window does on the keyboard's side (the current
// profile changes and its lighting records are read again; a failed read is
// said on stderr).
class CQuietTransferHost : public CTransferHost, private CKeyButtonView {
  public:
    bool ApplyPending() const override { return m_pending; }
    void SetApplyPending(bool pending) override { m_pending = pending; }
    void ShowBusyIndicator(bool) override {}
    void SetLightingPanelDefaults() override {}
    void RefillColourSets() override {}
    void SetProfileButtons(int) override {}
    void PressProfileButton(int profile) override;
    void TurnLightingSwitchOff() override {}
    CKeyButtonView& KeyButtons() override { return *this; }

  private:
    bool GKeyBankSet() const override { return false; }
    void SetKeyButtonTooltip(int, const std::string&, bool) override {}
    void MarkConfigurationChanged() override { m_pending = true; }

    bool m_pending = false;
};

} // namespace orvane
