// Making, saving, loading and validating profile files.
#include "model/ProfileFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <mutex>
#include <new>
#include <string_view>
#include <sys/stat.h>

#include "platform/AtomicFile.h"
#include "platform/ByteOrder.h"
#include "platform/CriticalSections.h"
#include "services/Language.h"
#include "services/Prompt.h"

namespace orvane {

namespace {

using Guard = std::lock_guard<COrderedLock>;

struct CloseFile {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, CloseFile>;

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Opens a regular file for reading and tells its length. Anything else (a
// folder, or a pipe that would block the open) is refused before opening.
FilePtr OpenForReading(const std::string& path, uint64_t& length) {
    if (!IsRegularFile(path)) return nullptr;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    struct stat st {};
    if (!file || ::fstat(::fileno(file.get()), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    length = static_cast<uint64_t>(st.st_size);
    return file;
}

bool ReadExactly(std::FILE* file, uint8_t* out, size_t count) {
    return std::fread(out, 1, count, file) == count;
}

void ShowFormatError(const std::string& path) {
    Prompt().MessageBox(FormatTextString(Text("PROFILE_FORMAT_ERROR"), path), "", MB_OK | MB_ICONERROR);
}

} // namespace

std::string ProfileFileFilter() {
    return Text("FILE_FILTER_PROFILES") + "|*." + kProfileFileExtension + "|" + Text("FILE_FILTER_ALL") +
           "|*.*||";
}

WriteResult WriteProfileFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    // No bytes: building them ran out of memory.
    if (bytes.empty()) return WriteFailed(path, ENOMEM);
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return WriteFileAtomically(path, view);
}

int WriteProfileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    return WriteProfileFile(path, bytes) ? 1 : 0;
}

// -------------------------------------------------------------------- blank

int CreateBlankProfile(const std::string* path, uint8_t flag, CConfigStore& store) {
    const ProfileHeader header = MakeProfileHeader(0, 0, flag);
    if (path == nullptr) {
        store.InstallFresh(header);
        return 1;
    }
    std::vector<uint8_t> image(kProfileImageBytes);
    std::copy(header.begin(), header.end(), image.begin());
    const KeyFunctionTable records = FreshKeyFunctionTable();
    for (size_t i = 0; i < records.size(); ++i)
        WriteKeyFunction(records[i], image.data() + kProfileRecordsOffset + i * kKeyFunctionBytes);
    return WriteProfileBytes(*path, image);
}

// ------------------------------------------------------------------- saving

std::vector<uint8_t> BuildProfileFileBytes(CConfigStore& store) {
    Guard lock(ConfigStoreLock());
    try {
        const std::vector<uint8_t> texts = store.PackWorkingStrings();
        const MacroList macros = store.Macros();
        const uint64_t total =
            ProfileBodySize(static_cast<uint16_t>(macros.size()), static_cast<uint32_t>(texts.size()));
        if (macros.size() > kMacroMaxCount || total > kProfileFileMaxBytes) return {};

        // Reserved bytes and the device block stay as the working copy has them.
        ProfileHeader head = store.Header();
        ProfileFileHeader h = ReadProfileHeader(head.data());
        h.magic = kProfileMagic;
        h.headerSize = kProfileFileHeaderSize;
        h.profileCount = kProfileFileProfileCount;
        h.version = kProfileFormatVersion;
        h.keyRecordCount = kKeyRecordCount;
        h.macroCount = static_cast<uint16_t>(macros.size());
        h.textSize = static_cast<uint32_t>(texts.size());
        h.totalSize = static_cast<uint32_t>(total);
        h.flag = 0;
        WriteProfileHeader(h, head.data());
        head[kProfileFileHeaderSize - 1] = ProfileHeaderChecksum(head.data());
        store.SetHeader(head);

        std::vector<uint8_t> bytes = store.WorkingImage();
        bytes.reserve(static_cast<size_t>(total));
        const std::vector<uint8_t> records = WriteMacroRecords(macros);
        bytes.insert(bytes.end(), records.begin(), records.end());
        bytes.insert(bytes.end(), texts.begin(), texts.end());
        return bytes;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

int SaveProfileFile(const std::string& path, CConfigStore& store) {
    Guard lock(ConfigStoreLock());
    return WriteProfileBytes(path, BuildProfileFileBytes(store));
}

// ------------------------------------------------------------------ loading

int LoadProfileBytes(const uint8_t* data, size_t size, CConfigStore& store) {
    if (data == nullptr || size < kProfileImageBytes) return 0;
    const ProfileFileHeader h = ReadProfileHeader(data);
    if (h.macroCount > kMacroMaxCount) return 0;
    const uint64_t needed = ProfileBodySize(h.macroCount, h.textSize);
    if (needed > size) return 0;
    const size_t macroBytes = size_t{h.macroCount} * kMacroRecordBytes;
    const uint8_t* texts = data + kProfileImageBytes + macroBytes;
    try {
        MacroList macros;
        if (!ReadMacroRecords(data + kProfileImageBytes, macroBytes, macros)) return 0;
        Guard lock(ConfigStoreLock());
        store.ReleaseWorking();
        store.SetWorkingImage(data, kProfileImageBytes);
        store.SetMacros(std::move(macros));
        store.LoadKeyStrings(texts, h.textSize);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

int LoadProfileFile(const std::string& path, CConfigStore& store) {
    uint64_t length = 0;
    FilePtr file = OpenForReading(path, length);
    if (!file || length < kProfileImageBytes) return 0;
    uint8_t head[kProfileFileHeaderSize];
    if (!ReadExactly(file.get(), head, sizeof head)) return 0;
    const ProfileFileHeader h = ReadProfileHeader(head);
    // Only what the header describes is read, and only when the file holds it.
    const uint64_t needed = ProfileBodySize(h.macroCount, h.textSize);
    if (h.macroCount > kMacroMaxCount || needed > length) return 0;
    try {
        std::vector<uint8_t> bytes(static_cast<size_t>(needed));
        std::copy(std::begin(head), std::end(head), bytes.begin());
        if (!ReadExactly(file.get(), bytes.data() + sizeof head, bytes.size() - sizeof head)) return 0;
        file.reset();
        Guard lock(ConfigStoreLock());
        return LoadProfileBytes(bytes.data(), bytes.size(), store);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

// --------------------------------------------------------------- validating

int ValidateProfileFile(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return kProfileMalformed;
    uint64_t length = 0;
    FilePtr file = OpenForReading(path, length);
    if (!file) return kProfileCannotOpen;
    uint8_t head[kProfileFileHeaderSize];
    if (length >= kProfileImageBytes && !ReadExactly(file.get(), head, sizeof head))
        return kProfileCannotOpen;
    if (length < kProfileImageBytes || !IsWellFormedProfileHeader(head, length)) {
        ShowFormatError(path);
        return kProfileMalformed;
    }
    return kProfileValid;
}

} // namespace orvane
