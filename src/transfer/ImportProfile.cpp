#include "transfer/ImportProfile.h"

#include "model/ConfigStore.h"
#include "model/KeyTooltip.h"
#include "model/ProfileFile.h"
#include "transfer/ActiveProfile.h"
#include "transfer/Apply.h"
#include "transfer/TransferHost.h"

namespace orvane {

int ImportProfile(const std::string& path) {
    CTransferHost& host = TransferHost();
    const int active = GetActiveProfile();
    if (!ImportProfileFile(path, active)) return 0;
    TransferNotice notice = nullptr;
    const int sent =
        CommitAndSend(true, &notice, [&] { RefreshKeyTooltips(host.KeyButtons(), active, g_ConfigStore); });
    ShowTransferNotice(notice);
    // Reporting a send that failed as done would leave the keyboard with the
    // old configuration and no way to apply the new one again.
    if (!sent) {
        g_ConfigStore.SetSendAllProfiles(true);
        host.SetApplyPending(true);
        return -1;
    }
    host.SetApplyPending(false);
    return 1;
}

} // namespace orvane
