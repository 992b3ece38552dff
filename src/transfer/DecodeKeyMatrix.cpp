#include "transfer/DecodeKeyMatrix.h"

#include <algorithm>

#include "model/KeyTables.h"

namespace orvane {
namespace {

KeyFunction Make(KeyFunctionKind kind, int32_t value) {
    KeyFunction r;
    r.SetKind(kind);
    r.value = value;
    return r;
}

// The record a keyboard code stands for; Disabled when it stands for none.
KeyFunction RecordOfCode(uint8_t type, uint8_t a, uint8_t b) {
    const KeyFunction disabled = Make(KeyFunctionKind::Disabled, 0);
    switch (type) {
    case kDeviceKeyFunction:
        if (a == 1) return Make(KeyFunctionKind::Macro, b + 1);
        if (a == 2) return Make(KeyFunctionKind::StopMacro, 0);
        if (a == 5) return Make(KeyFunctionKind::Function, b);
        return disabled;
    case kDeviceKeyConsumer: {
        const uint16_t usage = static_cast<uint16_t>(a + 256 * b);
        for (int m = 0; m < kMediaKeyCount; ++m)
            if (MediaKeyAt(m)->consumerUsage == usage) return Make(KeyFunctionKind::Media, m);
        return disabled;
    }
    case kDeviceKeyMouse:
        if (a == 1 && b == 1) return Make(KeyFunctionKind::Key, kScanMouseLeft);
        if (a == 1 && b == 2) return Make(KeyFunctionKind::Key, kScanMouseRight);
        if (a == 1 && b == 4) return Make(KeyFunctionKind::Key, kScanMouseMiddle);
        if (a == 5 && b == 0x01) return Make(KeyFunctionKind::Key, kScanWheelUp);
        if (a == 5 && b == 0xFF) return Make(KeyFunctionKind::Key, kScanWheelDown);
        return disabled;
    case kDeviceKeyKeyboard: {
        ScanCode code = 0;
        if (a == 2) code = UsagePairToScanCode(kUsageKindKeyboard, b);
        if (a == 1) code = ModifierBitToScanCode(b);
        // No usage, or a modifier code without a bit: the key sends nothing.
        return code ? Make(KeyFunctionKind::Key, code) : disabled;
    }
    default:
        return disabled;
    }
}

} // namespace

KeyFunctionBlock FreshKeyFunctionBlock(int profile) {
    KeyFunctionBlock block{};
    if (profile < 0 || profile >= kProfileCount) return block;
    const KeyFunctionTable fresh = FreshKeyFunctionTable();
    std::copy_n(fresh.begin() + profile * kRecordsPerBlock, kRecordsPerBlock, block.begin());
    return block;
}

int KeyIndexAtPosition(std::span<const uint8_t> defaultMatrix, size_t position) {
    if (position >= defaultMatrix.size() / 3) return 0;
    const uint8_t* templ = defaultMatrix.data() + position * 3;
    const ScanCode scan = DeviceKeyCodeToScanCode(templ[0], templ[1], templ[2]);
    if (scan == 0 || scan >= 0x200) return 0;
    return ScanCodeToIndex(scan);
}

KeyFunctionBlock DecodeKeyMatrix(int profile, std::span<const uint8_t> matrix,
                                 std::span<const uint8_t> defaultMatrix, int keyCount) {
    KeyFunctionBlock block = FreshKeyFunctionBlock(profile);
    if (keyCount < 0) return block;
    const size_t used = static_cast<size_t>(keyCount) * 3;
    if (matrix.size() < used || defaultMatrix.size() < used) return block;
    for (size_t pos = 0; pos < used; pos += 3) {
        const uint8_t* code = matrix.data() + pos;
        if (std::equal(code, code + 3, defaultMatrix.data() + pos)) continue;
        const int index = KeyIndexAtPosition(defaultMatrix, pos / 3);
        if (index == 0) continue;
        block[static_cast<size_t>(index)] = RecordOfCode(code[0], code[1], code[2]);
    }
    return block;
}

} // namespace orvane
