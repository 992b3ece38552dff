// Linux key events must come out of ScanCodeFromKeyEvent as the keys the
// user pressed, for every key of the keyboard picture.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>
#include <set>

#include "model/EvdevKeys.h"

namespace orvane {
namespace {

TEST(EvdevKeys, TableAgreesWithTheKeyTable) {
    std::set<uint16_t> evdevCodes;
    std::set<ScanCode> reachable;
    for (size_t n = 0; n < EvdevKeyCount(); ++n) {
        uint16_t evdev = 0;
        ASSERT_TRUE(EvdevKeyAt(n, &evdev));
        EXPECT_TRUE(evdevCodes.insert(evdev).second) << "evdev " << evdev << " listed twice";
        const ScanCode code = EvdevToScanCode(evdev);
        const uint8_t vk = EvdevToVirtualKey(evdev);
        ASSERT_NE(code, kScanNone) << evdev;
        ASSERT_NE(vk, 0) << evdev;
        reachable.insert(code);
        const KeyTableRow& row = KeyTableRowAt(ScanCodeToIndex(code));
        // Keys without a row (F14-F24, keypad =) are no key to the program.
        if (row.keyId == kKeyIdNone) continue;
        EXPECT_EQ(vk, row.vk) << "evdev " << evdev;

        // The pair a hook would see reads back as the same key, down and up.
        for (bool release : {false, true}) {
            KeyEventFlags flags;
            flags.release = release;
            HookKeyEvent event = HookKeyEventFromEvdev(evdev, flags);
            EXPECT_EQ(ScanCodeFromKeyEvent(event.vk, event.lParam), code) << "evdev " << evdev;
            EXPECT_EQ((event.lParam >> 31) & 1, release ? 1u : 0u);
            EXPECT_EQ((event.lParam >> 30) & 1, release ? 1u : 0u);
            EXPECT_EQ(event.lParam & 0xFFFF, 1u);
        }
    }
    EXPECT_FALSE(EvdevKeyAt(EvdevKeyCount(), nullptr));
    // Every key of the picture and every media key can be captured.
    for (int s = 0; s < kKeySlotCount; ++s)
        EXPECT_TRUE(reachable.count(KeySlotAt(s)->scanCode)) << std::hex << KeySlotAt(s)->scanCode;
    for (int m = 0; m < kMediaKeyCount; ++m)
        EXPECT_TRUE(reachable.count(MediaKeyAt(m)->scanCode)) << m;
}

TEST(EvdevKeys, KeysThatDependOnModifiersOrNumLock) {
    EXPECT_EQ(EvdevToScanCode(KEY_PAUSE), kScanPause);
    EXPECT_EQ(EvdevToScanCode(KEY_NUMLOCK), kScanNumLock);
    EXPECT_EQ(EvdevToScanCode(KEY_SYSRQ), kScanPrintScreen);
    EXPECT_EQ(EvdevToScanCode(KEY_RIGHTCTRL), 0x11D);
    EXPECT_EQ(EvdevToScanCode(KEY_KPSLASH), 0x135);
    EXPECT_EQ(EvdevToScanCode(0), kScanNone);
    EXPECT_EQ(EvdevToScanCode(KEY_MAX), kScanNone);
    EXPECT_EQ(EvdevToVirtualKey(KEY_MAX), 0);

    HookKeyEvent unknown = HookKeyEventFromEvdev(KEY_MAX, {});
    EXPECT_EQ(unknown.vk, 0u);
    EXPECT_EQ(unknown.lParam, 0u);

    KeyEventFlags alt;
    alt.altDown = true;
    HookKeyEvent sysReq = HookKeyEventFromEvdev(KEY_SYSRQ, alt);
    EXPECT_EQ(ScanCodeFromKeyEvent(sysReq.vk, sysReq.lParam), kScanSysReq);
    EXPECT_EQ((sysReq.lParam >> 29) & 1, 1u);

    KeyEventFlags ctrl;
    ctrl.ctrlDown = true;
    HookKeyEvent brk = HookKeyEventFromEvdev(KEY_PAUSE, ctrl);
    EXPECT_EQ(brk.vk, 0x03u);
    EXPECT_EQ(ScanCodeFromKeyEvent(brk.vk, brk.lParam), 0x146);

    KeyEventFlags repeat;
    repeat.repeat = true;
    HookKeyEvent held = HookKeyEventFromEvdev(KEY_A, repeat);
    EXPECT_EQ((held.lParam >> 30) & 1, 1u);
    EXPECT_EQ((held.lParam >> 31) & 1, 0u);

    // Without Num Lock the keypad reports navigation codes but stays the keypad key.
    KeyEventFlags numOff;
    numOff.numLockOn = false;
    EXPECT_EQ(EvdevToVirtualKey(KEY_KP7, false), 0x24);
    EXPECT_EQ(EvdevToVirtualKey(KEY_KPDOT, false), 0x2E);
    EXPECT_EQ(EvdevToVirtualKey(KEY_KPPLUS, false), 0x6B);
    EXPECT_EQ(EvdevToVirtualKey(KEY_HOME, false), 0x24);
    HookKeyEvent kp7 = HookKeyEventFromEvdev(KEY_KP7, numOff);
    EXPECT_EQ(ScanCodeFromKeyEvent(kp7.vk, kp7.lParam), 0x047);
    HookKeyEvent home = HookKeyEventFromEvdev(KEY_HOME, numOff);
    EXPECT_EQ(ScanCodeFromKeyEvent(home.vk, home.lParam), 0x147);
}

} // namespace
} // namespace orvane
