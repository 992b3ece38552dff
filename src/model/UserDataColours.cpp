// Colour sets: loading the set in use into the lighting model, choosing and
// naming sets, and the paint store that keeps painted keys in the files.
#include "model/KeyTables.h"
#include "model/LightingModel.h"
#include "model/LightingPort.h"
#include "model/UserData.h"
#include "services/WriteFailureReport.h"

namespace orvane {

namespace {

bool ValidProfile(int p) {
    return p >= 0 && p < kUserDataProfileCount;
}

class CUserDataPaintStore final : public CPaintStore {
  public:
    WriteResult WriteKeyColour(int profile, int set, int led, Colour colour, int flag) override {
        return orvane::WriteKeyColour(profile, set, led, colour, flag);
    }
    WriteResult WritePaintSettings(int profile, int set, int tool, Colour linkedColour, Colour ownColour,
                                   std::span<const PaintedKey> keys) override {
        return orvane::WritePaintSettings(profile, set, PaintSettings{tool, linkedColour, ownColour}, keys);
    }
};

void TakeEntry(CLightingModel& model, int profile, int led, const KeyColourEntry& entry,
               const KeyButton& button) {
    model.SetKeyColour(profile, led, entry.colour);
    model.SetPaintFlag(profile, button, entry.flag);
}

} // namespace

int LoadKeyColours(int profile, bool send, CLightingModel& model, CLightingModel::Refused refused) {
    if (!ValidProfile(profile)) return 0;
    const int set = ReadPresentSet(profile);
    model.SetColourSetInUse(profile, set);
    const PaintSettings paint = ReadPaintSettings(profile, set);
    model.SetPaintSettings(paint.tool, paint.linkedColour, paint.ownColour);

    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        const KeySlot* key = KeySlotAt(slot);
        if (!key) continue;
        const KeyButton button{KeyButtonKind::Slot, static_cast<uint8_t>(slot)};
        TakeEntry(model, profile, key->ledIndex, ReadKeyColour(profile, set, key->ledIndex), button);
    }
    if (send) {
        // The nine G keys share one LED and one entry.
        const KeyColourEntry g = ReadKeyColour(profile, set, kLedOfGKeys);
        for (int n = 0; n < kGKeyButtonCount; ++n)
            TakeEntry(model, profile, kLedOfGKeys, g,
                      KeyButton{KeyButtonKind::GKey, static_cast<uint8_t>(n)});
    }
    TakeEntry(model, profile, kLedOfFn, ReadKeyColour(profile, set, kLedOfFn),
              KeyButton{KeyButtonKind::Fn, 0});

    if (!send) return 1;
    return model.SendKeyColourTable(profile, std::move(refused));
}

int LoadKeyColours(int profile, bool send) {
    return LoadKeyColours(profile, send, TheLighting());
}

std::array<std::string, kColourSetCount> ListColourSets(int profile) {
    std::array<std::string, kColourSetCount> names;
    for (int s = 0; s < kColourSetCount; ++s)
        names[static_cast<size_t>(s)] = ReadSetName(profile, s);
    return names;
}

int SelectColourSet(int profile, int set, bool send, CLightingModel& model, CLightingModel::Refused refused) {
    if (!ValidProfile(profile) || set < 0 || set >= kColourSetCount) return 0;
    // The set is shown and sent even when it cannot be remembered.
    const WriteResult stored = WritePresentSet(profile, set);
    const int result = LoadKeyColours(profile, send, model, std::move(refused));
    ReportWriteFailures({stored});
    return result;
}

int SelectColourSet(int profile, int set, bool send) {
    return SelectColourSet(profile, set, send, TheLighting());
}

WriteResult RenameColourSet(int profile, const std::string& name, const CLightingModel& model) {
    if (!ValidProfile(profile)) return Written({});
    WriteResult stored = WriteSetName(profile, model.ColourSetInUse(profile), name);
    // The name is stored at every key typed: a file that cannot take it is
    // told once, not at each key, until a name has been stored again.
    static WriteResult told = Written({});
    if (stored) {
        told = stored;
    } else if (told || told.path != stored.path || told.error != stored.error) {
        told = stored;
        ReportWriteFailures({stored});
    }
    return stored;
}

CPaintStore& UserDataPaintStore() {
    static CUserDataPaintStore store;
    return store;
}

} // namespace orvane
