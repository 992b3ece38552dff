#include "dialogs/support/XSession.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace orvane::test {

namespace {

int RunAndWait(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    const pid_t pid = SpawnProgram(argv, env);
    if (pid < 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

pid_t SpawnProgram(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                   const std::string& log) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    for (const std::string& e : env)
        putenv(const_cast<char*>(e.c_str()));
    const int quiet = open("/dev/null", O_RDWR);
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    dup2(quiet, 0);
    dup2(out >= 0 ? out : quiet, 1);
    dup2(out >= 0 ? out : quiet, 2);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

void StopProgram(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

CXSession::CXSession() {
    int fds[2];
    if (pipe(fds) != 0) return;
    m_server = fork();
    if (m_server == 0) {
        close(fds[0]);
        const int quiet = open("/dev/null", O_RDWR);
        dup2(quiet, 0);
        dup2(quiet, 1);
        dup2(quiet, 2);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1600x1200x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
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
    m_display = ":" + number;
    // The window manager is up once it has named itself on the root window.
    // On a loaded machine openbox now and then dies or stalls at start: it
    // gets two more chances, each started afresh.
    using Clock = std::chrono::steady_clock;
    char log[] = "/tmp/orvane-openbox-XXXXXX";
    const int logFd = mkstemp(log);
    if (logFd >= 0) {
        close(logFd);
        m_wmLog = log;
    }
    for (int attempt = 0; attempt < 3 && !m_wmReady; ++attempt) {
        StopProgram(m_wm);
        m_wm = SpawnProgram({"openbox", "--sm-disable"}, {DisplayEnv()},
                            m_wmLog.empty() ? "/dev/null" : m_wmLog);
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        while (!m_wmReady && Clock::now() < deadline) {
            m_wmReady = RunAndWait({"sh", "-c", "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"},
                                   {DisplayEnv()}) == 0;
            if (m_wmReady) break;
            if (waitpid(m_wm, nullptr, WNOHANG) == m_wm) {
                m_wm = -1; // reaped: nothing left to stop
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
}

CXSession::~CXSession() {
    StopProgram(m_wm);
    StopProgram(m_server);
    if (!m_wmLog.empty()) unlink(m_wmLog.c_str());
}

std::string CXSession::Problem() const {
    if (m_display.empty()) return "Xvfb gave no display (scripts/install-deps installs it)";
    if (m_wmReady) return "";
    std::ifstream in(m_wmLog);
    const std::string said((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return "openbox did not come up on " + m_display +
           " (scripts/install-deps installs it); it said: " + said;
}

bool CXSession::Xdo(const std::vector<std::string>& args) const {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunAndWait(argv, {DisplayEnv()}) == 0;
}

bool CXSession::Click(int x, int y, int button, int times) const {
    // No --sync: it waits for a motion that never comes when the pointer is
    // already there.
    return Xdo({"mousemove", std::to_string(x), std::to_string(y), "sleep", "0.1", "click", "--repeat",
                std::to_string(times), "--delay", "40", std::to_string(button)});
}

} // namespace orvane::test
