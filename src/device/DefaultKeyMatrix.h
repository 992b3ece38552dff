#pragma once
// The keyboard's factory key matrix: the template for every key left at its
// own function, and the reference DecodeKeyMatrix compares read-back matrices
// against. Until a keyboard's own matrix has been read it holds the built-in
// table of the first 63 positions. Written by the connection monitor, read
// by the user-interface thread, so every access copies under a lock.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/DeviceCommands.h"

namespace orvane {

using KeyMatrixBuffer = std::array<uint8_t, MAX_KEY_MATRIX_LENGTH>;

// The built-in table: positions 0-62, every other byte 0.
const KeyMatrixBuffer& BuiltInDefaultKeyMatrix();

// A copy of the current default matrix (always 512 bytes; the connected
// model uses the first KeyMatrixLength()).
KeyMatrixBuffer DefaultKeyMatrix();
// Replaces the first `matrix.size()` bytes (at most 512); the rest stay.
void SetDefaultKeyMatrix(std::span<const uint8_t> matrix);
// Back to the built-in table, no keyboard's matrix known.
void ResetDefaultKeyMatrix();

// DevReadDefaultKeyMatrix into the default matrix, as a connection does: on
// success the KeyMatrixLength() bytes read replace it, otherwise it keeps
// what it held. Returns the command's status.
int RefreshDefaultKeyMatrix();

// Whether the default matrix holds one read from a keyboard of the connected
// model (not the built-in table, nor the other model's matrix).
bool DefaultKeyMatrixKnown();
// DEV_OK when it is known; otherwise it is read again (RefreshDefaultKeyMatrix).
// Key matrices built on anything else would send the wrong code, or nothing,
// for every key past the built-in table.
int EnsureDefaultKeyMatrix();

} // namespace orvane
