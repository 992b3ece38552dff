#pragma once
// The words on a key button: what its record makes the key do, shown as the
// button's tooltip, and the checked look of every key that does not keep its
// factory function. The main window's buttons implement CKeyButtonView.
#include <string>

#include "model/KeyFunction.h"

namespace orvane {

class CConfigStore;

class CKeyButtonView {
  public:
    virtual ~CKeyButtonView() = default;
    // True while the G-key buttons show G10-G18.
    virtual bool GKeyBankSet() const = 0;
    // Sets and activates a key button's tooltip and its checked look.
    virtual void SetKeyButtonTooltip(int controlId, const std::string& text, bool checked) = 0;
    // The working configuration changed: the main window enables Apply.
    virtual void MarkConfigurationChanged() = 0;
};

struct KeyTooltip {
    std::string text;
    bool checked = false;
};

// The tooltip of a key whose own name is `ownName` and whose record is
// `record`; `macroName` is the name of the macro the record plays (UTF-8,
// empty when none).
KeyTooltip BuildKeyTooltip(const std::string& ownName, const KeyFunction& record,
                           const std::string& macroName);

// Own name of G-key button n (0-8): "G1" .. "G9".
std::string GKeyOwnName(int button);

// Rebuilds the tooltips of the nine G-key buttons and the 106 key buttons
// from the records of `profile` (-1, unknown, shows profile 0).
void RefreshKeyTooltips(CKeyButtonView& view, int profile, const CConfigStore& store);

// Zeroes the records of the nine shown G keys and of the 106 key buttons in
// block `profile` (0-2), rebuilds those buttons' tooltips and marks the
// configuration changed.
void ResetProfileKeys(CKeyButtonView& view, int profile, CConfigStore& store);

} // namespace orvane
