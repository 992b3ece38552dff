#include "transfer/KeyboardBackup.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <string_view>

#include "device/DeviceCommands.h"
#include "model/ConfigStore.h"
#include "model/KeyTooltip.h"
#include "model/MacroBlock.h"
#include "model/ProfileFile.h"
#include "model/UserData.h"
#include "platform/ByteOrder.h"
#include "platform/CriticalSections.h"
#include "transfer/ActiveProfile.h"
#include "transfer/DecodeKeyMatrix.h"
#include "transfer/TransferHost.h"

namespace orvane {

std::vector<uint8_t> BuildBackupFileBytes(const std::array<KeyMatrixBuffer, 3>& matrices,
                                          const MacroList& macros, std::span<const uint8_t> defaultMatrix,
                                          int keyCount) {
    const ProfileHeader header = MakeProfileHeader(static_cast<uint16_t>(macros.size()), 0, 0);
    std::vector<uint8_t> bytes(header.begin(), header.end());
    bytes.resize(kProfileImageBytes);
    KeyFunctionTable table = FreshKeyFunctionTable();
    for (int p = 0; p < PROFILE_COUNT; ++p) {
        const KeyFunctionBlock block =
            DecodeKeyMatrix(p, matrices[static_cast<size_t>(p)], defaultMatrix, keyCount);
        std::copy(block.begin(), block.end(), table.begin() + p * kRecordsPerBlock);
    }
    for (size_t i = 0; i < table.size(); ++i)
        WriteKeyFunction(table[i], bytes.data() + kProfileHeaderBytes + i * kKeyFunctionBytes);
    const std::vector<uint8_t> records = WriteMacroRecords(macros);
    bytes.insert(bytes.end(), records.begin(), records.end());
    return bytes;
}

namespace {

// The keyboard's configuration as read back, with the default matrix it is
// decoded against.
struct KeyboardCopy {
    std::array<KeyMatrixBuffer, 3> matrices{};
    MacroList macros;
    KeyMatrixBuffer defaults{};
};

// 1 when every read succeeded. Decoding against anything but this model's
// own default matrix would turn every key past the built-in table into a
// changed one, so that is read again first when it is not known.
int ReadKeyboard(KeyboardCopy& copy) {
    const int active = GetActiveProfile();
    if (active < 0 || active >= PROFILE_COUNT) return 0;
    if (EnsureDefaultKeyMatrix() != DEV_OK) return 0;

    for (int p = 0; p < PROFILE_COUNT; ++p)
        if (DevReadKeyMatrix(copy.matrices[static_cast<size_t>(p)], p) != DEV_OK) return 0;

    std::array<uint8_t, kMacroBlockHeaderBytes> head{};
    if (DevReadMacroMemory(head) != DEV_OK) return 0;
    if (GetLE16(head.data()) == kMacroBlockMagic) {
        // The block's own size says how much to read; the decoder checks
        // every count and offset in it against that.
        const size_t size = GetLE16(head.data() + 2);
        if (size < kMacroBlockHeaderBytes) return 0;
        std::vector<uint8_t> block(size);
        if (DevReadMacroMemory(block) != DEV_OK) return 0;
        if (DecodeMacroBlock(block.data(), block.size(), copy.macros) != kMacroBlockOk) return 0;
    }
    copy.defaults = DefaultKeyMatrix();
    return 1;
}

std::vector<uint8_t> BackupBytes(const KeyboardCopy& copy) {
    return BuildBackupFileBytes(copy.matrices, copy.macros, copy.defaults, KeyCount());
}

// Program and Text assignments live only in profile files: the keyboard
// holds just what they send (the factory code, or nothing). Each such record
// of `old` whose key still sends exactly that on the keyboard goes into
// `fresh`, with its string.
void KeepFileOnlyAssignments(const CConfigStore& old, const KeyboardCopy& copy, CConfigStore& fresh) {
    const MacroList oldMacros = old.Macros();
    const size_t keys = static_cast<size_t>(KeyCount());
    for (int p = 0; p < PROFILE_COUNT; ++p) {
        const KeyMatrixBuffer& matrix = copy.matrices[static_cast<size_t>(p)];
        for (size_t pos = 0; pos < keys; ++pos) {
            const int index = KeyIndexAtPosition(copy.defaults, pos);
            if (index == 0) continue;
            const KeyFunction record = old.Record(p, index);
            if (!record.Is(KeyFunctionKind::Program) && !record.Is(KeyFunctionKind::Text)) continue;
            const uint8_t* templ = copy.defaults.data() + pos * 3;
            const uint8_t* code = matrix.data() + pos * 3;
            const DeviceKeyCode sends = EncodeKeyFunction(record, {templ[0], templ[1], templ[2]}, oldMacros);
            if (sends != DeviceKeyCode{code[0], code[1], code[2]}) continue;
            const int recordIndex = p * kRecordsPerBlock + index;
            fresh.SetRecord(p, index, record);
            fresh.SetKeyString(recordIndex, old.KeyString(recordIndex));
        }
    }
}

// Whether the keyboard's macro `fresh` plays what `old` played. Names are
// left out: the keyboard drops them when space is tight.
bool SameMacro(const MacroRecord& old, const MacroRecord& fresh) {
    const size_t count = MacroActionCount(old);
    return old.repeat == fresh.repeat && count == MacroActionCount(fresh) &&
           std::equal(old.actions.begin(), old.actions.begin() + static_cast<ptrdiff_t>(count),
                      fresh.actions.begin());
}

// G-key assignments never reach the keyboard: the working profile file is
// the only place they live, so reading the keyboard must not drop them. A
// macro is looked up by its place in the list, which is its place in the
// keyboard's block, and kept only while the keyboard still holds that macro.
void KeepGKeyAssignments(const CConfigStore& old, CConfigStore& fresh) {
    const MacroList oldMacros = old.Macros();
    const MacroList freshMacros = fresh.Macros();
    for (int p = 0; p < PROFILE_COUNT; ++p) {
        for (int index = kGKeyFirstIndex; index < kGKeyFirstIndex + kGKeyRecordCount; ++index) {
            KeyFunction record = old.Record(p, index);
            if (record.Is(KeyFunctionKind::Default)) continue;
            if (record.Is(KeyFunctionKind::Macro)) {
                const uint16_t id = static_cast<uint16_t>(record.value);
                auto it = std::find_if(oldMacros.begin(), oldMacros.end(),
                                       [id](const MacroRecord& m) { return m.id == id; });
                const size_t place = static_cast<size_t>(it - oldMacros.begin());
                if (it == oldMacros.end() || place >= freshMacros.size() ||
                    !SameMacro(*it, freshMacros[place]))
                    continue;
                record.value = freshMacros[place].id;
            }
            fresh.SetRecord(p, index, record);
            if (record.Is(KeyFunctionKind::Program) || record.Is(KeyFunctionKind::Text)) {
                const int recordIndex = p * kRecordsPerBlock + index;
                fresh.SetKeyString(recordIndex, old.KeyString(recordIndex));
            }
        }
    }
}

} // namespace

int BackupKeyboard(const std::string& path) {
    KeyboardCopy copy;
    if (!ReadKeyboard(copy)) return 0;
    return WriteProfileBytes(path, BackupBytes(copy));
}

std::string KeyboardBackupPath(int profile) {
    const std::string working = WorkingProfilePath(profile);
    return working.empty() ? std::string() : working + ".keyboard.fwc";
}

int LoadKeyboardProfile(UnsentChanges unsent) {
    CTransferHost& host = TransferHost();
    EnsureUserFolder();
    const int active = GetActiveProfile();
    const std::string path = WorkingProfilePath(active);
    // Anything that fails leaves the working copy and the working profile
    // file as they were: a blank stand-in would be sent by the next Apply.
    bool loaded = false;
    KeyboardCopy copy;
    if (active >= 0 && !path.empty() && ReadKeyboard(copy)) {
        if (unsent == UnsentChanges::Keep && host.ApplyPending()) {
            // The cable was pulled before the changes went out: they stay
            // what Apply sends next, and what the keyboard held is not lost.
            loaded = WriteProfileBytes(KeyboardBackupPath(active), BackupBytes(copy)) == 1;
        } else {
            const std::vector<uint8_t> backup = BackupBytes(copy);
            auto fresh = std::make_unique<CConfigStore>();
            auto old = std::make_unique<CConfigStore>();
            if (LoadProfileBytes(backup.data(), backup.size(), *fresh) == 1) {
                if (LoadProfileFile(path, *old) == 1) {
                    KeepFileOnlyAssignments(*old, copy, *fresh);
                    KeepGKeyAssignments(*old, *fresh);
                }
                const std::vector<uint8_t> bytes = BuildProfileFileBytes(*fresh);
                std::lock_guard lock(ConfigStoreLock());
                loaded =
                    WriteProfileBytes(path, bytes) == 1 && LoadProfileBytes(bytes.data(), bytes.size()) == 1;
            }
            if (loaded) host.SetApplyPending(false);
        }
    }
    {
        std::lock_guard lock(ConfigStoreLock());
        RefreshKeyTooltips(host.KeyButtons(), GetActiveProfileCache(), g_ConfigStore);
    }
    return loaded ? 1 : 0;
}

} // namespace orvane
