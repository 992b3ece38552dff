#include <gtest/gtest.h>

#include "model/KeyTables.h"

namespace orvane {
namespace {

TEST(KeyConversions, IndexAndScanCodeRoundTrip) {
    for (unsigned i = 0; i < 256; ++i)
        EXPECT_EQ(ScanCodeToIndex(IndexToScanCode(static_cast<uint8_t>(i))), i);
    EXPECT_EQ(ScanCodeToIndex(kScanPrintScreen), 0xB7);
    EXPECT_EQ(IndexToScanCode(0xB7), kScanPrintScreen);
    EXPECT_EQ(ScanCodeToIndex(kScanPause), 0x45);
    EXPECT_EQ(ScanCodeToIndex(kScanNumLock), 0xC5);
    EXPECT_EQ(ScanCodeToIndex(0x11D), 0x9D);
    // 0x100-0x17F wrap onto 0x80-0xFF; 0x180-0x1FF onto 0x00-0x7F.
    EXPECT_EQ(ScanCodeToIndex(0x1FF), 0x7F);

    // Codes from 0x200 up have no row, whatever their low byte.
    for (ScanCode code : {0x200, 0x21E, 0x2FF, 0xFFFF}) {
        EXPECT_EQ(ScanCodeToKeyId(static_cast<ScanCode>(code)), kKeyIdNone) << code;
        EXPECT_EQ(ScanCodeToUsagePair(static_cast<ScanCode>(code)), (UsagePair{0, 0})) << code;
        EXPECT_EQ(ScanCodeToDeviceKeyCode(static_cast<ScanCode>(code)), (DeviceKeyCode{2, 2, 0})) << code;
    }
}

TEST(KeyConversions, KeyIds) {
    EXPECT_EQ(KeyIdToScanCode(0x0067), 0x036); // first Right Shift row, not 0x136
    EXPECT_EQ(KeyIdToScanCode(0x006A), kScanNone);
    EXPECT_EQ(KeyIdToScanCode(0x0000), 0x01E);
    EXPECT_EQ(KeyIdToScanCode(0x8012), kScanSysReq);
    EXPECT_EQ(ScanCodeToKeyId(0x136), 0x0067);
    EXPECT_EQ(ScanCodeToKeyId(0x055), kKeyIdNone);
    for (uint16_t id = 0; id < kPickListKeyCount; ++id)
        EXPECT_EQ(ScanCodeToKeyId(KeyIdToScanCode(id)), id) << id;
}

TEST(KeyConversions, UsagePairs) {
    EXPECT_EQ(ScanCodeToUsagePair(0x130),
              (UsagePair{7, 0xC0})); // media keys stay kind 7 with their slot byte
    EXPECT_EQ(ScanCodeToUsagePair(0x15E), (UsagePair{1, 0x81}));
    EXPECT_EQ(ScanCodeToUsagePair(kScanMouseLeft), (UsagePair{2, 0xF1}));
    EXPECT_EQ(ScanCodeToUsagePair(kScanWheelDown), (UsagePair{2, 0xF5}));
    EXPECT_EQ(ScanCodeToUsagePair(0x064), (UsagePair{0, 0})); // F13 has no usage
    EXPECT_EQ(ScanCodeToUsagePair(0x01E), (UsagePair{7, 0x04}));

    EXPECT_EQ(UsagePairToScanCode(12, 0x00E9), 0x130);
    EXPECT_EQ(UsagePairToScanCode(1, 0x84), kScanNone);
    EXPECT_EQ(UsagePairToScanCode(1, 0x82), 0x15F);
    EXPECT_EQ(UsagePairToScanCode(2, 0xF1), kScanNone);  // kind 2 is not decoded
    EXPECT_EQ(UsagePairToScanCode(7, 0x48), kScanPause); // lowest row wins over Break
    EXPECT_EQ(UsagePairToScanCode(7, 0xE5), kScanRightShift);
    EXPECT_EQ(UsagePairToScanCode(7, 0x46), kScanPrintScreen);
    EXPECT_EQ(UsagePairToScanCode(7, 0), kScanNone);
    EXPECT_EQ(UsagePairToScanCode(0, 0x04), kScanNone);
    // A keyboard usage is one byte: 0x104 is not A.
    EXPECT_EQ(UsagePairToScanCode(7, 0x104), kScanNone);
    // Consumer usage 0 is no usage, not the first empty slot of the table (Zoom-).
    EXPECT_EQ(UsagePairToScanCode(12, 0), kScanNone);
    EXPECT_EQ(UsagePairToScanCode(12, 0x1234), kScanNone);

    // Every key the keyboard can report by usage maps back to a row with that usage.
    for (unsigned i = 0; i < 256; ++i) {
        const ScanCode code = IndexToScanCode(static_cast<uint8_t>(i));
        const UsagePair pair = ScanCodeToUsagePair(code);
        if (pair.kind != kUsageKindKeyboard) continue;
        ScanCode back = UsagePairToScanCode(pair.kind, pair.usage);
        EXPECT_EQ(ScanCodeToUsagePair(back), pair) << std::hex << code;
        EXPECT_LE(ScanCodeToIndex(back), i) << std::hex << code;
    }
}

TEST(KeyConversions, ModifierBitsLowestFirst) {
    const ScanCode expected[8] = {0x01D, 0x02A, 0x038, 0x15B, 0x11D, 0x036, 0x138, 0x15C};
    for (int bit = 0; bit < 8; ++bit) {
        EXPECT_EQ(ModifierBitToScanCode(static_cast<uint8_t>(1u << bit)), expected[bit]);
        EXPECT_EQ(ScanCodeToDeviceKeyCode(expected[bit]),
                  (DeviceKeyCode{2, 1, static_cast<uint8_t>(1u << bit)}));
    }
    EXPECT_EQ(ModifierBitToScanCode(0), kScanNone);
    EXPECT_EQ(ModifierBitToScanCode(0xF0), 0x11D);
    EXPECT_EQ(DeviceKeyCodeToScanCode(2, 1, 0x05), 0x01D); // bit 0 wins over bit 2
    EXPECT_EQ(DeviceKeyCodeToScanCode(2, 7, 0x40), 0x138); // any a but 2 reads modifier bits
}

TEST(KeyConversions, DeviceKeyCodes) {
    EXPECT_EQ(DeviceKeyCodeToScanCode(1, 1, 1), kScanMouseLeft);
    EXPECT_EQ(DeviceKeyCodeToScanCode(1, 1, 2), kScanMouseRight);
    EXPECT_EQ(DeviceKeyCodeToScanCode(1, 1, 4), kScanMouseMiddle);
    EXPECT_EQ(DeviceKeyCodeToScanCode(1, 1, 3), kScanNone);
    EXPECT_EQ(DeviceKeyCodeToScanCode(1, 5, 0x01), kScanWheelUp);
    EXPECT_EQ(DeviceKeyCodeToScanCode(1, 5, 0xFF), kScanWheelDown);
    EXPECT_EQ(DeviceKeyCodeToScanCode(1, 5, 0x02), kScanNone);
    EXPECT_EQ(DeviceKeyCodeToScanCode(2, 2, 0x04), 0x01E);
    EXPECT_EQ(DeviceKeyCodeToScanCode(3, 0xE9, 0x00), 0x130);
    EXPECT_EQ(DeviceKeyCodeToScanCode(3, 0x83, 0x01), 0x16D); // 0x0183 Media Player
    EXPECT_EQ(DeviceKeyCodeToScanCode(3, 0, 0), kScanNone);
    EXPECT_EQ(DeviceKeyCodeToScanCode(4, 0x83, 0x00), 0x163); // Wake
    EXPECT_EQ(DeviceKeyCodeToScanCode(4, 0x83, 0x01), kScanNone);
    EXPECT_EQ(DeviceKeyCodeToScanCode(6, 0xA2, 0), 0x1FF);
    EXPECT_EQ(DeviceKeyCodeToScanCode(6, 0xA2, 0xFF), 0x2FE);
    EXPECT_EQ(DeviceKeyCodeToScanCode(6, 0xA1, 1), kScanNone);
    EXPECT_EQ(DeviceKeyCodeToScanCode(5, 1, 3), kScanNone);
    EXPECT_EQ(DeviceKeyCodeToScanCode(0, 0, 0), kScanNone);
    EXPECT_EQ(DeviceKeyCodeToScanCode(7, 2, 4), kScanNone);

    // A key assigned to a key comes back as itself from the keyboard.
    for (int s = 0; s < kKeySlotCount; ++s) {
        const ScanCode code = KeySlotAt(s)->scanCode;
        EXPECT_EQ(DeviceKeyCodeToScanCode(ScanCodeToDeviceKeyCode(code)), code) << std::hex << code;
    }
    for (ScanCode code : {kScanMouseLeft, kScanMouseRight, kScanMouseMiddle, kScanWheelUp, kScanWheelDown})
        EXPECT_EQ(DeviceKeyCodeToScanCode(ScanCodeToDeviceKeyCode(code)), code) << std::hex << code;
    // Keys without a keyboard usage have nothing to send.
    EXPECT_EQ(ScanCodeToDeviceKeyCode(0x15E), (DeviceKeyCode{2, 2, 0})); // Power: system usage
    EXPECT_EQ(ScanCodeToDeviceKeyCode(0x064), (DeviceKeyCode{2, 2, 0})); // F13
    EXPECT_EQ(ScanCodeToDeviceKeyCode(0x136), (DeviceKeyCode{2, 2, 0xE5}));

    for (int m = 0; m < kMediaKeyCount; ++m) {
        const DeviceKeyCode c = MediaNumberToDeviceKeyCode(m);
        EXPECT_EQ(c.type, kDeviceKeyConsumer);
        EXPECT_EQ(DeviceKeyCodeToScanCode(c), MediaKeyAt(m)->scanCode) << m;
    }
    EXPECT_EQ(MediaNumberToDeviceKeyCode(0), (DeviceKeyCode{3, 0x83, 0x01}));
    EXPECT_EQ(MediaNumberToDeviceKeyCode(-1), (DeviceKeyCode{0, 0, 0}));
    EXPECT_EQ(MediaNumberToDeviceKeyCode(kMediaKeyCount), (DeviceKeyCode{0, 0, 0}));
}

uint32_t HookLParam(ScanCode hardware) {
    return 1u | (static_cast<uint32_t>(hardware & 0xFF) << 16) | ((hardware & 0x100) ? 1u << 24 : 0);
}

TEST(KeyConversions, ScanCodeFromKeyEvent) {
    struct Case {
        uint32_t vk;
        ScanCode hardware;
        ScanCode expected;
        const char* what;
    };
    const Case cases[] = {
        {0x10, 0x036, 0x036, "generic Shift from the right key stays right"},
        {0xA1, 0x036, 0x036, "Right Shift"},
        {0x10, 0x02A, 0x02A, "generic Shift, left key"},
        {0x11, 0x11D, 0x11D, "generic Ctrl from the right key"},
        {0x12, 0x138, 0x138, "generic Alt from the right key"},
        {0xA0, 0x000, 0x02A, "no hardware code: the virtual key decides"},
        {0x41, 0x000, 0x01E, "injected A"},
        {0x42, 0x01E, 0x030, "remapped: hardware A, B wanted"},
        {0x24, 0x047, 0x047, "keypad 7 without Num Lock stays a keypad key"},
        {0x67, 0x047, 0x047, "keypad 7"},
        {0x24, 0x147, 0x147, "Home"},
        {0x2D, 0x152, 0x152, "Insert"},
        {0x2C, 0x137, 0x137, "Print Screen"},
        {0x2C, 0x054, 0x054, "Alt + Print Screen"},
        {0x13, 0x045, 0x045, "Pause"},
        {0x03, 0x146, 0x146, "Break"},
        {0x90, 0x145, 0x145, "Num Lock"},
        {0x0D, 0x11C, 0x11C, "keypad Enter"},
        {0x0D, 0x01C, 0x01C, "Enter"},
        {0xFF, 0x070, 0x070, "no virtual key: the hardware code decides"},
        {0xFF, 0x000, 0x000, "nothing at all"},
        {0x07, 0x000, 0x000, "unassigned virtual key"},
        {0x101, 0x01E, 0x000, "out-of-range virtual key names no key"},
        {0x101, 0x000, 0x000, "out-of-range virtual key alone"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScanCodeFromKeyEvent(c.vk, HookLParam(c.hardware)), c.expected) << c.what;
    // Release and repeat bits do not change the key.
    EXPECT_EQ(ScanCodeFromKeyEvent(0x41, HookLParam(0x01E) | 0xC0000000u), 0x01E);

    EXPECT_TRUE(IsReleaseOnlyKey(kScanSysReq));
    EXPECT_TRUE(IsReleaseOnlyKey(0x071));
    EXPECT_TRUE(IsReleaseOnlyKey(0x072));
    EXPECT_TRUE(IsReleaseOnlyKey(kScanPrintScreen));
    EXPECT_FALSE(IsReleaseOnlyKey(kScanPause));
    EXPECT_FALSE(IsReleaseOnlyKey(0x037));
}

} // namespace
} // namespace orvane
