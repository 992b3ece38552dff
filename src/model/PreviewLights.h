#pragma once
// How lighting reaches the keyboard picture: every key button (the 106 key
// slots, the nine G keys and the Fn button) takes a colour and a lit state.
// The main window's key buttons implement it with their outline mode; tests
// and orvanectl keep the last state of every button in a CKeyLightFrame.
#include <array>
#include <cstdint>

#include "model/LightingTables.h"

namespace orvane {

enum class KeyButtonKind : uint8_t { Slot, GKey, Fn };

struct KeyButton {
    KeyButtonKind kind = KeyButtonKind::Slot;
    uint8_t index = 0; // key slot 0-105, or G key 0-8; 0 for Fn
    bool operator==(const KeyButton&) const = default;
};

constexpr int kGKeyButtonCount = 9;
// Key slots, then the G keys, then Fn: the order of CKeyLightFrame's entries
// and of the paint flags.
constexpr int kKeyButtonCount = 106 + kGKeyButtonCount + 1;

// Position 0-115 in that order; -1 for a button that does not exist.
int KeyButtonNumber(const KeyButton& button);
KeyButton KeyButtonAt(int number);
// The button of a preview key name (pk::A ... pk::Fn).
KeyButton KeyButtonOfPreviewKey(uint8_t key);

class CKeyLights {
  public:
    virtual ~CKeyLights() = default;
    virtual void SetKeyLight(const KeyButton& button, Colour colour, bool lit) = 0;
};

// The last colour and lit state of every button.
class CKeyLightFrame : public CKeyLights {
  public:
    struct Light {
        Colour colour = 0;
        bool lit = false;
    };
    void SetKeyLight(const KeyButton& button, Colour colour, bool lit) override;
    const Light& At(const KeyButton& button) const;
    const Light& AtNumber(int number) const { return m_lights[static_cast<size_t>(number)]; }
    int LitCount() const;
    uint64_t SetCount() const { return m_setCount; }

  private:
    std::array<Light, kKeyButtonCount> m_lights{};
    Light m_none{};
    uint64_t m_setCount = 0;
};

} // namespace orvane
