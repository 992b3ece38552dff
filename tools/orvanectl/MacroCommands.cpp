// Raw macro encoder and decoder, so scripts can check what the keyboard is
// sent and read back without a keyboard.
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "CtlCommand.h"
#include "MacroPrint.h"
#include "model/MacroBlock.h"
#include "model/MacroRecord.h"
#include "platform/AtomicFile.h"
#include "Reasons.h"

namespace orvanectl {
namespace {

using namespace orvane;

// "@FILE" names the input file; anything else is a usage error.
bool ReadInput(const std::vector<std::string>& args, const char* command, std::string& contents,
               std::ostream& err, int& status) {
    if (args.size() != 1 || args[0].size() < 2 || args[0][0] != '@') {
        err << command << ": expected @FILE\n";
        status = kUsage;
        return false;
    }
    if (!ReadWholeFile(args[0].substr(1), contents)) {
        err << command << ": " << CannotRead(args[0].substr(1)) << "\n";
        status = kFailed;
        return false;
    }
    return true;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string s;
    s.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        s.push_back(kDigits[b >> 4]);
        s.push_back(kDigits[b & 0xF]);
    }
    return s;
}

int EncodeMacros(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string contents;
    int status = kOk;
    if (!ReadInput(args, "encode-macros", contents, err, status)) return status;
    MacroList list;
    if (!ReadMacroRecords(reinterpret_cast<const uint8_t*>(contents.data()), contents.size(), list)) {
        err << "encode-macros: the file is not a whole number of " << kMacroRecordBytes
            << "-byte macro records\n";
        return kFailed;
    }
    if (list.size() > kMacroMaxCount) {
        err << "encode-macros: " << list.size() << " macros, at most " << kMacroMaxCount << "\n";
        return kFailed;
    }
    const MacroBlockSizeInfo sizes = MacroBlockSizes(list);
    int result = kOk;
    for (bool withNames : {true, false}) {
        const std::vector<uint8_t> block = EncodeMacroBlock(list, withNames);
        out << "names: " << (withNames ? 1 : 0) << "\n";
        out << "size: " << (withNames ? sizes.withNames : sizes.withoutNames) << "\n";
        out << "data: " << Hex(block) << "\n";
        if (block.empty()) {
            err << "encode-macros: the block " << (withNames ? "with" : "without")
                << " names does not fit in " << kMacroBlockMaxBytes << " bytes\n";
            result = kFailed;
        }
    }
    return result;
}

int DecodeMacros(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string contents;
    int status = kOk;
    if (!ReadInput(args, "decode-macros", contents, err, status)) return status;
    MacroList list;
    const int r = DecodeMacroBlock(reinterpret_cast<const uint8_t*>(contents.data()), contents.size(), list);
    if (r != kMacroBlockOk) {
        err << "decode-macros: refused: "
            << (r == kMacroBlockTooMany    ? "more than 100 macros"
                : r == kMacroBlockBadEntry ? "an entry does not fit in the block"
                                           : "not a macro block, or shorter than its size field")
            << "\n";
        return kFailed;
    }
    PrintMacroList(list, out);
    return kOk;
}

CtlRegistrar g_EncodeMacros({"encode-macros", "@FILE", false, EncodeMacros,
                             "Encodes a file of 32512-byte macro records into the keyboard's macro block, "
                             "with and without names, and prints both."});
CtlRegistrar g_DecodeMacros(
    {"decode-macros", "@FILE", false, DecodeMacros,
     "Decodes a macro block as read from the keyboard and prints each macro with its actions."});

} // namespace
} // namespace orvanectl
