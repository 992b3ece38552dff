#pragma once
// SIGTERM (a session logout) and SIGINT (Ctrl+C where the program was started
// from a terminal) close the program the way its Exit does, so it ends with
// exit code 0 and leaves no socket behind.
#include <functional>
#include <QObject>

class QSocketNotifier;

namespace orvane {

class CTerminationSignals : public QObject {
    Q_OBJECT
  public:
    explicit CTerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~CTerminationSignals() override;
    bool Installed() const { return m_notifier != nullptr; }

  private:
    std::function<void()> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace orvane
