#pragma once
// The wide strings that Program and Text records carry: one slot per record,
// packed into one string area (UTF-16, each with its terminator) when the
// table is committed or saved, and unpacked from such an area on load.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/KeyFunction.h"

namespace orvane {

struct KeyStringSlot {
    std::u16string text;
    uint32_t size = 0; // bytes including the terminator (characters * 2 + 2); 0 = empty
};
using KeyStringSlots = std::array<KeyStringSlot, kKeyRecordCount>;

// Bytes a string takes in the area.
uint32_t KeyStringBytes(const std::u16string& text);

// Packs the strings of Program and Text records, in record order, into an
// area of `total` bytes; a string goes in only while the running offset plus
// its size stays within `total`, and its record's value becomes its offset.
// A record whose string does not fit keeps its old value.
std::vector<uint8_t> PackKeyStrings(const KeyStringSlots& slots, uint32_t total, KeyFunctionTable& records);

// The terminated string at `offset` (rounded down to even) of an area; an
// offset outside the area gives an empty string, a string without terminator
// ends with the area.
std::u16string KeyStringAt(const uint8_t* area, size_t size, uint32_t offset);

bool IsStringKind(const KeyFunction& record);

} // namespace orvane
