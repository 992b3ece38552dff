#include "model/MacroBlock.h"

#include <algorithm>

#include "model/KeyTables.h"
#include "platform/ByteOrder.h"

namespace orvane {
namespace {

constexpr size_t kEntryHeadBytes = 4;
constexpr size_t kEncodedActionBytes = 4;
constexpr uint16_t kDelayMask = 0x0FFF;
constexpr uint16_t kPressBit = 0x8000;

struct ModifierScan {
    ScanCode code;
    uint8_t bit;
};
constexpr ModifierScan kModifierScans[] = {
    {0x01D, 0x01}, {0x02A, 0x02}, {0x038, 0x04}, {0x15B, 0x08},
    {0x11D, 0x10}, {0x036, 0x20}, {0x138, 0x40}, {0x15C, 0x80},
};

DeviceKeyCode ActionKeyCode(ScanCode code) {
    const UsagePair pair = ScanCodeToUsagePair(code);
    switch (pair.kind) {
    case kUsageKindKeyboard:
        for (const ModifierScan& m : kModifierScans)
            if (m.code == code) return {kDeviceKeyKeyboard, 1, m.bit};
        // Media keys arrive here with their consumer slot byte and go out as such.
        return {kDeviceKeyKeyboard, 2, static_cast<uint8_t>(pair.usage)};
    case kUsageKindSystem:
        return {kDeviceKeySystem, static_cast<uint8_t>(pair.usage), static_cast<uint8_t>(pair.usage >> 8)};
    case kUsageKindMouse:
        switch (pair.usage) {
        case 0xF1:
            return {kDeviceKeyMouse, 1, 1};
        case 0xF2:
            return {kDeviceKeyMouse, 1, 2};
        case 0xF3:
            return {kDeviceKeyMouse, 1, 4};
        case 0xF4:
            return {kDeviceKeyMouse, 5, 0x01};
        case 0xF5:
            return {kDeviceKeyMouse, 5, 0xFF};
        default:
            return {kDeviceKeyMouse, 0, 0};
        }
    default:
        return {0, 0, 0};
    }
}

size_t NameLength(const MacroRecord& m, bool withNames) {
    return withNames ? MacroName(m).size() : 0;
}

size_t EntryBytes(const MacroRecord& m, bool withNames) {
    return kEntryHeadBytes + kEncodedActionBytes * MacroActionCount(m) + 2 * NameLength(m, withNames);
}

size_t BlockBytes(const MacroList& list, bool withNames) {
    size_t total = kMacroBlockHeaderBytes + 2 * list.size();
    for (const MacroRecord& m : list)
        total += EntryBytes(m, withNames);
    return total;
}

} // namespace

MacroBlockSizeInfo MacroBlockSizes(const MacroList& list) {
    return {BlockBytes(list, false), BlockBytes(list, true)};
}

void EncodeMacroAction(const MacroAction& action, uint8_t* out) {
    const DeviceKeyCode code = ActionKeyCode(action.scanCode);
    // A delay past what 12 bits hold is kept at the longest one rather than wrapped.
    const uint32_t ticks = std::min<uint32_t>(action.delay / 10, kDelayMask);
    uint16_t word = static_cast<uint16_t>(ticks | ((code.type & 0x7u) << 12));
    if (action.transition == kActionPress) word |= kPressBit;
    PutLE16(out, word);
    out[2] = code.a;
    out[3] = code.b;
}

MacroAction DecodeMacroAction(const uint8_t* in) {
    const uint16_t word = GetLE16(in);
    MacroAction action;
    action.delay = static_cast<uint32_t>(word & kDelayMask) * 10;
    action.scanCode = DeviceKeyCodeToScanCode(static_cast<uint8_t>((word >> 12) & 0x7), in[2], in[3]);
    action.transition = (word & kPressBit) ? kActionPress : kActionRelease;
    return action;
}

size_t EncodeMacroBlock(const MacroList& list, uint8_t* buffer, size_t size, bool withNames) {
    if (list.size() > kMacroMaxCount) return 0;
    const size_t total = BlockBytes(list, withNames);
    if (total > kMacroBlockMaxBytes || total > size || buffer == nullptr) return 0;

    std::fill_n(buffer, total, uint8_t{0});
    PutLE16(buffer, kMacroBlockMagic);
    PutLE16(buffer + 2, static_cast<uint16_t>(total));
    PutLE16(buffer + 4, static_cast<uint16_t>(list.size()));
    PutLE16(buffer + 6, withNames ? 1 : 0);

    size_t offset = kMacroBlockHeaderBytes + 2 * list.size();
    for (size_t i = 0; i < list.size(); ++i) {
        const MacroRecord& m = list[i];
        const size_t actions = MacroActionCount(m);
        const std::u16string name = withNames ? MacroName(m) : std::u16string();
        PutLE16(buffer + kMacroBlockHeaderBytes + 2 * i, static_cast<uint16_t>(offset));
        uint8_t* p = buffer + offset;
        PutLE16(p, static_cast<uint16_t>(actions));
        p[2] = m.repeat;
        p[3] = static_cast<uint8_t>(name.size());
        p += kEntryHeadBytes;
        for (size_t a = 0; a < actions; ++a, p += kEncodedActionBytes)
            EncodeMacroAction(m.actions[a], p);
        for (char16_t c : name) {
            PutLE16(p, c);
            p += 2;
        }
        offset = static_cast<size_t>(p - buffer);
    }
    return total;
}

std::vector<uint8_t> EncodeMacroBlock(const MacroList& list, bool withNames) {
    std::vector<uint8_t> block(std::min(BlockBytes(list, withNames), kMacroBlockMaxBytes + 1));
    const size_t written = EncodeMacroBlock(list, block.data(), block.size(), withNames);
    block.resize(written);
    return block;
}

int DecodeMacroBlock(const uint8_t* block, size_t size, MacroList& records) {
    records.clear();
    if (block == nullptr || size < kMacroBlockHeaderBytes || GetLE16(block) != kMacroBlockMagic)
        return kMacroBlockBadHeader;
    const size_t declared = GetLE16(block + 2);
    const size_t count = GetLE16(block + 4);
    if (declared > size) return kMacroBlockBadHeader;
    if (count > kMacroMaxCount) return kMacroBlockTooMany;
    const size_t tableEnd = kMacroBlockHeaderBytes + 2 * count;
    if (tableEnd > declared) return kMacroBlockBadHeader;

    // Check every entry before taking any, so a bad block gives no macros at all.
    for (size_t i = 0; i < count; ++i) {
        const size_t offset = GetLE16(block + kMacroBlockHeaderBytes + 2 * i);
        if (offset < tableEnd || !RangeFits(declared, offset, kEntryHeadBytes)) return kMacroBlockBadEntry;
        const size_t actions = GetLE16(block + offset);
        const size_t nameChars = block[offset + 3];
        if (actions > kMacroMaxActions) return kMacroBlockBadEntry;
        if (!RangeFits(declared, offset + kEntryHeadBytes, kEncodedActionBytes * actions + 2 * nameChars))
            return kMacroBlockBadEntry;
    }

    MacroList decoded(count);
    for (size_t i = 0; i < count; ++i) {
        const size_t offset = GetLE16(block + kMacroBlockHeaderBytes + 2 * i);
        const uint8_t* entry = block + offset;
        const size_t actions = GetLE16(entry);
        const size_t nameChars = entry[3];
        MacroRecord& m = decoded[i];
        m.repeat = entry[2];
        m.newFlag = 0;
        m.reserved504 = 0;
        m.id = static_cast<uint16_t>(i + 1);
        m.actionCount = static_cast<uint16_t>(actions);
        const uint8_t* p = entry + kEntryHeadBytes;
        for (size_t a = 0; a < actions; ++a, p += kEncodedActionBytes)
            m.actions[a] = DecodeMacroAction(p);
        std::u16string name;
        for (size_t c = 0; c < nameChars; ++c)
            name.push_back(static_cast<char16_t>(GetLE16(p + 2 * c)));
        SetMacroName(m, name);
        // A name that is empty up to its first zero could not be shown or picked.
        if (MacroName(m).empty()) {
            const std::string fallback = "Macro" + std::to_string(i + 1);
            SetMacroName(m, std::u16string(fallback.begin(), fallback.end()));
        }
    }
    records = std::move(decoded);
    return kMacroBlockOk;
}

} // namespace orvane
