#include "platform/qt/window_endpoint.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QVariant>

#include "platform/message_channel.h"

namespace lexora {

WindowEndpoint::WindowEndpoint(WindowIdentity identity, Handler handler, QObject* parent)
    : QObject(parent),
      identity_(std::move(identity)),
      handler_(std::move(handler)),
      server_(new QLocalServer(this)) {
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &WindowEndpoint::acceptConnections);
}

WindowEndpoint::~WindowEndpoint() { server_->close(); }

bool WindowEndpoint::listen() {
  if (server_->isListening()) return true;
  std::string path = endpointPath(identity_);
  if (path.empty()) return false;
  // A live window of this identity answers a connection; a dead one's file is removed.
  QLocalSocket probe;
  probe.connectToServer(QString::fromStdString(path));
  if (probe.waitForConnected(200)) {
    probe.disconnectFromServer();
    return false;
  }
  QLocalServer::removeServer(QString::fromStdString(path));
  return server_->listen(QString::fromStdString(path));
}

bool WindowEndpoint::isListening() const { return server_->isListening(); }

void WindowEndpoint::acceptConnections() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
    if (socket->bytesAvailable() > 0) readMessage(socket);
  }
}

void WindowEndpoint::readMessage(QLocalSocket* socket) {
  if (socket->property("lexoraHandled").toBool()) return;
  if (socket->bytesAvailable() < static_cast<qint64>(WindowMessage::kEncodedSize)) return;
  socket->setProperty("lexoraHandled", true);
  QByteArray bytes = socket->read(WindowMessage::kEncodedSize);
  auto message = WindowMessage::decodeFrom(reinterpret_cast<const uint8_t*>(bytes.constData()));
  if (!message) {
    socket->disconnectFromServer();
    return;
  }
  // The handler may run a nested event loop (a message box); the socket stays ours meanwhile.
  QPointer<QLocalSocket> guard(socket);
  WindowMessageReply reply{handler_ ? handler_(*message) : 0};
  if (!guard) return;
  uint8_t out[WindowMessageReply::kEncodedSize];
  reply.encodeTo(out);
  guard->write(reinterpret_cast<const char*>(out), sizeof out);
  guard->flush();
  guard->disconnectFromServer();
}

}  // namespace lexora
