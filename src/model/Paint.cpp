// Per-key colours of mode 20: the colour table of each profile, the paint
// flags that link keys to the "jcolor" paint colour, and painting keys.
#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "model/KeyTables.h"
#include "model/LightingModel.h"
#include "services/WriteFailureReport.h"

namespace orvane {

namespace {

bool ValidProfile(int p) {
    return p >= 0 && p < kLightingProfileCount;
}

bool ValidLed(int led) {
    return led >= 0 && static_cast<size_t>(led) * 3 + 3 <= kKeyColourTableSize;
}

// The worker sends its own copy: the table here may change meanwhile.
CLightingSender::Writes TableWrite(const std::array<uint8_t, kKeyColourTableSize>& table) {
    return [table](CLightingPort& port) {
        const int status = port.WriteProfileKeyColours(table);
        return LightingResult{status, status == 1 ? 1u : 0u};
    };
}

} // namespace

int CLightingModel::LedOfButton(const KeyButton& button) {
    switch (button.kind) {
    case KeyButtonKind::Slot: {
        const KeySlot* slot = KeySlotAt(button.index);
        return slot ? slot->ledIndex : -1;
    }
    case KeyButtonKind::GKey:
        return button.index < kGKeyButtonCount ? kLedOfGKeys : -1;
    case KeyButtonKind::Fn:
        return kLedOfFn;
    }
    return -1;
}

std::span<uint8_t, kKeyColourTableSize> CLightingModel::KeyColourTable(int profile) {
    return std::span<uint8_t, kKeyColourTableSize>(
        m_keyColours[static_cast<size_t>(std::clamp(profile, 0, 2))]);
}

Colour CLightingModel::KeyColour(int profile, int led) const {
    if (!ValidProfile(profile) || !ValidLed(led)) return 0;
    const uint8_t* p = m_keyColours[static_cast<size_t>(profile)].data() + led * 3;
    return MakeColour(p[0], p[1], p[2]);
}

void CLightingModel::SetKeyColour(int profile, int led, Colour colour) {
    if (!ValidProfile(profile) || !ValidLed(led)) return;
    uint8_t* p = m_keyColours[static_cast<size_t>(profile)].data() + led * 3;
    p[0] = RedOf(colour);
    p[1] = GreenOf(colour);
    p[2] = BlueOf(colour);
}

int CLightingModel::PaintFlag(int profile, const KeyButton& button) const {
    const int n = KeyButtonNumber(button);
    if (!ValidProfile(profile) || n < 0) return 0;
    return m_paintFlags[static_cast<size_t>(profile)][static_cast<size_t>(n)];
}

void CLightingModel::SetPaintFlag(int profile, const KeyButton& button, int flag) {
    const int n = KeyButtonNumber(button);
    if (!ValidProfile(profile) || n < 0) return;
    m_paintFlags[static_cast<size_t>(profile)][static_cast<size_t>(n)] = flag ? 1 : 0;
}

void CLightingModel::SetPaintSettings(int tool, Colour linked, Colour own) {
    m_tool = tool;
    m_linkedColour = linked & 0xFFFFFF;
    m_ownColour = own & 0xFFFFFF;
}

int CLightingModel::ColourSetInUse(int profile) const {
    return ValidProfile(profile) ? m_colourSet[static_cast<size_t>(profile)] : 0;
}

void CLightingModel::SetColourSetInUse(int profile, int set) {
    if (ValidProfile(profile)) m_colourSet[static_cast<size_t>(profile)] = set;
}

void CLightingModel::WritePaintSettings(std::span<const PaintedKey> keys) {
    const int p = CurrentProfile();
    if (m_store && p >= 0)
        ReportWriteFailures(
            {m_store->WritePaintSettings(p, ColourSetInUse(p), m_tool, m_linkedColour, m_ownColour, keys)});
}

int CLightingModel::PaintKey(const KeyButton& button, CKeyLights& lights, Refused refused) {
    if (!m_switchOn || m_settings.mode != 20) return kLightingNothingToSend;
    const int p = CurrentProfile();
    const int led = LedOfButton(button);
    if (p < 0 || !ValidLed(led)) return kLightingNothingToSend;
    Colour colour;
    int flag;
    if (m_tool == 1) {
        colour = m_linkedColour;
        flag = 1;
    } else if (m_tool == 0) {
        colour = m_ownColour;
        flag = 0;
    } else {
        return kLightingNothingToSend;
    }
    const std::array<uint8_t, 3> rgb = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
    auto writes = [rgb, led](CLightingPort& port) {
        LightingResult result{port.BeginSession(), 0};
        if (result.status != 1) return result;
        result.status = port.WriteKeyColours(rgb, led);
        result.taken = result.status == 1 ? 1 : 0;
        const int end = port.EndSession();
        if (result.status == 1) result.status = end;
        return result;
    };
    return SendKeyColourWrites(writes, [=, this, &lights](const LightingResult& result) {
        if (result.status != 1 && refused) refused(result.status);
        // A colour the keyboard did not acknowledge is neither shown nor kept.
        if (result.taken == 0) return;
        lights.SetKeyLight(button, colour, true);
        SetKeyColour(p, led, colour);
        SetPaintFlag(p, button, flag);
        if (m_store) ReportWriteFailures({m_store->WriteKeyColour(p, ColourSetInUse(p), led, colour, flag)});
    });
}

int CLightingModel::SendKeyColourWrites(CLightingSender::Writes writes, CLightingSender::Done take) {
    if (!m_sender) {
        const LightingResult result = writes(m_port);
        take(result);
        return result.status;
    }
    m_sender->SendWrites(std::move(writes), std::move(take));
    return 1;
}

void CLightingModel::ChangeOwnPaintColour(Colour colour) {
    m_ownColour = colour & 0xFFFFFF;
    WritePaintSettings();
}

void CLightingModel::SelectPaintTool(int tool) {
    m_tool = tool;
    WritePaintSettings();
}

int CLightingModel::ChangeLinkedPaintColour(Colour colour, CKeyLights& lights, Refused refused) {
    colour &= 0xFFFFFF;
    if (colour == m_linkedColour) return 1;
    const int p = CurrentProfile();
    if (p < 0) return 0;
    const auto before = m_keyColours[static_cast<size_t>(p)];
    // Every linked key of the profile takes `c` (or, with no colour, its
    // colour from before) on its button and in the table.
    auto recolour = [this, p, before, &lights](std::optional<Colour> c, std::vector<PaintedKey>* linked) {
        bool gKeysStored = false;
        for (int n = 0; n < kKeyButtonCount; ++n) {
            const KeyButton button = KeyButtonAt(n);
            if (!PaintFlag(p, button)) continue;
            const int led = LedOfButton(button);
            if (!ValidLed(led)) continue;
            const size_t at = static_cast<size_t>(led) * 3;
            const Colour shown = c ? *c : MakeColour(before[at], before[at + 1], before[at + 2]);
            lights.SetKeyLight(button, shown, true);
            SetKeyColour(p, led, shown);
            // The nine G keys share one LED and one entry in the file.
            const bool gKey = button.kind == KeyButtonKind::GKey;
            if (linked && !(gKey && gKeysStored)) linked->push_back({led, shown, 1});
            gKeysStored = gKeysStored || gKey;
        }
    };
    std::vector<PaintedKey> linked;
    recolour(colour, &linked);
    return SendKeyColourWrites(TableWrite(m_keyColours[static_cast<size_t>(p)]),
                               [=, this](const LightingResult& result) {
                                   if (result.status != 1) {
                                       // The keyboard keeps the old colours, and so do the keys and the file.
                                       recolour(std::nullopt, nullptr);
                                       if (refused) refused(result.status);
                                       return;
                                   }
                                   m_linkedColour = colour;
                                   // One write of the file for the whole change, not one per linked key.
                                   WritePaintSettings(linked);
                               });
}

int CLightingModel::SendKeyColourTable(int profile, Refused refused) {
    if (!ValidProfile(profile)) return 0;
    return SendKeyColourWrites(TableWrite(m_keyColours[static_cast<size_t>(profile)]),
                               [refused = std::move(refused)](const LightingResult& result) {
                                   if (result.status != 1 && refused) refused(result.status);
                               });
}

void CLightingModel::ShowKeyColours(CKeyLights& lights) const {
    const int p = CurrentProfile();
    if (p < 0) return;
    for (int n = 0; n < kKeyButtonCount; ++n) {
        const KeyButton button = KeyButtonAt(n);
        lights.SetKeyLight(button, KeyColour(p, LedOfButton(button)), true);
    }
}

void CLightingModel::RelinkPaintFlags() {
    for (int p = 0; p < kLightingProfileCount; ++p)
        for (int n = 0; n < kKeyButtonCount; ++n) {
            const KeyButton button = KeyButtonAt(n);
            SetPaintFlag(p, button, KeyColour(p, LedOfButton(button)) == m_linkedColour ? 1 : 0);
        }
}

} // namespace orvane
