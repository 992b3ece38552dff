#pragma once
// Programs a test runs: started with an environment of their own, waited for
// by what they do (never for a fixed time), ended and reaped with the test;
// and a private X server with a window manager for programs with windows.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/TempDir.h"

namespace orvane::testing {

// Polls `condition` until it holds. The limit only keeps a broken program
// from hanging the test: false when it passes first.
template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

struct ShellResult {
    int code = -1; // -1 when ended by a signal
    std::string out, err;
};

// Runs a shell command line to its end; standard output and error kept apart.
inline ShellResult Shell(const std::string& command) {
    CTempDir dir;
    const std::string out = dir.File("out"), err = dir.File("err");
    const int status = std::system(("(" + command + ") >'" + out + "' 2>'" + err + "'").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(out), ReadText(err)};
}

// The lines of a text, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// This build's orvanectl with `args`, run to its end.
inline ShellResult Orvanectl(const std::string& args) {
    return Shell(std::string(ORVANE_BIN_DIR) + "/orvanectl " + args);
}

// A program started with `env` ("NAME=value") added to the environment and
// its output appended to `log`; `keepFd` stays open in it (Xvfb's
// -displayfd). Ended (TERM, then KILL) and reaped when it goes out of scope.
class CChild {
  public:
    explicit CChild(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
                    const std::string& log = "/dev/null", int keepFd = -1) {
        pid_ = fork();
        if (pid_ != 0) return;
        for (const std::string& e : env)
            putenv(const_cast<char*>(e.c_str()));
        const int quiet = open("/dev/null", O_RDWR);
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        dup2(quiet, 0);
        dup2(out >= 0 ? out : quiet, 1);
        dup2(out >= 0 ? out : quiet, 2);
        if (keepFd >= 0) fcntl(keepFd, F_SETFD, 0);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    ~CChild() { Stop(); }
    CChild(const CChild&) = delete;
    CChild& operator=(const CChild&) = delete;

    pid_t Pid() const { return pid_; }
    bool Running() {
        if (pid_ > 0 && !exited_ && waitpid(pid_, &status_, WNOHANG) == pid_) exited_ = true;
        return pid_ > 0 && !exited_;
    }
    // The exit code; -1 when it has not ended within `limit` or a signal ended it.
    int WaitForExit(std::chrono::milliseconds limit = std::chrono::seconds(30)) {
        if (!WaitFor([&] { return !Running(); }, limit)) return -1;
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    }
    void Stop() {
        if (!Running()) return;
        kill(pid_, SIGTERM);
        if (!WaitFor([&] { return !Running(); }, std::chrono::seconds(2))) Kill();
    }
    void Kill() {
        if (!Running()) return;
        kill(pid_, SIGKILL);
        while (waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
        }
        exited_ = true;
    }

  private:
    pid_t pid_ = -1;
    bool exited_ = false;
    int status_ = 0;
};

// Runs `argv` to its end; its exit code.
inline int RunToEnd(const std::vector<std::string>& argv, const std::vector<std::string>& env = {}) {
    CChild child(argv, env);
    return child.WaitForExit(std::chrono::minutes(2));
}

// Xvfb on the display it picks itself (so parallel runs never share one),
// with openbox unless told otherwise.
class CXSession {
  public:
    explicit CXSession(bool windowManager = true, const std::string& screen = "1600x1200x24") {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        server_ =
            std::make_unique<CChild>(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]),
                                                              "-screen", "0", screen, "-nolisten", "tcp"},
                                     std::vector<std::string>{}, "/dev/null", fds[1]);
        close(fds[1]);
        // The server writes its display number once it accepts clients.
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        while (poll(&p, 1, 10000) > 0) {
            char c;
            if (read(fds[0], &c, 1) != 1 || c == '\n') break;
            number += c;
        }
        close(fds[0]);
        if (number.empty()) return;
        display_ = ":" + number;
        wmReady_ = !windowManager;
        // Up once it has named itself on the root window. On a loaded machine
        // openbox now and then dies or stalls at start: two more chances.
        for (int attempt = 0; attempt < 3 && !wmReady_; ++attempt) {
            wm_.reset();
            wm_ = std::make_unique<CChild>(std::vector<std::string>{"openbox", "--sm-disable"},
                                           std::vector<std::string>{DisplayEnv()}, wmLog_);
            wmReady_ = WaitFor(
                           [&] {
                               return !wm_->Running() ||
                                      RunToEnd({"sh", "-c",
                                                "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"},
                                               {DisplayEnv()}) == 0;
                           },
                           std::chrono::seconds(20)) &&
                       wm_->Running();
        }
    }
    CXSession(const CXSession&) = delete;
    CXSession& operator=(const CXSession&) = delete;

    bool Ok() const { return !display_.empty() && wmReady_; }
    // Why the session is not Ok(): what a failing test prints.
    std::string Problem() const {
        if (display_.empty()) return "Xvfb gave no display (scripts/install-deps installs it)";
        if (wmReady_) return "";
        return "openbox did not come up on " + display_ +
               " (scripts/install-deps installs it); it said: " + ReadText(wmLog_);
    }
    const std::string& Display() const { return display_; }
    std::string DisplayEnv() const { return "DISPLAY=" + display_; }
    // Runs xdotool with `args` on this display and waits for it.
    bool Xdo(const std::vector<std::string>& args) const {
        std::vector<std::string> argv{"xdotool"};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunToEnd(argv, {DisplayEnv()}) == 0;
    }
    bool Click(int x, int y, int button = 1, int times = 1) const {
        // No --sync: it waits for a motion that never comes when the pointer
        // is already there.
        return Xdo({"mousemove", std::to_string(x), std::to_string(y), "sleep", "0.1", "click", "--repeat",
                    std::to_string(times), "--delay", "40", std::to_string(button)});
    }

  private:
    CTempDir dir_;
    std::string wmLog_ = dir_.File("openbox.log");
    std::unique_ptr<CChild> server_;
    std::string display_;
    std::unique_ptr<CChild> wm_;
    bool wmReady_ = false;
};

} // namespace orvane::testing
