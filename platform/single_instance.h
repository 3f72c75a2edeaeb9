#pragma once
// One running copy per user: the first start listens on a local socket named after
// "hKadrelDemon" and the user id; a later start hands its arguments over and ends.

#include <QByteArray>
#include <QHash>
#include <QLocalServer>
#include <QObject>
#include <QStringList>

namespace kadrel {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // The socket name; the environment variable KADREL_INSTANCE replaces it (tests).
  static QString DefaultName();

  explicit SingleInstance(QString name = DefaultName(), QObject* parent = nullptr);

  // Tries to reach a running copy and give it `arguments`. True when it took them.
  bool HandOver(const QStringList& arguments, int timeoutMs = 1000);
  // Becomes the running copy. A socket left behind by a copy that crashed is replaced.
  bool Listen();

  const QString& Name() const { return name_; }

  // Largest hand-over accepted; anything longer is dropped.
  static constexpr qsizetype kMaxMessage = 1 << 20;

 Q_SIGNALS:
  void argumentsReceived(const QStringList& arguments);

 private:
  void OnNewConnection();

  QString name_;
  QLocalServer server_;
  QHash<QObject*, QByteArray> buffers_;
};

// Wire form of a hand-over: each argument's local 8-bit bytes followed by a NUL.
QByteArray EncodeArguments(const QStringList& arguments);
QStringList DecodeArguments(const QByteArray& message);

}  // namespace kadrel
