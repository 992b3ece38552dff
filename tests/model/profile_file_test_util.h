#pragma once
// Profile file bytes built by hand for the profile file tests.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "model/ProfileFile.h"
#include "platform/ByteOrder.h"

namespace orvane::test {

// A well-formed file for `macros` zeroed macro records and `textBytes`
// zero bytes of text area.
inline std::vector<uint8_t> ProfileBytes(uint16_t macros, uint32_t textBytes) {
    std::vector<uint8_t> bytes(ProfileBodySize(macros, textBytes), 0);
    const ProfileHeader head = MakeProfileHeader(macros, textBytes, 0);
    std::copy(head.begin(), head.end(), bytes.begin());
    return bytes;
}

inline void FixChecksum(std::vector<uint8_t>& bytes) {
    bytes[31] = ProfileHeaderChecksum(bytes.data());
}

// Sets record `index` (0-2047) of the image.
inline void PutRecord(std::vector<uint8_t>& bytes, int index, uint16_t kind, int32_t value) {
    uint8_t* r = bytes.data() + kProfileRecordsOffset + static_cast<size_t>(index) * kKeyFunctionBytes;
    PutLE16(r, kind);
    PutLE32(r + 4, static_cast<uint32_t>(value));
}

inline std::string AsString(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}
inline std::vector<uint8_t> AsBytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

} // namespace orvane::test
