#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "app/CommandLine.h"
#include "app/gui/OrvaneApp.h"
#include "app/gui/PlatformEnvironment.h"
#include "app/gui/ProgramOptions.h"

int main(int argc, char** argv) {
    std::vector<std::string> args = orvane::ProgramArguments(argc, argv);
    if (orvane::ParseProgramOptions(args).help) {
        orvane::PrintProgramUsage(std::cout);
        return 0;
    }
    orvane::PreparePlatformEnvironment();
    // A peer that goes away while we answer it must not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    orvane::COrvaneApp app(argc, argv, std::move(args));
    app.InitInstance();
    // The device threads are never stopped; they end with the process. Ending
    // it here keeps static destructors from running under their feet.
    std::fflush(nullptr);
    std::_Exit(app.ExitCode());
}
