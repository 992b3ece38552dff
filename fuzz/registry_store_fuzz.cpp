// Any bytes as the per-user registry store: reads never crash, and a write
// keeps every value that could be read before it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "ScratchFolder.h"

namespace {

const char* kKeys[] = {"Software\\Brislane ", "Software\\Orvane_Quenlo\\Orvane\\PROFILES", "A"};
const char* kNames[] = {"dwLanguageId", "Flip", "x", ""};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string home = [] {
        std::string dir = FuzzScratchRoot() + "/orvane-registry-fuzz-" + std::to_string(getpid());
        setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        orvane::MakeFolders(dir + "/orvane");
        return dir;
    }();
    if (!orvane::WriteFileAtomically(orvane::RegistryStorePath(),
                                     std::string(reinterpret_cast<const char*>(data), size)))
        return 0;

    orvane::CRegistryKey keys[3];
    std::optional<uint32_t> dwords[3][4];
    std::optional<std::string> strings[3][4];
    for (int k = 0; k < 3; ++k) {
        if (!keys[k].OpenOrCreate(kKeys[k])) abort();
        for (int n = 0; n < 4; ++n) {
            dwords[k][n] = keys[k].ReadDword(kNames[n]);
            strings[k][n] = keys[k].ReadString(kNames[n]);
        }
    }
    if (!keys[0].WriteDword("Written", 7)) abort();
    for (int k = 0; k < 3; ++k)
        for (int n = 0; n < 4; ++n)
            if (keys[k].ReadDword(kNames[n]) != dwords[k][n] ||
                keys[k].ReadString(kNames[n]) != strings[k][n])
                abort();
    if (keys[0].ReadDword("written") != 7u) abort();
    return 0;
}
