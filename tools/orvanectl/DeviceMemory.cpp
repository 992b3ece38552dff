// The keyboard's commands one by one: device info, lighting, key matrices,
// macro memory, per-key colours and the session bracket.
#include <ostream>

#include "CtlCommand.h"
#include "device/DeviceCommands.h"
#include "DeviceCtl.h"

namespace orvanectl {
namespace {

using namespace orvane;

int PrintData(std::ostream& out, int status, const uint8_t* data, size_t n) {
    if (status == DEV_OK) out << "data: " << HexLine(data, n) << "\n";
    return FinishCommand(out, status);
}

int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) return UsageError(err, "info", "");
    uint8_t info[DEVICE_INFO_SIZE] = {};
    int r = DevReadInfo(info);
    if (r == DEV_OK) {
        out << "active_profile: " << int{info[DEVICE_INFO_ACTIVE_PROFILE]} << "\n";
        out << "macro_capacity: " << info[DEVICE_INFO_MACRO_UNITS] * 128 << "\n";
        out << "modes:";
        for (size_t i = 0; i < DEVICE_INFO_MODE_SLOTS; ++i)
            if (uint8_t m = info[DEVICE_INFO_MODES + i]) out << " " << int{m};
        out << "\n";
        out << "raw: " << HexLine(info, sizeof info) << "\n";
    }
    return FinishCommand(out, r);
}

constexpr const char* kReadLightingArgs = "OFFSET LENGTH";
int RunReadLighting(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto offset = args.size() == 2 ? ParseNumber(args[0], 0xFFFF) : std::nullopt;
    auto length = args.size() == 2 ? ParseNumber(args[1], REPORT_PAYLOAD) : std::nullopt;
    if (!offset || !length) return UsageError(err, "read-lighting", kReadLightingArgs);
    uint8_t data[REPORT_PAYLOAD] = {};
    int r = DevReadLighting(data, static_cast<uint8_t>(*length), static_cast<uint16_t>(*offset));
    return PrintData(out, r, data, *length);
}

constexpr const char* kWriteLightingArgs = "OFFSET HEX...";
int RunWriteLighting(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto offset = args.size() >= 2 ? ParseNumber(args[0], 0xFFFF) : std::nullopt;
    auto bytes = args.size() >= 2 ? ParseHexBytes({args.begin() + 1, args.end()}) : std::nullopt;
    if (!offset || !bytes || bytes->empty() || bytes->size() > REPORT_PAYLOAD)
        return UsageError(err, "write-lighting", kWriteLightingArgs);
    return FinishCommand(out, DevWriteLighting(*bytes, static_cast<uint16_t>(*offset)));
}

constexpr const char* kReadMatrixArgs = "PROFILE";
int RunReadMatrix(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto profile = args.size() == 1 ? ParseNumber(args[0], 255) : std::nullopt;
    if (!profile) return UsageError(err, "read-matrix", kReadMatrixArgs);
    std::vector<uint8_t> matrix(static_cast<size_t>(KeyMatrixLength()));
    int r = DevReadKeyMatrix(matrix, static_cast<int>(*profile));
    return PrintData(out, r, matrix.data(), matrix.size());
}

constexpr const char* kWriteMatrixArgs = "PROFILE HEX...|@FILE";
int RunWriteMatrix(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto profile = args.size() >= 2 ? ParseNumber(args[0], 255) : std::nullopt;
    if (!profile) return UsageError(err, "write-matrix", kWriteMatrixArgs);
    auto bytes = ParseDataArgs({args.begin() + 1, args.end()}, err);
    if (!bytes) return UsageError(err, "write-matrix", kWriteMatrixArgs);
    if (bytes->size() > static_cast<size_t>(KeyMatrixLength())) {
        err << "orvanectl: a key matrix is " << KeyMatrixLength() << " bytes\n";
        return UsageError(err, "write-matrix", kWriteMatrixArgs);
    }
    return FinishCommand(out, DevWriteKeyMatrix(*bytes, static_cast<int>(*profile)));
}

int RunReadDefaultMatrix(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) return UsageError(err, "read-default-matrix", "");
    std::vector<uint8_t> matrix(static_cast<size_t>(KeyMatrixLength()));
    int r = DevReadDefaultKeyMatrix(matrix);
    return PrintData(out, r, matrix.data(), matrix.size());
}

constexpr const char* kReadMacrosArgs = "LENGTH";
int RunReadMacros(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto length = args.size() == 1 ? ParseNumber(args[0], 0x10000) : std::nullopt;
    if (!length) return UsageError(err, "read-macros", kReadMacrosArgs);
    std::vector<uint8_t> memory(*length);
    int r = DevReadMacroMemory(memory);
    return PrintData(out, r, memory.data(), memory.size());
}

constexpr const char* kWriteMacrosArgs = "HEX...|@FILE";
int RunWriteMacros(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto bytes = args.empty() ? std::nullopt : ParseDataArgs(args, err);
    if (!bytes || bytes->size() > 0x10000) return UsageError(err, "write-macros", kWriteMacrosArgs);
    if (MacroCapacity() == 0) { // learn the capacity so an oversized image is refused unsent
        uint8_t info[DEVICE_INFO_SIZE];
        int r = DevReadInfo(info);
        if (r != DEV_OK) return FinishCommand(out, r);
        SetMacroCapacity(size_t{info[DEVICE_INFO_MACRO_UNITS]} * 128);
    }
    if (bytes->size() > MacroCapacity()) {
        err << "orvanectl: the keyboard holds " << MacroCapacity() << " bytes of macros\n";
        return UsageError(err, "write-macros", kWriteMacrosArgs);
    }
    return FinishCommand(out, DevWriteMacroMemory(*bytes));
}

constexpr const char* kKeyColoursArgs = "FIRST_LED HEX... [--profile P]";
int RunWriteKeyColours(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> rest = args;
    uint32_t profile = 0;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] != "--profile") continue;
        auto p = i + 1 < rest.size() ? ParseNumber(rest[i + 1], 2) : std::nullopt;
        if (!p) return UsageError(err, "write-key-colours", kKeyColoursArgs);
        profile = *p;
        rest.erase(rest.begin() + static_cast<ptrdiff_t>(i), rest.begin() + static_cast<ptrdiff_t>(i) + 2);
        break;
    }
    auto led = rest.size() >= 2 ? ParseNumber(rest[0], 125) : std::nullopt;
    auto bytes = rest.size() >= 2 ? ParseHexBytes({rest.begin() + 1, rest.end()}) : std::nullopt;
    if (!led || !bytes || bytes->size() > KEY_COLOURS_PER_COMMAND * 3)
        return UsageError(err, "write-key-colours", kKeyColoursArgs);
    SetCurrentProfile(static_cast<int>(profile));
    return FinishCommand(out, DevWriteKeyColours(*bytes, static_cast<int>(*led)));
}

int RunBegin(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) return UsageError(err, "begin", "");
    return FinishCommand(out, DevBeginSession());
}

int RunEnd(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) return UsageError(err, "end", "");
    return FinishCommand(out, DevEndSession());
}

CtlRegistrar info({"info", "", true, RunInfo,
                   "Reads the keyboard's device information: the active profile, the macro capacity, the "
                   "lighting modes it offers and the raw 44 bytes."});
CtlRegistrar readLighting(
    {"read-lighting", kReadLightingArgs, true, RunReadLighting,
     "Reads LENGTH bytes (at most 56) of the keyboard's lighting area from OFFSET and prints them in hex."});
CtlRegistrar
    writeLighting({"write-lighting", kWriteLightingArgs, true, RunWriteLighting,
                   "Writes up to 56 bytes, given in hex, to the keyboard's lighting area at OFFSET."});
CtlRegistrar
    readMatrix({"read-matrix", kReadMatrixArgs, true, RunReadMatrix,
                "Reads the key matrix of on-board profile PROFILE (0-2): what each key position sends."});
CtlRegistrar
    writeMatrix({"write-matrix", kWriteMatrixArgs, true, RunWriteMatrix,
                 "Writes a key matrix, given in hex or as the bytes of FILE, to on-board profile PROFILE."});
CtlRegistrar readDefaultMatrix({"read-default-matrix", "", true, RunReadDefaultMatrix,
                                "Reads the keyboard's own default key matrix."});
CtlRegistrar readMacros({"read-macros", kReadMacrosArgs, true, RunReadMacros,
                         "Reads the first LENGTH bytes of the keyboard's macro memory."});
CtlRegistrar writeMacros({"write-macros", kWriteMacrosArgs, true, RunWriteMacros,
                          "Writes a macro block, given in hex or as the bytes of FILE, to the keyboard's "
                          "macro memory. A block larger than the keyboard holds is refused unsent."});
CtlRegistrar writeKeyColours({"write-key-colours", kKeyColoursArgs, true, RunWriteKeyColours,
                              "Writes per-key colours, three bytes a key, from lighting index FIRST_LED on, "
                              "for profile P (0 unless given)."});
CtlRegistrar begin({"begin", "", true, RunBegin, "Sends the command that opens a configuration session."});
CtlRegistrar end({"end", "", true, RunEnd, "Sends the command that closes a configuration session."});

} // namespace
} // namespace orvanectl
