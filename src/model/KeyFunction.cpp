#include "model/KeyFunction.h"

#include "platform/ByteOrder.h"

namespace orvane {

void ReadKeyFunction(const uint8_t* bytes, KeyFunction& record) {
    record.kind = GetLE16(bytes);
    record.aux = GetLE16(bytes + 2);
    record.value = static_cast<int32_t>(GetLE32(bytes + 4));
    record.mark = static_cast<int32_t>(GetLE32(bytes + 8));
    record.reserved = static_cast<int32_t>(GetLE32(bytes + 12));
}

void WriteKeyFunction(const KeyFunction& record, uint8_t* bytes) {
    PutLE16(bytes, record.kind);
    PutLE16(bytes + 2, record.aux);
    PutLE32(bytes + 4, static_cast<uint32_t>(record.value));
    PutLE32(bytes + 8, static_cast<uint32_t>(record.mark));
    PutLE32(bytes + 12, static_cast<uint32_t>(record.reserved));
}

int RecordIndex(int block, int keyIndex) {
    if (block < 0 || block >= kKeyBlockCount || keyIndex < 0 || keyIndex >= kRecordsPerBlock) return -1;
    return block * kRecordsPerBlock + keyIndex;
}

uint16_t GKeyCode(int n) {
    if (n < 0 || n >= kGKeyRecordCount) return 0;
    return n < 9 ? static_cast<uint16_t>(0x301 + n) : static_cast<uint16_t>(0x1301 + (n - 9));
}

bool IsGKeyIndex(int keyIndex) {
    return keyIndex >= kGKeyFirstIndex && keyIndex < kGKeyFirstIndex + kGKeyRecordCount;
}

int GKeyButtonIndex(int button, bool secondBank) {
    return kGKeyFirstIndex + button + (secondBank ? kGKeyBankOffset : 0);
}

KeyFunctionTable FreshKeyFunctionTable() {
    KeyFunctionTable table{};
    for (int n = 0; n < kGKeyRecordCount; ++n)
        table[kGKeyFirstIndex + n].aux = GKeyCode(n);
    return table;
}

uint16_t ClampRepeatCount(long long typed) {
    if (typed <= 0) return 1;
    if (typed >= 256) return 255;
    return static_cast<uint16_t>(typed);
}

const char* FunctionDescriptorKey(int n) {
    static const char* const kKeys[] = {
        "FUNC_KEY_DESC1",
        "FUNC_KEY_DESC2",
        "FUNC_KEY_DESC3",
        "FUNC_KEY_DESC4",
        "FUNC_KEY_DESC5",
        "FUNC_KEY_DESC6",
        "FUNC_KEY_DESC7",
        "FUNC_KEY_DESC8",
        "FUNC_KEY_DESC9",
        "FUNC_KEY_DESC10",
        "FUNC_KEY_DESC11",
        "A1",
        "A2",
        "A3",
        "A4",
        "A5",
    };
    if (n < 0 || n >= static_cast<int>(sizeof kKeys / sizeof kKeys[0])) return "";
    return kKeys[n];
}

} // namespace orvane
