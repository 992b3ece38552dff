#include "app/gui/TerminationSignals.h"

#include <csignal>
#include <fcntl.h>
#include <QSocketNotifier>
#include <unistd.h>

namespace orvane {
namespace {

int g_SignalPipe[2] = {-1, -1};

// Only an async-signal-safe write here; the rest happens on the GUI thread.
void OnTerminationSignal(int) {
    char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(g_SignalPipe[1], &byte, 1);
}

void SetHandler(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

} // namespace

CTerminationSignals::CTerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignal)) {
    if (g_SignalPipe[0] < 0 && ::pipe2(g_SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    m_notifier = new QSocketNotifier(g_SignalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char buffer[16];
        while (::read(g_SignalPipe[0], buffer, sizeof buffer) > 0) {
        }
        if (m_onSignal) m_onSignal();
    });
    SetHandler(SIGTERM, OnTerminationSignal);
    SetHandler(SIGINT, OnTerminationSignal);
}

CTerminationSignals::~CTerminationSignals() {
    SetHandler(SIGTERM, SIG_DFL);
    SetHandler(SIGINT, SIG_DFL);
}

} // namespace orvane
