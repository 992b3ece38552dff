#include <mutex>
#include <vector>

#include "device/DefaultKeyMatrix.h"
#include "model/ConfigStore.h"
#include "platform/CriticalSections.h"
#include "services/Language.h"
#include "services/Prompt.h"
#include "transfer/ActiveProfile.h"
#include "transfer/Apply.h"
#include "transfer/DeviceInfo.h"

namespace orvane {
namespace {

using Guard = std::lock_guard<COrderedLock>;

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

    // Until the device info has been read the capacity is 0, which would
    // refuse even an empty macro list.
    if (EnsureMacroCapacity() != DEV_OK) {
        Deliver("APPLY_PROMPT", notice);
        return 0;
    }
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

    // Matrices built on the built-in table or the other model's matrix would
    // leave most keys sending nothing: without this model's own, send nothing.
    if (EnsureDefaultKeyMatrix() != DEV_OK) {
        Deliver("MAIN_DEFAULT_MATRIX_PROMPT", notice);
        return 0;
    }
    const KeyMatrixBuffer defaults = DefaultKeyMatrix();
    std::vector<std::vector<uint8_t>> matrices;
    for (int p : profiles) {
        matrices.push_back(store.BuildKeyMatrix(p, defaults));
        if (matrices.back().empty()) return 0;
    }

    // Every command must succeed: the first failure ends the transfers (a
    // matrix is not sent after the macros it plays failed to go).
    const int status = DevInSession([&] {
        int r = DevWriteMacroMemory(image);
        for (size_t i = 0; r == DEV_OK && i < profiles.size(); ++i)
            r = DevWriteKeyMatrix(matrices[i], profiles[i]);
        return r;
    });

    if (status != DEV_OK) return 0;
    if (!withNames) Deliver("EXTRA_PROFILE_SPACE_TIGHT", notice);
    store.SetSendAllProfiles(false);
    return 1;
}

int CommitAndSend(bool sendAllProfiles, TransferNotice* notice, const std::function<void()>& withCommit) {
    TransferNotice pending = nullptr;
    int result = 0;
    {
        std::unique_lock working(ConfigStoreLock());
        if (withCommit) withCommit();
        // Taken before the working copy is let go, so what is sent is this
        // commit and no later one.
        Guard committed(DriverTableLock());
        const int made = g_ConfigStore.Commit();
        working.unlock();
        if (made == 1) result = SendConfiguration(sendAllProfiles, &pending);
    }
    Deliver(pending, notice);
    return result;
}

} // namespace orvane
