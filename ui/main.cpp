// kadrel: the desktop program.

#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/text_helpers.h"
#include "platform/single_instance.h"
#include "ui/main_window.h"
#include "ui/texts.h"
#include "ui/window_settings.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kadrel"));
  QApplication::setApplicationDisplayName(kadrel::text::U(kadrel::text::kAppName));

  QStringList arguments = QApplication::arguments().mid(1);
  // --screenshot=FILE: save a picture of the window once the first folder is listed, and end.
  QString screenshot;
  for (const QString& a : arguments)
    if (a.startsWith(QStringLiteral("--screenshot="))) screenshot = a.mid(13);
  kadrel::SingleInstance instance;
  if (instance.HandOver(arguments)) return 0;
  instance.Listen();

  kadrel::WindowSettings settings = kadrel::DefaultWindowSettings();
  kadrel::MainWindow window(settings);
  QObject::connect(&instance, &kadrel::SingleInstance::argumentsReceived, &window,
                   &kadrel::MainWindow::HandleArguments);
  if (!screenshot.isEmpty()) {
    window.resize(900, 560);
    QObject::connect(&window, &kadrel::MainWindow::passFinished, &window, [&window, screenshot] {
      QTimer::singleShot(700, &window, [&window, screenshot] {
        if (!window.grab().save(screenshot)) std::fprintf(stderr, "kadrel: cannot write the screenshot\n");
        window.close();
      });
    });
  }
  window.show();

  // A folder named on the command line is opened first; otherwise the start folder.
  std::string start = settings.scan.main.StartFolder;
  for (const QString& a : arguments) {
    if (a.startsWith(QLatin1Char('-'))) continue;
    QFileInfo info(a);
    if (info.isDir()) {
      start = QFile::encodeName(info.absoluteFilePath()).toStdString();
      break;
    }
  }
  window.Start(start);
  int result = app.exec();
  if (window.ForcedClose()) {
    // A worker is still running: leave without running destructors under its feet.
    std::fflush(nullptr);
    std::_Exit(result);
  }
  return result;
}
