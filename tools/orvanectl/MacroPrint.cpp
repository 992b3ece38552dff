#include "MacroPrint.h"

#include <cstdio>
#include <ostream>

#include "model/Utf16Text.h"

namespace orvanectl {

using namespace orvane;

void PrintMacroList(const MacroList& list, std::ostream& out) {
    char line[64];
    for (size_t i = 0; i < list.size(); ++i) {
        const MacroRecord& m = list[i];
        out << "macro " << i << " id " << m.id << " repeat " << unsigned(m.repeat) << " name "
            << Utf16ToUtf8(MacroName(m)) << " actions " << MacroActionCount(m) << "\n";
        for (size_t a = 0; a < MacroActionCount(m); ++a) {
            std::snprintf(line, sizeof line, "  delay %u scan %03X dir %u\n", m.actions[a].delay,
                          static_cast<unsigned>(m.actions[a].scanCode),
                          static_cast<unsigned>(m.actions[a].transition));
            out << line;
        }
    }
}

} // namespace orvanectl
