#include "transfer/support/TransferFixture.h"

#include <filesystem>

#include "device/DefaultKeyMatrix.h"
#include "device/DeviceCommands.h"
#include "model/ConfigStore.h"
#include "model/ProfileFile.h"
#include "platform/ByteOrder.h"
#include "transfer/BusyIndicator.h"
#include "transfer/DeviceInfo.h"
#include "transfer/LightingReadBack.h"

namespace orvane::test {

void CRecordingHost::PressProfileButton(int p) {
    Record("press " + std::to_string(p));
    SetCurrentProfile(p);
    ReadLightingRecords();
}

void CRecordingHost::Record(const std::string& line) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_calls.push_back(line);
}

std::vector<std::string> CRecordingHost::Calls() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_calls;
}

void TransferTest::SetUp() {
    ASSERT_TRUE(program.Ok());
    std::filesystem::copy_file(std::string(ORVANE_SOURCE_DIR) + "/assets/Lang0409.ini",
                               program.File("Lang0409.ini"));
    testing::WriteText(program.File("Skins/UserDengColor_3.userd"),
                       "[PRESENTMODE]\nmode=0\n[Mode0]\n1=1,2,3,0\n");
    SetPrompt(&prompt);
    SetMainWindowLink(&link);
    SetTransferHost(&host);
    Connect(128);
}

void TransferTest::TearDown() {
    WaitForBusyIndicator();
    Disconnect();
    SetTransferHost(nullptr);
    SetMainWindowLink(nullptr);
    SetPrompt(nullptr);
}

void TransferTest::Connect(int model) {
    Disconnect();
    SimKeyboardTest::Connect(model);
    SetActiveProfileCache(-1);
    ASSERT_EQ(ReadConnectionInfo(), DEV_OK);
    g_ConfigStore.ReleaseWorking();
    CreateBlankProfile(nullptr, 0);
    g_ConfigStore.SetSendAllProfiles(false);
    host.pending = false;
    sim->ClearRecorded();
}

void TransferTest::Disconnect() {
    SimKeyboardTest::Disconnect();
    ResetDefaultKeyMatrix();
    SetMacroCapacity(0);
    SetActiveProfileCache(-1);
}

std::vector<WireRequest> TransferTest::TakeRequests() {
    std::vector<WireRequest> out;
    for (const std::vector<uint8_t>& r : SimKeyboardTest::TakeRequests())
        if (r.size() >= 8) out.push_back({r[3], r[4], GetLE16(r.data() + 5), r});
    return out;
}

std::string TransferTest::Commands(const std::vector<WireRequest>& requests) {
    std::string s;
    char hex[4];
    for (const WireRequest& r : requests) {
        std::snprintf(hex, sizeof hex, "%02x", r.command);
        if (!s.empty()) s += ' ';
        s += hex;
    }
    return s;
}

void TransferTest::CreateWorkingProfile(int profile) {
    std::filesystem::create_directories(UserFolder());
    const std::string path = WorkingProfilePath(profile);
    ASSERT_EQ(CreateBlankProfile(&path, 0), 1);
}

} // namespace orvane::test
