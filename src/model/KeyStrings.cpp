#include "model/KeyStrings.h"

#include <algorithm>

#include "platform/ByteOrder.h"

namespace orvane {

uint32_t KeyStringBytes(const std::u16string& text) {
    return static_cast<uint32_t>(text.size() * 2 + 2);
}

bool IsStringKind(const KeyFunction& record) {
    return record.Is(KeyFunctionKind::Program) || record.Is(KeyFunctionKind::Text);
}

std::vector<uint8_t> PackKeyStrings(const KeyStringSlots& slots, uint32_t total, KeyFunctionTable& records) {
    std::vector<uint8_t> area(total, 0);
    uint32_t offset = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const KeyStringSlot& slot = slots[i];
        if (slot.size == 0 || !IsStringKind(records[i])) continue;
        if (!RangeFits(total, offset, slot.size)) continue;
        // The slot's size is what counts; the text is at most that long.
        const size_t units = std::min<size_t>(slot.text.size(), (slot.size - 2) / 2);
        for (size_t c = 0; c < units; ++c)
            PutLE16(area.data() + offset + 2 * c, slot.text[c]);
        records[i].value = static_cast<int32_t>(offset);
        offset += slot.size;
    }
    return area;
}

std::u16string KeyStringAt(const uint8_t* area, size_t size, uint32_t offset) {
    offset &= ~1u;
    std::u16string text;
    if (area == nullptr || offset >= size) return text;
    for (size_t p = offset; p + 1 < size; p += 2) {
        const char16_t c = static_cast<char16_t>(GetLE16(area + p));
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

} // namespace orvane
