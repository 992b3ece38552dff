#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/InstanceLock.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "support/Programs.h"
#include "support/TempDir.h"

using namespace orvane;
using orvane::testing::CScopedEnv;
using orvane::testing::CTempDir;
using orvane::testing::ReadText;
using orvane::testing::WaitFor;

namespace {

TEST(Paths, FollowTheXdgVariablesAndIgnoreRelativeOnes) {
    CScopedEnv home("HOME", "/home/someone");
    {
        CScopedEnv data("XDG_DATA_HOME", "/x/data");
        CScopedEnv config("XDG_CONFIG_HOME", "relative/config");
        CScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/5");
        EXPECT_EQ(UserDataFolder(), "/x/data");
        EXPECT_EQ(UserConfigFolder(), "/home/someone/.config");
        EXPECT_EQ(InstanceLockPath(), "/run/user/5/QT47R19B.lock");
    }
    CScopedEnv data("XDG_DATA_HOME", std::nullopt);
    CScopedEnv runtime("XDG_RUNTIME_DIR", std::nullopt);
    EXPECT_EQ(UserDataFolder(), "/home/someone/.local/share");
    EXPECT_EQ(InstanceLockPath(), "/tmp/QT47R19B-" + std::to_string(getuid()) + ".lock");

    EXPECT_EQ(ProgramFolderOf("/opt/orvane/orvane"), "/opt/orvane/");
    EXPECT_EQ(FileNameOf("/opt/orvane/orvane"), "orvane");
    EXPECT_EQ(FileNameOf(ExecutablePath()), "platform_instance_and_processes_test");

    CTempDir dir;
    EXPECT_TRUE(MakeFolders(dir.File("a/b/c")));
    EXPECT_TRUE(FolderExists(dir.File("a/b/c")));
    EXPECT_FALSE(MakeFolders(dir.Path() + "/" + std::string(5000, 'x')));
}

TEST(InstanceMutex, OneOwnerAtATimeAndAKilledOwnerLeavesNoLock) {
    CTempDir dir;
    const std::string path = dir.File("QT47R19B.lock");

    CInstanceMutex first, second;
    EXPECT_EQ(first.OpenOrCreate(path), CInstanceMutex::Result::Created);
    EXPECT_EQ(second.OpenOrCreate(path), CInstanceMutex::Result::AlreadyExists);
    EXPECT_TRUE(second.HasHandle());
    EXPECT_FALSE(second.Owned());
    first.Close();
    EXPECT_EQ(second.OpenOrCreate(path), CInstanceMutex::Result::Created);
    second.Close();

    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    if (child == 0) {
        CInstanceMutex held;
        char ok = held.OpenOrCreate(path) == CInstanceMutex::Result::Created ? '1' : '0';
        (void)!write(ready[1], &ok, 1);
        pause();
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    EXPECT_EQ(ok, '1');
    EXPECT_EQ(first.OpenOrCreate(path), CInstanceMutex::Result::AlreadyExists);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(std::filesystem::exists(path)); // the file stays behind, the lock does not
    EXPECT_EQ(first.OpenOrCreate(path), CInstanceMutex::Result::Created);
    close(ready[0]);
    close(ready[1]);

    // A planted link in a shared folder is not followed.
    const std::string link = dir.File("planted.lock");
    std::filesystem::create_symlink(dir.File("victim"), link);
    CInstanceMutex planted;
    EXPECT_EQ(planted.OpenOrCreate(link), CInstanceMutex::Result::Failed);
    EXPECT_FALSE(planted.HasHandle());
    EXPECT_FALSE(std::filesystem::exists(dir.File("victim")));
}

TEST(Processes, FindsAnotherProcessByFileNameButNeverItselfOrAZombie) {
    CTempDir dir;
    const std::string probe = dir.File("OrvaneProbe" + std::to_string(getpid()));
    std::filesystem::copy_file("/bin/sleep", probe);
    std::filesystem::permissions(probe, std::filesystem::perms::owner_all);
    const std::string upper = "ORVANEPROBE" + std::to_string(getpid());

    EXPECT_EQ(FindOtherProcessByExeName(upper), 0);
    // ctest may run other cases of this same program beside this one, so only
    // "never itself" can be asserted for our own name.
    EXPECT_NE(FindOtherProcessByExeName(FileNameOf(ExecutablePath())), getpid());

    pid_t child = fork();
    if (child == 0) {
        execl(probe.c_str(), probe.c_str(), "30", static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_TRUE(WaitFor([&] { return FindOtherProcessByExeName(upper) == child; }));

    // Killed but not yet reaped, the old instance must not count as running.
    kill(child, SIGKILL);
    ASSERT_TRUE(WaitFor([&] {
        std::string stat = ReadText("/proc/" + std::to_string(child) + "/stat");
        return stat.find(") Z") != std::string::npos;
    }));
    EXPECT_EQ(FindOtherProcessByExeName(upper), 0);
    waitpid(child, nullptr, 0);
}

TEST(Processes, StartsProgramsDetachedWithQuietOutputAndIgnoresMissingOnes) {
    CTempDir dir;
    const std::string out = dir.File("out");
    EXPECT_FALSE(StartProgramDetached(dir.File("VuVareze")));
    EXPECT_FALSE(StartProgramDetached(""));

    ASSERT_TRUE(StartProgramDetached("/bin/sh",
                                     {"-c", "o=$(readlink /proc/$$/fd/1); s=$(cut -d' ' -f6 /proc/$$/stat); "
                                            "printf '%s\\n%s\\n' \"$o\" \"$s\" > " +
                                                out + ".tmp; mv " + out + ".tmp " + out}));
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(out); }));
    std::string text = ReadText(out);
    EXPECT_EQ(text.substr(0, text.find('\n')), "/dev/null");
    // A session of its own: closing our terminal or process group leaves it alone.
    std::string sid = text.substr(text.find('\n') + 1);
    EXPECT_NE(std::stol(sid), static_cast<long>(getsid(0)));
}

} // namespace
