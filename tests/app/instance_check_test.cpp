#include "app/InstanceCheck.h"

#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "services/AutoShowLatch.h"
#include "services/SimulateOption.h"
#include "services/WindowMessages.h"

using namespace orvane;

namespace {

// Records what the check asks of the system, answering from a script.
class CScriptedSystem final : public CInstanceSystem {
  public:
    pid_t otherPid = 0;
    CInstanceMutex::Result mutexResult = CInstanceMutex::Result::Created;
    bool otherEnds = true;

    std::vector<std::pair<uint32_t, uintptr_t>> sent;
    int lookups = 0;
    int mutexOpens = 0;
    int companionStarts = 0;

    pid_t FindOtherInstance() override {
        ++lookups;
        return otherPid;
    }
    void SendToInstance(pid_t pid, uint32_t message, uintptr_t wParam) override {
        EXPECT_EQ(pid, otherPid);
        sent.emplace_back(message, wParam);
    }
    CInstanceMutex::Result OpenOrCreateMutex() override {
        ++mutexOpens;
        return mutexResult;
    }
    bool WaitForInstanceEnd(pid_t pid) override {
        EXPECT_EQ(pid, otherPid);
        // Waiting for the end only makes sense once it was told to close.
        EXPECT_FALSE(sent.empty());
        ++endWaits;
        return otherEnds;
    }
    void StartCompanion() override { ++companionStarts; }
    int endWaits = 0;
};

struct CCase {
    const char* name;
    std::vector<std::string> args;
    pid_t otherPid;
    CInstanceMutex::Result mutex;
    // expected
    InstanceCheckResult result;
    std::vector<std::pair<uint32_t, uintptr_t>> sent;
    int latch;
    int companionStarts;
};

const auto kCreated = CInstanceMutex::Result::Created;
const auto kExists = CInstanceMutex::Result::AlreadyExists;
const auto kFailed = CInstanceMutex::Result::Failed;
const auto kRun = InstanceCheckResult::RunAsInstance;
const auto kEnd = InstanceCheckResult::EndProcess;
const std::pair<uint32_t, uintptr_t> kKill{UM_KILL, TAG_KILL};
const std::pair<uint32_t, uintptr_t> kOpen{UM_OPEN, TAG_OPEN};

TEST(InstanceCheck, CommandLineAndMutexDecideWhetherThisCopyRuns) {
    const std::vector<CCase> cases = {
        {"plain first start", {}, 0, kCreated, kRun, {}, 0, 1},
        {"/Kill with none running starts normally", {"/Kill"}, 0, kCreated, kRun, {}, 0, 1},
        {"/Kill in any case closes the running copy", {"/kILL"}, 42, kExists, kEnd, {kKill}, 0, 0},
        {"/Start keeps the window in the tray", {"/START"}, 0, kCreated, kRun, {}, 1, 1},
        {"/Start then /Kill: latch set, running copy closed",
         {"/Start", "/Kill"},
         42,
         kExists,
         kEnd,
         {kKill},
         1,
         0},
        {"/Kill then /Start: ends before /Start is seen",
         {"/Kill", "/Start"},
         42,
         kExists,
         kEnd,
         {kKill},
         0,
         0},
        {"second start opens the first copy", {}, 42, kExists, kEnd, {kOpen}, 0, 0},
        {"second start with /Start still opens it", {"/start"}, 42, kExists, kEnd, {kOpen}, 1, 0},
        {"mutex held under another file name: run beside it", {}, 0, kExists, kRun, {}, 0, 1},
        {"mutex unusable: run as a normal instance", {}, 0, kFailed, kRun, {}, 0, 1},
        {"look-alike switches are ignored",
         {"/Killer", "-Kill", "\\Kill", "Kill", "/Kil", " /Kill", "/Kill ", "//Start", "/Start2"},
         42,
         kExists,
         kEnd,
         {kOpen},
         0,
         0},
        {"our own switch does not disturb the others",
         {"--simulate=126", "/Kill", "--simulate"},
         42,
         kExists,
         kEnd,
         {kKill},
         0,
         0},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        CScriptedSystem system;
        system.otherPid = c.otherPid;
        system.mutexResult = c.mutex;
        AutoShowLatch() = 1; // cleared by the check itself
        EXPECT_EQ(RunInstanceCheck(c.args, system), c.result);
        EXPECT_EQ(system.sent, c.sent);
        EXPECT_EQ(AutoShowLatch().load(), c.latch);
        EXPECT_EQ(system.companionStarts, c.companionStarts);
        if (c.result == kEnd && c.sent.front() == kKill) {
            EXPECT_EQ(system.mutexOpens, 0); // a copy that only closes another never takes the mutex
        }
    }
}

TEST(InstanceCheck, KillSucceedsOnlyOnceTheRunningCopyHasGone) {
    for (bool ends : {true, false}) {
        SCOPED_TRACE(ends ? "closes" : "stays");
        CScriptedSystem system;
        system.otherPid = 42;
        system.mutexResult = kExists;
        system.otherEnds = ends;
        EXPECT_EQ(RunInstanceCheck({"/Kill", "/Start"}, system),
                  ends ? kEnd : InstanceCheckResult::KillFailed);
        EXPECT_EQ(system.sent, (std::vector<std::pair<uint32_t, uintptr_t>>{kKill}));
        EXPECT_EQ(system.endWaits, 1);
        // Either way this copy neither runs beside the other nor opens its window.
        EXPECT_EQ(system.mutexOpens, 0);
        EXPECT_EQ(system.companionStarts, 0);
    }
}

TEST(CommandLine, SimulateSwitchPicksTheModelAndLeavesTheArgumentsAlone) {
    const char* argv[] = {"orvane", "/Start", "--simulate=126", "junk", nullptr};
    std::vector<std::string> args = ProgramArguments(4, argv);
    EXPECT_EQ(args, (std::vector<std::string>{"/Start", "--simulate=126", "junk"}));

    SetSimulatedModel(0);
    ApplySimulateOption(args);
    EXPECT_EQ(SimulatedModel(), 126);
    ApplySimulateOption({"--simulate"});
    EXPECT_EQ(SimulatedModel(), kDefaultSimulatedModel);
    ApplySimulateOption({"--simulate=127", "--SIMULATE=126", "--simulate=", "--simulated"});
    EXPECT_EQ(SimulatedModel(), kDefaultSimulatedModel);
    SetSimulatedModel(55);
    EXPECT_EQ(SimulatedModel(), kDefaultSimulatedModel);
    SetSimulatedModel(0);
    EXPECT_EQ(SimulatedModel(), 0);
}

} // namespace
