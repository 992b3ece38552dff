#include "model/KeyTooltip.h"

#include <array>
#include <mutex>

#include "model/ConfigStore.h"
#include "model/KeyTables.h"
#include "model/Utf16Text.h"
#include "platform/CriticalSections.h"
#include "services/Language.h"

namespace orvane {

KeyTooltip BuildKeyTooltip(const std::string& ownName, const KeyFunction& record,
                           const std::string& macroName) {
    KeyTooltip tip{ownName, false};
    if (record.Is(KeyFunctionKind::Default)) return tip;
    tip.checked = true;
    if (record.Is(KeyFunctionKind::Disabled)) {
        tip.text += Text("KEY_PROMPT_DISABLED");
        return tip;
    }
    tip.text += Text("KEY_PROMPT_SET");
    switch (static_cast<KeyFunctionKind>(record.kind)) {
    case KeyFunctionKind::Key: {
        const ScanCode target =
            (record.value > 0 && record.value <= 0xFFFF) ? static_cast<ScanCode>(record.value) : 0;
        // A mouse button or the wheel is no key of the keyboard.
        const bool mouse = target != 0 && ScanCodeToDeviceKeyCode(target).type == kDeviceKeyMouse;
        tip.text += Text(mouse ? "KEY_PROMPT_MOUSE" : "KEY_PROMPT_SINGLE") + GetKeyName(target) + ")";
        break;
    }
    case KeyFunctionKind::Macro:
        tip.text += Text("KEY_PROMPT_MACRO") + macroName + ")";
        break;
    case KeyFunctionKind::Media: {
        const MediaKeyRow* row = MediaKeyAt(record.value);
        tip.text += Text("KEY_PROMPT_MEDIA") + (row ? GetKeyName(row->scanCode) : std::string()) + ")";
        break;
    }
    case KeyFunctionKind::Function: {
        const std::string key = FunctionDescriptorKey(record.value);
        tip.text += Text("KEY_PROMPT_FUNCTION") + (key.empty() ? std::string() : Text(key)) + ")";
        break;
    }
    default:
        break;
    }
    return tip;
}

std::string GKeyOwnName(int button) {
    return "G" + std::to_string(button + 1);
}

namespace {

struct ButtonState {
    int controlId;
    std::string ownName;
    KeyFunction record;
    std::string macroName;
};

// Gathers every shown button's record under the lock; the view is called
// afterwards, outside it.
std::vector<ButtonState> ShownButtons(const CKeyButtonView& view, int profile, const CConfigStore& store) {
    const bool bank = view.GKeyBankSet();
    std::vector<ButtonState> buttons;
    buttons.reserve(kGKeyCount + kKeySlotCount);
    std::lock_guard lock(ConfigStoreLock());
    for (int n = 0; n < kGKeyCount; ++n)
        buttons.push_back(
            {kGKeyControlIds[n], GKeyOwnName(n), store.Record(profile, GKeyButtonIndex(n, bank)), {}});
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        const KeySlot* k = KeySlotAt(slot);
        buttons.push_back({k->controlId, {}, store.Record(profile, ScanCodeToIndex(k->scanCode)), {}});
    }
    for (ButtonState& b : buttons)
        if (b.record.Is(KeyFunctionKind::Macro))
            b.macroName = Utf16ToUtf8(store.MacroNameOfId(b.record.value));
    return buttons;
}

void ShowButtons(CKeyButtonView& view, std::vector<ButtonState>& buttons) {
    for (size_t i = 0; i < buttons.size(); ++i) {
        ButtonState& b = buttons[i];
        if (i >= static_cast<size_t>(kGKeyCount))
            b.ownName = GetKeyName(KeySlotAt(int(i) - kGKeyCount)->scanCode);
        const KeyTooltip tip = BuildKeyTooltip(b.ownName, b.record, b.macroName);
        view.SetKeyButtonTooltip(b.controlId, tip.text, tip.checked);
    }
}

} // namespace

void RefreshKeyTooltips(CKeyButtonView& view, int profile, const CConfigStore& store) {
    if (profile < 0 || profile >= kProfileCount) profile = 0;
    std::vector<ButtonState> buttons = ShownButtons(view, profile, store);
    ShowButtons(view, buttons);
}

void ResetProfileKeys(CKeyButtonView& view, int profile, CConfigStore& store) {
    if (profile < 0 || profile >= kProfileCount) return;
    const bool bank = view.GKeyBankSet();
    {
        std::lock_guard lock(ConfigStoreLock());
        // A zeroed record carries no string, so its slot goes too.
        auto reset = [&](int keyIndex) {
            store.SetRecord(profile, keyIndex, KeyFunction{});
            store.FreeKeyString(RecordIndex(profile, keyIndex));
        };
        for (int n = 0; n < kGKeyCount; ++n)
            reset(GKeyButtonIndex(n, bank));
        for (int slot = 0; slot < kKeySlotCount; ++slot)
            reset(ScanCodeToIndex(KeySlotAt(slot)->scanCode));
    }
    std::vector<ButtonState> buttons = ShownButtons(view, profile, store);
    ShowButtons(view, buttons);
    view.MarkConfigurationChanged();
}

} // namespace orvane
