#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

namespace kadrel::test {

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  return true;
}

void CopySamples(const QString& target) {
  const QString source = QString::fromUtf8(KADREL_SAMPLES_DIR);
  QDirIterator it(source, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QString path = it.next();
    QString relative = QDir(source).relativeFilePath(path);
    QDir().mkpath(QFileInfo(target + QLatin1Char('/') + relative).absolutePath());
    QFile::copy(path, target + QLatin1Char('/') + relative);
  }
}

void MakeMidiFiles(const QString& folder, int count) {
  QDir().mkpath(folder);
  // Format 0, one track with a title and an end of track.
  const QByteArray title("Generated");
  QByteArray track;
  track += QByteArray("\x00\xFF\x03", 3) + char(title.size()) + title;
  track += QByteArray("\x00\xFF\x2F\x00", 4);
  QByteArray file("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0", 14);
  file += "MTrk";
  file += QByteArray("\x00\x00\x00", 3) + char(track.size());
  file += track;
  for (int i = 0; i < count; ++i) {
    QFile f(folder + QStringLiteral("/GEN%1.MID").arg(i, 5, 10, QLatin1Char('0')));
    if (f.open(QIODevice::WriteOnly)) f.write(file);
  }
}

}  // namespace kadrel::test
