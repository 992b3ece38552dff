#pragma once
// A private X server (Xvfb, on the display it picks itself) with a window
// manager, and the programs a test runs on it: real windows, real input.
#include <string>
#include <sys/types.h>
#include <vector>

namespace orvane::test {

// Runs `argv` with `env` added to the environment; output to `log`.
pid_t SpawnProgram(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                   const std::string& log = "/dev/null");
// Ends a spawned program (TERM, then KILL) and reaps it.
void StopProgram(pid_t pid);

class CXSession {
  public:
    CXSession();
    ~CXSession();
    CXSession(const CXSession&) = delete;
    CXSession& operator=(const CXSession&) = delete;

    bool Ok() const { return !m_display.empty() && m_wmReady; }
    // Why the session is not Ok(): what a failing test prints.
    std::string Problem() const;
    // "DISPLAY=:n"
    std::string DisplayEnv() const { return "DISPLAY=" + m_display; }
    // Runs xdotool with `args` on this display and waits for it.
    bool Xdo(const std::vector<std::string>& args) const;
    bool Click(int x, int y, int button = 1, int times = 1) const;

  private:
    std::string m_display;
    pid_t m_server = -1;
    pid_t m_wm = -1;
    bool m_wmReady = false;
    std::string m_wmLog;
};

} // namespace orvane::test
