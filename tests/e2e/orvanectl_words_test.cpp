// orvanectl as a person meets it: failure lines that say why, help for every
// command, the manual pages and the bash completion.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "support/Programs.h"
#include "support/TempDir.h"

namespace orvane::testing {
namespace {

using Result = ShellResult;

// The command names of the usage listing, as scripts read them.
std::vector<std::string> ListedCommands() {
    std::vector<std::string> names;
    bool inCommands = false;
    for (const std::string& l : Lines(Orvanectl("").err)) {
        if (l == "commands:")
            inCommands = true;
        else if (inCommands && l.rfind("  ", 0) == 0)
            names.push_back(l.substr(2, l.find(' ', 2) - 2));
    }
    return names;
}

TEST(OrvanectlWords, FailureLinesKeepTheirCodeAndSayWhy) {
    CTempDir dir;
    const std::string missing = dir.File("missing.fwc");
    Result r = Orvanectl("validate " + missing);
    EXPECT_EQ(r.out, "invalid 0: cannot open " + missing + ": No such file or directory\n");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(Orvanectl("validate " + dir.Path()).out, "invalid 254: not a regular file\n");
    WriteText(dir.File("short.fwc"), std::string(100, '\0'));
    EXPECT_EQ(Orvanectl("validate " + dir.File("short.fwc")).out,
              "invalid 0: only 100 bytes, shorter than any profile file (32832)\n");
    // apply checks the file the same way and says so before touching the keyboard.
    r = Orvanectl("--simulate --trace " + dir.File("t") + " apply " + missing);
    EXPECT_EQ(r.out, "invalid 0: cannot open " + missing + ": No such file or directory\n");
    EXPECT_EQ(ReadText(dir.File("t")), "");
    if (geteuid() != 0) { // root opens anything
        WriteText(dir.File("locked.fwc"), "x");
        chmod(dir.File("locked.fwc").c_str(), 0);
        EXPECT_EQ(Orvanectl("validate " + dir.File("locked.fwc")).out,
                  "invalid 254: cannot open " + dir.File("locked.fwc") + ": Permission denied\n");
    }

    // Device failures: the status code, then the words.
    r = Orvanectl("--simulate --sim-fault noreply:1- info");
    EXPECT_EQ(r.out, "status 0: the keyboard did not reply, or is not connected\n");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(Orvanectl("--simulate --sim-fault failwrite:1 begin").out,
              "status -1: the request could not be sent to the keyboard\n");
    EXPECT_EQ(Orvanectl("--simulate --sim-fault status:1:fe end").out,
              "status -103: the keyboard refused the request (status fe)\n");
    EXPECT_EQ(Orvanectl("--simulate begin").out, "status 1\n"); // success stays as it was
}

TEST(OrvanectlWords, UnreadableDataFilesAreRefusedNotCrashedOn) {
    CTempDir dir;
    for (const std::string command : {"write-macros", "write-matrix 0"}) {
        SCOPED_TRACE(command);
        Result r = Orvanectl("--simulate " + command + " @" + dir.Path());
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find("cannot read " + dir.Path() + ": not a regular file"), std::string::npos)
            << r.err;
        r = Orvanectl("--simulate " + command + " @" + dir.File("none"));
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find("cannot open " + dir.File("none") + ": No such file or directory"),
                  std::string::npos)
            << r.err;
    }
    Result r = Orvanectl("decode-macros @" + dir.Path());
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << r.err;
}

TEST(OrvanectlWords, MalformedCommandLinesSayWhatIsWrongBeforeTheListing) {
    const std::pair<std::string, std::string> cases[] = {
        {"--simulate=127 info", "the simulated keyboard has 126 or 128 keys, not 127"},
        {"--trace t.txt info", "add --simulate"},
        {"--simulate --sim-fault noreply info", "not a fault: noreply"},
        {"--simulate --sim-consumer 0x1811@soon info", "not USAGE[@MS]: 0x1811@soon"},
        {"--verbose info", "no option --verbose"},
        {"--simulate info + inf", "no command \"inf\""},
        {"--simulate info +", "a \"+\" with no command after it"},
    };
    for (const auto& [args, words] : cases) {
        SCOPED_TRACE(args);
        const Result r = Orvanectl(args);
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("orvanectl: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(words), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("\nusage: orvanectl"), std::string::npos) << r.err;
    }
}

TEST(OrvanectlWords, StateFileOfTheOtherModelIsNeverOverwritten) {
    CTempDir dir;
    const std::string state = dir.File("s.bin");
    ASSERT_EQ(Orvanectl("--simulate=126 --sim-state " + state + " write-lighting 5 0a").code, 0);
    const std::string saved = ReadText(state);
    ASSERT_FALSE(saved.empty());
    const Result other = Orvanectl("--simulate=128 --sim-state " + state + " write-lighting 5 0b");
    EXPECT_EQ(other.code, 2);
    EXPECT_NE(other.err.find("not a state of the simulated 128-key keyboard"), std::string::npos)
        << other.err;
    EXPECT_EQ(ReadText(state), saved);
    EXPECT_EQ(Orvanectl("--simulate=126 --sim-state " + state + " read-lighting 5 1").out,
              "data: 0a\nstatus 1\n");

    // A state that cannot be kept is a failure, not a silent loss.
    const Result lost = Orvanectl("--simulate --sim-state " + dir.File("no/such/folder/s.bin") + " begin");
    EXPECT_EQ(lost.code, 1);
    EXPECT_NE(lost.err.find("cannot write the simulated keyboard's state"), std::string::npos) << lost.err;
}

TEST(OrvanectlWords, NoKeyboardPointsAtTheUdevRule) {
    CTempDir run; // no running program owns the keyboard here
    CScopedEnv runtime("XDG_RUNTIME_DIR", run.Path());
    for (const std::string command : {"info", "devices"}) {
        const Result r = Orvanectl(command);
        if (r.code == 0) GTEST_SKIP() << "a keyboard is connected";
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find("no keyboard found"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("udev rule"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("README"), std::string::npos) << r.err;
    }
}

TEST(OrvanectlWords, HelpDescribesEveryCommandOfTheListing) {
    const Result bare = Orvanectl("");
    EXPECT_EQ(bare.code, 2);
    EXPECT_EQ(bare.err.rfind("usage: orvanectl [--simulate[=126|128]]", 0), 0u) << bare.err;
    const std::vector<std::string> names = ListedCommands();
    ASSERT_GT(names.size(), 20u);

    const Result help = Orvanectl("help");
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(Orvanectl("--help").out, help.out);
    const std::vector<std::string> lines = Lines(help.out);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        // In the full help: the command line, then its description indented.
        auto at = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
            return l == "  " + name || l.rfind("  " + name + " ", 0) == 0;
        });
        ASSERT_NE(at, lines.end());
        ASSERT_NE(at + 1, lines.end());
        EXPECT_EQ(at[1].rfind("      ", 0), 0u);
        EXPECT_GT(at[1].size(), 20u);
        // Alone: its usage, then at least one line of words, none too wide.
        const Result one = Orvanectl("help " + name);
        EXPECT_EQ(one.code, 0);
        const std::vector<std::string> own = Lines(one.out);
        ASSERT_GE(own.size(), 2u);
        EXPECT_EQ(own[0].rfind("usage: orvanectl " + name, 0), 0u);
        for (size_t i = 1; i < own.size(); ++i)
            EXPECT_LE(own[i].size(), 80u) << own[i];
    }
    const Result unknown = Orvanectl("help no-such-command");
    EXPECT_EQ(unknown.code, 2);
    EXPECT_NE(unknown.err.find("no-such-command"), std::string::npos);
}

TEST(OrvanectlWords, ManualPagesRenderCleanlyAndNameEveryCommandAndOption) {
    const std::string man = std::string(ORVANE_SOURCE_DIR) + "/assets/man/";
    for (const char* page : {"orvane.1", "orvanectl.1"}) {
        SCOPED_TRACE(page);
        const Result r = Shell("groff -man -ww -z " + man + page);
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.err, ""); // every macro known, no warnings
    }
    // Rendered as text, hyphens and all, the pages can be searched by name.
    const std::string ctlPage = Shell("groff -man -Tutf8 -P-cbou " + man + "orvanectl.1").out;
    for (const std::string& name : ListedCommands())
        EXPECT_NE(ctlPage.find("\n       " + name), std::string::npos) << name;
    const std::string page = Shell("groff -man -Tascii -P-cbou " + man + "orvane.1").out;
    for (const char* option : {"/Start", "/Kill", "--simulate", "--trace", "--sim-fault", "--sim-pace",
                               "--sim-state", "--sim-consumer", "--help"})
        EXPECT_NE(page.find(option), std::string::npos) << option;
}

// Asks the completion script what it offers after `line` (the last word
// being completed), as bash does on Tab.
std::set<std::string> Complete(const std::string& line) {
    const std::string script = "source '" + std::string(ORVANE_SOURCE_DIR) +
                               "/assets/completion/orvane'\n"
                               "PATH='" ORVANE_BIN_DIR "':$PATH\n"
                               "COMP_WORDS=(" +
                               line +
                               ")\n"
                               "COMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n"
                               "$(complete -p ${COMP_WORDS[0]##*/} | sed 's/.*-F \\([^ ]*\\).*/\\1/')\n"
                               "printf '%s\\n' \"${COMPREPLY[@]}\"\n";
    CTempDir dir;
    WriteText(dir.File("c.sh"), script);
    std::set<std::string> words;
    for (const std::string& w : Lines(Shell("bash " + dir.File("c.sh")).out))
        if (!w.empty()) words.insert(w);
    return words;
}

TEST(OrvanectlWords, CompletionOffersCommandsOptionsAndFiles) {
    using Words = std::set<std::string>;
    EXPECT_EQ(Complete("orvanectl val"), Words{"validate"});
    EXPECT_EQ(Complete("orvanectl --simulate --trace t.txt rea"),
              (Words{"read-lighting", "read-matrix", "read-default-matrix", "read-macros"}));
    EXPECT_EQ(Complete("orvanectl --simulate info + get-p"), Words{"get-profile"});
    EXPECT_EQ(Complete("orvanectl help set-"), (Words{"set-profile", "set-lighting"}));
    EXPECT_EQ(Complete("orvanectl --sim-p"), Words{"--sim-pace"});
    // "--option=value" reaches the script as three words.
    EXPECT_EQ(Complete("orvanectl --simulate = 126 --trace = t.txt dump-"), Words{"dump-profile"});
    EXPECT_EQ(Complete("orvanectl set-lighting br"), Words{"brightness"});
    EXPECT_EQ(Complete("orvanectl info ''"), Words{});
    // Every command of the listing can be completed.
    EXPECT_EQ(Complete("orvanectl ''").size(), ListedCommands().size());

    CTempDir dir;
    WriteText(dir.File("saved.fwc"), "");
    EXPECT_EQ(Complete("orvanectl validate " + dir.File("sa")), Words{dir.File("saved.fwc")});
    EXPECT_EQ(Complete("orvanectl decode-macros @" + dir.File("sa")), Words{"@" + dir.File("saved.fwc")});

    EXPECT_EQ(Complete("orvane /"), (Words{"/Start", "/Kill"}));
    EXPECT_EQ(Complete("orvane --simulate = ''"), (Words{"126", "128"}));
    EXPECT_EQ(Complete("orvane --sim-state " + dir.File("sa")), Words{dir.File("saved.fwc")});
}

} // namespace
} // namespace orvane::testing
