#include "platform/dbus_calls.h"

#include <QDBusVariant>

namespace kadrel {

namespace {

const QString kBusService = QStringLiteral("org.freedesktop.DBus");
const QString kBusPath = QStringLiteral("/org/freedesktop/DBus");

}  // namespace

QDBusConnection SessionBus() { return QDBusConnection::sessionBus(); }

bool SessionBusAvailable() { return SessionBus().isConnected(); }

std::optional<QDBusMessage> CallMethod(const QString& service, const QString& path, const QString& interface,
                                       const QString& method, const QVariantList& arguments, int timeoutMs) {
  QDBusConnection bus = SessionBus();
  if (!bus.isConnected()) return std::nullopt;
  QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
  call.setArguments(arguments);
  QDBusMessage reply = bus.call(call, QDBus::Block, timeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage) return std::nullopt;
  return reply;
}

std::optional<QVariant> GetProperty(const QString& service, const QString& path, const QString& interface,
                                    const QString& property, int timeoutMs) {
  const auto reply = CallMethod(service, path, kPropertiesInterface, QStringLiteral("Get"),
                                {interface, property}, timeoutMs);
  if (!reply || reply->arguments().isEmpty()) return std::nullopt;
  return reply->arguments().first().value<QDBusVariant>().variant();
}

QStringList NamesWithPrefix(const QString& prefix) {
  QStringList found;
  const auto reply = CallMethod(kBusService, kBusPath, kBusService, QStringLiteral("ListNames"), {}, 3000);
  if (!reply || reply->arguments().isEmpty()) return found;
  const QString instancePrefix = prefix + QLatin1Char('.');
  for (const QString& name : reply->arguments().first().toStringList())
    if (name == prefix || name.startsWith(instancePrefix)) found.push_back(name);
  found.sort();
  return found;
}

pid_t NameOwnerPid(const QString& name) {
  const auto reply =
      CallMethod(kBusService, kBusPath, kBusService, QStringLiteral("GetConnectionUnixProcessID"), {name}, 3000);
  if (!reply || reply->arguments().isEmpty()) return -1;
  return static_cast<pid_t>(reply->arguments().first().toUInt());
}

QString FileUri(const std::string& path) {
  const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
  return QStringLiteral("file://") + QString::fromLatin1(bytes.toPercentEncoding("/"));
}

}  // namespace kadrel
