#pragma once
// The configuration store: the working copy that the editors change and the
// profile files save (under ConfigStoreLock), and the committed copy that
// Apply takes and sends (under DriverTableLock). Every member takes the lock
// of the copy it touches; whoever needs both takes ConfigStoreLock first.
#include <array>
#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/KeyFunction.h"
#include "model/KeyStrings.h"
#include "model/KeyTables.h"
#include "model/MacroBlock.h"
#include "model/MacroRecord.h"

namespace orvane {

// The image that begins a profile file: 32-byte header, 32-byte device
// block, then the 2048 key function records.
constexpr size_t kProfileHeaderBytes = 64;
constexpr size_t kProfileImageBytes = kProfileHeaderBytes + kKeyRecordCount * kKeyFunctionBytes; // 32832
using ProfileHeader = std::array<uint8_t, kProfileHeaderBytes>;

class CKeyButtonView;

class CConfigStore {
  public:
    CConfigStore();
    CConfigStore(const CConfigStore&) = delete;
    CConfigStore& operator=(const CConfigStore&) = delete;

    // ------------------------------------------------ working copy: records
    KeyFunction Record(int block, int keyIndex) const; // zero record when out of range
    bool SetRecord(int block, int keyIndex, const KeyFunction& record);
    KeyFunctionTable Records() const;
    void SetRecords(const KeyFunctionTable& records);
    ProfileHeader Header() const;
    void SetHeader(const ProfileHeader& header);

    // Header and records in profile-file layout (kProfileImageBytes), and
    // back; SetWorkingImage refuses (false) a buffer shorter than the image.
    std::vector<uint8_t> WorkingImage() const;
    bool SetWorkingImage(const uint8_t* image, size_t size);

    // Empties the working copy: zero header and records, no strings, no macros.
    void ReleaseWorking();
    // A fresh working copy: `header`, FreshKeyFunctionTable, no strings or macros.
    void InstallFresh(const ProfileHeader& header);

    // ------------------------------------------- working copy: key strings
    // Frees the slot of record `recordIndex` (0-2047), then fills it with
    // `text`; when the copy cannot be allocated the slot stays empty (false).
    bool SetKeyString(int recordIndex, const std::u16string& text);
    void FreeKeyString(int recordIndex);
    std::u16string KeyString(int recordIndex) const;
    uint32_t KeyStringSize(int recordIndex) const;
    uint32_t KeyStringTotal() const;
    // Packs the Program and Text strings and sets their records' values
    // (the working records change, as saving a profile file needs).
    std::vector<uint8_t> PackWorkingStrings();
    // Fills the slot of every Program and Text record from the string at its
    // value in `area` (a profile file's text area).
    void LoadKeyStrings(const uint8_t* area, size_t size);

    // ------------------------------------------------- working copy: macros
    MacroList Macros() const;
    size_t MacroCount() const;
    // Replaces the list; a list of more than 100 macros is refused (false).
    bool SetMacros(MacroList list);
    // Position (0-based) of the macro with `id` (low 16 bits compared); 0 when none.
    int MacroPosition(uint32_t id) const;
    // Id of the macro at `position`; 0 for a negative position or one past the list.
    uint16_t MacroIdAt(int position) const;
    // Name of the macro with `id`; empty when none.
    std::u16string MacroNameOfId(uint32_t id) const;

    // Stores one assignment into block `profile` (0-2): kind and value, with
    // aux = the repeat count (1-255) for a Macro, the G-key code for a G key
    // and 0 otherwise; mark and reserved stay. The key's string slot is freed
    // first and, for Program and Text, filled with `text`. A Key whose target
    // is no key or the key itself becomes Default. False (nothing written)
    // when the profile is unknown or out of range.
    bool StoreKeyFunction(int profile, int keyIndex, KeyFunctionKind kind, int32_t value,
                          long long repeat = 1, const std::u16string* text = nullptr);

    // Replaces the macro list with the editor's `list`. First every Macro
    // record is re-pointed (value 0 takes the first macro's id) or turned to
    // Default (its macro is gone or was created in the editor); then the new
    // flags are cleared and the list stored. Returns false (nothing changed)
    // for a list of more than 100 macros or when memory runs out; *changed
    // tells whether any record was touched, which `view` is told as well.
    bool CommitMacroList(MacroList list, bool* changed = nullptr, CKeyButtonView* view = nullptr);

    // Whether `macro` may be deleted: a new macro always may; one that a key
    // 0-125 of the active profile plays (all three profiles while that is
    // unknown) sets the send-all-profiles flag and may go only when the user
    // answers Yes to "MACRO_DELETE_CONFIRM_OF_KEYS".
    bool IsMacroAssigned(const MacroRecord& macro, int activeProfile);

    // ------------------------------------------------------ committed copy
    // Takes both locks in order and makes the committed copy from the working
    // one, packing the strings. 1 on success; 0 when memory runs out (the
    // committed copy is then left empty).
    int Commit();
    KeyFunction CommittedRecord(int block, int keyIndex) const;
    std::vector<uint8_t> CommittedImage() const;
    std::vector<uint8_t> CommittedStringArea() const;
    MacroBlockSizeInfo MacroBlockSizes() const;
    size_t EncodeMacroBlock(uint8_t* buffer, size_t size, bool withNames) const;

    // The key matrix of `profile` (0-2): the default matrix with every
    // position that names a key replaced by the committed record of that key.
    // Macro positions come from the committed macro list, the one sent with
    // it. Empty for a bad profile or a default matrix shorter than keyCount * 3.
    std::vector<uint8_t> BuildKeyMatrix(int profile, const uint8_t* defaultMatrix, size_t matrixLength,
                                        int keyCount) const;
    // The same for the connected keyboard's model (KeyCount, KeyMatrixLength).
    std::vector<uint8_t> BuildKeyMatrix(int profile, std::span<const uint8_t> defaultMatrix) const;

    // --------------------------------------------------------------- flags
    // The next key-matrix send covers profiles 0-2, then clears this.
    void SetSendAllProfiles(bool all) { sendAllProfiles_ = all; }
    bool SendAllProfiles() const { return sendAllProfiles_; }
    // (The keyboard's active profile is cached beside the commands:
    // GetActiveProfileCache in device/DeviceCommands.h.)

  private:
    // Working copy (ConfigStoreLock).
    ProfileHeader header_{};
    KeyFunctionTable records_{};
    KeyStringSlots strings_{};
    uint32_t stringTotal_ = 0;
    MacroList macros_;

    // Committed copy (DriverTableLock).
    ProfileHeader committedHeader_{};
    KeyFunctionTable committedRecords_{};
    MacroList committedMacros_;
    std::vector<uint8_t> committedStrings_;

    std::atomic<bool> sendAllProfiles_{false};

    void FreeSlotLocked(int recordIndex);
};

// The program's one store.
extern CConfigStore g_ConfigStore;

// What the record of a key sends, given the code of its position in the
// default key matrix; Macro records name the macro's position in `macros`.
DeviceKeyCode EncodeKeyFunction(const KeyFunction& record, const DeviceKeyCode& templateCode,
                                const MacroList& macros);

} // namespace orvane
