#pragma once
// Explicit little-endian access to byte buffers. Callers check sizes first;
// these helpers never cast a buffer to a struct.
#include <cstddef>
#include <cstdint>

namespace orvane {

inline uint16_t GetLE16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t GetLE32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void PutLE16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutLE32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

// True when [offset, offset + length) lies inside a buffer of `size` bytes,
// without overflowing on hostile values.
inline bool RangeFits(size_t size, size_t offset, size_t length) {
    return offset <= size && length <= size - offset;
}

} // namespace orvane
