// The tree `cmake --install` makes, used as an installed program is: the
// links in bin run, the shipped files sit beside the program, the installed
// program shows its skinned window on a real X server with its title from
// the language file and a help button that opens the help page beside it,
// the desktop entries are valid and the autostart entry starts the program
// in the tray. Nothing lands outside the prefix (or DESTDIR).
#include <gtest/gtest.h>

#include <QImageReader>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "support/Programs.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace orvane::testing {
namespace {

constexpr const char* kInitLine = "4d4e 494e4954 0\n";
constexpr const char* kOpenLine = "5350 4f50454e 0\n";
constexpr const char* kProfileLine = "5452 50524f46 0\n";

std::string BuildDir() {
    return fs::path(ORVANE_BIN_DIR).parent_path().string();
}

class InstalledTree : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto r = Shell("cmake --install '" + BuildDir() + "' --prefix '" + prefix_.Path() + "'");
        ASSERT_EQ(r.code, 0) << r.out << r.err;
    }
    std::string At(const std::string& relative) const { return prefix_.File(relative); }
    std::string Program() const { return At("lib/orvane/"); }

    CTempDir prefix_;
    CTempHome home_;
};

TEST_F(InstalledTree, LinksRunAndShippedFilesSitBesideTheProgram) {
    for (const char* name : {"orvane", "orvanectl"}) {
        SCOPED_TRACE(name);
        const fs::path link = At(std::string("bin/") + name);
        ASSERT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(fs::canonical(link), fs::canonical(Program() + name));
    }
    const auto usage = Shell("QT_QPA_PLATFORM=offscreen " + At("bin/orvane") + " --help");
    EXPECT_EQ(usage.code, 0) << usage.err;
    EXPECT_EQ(usage.out.rfind("usage: orvane ", 0), 0u) << usage.out;
    const auto ctl = Shell(At("bin/orvanectl") + " --simulate info");
    EXPECT_EQ(ctl.code, 0) << ctl.err;
    EXPECT_NE(ctl.out.find("\nstatus 1\n"), std::string::npos) << ctl.out;

    // Everything the build puts beside the program for it to find.
    int shipped = 0;
    for (const auto& entry : fs::recursive_directory_iterator(ORVANE_BIN_DIR)) {
        const fs::path relative = fs::relative(entry.path(), ORVANE_BIN_DIR);
        const std::string top = relative.begin()->string();
        if (!entry.is_regular_file() || (top != "Skins" && top != "Help" && relative.extension() != ".ini"))
            continue;
        SCOPED_TRACE(relative.string());
        ASSERT_TRUE(fs::is_regular_file(Program() + relative.string()));
        EXPECT_EQ(fs::file_size(Program() + relative.string()), entry.file_size());
        ++shipped;
    }
    EXPECT_GT(shipped, 10);
    EXPECT_TRUE(fs::is_regular_file(Program() + "Lang0409.ini"));
    EXPECT_TRUE(fs::is_regular_file(Program() + "Skins/Main.ini"));

    for (const char* file :
         {"share/man/man1/orvane.1", "share/man/man1/orvanectl.1", "share/bash-completion/completions/orvane",
          "share/bash-completion/completions/orvanectl", "lib/udev/rules.d/70-orvane.rules",
          "share/applications/orvane.desktop", "etc/xdg/autostart/orvane.desktop"})
        EXPECT_TRUE(fs::is_regular_file(At(file))) << file;
}

TEST_F(InstalledTree, DesktopEntriesAreValidAndAutostartStartsInTheTray) {
    const std::string menu = At("share/applications/orvane.desktop");
    const std::string autostart = At("etc/xdg/autostart/orvane.desktop");
    const auto valid = Shell("desktop-file-validate '" + menu + "' '" + autostart + "'");
    EXPECT_EQ(valid.code, 0) << valid.out << valid.err;
    EXPECT_EQ(valid.out + valid.err, "");

    std::string exec;
    std::istringstream lines(ReadText(autostart));
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("Exec=", 0) == 0) exec = line.substr(5);
    ASSERT_EQ(exec, "orvane /Start");

    // Run as the session would, found on the PATH, with a keyboard present:
    // it initialises but does not show the window.
    const std::string trace = prefix_.File("autostart.trace");
    std::vector<std::string> argv{"env", "PATH=" + At("bin") + ":" + getenv("PATH"),
                                  "QT_QPA_PLATFORM=offscreen", "ORVANE_TRACE_MESSAGES=" + trace};
    std::istringstream words(exec);
    for (std::string w; words >> w;)
        argv.push_back(w);
    argv.push_back("--simulate");
    CChild started(argv);
    // An open would be asked for as soon as the connection has reached the
    // window; the end asked for after that is handled after it, so the trace
    // of the ended program shows whether one came.
    ASSERT_TRUE(WaitFor([&] {
        const std::string t = ReadText(trace);
        return t.find(kInitLine) != std::string::npos && t.find(kProfileLine) != std::string::npos;
    })) << ReadText(trace);
    // Not "/Kill": it looks for any process of the user named orvane, and on a
    // shared machine that may be another test's copy.
    kill(started.Pid(), SIGTERM);
    EXPECT_EQ(started.WaitForExit(), 0);
    EXPECT_EQ(ReadText(trace).find(kOpenLine), std::string::npos) << ReadText(trace);
}

TEST_F(InstalledTree, InstalledProgramShowsItsSkinnedWindow) {
    const orvane::testing::CXSession x(false, "1600x1000x24");
    if (x.Display().empty()) GTEST_SKIP() << x.Problem();
    // Help opens through the desktop's handler, here a stand-in for xdg-open
    // that notes what it was asked to open.
    CTempDir bin;
    WriteText(bin.File("xdg-open"), "#!/bin/sh\necho \"$@\" >> \"" + bin.File("opened.log") + "\"\n");
    fs::permissions(bin.File("xdg-open"), fs::perms::owner_all);
    CChild program({"env", "-u", "XDG_CURRENT_DESKTOP",
                    "DBUS_SESSION_BUS_ADDRESS=disabled:", "PATH=" + bin.Path() + ":" + getenv("PATH"),
                    "DISPLAY=" + x.Display(), "QT_QPA_PLATFORM=xcb", At("bin/orvane"), "--simulate"});
    std::string window;
    ASSERT_TRUE(WaitFor([&] {
        window = Shell("DISPLAY=" + x.Display() + " xdotool search --onlyvisible --pid " +
                       std::to_string(program.Pid()) + " 2>/dev/null")
                     .out;
        return !window.empty() || !program.Running();
    }));
    ASSERT_FALSE(!program.Running());
    window = window.substr(0, window.find('\n'));
    const std::string info = Shell("DISPLAY=" + x.Display() + " xwininfo -id " + window).out;
    // The window takes the size of the skin's background picture: it found Skins/.
    const QSize size = QImageReader(QString::fromStdString(Program() + "Skins/main_bg.jpg")).size();
    ASSERT_GT(size.width(), 0);
    EXPECT_NE(info.find("Width: " + std::to_string(size.width()) + "\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: " + std::to_string(size.height()) + "\n"), std::string::npos) << info;

    // Its title comes from the language file.
    const std::string title = IniReadString(Program() + "Lang0409.ini", "TEXT", "MAIN_CAPTION", "");
    ASSERT_FALSE(title.empty());
    EXPECT_EQ(Shell("DISPLAY=" + x.Display() + " xdotool getwindowname " + window).out, title + "\n");

    // Its help button opens the help page beside the installed program.
    int bx = 0, by = 0, bw = 0, bh = 0;
    ASSERT_EQ(
        std::sscanf(IniReadString(Program() + "Skins/Main.ini", "BUTTONINFO", "CONTROL_HELP", "").c_str(),
                    "%d,%d,%d,%d", &bx, &by, &bw, &bh),
        4);
    Shell("DISPLAY=" + x.Display() + " xdotool mousemove --window " + window + " " +
          std::to_string(bx + bw / 2) + " " + std::to_string(by + bh / 2) + " click 1");
    ASSERT_TRUE(WaitFor([&] { return fs::exists(bin.File("opened.log")); }));
    EXPECT_NE(ReadText(bin.File("opened.log")).find(Program() + "Help/index.html"), std::string::npos)
        << ReadText(bin.File("opened.log"));
    EXPECT_TRUE(fs::is_regular_file(Program() + "Help/index.html"));
}

TEST(InstalledTreeDestDir, SystemPrefixUnderDestDirStaysInsideIt) {
    // As a package build installs: prefix /usr/local, everything under DESTDIR,
    // and the autostart entry where sessions read it, /etc/xdg/autostart.
    CTempDir dest;
    const auto r =
        Shell("DESTDIR='" + dest.Path() + "' cmake --install '" + BuildDir() + "' --prefix /usr/local");
    ASSERT_EQ(r.code, 0) << r.out << r.err;
    std::istringstream lines(r.out);
    int installed = 0;
    for (std::string line; std::getline(lines, line);) {
        const std::string tag = "-- Installing: ";
        if (line.rfind(tag, 0) != 0) continue;
        EXPECT_EQ(line.rfind(tag + dest.Path() + "/", 0), 0u) << line;
        ++installed;
    }
    EXPECT_GT(installed, 10);
    EXPECT_TRUE(fs::is_regular_file(dest.File("etc/xdg/autostart/orvane.desktop")));
    EXPECT_TRUE(fs::is_symlink(dest.File("usr/local/bin/orvane")));
    EXPECT_TRUE(fs::is_regular_file(dest.File("usr/local/share/man/man1/orvane.1")));
}

} // namespace
} // namespace orvane::testing
