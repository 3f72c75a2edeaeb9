#pragma once
// SIGTERM (the session's logout, `kill`) and SIGINT (Ctrl+C in a terminal) as a Qt
// signal on the main thread, so that the program ends through its normal close and
// saves what it saves at a close.

#include <QObject>
#include <QSocketNotifier>

namespace kadrel {

class TerminationSignals : public QObject {
  Q_OBJECT

 public:
  // Installs the handlers; one object per process.
  explicit TerminationSignals(QObject* parent = nullptr);
  ~TerminationSignals() override;

 Q_SIGNALS:
  void received(int signalNumber);

 private:
  void Read();

  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kadrel
