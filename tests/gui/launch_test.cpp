// Paths and addresses given to the program (at the start and by a second start), and
// where the user's guide is found.

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/launch_arguments.h"
#include "platform/manual_location.h"
#include "test_objects.h"
#include "test_support.h"

namespace kadrel::test {
namespace {

void Touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
}

QString CurrentName(MainWindow& w) {
  const QModelIndex current = w.FileListWidget().currentIndex();
  return current.isValid() ? QString::fromStdString(w.FileList().Record(current.row()).FullName()) : QString();
}

}  // namespace

class LaunchTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void argumentsBecomeAbsolutePaths() {
    const QString cwd = QStringLiteral("/home/user/music");
    QCOMPARE(ArgumentPath(QStringLiteral("SONG1.MID"), cwd), QStringLiteral("/home/user/music/SONG1.MID"));
    QCOMPARE(ArgumentPath(QStringLiteral("../old/./A.RCP"), cwd), QStringLiteral("/home/user/old/A.RCP"));
    QCOMPARE(ArgumentPath(QStringLiteral("/abs//dir/"), cwd), QStringLiteral("/abs/dir"));
    // %U: escapes decoded, with or without a host name for this machine.
    QCOMPARE(ArgumentPath(QStringLiteral("file:///home/user/My%20Songs/%E6%98%A5.MID"), cwd),
             QString::fromUtf8("/home/user/My Songs/春.MID"));
    QCOMPARE(ArgumentPath(QStringLiteral("file://localhost/tmp/a.mpl"), cwd), QStringLiteral("/tmp/a.mpl"));
    // Options and addresses that are not files of this machine pass unchanged (a file
    // address with another host must not become a local path "/otherhost/…").
    for (const char* kept : {"--config-dir=/x", "-", "https://example.org/a.mid", "file://otherhost/share/a.mid",
                             "smb://server/music"})
      QCOMPARE(ArgumentPath(QString::fromUtf8(kept), cwd), QString::fromUtf8(kept));
  }

  void theFirstExistingPathDecides() {
    QTemporaryDir dir;
    const QString root = dir.path();
    Touch(root + QStringLiteral("/sub/SONG.MID"));
    Touch(root + QStringLiteral("/sub/LIST.MPL"));
    Touch(root + QStringLiteral("/sub/lower.mpl"));

    QVERIFY(ClassifyArguments({QStringLiteral("--screenshot=/tmp/x.png"), QStringLiteral("relative")}).kind ==
            LaunchTarget::Kind::None);
    const LaunchTarget missing = ClassifyArguments(
        {QStringLiteral("--screenshot=/tmp/x.png"), root + QStringLiteral("/missing"), root + QStringLiteral("/gone")});
    QVERIFY(missing.kind == LaunchTarget::Kind::Missing);
    QCOMPARE(missing.folder, root + QStringLiteral("/missing"));

    const LaunchTarget folder = ClassifyArguments({root + QStringLiteral("/gone.mid"), root + QStringLiteral("/sub")});
    QVERIFY(folder.kind == LaunchTarget::Kind::Folder);
    QCOMPARE(folder.folder, root + QStringLiteral("/sub"));

    const LaunchTarget file = ClassifyArguments({root + QStringLiteral("/sub/SONG.MID"), root});
    QVERIFY(file.kind == LaunchTarget::Kind::File);
    QCOMPARE(file.folder, root + QStringLiteral("/sub"));
    QCOMPARE(file.fileName, QStringLiteral("SONG.MID"));

    QVERIFY(ClassifyArguments({root + QStringLiteral("/sub/LIST.MPL")}).kind == LaunchTarget::Kind::PlayList);
    QVERIFY(ClassifyArguments({root + QStringLiteral("/sub/lower.mpl")}).kind == LaunchTarget::Kind::PlayList);
  }

  void manualIsFoundInstalledThenInTheSourceTree() {
    QTemporaryDir dir;
    const QString prefix = dir.path() + QStringLiteral("/usr");
    const QString source = dir.path() + QStringLiteral("/src/docs/manual");
    const QStringList japanese{QStringLiteral("ja-JP"), QStringLiteral("ja")};
    const QStringList english{QStringLiteral("en-GB"), QStringLiteral("en")};
    QVERIFY(QDir().mkpath(prefix + QStringLiteral("/bin")));
    QVERIFY(FindManual(prefix + QStringLiteral("/bin"), source, japanese).isEmpty());

    Touch(source + QStringLiteral("/en/index.html"));
    QCOMPARE(FindManual(prefix + QStringLiteral("/bin"), source, japanese), source + QStringLiteral("/en/index.html"));

    const QString installed = prefix + QStringLiteral("/share/doc/kadrel/manual");
    Touch(installed + QStringLiteral("/ja/index.html"));
    Touch(installed + QStringLiteral("/en/index.html"));
    QCOMPARE(FindManual(prefix + QStringLiteral("/bin"), source, japanese), installed + QStringLiteral("/ja/index.html"));
    QCOMPARE(FindManual(prefix + QStringLiteral("/bin"), source, english), installed + QStringLiteral("/en/index.html"));
    QCOMPARE(ManualLanguages({QStringLiteral("de-DE"), QStringLiteral("ja")}).first(), QStringLiteral("ja"));
    QCOMPARE(ManualLanguages({QStringLiteral("en-US"), QStringLiteral("ja")}).first(), QStringLiteral("en"));
  }

  // A file given to the running program opens its folder with the file focused; a play
  // list is focused in its folder the same way (there is no play-list pane yet).
  void aFileArgumentOpensItsFolderFocused() {
    WindowFixture f;
    MainWindow& w = f.Open();
    w.HandleArguments({f.folder + QStringLiteral("/Extra/BONUS.MID")});
    QVERIFY(f.NextPass());
    QCOMPARE(w.CurrentFolder(), Bytes(f.folder) + "Extra/");
    QCOMPARE(CurrentName(w), QStringLiteral("BONUS.MID"));

    w.HandleArguments({QStringLiteral("--ignored"), f.folder + QStringLiteral("/SAMPLES.MPL")});
    QVERIFY(f.NextPass());
    QCOMPARE(w.CurrentFolder(), Bytes(f.folder));
    QCOMPARE(CurrentName(w), QStringLiteral("SAMPLES.MPL"));
    QVERIFY(w.FileListWidget().selectionModel()->isRowSelected(w.FileListWidget().currentIndex().row()));
    QVERIFY(w.PlayListPaneWidget().isVisible());  // and the list is loaded
  }

  // A folder that is not there, or one that may not be read, is reported; the window
  // keeps the folder and list it shows. The folder shown being deleted sends the window
  // to the nearest folder still there.
  void missingUnreadableAndVanishedFolders() {
    WindowFixture f;
    MainWindow& w = f.Open();
    const int rows = w.FileList().Count();
    f.messages.texts.clear();
    w.HandleArguments({f.folder + QStringLiteral("/no such folder")});
    QCOMPARE(f.messages.texts.size(), size_t{1});
    QVERIFY(f.messages.texts[0].find("no such folder は存在しません.") != std::string::npos);
    QCOMPARE(w.CurrentFolder(), Bytes(f.folder));
    QCOMPARE(w.FileList().Count(), rows);

    if (::geteuid() != 0) {  // root reads every folder
      const QString locked = f.folder + QStringLiteral("/locked");
      QVERIFY(QDir().mkdir(locked));
      QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
      w.OpenPath(Bytes(locked));
      QVERIFY(f.messages.texts.back().find("読む権限がありません") != std::string::npos);
      QCOMPARE(w.CurrentFolder(), Bytes(f.folder));
      QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    const QString deep = f.folder + QStringLiteral("/Extra/inner");
    QVERIFY(QDir().mkpath(deep));
    w.OpenPath(Bytes(deep));
    QVERIFY(f.NextPass());
    QVERIFY(QDir(f.folder + QStringLiteral("/Extra")).removeRecursively());
    QVERIFY(w.LeaveVanishedFolder());
    QVERIFY(f.NextPass());
    QCOMPARE(w.CurrentFolder(), Bytes(f.folder));
  }

  void aFileNamedAtTheStartIsFocusedAfterTheFirstPass() {
    WindowFixture f;
    MainWindow& w = f.Make();
    w.OpenFolderFocused(Bytes(f.folder), "SONG2.MID");
    f.Open();
    QCOMPARE(CurrentName(w), QStringLiteral("SONG2.MID"));
  }

  void contentsAndF1OpenTheManual() {
    WindowFixture f;
    MainWindow& w = f.Open();
    int opened = 0;
    w.onOpenManual = [&opened] { ++opened; };
    w.Actions().contents->trigger();
    QTest::keyClick(&w.FileListWidget(), Qt::Key_F1);
    QCOMPARE(opened, 2);
  }
};

QObject* NewLaunchTest() { return new LaunchTest; }

}  // namespace kadrel::test

#include "launch_test.moc"
