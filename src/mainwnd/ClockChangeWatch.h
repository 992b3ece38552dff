#pragma once
// Tells the window when the wall clock was set (by the user, NTP stepping it,
// a resume that corrects it): a timerfd armed far in the future with
// TFD_TIMER_CANCEL_ON_SET, whose read fails with ECANCELED once the clock
// jumps. It costs no wake-up while the clock runs normally.
#include <functional>
#include <QObject>

class QSocketNotifier;

namespace orvane {

class CClockChangeWatch : public QObject {
    Q_OBJECT
  public:
    explicit CClockChangeWatch(std::function<void()> onChange, QObject* parent = nullptr);
    ~CClockChangeWatch() override;
    bool Watching() const { return m_fd >= 0; }

  private:
    bool Arm();
    void OnReadable();

    std::function<void()> m_onChange;
    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace orvane
