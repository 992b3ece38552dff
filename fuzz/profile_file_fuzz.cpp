// Profile files are outside data (imported files, and working files that
// load without validation). Whatever the bytes: validation and loading, from
// memory and from a file, stay inside them and agree with each other; a
// refused load leaves the working copy alone; every file that validates
// loads; and whatever loads saves back to a well-formed file that loads to
// the same configuration.
//
// Inputs with the low bit of byte 0 set are a recipe rather than a file, so
// the fuzzer reaches deep into files far larger than its inputs: a 32-byte
// header, record patches, and a tail length, with the checksum and total
// size optionally made right.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "model/ProfileFile.h"
#include "platform/AtomicFile.h"
#include "platform/ByteOrder.h"
#include "ScratchFolder.h"

using namespace orvane;

namespace {

class CInput {
  public:
    CInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t Word() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }
    uint32_t Long() { return Word() | (static_cast<uint32_t>(Word()) << 16); }
    bool Empty() const { return pos_ >= size_; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

std::vector<uint8_t> FromRecipe(const uint8_t* data, size_t size) {
    CInput in(data, size);
    const uint8_t mode = in.Byte();
    uint8_t header[kProfileFileHeaderSize];
    for (uint8_t& b : header)
        b = in.Byte();
    // Tails up to three macros and some text, so counts near the real length
    // are reached both ways.
    const size_t tail = in.Long() % (3 * kMacroRecordBytes + 4096);
    std::vector<uint8_t> file(kProfileImageBytes + tail, 0);
    std::copy(std::begin(header), std::end(header), file.begin());
    const int patches = in.Byte() % 32;
    for (int i = 0; i < patches; ++i) {
        const size_t at = kProfileRecordsOffset + (in.Word() % kKeyRecordCount) * kKeyFunctionBytes;
        PutLE16(file.data() + at, static_cast<uint16_t>(in.Byte() % 8)); // kinds near Program and Text
        PutLE32(file.data() + at + 4, in.Long());
    }
    // Whatever is left fills the tail from its start (macro names, texts).
    for (size_t at = kProfileImageBytes; at < file.size() && !in.Empty(); ++at)
        file[at] = in.Byte();
    if (mode & 2)
        PutLE32(file.data() + 8,
                static_cast<uint32_t>(ProfileBodySize(GetLE16(file.data() + 14), GetLE32(file.data() + 16))));
    if (mode & 4) file[31] = ProfileHeaderChecksum(file.data());
    return file;
}

void Check(bool ok) {
    if (!ok) std::abort();
}

// A scratch folder of this run, which also stands in for the per-user
// folders, so the language lookup behind the format error message never
// touches the real ones.
const std::string& ScratchFolder() {
    static const std::string folder = [] {
        std::string pattern = FuzzScratchRoot() + "/orvane-profile-fuzz-XXXXXX";
        const char* made = ::mkdtemp(pattern.data());
        return made ? std::string(made) : std::string("/tmp");
    }();
    return folder;
}

void RemoveScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(ScratchFolder(), ec);
}

// The file functions read the same bytes from disk; they must agree with the
// in-memory ones.
void CheckFileFunctions(const std::vector<uint8_t>& file, bool valid, int loaded) {
    const std::string path = ScratchFolder() + "/p.fwc";
    if (!WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(file.data()), file.size())))
        return;
    Check((ValidateProfileFile(path) == kProfileValid) == valid);
    auto store = std::make_unique<CConfigStore>();
    Check(LoadProfileFile(path, *store) == loaded);
    ::unlink(path.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("XDG_CONFIG_HOME", ScratchFolder().c_str(), 1);
    ::setenv("XDG_DATA_HOME", ScratchFolder().c_str(), 1);
    std::atexit(RemoveScratchFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool recipe = size > 0 && (data[0] & 1);
    std::vector<uint8_t> file = recipe ? FromRecipe(data, size) : std::vector<uint8_t>(data, data + size);

    const bool valid = IsWellFormedProfile(file.data(), file.size());
    auto store = std::make_unique<CConfigStore>();
    const std::u16string marker = u"marker";
    store->SetKeyString(7, marker);
    const int loaded = LoadProfileBytes(file.data(), file.size(), *store);
    if (valid) Check(loaded == 1);
    CheckFileFunctions(file, valid, loaded);
    if (!loaded) {
        Check(store->KeyString(7) == marker && store->MacroCount() == 0);
        return 0;
    }
    const ProfileFileHeader h = ReadProfileHeader(file.data());
    Check(store->MacroCount() == h.macroCount);

    const std::vector<uint8_t> saved = BuildProfileFileBytes(*store);
    Check(IsWellFormedProfile(saved.data(), saved.size()));
    auto again = std::make_unique<CConfigStore>();
    Check(LoadProfileBytes(saved.data(), saved.size(), *again) == 1);
    Check(again->Records() == store->Records());
    Check(again->Macros() == store->Macros());
    Check(again->KeyStringTotal() == store->KeyStringTotal());
    for (int i = 0; i < kKeyRecordCount; ++i)
        Check(again->KeyString(i) == store->KeyString(i));
    return 0;
}
