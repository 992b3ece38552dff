// Profile file commands: check a file, print what it holds, write a blank one.
#include <cerrno>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "CtlCommand.h"
#include "MacroPrint.h"
#include "model/ProfileFile.h"
#include "model/Utf16Text.h"
#include "platform/AtomicFile.h"
#include "Reasons.h"

namespace orvanectl {
namespace {

using namespace orvane;

bool OneFile(const std::vector<std::string>& args, const char* command, std::ostream& err) {
    if (args.size() == 1 && !args[0].empty()) return true;
    err << command << ": expected FILE\n";
    return false;
}

// The text between double quotes, with quotes, backslashes and control
// characters escaped so every text stays on its line.
std::string Quoted(const std::string& text) {
    static const char kDigits[] = "0123456789abcdef";
    std::string q = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            q += '\\';
            q += static_cast<char>(c);
        } else if (c == '\n') {
            q += "\\n";
        } else if (c < 0x20 || c == 0x7F) {
            q += "\\x";
            q += kDigits[c >> 4];
            q += kDigits[c & 0xF];
        } else {
            q += static_cast<char>(c);
        }
    }
    return q + "\"";
}

int Validate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!OneFile(args, "validate", err)) return kUsage;
    const int r = ValidateProfileFile(args[0]);
    if (r == kProfileValid) {
        out << "valid\n";
        return kOk;
    }
    out << "invalid " << r << ": " << ProfileFileReason(r, args[0]) << "\n";
    return kFailed;
}

int DumpProfile(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!OneFile(args, "dump-profile", err)) return kUsage;
    std::string contents;
    if (!ReadWholeFile(args[0], contents)) {
        err << "dump-profile: " << CannotRead(args[0]) << "\n";
        return kFailed;
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(contents.data());
    auto store = std::make_unique<CConfigStore>();
    if (LoadProfileBytes(bytes, contents.size(), *store) != 1) {
        err << "dump-profile: " << args[0] << " is shorter than its header says, or holds more than "
            << kMacroMaxCount << " macros\n";
        return kFailed;
    }
    const ProfileFileHeader h = ReadProfileHeader(bytes);
    out << "magic: " << h.magic << "\n"
        << "header size: " << h.headerSize << "\n"
        << "profile count: " << h.profileCount << "\n"
        << "format version: " << h.version << "\n"
        << "total size: " << h.totalSize << "\n"
        << "key record count: " << h.keyRecordCount << "\n"
        << "macro count: " << h.macroCount << "\n"
        << "text area size: " << h.textSize << "\n"
        << "flag: " << unsigned(h.flag) << "\n"
        << "checksum: " << unsigned(h.checksum) << "\n";

    const KeyFunctionTable records = store->Records();
    for (size_t i = 0; i < records.size(); ++i) {
        const KeyFunction& r = records[i];
        if (r == KeyFunction{}) continue;
        out << "record " << i << " kind " << r.kind << " aux " << r.aux << " value " << r.value << " mark "
            << r.mark << "\n";
    }
    PrintMacroList(store->Macros(), out);
    for (int i = 0; i < kKeyRecordCount; ++i)
        if (store->KeyStringSize(i) > 0)
            out << "text " << i << " " << Quoted(Utf16ToUtf8(store->KeyString(i))) << "\n";
    return kOk;
}

int Blank(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    if (!OneFile(args, "blank", err)) return kUsage;
    if (CreateBlankProfile(&args[0], 0) == 1) return kOk;
    err << "blank: cannot write " << args[0] << ": " << std::strerror(errno) << "\n";
    return kFailed;
}

CtlRegistrar
    g_Validate({"validate", "FILE", false, Validate,
                "Checks a profile file: prints \"valid\", or \"invalid\" with its code and the reason."});
CtlRegistrar g_DumpProfile(
    {"dump-profile", "FILE", false, DumpProfile,
     "Prints a profile file's header, its key records that are set, its macros and its key texts."});
CtlRegistrar g_Blank({"blank", "FILE", false, Blank,
                      "Writes a profile file with no assignments, no macros and no texts."});

} // namespace
} // namespace orvanectl
