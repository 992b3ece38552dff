#include "mainwnd/ClockChangeWatch.h"

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <QSocketNotifier>
#include <sys/timerfd.h>
#include <unistd.h>

namespace orvane {

CClockChangeWatch::CClockChangeWatch(std::function<void()> onChange, QObject* parent)
    : QObject(parent), m_onChange(std::move(onChange)) {
    m_fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd < 0) return;
    if (!Arm()) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { OnReadable(); });
}

CClockChangeWatch::~CClockChangeWatch() {
    delete m_notifier;
    if (m_fd >= 0) ::close(m_fd);
}

bool CClockChangeWatch::Arm() {
    // An expiry that never comes: only a clock change makes the fd readable.
    itimerspec spec{};
    spec.it_value.tv_sec = INT32_MAX;
    return ::timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &spec, nullptr) == 0;
}

void CClockChangeWatch::OnReadable() {
    uint64_t expiries = 0;
    const ssize_t n = ::read(m_fd, &expiries, sizeof expiries);
    const bool changed = n < 0 && errno == ECANCELED;
    // A cancelled timer stays readable until it is armed again.
    Arm();
    if (changed && m_onChange) m_onChange();
}

} // namespace orvane
