// kadrel: the desktop program.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <QUrl>

#include "base/heap_settings.h"
#include "base/text_helpers.h"
#include "platform/launch_arguments.h"
#include "platform/manual_location.h"
#include "platform/qt_translations.h"
#include "platform/termination_signals.h"
#include "platform/single_instance.h"
#include "settings/drive_letter_store.h"
#include "settings/setting_keys.h"
#include "ui/main_window.h"
#include "ui/search_hookup.h"
#include "ui/qt_message_box.h"
#include "ui/startup_logo.h"
#include "ui/texts.h"
#include "ui/window_settings.h"

namespace {

constexpr const char* kUsage =
    "Usage: kadrel [--config-dir DIR] [FOLDER | FILE | PLAYLIST.MPL | file:///…]\n"
    "Browse, identify and play old Japanese PC music collections.\n\n"
    "  --config-dir DIR  use another settings folder\n"
    "  --help            print this help and exit\n"
    "  --version         print the version and exit\n";

// The user's guide: the installed one beside the program, else the source tree's.
void OpenManual() {
  const QString page = kadrel::FindManual(QCoreApplication::applicationDirPath(),
                                          QString::fromUtf8(KADREL_MANUAL_SOURCE), QLocale::system().uiLanguages());
  if (page.isEmpty()) {
    std::fprintf(stderr, "kadrel: the user's guide is not installed\n");
    return;
  }
  if (!QProcess::startDetached(QStringLiteral("xdg-open"), {page}))
    QDesktopServices::openUrl(QUrl::fromLocalFile(page));
}

// The installed icon file beside the program; else the theme's icon of that name.
std::string LauncherIcon() {
  const QString icon = QCoreApplication::applicationDirPath() +
                       QStringLiteral("/../share/icons/hicolor/scalable/apps/" KADREL_APP_ID ".svg");
  if (QFileInfo::exists(icon)) return QFile::encodeName(QFileInfo(icon).canonicalFilePath()).toStdString();
  return KADREL_APP_ID;
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before Qt starts, so that they work without a display.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("kadrel %s\n", KADREL_VERSION);
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  kadrel::KeepFreedHeapForReuse();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kadrel"));
  QApplication::setApplicationDisplayName(kadrel::text::U(kadrel::text::kAppName));
  QApplication::setApplicationVersion(QStringLiteral(KADREL_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral(KADREL_APP_ID));
  // The program's texts are Japanese: Qt's standard buttons and dialogs follow them.
  kadrel::InstallQtJapaneseTranslations(app);

  QStringList arguments = QApplication::arguments().mid(1);
  const std::string configFolder = kadrel::TakeConfigDirArgument(arguments);
  // Absolute paths, also for the running copy, whose working folder is another.
  arguments = kadrel::ArgumentPaths(arguments, QDir::currentPath());
  // --screenshot=FILE: save a picture of the window once the first folder is listed, and end.
  // --screenshot-dialog=jump|drive|sort or --screenshot-window=keys: the picture is of
  // that dialog or window instead; with --search=TEXT, of the search window's hits for TEXT.
  QString screenshot, screenshotDialog, searchText;
  bool keyWindowShot = false;
  for (const QString& a : arguments) {
    if (a.startsWith(QStringLiteral("--screenshot="))) screenshot = a.mid(13);
    if (a.startsWith(QStringLiteral("--search="))) searchText = a.mid(9);
    if (a.startsWith(QStringLiteral("--screenshot-dialog="))) screenshotDialog = a.mid(20);
    if (a == QStringLiteral("--screenshot-window=keys")) keyWindowShot = true;
  }
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
  env.applicationsFolder = kadrel::ApplicationsFolder();
  env.launcherId = KADREL_APP_ID;
  env.launcherIcon = LauncherIcon();
  if (const char* path = std::getenv("PATH")) env.pathList = path;
  if (screenshot.isEmpty()) env.openHelp = [](int) { OpenManual(); };
  kadrel::ScreenSize screen;
  if (const QScreen* primary = QGuiApplication::primaryScreen()) {
    screen.width = primary->geometry().width();
    screen.height = primary->geometry().height();
  }
  kadrel::WindowSettings settings = session.Start(startupBox, env, screen);

  // The logo, while the main window is being made ("splitter" bit 0).
  std::unique_ptr<kadrel::TSplashWindow> logo;
  if (screenshot.isEmpty() && (session.Reg().ReadInt("splitter", kadrel::keys::kStartupShow) & 1)) {
    logo = std::make_unique<kadrel::TSplashWindow>();
    logo->ShowCentred();
    QApplication::processEvents();
  }

  kadrel::MainWindow window(settings);
  if (logo) logo->HideWhenShown(&window);
  window.SetSettingsStore(&session.Reg());
  window.SetAboutFacts({session.Startup().libraries, session.Startup().smfk});
  box.SetParent(&window);
  window.onSaveState = [&session, &box](const kadrel::StartupState& state) { session.Save(state, box); };
  window.onDeleteSettings = [&session] { session.Delete(); };
  window.onOpenManual = OpenManual;
  window.onSaveDriveLetters = [&session](const std::array<std::string, 26>& letters) {
    if (!session.Deleted()) kadrel::SaveDriveLetters(session.Reg(), letters);
  };
  window.CreateKeyWindow(kadrel::ReadKeyWindowSettings(session.Reg()), session.Folders().config, startupBox,
                         [&session](const kadrel::KeyWindowSettings& keys) {
                           if (!session.Deleted()) kadrel::WriteKeyWindowSettings(session.Reg(), keys);
                         });
  QObject::connect(&instance, &kadrel::SingleInstance::argumentsReceived, &window,
                   &kadrel::MainWindow::HandleArguments);
  // A logout or `kill` closes the window as the user would; a second signal while the
  // close is under way ends the program at once.
  kadrel::TerminationSignals terminations;
  QObject::connect(&terminations, &kadrel::TerminationSignals::received, &window, [&window](int number) {
    static int received = 0;
    if (++received > 1) std::_Exit(128 + number);
    window.close();
  });
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, [&window](QSessionManager&) { window.CommitState(); });
  if (!screenshot.isEmpty() && !searchText.isEmpty()) {
    kadrel::ScreenshotSearchWindow(window, searchText, screenshot);
  } else if (!screenshot.isEmpty()) {
    window.resize(900, 560);
    QObject::connect(&window, &kadrel::MainWindow::passFinished, &window,
                     [&window, screenshot, screenshotDialog, keyWindowShot] {
      if (keyWindowShot) window.ShowKeyWindow();
      QTimer::singleShot(700, &window, [&window, screenshot, screenshotDialog, keyWindowShot] {
        if (screenshotDialog.isEmpty()) {
          QWidget* shown = keyWindowShot ? static_cast<QWidget*>(window.KeyWindow()) : &window;
          if (!shown->grab().save(screenshot)) std::fprintf(stderr, "kadrel: cannot write the screenshot\n");
          if (keyWindowShot) window.KeyWindow()->hide();
          window.close();
          return;
        }
        QTimer::singleShot(500, &window, [screenshot] {
          QWidget* dialog = QApplication::activeModalWidget();
          if (!dialog || !dialog->grab().save(screenshot)) std::fprintf(stderr, "kadrel: cannot write the screenshot\n");
          if (dialog) dialog->close();
        });
        if (screenshotDialog == QStringLiteral("jump")) window.ShowJumpFolderDialog();
        else if (screenshotDialog == QStringLiteral("drive")) window.ShowDriveDialog();
        else if (screenshotDialog == QStringLiteral("sort")) window.ShowSortWindow();
        window.close();
      });
    });
  }
  window.show();

  // A folder or file named on the command line is opened first; otherwise the start folder.
  std::string start = settings.scan.main.StartFolder;
  const kadrel::LaunchTarget target = kadrel::ClassifyArguments(arguments);
  if (target.kind == kadrel::LaunchTarget::Kind::Missing)
    box.Warn(std::string(kadrel::text::kFolderMissingPrefix) + target.folder.toStdString() + kadrel::text::kFolderMissingSuffix);
  else if (target.kind != kadrel::LaunchTarget::Kind::None)
    start = QFile::encodeName(target.folder).toStdString();
  if (!target.fileName.isEmpty()) window.OpenFolderFocused(start, QFile::encodeName(target.fileName).toStdString());
  window.Start(start);
  window.PublishMediaControls();
  // Play lists named on the command line join the play list once the loop runs.
  QTimer::singleShot(0, &window, [&window, arguments] { window.LoadPlayListArguments(arguments); });
  int result = app.exec();
  if (window.ForcedClose() || window.ListPlay().Abandoned()) {
    // A worker is still running: leave without running destructors under its feet.
    std::fflush(nullptr);
    std::_Exit(result);
  }
  return result;
}
