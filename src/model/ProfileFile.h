#pragma once
// Profile files: one whole key configuration (the key function records of the
// three profiles, the macro list and the texts of Program and Text keys) in
// one little-endian binary layout, used for the working profile file of each
// keyboard profile, for exported and imported ".fwc" files and for the copy
// taken from the keyboard.
//
//   0      32-byte header
//   32     32-byte device block, carried unchanged
//   64     2048 key function records of 16 bytes
//   32832  n macro records of 32512 bytes, in list order
//   ...    S bytes of text area (UTF-16 texts with terminators)
//
// The files are outside data: every count, size and offset is checked
// against the real length before it is used, and every file is written to a
// temporary name and renamed into place.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/ConfigStore.h"
#include "platform/WriteResult.h"

namespace orvane {

constexpr uint16_t kProfileMagic = 0x4446;
constexpr uint16_t kProfileFileHeaderSize = 32;
constexpr uint16_t kProfileFileProfileCount = 3;
constexpr uint16_t kProfileFormatVersion = 1;
constexpr size_t kDeviceBlockBytes = 32;
constexpr size_t kProfileRecordsOffset = 64;
constexpr uint64_t kProfileFileMaxBytes = 0xFFFFFFFFull; // the total size field is 32 bits
constexpr const char* kProfileFileExtension = "fwc";
static_assert(kProfileImageBytes == 32832);

// The file dialogs' filter: profile files, then all files, each named in the
// current language ("description|patterns|...||").
std::string ProfileFileFilter();

// ValidateProfileFile results.
constexpr int kProfileValid = 1;
constexpr int kProfileMalformed = 0; // missing, short or malformed
constexpr int kProfileNoMemory = 253;
constexpr int kProfileCannotOpen = 254;

struct ProfileFileHeader {
    uint16_t magic = kProfileMagic;
    uint16_t headerSize = kProfileFileHeaderSize;
    uint16_t profileCount = kProfileFileProfileCount;
    uint16_t version = kProfileFormatVersion;
    uint32_t totalSize = kProfileImageBytes;
    uint16_t keyRecordCount = kKeyRecordCount;
    uint16_t macroCount = 0;
    uint32_t textSize = 0;
    uint32_t reserved20 = 0;
    uint32_t reserved24 = 0;
    uint16_t reserved28 = 0;
    uint8_t flag = 0;     // 0 or 1; every file the program writes has 0
    uint8_t checksum = 0; // sum of bytes 0-30, modulo 256
    bool operator==(const ProfileFileHeader&) const = default;
};
static_assert(sizeof(ProfileFileHeader) == kProfileFileHeaderSize);

// Reads and writes the 32 header bytes; `bytes` must hold at least 32.
ProfileFileHeader ReadProfileHeader(const uint8_t* bytes);
void WriteProfileHeader(const ProfileFileHeader& header, uint8_t* bytes);
// Sum of bytes 0-30 of a written header, modulo 256.
uint8_t ProfileHeaderChecksum(const uint8_t* bytes);

// The device block of every file the program makes.
const std::array<uint8_t, kDeviceBlockBytes>& DefaultDeviceBlock();

// Header (with its checksum) and device block of a file with `macros`
// macros, a `textSize`-byte text area and `flag`, as the image's first 64 bytes.
ProfileHeader MakeProfileHeader(uint16_t macros, uint32_t textSize, uint8_t flag);

// ----------------------------------------------------------------- layout

// Size of the file the header describes: 32832 + n * 32512 + S.
uint64_t ProfileBodySize(uint16_t macroCount, uint32_t textSize);

// Whether a file of these bytes is well formed: at least 32832 and at most
// 4 GiB long, magic 0x4446, header size 32, profile count 3, version 1,
// 2048 records, n <= 100, flag 0 or 1, total size = 32832 + n * 32512 + S
// with the whole file that long at least, and the checksum right. Only the
// header is checked: a longer file passes.
bool IsWellFormedProfile(const uint8_t* data, size_t size);
// The same from the 32 header bytes and the file's length.
bool IsWellFormedProfileHeader(const uint8_t* header, uint64_t fileSize);

// --------------------------------------------------- the working copy

// Builds a blank configuration: header (n = 0, S = 0, `flag`), the device
// block and the fresh key function records. With a path it writes it there
// (the working copy is untouched), else it becomes the working copy. 1 on
// success, 0 when the file could not be written.
int CreateBlankProfile(const std::string* path, uint8_t flag, CConfigStore& store = g_ConfigStore);

// The file bytes of the working copy: its header rewritten for the current
// macro count and text total (flag 0, checksum recomputed), the image, the
// macros and the packed texts. Packing sets each Program and Text record's
// value to its text's offset; a text that would run past the total is left
// out and its record keeps its old value. Takes ConfigStoreLock.
std::vector<uint8_t> BuildProfileFileBytes(CConfigStore& store = g_ConfigStore);

// Writes profile file bytes to `path` through a temporary file; 1 on success,
// 0 when there are none or they could not be written (the old file stays whole).
int WriteProfileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// The same, saying why it failed.
WriteResult WriteProfileFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Writes BuildProfileFileBytes to `path` through a temporary file; 1 on
// success, 0 when the file could not be written (the old file stays whole).
int SaveProfileFile(const std::string& path, CConfigStore& store = g_ConfigStore);

// Replaces the working copy from file bytes: the image, n macro records and
// the texts found at the offsets of the Program and Text records. Refuses
// (0, working copy untouched) bytes shorter than 32832 + n * 32512 + S or
// with more than 100 macros; 1 on success. No other header check is made,
// so the working profile files load as they were written.
int LoadProfileBytes(const uint8_t* data, size_t size, CConfigStore& store = g_ConfigStore);

// The same from a file; 0 when it is missing, unreadable, refused or memory
// runs out. Takes ConfigStoreLock.
int LoadProfileFile(const std::string& path, CConfigStore& store = g_ConfigStore);

// 1 for a well-formed file; 0 for a missing, short or malformed one (an
// existing file that is not well formed also shows "PROFILE_FORMAT_ERROR"
// with its path); 253 when memory runs out; 254 when it cannot be opened.
int ValidateProfileFile(const std::string& path);

// ------------------------------------------------ working profile files

// "$Profile<p>" in the user data folder, for p = 0-2; empty otherwise.
std::string WorkingProfilePath(int profile);

// Saves the working copy into the working profile file of `activeProfile`,
// only when that file exists. 1 when it was saved, 0 otherwise (profile
// unknown, no such file, or the write failed).
int SaveWorkingProfile(int activeProfile, CConfigStore& store = g_ConfigStore);

// ---------------------------------------------------- import and export

// The file side of importing: validates `path`; only a well-formed file is
// saved into the working profile file of `activeProfile` (when that file
// exists) and then becomes the working copy under ConfigStoreLock. Any
// failure shows "MAIN_PROMPT_INPORT" (after the file that could not be
// saved, with its reason) and leaves the working copy and the working
// profile file as they were. 1 when the file was loaded; sending it to the
// keyboard is the caller's, who must not hold ConfigStoreLock (the messages
// are shown without it).
int ImportProfileFile(const std::string& path, int activeProfile, CConfigStore& store = g_ConfigStore);

// Saves the working copy, taken under ConfigStoreLock, to the chosen file.
WriteResult ExportProfileFile(const std::string& path, CConfigStore& store = g_ConfigStore);

} // namespace orvane
