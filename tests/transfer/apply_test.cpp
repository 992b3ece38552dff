// Apply against the simulated keyboard: what crosses the wire, when
// ApplyPending clears, the busy indicator, and the macro space checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <thread>

#include "device/DefaultKeyMatrix.h"
#include "device/DeviceCommands.h"
#include "model/ConfigStore.h"
#include "model/LightingChange.h"
#include "model/MacroBlock.h"
#include "model/ProfileFile.h"
#include "platform/AtomicFile.h"
#include "sim/SimFaults.h"
#include "support/TempDir.h"
#include "transfer/ActiveProfile.h"
#include "transfer/Apply.h"
#include "transfer/BusyIndicator.h"
#include "transfer/support/TransferFixture.h"

namespace orvane::test {
namespace {

MacroRecord Macro(const std::u16string& name, uint16_t id, int actions) {
    MacroRecord m{};
    SetMacroName(m, name);
    m.id = id;
    m.repeat = 1;
    for (int i = 0; i < actions; ++i)
        AddMacroAction(m, {10, 0x1E, static_cast<uint16_t>(i % 2 ? kActionRelease : kActionPress)});
    return m;
}

// Profiles whose key matrix was written, in order.
std::vector<int> MatrixProfiles(const std::vector<WireRequest>& requests) {
    std::vector<int> profiles;
    for (const WireRequest& r : requests)
        if (r.command == CMD_WRITE_KEY_MATRIX && r.offset % KeyMatrixLength() == 0)
            profiles.push_back(r.offset / KeyMatrixLength());
    return profiles;
}

// The macro image as the keyboard received it.
std::vector<uint8_t> MacroImage(const std::vector<WireRequest>& requests) {
    std::vector<uint8_t> image;
    for (const WireRequest& r : requests)
        if (r.command == CMD_WRITE_MACRO_MEMORY) {
            EXPECT_EQ(r.offset, image.size());
            image.insert(image.end(), r.bytes.begin() + 8, r.bytes.begin() + 8 + r.length);
        }
    return image;
}

class ApplyTest : public TransferTest {};

TEST_F(ApplyTest, NothingPendingSendsNothingButShowsAndHidesTheIndicator) {
    const ApplyOutcome outcome = Apply();
    WaitForBusyIndicator();
    EXPECT_FALSE(outcome.pending);
    EXPECT_TRUE(TakeRequests().empty());
    EXPECT_EQ(host.Calls(), (std::vector<std::string>{"busy 1", "busy 0"}));
    EXPECT_EQ(link.Events(), (std::vector<std::string>{"timer 1050 50", "kill 1050"}));
}

TEST_F(ApplyTest, PendingChangeIsSavedAndSentInOneBracketThenCleared) {
    CreateWorkingProfile(1);
    sim->WithFirmware([](CSimFirmware& f) { f.Info[10] = 1; });
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(1, 0x1E, KeyFunctionKind::Key, 0x30)); // A sends B
    host.pending = true;

    const ApplyOutcome outcome = Apply();
    EXPECT_TRUE(outcome.saved && outcome.sent);
    EXPECT_FALSE(host.pending);

    const auto requests = TakeRequests();
    // Active profile read, then begin, the 16-byte empty macro image, the
    // ten chunks of profile 1's matrix, end.
    EXPECT_EQ(Commands(requests), "03 01 0a 08 08 08 08 08 08 08 08 08 08 02");
    EXPECT_EQ(MacroImage(requests).size(), kMacroBlockHeaderBytes);
    EXPECT_EQ(MatrixProfiles(requests), std::vector<int>{1});
    sim->WithFirmware([](CSimFirmware& f) {
        const size_t at = 512 + 19 * 3;      // position 19 holds A in the factory matrix
        EXPECT_EQ(f.Matrices[at + 2], 0x05); // usage of B
    });

    // The working profile file now holds the change.
    CConfigStore loaded;
    ASSERT_EQ(LoadProfileFile(WorkingProfilePath(1), loaded), 1);
    EXPECT_EQ(loaded.Record(1, 0x1E).value, 0x30);
}

TEST_F(ApplyTest, LightingChangesSentMeanwhileNeverOpenABracketInsideTheApplys) {
    CreateWorkingProfile(1);
    sim->WithFirmware([](CSimFirmware& f) { f.Info[10] = 1; });
    host.pending = true;
    LightingChange brightness;
    brightness.fields[0] = FieldWrite::Byte(1, 3);
    brightness.count = 1;
    // The changes keep coming until the Apply has ended, so they contend
    // with its whole bracket.
    std::atomic<bool> applied{false};
    int changes = 0;
    std::thread panel([&] {
        do {
            EXPECT_EQ(SendLightingChange(DeviceLightingPort(), brightness).status, 1);
            ++changes;
        } while (!applied.load());
    });
    EXPECT_TRUE(Apply().Succeeded());
    applied = true;
    panel.join();

    int open = 0, brackets = 0;
    for (const WireRequest& r : TakeRequests()) {
        if (r.command == CMD_BEGIN_SESSION) {
            EXPECT_EQ(open++, 0) << "a bracket began inside another";
            ++brackets;
        } else if (r.command == CMD_END_SESSION) {
            EXPECT_EQ(--open, 0);
        } else if (r.command != CMD_READ_INFO) {
            EXPECT_EQ(open, 1) << "command " << int(r.command) << " outside a bracket";
        }
    }
    EXPECT_EQ(open, 0);
    EXPECT_EQ(brackets, changes + 1);
}

TEST_F(ApplyTest, FailedSaveOrSendKeepsApplyPending) {
    // No working profile file: sent, but not saved.
    host.pending = true;
    ApplyOutcome outcome = Apply();
    EXPECT_FALSE(outcome.saved);
    EXPECT_TRUE(outcome.sent);
    EXPECT_TRUE(host.pending);
    EXPECT_TRUE(prompt.shown.empty()); // no file is nothing lost

    // A working profile file that cannot be written: the user learns which.
    CreateWorkingProfile(0);
    SetAtomicWriteFailureForTests(true);
    outcome = Apply();
    SetAtomicWriteFailureForTests(false);
    EXPECT_FALSE(outcome.saved);
    EXPECT_TRUE(outcome.sent);
    EXPECT_TRUE(host.pending);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].find(WorkingProfilePath(0)), std::string::npos) << prompt.shown[0];

    // Saved, but the keyboard refuses the last matrix chunk.
    TakeRequests();
    const uint32_t next = sim->RequestCount();
    // begin, 1 macro chunk, 10 matrix chunks: the last one is request +12.
    sim->AddFault({SimFault::Status, next + 12, next + 12, 0xFE});
    outcome = Apply();
    EXPECT_TRUE(outcome.saved);
    EXPECT_FALSE(outcome.sent);
    EXPECT_TRUE(host.pending);
}

TEST_F(ApplyTest, RunsWithoutIndicatorWhenItsThreadCannotStart) {
    CreateWorkingProfile(0);
    host.pending = true;
    CBusyIndicatorThread::FailNextStartForTests();
    const ApplyOutcome outcome = Apply();
    EXPECT_TRUE(outcome.Succeeded());
    EXPECT_TRUE(host.Calls().empty());
    EXPECT_TRUE(link.Events().empty());
    EXPECT_FALSE(TakeRequests().empty());
}

TEST_F(ApplyTest, MacroSpaceChecksAtTheCapacity) {
    CreateWorkingProfile(0);
    MacroList list = {Macro(u"First", 1, 20), Macro(u"Second", 2, 7)};
    ASSERT_TRUE(g_ConfigStore.SetMacros(list));
    const MacroBlockSizeInfo sizes = MacroBlockSizes(list);
    ASSERT_LT(sizes.withoutNames, sizes.withNames);

    // One byte short of even the nameless image: nothing at all is sent.
    SetMacroCapacity(sizes.withoutNames - 1);
    host.pending = true;
    EXPECT_FALSE(Apply().sent);
    EXPECT_TRUE(host.pending);
    EXPECT_EQ(Commands(TakeRequests()), "03"); // only the active profile's lookup
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].find("too large"), std::string::npos);

    // Exactly the nameless size: sent without names, then the warning.
    prompt.shown.clear();
    SetMacroCapacity(sizes.withoutNames);
    EXPECT_TRUE(Apply().sent);
    const auto image = MacroImage(TakeRequests());
    ASSERT_EQ(image.size(), sizes.withoutNames);
    EXPECT_EQ(image[6], 0); // names flag
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].find("without their names"), std::string::npos);

    // Room for the names: they go along, no warning.
    prompt.shown.clear();
    SetMacroCapacity(sizes.withNames);
    host.pending = true;
    EXPECT_TRUE(Apply().sent);
    const auto named = MacroImage(TakeRequests());
    EXPECT_EQ(named.size(), sizes.withNames);
    EXPECT_EQ(named[6], 1);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(ApplyTest, DeletingAnAssignedMacroSendsAllThreeMatricesOnce) {
    CreateWorkingProfile(0);
    MacroList list = {Macro(u"Fire", 1, 2)};
    ASSERT_TRUE(g_ConfigStore.SetMacros(list));
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, 0x1E, KeyFunctionKind::Macro, 1, 3));
    prompt.answer = IDYES;
    ASSERT_TRUE(g_ConfigStore.IsMacroAssigned(list[0], 0));
    ASSERT_TRUE(g_ConfigStore.CommitMacroList({}));

    host.pending = true;
    ASSERT_TRUE(Apply().Succeeded());
    EXPECT_EQ(MatrixProfiles(TakeRequests()), (std::vector<int>{0, 1, 2}));

    host.pending = true;
    ASSERT_TRUE(Apply().Succeeded());
    EXPECT_EQ(MatrixProfiles(TakeRequests()), std::vector<int>{0});
}

TEST_F(ApplyTest, FailedSendOfAllProfilesIsRepeatedByTheNextApply) {
    CreateWorkingProfile(0);
    g_ConfigStore.SetSendAllProfiles(true);
    host.pending = true;
    // Active profile read, begin, macro image, 30 matrix chunks: the last refused.
    const uint32_t last = sim->RequestCount() + 33;
    sim->AddFault({SimFault::Status, last, last, 0xFE});
    EXPECT_FALSE(Apply().sent);
    TakeRequests();
    EXPECT_TRUE(Apply().Succeeded());
    EXPECT_EQ(MatrixProfiles(TakeRequests()), (std::vector<int>{0, 1, 2}));
}

TEST_F(ApplyTest, UnknownActiveProfileSendsNothing) {
    CreateWorkingProfile(0);
    host.pending = true;
    sim->AddFault({SimFault::Status, sim->RequestCount() + 1, UINT32_MAX, 0xFF});
    const ApplyOutcome outcome = Apply();
    EXPECT_FALSE(outcome.sent);
    EXPECT_TRUE(host.pending);
    for (const WireRequest& r : TakeRequests())
        EXPECT_EQ(r.command, CMD_READ_INFO);
    ASSERT_FALSE(prompt.shown.empty());
    EXPECT_NE(prompt.shown.back().find("not known"), std::string::npos);
}

TEST_F(ApplyTest, KeyboardPulledOutHalfwayLeavesPendingAndTheFileWhole) {
    CreateWorkingProfile(0);
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, 0x1E, KeyFunctionKind::Disabled, 0));
    host.pending = true;
    // Active profile read, begin, macro image, then gone after the third
    // matrix chunk.
    sim->AddFault({SimFault::Unplug, sim->RequestCount() + 6, sim->RequestCount() + 6, 0});
    const ApplyOutcome outcome = Apply();
    EXPECT_FALSE(outcome.sent);
    EXPECT_TRUE(host.pending);
    EXPECT_EQ(ValidateProfileFile(WorkingProfilePath(0)), kProfileValid);
    CConfigStore loaded;
    ASSERT_EQ(LoadProfileFile(WorkingProfilePath(0), loaded), 1);
    EXPECT_TRUE(loaded.Record(0, 0x1E).Is(KeyFunctionKind::Disabled));
}

TEST_F(ApplyTest, AFailureAnywhereInTheSequenceFailsTheApply) {
    CreateWorkingProfile(0);
    ASSERT_EQ(GetActiveProfile(), 0);
    TakeRequests();
    ASSERT_TRUE(g_ConfigStore.SetMacros({Macro(u"Long one", 1, 30)}));
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, 0x1E, KeyFunctionKind::Disabled, 0));
    auto arm = [&] {
        g_ConfigStore.SetSendAllProfiles(true);
        host.pending = true;
        CBusyIndicatorThread::FailNextStartForTests(); // no indicator, no wait
    };

    // The whole sequence, unfaulted: begin, the macro image in chunks, all
    // three matrices, end.
    arm();
    ASSERT_TRUE(Apply().Succeeded());
    const auto sequence = TakeRequests();
    const std::string commands = Commands(sequence);
    ASSERT_EQ(commands.substr(0, 9), "01 0a 0a ");
    ASSERT_EQ(MatrixProfiles(sequence), (std::vector<int>{0, 1, 2}));
    ASSERT_EQ(sequence.back().command, CMD_END_SESSION);
    const std::string file = testing::ReadText(WorkingProfilePath(0));

    for (uint32_t at = 1; at <= sequence.size(); ++at) {
        SCOPED_TRACE("refused request " + std::to_string(at) + " of " + commands);
        arm();
        const uint32_t base = sim->RequestCount();
        sim->ClearFaults();
        sim->AddFault({SimFault::Status, base + at, base + at, at % 2 ? uint8_t{0xFF} : uint8_t{0xFE}});
        const ApplyOutcome outcome = Apply();
        EXPECT_FALSE(outcome.Succeeded());
        EXPECT_FALSE(outcome.sent);
        EXPECT_TRUE(host.pending);
        EXPECT_TRUE(g_ConfigStore.SendAllProfiles());
        EXPECT_EQ(testing::ReadText(WorkingProfilePath(0)), file);
        const auto requests = TakeRequests();
        // Nothing after a refused begin; otherwise the session is closed.
        if (at > 1) {
            EXPECT_EQ(requests.back().command, CMD_END_SESSION);
        }
    }
    sim->ClearFaults();
    arm();
    EXPECT_TRUE(Apply().Succeeded());
    EXPECT_FALSE(host.pending);
    EXPECT_FALSE(g_ConfigStore.SendAllProfiles());
}

TEST_F(ApplyTest, NoKeyMatrixIsBuiltWithoutThisModelsDefaultMatrix) {
    // As after a connection whose default matrix read failed on the 128-key
    // model: only the built-in table of 63 positions is at hand.
    CreateWorkingProfile(0);
    ASSERT_EQ(GetActiveProfile(), 0);
    TakeRequests();
    ResetDefaultKeyMatrix();
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, 0x1E, KeyFunctionKind::Disabled, 0));
    host.pending = true;

    // Read again first; that fails too: nothing is sent.
    sim->AddFault({SimFault::Status, sim->RequestCount() + 1, sim->RequestCount() + 1, 0xFF});
    EXPECT_FALSE(Apply().sent);
    EXPECT_TRUE(host.pending);
    EXPECT_EQ(Commands(TakeRequests()), "0f");
    ASSERT_FALSE(prompt.shown.empty());
    EXPECT_NE(prompt.shown.back().find("default key layout"), std::string::npos);

    // The next Apply reads it and sends every key but the changed one as the
    // factory has it.
    EXPECT_TRUE(Apply().Succeeded());
    const auto requests = TakeRequests();
    EXPECT_EQ(std::count_if(requests.begin(), requests.end(),
                            [](const WireRequest& r) { return r.command == CMD_READ_DEFAULT_KEY_MATRIX; }),
              10);
    sim->WithFirmware([](CSimFirmware& f) {
        std::vector<uint8_t> want = f.FactoryMatrix;
        std::fill_n(want.begin() + 19 * 3, 3, 0); // A, disabled
        EXPECT_TRUE(std::equal(want.begin(), want.end(), f.Matrices.begin()));
    });
}

TEST_F(ApplyTest, UnknownMacroCapacityIsReadBeforeItIsUsed) {
    CreateWorkingProfile(0);
    SetMacroCapacity(0); // no device info read has succeeded yet
    host.pending = true;
    EXPECT_TRUE(Apply().Succeeded());
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(MacroCapacity(), 48u * 128);

    // When it cannot be read either, nothing is sent and the user is told why.
    SetMacroCapacity(0);
    TakeRequests();
    sim->AddFault({SimFault::Status, sim->RequestCount() + 1, sim->RequestCount() + 1, 0xFE});
    host.pending = true;
    EXPECT_FALSE(Apply().sent);
    EXPECT_TRUE(host.pending);
    EXPECT_EQ(Commands(TakeRequests()), "03");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].find("not known"), std::string::npos);
}

} // namespace
} // namespace orvane::test
