#include "transfer/KeyboardBackup.h"

#include <mutex>
#include <string_view>

#include "device/DeviceCommands.h"
#include "model/ConfigStore.h"
#include "model/KeyTooltip.h"
#include "model/MacroBlock.h"
#include "model/ProfileFile.h"
#include "model/UserData.h"
#include "platform/AtomicFile.h"
#include "platform/ByteOrder.h"
#include "platform/CriticalSections.h"
#include "transfer/ActiveProfile.h"
#include "transfer/DecodeKeyMatrix.h"
#include "transfer/TransferHost.h"

namespace orvane {

std::vector<uint8_t> BuildBackupFileBytes(const std::array<KeyMatrixBuffer, 3>& matrices, const MacroList& macros,
                                          std::span<const uint8_t> defaultMatrix, int keyCount) {
    const ProfileHeader header = MakeProfileHeader(static_cast<uint16_t>(macros.size()), 0, 0);
    std::vector<uint8_t> bytes(header.begin(), header.end());
    bytes.resize(kProfileImageBytes);
    KeyFunctionTable table = FreshKeyFunctionTable();
    for (int p = 0; p < PROFILE_COUNT; ++p) {
        const KeyFunctionBlock block = DecodeKeyMatrix(p, matrices[static_cast<size_t>(p)], defaultMatrix, keyCount);
        std::copy(block.begin(), block.end(), table.begin() + p * kRecordsPerBlock);
    }
    for (size_t i = 0; i < table.size(); ++i)
        WriteKeyFunction(table[i], bytes.data() + kProfileHeaderBytes + i * kKeyFunctionBytes);
    const std::vector<uint8_t> records = WriteMacroRecords(macros);
    bytes.insert(bytes.end(), records.begin(), records.end());
    return bytes;
}

int BackupKeyboard(const std::string& path) {
    const int active = GetActiveProfile();
    if (active < 0 || active >= PROFILE_COUNT) return 0;

    std::array<KeyMatrixBuffer, 3> matrices{};
    for (int p = 0; p < PROFILE_COUNT; ++p)
        if (DevReadKeyMatrix(matrices[static_cast<size_t>(p)], p) != DEV_OK) return 0;

    std::array<uint8_t, kMacroBlockHeaderBytes> head{};
    if (DevReadMacroMemory(head) != DEV_OK) return 0;
    MacroList macros;
    if (GetLE16(head.data()) == kMacroBlockMagic) {
        // The block's own size says how much to read; the decoder checks
        // every count and offset in it against that.
        const size_t size = GetLE16(head.data() + 2);
        if (size < kMacroBlockHeaderBytes) return 0;
        std::vector<uint8_t> block(size);
        if (DevReadMacroMemory(block) != DEV_OK) return 0;
        if (DecodeMacroBlock(block.data(), block.size(), macros) != kMacroBlockOk) return 0;
    }

    const KeyMatrixBuffer defaults = DefaultKeyMatrix();
    const std::vector<uint8_t> bytes = BuildBackupFileBytes(matrices, macros, defaults, KeyCount());
    return WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())) ? 1
                                                                                                                  : 0;
}

void LoadKeyboardProfile(bool keepApplyPending) {
    CTransferHost& host = TransferHost();
    EnsureUserFolder();
    const int active = GetActiveProfile();
    const std::string path = WorkingProfilePath(active);
    const bool backedUp = active >= 0 && !path.empty() && BackupKeyboard(path) == 1;
    {
        std::lock_guard<std::recursive_mutex> lock(ConfigStoreLock());
        if (!backedUp || LoadProfileFile(path) != 1) {
            g_ConfigStore.ReleaseWorking();
            CreateBlankProfile(nullptr, 0);
        }
        RefreshKeyTooltips(host.KeyButtons(), GetActiveProfileCache(), g_ConfigStore);
    }
    if (!keepApplyPending) host.SetApplyPending(false);
}

} // namespace orvane
