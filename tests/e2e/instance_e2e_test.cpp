// Two and more real copies of the program in a home of their own: the
// single-instance protocol, "/Kill" and "/Start", and a killed copy's leftovers.
#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

#include "support/Programs.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace orvane::testing {
namespace {

constexpr const char* kInitLine = "4d4e 494e4954 0\n";
constexpr const char* kOpenLine = "5350 4f50454e 0\n";

// A program folder of its own: links to everything shipped beside the built
// program, the program itself under a name no other test or user runs, and a
// companion that notes each start.
class CProgramFolder {
  public:
    explicit CProgramFolder(const std::string& name) {
        for (const auto& entry : fs::directory_iterator(ORVANE_BIN_DIR))
            if (entry.path().filename() != "orvane")
                fs::create_symlink(entry.path(), dir_.File(entry.path().filename().string()));
        exe_ = AddCopy(name);
        const std::string companion = dir_.File("VuVareze");
        WriteText(companion, "#!/bin/sh\necho started >> \"" + dir_.File("companion.log") + "\"\n");
        fs::permissions(companion, fs::perms::owner_all);
    }
    std::string AddCopy(const std::string& name) const {
        std::string path = dir_.File(name + "-" + std::to_string(getpid()));
        fs::copy_file(std::string(ORVANE_BIN_DIR) + "/orvane", path);
        return path;
    }
    const std::string& Exe() const { return exe_; }
    std::string TraceFile(const std::string& run) const { return dir_.File(run + ".trace"); }
    int CompanionStarts() const {
        std::string log = ReadText(dir_.File("companion.log"));
        return static_cast<int>(std::count(log.begin(), log.end(), '\n'));
    }
    // The companion runs on its own time: wait until it has noted `n` starts.
    int WaitForCompanionStarts(int n) const {
        WaitFor([&] { return CompanionStarts() >= n; });
        return CompanionStarts();
    }

  private:
    CTempDir dir_;
    std::string exe_;
};

// A copy of the program on the offscreen platform, tracing the messages it
// handles to `traceFile`.
class CRun : public CChild {
  public:
    CRun(const std::string& exe, std::vector<std::string> args, const std::string& traceFile)
        : CChild(WithProgram(exe, std::move(args)),
                 {"ORVANE_TRACE_MESSAGES=" + traceFile, "QT_QPA_PLATFORM=offscreen"}),
          trace_(traceFile) {}
    bool WaitUntilInitialised() {
        return WaitFor([&] { return Running() && Trace().find(kInitLine) != std::string::npos; });
    }
    std::string Trace() const { return ReadText(trace_); }

  private:
    static std::vector<std::string> WithProgram(const std::string& exe, std::vector<std::string> args) {
        args.insert(args.begin(), exe);
        return args;
    }
    std::string trace_;
};

class InstanceE2e : public ::testing::Test {
  protected:
    // "/Kill", spelt `kill`, from `exe` (the folder's program unless told)
    // ends `running`; the killer itself never builds a window.
    void KillAndWait(CRun& running, const std::string& kill = "/Kill", const std::string& exe = {}) {
        CRun killer(exe.empty() ? folder_.Exe() : exe, {kill}, folder_.TraceFile("killer"));
        EXPECT_EQ(killer.WaitForExit(), 0);
        EXPECT_EQ(running.WaitForExit(), 0);
        EXPECT_FALSE(fs::exists(folder_.TraceFile("killer")));
    }

    CTempHome home_;
    CProgramFolder folder_{"orvane-e2e"};
};

TEST_F(InstanceE2e, SecondStartOpensTheRunningWindowThenKillEndsIt) {
    CRun first(folder_.Exe(), {"--simulate"}, folder_.TraceFile("first"));
    ASSERT_TRUE(first.WaitUntilInitialised());
    EXPECT_EQ(folder_.WaitForCompanionStarts(1), 1);

    CRun second(folder_.Exe(), {}, folder_.TraceFile("second"));
    EXPECT_EQ(second.WaitForExit(), 0);
    ASSERT_TRUE(WaitFor([&] { return first.Trace().find(kOpenLine) != std::string::npos; }));
    EXPECT_FALSE(fs::exists(folder_.TraceFile("second"))); // it never built a window
    EXPECT_TRUE(first.Running());

    // Success is only reported once the running copy is ending: its main
    // thread has ended, its last threads may take a moment more.
    KillAndWait(first, "/kill");
    EXPECT_EQ(folder_.CompanionStarts(), 1); // neither the second start nor the killer started it
    EXPECT_FALSE(fs::exists(home_.Runtime() + "/orvane-" + std::to_string(first.Pid()) + ".sock"));
}

TEST_F(InstanceE2e, KillWithNothingRunningStartsNormally) {
    // A copy of another session (its own runtime folder) is not ours to
    // close or to open.
    orvane::testing::CTempDir otherRuntime;
    std::optional<CRun> foreign;
    {
        CScopedEnv runtime("XDG_RUNTIME_DIR", otherRuntime.Path());
        foreign.emplace(folder_.Exe(), std::vector<std::string>{}, folder_.TraceFile("foreign"));
        ASSERT_TRUE(foreign->WaitUntilInitialised());
    }
    CRun run(folder_.Exe(), {"/Kill"}, folder_.TraceFile("run"));
    ASSERT_TRUE(run.WaitUntilInitialised());
    EXPECT_EQ(folder_.WaitForCompanionStarts(2), 2); // each session starts its own
    KillAndWait(run, "/KILL");
    EXPECT_TRUE(foreign->Running());
}

TEST_F(InstanceE2e, AnotherSpellingOfTheSameRuntimeFolderIsTheSameSession) {
    CRun running(folder_.Exe(), {}, folder_.TraceFile("running"));
    ASSERT_TRUE(running.WaitUntilInitialised());
    CScopedEnv runtime("XDG_RUNTIME_DIR", home_.Runtime() + "/");
    KillAndWait(running);
}

TEST_F(InstanceE2e, StartAndKillInEitherOrderCloseTheRunningCopy) {
    for (const std::vector<std::string>& switches :
         {std::vector<std::string>{"/Start", "/Kill"}, std::vector<std::string>{"/Kill", "/Start"}}) {
        SCOPED_TRACE(switches[0] + " " + switches[1]);
        fs::remove(folder_.TraceFile("running"));
        CRun running(folder_.Exe(), {"/Start"}, folder_.TraceFile("running"));
        ASSERT_TRUE(running.WaitUntilInitialised());
        EXPECT_EQ(running.Trace().find(kOpenLine), std::string::npos); // "/Start" stays in the tray

        CRun both(folder_.Exe(), switches, folder_.TraceFile("both"));
        EXPECT_EQ(both.WaitForExit(), 0);
        EXPECT_EQ(running.WaitForExit(), 0);
        EXPECT_FALSE(fs::exists(folder_.TraceFile("both")));
    }
}

TEST_F(InstanceE2e, KilledCopyLeavesNothingThatBlocksTheNextStart) {
    CRun crashed(folder_.Exe(), {}, folder_.TraceFile("crashed"));
    ASSERT_TRUE(crashed.WaitUntilInitialised());
    crashed.Kill();
    EXPECT_TRUE(fs::exists(home_.Runtime() + "/QT47R19B.lock"));
    EXPECT_TRUE(fs::exists(home_.Runtime() + "/orvane-" + std::to_string(crashed.Pid()) + ".sock"));

    CRun next(folder_.Exe(), {}, folder_.TraceFile("next"));
    ASSERT_TRUE(next.WaitUntilInitialised());
    EXPECT_EQ(folder_.WaitForCompanionStarts(2), 2);
    KillAndWait(next);
}

TEST_F(InstanceE2e, KillReportsFailureWhileTheRunningCopyDoesNotClose) {
    CRun running(folder_.Exe(), {}, folder_.TraceFile("running"));
    ASSERT_TRUE(running.WaitUntilInitialised());
    kill(running.Pid(), SIGSTOP); // hung: it neither answers nor ends
    CRun killer(folder_.Exe(), {"/Kill"}, folder_.TraceFile("killer"));
    EXPECT_EQ(killer.WaitForExit(), 1);
    EXPECT_FALSE(fs::exists(folder_.TraceFile("killer")));
    EXPECT_TRUE(running.Running());

    // Going on, it may still read the request the killer left behind and
    // close; a termination signal ends it otherwise. Either way it ends well.
    kill(running.Pid(), SIGCONT);
    int status = running.WaitForExit(std::chrono::seconds(10));
    if (status == -1 && running.Running()) {
        kill(running.Pid(), SIGTERM);
        status = running.WaitForExit();
    }
    EXPECT_EQ(status, 0);
}

TEST_F(InstanceE2e, StateFileOfTheOtherModelIsRefusedAndKept) {
    const std::string state = home_.Dir().File("s.bin");
    ASSERT_EQ(Orvanectl("--simulate=126 --sim-state " + state + " write-lighting 5 0a").code, 0);
    const std::string saved = ReadText(state);
    ASSERT_FALSE(saved.empty());

    // A program that took it would run on (and save over it when closed).
    const auto r = Shell("QT_QPA_PLATFORM=offscreen timeout 20 " + folder_.Exe() +
                         " --simulate=128 --sim-state " + state);
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find(state + " is not a state of the simulated 128-key keyboard"), std::string::npos)
        << r.err;
    EXPECT_EQ(ReadText(state), saved);
}

// Without --sim-state the simulated keyboard keeps its memory in the state
// folder, as a real keyboard would; --sim-reset starts from the factory state.
TEST_F(InstanceE2e, SimulatedKeyboardRemembersAcrossRunsUnlessReset) {
    const std::string state = home_.State() + "/orvane/simulated-128.state";
    const std::string ctl = "--simulate --sim-state " + state;
    auto runOnce = [&](std::vector<std::string> args, const std::string& name) {
        args.insert(args.begin(), "--simulate");
        CRun run(folder_.Exe(), args, folder_.TraceFile(name));
        ASSERT_TRUE(run.WaitUntilInitialised());
        kill(run.Pid(), SIGTERM);
        ASSERT_EQ(run.WaitForExit(), 0);
    };
    auto profile = [&] {
        const auto r = Orvanectl(ctl + " get-profile");
        EXPECT_EQ(r.code, 0) << r.err;
        return r.out;
    };

    runOnce({}, "first");
    ASSERT_TRUE(fs::exists(state)) << "the first run kept no memory";
    ASSERT_EQ(Orvanectl(ctl + " set-profile 2").code, 0);
    const std::string changed = profile();

    runOnce({}, "second");
    EXPECT_EQ(profile(), changed) << "the second run did not start from the first run's memory";

    runOnce({"--sim-reset"}, "reset");
    EXPECT_NE(profile(), changed) << "--sim-reset kept the old memory";
}

TEST_F(InstanceE2e, TerminationSignalsCloseTheProgramCleanly) {
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        CRun run(folder_.Exe(), {}, folder_.TraceFile("run" + std::to_string(signal)));
        ASSERT_TRUE(run.WaitUntilInitialised());
        kill(run.Pid(), signal);
        EXPECT_EQ(run.WaitForExit(), 0);
        EXPECT_FALSE(fs::exists(home_.Runtime() + "/orvane-" + std::to_string(run.Pid()) + ".sock"));
    }
}

TEST_F(InstanceE2e, CopyUnderAnotherNameRunsBesideTheFirst) {
    CRun first(folder_.Exe(), {}, folder_.TraceFile("first"));
    ASSERT_TRUE(first.WaitUntilInitialised());
    const std::string renamed = folder_.AddCopy("renamed");
    CRun beside(renamed, {}, folder_.TraceFile("beside"));
    ASSERT_TRUE(beside.WaitUntilInitialised());
    EXPECT_EQ(folder_.WaitForCompanionStarts(2), 2);
    EXPECT_EQ(first.Trace().find(kOpenLine), std::string::npos);

    KillAndWait(first);
    KillAndWait(beside, "/Kill", renamed);
}

} // namespace
} // namespace orvane::testing
