// Conversions between the names of a key: scan code, key table index, key id,
// usage pair, device key code and keyboard-hook event.
#include "model/KeyTables.h"

namespace orvane {
namespace {

// Scan codes of the HID modifier bits 0-7.
constexpr ScanCode kModifierScanCodes[8] = {0x01D, 0x02A, 0x038, 0x15B, 0x11D, 0x036, 0x138, 0x15C};

// Lowest key table index whose usage byte is `usage`; -1 when none.
int LowestIndexWithUsage(uint8_t usage) {
    for (size_t i = 0; i < kKeyTableSize; ++i)
        if (KeyTableRowAt(static_cast<uint8_t>(i)).usage == usage) return static_cast<int>(i);
    return -1;
}

const KeyTableRow& RowOf(ScanCode code) {
    return KeyTableRowAt(ScanCodeToIndex(code));
}

} // namespace

uint8_t ScanCodeToIndex(ScanCode code) {
    // Index 0 is an empty row, so codes beyond the table land there.
    if (code < 0x100) return static_cast<uint8_t>(code);
    if (code < 0x200) return static_cast<uint8_t>((code - 0x80) & 0xFF);
    return 0;
}

ScanCode IndexToScanCode(uint8_t index) {
    return index < 0x80 ? index : static_cast<ScanCode>(index + 0x80);
}

ScanCode KeyIdToScanCode(uint16_t id) {
    for (size_t i = 0; i < kKeyTableSize; ++i)
        if (KeyTableRowAt(static_cast<uint8_t>(i)).keyId == id)
            return IndexToScanCode(static_cast<uint8_t>(i));
    return kScanNone;
}

uint16_t ScanCodeToKeyId(ScanCode code) {
    return RowOf(code).keyId;
}

UsagePair ScanCodeToUsagePair(ScanCode code) {
    uint8_t u = RowOf(code).usage;
    if (u == 0x00 || u == 0xFF) return {kUsageKindNone, 0};
    if (u >= 0x81 && u <= 0x83) return {kUsageKindSystem, u};
    if (u >= 0xF1 && u <= 0xF8) return {kUsageKindMouse, u};
    return {kUsageKindKeyboard, u}; // consumer slot bytes 0xC0-0xDF included
}

ScanCode UsagePairToScanCode(uint16_t kind, uint16_t usage) {
    uint16_t v = 0;
    switch (kind) {
    case kUsageKindKeyboard:
        // A usage byte is one byte: 0x104 must not pass for 0x04.
        v = usage <= 0xFF ? usage : 0;
        break;
    case kUsageKindSystem:
        v = usage >= 0x81 && usage <= 0x83 ? usage : 0;
        break;
    case kUsageKindConsumer:
        // Usage 0 is "no usage"; it must not match the empty entries 18-31,
        // which would turn it into Zoom-.
        if (usage != 0)
            for (size_t n = 0; n < kConsumerUsageCount; ++n)
                if (ConsumerUsageAt(n) == usage) {
                    v = static_cast<uint16_t>(kConsumerUsageByteBase + n);
                    break;
                }
        break;
    default:
        break;
    }
    if (v == 0) return kScanNone;
    int index = LowestIndexWithUsage(static_cast<uint8_t>(v));
    return index < 0 ? kScanNone : IndexToScanCode(static_cast<uint8_t>(index));
}

ScanCode ModifierBitToScanCode(uint8_t bits) {
    for (int bit = 0; bit < 8; ++bit)
        if (bits & (1u << bit)) return kModifierScanCodes[bit];
    return kScanNone;
}

ScanCode DeviceKeyCodeToScanCode(uint8_t type, uint8_t a, uint8_t b) {
    switch (type) {
    case kDeviceKeyMouse:
        if (a == 1 && b == 1) return kScanMouseLeft;
        if (a == 1 && b == 2) return kScanMouseRight;
        if (a == 1 && b == 4) return kScanMouseMiddle;
        if (a == 5 && b == 0x01) return kScanWheelUp;
        if (a == 5 && b == 0xFF) return kScanWheelDown;
        return kScanNone;
    case kDeviceKeyKeyboard:
        return a == 2 ? UsagePairToScanCode(kUsageKindKeyboard, b) : ModifierBitToScanCode(b);
    case kDeviceKeyConsumer:
        return UsagePairToScanCode(kUsageKindConsumer, static_cast<uint16_t>(a + 256 * b));
    case kDeviceKeySystem:
        return UsagePairToScanCode(kUsageKindSystem, static_cast<uint16_t>(a + 256 * b));
    case kDeviceKeyExtended:
        return a == 0xA2 ? static_cast<ScanCode>(0x1FF + b) : kScanNone;
    default:
        return kScanNone;
    }
}

DeviceKeyCode ScanCodeToDeviceKeyCode(ScanCode code) {
    for (int bit = 0; bit < 8; ++bit)
        if (kModifierScanCodes[bit] == code) return {kDeviceKeyKeyboard, 1, static_cast<uint8_t>(1u << bit)};
    switch (code) {
    case kScanWheelUp:
        return {kDeviceKeyMouse, 5, 0x01};
    case kScanWheelDown:
        return {kDeviceKeyMouse, 5, 0xFF};
    case kScanMouseLeft:
        return {kDeviceKeyMouse, 1, 1};
    case kScanMouseRight:
        return {kDeviceKeyMouse, 1, 2};
    case kScanMouseMiddle:
        return {kDeviceKeyMouse, 1, 4};
    default:
        break;
    }
    UsagePair pair = ScanCodeToUsagePair(code);
    uint8_t usage = pair.kind == kUsageKindKeyboard ? static_cast<uint8_t>(pair.usage) : 0;
    return {kDeviceKeyKeyboard, 2, usage};
}

DeviceKeyCode MediaNumberToDeviceKeyCode(int media) {
    const MediaKeyRow* row = MediaKeyAt(media);
    if (!row) return {0, 0, 0};
    return {kDeviceKeyConsumer, static_cast<uint8_t>(row->consumerUsage & 0xFF),
            static_cast<uint8_t>(row->consumerUsage >> 8)};
}

ScanCode ScanCodeFromKeyEvent(uint32_t vk, uint32_t lParam) {
    const ScanCode h = static_cast<ScanCode>((lParam >> 16) & 0x1FF);
    // Virtual-key codes are one byte; anything larger names no key.
    const uint8_t vkIndex = vk <= 0xFF ? VkToKeyIndex(static_cast<uint8_t>(vk)) : 0;
    const ScanCode d = vkIndex ? IndexToScanCode(vkIndex) : kScanNone;

    if (h == kScanRightShift) return kScanRightShift;
    if (vk == 0xFF) return h;
    if ((h & 0xFF) == 0) return d;
    const KeyTableRow& row = RowOf(h);
    if (vk <= 0xFF && (row.vk == vk || row.altVk == vk)) return h;
    if (vkIndex == (h & 0xFF)) return h;
    return d;
}

bool IsReleaseOnlyKey(ScanCode code) {
    return code == kScanSysReq || code == 0x071 || code == 0x072 || code == kScanPrintScreen;
}

} // namespace orvane
