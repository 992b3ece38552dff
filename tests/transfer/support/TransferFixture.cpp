#include "transfer/support/TransferFixture.h"

#include <filesystem>
#include <fstream>

#include "device/DefaultKeyMatrix.h"
#include "device/DeviceCommands.h"
#include "device/DeviceDiscovery.h"
#include "device/HidBackend.h"
#include "device/ReportExchange.h"
#include "model/ConfigStore.h"
#include "model/ProfileFile.h"
#include "platform/ByteOrder.h"
#include "services/PathTable.h"
#include "transfer/BusyIndicator.h"
#include "transfer/DeviceInfo.h"
#include "transfer/LightingReadBack.h"

namespace orvane::test {

void CRecordingLink::SetWindowTimer(uint32_t id, uint32_t period) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_events.push_back("set " + std::to_string(id) + " " + std::to_string(period));
}

void CRecordingLink::KillWindowTimer(uint32_t id) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_events.push_back("kill " + std::to_string(id));
}

std::vector<std::string> CRecordingLink::Events() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_events;
}

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
    namespace fs = std::filesystem;
    fs::create_directories(ProgramFolder() + "/Skins");
    fs::copy_file(std::string(ORVANE_SOURCE_DIR) + "/assets/Lang0409.ini", ProgramFolder() + "/Lang0409.ini");
    std::ofstream(ProgramFolder() + "/Skins/UserDengColor_3.userd")
        << "[PRESENTMODE]\nmode=0\n[Mode0]\n1=1,2,3,0\n";
    ASSERT_TRUE(BuildPathTable(ProgramFolder() + "/orvane"));
    BuildUserPaths();
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
    sim = std::make_unique<CSimKeyboard>(model);
    sim->SetRecording(true);
    SetHidBackend(sim.get());
    ASSERT_TRUE(OpenCommandInterface(g_HidDevice));
    g_DeviceOpen.store(1);
    SetActiveProfileCache(-1);
    SetCurrentProfile(0);
    ASSERT_EQ(ReadConnectionInfo(), DEV_OK);
    g_ConfigStore.ReleaseWorking();
    CreateBlankProfile(nullptr, 0);
    g_ConfigStore.SetSendAllProfiles(false);
    host.pending = false;
    sim->ClearRecorded();
}

void TransferTest::Disconnect() {
    g_DeviceOpen.store(0);
    g_HidDevice.Close();
    SetHidBackend(nullptr);
    sim.reset();
    SetModelParameters(0x0C45, 0x5004);
    ResetDefaultKeyMatrix();
    SetMacroCapacity(0);
    SetActiveProfileCache(-1);
}

std::vector<WireRequest> TransferTest::TakeRequests() {
    std::vector<WireRequest> out;
    for (const SimWireReport& r : sim->Recorded()) {
        if (r.Direction != '>' || r.Bytes.size() < 8) continue;
        out.push_back({r.Bytes[3], r.Bytes[4], GetLE16(r.Bytes.data() + 5), r.Bytes});
    }
    sim->ClearRecorded();
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

std::string TransferTest::UserFolder() const {
    return home.Data() + "/Brislane";
}
std::string TransferTest::ProgramFolder() const {
    return home.Dir().File("prog");
}

} // namespace orvane::test
