#include "transfer/Apply.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

#include "model/ProfileFile.h"
#include "platform/CriticalSections.h"
#include "transfer/ActiveProfile.h"
#include "transfer/BusyIndicator.h"
#include "transfer/TransferHost.h"

namespace orvane {

ApplyOutcome Apply() {
    CTransferHost& host = TransferHost();
    // Without an indicator thread Apply still runs, only without the picture.
    auto busy = std::make_unique<CBusyIndicatorThread>(host);
    if (busy->Start()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kBusyStartWaitMs));
        busy->Post(BUSY_MSG_SHOW);
    }

    ApplyOutcome outcome;
    if (host.ApplyPending()) {
        outcome.pending = true;
        TransferNotice notice = nullptr;
        {
            std::lock_guard<std::recursive_mutex> lock(ConfigStoreLock());
            outcome.saved = SaveWorkingProfile(GetActiveProfile());
            outcome.sent = CommitAndSend(false, &notice);
        }
        ShowTransferNotice(notice);
        if (outcome.saved && outcome.sent) host.SetApplyPending(false);
    }

    busy->Post(BUSY_MSG_DONE);
    // The indicator winds down on its own; Apply does not wait for it.
    KeepBusyIndicator(busy.release());
    return outcome;
}

} // namespace orvane
