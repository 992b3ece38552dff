#pragma once
// The listening end of the instance protocol: the main window opens it when
// it takes the window tag, and another copy of the program reaches the
// window's message map through it (see app/InstanceProtocol.h).
#include <QObject>
#include <QString>
#include <set>

class QLocalServer;
class QLocalSocket;

namespace orvane {

class CMessageBridge;

class CInstanceSocket : public QObject {
    Q_OBJECT
  public:
    CInstanceSocket(CMessageBridge& bridge, QObject* parent = nullptr);
    ~CInstanceSocket() override;

    // Listens on the socket of this process id, replacing a file left under
    // that name. False when it cannot (path too long, folder missing).
    bool Open();
    void Close();
    bool IsOpen() const;
    QString Path() const { return path_; }

    // Only these messages are taken from other processes; anything else is
    // answered with 0 and not dispatched. UM_OPEN and UM_KILL by default.
    void SetAcceptedMessages(std::set<uint32_t> messages) { accepted_ = std::move(messages); }

  private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket);

    CMessageBridge& bridge_;
    QLocalServer* server_ = nullptr;
    QString path_;
    std::set<uint32_t> accepted_;
};

} // namespace orvane
