#include "platform/single_instance.h"

#include <unistd.h>

#include <QFile>
#include <QLocalSocket>

namespace kadrel {

QString SingleInstance::DefaultName() {
  QByteArray custom = qgetenv("KADREL_INSTANCE");
  if (!custom.isEmpty()) return QString::fromLocal8Bit(custom);
  return QStringLiteral("hKadrelDemon") + QString::number(getuid());
}

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
}

QByteArray EncodeArguments(const QStringList& arguments) {
  QByteArray message;
  for (const QString& a : arguments) {
    message += QFile::encodeName(a);
    message += '\0';
  }
  return message;
}

QStringList DecodeArguments(const QByteArray& message) {
  QStringList arguments;
  qsizetype start = 0;
  while (start < message.size()) {
    qsizetype end = message.indexOf('\0', start);
    if (end < 0) break;  // an unterminated tail is a cut-off message: drop it
    arguments << QFile::decodeName(message.mid(start, end - start));
    start = end + 1;
  }
  return arguments;
}

bool SingleInstance::HandOver(const QStringList& arguments, int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(EncodeArguments(arguments));
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
  return true;
}

bool SingleInstance::Listen() {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (server_.listen(name_)) return true;
  // Nobody answered HandOver, so a socket file that is still there is stale.
  QLocalServer::removeServer(name_);
  return server_.listen(name_);
}

void SingleInstance::OnNewConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      QByteArray& buffer = buffers_[socket];
      buffer += socket->readAll();
      if (buffer.size() > kMaxMessage) {
        buffers_.remove(socket);
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
      }
    });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
      QByteArray buffer = buffers_.take(socket) + socket->readAll();
      socket->deleteLater();
      if (buffer.size() <= kMaxMessage) Q_EMIT argumentsReceived(DecodeArguments(buffer));
    });
  }
}

}  // namespace kadrel
