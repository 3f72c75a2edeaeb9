#pragma once
// Small blocking D-Bus calls on the session bus, usable from any thread, and the
// MPRIS names. Without a session bus every call fails quietly.

#include <sys/types.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <string>

namespace kadrel {

inline const QString kMprisPath = QStringLiteral("/org/mpris/MediaPlayer2");
inline const QString kMprisRoot = QStringLiteral("org.mpris.MediaPlayer2");
inline const QString kMprisPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
inline const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

QDBusConnection SessionBus();
bool SessionBusAvailable();

// A method call; nothing when the bus answered with an error or not in time.
std::optional<QDBusMessage> CallMethod(const QString& service, const QString& path, const QString& interface,
                                       const QString& method, const QVariantList& arguments, int timeoutMs);
// A property read through org.freedesktop.DBus.Properties.Get.
std::optional<QVariant> GetProperty(const QString& service, const QString& path, const QString& interface,
                                    const QString& property, int timeoutMs);

// Bus names equal to `prefix` or starting with `prefix` + "." (the instance names).
QStringList NamesWithPrefix(const QString& prefix);
// The process owning a bus name, -1 when unknown.
pid_t NameOwnerPid(const QString& name);

// "file://" and the path's bytes, percent-encoded: any byte string makes a valid URI.
QString FileUri(const std::string& path);

}  // namespace kadrel
