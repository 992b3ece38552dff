#pragma once
// Switching the keyboard's active on-board profile together with the working
// configuration: used by the main window's profile buttons, the lighting
// switch, the profile manager and the following of a keyboard reset.
#include <functional>

namespace orvane {

// What a switch tells the profile manager while it is open.
class CProfileManagerView {
  public:
    virtual ~CProfileManagerView() = default;
    // The manager's list has changes that Apply has not written yet.
    virtual bool ListChangesPending() const = 0;
    // A switch was made: mark the row of `activeProfile` (-1: none) and drop
    // the list's pending changes.
    virtual void FollowProfileSwitch(int activeProfile) = 0;
};

// The manager registers itself while it is open (null when it closes).
void SetOpenProfileManager(CProfileManagerView* manager);
CProfileManagerView* OpenProfileManager();

// The owner of the profile menu (the main window) installs what rebuilds it;
// every switch calls it.
void SetProfileMenuRebuild(std::function<void()> rebuild);
void RebuildProfileMenu();

// Makes `profile` the keyboard's active profile. A profile outside 0-2 is 0.
// Refused (0, "PROFILE_SEELCT_PROMPT2" shown, nothing changed) while a key
// assignment dialog is open. When changes are pending (the main window's
// Apply or the manager's list) they are applied first, without asking when
// `applyWithoutAsking`, otherwise after a Yes to "PROFILE_SWITCH_UNSENT_PROMPT";
// No discards them: the working copy returns to the active profile's working
// profile file; Cancel returns 0 with nothing switched and the changes kept.
// An Apply that fails stops the switch there (0, the changes stay pending,
// the user is told). Then the keyboard is told to switch, the key buttons
// and the profile menu are refreshed, and 1 is returned; when the keyboard
// refused the switch the user is told and 0 returned (the cached active
// profile is then unknown, so the next reader asks the keyboard).
int SelectProfile(int profile, bool applyWithoutAsking);

// The last step of a profile button (p = 0-2): nothing is asked or sent when
// the keyboard's active profile is p already; otherwise SelectProfile(p,
// false). Returns the profile whose button is to be checked (the others
// unchecked), or -1 to leave the buttons as they are: p is checked only when
// the keyboard has p active.
int SwitchForProfileButton(int profile);

// The selector following a keyboard reset uses from now on: SelectProfile
// without asking and without the refusal or any other message (the reset
// comes whatever is open). The main window calls it once at initialisation.
void InstallProfileSwitching();

} // namespace orvane
