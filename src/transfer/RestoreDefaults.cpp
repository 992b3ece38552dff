#include "transfer/RestoreDefaults.h"

#include <span>
#include <vector>

#include "device/DefaultKeyMatrix.h"
#include "device/DeviceCommands.h"
#include "model/ConfigStore.h"
#include "model/KeyTooltip.h"
#include "model/UserData.h"
#include "services/Language.h"
#include "services/Prompt.h"
#include "services/WriteFailureReport.h"
#include "transfer/Apply.h"
#include "transfer/DeviceInfo.h"
#include "transfer/TransferHost.h"

namespace orvane {
namespace {
constexpr unsigned kSecondButtonDefault = 0x100; // No is the default answer
} // namespace

const std::array<uint8_t, kLightingResetBytes> kLightingResetRecord = {
    0x01, 0x04, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, // mode .. colour; the rest 0
};

int ResetProfileLighting(int profile, std::vector<WriteResult>* fileFailures) {
    if (profile < 0 || profile >= PROFILE_COUNT) return 0;
    CTransferHost& host = TransferHost();
    host.SetLightingPanelDefaults();
    if (DeviceOffersMode(20)) {
        WriteResult restored = RestoreUserFile(profile);
        if (!restored && fileFailures)
            fileFailures->push_back(std::move(restored));
        else
            ReportWriteFailures({restored});
        host.RefillColourSets();
    }
    return DevInSession([&] {
        return DevWriteLighting(kLightingResetRecord, static_cast<uint16_t>(profile * LIGHTING_RECORD_SIZE));
    });
}

int RestoreDefaults() {
    if (Prompt().MessageBox(Text("MAIN_PROMPT_DEFAULT"), "",
                            MB_YESNO | MB_ICONQUESTION | kSecondButtonDefault) != IDYES)
        return 0;
    // Only this model's own default matrix may be written as the default;
    // without it nothing is changed, here or on the keyboard.
    if (EnsureDefaultKeyMatrix() != DEV_OK) {
        ShowTransferNotice("MAIN_DEFAULT_MATRIX_PROMPT");
        return -1;
    }
    CTransferHost& host = TransferHost();
    bool allWritten = true;
    std::vector<WriteResult> fileFailures;
    for (int p = 0; p < PROFILE_COUNT; ++p) {
        ResetProfileKeys(host.KeyButtons(), p, g_ConfigStore);
        if (ResetProfileLighting(p, &fileFailures) != DEV_OK) allWritten = false;
        const KeyMatrixBuffer defaults = DefaultKeyMatrix();
        const auto matrix = std::span<const uint8_t>(defaults.data(), static_cast<size_t>(KeyMatrixLength()));
        if (DevWriteKeyMatrix(matrix, p) != DEV_OK) allWritten = false;
    }
    ReportWriteFailures(fileFailures);
    const ApplyOutcome applied = Apply();
    host.PressProfileButton(0);
    return allWritten && applied.sent ? 1 : -1;
}

} // namespace orvane
