#include "platform/IniFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

#include "platform/AtomicFile.h"
#include "support/TempDir.h"

using namespace orvane;
using orvane::testing::CTempDir;
using orvane::testing::ReadText;
using orvane::testing::WriteText;

namespace {

const char* kSample = "; shipped layout\n"
                      "[Screen]\n"
                      "  Width = 640  \n"
                      "Title=\"  quoted  \"\n"
                      "Empty=\n"
                      "Width=999\n"
                      "\n"
                      "[screen]\n"
                      "Height=12\n"
                      "[Other]\n"
                      "Value=-42abc\n"
                      "Word=abc\n"
                      "Big=99999999999\n"
                      "Name=\xC3\xA9t\xC3\xA9\n";

// A private folder and a file name in it.
class IniFile : public ::testing::Test {
  protected:
    CTempDir dir;
    const std::string path = dir.File("a.ini");
};

TEST_F(IniFile, ReadsByCaseInsensitiveNamesAndFallsBackToDefaults) {
    WriteText(path, kSample);

    EXPECT_EQ(IniReadString(path, "SCREEN", "width", "x"), "640");
    EXPECT_EQ(IniReadString(path, "Screen", "Title", "x"), "  quoted  ");
    EXPECT_EQ(IniReadString(path, "Screen", "Empty", "x"), "");
    // Only the first section of a name is searched, as the platform does.
    EXPECT_EQ(IniReadString(path, "Screen", "Height", "none"), "none");
    EXPECT_EQ(IniReadString(path, "Screen", "; shipped layout", "none"), "none");
    EXPECT_EQ(IniReadString(path, "Missing", "Width", "dflt"), "dflt");
    EXPECT_EQ(IniReadString(dir.File("nofile.ini"), "Screen", "Width", "dflt"), "dflt");

    EXPECT_EQ(IniReadInt(path, "Screen", "Width", 7), 640);
    EXPECT_EQ(IniReadInt(path, "Other", "Value", 7), -42);
    EXPECT_EQ(IniReadInt(path, "Other", "Word", 7), 7);
    EXPECT_EQ(IniReadInt(path, "Other", "Big", 7), INT_MAX);
    EXPECT_EQ(IniReadInt(path, "Other", "Nothing", 7), 7);
    EXPECT_EQ(IniReadInt(path, "Screen", "Empty", 7), 7);
}

TEST_F(IniFile, CutsValuesToTheCallersBufferWithoutSplittingCharacters) {
    WriteText(path, kSample);
    EXPECT_EQ(IniReadString(path, "Screen", "Width", "", 3), "64");
    EXPECT_EQ(IniReadString(path, "Screen", "Width", "", 1), "");
    EXPECT_EQ(IniReadString(path, "Screen", "Width", "", 0), "");
    EXPECT_EQ(IniReadString(path, "Other", "Name", "", 3), "\xC3\xA9t");
    EXPECT_EQ(IniReadString(path, "Missing", "Key", "default", 4), "def");
}

TEST_F(IniFile, ReadsWindowsLineEndingsAndByteOrderMark) {
    WriteText(path, "\xEF\xBB\xBF[Main]\r\nKey=value\r\nNum=5\r\n");
    EXPECT_EQ(IniReadString(path, "main", "key", ""), "value");
    EXPECT_EQ(IniReadInt(path, "Main", "Num", 0), 5);

    ASSERT_TRUE(IniWriteString(path, "Main", "Added", "1"));
    EXPECT_EQ(ReadText(path), "\xEF\xBB\xBF[Main]\r\nKey=value\r\nNum=5\r\nAdded=1\r\n");
}

TEST_F(IniFile, WriteKeepsEveryOtherLineAndComment) {
    WriteText(path, "; keep me\n[A]\nx=1\n; inside\nY = 2\n\n[B]\nz=3\n");

    ASSERT_TRUE(IniWriteString(path, "a", "y", "20"));
    ASSERT_TRUE(IniWriteString(path, "A", "new", "n"));
    ASSERT_TRUE(IniWriteString(path, "C", "k", "v"));
    EXPECT_EQ(ReadText(path), "; keep me\n[A]\nx=1\n; inside\nY=20\nnew=n\n\n[B]\nz=3\n[C]\nk=v\n");

    ASSERT_TRUE(IniDeleteKey(path, "A", "X"));
    ASSERT_TRUE(IniDeleteKey(path, "A", "absent"));
    EXPECT_EQ(IniReadString(path, "A", "x", "gone"), "gone");
    EXPECT_EQ(IniReadString(path, "B", "z", ""), "3");

    std::string fresh = dir.File("fresh.ini");
    ASSERT_TRUE(IniWriteString(fresh, "S", "k", "v"));
    EXPECT_EQ(ReadText(fresh), "[S]\nk=v\n");
}

TEST_F(IniFile, RefusesWritesThatWouldCorruptOrLoseTheFile) {
    const std::string original = "[A]\nx=1\n";
    WriteText(path, original);

    // A line break would smuggle extra keys into the file.
    EXPECT_FALSE(IniWriteString(path, "A", "x", "1\n[Evil]\ny=2"));
    EXPECT_FALSE(IniWriteString(path, "A", "k=v", "1"));
    EXPECT_FALSE(IniWriteString(path, "A", "  ", "1"));
    EXPECT_FALSE(IniWriteString(path, "A]", "k", "1"));
    EXPECT_EQ(ReadText(path), original);

    // Interrupted just before the rename: the old file stays and no temporary is left.
    SetAtomicWriteFailureForTests(true);
    EXPECT_FALSE(IniWriteString(path, "A", "x", "2"));
    EXPECT_EQ(ReadText(path), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    // Something that cannot be read is never replaced by a file holding only the new key.
    std::filesystem::create_directory(dir.File("folder.ini"));
    EXPECT_FALSE(IniWriteString(dir.File("folder.ini"), "A", "x", "1"));
    EXPECT_EQ(IniReadString(dir.File("folder.ini"), "A", "x", "d"), "d");

    EXPECT_FALSE(IniWriteString(dir.File("no/such/folder.ini"), "A", "x", "1"));

    // A pipe under the name is neither waited on nor replaced.
    ASSERT_EQ(mkfifo(dir.File("pipe.ini").c_str(), 0644), 0);
    EXPECT_EQ(IniReadString(dir.File("pipe.ini"), "A", "x", "d"), "d");
    EXPECT_FALSE(IniWriteString(dir.File("pipe.ini"), "A", "x", "1"));

    std::string tooLong = dir.Path() + "/" + std::string(5000, 'a') + ".ini";
    EXPECT_FALSE(IniWriteString(tooLong, "A", "x", "1"));
    EXPECT_EQ(IniReadString(tooLong, "A", "x", "d"), "d");
}

TEST_F(IniFile, WritesGoThroughSymbolicLinksWhichStayLinks) {
    namespace fs = std::filesystem;
    fs::create_directories(dir.File("dotfiles/orvane"));
    fs::create_directories(dir.File("home"));
    WriteText(dir.File("dotfiles/orvane/a.ini"), "[A]\nx=1\n");
    // A relative link to a link in another folder, as dotfile managers make them.
    fs::create_symlink("orvane/a.ini", dir.File("dotfiles/current.ini"));
    fs::create_symlink("../dotfiles/current.ini", dir.File("home/a.ini"));
    const std::string link = dir.File("home/a.ini");

    ASSERT_TRUE(IniWriteString(link, "A", "y", "2"));
    const std::pair<std::string, std::string> both[] = {{"x", "3"}, {"z", "4"}};
    ASSERT_TRUE(IniWriteStrings(link, "A", both));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_symlink(dir.File("dotfiles/current.ini")));
    EXPECT_EQ(ReadText(dir.File("dotfiles/orvane/a.ini")), "[A]\nx=3\ny=2\nz=4\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("home")), {}), 1);

    // A link to a file not made yet creates that file.
    fs::create_symlink(dir.File("dotfiles/new.ini"), dir.File("home/new.ini"));
    ASSERT_TRUE(IniWriteString(dir.File("home/new.ini"), "B", "k", "v"));
    EXPECT_TRUE(fs::is_symlink(dir.File("home/new.ini")));
    EXPECT_EQ(ReadText(dir.File("dotfiles/new.ini")), "[B]\nk=v\n");

    // A loop of links is refused, not followed for ever.
    fs::create_symlink(dir.File("home/loop2.ini"), dir.File("home/loop1.ini"));
    fs::create_symlink(dir.File("home/loop1.ini"), dir.File("home/loop2.ini"));
    EXPECT_FALSE(WriteFileAtomically(dir.File("home/loop1.ini"), "x"));
    EXPECT_TRUE(fs::is_symlink(dir.File("home/loop1.ini")));
}

TEST_F(IniFile, WritersOnSeveralThreadsDoNotLoseEachOthersKeys) {
    auto writer = [&](const std::string& key) {
        for (int i = 0; i < 50; ++i)
            IniWriteString(path, "S", key + std::to_string(i), std::to_string(i));
    };
    std::thread a(writer, "a"), b(writer, "b");
    a.join();
    b.join();
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(IniReadInt(path, "S", "a" + std::to_string(i), -1), i);
        EXPECT_EQ(IniReadInt(path, "S", "b" + std::to_string(i), -1), i);
    }
}

} // namespace
