// Any bytes as an ini file: reads never crash, and a write changes the one
// key written and nothing else that can be read.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "ScratchFolder.h"

namespace {

const char* kSections[] = {"A", "b", "Screen", ""};
const char* kKeys[] = {"x", "Y", "k", "Width"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path =
        FuzzScratchRoot() + "/orvane-ini-fuzz-" + std::to_string(getpid()) + ".ini";
    std::string text(reinterpret_cast<const char*>(data), size);
    if (!orvane::WriteFileAtomically(path, text)) return 0;

    std::string before[4][4];
    for (int s = 0; s < 4; ++s)
        for (int k = 0; k < 4; ++k) {
            before[s][k] = orvane::IniReadString(path, kSections[s], kKeys[k], "<none>", 1 + (size % 300));
            before[s][k] = orvane::IniReadString(path, kSections[s], kKeys[k], "<none>");
            orvane::IniReadInt(path, kSections[s], kKeys[k], -1);
        }

    if (!orvane::IniWriteString(path, "A", "x", "written")) abort();
    for (int s = 0; s < 4; ++s)
        for (int k = 0; k < 4; ++k) {
            std::string now = orvane::IniReadString(path, kSections[s], kKeys[k], "<none>");
            bool written = s == 0 && k == 0;
            if (written ? now != "written" : now != before[s][k]) abort();
        }
    return 0;
}
