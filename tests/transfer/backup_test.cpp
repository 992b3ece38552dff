// Copying the keyboard into profile files and back: the round trip byte for
// byte on both models, failures that must leave files alone, and the
// working configuration taken from the keyboard at a connection.
#include <algorithm>
#include <gtest/gtest.h>

#include <filesystem>

#include "device/DefaultKeyMatrix.h"
#include "device/DeviceCommands.h"
#include "model/ConfigStore.h"
#include "model/MacroBlock.h"
#include "model/ProfileFile.h"
#include "platform/AtomicFile.h"
#include "platform/ByteOrder.h"
#include "services/Language.h"
#include "sim/SimFaults.h"
#include "support/TempDir.h"
#include "transfer/Apply.h"
#include "transfer/ImportProfile.h"
#include "transfer/KeyboardBackup.h"
#include "transfer/support/TransferFixture.h"

namespace orvane::test {
namespace {

MacroRecord NamedMacro(const std::u16string& name, uint16_t id, std::initializer_list<ScanCode> keys) {
    MacroRecord m{};
    SetMacroName(m, name);
    m.id = id;
    m.repeat = static_cast<uint8_t>(id + 1);
    uint32_t delay = 0;
    for (ScanCode k : keys) {
        AddMacroAction(m, {delay += 30, k, kActionPress});
        AddMacroAction(m, {delay += 20, k, kActionRelease});
    }
    return m;
}

struct KeyboardState {
    std::vector<uint8_t> matrices;
    std::vector<uint8_t> macroBlock;
};

class BackupTest : public TransferTest {
  protected:
    // Gives every profile a different configuration through Apply, so the
    // keyboard holds codes of every kind and a named macro block.
    void PutVariedConfiguration() {
        using K = KeyFunctionKind;
        MacroList list = {NamedMacro(u"Combo", 1, {0x1E, 0x30}), NamedMacro(u"Shift tab", 2, {0x2A, 0x0F}),
                          NamedMacro(u"Clicks", 3, {0x171, 0x172, 0x161})};
        ASSERT_TRUE(g_ConfigStore.SetMacros(list));
        for (int p = 0; p < 3; ++p) {
            ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(p, 0x1E, K::Key, 0x30 + p));
            ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(p, 0x1F, K::Macro, 1 + p, 2));
            ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(p, 0x20, K::Media, 3 + p));
            ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(p, 0x21, K::Function, p));
            ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(p, 0x22, K::Disabled, 0));
            ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(p, 0x23, K::Key, 0x171));
            ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(p, 0x24, K::Key, 0x162));
            ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(p, 0x25, K::Key, 0x38));
            ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(p, 0x26, K::StopMacro, 0));
        }
        ASSERT_EQ(CommitAndSend(true), 1);
    }

    KeyboardState State() {
        return sim->WithFirmware([](CSimFirmware& f) {
            KeyboardState s{f.Matrices, {}};
            // A wiped memory holds no block: its size field may be anything.
            const size_t size = std::min<size_t>(GetLE16(f.MacroMemory.data() + 2), f.MacroMemory.size());
            s.macroBlock.assign(f.MacroMemory.begin(), f.MacroMemory.begin() + static_cast<ptrdiff_t>(size));
            return s;
        });
    }

    void WipeKeyboard() {
        sim->WithFirmware([](CSimFirmware& f) {
            for (int p = 0; p < 3; ++p)
                std::copy(f.FactoryMatrix.begin(), f.FactoryMatrix.end(),
                          f.Matrices.begin() + p * static_cast<ptrdiff_t>(f.FactoryMatrix.size()));
            f.MacroMemory.fill(0xFF);
        });
    }

    testing::CTempDir files;
};

TEST_F(BackupTest, BackupThenApplyReproducesTheKeyboardOnBothModels) {
    for (int model : {126, 128}) {
        SCOPED_TRACE(model);
        Connect(model);
        PutVariedConfiguration();
        const KeyboardState before = State();
        ASSERT_GT(before.macroBlock.size(), kMacroBlockHeaderBytes);
        EXPECT_EQ(before.macroBlock[6], 1); // names included

        const std::string path = files.File("keyboard" + std::to_string(model) + ".fwc");
        ASSERT_EQ(BackupKeyboard(path), 1);
        EXPECT_EQ(ValidateProfileFile(path), kProfileValid);
        EXPECT_EQ(std::filesystem::file_size(path), kProfileImageBytes + 3 * kMacroRecordBytes);

        WipeKeyboard();
        ASSERT_NE(State().matrices, before.matrices);
        g_ConfigStore.ReleaseWorking();
        CreateBlankProfile(nullptr, 0);
        host.pending = true;
        ASSERT_EQ(ImportProfile(path), 1);
        EXPECT_FALSE(host.pending);
        const KeyboardState after = State();
        EXPECT_EQ(after.matrices, before.matrices);
        EXPECT_EQ(after.macroBlock, before.macroBlock);
    }
}

TEST_F(BackupTest, FailedBackupWritesNoFile) {
    const std::string path = files.File("old.fwc");
    testing::WriteText(path, "old");

    // Active profile unknown and unreadable.
    sim->AddFault({SimFault::Status, sim->RequestCount() + 1, sim->RequestCount() + 1, 0xFF});
    EXPECT_EQ(BackupKeyboard(path), 0);
    // A key matrix chunk refused.
    sim->AddFault({SimFault::Status, sim->RequestCount() + 4, sim->RequestCount() + 4, 0xFE});
    EXPECT_EQ(BackupKeyboard(path), 0);
    // A macro block whose header claims more macros than it can hold.
    sim->WithFirmware([](CSimFirmware& f) {
        const uint8_t head[] = {0xAA, 0x55, 20, 0, 101, 0, 1, 0};
        std::copy(std::begin(head), std::end(head), f.MacroMemory.begin());
    });
    EXPECT_EQ(BackupKeyboard(path), 0);
    EXPECT_EQ(testing::ReadText(path), "old");
}

TEST_F(BackupTest, LoadKeyboardProfileMakesTheKeyboardTheWorkingCopy) {
    PutVariedConfiguration();
    g_ConfigStore.ReleaseWorking();
    CreateBlankProfile(nullptr, 0);
    SetActiveProfileCache(-1);
    host.pending = true;

    EXPECT_EQ(LoadKeyboardProfile(UnsentChanges::Discard), 1);
    EXPECT_FALSE(host.pending);
    EXPECT_GT(host.tooltipsSet, 0);
    EXPECT_EQ(g_ConfigStore.MacroCount(), 3u);
    EXPECT_EQ(g_ConfigStore.Record(2, 0x1E).value, 0x32);
    EXPECT_TRUE(g_ConfigStore.Record(1, 0x1F).Is(KeyFunctionKind::Macro));
    EXPECT_EQ(g_ConfigStore.Record(1, 0x1F).value, 2);
    EXPECT_EQ(ValidateProfileFile(WorkingProfilePath(0)), kProfileValid);
}

TEST_F(BackupTest, FailedReadAtConnectionKeepsTheWorkingCopyAndItsFile) {
    PutVariedConfiguration();
    LoadKeyboardProfile(UnsentChanges::Keep);
    ASSERT_EQ(g_ConfigStore.MacroCount(), 3u);
    // The user's edit, not applied yet.
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, 0x30, KeyFunctionKind::Disabled, 0));
    const KeyFunctionTable records = g_ConfigStore.Records();
    const std::string saved = testing::ReadText(WorkingProfilePath(0));

    // Each read of the backup in turn: the active profile, the default
    // matrix (when it has to be read again), a key matrix chunk, the macro
    // header and the macro block.
    struct Case {
        const char* what;
        bool cacheKnown;
        bool defaultsKnown;
        uint32_t at;
    };
    for (const Case& c : {Case{"device info", false, true, 1}, Case{"default matrix", true, false, 3},
                          Case{"key matrix", true, true, 14}, Case{"macro header", true, true, 31},
                          Case{"macro block", true, true, 33}}) {
        SCOPED_TRACE(c.what);
        SetActiveProfileCache(c.cacheKnown ? 0 : -1);
        if (!c.defaultsKnown) ResetDefaultKeyMatrix();
        sim->ClearFaults();
        sim->AddFault({SimFault::Status, sim->RequestCount() + c.at, sim->RequestCount() + c.at, 0xFF});
        host.pending = true;
        EXPECT_EQ(LoadKeyboardProfile(UnsentChanges::Discard), 0);
        EXPECT_TRUE(host.pending);
        EXPECT_EQ(g_ConfigStore.Records(), records);
        EXPECT_EQ(g_ConfigStore.MacroCount(), 3u);
        EXPECT_EQ(testing::ReadText(WorkingProfilePath(0)), saved);
        sim->ClearFaults();
        ASSERT_EQ(RefreshDefaultKeyMatrix(), DEV_OK);
    }
}

TEST_F(BackupTest, ProgramAndTextKeysSurviveAReconnection) {
    using K = KeyFunctionKind;
    const std::u16string text = u"Kind regards,\nA.";
    const std::u16string program = u"/usr/bin/xterm";
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, 0x1E, K::Text, 0, 1, &text));
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(1, 0x1E, K::Program, 0, 1, &program));
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(2, 0x1E, K::Text, 0, 1, &text));
    CreateWorkingProfile(0);
    ASSERT_EQ(SaveWorkingProfile(0), 1);
    ASSERT_EQ(CommitAndSend(true), 1);
    // Meanwhile someone else gave A another function in profile 2.
    sim->WithFirmware([](CSimFirmware& f) {
        const uint8_t b[] = {0x02, 0x02, 0x05};
        std::copy(std::begin(b), std::end(b), f.Matrices.begin() + 2 * 512 + 19 * 3);
    });

    SetActiveProfileCache(-1); // as after a reconnection
    LoadKeyboardProfile(UnsentChanges::Keep);
    EXPECT_TRUE(g_ConfigStore.Record(0, 0x1E).Is(K::Text));
    EXPECT_EQ(g_ConfigStore.KeyString(0x1E), text);
    EXPECT_TRUE(g_ConfigStore.Record(1, 0x1E).Is(K::Program));
    EXPECT_EQ(g_ConfigStore.KeyString(kRecordsPerBlock + 0x1E), program);
    // What the keyboard sends now wins.
    EXPECT_TRUE(g_ConfigStore.Record(2, 0x1E).Is(K::Key));
    EXPECT_EQ(g_ConfigStore.Record(2, 0x1E).value, 0x30);
    EXPECT_TRUE(g_ConfigStore.KeyString(2 * kRecordsPerBlock + 0x1E).empty());

    // The file carries them too, so the next connection keeps them again.
    CConfigStore file;
    ASSERT_EQ(LoadProfileFile(WorkingProfilePath(0), file), 1);
    EXPECT_EQ(file.KeyString(0x1E), text);
    SetActiveProfileCache(-1);
    LoadKeyboardProfile(UnsentChanges::Keep);
    EXPECT_EQ(g_ConfigStore.KeyString(kRecordsPerBlock + 0x1E), program);
}

TEST_F(BackupTest, GKeyAssignmentsSurviveAReconnection) {
    using K = KeyFunctionKind;
    constexpr int G1 = kGKeyFirstIndex;
    const std::u16string text = u"gg wp";
    // Ids that are not the macros' places, as an edited list has them.
    ASSERT_TRUE(
        g_ConfigStore.SetMacros({NamedMacro(u"Combo", 7, {0x1E}), NamedMacro(u"Clicks", 3, {0x171})}));
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, G1, K::Media, 4));
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, G1 + 2, K::Macro, 7, 2));
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(1, G1 + 1, K::Macro, 3, 5));
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(2, G1 + 9, K::Text, 0, 1, &text));
    CreateWorkingProfile(0);
    ASSERT_EQ(SaveWorkingProfile(0), 1);
    ASSERT_EQ(CommitAndSend(true), 1);

    SetActiveProfileCache(-1); // as after a reconnection
    LoadKeyboardProfile(UnsentChanges::Keep);
    EXPECT_TRUE(g_ConfigStore.Record(0, G1).Is(K::Media));
    EXPECT_EQ(g_ConfigStore.Record(0, G1).value, 4);
    // The keyboard numbers its macros by place: the records follow.
    EXPECT_TRUE(g_ConfigStore.Record(0, G1 + 2).Is(K::Macro));
    EXPECT_EQ(g_ConfigStore.Record(0, G1 + 2).value, 1);
    EXPECT_TRUE(g_ConfigStore.Record(1, G1 + 1).Is(K::Macro));
    EXPECT_EQ(g_ConfigStore.Record(1, G1 + 1).value, 2);
    EXPECT_EQ(g_ConfigStore.Record(1, G1 + 1).aux, 5);
    EXPECT_TRUE(g_ConfigStore.Record(2, G1 + 9).Is(K::Text));
    EXPECT_EQ(g_ConfigStore.KeyString(2 * kRecordsPerBlock + G1 + 9), text);

    // Elsewhere the keyboard got a list without "Clicks": its G key falls
    // back to its default, the others stay.
    ASSERT_TRUE(g_ConfigStore.SetMacros({g_ConfigStore.Macros().front()}));
    ASSERT_EQ(CommitAndSend(true), 1);
    SetActiveProfileCache(-1);
    LoadKeyboardProfile(UnsentChanges::Keep);
    EXPECT_TRUE(g_ConfigStore.Record(1, G1 + 1).Is(K::Default));
    EXPECT_EQ(g_ConfigStore.Record(0, G1 + 2).value, 1);
    EXPECT_TRUE(g_ConfigStore.Record(0, G1).Is(K::Media));
    EXPECT_EQ(g_ConfigStore.KeyString(2 * kRecordsPerBlock + G1 + 9), text);
}

TEST_F(BackupTest, ImportThatIsMalformedOrCannotBeSavedChangesNothing) {
    const std::string bad = files.File("bad.fwc");
    testing::WriteText(bad, std::string(40000, 'x'));
    const std::string good = files.File("good.fwc");
    ASSERT_EQ(SaveProfileFile(good), 1);
    CreateWorkingProfile(0);
    const std::string working = WorkingProfilePath(0);
    const std::string workingBefore = testing::ReadText(working);
    for (const bool malformed : {true, false}) {
        SCOPED_TRACE(malformed ? "malformed file" : "working profile file not writable");
        ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, 0x1E, KeyFunctionKind::Disabled, 0));
        host.pending = true;
        prompt.shown.clear();
        SetActiveProfileCache(-1);
        TakeRequests();
        SetAtomicWriteFailureForTests(!malformed);
        EXPECT_EQ(ImportProfile(malformed ? bad : good), 0);
        SetAtomicWriteFailureForTests(false);
        EXPECT_EQ(Commands(TakeRequests()), "03"); // only the active profile's lookup
        EXPECT_TRUE(host.pending);
        EXPECT_TRUE(g_ConfigStore.Record(0, 0x1E).Is(KeyFunctionKind::Disabled));
        EXPECT_EQ(testing::ReadText(working), workingBefore);
        ASSERT_EQ(prompt.shown.size(), 1u) << "one message that says why";
        const std::string& told = prompt.shown.back();
        if (malformed) {
            EXPECT_EQ(told, FormatTextString(Text("PROFILE_FORMAT_ERROR"), bad));
        } else {
            EXPECT_NE(told.find("could not be restored"), std::string::npos);
            EXPECT_NE(told.find(working), std::string::npos) << told;
            EXPECT_NE(told.find("Input/output error"), std::string::npos) << told;
        }
    }
}

} // namespace
} // namespace orvane::test
