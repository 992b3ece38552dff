// Turning key function records into the three-byte codes of a key matrix.
#include <mutex>

#include "device/DeviceCommands.h"
#include "model/ConfigStore.h"
#include "platform/CriticalSections.h"

namespace orvane {
namespace {

constexpr uint8_t kFunctionMacro = 1;
constexpr uint8_t kFunctionStopMacro = 2;
constexpr uint8_t kFunctionKeyboardFunction = 5;

uint8_t MacroPositionIn(const MacroList& macros, int32_t value) {
    const uint16_t id = static_cast<uint16_t>(value);
    for (size_t i = 0; i < macros.size(); ++i)
        if (macros[i].id == id) return static_cast<uint8_t>(i);
    return 0;
}

} // namespace

DeviceKeyCode EncodeKeyFunction(const KeyFunction& record, const DeviceKeyCode& templateCode,
                                const MacroList& macros) {
    switch (static_cast<KeyFunctionKind>(record.kind)) {
    case KeyFunctionKind::Disabled:
    case KeyFunctionKind::Text:
        return {0, 0, 0};
    case KeyFunctionKind::Key: {
        // A value that is no 16-bit scan code names no key.
        const ScanCode target =
            (record.value > 0 && record.value <= 0xFFFF) ? static_cast<ScanCode>(record.value) : 0;
        return ScanCodeToDeviceKeyCode(target);
    }
    case KeyFunctionKind::Macro:
        return {kDeviceKeyFunction, kFunctionMacro, MacroPositionIn(macros, record.value)};
    case KeyFunctionKind::StopMacro:
        return {kDeviceKeyFunction, kFunctionStopMacro, 0};
    case KeyFunctionKind::Media:
        return MediaNumberToDeviceKeyCode(record.value);
    case KeyFunctionKind::Function:
        return {kDeviceKeyFunction, kFunctionKeyboardFunction, static_cast<uint8_t>(record.value)};
    case KeyFunctionKind::Default:
    case KeyFunctionKind::Program:
    default:
        // Program keys keep their factory code; nothing here starts programs.
        return templateCode;
    }
}

std::vector<uint8_t> CConfigStore::BuildKeyMatrix(int profile, const uint8_t* defaultMatrix,
                                                  size_t matrixLength, int keyCount) const {
    if (profile < 0 || profile >= kProfileCount || defaultMatrix == nullptr || keyCount < 0 ||
        static_cast<size_t>(keyCount) * 3 > matrixLength)
        return {};
    std::vector<uint8_t> matrix(defaultMatrix, defaultMatrix + matrixLength);
    std::lock_guard lock(DriverTableLock());
    for (int pos = 0; pos < keyCount; ++pos) {
        uint8_t* code = matrix.data() + 3 * pos;
        const DeviceKeyCode templ{code[0], code[1], code[2]};
        const ScanCode scan = DeviceKeyCodeToScanCode(templ);
        // Empty positions and codes without a key identity keep their template.
        if (scan == 0 || scan >= 0x200) continue;
        const KeyFunction& record = committedRecords_[RecordIndex(profile, ScanCodeToIndex(scan))];
        const DeviceKeyCode out = EncodeKeyFunction(record, templ, committedMacros_);
        code[0] = out.type;
        code[1] = out.a;
        code[2] = out.b;
    }
    return matrix;
}

std::vector<uint8_t> CConfigStore::BuildKeyMatrix(int profile, std::span<const uint8_t> defaultMatrix) const {
    const size_t length = static_cast<size_t>(KeyMatrixLength());
    if (defaultMatrix.size() < length) return {};
    return BuildKeyMatrix(profile, defaultMatrix.data(), length, KeyCount());
}

} // namespace orvane
