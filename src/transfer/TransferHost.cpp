#include "transfer/TransferHost.h"

#include <atomic>

#include "device/DeviceCommands.h"
#include "transfer/LightingReadBack.h"

namespace orvane {
namespace {
CQuietTransferHost g_QuietHost;
std::atomic<CTransferHost*> g_Host{nullptr};
} // namespace

CTransferHost& TransferHost() {
    CTransferHost* h = g_Host.load();
    return h ? *h : g_QuietHost;
}

void SetTransferHost(CTransferHost* host) {
    g_Host.store(host);
}

void CQuietTransferHost::PressProfileButton(int profile) {
    if (profile < 0 || profile >= PROFILE_COUNT) return;
    SetCurrentProfile(profile);
    ReadLightingRecords();
}

} // namespace orvane
