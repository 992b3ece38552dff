// orvanectl's profile commands run as a program against the simulated
// keyboard, whose state file carries the keyboard from one run to the next.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "model/ConfigStore.h"
#include "model/ProfileFile.h"
#include "platform/ByteOrder.h"
#include "platform/InstanceLock.h"
#include "sim/SimFirmware.h"
#include "support/Programs.h"

namespace orvane {
namespace {

// orvanectl run with `args`; what it says on standard error is part of its output.
testing::ShellResult Ctl(const std::string& args) {
    return testing::Shell(std::string(ORVANE_BIN_DIR) + "/orvanectl " + args + " 2>&1");
}

// A configuration with keys of several kinds in every profile and two
// named macros, as a profile file.
void WriteConfiguration(const std::string& path) {
    CConfigStore store;
    CreateBlankProfile(nullptr, 0, store);
    MacroList macros(2);
    for (uint16_t i = 0; i < 2; ++i) {
        SetMacroName(macros[i], i ? u"Second" : u"First");
        macros[i].id = i + 1;
        macros[i].repeat = 1;
        AddMacroAction(macros[i], {40, static_cast<uint16_t>(0x10 + i), kActionPress});
        AddMacroAction(macros[i], {60, static_cast<uint16_t>(0x10 + i), kActionRelease});
    }
    ASSERT_TRUE(store.SetMacros(macros));
    for (int p = 0; p < 3; ++p) {
        ASSERT_TRUE(store.StoreKeyFunction(p, 0x1E, KeyFunctionKind::Key, 0x2C + p));
        ASSERT_TRUE(store.StoreKeyFunction(p, 0x10, KeyFunctionKind::Macro, 2 - (p % 2), 1));
        ASSERT_TRUE(store.StoreKeyFunction(p, 0x11, KeyFunctionKind::Media, p));
    }
    ASSERT_EQ(SaveProfileFile(path, store), 1);
}

CSimFirmware LoadKeyboard(const std::string& state, int model) {
    CSimFirmware f(model);
    EXPECT_TRUE(f.LoadState(state));
    return f;
}

std::vector<uint8_t> MacroBlock(const CSimFirmware& f) {
    const size_t size = GetLE16(f.MacroMemory.data() + 2);
    return {f.MacroMemory.begin(), f.MacroMemory.begin() + static_cast<ptrdiff_t>(size)};
}

class OrvanectlTransferTest : public ::testing::Test {
  protected:
    testing::CTempHome home;
    std::string File(const std::string& name) const { return home.Dir().File(name); }
};

TEST_F(OrvanectlTransferTest, BackupThenApplyReproducesTheKeyboardOnBothModels) {
    for (int model : {126, 128}) {
        SCOPED_TRACE(model);
        const std::string m = std::to_string(model);
        const std::string sim = "--simulate=" + m + " --sim-state ";
        WriteConfiguration(File("config.fwc"));
        testing::ShellResult r = Ctl(sim + File("kb1-" + m) + " apply " + File("config.fwc") +
                                     " + set-profile 1 + get-profile + backup " + File("a.fwc"));
        ASSERT_EQ(r.code, 0) << r.out;
        EXPECT_NE(r.out.find("active_profile: 1\n"), std::string::npos) << r.out;
        r = Ctl(sim + File("kb2-" + m) + " apply " + File("a.fwc"));
        ASSERT_EQ(r.code, 0) << r.out;

        const CSimFirmware first = LoadKeyboard(File("kb1-" + m), model);
        const CSimFirmware second = LoadKeyboard(File("kb2-" + m), model);
        EXPECT_NE(first.Matrices, CSimFirmware(model).Matrices);
        EXPECT_EQ(second.Matrices, first.Matrices);
        EXPECT_GT(MacroBlock(first).size(), 16u);
        EXPECT_EQ(MacroBlock(second), MacroBlock(first));
    }
}

// Command byte of each request in a wire trace, in order.
std::vector<int> TracedCommands(const std::string& trace) {
    std::vector<int> commands;
    size_t at = 0;
    while ((at = trace.find("> ", at)) != std::string::npos) {
        // "> 04 ll hh cc ...": the command is the fourth byte.
        commands.push_back(std::stoi(trace.substr(at + 2 + 3 * 3, 2), nullptr, 16));
        at += 2;
    }
    return commands;
}

TEST_F(OrvanectlTransferTest, ApplyFailsWhenAnyReportOfItsSequenceIsRefused) {
    WriteConfiguration(File("config.fwc"));
    testing::ShellResult r = Ctl("--simulate --trace " + File("trace") + " apply " + File("config.fwc"));
    ASSERT_EQ(r.code, 0) << r.out;
    const std::vector<int> commands = TracedCommands(testing::ReadText(File("trace")));
    // The connection reads come first; the apply's own sequence runs from
    // its begin to its end.
    const auto begin = std::find(commands.begin(), commands.end(), 0x01);
    ASSERT_NE(begin, commands.end());
    ASSERT_EQ(commands.back(), 0x02);
    const size_t first = static_cast<size_t>(begin - commands.begin()) + 1;
    ASSERT_GT(commands.size() - first, 30u); // the macros and three matrices at least

    for (size_t n = first; n <= commands.size(); ++n) {
        r = Ctl("--simulate --sim-fault status:" + std::to_string(n) + ":FF apply " + File("config.fwc"));
        EXPECT_NE(r.code, 0) << "request " << n << ": " << r.out;
        EXPECT_EQ(r.out.find("status 1\n"), std::string::npos) << "request " << n << ": " << r.out;
    }
}

TEST_F(OrvanectlTransferTest, SetProfileFailsWhenTheKeyboardDoesNotSwitch) {
    testing::ShellResult r = Ctl("--simulate --trace " + File("trace") + " set-profile 1");
    ASSERT_EQ(r.code, 0) << r.out;
    // Its own read and write of the device information come last.
    const size_t count = TracedCommands(testing::ReadText(File("trace"))).size();
    ASSERT_GE(count, 2u);
    for (size_t n : {count - 1, count})
        for (const char* kind : {"status:%zu:FF", "noreply:%zu-", "failwrite:%zu"}) {
            char fault[32];
            std::snprintf(fault, sizeof fault, kind, n);
            const std::string state = File(std::string("kb-") + fault);
            r = Ctl("--simulate --sim-state '" + state + "' --sim-fault " + fault + " set-profile 2");
            EXPECT_NE(r.code, 0) << fault << ": " << r.out;
            EXPECT_NE(r.out.find("did not switch"), std::string::npos) << fault << ": " << r.out;
            r = Ctl("--simulate --sim-state '" + state + "' get-profile");
            EXPECT_NE(r.out.find("active_profile: 0\n"), std::string::npos) << fault << ": " << r.out;
        }
}

TEST_F(OrvanectlTransferTest, ApplyAfterAFailedDefaultMatrixReadSendsTheKeyboardsOwnDefaults) {
    // The default matrix read at connection is refused; the apply reads it
    // again, so every key the file leaves alone keeps the factory code.
    CConfigStore store;
    CreateBlankProfile(nullptr, 0, store);
    ASSERT_TRUE(store.StoreKeyFunction(0, 0x1E, KeyFunctionKind::Disabled, 0));
    ASSERT_EQ(SaveProfileFile(File("one.fwc"), store), 1);
    const testing::ShellResult r =
        Ctl("--simulate=128 --sim-fault status:1:ff --sim-state " + File("kb") + " apply " + File("one.fwc"));
    ASSERT_EQ(r.code, 0) << r.out;
    const CSimFirmware f = LoadKeyboard(File("kb"), 128);
    for (int p = 0; p < 3; ++p) {
        std::vector<uint8_t> want = f.FactoryMatrix;
        if (p == 0) std::fill_n(want.begin() + 19 * 3, 3, 0); // A, disabled
        EXPECT_TRUE(std::equal(want.begin(), want.end(), f.Matrices.begin() + p * 512)) << "profile " << p;
    }
}

TEST_F(OrvanectlTransferTest, InvalidFileIsRefusedBeforeAnythingIsSent) {
    testing::WriteText(File("bad.fwc"), std::string(100, 'x'));
    const testing::ShellResult r = Ctl("--simulate --trace " + File("trace") + " apply " + File("bad.fwc"));
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("invalid 0"), std::string::npos) << r.out;
    EXPECT_EQ(testing::ReadText(File("trace")).find('>'), std::string::npos);
}

TEST_F(OrvanectlTransferTest, LightingIsWrittenAsThePanelWritesItAndReadBack) {
    const std::string sim = "--simulate --sim-state " + File("kb");
    testing::ShellResult r =
        Ctl(sim + " set-lighting colour 123456 --profile 1 + set-lighting brightness 3 --profile 1");
    ASSERT_EQ(r.code, 0) << r.out;
    r = Ctl(sim + " lighting --profile 1");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("profile: 1\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("colour: 123456\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("colourful: 0\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("brightness: 3\n"), std::string::npos) << r.out;

    EXPECT_EQ(Ctl(sim + " set-lighting speed 6").code, 2);
    EXPECT_EQ(Ctl(sim + " set-lighting direction 7").code, 2);
    EXPECT_EQ(Ctl(sim + " restore-defaults").code, 2);
    r = Ctl(sim + " restore-defaults --yes + lighting");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("mode: 1\nbrightness: 4\nspeed: 2\n"), std::string::npos) << r.out;
}

// A lighting change the keyboard does not take, and a lighting read that
// fails, end orvanectl with 1, as the same operation fails in the program.
TEST_F(OrvanectlTransferTest, RefusedLightingWritesAndFailedReadsExitWithOne) {
    const std::string sim = "--simulate --sim-state " + File("kb");
    const std::string trace = " --trace " + File("trace");
    ASSERT_EQ(Ctl(sim + trace + " set-lighting brightness 1").code, 0);
    // set-lighting ends with its begin, its write and its end.
    const std::vector<int> set = TracedCommands(testing::ReadText(File("trace")));
    ASSERT_EQ(std::vector<int>(set.end() - 3, set.end()), (std::vector<int>{0x01, 0x06, 0x02}));
    const size_t write = set.size() - 1;
    ASSERT_EQ(Ctl(sim + trace + " lighting").code, 0);
    // lighting ends with device info, begin, three records and end.
    const size_t record = TracedCommands(testing::ReadText(File("trace"))).size() - 3;

    const auto n = [](size_t at) { return std::to_string(at); };
    const auto fails = [&](const std::string& run) {
        SCOPED_TRACE(run);
        const testing::ShellResult r = Ctl(sim + " " + run);
        EXPECT_EQ(r.code, 1) << r.out;
        EXPECT_EQ(r.out.find("status 1\n"), std::string::npos) << r.out;
    };
    fails("--sim-fault failwrite:" + n(write - 1) + " set-lighting brightness 2");
    fails("--sim-fault status:" + n(write) + ":FF set-lighting brightness 2");
    fails("--sim-fault noreply:" + n(write) + "-" + n(write + 3) + " set-lighting brightness 2");
    const testing::ShellResult r = Ctl(sim + " lighting");
    EXPECT_NE(r.out.find("brightness: 1\n"), std::string::npos) << "a refused write was taken\n" << r.out;
    // Taken, but its session not closed.
    fails("--sim-fault status:" + n(write + 1) + ":FE set-lighting brightness 2");
    fails("--sim-fault status:" + n(record) + ":FE lighting");
}

TEST_F(OrvanectlTransferTest, RealKeyboardIsLeftAloneWhileTheProgramRuns) {
    CInstanceMutex program;
    ASSERT_EQ(program.OpenOrCreate(InstanceLockPath()), CInstanceMutex::Result::Created);
    testing::ShellResult r = Ctl("get-profile");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("(orvane) is running"), std::string::npos) << r.out;
    // The simulated keyboard belongs to orvanectl alone.
    r = Ctl("--simulate get-profile");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("active_profile: 0"), std::string::npos);

    program.Close();
    r = Ctl("get-profile");
    EXPECT_EQ(r.out.find("is running"), std::string::npos) << r.out;
}

} // namespace
} // namespace orvane
