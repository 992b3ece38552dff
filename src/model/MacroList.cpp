// The store operations that keep key assignments and the macro list in step.
#include <mutex>
#include <new>

#include "model/ConfigStore.h"
#include "model/KeyTooltip.h"
#include "platform/CriticalSections.h"
#include "services/Language.h"
#include "services/Prompt.h"

namespace orvane {
namespace {

using Guard = std::lock_guard<COrderedLock>;

// Keys above this index have no matrix position the question is about.
constexpr int kAskedKeyIndexEnd = 126;
constexpr unsigned kSecondButtonDefault = 0x100; // No is the default answer

const MacroRecord* FindMacro(const MacroList& list, uint16_t id) {
    for (const MacroRecord& m : list)
        if (m.id == id) return &m;
    return nullptr;
}

} // namespace

bool CConfigStore::StoreKeyFunction(int profile, int keyIndex, KeyFunctionKind kind, int32_t value,
                                    long long repeat, const std::u16string* text) {
    const int i = RecordIndex(profile, keyIndex);
    if (i < 0 || profile >= kProfileCount) return false;

    uint16_t aux = IsGKeyIndex(keyIndex) ? GKeyCode(keyIndex - kGKeyFirstIndex) : 0;
    if (kind == KeyFunctionKind::Key) {
        const bool noTarget = value <= 0 || value > 0xFFFF;
        if (noTarget || ScanCodeToIndex(static_cast<ScanCode>(value)) == keyIndex)
            kind = KeyFunctionKind::Default;
    }
    if (kind == KeyFunctionKind::Default) value = 0;
    if (kind == KeyFunctionKind::Macro) aux = ClampRepeatCount(repeat);

    Guard lock(ConfigStoreLock());
    FreeSlotLocked(i);
    KeyFunction& record = records_[i];
    record.SetKind(kind);
    record.aux = aux;
    record.value = value;
    if ((kind == KeyFunctionKind::Program || kind == KeyFunctionKind::Text) && text != nullptr)
        SetKeyString(i, *text); // a failed copy leaves the slot empty; the record stays
    return true;
}

bool CConfigStore::CommitMacroList(MacroList list, bool* changed, CKeyButtonView* view) {
    if (changed) *changed = false;
    if (list.size() > kMacroMaxCount) return false;
    bool touched = false;
    {
        Guard lock(ConfigStoreLock());
        for (KeyFunction& record : records_) {
            if (!record.Is(KeyFunctionKind::Macro)) continue;
            const uint16_t id = static_cast<uint16_t>(record.value);
            if (id == 0) {
                if (list.empty()) continue;
                record.value = list.front().id;
                touched = true;
                continue;
            }
            const MacroRecord* m = FindMacro(list, id);
            // A new macro that took a deleted one's id is not what the key was given.
            if (m == nullptr || m->newFlag != 0) {
                record.SetKind(KeyFunctionKind::Default);
                touched = true;
            }
        }
        for (MacroRecord& m : list)
            m.newFlag = 0;
        macros_ = std::move(list);
    }
    if (changed) *changed = touched;
    if (touched && view) view->MarkConfigurationChanged();
    return true;
}

bool CConfigStore::IsMacroAssigned(const MacroRecord& macro, int activeProfile) {
    if (macro.newFlag != 0) return true;
    const int first = (activeProfile >= 0 && activeProfile < kProfileCount) ? activeProfile : 0;
    const int last =
        (activeProfile >= 0 && activeProfile < kProfileCount) ? activeProfile : kProfileCount - 1;
    bool used = false;
    {
        Guard lock(ConfigStoreLock());
        for (int p = first; p <= last && !used; ++p)
            for (int k = 0; k < kAskedKeyIndexEnd && !used; ++k) {
                const KeyFunction& r = records_[RecordIndex(p, k)];
                used = r.Is(KeyFunctionKind::Macro) && static_cast<uint16_t>(r.value) == macro.id;
            }
    }
    if (!used) return true;
    // The keyboard's other profiles may name the macro by position too.
    SetSendAllProfiles(true);
    return Prompt().MessageBox(Text("MACRO_DELETE_CONFIRM_OF_KEYS"), "",
                               MB_YESNO | MB_ICONQUESTION | kSecondButtonDefault) == IDYES;
}

} // namespace orvane
