#pragma once
// The application object: settles the environment, has the main window
// built (which settles the single instance), runs it for the life of the
// process, then tears down. There is no other message loop.
#include <QApplication>
#include <string>
#include <vector>

namespace orvane {

class COrvaneApp : public QApplication {
    Q_OBJECT
  public:
    // `args` are the program's arguments after its name, taken before Qt
    // removes the options it knows from argc/argv.
    COrvaneApp(int& argc, char** argv, std::vector<std::string> args);

    // The start-up sequence. Always false: the framework runs no loop of its own.
    bool InitInstance();
    // What the process ends with once InitInstance has returned.
    int ExitCode() const { return m_exitCode; }

  private:
    std::vector<std::string> m_args;
    int m_exitCode = 0;
};

} // namespace orvane
