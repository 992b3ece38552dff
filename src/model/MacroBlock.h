#pragma once
// The compact macro block the keyboard keeps in its macro area and returns
// when read back: a 16-byte header, one 16-bit offset per macro, then one
// entry per macro (action count, repeat count, name length, 4 bytes per
// action, the name when names are included).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/MacroRecord.h"

namespace orvane {

constexpr uint16_t kMacroBlockMagic = 0x55AA;
constexpr size_t kMacroBlockHeaderBytes = 16;
// The header's size field and the entry offsets are 16 bits wide.
constexpr size_t kMacroBlockMaxBytes = 0xFFFF;

struct MacroBlockSizeInfo {
    size_t withoutNames = 0;
    size_t withNames = 0;
};

// Both sizes of the block `list` encodes to (not limited to 16 bits, so a
// caller can tell that a list does not fit at all).
MacroBlockSizeInfo MacroBlockSizes(const MacroList& list);

// Fills `buffer` with the block of `list`. Returns the bytes written, or 0
// when the list holds more than 100 macros, the buffer is too small or the
// block would not fit its 16-bit size field (nothing useful is written then).
size_t EncodeMacroBlock(const MacroList& list, uint8_t* buffer, size_t size, bool withNames);
std::vector<uint8_t> EncodeMacroBlock(const MacroList& list, bool withNames);

// One action's four bytes: delay / 10 in bits 0-11 (held at 0xFFF), the
// device key type in bits 12-14, bit 15 for a press; then a and b.
void EncodeMacroAction(const MacroAction& action, uint8_t* out);
MacroAction DecodeMacroAction(const uint8_t* in);

constexpr int kMacroBlockOk = 1;
constexpr int kMacroBlockBadHeader = -1; // too short, wrong magic, or size field beyond the data
constexpr int kMacroBlockTooMany = -2;   // more than 100 macros
constexpr int kMacroBlockBadEntry = -3;  // an offset, action count or name that does not fit

// Reads a block that came from the keyboard; `size` is how many bytes were
// really read. Every offset, count and name length is checked against the
// block's size field, which must itself lie within `size`; a block that does
// not fit in any way is refused whole and `records` is left empty. Record i
// gets id i + 1, new flag 0, and "Macro<i+1>" when the block holds no name.
int DecodeMacroBlock(const uint8_t* block, size_t size, MacroList& records);

} // namespace orvane
