// Skin files come from beside the executable and may be edited by hand: any
// content must give rectangles, never a crash.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "app/SkinIniFile.h"
#include "app/SkinKeyLists.h"
#include "app/SkinReaders.h"
#include "ScratchFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvane;
    const std::string text(reinterpret_cast<const char*>(data), size);
    (void)ParseSkinRect(text);
    static const std::string path =
        FuzzScratchRoot() + "/skin_file_fuzz_" + std::to_string(::getpid()) + ".ini";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    for (const SkinKeyUse& use : MainSkinKeys()) {
        (void)ReadSkinRect(path, kSectionButtons, use.key);
        if (!use.faceKey.empty()) (void)ReadSkinRect(path, kSectionFaceOrigins, use.faceKey);
    }
    CIniFile ini;
    ini.Load(path);
    (void)ini.GetString(kSectionScreen, "Main");
    (void)ini.GetString(kSectionScreen, "Link");
    return 0;
}
