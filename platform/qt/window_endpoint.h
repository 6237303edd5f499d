#pragma once
// The receiving side of the message channel: makes a window findable by its identity and
// hands every message that arrives to a handler on the GUI thread, then answers the sender
// with the handler's result.

#include <QObject>
#include <QString>
#include <functional>

#include "platform/window_identity.h"
#include "platform/window_message.h"

class QLocalServer;
class QLocalSocket;

namespace lexora {

class WindowEndpoint : public QObject {
  Q_OBJECT
 public:
  using Handler = std::function<int64_t(const WindowMessage&)>;

  WindowEndpoint(WindowIdentity identity, Handler handler, QObject* parent = nullptr);
  ~WindowEndpoint() override;  // the identity disappears with the endpoint

  // Starts listening. A window of the same identity that still answers keeps its name and
  // this returns false; an endpoint left behind by a program that ended is replaced.
  bool listen();
  bool isListening() const;
  const WindowIdentity& identity() const { return identity_; }

 private:
  void acceptConnections();
  void readMessage(QLocalSocket* socket);

  WindowIdentity identity_;
  Handler handler_;
  QLocalServer* server_;
};

}  // namespace lexora
