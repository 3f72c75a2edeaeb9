#include "test_support.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>
#include <QThread>
#include <QTimer>
#include <QToolButton>

#include "settings/platform_folders.h"

namespace kadrel::test {
namespace {

void CopySamples(const QString& target) {
  const QString source = QString::fromUtf8(KADREL_SAMPLES_DIR);
  QDirIterator it(source, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString relative = QDir(source).relativeFilePath(it.next());
    QDir().mkpath(QFileInfo(target + QLatin1Char('/') + relative).absolutePath());
    QFile::copy(it.filePath(), target + QLatin1Char('/') + relative);
  }
}

void MakeMidiFiles(const QString& folder, int count) {
  // Format 0, one track with a title and an end of track.
  const QByteArray title("Generated");
  QByteArray track = QByteArray("\x00\xFF\x03", 3) + char(title.size()) + title + QByteArray("\x00\xFF\x2F\x00", 4);
  QByteArray file("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0MTrk\x00\x00\x00", 21);
  file += char(track.size()) + track;
  for (int i = 0; i < count; ++i) {
    QFile f(folder + QStringLiteral("/GEN%1.MID").arg(i, 5, 10, QLatin1Char('0')));
    if (f.open(QIODevice::WriteOnly)) f.write(file);
  }
}

}  // namespace

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

void WhenModal(std::function<void(QWidget&)> act) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      poll->stop();
      poll->deleteLater();
      act(*modal);
    }
  });
  poll->start();
}

QStringList UnnamedControls(QWidget& parent) {
  QStringList unnamed;
  for (QWidget* widget : parent.findChildren<QWidget*>()) {
    const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QAbstractItemView*>(widget) ||
                         qobject_cast<QProgressBar*>(widget);
    if (!control || widget->inherits("QHeaderView") || widget->objectName().startsWith(QStringLiteral("qt_"))) continue;
    auto* toolButton = qobject_cast<QToolButton*>(widget);
    const bool fromAction = toolButton && toolButton->defaultAction() && !toolButton->defaultAction()->text().isEmpty();
    if (widget->accessibleName().isEmpty() && !fromAction)
      unnamed << QStringLiteral("%1 %2").arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName());
  }
  return unnamed;
}

std::string Bytes(const QString& path) { return QFile::encodeName(path).toStdString() + "/"; }

WindowFixture::WindowFixture(int midiFiles)
    : folder(root.path() + QStringLiteral("/a-folder-name-the-title-leaves-out/samples")) {
  QDir().mkpath(folder);
  if (midiFiles > 0) MakeMidiFiles(folder, midiFiles);
  else CopySamples(folder);
}

WindowSettings WindowFixture::QuietSettings() {
  WindowSettings s = DefaultWindowSettings();
  s.statusIntervalMs = 3600 * 1000;
  s.watcherDebounceMs = 100;
  s.watcherPollMs = 300;
  s.sortKey = kColFileName;
  return s;
}

MainWindow& WindowFixture::Make(const WindowSettings& made) {
  settings = made;
  window = std::make_unique<MainWindow>(settings, &messages);
  passes_ = std::make_unique<QSignalSpy>(window.get(), &MainWindow::passFinished);
  return *window;
}

MainWindow& WindowFixture::MakeFromStore(const QString& config) {
  session.emplace(DefaultPlatformFolders(Bytes(config)), messages);
  env.desktopFolder = Bytes(config) + "desktop/";
  QDir().mkpath(config + QStringLiteral("/bin"));
  QFile player(config + QStringLiteral("/bin/mpv"));  // for the fresh installation's first slot
  if (player.open(QIODevice::WriteOnly)) player.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
  env.pathList = Bytes(config) + "bin";
  env.openHelp = [this](int context) { helpContexts.push_back(context); };
  WindowSettings started = session->Start(messages, env, {1024, 768});
  started.statusIntervalMs = 3600 * 1000;
  Make(started);
  window->onSaveState = [this](const StartupState& state) {
    ++saves;
    session->Save(state, messages);
  };
  window->onDeleteSettings = [this] { session->Delete(); };
  return *window;
}

MainWindow& WindowFixture::OpenOnStore(bool readOnly) {
  const QString config = root.filePath(QStringLiteral("config"));
  MakeFromStore(config);
  if (readOnly) {
    StoreOpenReport report;
    readOnlyStore = SettingsStore::Open(SettingsDatabasePath(Bytes(config)), &report, {.readOnly = true});
    if (!readOnlyStore) qFatal("the settings store cannot be opened read-only");
    readOnlyReg.emplace(*readOnlyStore);
    window->SetSettingsStore(&*readOnlyReg);
  } else {
    window->SetSettingsStore(&session->Reg());
  }
  return Open();
}

MainWindow& WindowFixture::Open(bool wait) {
  if (!window) Make();
  window->show();
  window->Start(Bytes(folder));
  if (wait) NextPass();
  return *window;
}

bool WindowFixture::NextPass() {
  ++awaited_;
  return WaitUntil([&] { return passes_->count() >= awaited_; });
}

int WindowFixture::RowOf(std::string_view name, std::string_view archive) const {
  const FileListModel& list = window->FileList();
  for (int i = 0; i < list.Count(); ++i)
    if (list.Record(i).FileName == name && list.Record(i).Archiver == archive) return i;
  return -1;
}

int WindowFixture::Section(int column) const {
  const auto& ids = window->FileList().Columns();
  return int(std::find(ids.begin(), ids.end(), column) - ids.begin());
}

QString WindowFixture::Cell(int row, int column) const {
  const FileListModel& list = window->FileList();
  return list.data(list.index(row, Section(column)), Qt::DisplayRole).toString();
}

}  // namespace kadrel::test
