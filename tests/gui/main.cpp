// Runs every test object of the desktop program on one QApplication.

#include <QApplication>
#include <QTest>

#include "test_objects.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Keep the index, settings and temporary folders of the run away from the user's.
  QTemporaryDir home;
  qputenv("XDG_CACHE_HOME", QFile::encodeName(home.path() + QStringLiteral("/cache")));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/config")));
  qputenv("KADREL_CONFIG_DIR", QFile::encodeName(home.path() + QStringLiteral("/config/kadrel")));
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path() + QStringLiteral("/run")));
  qputenv("KADREL_INSTANCE", QByteArray("kadrel-test-") + QByteArray::number(QCoreApplication::applicationPid()));
  QApplication app(argc, argv);
  int failures = 0;
  for (QObject* test : kadrel::test::MakeTestObjects()) {
    failures += QTest::qExec(test, argc, argv);
    delete test;
  }
  return failures == 0 ? 0 : 1;
}
