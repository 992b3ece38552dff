#pragma once
// A simulated keyboard with g_HidDevice open on it and the connection reads
// done, a private home and program folder, and recorders for the prompt, the
// window link and the transfer host, for the configuration transfer tests.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/support/SimFixture.h"
#include "support/ProgramFolder.h"
#include "support/RecordingLink.h"
#include "support/ScriptedPrompt.h"
#include "transfer/TransferHost.h"

namespace orvane::test {

using testing::CRecordingLink;
using testing::CScriptedPrompt;

// Records every call as a short line ("busy 1", "buttons 2", "press 0" ...).
class CRecordingHost final : public CTransferHost, private CKeyButtonView {
  public:
    std::atomic<bool> pending{false};
    bool ApplyPending() const override { return pending; }
    void SetApplyPending(bool p) override { pending = p; }
    void ShowBusyIndicator(bool shown) override { Record(shown ? "busy 1" : "busy 0"); }
    void SetLightingPanelDefaults() override { Record("panel defaults"); }
    void RefillColourSets() override { Record("colour sets"); }
    void SetProfileButtons(int p) override { Record("buttons " + std::to_string(p)); }
    void PressProfileButton(int p) override;
    void TurnLightingSwitchOff() override { Record("switch off"); }
    CKeyButtonView& KeyButtons() override { return *this; }
    std::vector<std::string> Calls() const;
    int tooltipsSet = 0;

  private:
    bool GKeyBankSet() const override { return false; }
    void SetKeyButtonTooltip(int, const std::string&, bool) override { ++tooltipsSet; }
    void MarkConfigurationChanged() override { pending = true; }
    void Record(const std::string& line);
    mutable std::mutex m_mutex;
    std::vector<std::string> m_calls;
};

// One request as the wire saw it.
struct WireRequest {
    uint8_t command = 0;
    uint8_t length = 0;
    uint16_t offset = 0;
    std::vector<uint8_t> bytes;
};

class TransferTest : public SimKeyboardTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh simulated keyboard of `model` keys, connected and read as the
    // monitor would leave it; the working copy blank, the caches unknown.
    void Connect(int model);
    void Disconnect();
    // Requests recorded since the last call.
    std::vector<WireRequest> TakeRequests();
    // The requests' commands as text: "01 0a 0a 08 02" style, one per request.
    static std::string Commands(const std::vector<WireRequest>& requests);
    // Creates the working profile file of `profile` so Apply can save.
    void CreateWorkingProfile(int profile);
    std::string UserFolder() const { return home.Data() + "/Brislane"; }
    std::string ProgramFolder() const { return program.Folder(); }

    testing::CProgramFolder program;
    const testing::CTempHome& home = program.Home();
    CScriptedPrompt prompt;
    CRecordingLink link;
    CRecordingHost host;
};

} // namespace orvane::test
