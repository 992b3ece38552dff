#pragma once
// Turning a key matrix read back from the keyboard into key function records.
#include <array>
#include <span>

#include "model/KeyFunction.h"

namespace orvane {

using KeyFunctionBlock = std::array<KeyFunction, kRecordsPerBlock>;

// The block of `profile` in a fresh table (every record Default; the G-key
// records of profile 0 carry their codes).
KeyFunctionBlock FreshKeyFunctionBlock(int profile);

// The key table index of the key the default matrix names at `position`
// (0 .. key count - 1), the record a matrix position stands for; 0 when it
// names no key.
int KeyIndexAtPosition(std::span<const uint8_t> defaultMatrix, size_t position);

// Starts from the fresh block of `profile`; every position 0 .. keyCount - 1
// whose code differs from `defaultMatrix` there gives the record of the key
// the default code names: the function the keyboard's code stands for, or
// Disabled for a code that stands for none. Positions equal to the default
// stay Default. Matrices shorter than keyCount * 3 give the fresh block.
KeyFunctionBlock DecodeKeyMatrix(int profile, std::span<const uint8_t> matrix,
                                 std::span<const uint8_t> defaultMatrix, int keyCount);

} // namespace orvane
