// kadrel: the desktop program.

#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "base/text_helpers.h"
#include "platform/single_instance.h"
#include "ui/main_window.h"
#include "ui/search_hookup.h"
#include "ui/qt_message_box.h"
#include "ui/texts.h"
#include "ui/window_settings.h"

namespace {

// The manual: installed next to the program, else the one of the source tree.
void OpenManual(int) {
  const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/kadrel/README.md");
  for (const QString& candidate : {installed, QString::fromUtf8(KADREL_MANUAL)}) {
    if (QFileInfo(candidate).isFile()) {
      QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(candidate).absoluteFilePath()));
      return;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kadrel"));
  QApplication::setApplicationDisplayName(kadrel::text::U(kadrel::text::kAppName));

  QStringList arguments = QApplication::arguments().mid(1);
  const std::string configFolder = kadrel::TakeConfigDirArgument(arguments);
  // --screenshot=FILE: save a picture of the window once the first folder is listed, and end.
  QString screenshot;
  for (const QString& a : arguments)
    if (a.startsWith(QStringLiteral("--screenshot="))) screenshot = a.mid(13);
  // --search=TEXT with --screenshot: the picture is of the search window's hits for TEXT.
  QString searchText;
  for (const QString& a : arguments)
    if (a.startsWith(QStringLiteral("--search="))) searchText = a.mid(9);
  kadrel::SingleInstance instance;
  if (instance.HandOver(arguments)) return 0;
  instance.Listen();

  // The settings pass: upgrade, window state, working folders, main settings. A
  // screenshot run asks nothing (it would wait for an answer on a virtual display).
  kadrel::QtMessageBox box;
  kadrel::SilentMessageBox silent(kadrel::MessageAnswer::No);
  kadrel::IMessageBox& startupBox = screenshot.isEmpty() ? static_cast<kadrel::IMessageBox&>(box) : silent;
  kadrel::SettingsSession session(kadrel::DefaultPlatformFolders(configFolder), startupBox);
  kadrel::UpgradeEnvironment env;
  env.programPath = QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
  env.desktopFolder = kadrel::DesktopFolder();
  if (const char* path = std::getenv("PATH")) env.pathList = path;
  if (screenshot.isEmpty()) env.openHelp = OpenManual;
  kadrel::ScreenSize screen;
  if (const QScreen* primary = QGuiApplication::primaryScreen()) {
    screen.width = primary->geometry().width();
    screen.height = primary->geometry().height();
  }
  kadrel::WindowSettings settings = session.Start(startupBox, env, screen);

  kadrel::MainWindow window(settings);
  box.SetParent(&window);
  window.onSaveState = [&session, &box](const kadrel::StartupState& state) { session.Save(state, box); };
  window.onDeleteSettings = [&session] { session.Delete(); };
  QObject::connect(&instance, &kadrel::SingleInstance::argumentsReceived, &window,
                   &kadrel::MainWindow::HandleArguments);
  if (!screenshot.isEmpty() && !searchText.isEmpty()) {
    kadrel::ScreenshotSearchWindow(window, searchText, screenshot);
  } else if (!screenshot.isEmpty()) {
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
