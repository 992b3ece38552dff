#pragma once
// What one key does in one on-board profile: a 16-byte record, kept in memory
// and written to profile files in exactly this little-endian layout.
#include <array>
#include <cstddef>
#include <cstdint>

namespace orvane {

enum class KeyFunctionKind : uint16_t {
    Default = 0,  // the key's factory function
    Disabled = 1, // sends nothing
    Key = 2,      // value: target scan code (key, modifier, mouse button or wheel)
    Program = 3,  // value: byte offset of its path in the packed string area
    Macro = 4,    // value: macro id (low 16 bits); aux: repeat count
    StopMacro = 5,
    Text = 6,     // value: byte offset of its text in the packed string area
    Media = 7,    // value: media number 0-17
    Function = 8, // value: function number 0-10
};

struct KeyFunction {
    uint16_t kind = 0; // a KeyFunctionKind; other values are carried unchanged
    uint16_t aux = 0;  // Macro: repeat count; G-key record: its G-key code; else 0
    int32_t value = 0;
    int32_t mark = 0;     // carried with the record, never enters the key matrix
    int32_t reserved = 0; // not interpreted

    bool Is(KeyFunctionKind k) const { return kind == static_cast<uint16_t>(k); }
    void SetKind(KeyFunctionKind k) { kind = static_cast<uint16_t>(k); }
    bool operator==(const KeyFunction&) const = default;
};
static_assert(sizeof(KeyFunction) == 16);

constexpr size_t kKeyFunctionBytes = 16;
void ReadKeyFunction(const uint8_t* bytes, KeyFunction& record);
void WriteKeyFunction(const KeyFunction& record, uint8_t* bytes);

// The table: one block of 512 records per on-board profile, plus a fourth
// block that is stored but stays zero. Inside a block a key's record sits at
// its key table index; 256-273 are the G keys G1-G18.
constexpr int kProfileCount = 3;
constexpr int kKeyBlockCount = 4;
constexpr int kRecordsPerBlock = 512;
constexpr int kKeyRecordCount = kKeyBlockCount * kRecordsPerBlock; // 2048
constexpr int kGKeyRecordCount = 18;
constexpr int kGKeyFirstIndex = 256;
constexpr int kGKeyBankOffset = 9; // the second bank of the nine G-key buttons

using KeyFunctionTable = std::array<KeyFunction, kKeyRecordCount>;

// Record index (0-2047) of a key in a block: block * 512 + key index; -1 when
// either is out of range.
int RecordIndex(int block, int keyIndex);

// G-key code of G-key record n (0-17): 0x301-0x309 for G1-G9, 0x1301-0x1309
// for G10-G18; 0 outside.
uint16_t GKeyCode(int n);
bool IsGKeyIndex(int keyIndex);

// Key index of G-key button n (0-8) in the given bank.
int GKeyButtonIndex(int button, bool secondBank);

// All zero except the G-key records of block 0, which carry their codes.
KeyFunctionTable FreshKeyFunctionTable();

// A repeat count typed by the user, brought into 1-255.
uint16_t ClampRepeatCount(long long typed);

// Language key that describes function number n ("FUNC_KEY_DESC1" ..
// "FUNC_KEY_DESC11" for 0-10, "A1" .. "A5" for 11-15); empty outside 0-15.
const char* FunctionDescriptorKey(int n);
constexpr int kFunctionCount = 11; // the numbers a dialog offers

} // namespace orvane
