// orvanectl's device commands as a script sees them: output lines, exit
// codes and the wire trace of the simulated keyboard.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/Programs.h"

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

class OrvanectlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fs::exists(ctl)) GTEST_SKIP() << "orvanectl is not built";
    }

    // Runs orvanectl with `args` in the test's folder; returns the exit code, stdout in `out`.
    int Run(const std::string& args, std::string* out = nullptr) {
        const testing::ShellResult r = testing::Shell("cd " + dir.Path() + " && " + ctl + " " + args);
        if (out) *out = r.out;
        return r.code;
    }
    std::vector<std::string> Lines(const std::string& file) {
        return testing::Lines(testing::ReadText(dir.File(file)));
    }

    const std::string ctl = std::string(ORVANE_BIN_DIR) + "/orvanectl";
    testing::CTempDir dir;
};

TEST_F(OrvanectlTest, RawPrintsTheReplyAndTracesTheSealedRequest) {
    std::string out;
    ASSERT_EQ(Run("--simulate --trace t.txt raw 03 2c", &out), 0);
    EXPECT_NE(out.find("\nstatus 1\n"), std::string::npos) << out;
    EXPECT_EQ(out.rfind("04 2f 00 03 2c 00 00 00 ", 0), 0u) << out;
    auto trace = Lines("t.txt");
    ASSERT_EQ(trace.size(), 2u);
    std::string sealed = "> 04 2f 00 03 2c";
    for (int i = 5; i < 64; ++i)
        sealed += " 00";
    EXPECT_EQ(trace[0], sealed);
    EXPECT_EQ(trace[1].substr(0, 2), "< ");

    ASSERT_EQ(Run("--simulate --trace f.txt --sim-fault failwrite:1 raw 03 2c", &out), 1);
    EXPECT_NE(out.find("status -1"), std::string::npos);
    ASSERT_EQ(Lines("f.txt").size(), 1u);
    EXPECT_EQ(Lines("f.txt")[0].substr(0, 2), "! ");

    ASSERT_EQ(Run("--simulate --trace n.txt --sim-fault noreply:1-4 raw 03", &out), 1);
    EXPECT_NE(out.find("status 0"), std::string::npos);
    EXPECT_EQ(Lines("n.txt").size(), 4u);
}

TEST_F(OrvanectlTest, MatrixWritesAndProfileChecks) {
    std::ofstream(dir.File("m.bin"), std::ios::binary) << std::string(378, '\x02');
    ASSERT_EQ(Run("--simulate=126 --trace t.txt write-matrix 2 @m.bin"), 0);
    std::vector<std::string> offsets;
    for (const auto& l : Lines("t.txt"))
        if (l[0] == '>') offsets.push_back(l.substr(17, 5)); // bytes 5-6
    EXPECT_EQ(offsets,
              (std::vector<std::string>{"f4 02", "2c 03", "64 03", "9c 03", "d4 03", "0c 04", "44 04"}));

    std::string out;
    EXPECT_EQ(Run("--simulate --trace r.txt read-matrix 3", &out), 1);
    EXPECT_EQ(out, "status -201: no such profile: the keyboard has profiles 0 to 2\n");
    EXPECT_TRUE(Lines("r.txt").empty());

    // A matrix of the wrong length never reaches the keyboard.
    EXPECT_EQ(Run("--simulate=126 --trace w.txt write-matrix 0 @m.bin"), 0);
    std::ofstream(dir.File("long.bin"), std::ios::binary) << std::string(379, '\x02');
    EXPECT_EQ(Run("--simulate=126 --trace l.txt write-matrix 0 @long.bin"), 2);
    EXPECT_TRUE(Lines("l.txt").empty());
}

TEST_F(OrvanectlTest, CommandsChainAndPrintTheirFixedFormats) {
    std::string out;
    ASSERT_EQ(Run("--simulate info + begin + write-lighting 0 07 + end + read-lighting 0 2", &out), 0);
    std::istringstream s(out);
    std::vector<std::string> lines;
    for (std::string l; std::getline(s, l);)
        lines.push_back(l);
    ASSERT_EQ(lines.size(), 10u) << out;
    EXPECT_EQ(lines[0], "active_profile: 0");
    EXPECT_EQ(lines[1], "macro_capacity: 6144");
    EXPECT_EQ(lines[2], "modes: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 20");
    EXPECT_EQ(lines[3].substr(0, 8), "raw: 01 ");
    EXPECT_EQ(lines[8], "data: 07 04");
    EXPECT_EQ(lines[9], "status 1");

    // A failing command in the chain makes the run fail but the rest still runs.
    EXPECT_EQ(Run("--simulate read-matrix 5 + info", &out), 1);
    EXPECT_NE(out.find("active_profile"), std::string::npos);
}

TEST_F(OrvanectlTest, StateFilePersistsTheKeyboardBetweenRuns) {
    ASSERT_EQ(Run("--simulate --sim-state s.bin write-lighting 5 0a0b0c"), 0);
    std::string out;
    ASSERT_EQ(Run("--simulate --sim-state s.bin read-lighting 5 3", &out), 0);
    EXPECT_EQ(out, "data: 0a 0b 0c\nstatus 1\n");
}

TEST_F(OrvanectlTest, DevicesAndWatchFindTheKeyboardAsTheMonitorDoes) {
    std::string out;
    ASSERT_EQ(Run("--simulate=126 devices", &out), 0);
    EXPECT_EQ(out, "sim:hidraw1#vid_0c45&pid_5004&col02 0c45 5004 126\n");
    ASSERT_EQ(Run("--simulate watch 1", &out), 0);
    EXPECT_EQ(out, "connected sim:hidraw1#vid_320f&pid_5000&col02\n");
    ASSERT_EQ(Run("--simulate --sim-consumer 0x0401@300 --sim-consumer 0@400 watch 1", &out), 0);
    EXPECT_EQ(out, "connected sim:hidraw1#vid_320f&pid_5000&col02\nconsumer 0x0401\n");
}

TEST_F(OrvanectlTest, MalformedArgumentsAreUsageErrors) {
    for (const char* args :
         {"--simulate raw zz", "--simulate raw 0", "--simulate read-lighting 0 57",
          "--simulate write-lighting 0x10000 01", "--simulate write-lighting 0 0g",
          "--simulate read-matrix -1", "--simulate write-key-colours 126 00",
          "--simulate write-key-colours 0 00 --profile 3", "--simulate --sim-fault bogus:1 info",
          "--trace t.txt info", "--simulate=127 info", "--simulate nosuchcommand", "--simulate info +",
          "--simulate write-macros @missing.bin", "--simulate watch x", "--simulate devices 1",
          "--sim-consumer 0x0401 watch 1", "--simulate --sim-consumer 0x10000 watch 1"})
        EXPECT_EQ(Run(args), 2) << args;
    // Usage errors come before anything is sent.
    EXPECT_EQ(Run("--simulate --trace u.txt read-lighting 0 99"), 2);
    EXPECT_TRUE(Lines("u.txt").empty());
}

} // namespace
} // namespace orvane::test
