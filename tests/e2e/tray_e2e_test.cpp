// The real program on a real X server (Xvfb) with a real tray host (trayer,
// an XEmbed tray) and a window manager, driven by real clicks and keys
// (xdotool): the tray icon follows the keyboard, its menu opens the window
// or says that no keyboard is there, the icon survives a restart of the tray
// host, Exit and Close end the program cleanly.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <QImage>
#include <sstream>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

#include "platform/IniFile.h"
#include "support/Programs.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace orvane::testing {
namespace {

bool OnPath(const char* program) {
    return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

// What a command prints, its errors left out.
std::string Output(const std::string& command) {
    return Shell(command).out;
}

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// An X display of its own with a window manager and a tray host; the test's
// own commands run on it.
class CTraySession {
  public:
    CTraySession() : x_(true, "1400x900x24") {
        if (!x_.Ok()) return;
        display_ = std::make_unique<CScopedEnv>("DISPLAY", x_.Display());
        // The tray host docks icons only once the window manager is up.
        StartTray();
    }
    ::testing::AssertionResult Ready() const {
        if (x_.Ok()) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << x_.Problem();
    }
    void StartTray() {
        tray_ = std::make_unique<CChild>(
            std::vector<std::string>{"trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel",
                                     "--width", "200", "--height", "32", "--SetDockType", "true"});
        // Its window is mapped a moment before it owns the tray selection;
        // an icon asked for in between docks when the tray announces itself,
        // as after a restart of the tray.
        WaitFor([] { return !Output("xdotool search --classname trayer").empty(); });
    }
    void StopTray() {
        tray_.reset();
        WaitFor([] { return Output("xdotool search --classname trayer").empty(); });
    }
    // The program's mapped windows.
    static std::vector<std::string> Windows(pid_t pid) {
        std::istringstream in(Output("xdotool search --onlyvisible --pid " + std::to_string(pid)));
        return {std::istream_iterator<std::string>(in), {}};
    }
    static Rect Geometry(const std::string& window) {
        Rect r;
        std::sscanf(Output("xdotool getwindowgeometry --shell " + window).c_str(),
                    "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &r.x, &r.y, &r.w, &r.h);
        return r;
    }
    static std::string Name(const std::string& window) {
        const std::string n = Output("xdotool getwindowname " + window);
        return n.substr(0, n.find('\n'));
    }
    static void Click(int x, int y, int button) {
        Output("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click " +
               std::to_string(button));
    }
    static void Keys(const std::string& keys) { Output("xdotool key --delay 60 " + keys); }

  private:
    CXSession x_;
    std::unique_ptr<CScopedEnv> display_;
    std::unique_ptr<CChild> tray_;
};

// Which of the three tray pictures is shown: the keys are grey without a
// keyboard, orange with one, and a green dot marks the keyboard's signal.
int ShownTrayIcon(const Rect& where, const std::string& shotFile, std::string* seen) {
    if (Output("scrot -o " + shotFile) != "" || !fs::exists(shotFile)) return 0;
    QImage shot(QString::fromStdString(shotFile));
    int orange = 0, green = 0;
    for (int y = where.y; y < where.y + where.h; ++y)
        for (int x = where.x; x < where.x + where.w; ++x) {
            if (!shot.valid(x, y)) continue;
            const QColor c = shot.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 90 && c.green() < 180 && c.blue() < 80) ++orange;
            if (c.green() > 140 && c.red() < 110 && c.blue() > 50 && c.blue() < 140) ++green;
        }
    *seen = "at " + std::to_string(where.x) + "," + std::to_string(where.y) + " " + std::to_string(where.w) +
            "x" + std::to_string(where.h) + ": " + std::to_string(orange) + " orange, " +
            std::to_string(green) + " green pixels";
    if (green > 2) return 142;
    return orange > 2 ? 141 : 128;
}

class TrayE2e : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "trayer", "xdotool", "scrot", "openbox"})
            if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed (scripts/install-deps installs it)";
        session_ = std::make_unique<CTraySession>();
        ASSERT_TRUE(session_->Ready());
    }
    std::unique_ptr<CChild> Start(std::vector<std::string> args) {
        args.insert(args.begin(), std::string(ORVANE_BIN_DIR) + "/orvane");
        return std::make_unique<CChild>(args);
    }
    // The tray icon's window: the program's one mapped window inside the tray.
    std::string TrayWindow(pid_t pid) {
        std::string found;
        WaitFor([&] {
            for (const std::string& w : CTraySession::Windows(pid)) {
                const Rect r = CTraySession::Geometry(w);
                if (r.y < 32 && r.x >= 1200 && r.w <= 64) {
                    found = w;
                    return true;
                }
            }
            return false;
        });
        return found;
    }
    ::testing::AssertionResult WaitForIcon(pid_t pid, int icon) {
        std::string seen = "no icon window";
        if (WaitFor([&] {
                const std::string w = TrayWindow(pid);
                return !w.empty() &&
                       ShownTrayIcon(CTraySession::Geometry(w), bin_.File("shot.png"), &seen) == icon;
            }))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "icon " << icon << " not seen; last " << seen;
    }
    std::string MainWindow(pid_t pid) {
        for (const std::string& w : CTraySession::Windows(pid))
            if (CTraySession::Name(w) == "Orvane Keyboard Settings") return w;
        return {};
    }
    // Right-clicks the icon and picks menu item `item` with the keys, as a
    // user would; returns the menu's window.
    std::string ChooseFromTrayMenu(pid_t pid, int item) {
        const Rect icon = CTraySession::Geometry(TrayWindow(pid));
        const std::vector<std::string> before = CTraySession::Windows(pid);
        CTraySession::Click(icon.x + icon.w / 2, icon.y + icon.h / 2, 3);
        std::string menu;
        WaitFor([&] {
            for (const std::string& w : CTraySession::Windows(pid))
                if (std::find(before.begin(), before.end(), w) == before.end()) menu = w;
            return !menu.empty();
        });
        if (menu.empty()) return menu;
        // The menu takes the keyboard a moment after it is mapped.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        std::string keys;
        for (int i = 0; i <= item; ++i)
            keys += "Down ";
        CTraySession::Keys(keys + "Return");
        return menu;
    }
    // Open from the tray menu without a keyboard: the message window, found
    // as the program's new window that is neither the icon nor the menu.
    // A menu that missed its keys is tried again.
    std::string OpenFromTrayExpectingMessage(pid_t pid, const std::string& icon) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            const std::string menu = ChooseFromTrayMenu(pid, 0);
            std::string message;
            WaitFor(
                [&] {
                    for (const std::string& w : CTraySession::Windows(pid))
                        if (w != icon && w != menu) message = w;
                    return !message.empty();
                },
                std::chrono::seconds(4));
            if (!message.empty()) return message;
            CTraySession::Keys("Escape");
        }
        return {};
    }
    bool Released(pid_t pid) {
        const std::string lock = home_.Runtime() + "/QT47R19B.lock";
        int fd = open(lock.c_str(), O_RDWR);
        const bool unlocked = fd < 0 || flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (fd >= 0) close(fd);
        return unlocked && !fs::exists(home_.Runtime() + "/orvane-" + std::to_string(pid) + ".sock");
    }

    CTempHome home_;
    CTempDir bin_;
    // The real X server and an XEmbed tray (no StatusNotifierItem bus).
    CScopedEnv platform_{"QT_QPA_PLATFORM", std::nullopt};
    CScopedEnv bus_{"DBUS_SESSION_BUS_ADDRESS", std::string("disabled:")};
    CScopedEnv desktop_{"XDG_CURRENT_DESKTOP", std::nullopt};
    std::unique_ptr<CTraySession> session_;
};

TEST_F(TrayE2e, WithoutAKeyboardTheTraySaysSoAndExitOrALogoutEndsTheProgram) {
    for (const bool logout : {false, true}) {
        SCOPED_TRACE(logout ? "a logout while the message is open" : "Exit after the message");
        auto run = Start({});
        const std::string icon = TrayWindow(run->Pid());
        ASSERT_FALSE(icon.empty()) << "no icon in the tray";
        EXPECT_TRUE(WaitForIcon(run->Pid(), 128));

        // Open: a message, no window.
        const size_t before = CTraySession::Windows(run->Pid()).size();
        const std::string message = OpenFromTrayExpectingMessage(run->Pid(), icon);
        ASSERT_FALSE(message.empty()) << "no message";
        EXPECT_TRUE(MainWindow(run->Pid()).empty());
        if (logout) {
            kill(run->Pid(), SIGTERM);
        } else {
            const Rect box = CTraySession::Geometry(message);
            CTraySession::Click(box.x + box.w / 2, box.y + box.h / 2, 1);
            CTraySession::Keys("Return");
            ASSERT_TRUE(WaitFor([&] { return CTraySession::Windows(run->Pid()).size() <= before; }));
            ChooseFromTrayMenu(run->Pid(), 2); // Exit
        }
        EXPECT_EQ(run->WaitForExit(), 0);
        EXPECT_TRUE(Released(run->Pid()));
    }
}

TEST_F(TrayE2e, TheIconFollowsTheKeyboardSurvivesTheTrayAndCloseEndsTheProgram) {
    auto run = Start({"--simulate", "--sim-consumer", "0x1811@3000", "--sim-consumer", "0x1810@8000"});
    ASSERT_TRUE(WaitFor([&] { return !MainWindow(run->Pid()).empty(); })) << "the window did not open";
    EXPECT_TRUE(WaitForIcon(run->Pid(), 141));
    EXPECT_TRUE(WaitForIcon(run->Pid(), 142));
    EXPECT_TRUE(WaitForIcon(run->Pid(), 141));

    session_->StopTray();
    session_->StartTray();
    EXPECT_TRUE(WaitForIcon(run->Pid(), 141)) << "the icon did not come back";

    // Close (1124): its place in the shipped skin, in the window.
    const Rect window = CTraySession::Geometry(MainWindow(run->Pid()));
    const std::string close = orvane::IniReadString(std::string(ORVANE_BIN_DIR) + "/Skins/Main.ini",
                                                    "BUTTONINFO", "CONTROL_CLOSE", "");
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(std::sscanf(close.c_str(), "%d,%d,%d,%d", &x, &y, &w, &h), 4);
    CTraySession::Click(window.x + x + w / 2, window.y + y + h / 2, 1);
    EXPECT_EQ(run->WaitForExit(), 0);
    EXPECT_TRUE(Released(run->Pid()));
}

} // namespace
} // namespace orvane::testing
