#pragma once
// A macro as the program holds it and saves it in profile files: a fixed
// 0x7F00-byte little-endian record, read and written field by field so every
// byte (reserved ones and whatever follows the name's terminator) survives a
// load and save unchanged.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/WriteResult.h"

namespace orvane {

constexpr size_t kMacroRecordBytes = 0x7F00;
constexpr size_t kMacroNameUnits = 250; // UTF-16 units of the name field, terminator included
constexpr size_t kMacroNameMaxChars = 249;
constexpr size_t kMacroMaxActions = 4000;
constexpr size_t kMacroMaxCount = 100;
constexpr uint16_t kMacroMaxId = 100;
constexpr uint32_t kMacroMaxDelayMs = 40000;

constexpr uint16_t kActionPress = 0;
constexpr uint16_t kActionRelease = 1;

struct MacroAction {
    uint32_t delay = 0; // ms since the previous action
    uint16_t scanCode = 0;
    uint16_t transition = 0; // kActionPress or kActionRelease
    bool operator==(const MacroAction&) const = default;
};
static_assert(sizeof(MacroAction) == 8);

struct MacroRecord {
    std::array<char16_t, kMacroNameUnits> name{}; // terminated UTF-16
    uint8_t repeat = 0;
    uint8_t reserved501 = 0;
    uint16_t newFlag = 0;     // 1 while created in the open editor and not yet applied
    uint16_t reserved504 = 0; // carried unchanged
    uint16_t id = 0;          // 1-100, unique in the list; 0 = none
    uint16_t actionCount = 0; // 0-4000
    uint16_t reserved510 = 0;
    std::array<MacroAction, kMacroMaxActions> actions{};

    bool operator==(const MacroRecord&) const = default;
};
static_assert(sizeof(MacroRecord) == kMacroRecordBytes);

using MacroList = std::vector<MacroRecord>;

// Reads one record from kMacroRecordBytes bytes and writes one back.
void ReadMacroRecord(const uint8_t* bytes, MacroRecord& record);
void WriteMacroRecord(const MacroRecord& record, uint8_t* bytes);

// Records back to back, as profile files hold them; `size` must be a whole
// number of records or nothing is read (false).
bool ReadMacroRecords(const uint8_t* bytes, size_t size, MacroList& list);
std::vector<uint8_t> WriteMacroRecords(const MacroList& list);

// The name up to its terminator (at most 249 units even when a record from a
// file has none), and a setter that cuts to 249 units.
std::u16string MacroName(const MacroRecord& record);
void SetMacroName(MacroRecord& record, const std::u16string& name);
// Action count as the record claims it, brought into 0-4000 so a damaged
// record can never index past its actions.
size_t MacroActionCount(const MacroRecord& record);

// The lowest id 1-100 that no macro of `list` uses; 0 when all are taken.
uint16_t FreeMacroId(const MacroList& list);
// A zeroed record with the name, repeat count 1, new flag 1 and FreeMacroId.
MacroRecord NewMacroRecord(const std::u16string& name, const MacroList& list);

// Appends a new macro, or shows "MACRO_ERR_MAX" (with 100) and returns false
// when the list is full.
bool AddMacro(MacroList& list, const MacroRecord& record);

// Appends an action; a transition other than 0 or 1 is taken as a press. The
// 4001st action is dropped silently (false).
bool AddMacroAction(MacroRecord& record, MacroAction action);

// A delay the user typed: above 40000 ms shows "MACRO_ACTION_ERR_DELAY_MAX"
// (with 40000) and gives 40000; anything else is kept.
uint32_t CheckMacroDelay(uint32_t delayMs);

// The record-delay option of the recorder (0 or 1), in the registry settings
// under section "PROFILES" with the language text of
// "MACRO_ACTION_RECORD_DELAY" as its name, so each language keeps its own.
int ReadRecordDelayOption();
WriteResult WriteRecordDelayOption(int value);

} // namespace orvane
