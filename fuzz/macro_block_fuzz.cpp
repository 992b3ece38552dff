// Macro blocks come from the keyboard's memory: whatever the bytes, decoding
// must stay inside them, and whatever it accepts must encode back to a block
// that decodes to the same macros.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "model/MacroBlock.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MacroList macros;
    const int r = DecodeMacroBlock(data, size, macros);
    if (r != kMacroBlockOk) {
        if (!macros.empty()) std::abort(); // a refused block gives no macros
        return 0;
    }
    for (const MacroRecord& m : macros)
        if (m.actionCount > kMacroMaxActions || m.name[kMacroNameMaxChars] != 0) std::abort();

    for (bool withNames : {true, false}) {
        const std::vector<uint8_t> block = EncodeMacroBlock(macros, withNames);
        if (block.empty()) continue; // a list too large for 16 bits is refused, not cut
        MacroList again;
        if (DecodeMacroBlock(block.data(), block.size(), again) != kMacroBlockOk) std::abort();
        if (again.size() != macros.size()) std::abort();
        for (size_t i = 0; i < macros.size(); ++i) {
            const MacroRecord& a = macros[i];
            const MacroRecord& b = again[i];
            if (a.id != b.id || a.repeat != b.repeat || a.actionCount != b.actionCount) std::abort();
            if (withNames && MacroName(a) != MacroName(b)) std::abort();
            for (size_t k = 0; k < a.actionCount; ++k) {
                MacroAction want = a.actions[k];
                // Type-6 codes (scan codes 0x1FF and up) have no usage, so they go out as no key.
                if (want.scanCode >= 0x1FF) want.scanCode = 0;
                if (!(b.actions[k] == want)) std::abort();
            }
        }
    }
    return 0;
}
