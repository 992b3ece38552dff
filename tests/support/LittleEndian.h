#pragma once
// Files laid out by hand: little-endian values written into a byte buffer.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane::testing {

// The `size` low bytes of `value` at `at`, lowest first.
inline void PutLE(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int size = 2) {
    for (int i = 0; i < size; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

} // namespace orvane::testing
