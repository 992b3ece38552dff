#include "model/PreviewLights.h"

namespace orvane {

int KeyButtonNumber(const KeyButton& button) {
    switch (button.kind) {
    case KeyButtonKind::Slot:
        return button.index < 106 ? button.index : -1;
    case KeyButtonKind::GKey:
        return button.index < kGKeyButtonCount ? 106 + button.index : -1;
    case KeyButtonKind::Fn:
        return kKeyButtonCount - 1;
    }
    return -1;
}

KeyButton KeyButtonAt(int number) {
    if (number < 106) return {KeyButtonKind::Slot, static_cast<uint8_t>(number)};
    if (number < 106 + kGKeyButtonCount) return {KeyButtonKind::GKey, static_cast<uint8_t>(number - 106)};
    return {KeyButtonKind::Fn, 0};
}

KeyButton KeyButtonOfPreviewKey(uint8_t key) {
    if (key == pk::Fn) return {KeyButtonKind::Fn, 0};
    return {KeyButtonKind::Slot, key};
}

void CKeyLightFrame::SetKeyLight(const KeyButton& button, Colour colour, bool lit) {
    ++m_setCount;
    int n = KeyButtonNumber(button);
    if (n < 0) return;
    m_lights[static_cast<size_t>(n)] = {colour, lit};
}

const CKeyLightFrame::Light& CKeyLightFrame::At(const KeyButton& button) const {
    int n = KeyButtonNumber(button);
    return n < 0 ? m_none : m_lights[static_cast<size_t>(n)];
}

int CKeyLightFrame::LitCount() const {
    int count = 0;
    for (const Light& l : m_lights)
        count += l.lit ? 1 : 0;
    return count;
}

} // namespace orvane
