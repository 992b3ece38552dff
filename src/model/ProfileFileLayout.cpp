// The profile file header, the device block and the well-formedness check.
#include <algorithm>

#include "model/ProfileFile.h"
#include "platform/ByteOrder.h"

namespace orvane {

namespace {

// Header field offsets.
constexpr size_t kMagicAt = 0;
constexpr size_t kHeaderSizeAt = 2;
constexpr size_t kProfileCountAt = 4;
constexpr size_t kVersionAt = 6;
constexpr size_t kTotalSizeAt = 8;
constexpr size_t kKeyRecordCountAt = 12;
constexpr size_t kMacroCountAt = 14;
constexpr size_t kTextSizeAt = 16;
constexpr size_t kReserved20At = 20;
constexpr size_t kReserved24At = 24;
constexpr size_t kReserved28At = 28;
constexpr size_t kFlagAt = 30;
constexpr size_t kChecksumAt = 31;

} // namespace

ProfileFileHeader ReadProfileHeader(const uint8_t* b) {
    ProfileFileHeader h;
    h.magic = GetLE16(b + kMagicAt);
    h.headerSize = GetLE16(b + kHeaderSizeAt);
    h.profileCount = GetLE16(b + kProfileCountAt);
    h.version = GetLE16(b + kVersionAt);
    h.totalSize = GetLE32(b + kTotalSizeAt);
    h.keyRecordCount = GetLE16(b + kKeyRecordCountAt);
    h.macroCount = GetLE16(b + kMacroCountAt);
    h.textSize = GetLE32(b + kTextSizeAt);
    h.reserved20 = GetLE32(b + kReserved20At);
    h.reserved24 = GetLE32(b + kReserved24At);
    h.reserved28 = GetLE16(b + kReserved28At);
    h.flag = b[kFlagAt];
    h.checksum = b[kChecksumAt];
    return h;
}

void WriteProfileHeader(const ProfileFileHeader& h, uint8_t* b) {
    PutLE16(b + kMagicAt, h.magic);
    PutLE16(b + kHeaderSizeAt, h.headerSize);
    PutLE16(b + kProfileCountAt, h.profileCount);
    PutLE16(b + kVersionAt, h.version);
    PutLE32(b + kTotalSizeAt, h.totalSize);
    PutLE16(b + kKeyRecordCountAt, h.keyRecordCount);
    PutLE16(b + kMacroCountAt, h.macroCount);
    PutLE32(b + kTextSizeAt, h.textSize);
    PutLE32(b + kReserved20At, h.reserved20);
    PutLE32(b + kReserved24At, h.reserved24);
    PutLE16(b + kReserved28At, h.reserved28);
    b[kFlagAt] = h.flag;
    b[kChecksumAt] = h.checksum;
}

uint8_t ProfileHeaderChecksum(const uint8_t* bytes) {
    unsigned sum = 0;
    for (size_t i = 0; i < kChecksumAt; ++i)
        sum += bytes[i];
    return static_cast<uint8_t>(sum);
}

const std::array<uint8_t, kDeviceBlockBytes>& DefaultDeviceBlock() {
    static const std::array<uint8_t, kDeviceBlockBytes> block = {
        0x4B, 0x48, 0x20, 0x00, 0x20, 0x80, 0x00, 0x00, 0x04, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00,
        0x45, 0x0C, 0x04, 0x50, 0x4F, 0x1C, 0x0E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    };
    return block;
}

uint64_t ProfileBodySize(uint16_t macroCount, uint32_t textSize) {
    return kProfileImageBytes + uint64_t{macroCount} * kMacroRecordBytes + textSize;
}

ProfileHeader MakeProfileHeader(uint16_t macros, uint32_t textSize, uint8_t flag) {
    ProfileHeader image{};
    ProfileFileHeader h;
    h.macroCount = macros;
    h.textSize = textSize;
    h.totalSize = static_cast<uint32_t>(ProfileBodySize(macros, textSize));
    h.flag = flag;
    WriteProfileHeader(h, image.data());
    image[kChecksumAt] = ProfileHeaderChecksum(image.data());
    std::copy(DefaultDeviceBlock().begin(), DefaultDeviceBlock().end(),
              image.begin() + kProfileFileHeaderSize);
    return image;
}

bool IsWellFormedProfileHeader(const uint8_t* header, uint64_t fileSize) {
    if (header == nullptr || fileSize < kProfileImageBytes || fileSize > kProfileFileMaxBytes) return false;
    const ProfileFileHeader h = ReadProfileHeader(header);
    if (h.magic != kProfileMagic || h.headerSize != kProfileFileHeaderSize ||
        h.profileCount != kProfileFileProfileCount || h.version != kProfileFormatVersion)
        return false;
    if (h.totalSize < kProfileImageBytes || h.keyRecordCount != kKeyRecordCount) return false;
    if (h.macroCount > kMacroMaxCount || h.flag >= 2) return false;
    if (h.totalSize != ProfileBodySize(h.macroCount, h.textSize)) return false;
    // A file cut short of what its header describes would load only in part.
    if (fileSize < h.totalSize) return false;
    return h.checksum == ProfileHeaderChecksum(header);
}

bool IsWellFormedProfile(const uint8_t* data, size_t size) {
    return data != nullptr && size >= kProfileFileHeaderSize && IsWellFormedProfileHeader(data, size);
}

} // namespace orvane
