#include "platform/IniCache.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "platform/IniFile.h"
#include "support/TempDir.h"

using namespace orvane;
using orvane::testing::CTempDir;
using orvane::testing::WriteText;

namespace {

// Rewrites the file in place (same inode) and puts its modification time
// back, as a tool that preserves times would.
void RewriteKeepingTimes(const std::string& path, const std::string& text) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) WriteText(path, "");
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(fd);
    const timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// Lets every file count as settled while it lives.
class CSettleAtOnce {
  public:
    CSettleAtOnce() { SetIniSettleTimeForTests(0); }
    ~CSettleAtOnce() { SetIniSettleTimeForTests(-1); }
};

TEST(IniCache, UnchangedFileIsParsedOnceAndEveryChangeOnDiskIsSeen) {
    CTempDir dir;
    const std::string path = dir.File("lang.ini");
    WriteText(path, "[TEXT]\nA=one\n");
    // Longer than one tick of the file clock, so the next write moves the
    // change time.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    CSettleAtOnce settled;
    auto first = CachedIniIndex(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(first.get(), CachedIniIndex(path).get());

    // Same size, same modification time, same inode: only the change time
    // tells, and it must be enough.
    RewriteKeepingTimes(path, "[TEXT]\nA=two\n");
    EXPECT_EQ(IniReadString(path, "TEXT", "A", "-"), "two");

    // Replaced by another file under the name.
    WriteText(dir.File("new.ini"), "[TEXT]\nA=three\n");
    std::filesystem::rename(dir.File("new.ini"), path);
    EXPECT_EQ(IniReadString(path, "TEXT", "A", "-"), "three");

    // Our own write is seen by the next read.
    ASSERT_TRUE(IniWriteString(path, "TEXT", "A", "four"));
    EXPECT_EQ(IniReadString(path, "TEXT", "A", "-"), "four");

    // Gone: defaults, and nothing stale is kept.
    std::filesystem::remove(path);
    EXPECT_EQ(IniReadString(path, "TEXT", "A", "-"), "-");
    EXPECT_FALSE(CachedIniIndex(path));
}

// Two same-size writes inside one tick of the file clock leave the same
// stamp; a file changed a moment ago is therefore read anew every time.
TEST(IniCache, FileChangedAMomentAgoIsNotTrusted) {
    CTempDir dir;
    const std::string path = dir.File("user.ini");
    for (int i = 0; i < 20; ++i) {
        const std::string value = std::to_string(i % 10);
        RewriteKeepingTimes(path, "[S]\nK=" + value + "\n");
        EXPECT_EQ(IniReadString(path, "S", "K", "-"), value);
    }
    EXPECT_NE(CachedIniIndex(path).get(), CachedIniIndex(path).get());
}

TEST(IniCache, IndexKeepsTheReadersRulesForNamesAndDuplicates) {
    CIniIndex index(
        "B=outside\n[Text]\nKey = \"x\"\nkey=second\n;Hidden=1\n[TEXT]\nOther=late\n[More]\nB=more\n");
    EXPECT_EQ(index.Value("text", "KEY").value_or("-"), "x");
    EXPECT_FALSE(index.Value("TEXT", "Other")); // a second section of a name does not count
    EXPECT_FALSE(index.Value("TEXT", ";Hidden"));
    EXPECT_EQ(index.Value("more", "b").value_or("-"), "more");
}

TEST(IniCache, KeepsABoundedNumberOfFiles) {
    CTempDir dir;
    CSettleAtOnce settled;
    for (int i = 0; i < 100; ++i) {
        const std::string path = dir.File("f" + std::to_string(i) + ".ini");
        WriteText(path, "[S]\nK=" + std::to_string(i) + "\n");
        EXPECT_EQ(IniReadInt(path, "S", "K", -1), i);
    }
    EXPECT_LE(IniCacheSize(), 32u);
}

} // namespace
