#include "transfer/TransferHost.h"

#include <atomic>
#include <cstdio>

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
    // No window to show it: the settings stay as they were, and whoever runs
    // this without one learns it on the error stream.
    if (const int read = ReadLightingRecords(); read != DEV_OK)
        std::fprintf(stderr, "orvane: the keyboard's lighting could not be read back (status %d)\n", read);
}

} // namespace orvane
