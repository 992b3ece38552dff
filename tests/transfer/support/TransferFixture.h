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

#include "services/MainWindowLink.h"
#include "sim/SimKeyboard.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"
#include "transfer/TransferHost.h"

namespace orvane::test {

using testing::CScriptedPrompt;

// Records the timers the busy indicator sets and kills.
class CRecordingLink final : public MainWindowLink {
  public:
    intptr_t SendWindowMessage(uint32_t, uintptr_t, intptr_t) override { return 0; }
    void PostWindowMessage(uint32_t, uintptr_t, intptr_t) override {}
    void SetWindowTimer(uint32_t id, uint32_t period) override;
    void KillWindowTimer(uint32_t id) override;
    void SetTrayIcon(int) override {}
    void HideWindow() override {}
    void ShowMessage(const std::string&) override {}
    std::vector<std::string> Events() const;

  private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_events;
};

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

class TransferTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh simulated keyboard of `model` keys, connected as the monitor
    // would leave it; the working copy blank, the caches unknown.
    void Connect(int model);
    void Disconnect();
    // Requests recorded since the last call.
    std::vector<WireRequest> TakeRequests();
    // The requests' commands as text: "01 0a 0a 08 02" style, one per request.
    static std::string Commands(const std::vector<WireRequest>& requests);
    // Creates the working profile file of `profile` so Apply can save.
    void CreateWorkingProfile(int profile);
    std::string UserFolder() const;
    std::string ProgramFolder() const;

    testing::CTempHome home;
    std::unique_ptr<CSimKeyboard> sim;
    CScriptedPrompt prompt;
    CRecordingLink link;
    CRecordingHost host;
};

} // namespace orvane::test
