#include "ui/InstanceSocket.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <unistd.h>

#include "app/InstanceProtocol.h"
#include "services/WindowMessages.h"
#include "ui/MessageBridge.h"

namespace orvane {
namespace {
// A peer that connects and says nothing is dropped after this long.
constexpr int kIdlePeerMs = 5000;
} // namespace

CInstanceSocket::CInstanceSocket(CMessageBridge& bridge, QObject* parent)
    : QObject(parent), bridge_(bridge), accepted_{UM_OPEN, UM_KILL} {}

CInstanceSocket::~CInstanceSocket() {
    Close();
}

bool CInstanceSocket::Open() {
    Close();
    const std::string path = InstanceSocketPath(::getpid());
    if (path.empty()) return false;
    path_ = QString::fromStdString(path);
    // A file under our own process id can only be left from a dead process.
    QLocalServer::removeServer(path_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &CInstanceSocket::OnNewConnection);
    if (!server_->listen(path_)) {
        delete server_;
        server_ = nullptr;
        return false;
    }
    return true;
}

void CInstanceSocket::Close() {
    if (!server_) return;
    server_->close(); // removes the socket file
    delete server_;
    server_ = nullptr;
}

bool CInstanceSocket::IsOpen() const {
    return server_ && server_->isListening();
}

void CInstanceSocket::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QPointer<QLocalSocket> guard(socket);
        QTimer::singleShot(kIdlePeerMs, this, [guard] {
            if (guard) guard->abort();
        });
        if (socket->bytesAvailable() > 0) OnReadyRead(socket);
    }
}

void CInstanceSocket::OnReadyRead(QLocalSocket* socket) {
    if (socket->property("answered").toBool() ||
        socket->bytesAvailable() < static_cast<qint64>(kInstanceRequestSize))
        return;
    uint8_t in[kInstanceRequestSize];
    if (socket->read(reinterpret_cast<char*>(in), sizeof in) != static_cast<qint64>(sizeof in)) {
        socket->abort();
        return;
    }
    socket->setProperty("answered", true);
    CInstanceRequest request = DecodeInstanceRequest(in);
    intptr_t result = 0;
    QPointer<QLocalSocket> guard(socket);
    if (accepted_.count(request.message))
        result = bridge_.Dispatch(request.message, static_cast<uintptr_t>(request.wParam),
                                  static_cast<intptr_t>(request.lParam));
    if (!guard) return;
    uint8_t out[kInstanceAnswerSize];
    EncodeInstanceAnswer(result, out);
    socket->write(reinterpret_cast<const char*>(out), sizeof out);
    socket->flush();
    socket->disconnectFromServer();
}

} // namespace orvane
