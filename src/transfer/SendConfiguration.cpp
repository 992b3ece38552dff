#include <mutex>
#include <vector>

#include "services/Language.h"
#include "services/Prompt.h"
#include "device/DefaultKeyMatrix.h"
#include "model/ConfigStore.h"
#include "platform/CriticalSections.h"
#include "transfer/ActiveProfile.h"
#include "transfer/Apply.h"

namespace orvane {
namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

void Deliver(TransferNotice notice, TransferNotice* out) {
    if (!notice) return;
    if (out)
        *out = notice;
    else
        ShowTransferNotice(notice);
}

} // namespace

void ShowTransferNotice(TransferNotice notice) {
    if (notice) Prompt().MessageBox(Text(notice), "", MB_OK | MB_ICONWARNING);
}

int SendConfiguration(bool sendAllProfiles, TransferNotice* notice) {
    CConfigStore& store = g_ConfigStore;
    Guard lock(DriverTableLock());

    const MacroBlockSizeInfo sizes = store.MacroBlockSizes();
    const size_t capacity = MacroCapacity();
    if (sizes.withoutNames > capacity) {
        Deliver("EXTRA_MACRO_TOO_LONG", notice);
        return 0;
    }
    const bool withNames = sizes.withNames <= capacity;
    std::vector<uint8_t> image(withNames ? sizes.withNames : sizes.withoutNames);
    if (store.EncodeMacroBlock(image.data(), image.size(), withNames) != image.size()) {
        // Only a list the block cannot describe gets here (more than 100
        // macros, or past its 16-bit sizes); sending part of it would leave
        // the keyboard with a broken block.
        Deliver("EXTRA_MACRO_TOO_LONG", notice);
        return 0;
    }

    if (store.SendAllProfiles()) sendAllProfiles = true;
    std::vector<int> profiles;
    if (sendAllProfiles) {
        profiles = {0, 1, 2};
    } else {
        // The matrix must go to a profile the keyboard has; when it cannot
        // say which one is active, nothing is sent.
        const int active = GetActiveProfile();
        if (active < 0) {
            Deliver("APPLY_PROMPT", notice);
            return 0;
        }
        profiles = {active};
    }

    const KeyMatrixBuffer defaults = DefaultKeyMatrix();
    std::vector<std::vector<uint8_t>> matrices;
    for (int p : profiles) {
        matrices.push_back(store.BuildKeyMatrix(p, defaults));
        if (matrices.back().empty()) return 0;
    }

    DevBeginSession();
    DevWriteMacroMemory(image);
    int last = 0;
    for (size_t i = 0; i < profiles.size(); ++i) last = DevWriteKeyMatrix(matrices[i], profiles[i]);
    DevEndSession();

    if (!withNames) Deliver("EXTRA_PROFILE_SPACE_TIGHT", notice);
    const int result = last == DEV_OK ? 1 : 0;
    if (result) store.SetSendAllProfiles(false);
    return result;
}

int CommitAndSend(bool sendAllProfiles, TransferNotice* notice) {
    TransferNotice pending = nullptr;
    int result = 0;
    {
        Guard working(ConfigStoreLock());
        Guard committed(DriverTableLock());
        if (g_ConfigStore.Commit() == 1) result = SendConfiguration(sendAllProfiles, &pending);
    }
    Deliver(pending, notice);
    return result;
}

} // namespace orvane
