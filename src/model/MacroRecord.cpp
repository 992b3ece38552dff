#include "model/MacroRecord.h"

#include <algorithm>

#include "platform/ByteOrder.h"
#include "platform/Registry.h"
#include "services/Language.h"
#include "services/Prompt.h"

namespace orvane {
namespace {

constexpr size_t kOffRepeat = 500;
constexpr size_t kOffReserved501 = 501;
constexpr size_t kOffNewFlag = 502;
constexpr size_t kOffReserved504 = 504;
constexpr size_t kOffId = 506;
constexpr size_t kOffActionCount = 508;
constexpr size_t kOffReserved510 = 510;
constexpr size_t kOffActions = 512;
constexpr size_t kActionBytes = 8;
static_assert(kOffActions + kMacroMaxActions * kActionBytes == kMacroRecordBytes);

} // namespace

void ReadMacroRecord(const uint8_t* bytes, MacroRecord& record) {
    for (size_t i = 0; i < kMacroNameUnits; ++i)
        record.name[i] = static_cast<char16_t>(GetLE16(bytes + 2 * i));
    record.repeat = bytes[kOffRepeat];
    record.reserved501 = bytes[kOffReserved501];
    record.newFlag = GetLE16(bytes + kOffNewFlag);
    record.reserved504 = GetLE16(bytes + kOffReserved504);
    record.id = GetLE16(bytes + kOffId);
    record.actionCount = GetLE16(bytes + kOffActionCount);
    record.reserved510 = GetLE16(bytes + kOffReserved510);
    for (size_t i = 0; i < kMacroMaxActions; ++i) {
        const uint8_t* p = bytes + kOffActions + i * kActionBytes;
        record.actions[i] = {GetLE32(p), GetLE16(p + 4), GetLE16(p + 6)};
    }
}

void WriteMacroRecord(const MacroRecord& record, uint8_t* bytes) {
    for (size_t i = 0; i < kMacroNameUnits; ++i)
        PutLE16(bytes + 2 * i, record.name[i]);
    bytes[kOffRepeat] = record.repeat;
    bytes[kOffReserved501] = record.reserved501;
    PutLE16(bytes + kOffNewFlag, record.newFlag);
    PutLE16(bytes + kOffReserved504, record.reserved504);
    PutLE16(bytes + kOffId, record.id);
    PutLE16(bytes + kOffActionCount, record.actionCount);
    PutLE16(bytes + kOffReserved510, record.reserved510);
    for (size_t i = 0; i < kMacroMaxActions; ++i) {
        uint8_t* p = bytes + kOffActions + i * kActionBytes;
        PutLE32(p, record.actions[i].delay);
        PutLE16(p + 4, record.actions[i].scanCode);
        PutLE16(p + 6, record.actions[i].transition);
    }
}

bool ReadMacroRecords(const uint8_t* bytes, size_t size, MacroList& list) {
    if (size % kMacroRecordBytes != 0) return false;
    MacroList read(size / kMacroRecordBytes);
    for (size_t i = 0; i < read.size(); ++i)
        ReadMacroRecord(bytes + i * kMacroRecordBytes, read[i]);
    list = std::move(read);
    return true;
}

std::vector<uint8_t> WriteMacroRecords(const MacroList& list) {
    std::vector<uint8_t> bytes(list.size() * kMacroRecordBytes);
    for (size_t i = 0; i < list.size(); ++i)
        WriteMacroRecord(list[i], bytes.data() + i * kMacroRecordBytes);
    return bytes;
}

std::u16string MacroName(const MacroRecord& record) {
    size_t n = 0;
    while (n < kMacroNameMaxChars && record.name[n] != 0)
        ++n;
    return std::u16string(record.name.data(), n);
}

void SetMacroName(MacroRecord& record, const std::u16string& name) {
    record.name.fill(0);
    const size_t n = std::min(name.size(), kMacroNameMaxChars);
    std::copy_n(name.begin(), n, record.name.begin());
}

size_t MacroActionCount(const MacroRecord& record) {
    return std::min<size_t>(record.actionCount, kMacroMaxActions);
}

uint16_t FreeMacroId(const MacroList& list) {
    for (uint16_t id = 1; id <= kMacroMaxId; ++id) {
        bool used = false;
        for (const MacroRecord& m : list)
            used = used || m.id == id;
        if (!used) return id;
    }
    return 0;
}

MacroRecord NewMacroRecord(const std::u16string& name, const MacroList& list) {
    MacroRecord record;
    SetMacroName(record, name);
    record.repeat = 1;
    record.newFlag = 1;
    record.id = FreeMacroId(list);
    return record;
}

bool AddMacro(MacroList& list, const MacroRecord& record) {
    if (list.size() >= kMacroMaxCount) {
        Prompt().MessageBox(FormatTextNumber(Text("MACRO_ERR_MAX"), static_cast<long long>(kMacroMaxCount)),
                            "", MB_OK | MB_ICONWARNING);
        return false;
    }
    list.push_back(record);
    return true;
}

bool AddMacroAction(MacroRecord& record, MacroAction action) {
    const size_t count = MacroActionCount(record);
    if (count >= kMacroMaxActions) return false;
    if (action.transition > kActionRelease) action.transition = kActionPress;
    record.actions[count] = action;
    record.actionCount = static_cast<uint16_t>(count + 1);
    return true;
}

uint32_t CheckMacroDelay(uint32_t delayMs) {
    if (delayMs <= kMacroMaxDelayMs) return delayMs;
    Prompt().MessageBox(FormatTextNumber(Text("MACRO_ACTION_ERR_DELAY_MAX"), kMacroMaxDelayMs), "",
                        MB_OK | MB_ICONWARNING);
    return kMacroMaxDelayMs;
}

int ReadRecordDelayOption() {
    return GetProfileString("PROFILES", Text("MACRO_ACTION_RECORD_DELAY"), "0") == "1" ? 1 : 0;
}

WriteResult WriteRecordDelayOption(int value) {
    return WriteProfileString("PROFILES", Text("MACRO_ACTION_RECORD_DELAY"), value == 1 ? "1" : "0");
}

} // namespace orvane
