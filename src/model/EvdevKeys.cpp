#include "model/EvdevKeys.h"

#include <linux/input-event-codes.h>

namespace orvane {

HookKeyEvent HookKeyEventFromEvdev(uint16_t evdevCode, const KeyEventFlags& flags) {
    HookKeyEvent event;
    ScanCode scan = EvdevToScanCode(evdevCode);
    uint8_t vk = EvdevToVirtualKey(evdevCode, flags.numLockOn);
    if (vk == 0) return event;
    // The kernel reports these keys the same whatever the modifiers; Windows
    // gives them other scan codes (and Break another virtual-key code).
    if (evdevCode == KEY_SYSRQ && flags.altDown) scan = kScanSysReq;
    if (evdevCode == KEY_PAUSE && flags.ctrlDown) {
        scan = 0x146;
        vk = 0x03;
    }
    uint32_t lParam = 1; // repeat count
    lParam |= static_cast<uint32_t>(scan & 0xFF) << 16;
    if (scan & 0x100) lParam |= 1u << 24;
    if (flags.altDown) lParam |= 1u << 29;
    if (flags.release || flags.repeat) lParam |= 1u << 30;
    if (flags.release) lParam |= 1u << 31;
    event.vk = vk;
    event.lParam = lParam;
    return event;
}

} // namespace orvane
