// Window bridge, single instance, folder watcher, temporary-folder cleanup.

#include <csignal>

#include <atomic>
#include <thread>

#include <QMessageBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "platform/qt_translations.h"
#include "platform/folder_watcher.h"
#include "platform/qt_window_bridge.h"
#include "platform/single_instance.h"
#include "platform/temp_folder.h"
#include "platform/termination_signals.h"
#include "ui/tray_rules.h"
#include "test_objects.h"
#include "test_support.h"

namespace kadrel::test {

class PlatformTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // A logout's SIGTERM and a terminal's Ctrl+C arrive as a signal on the main thread,
  // where the window closes normally; the process is not ended by the default action.
  void terminationSignalsReachTheMainThread() {
    TerminationSignals terminations;
    QSignalSpy spy(&terminations, &TerminationSignals::received);
    ::raise(SIGTERM);
    ::raise(SIGINT);
    QVERIFY(WaitUntil([&] { return spy.size() == 2; }));
    QCOMPARE(spy.at(0).at(0).toInt(), SIGTERM);
    QCOMPARE(spy.at(1).at(0).toInt(), SIGINT);
  }

  // The window leaves the task bar only while a tray icon can bring it back.
  void trayDecision() {
    TWindowOption option;
    option.TrayIcon = true;
    option.TrayAlways = false;
    option.TrayHideTaskbar = true;
    QVERIFY(DecideTray(option, true, true).hideWindow);
    QVERIFY(DecideTray(option, true, true).showIcon);
    QVERIFY(!DecideTray(option, true, false).showIcon);
    QVERIFY(!DecideTray(option, false, true).hideWindow);
    option.TrayIcon = false;
    QVERIFY(!DecideTray(option, true, true).hideWindow);
    QVERIFY(!DecideTray(option, true, true).showIcon);
  }

  void standardButtonsSpeakJapanese() {
    QVERIFY(InstallQtJapaneseTranslations(*QCoreApplication::instance()));
    QCOMPARE(QMessageBox(QMessageBox::Question, {}, {}, QMessageBox::Yes | QMessageBox::No).button(QMessageBox::Yes)->text(),
             QStringLiteral("はい(&Y)"));
  }

  void bridgeRunsCallsOnTheWindowThread() {
    QObject window;
    QtWindowBridge bridge(&window);
    std::atomic<bool> ranOnWindowThread{false};
    std::atomic<int> answers{0};
    std::thread worker([&] {
      for (int i = 0; i < 50; ++i)
        if (bridge.RunOnWindowThread([&] { ranOnWindowThread = QThread::currentThread() == window.thread(); }))
          ++answers;
    });
    QVERIFY(WaitUntil([&] { return answers.load() == 50; }));
    worker.join();
    QVERIFY(ranOnWindowThread.load());
  }

  void bridgeReleasesWaitingWorkersWhenClosed() {
    QObject window;
    QtWindowBridge bridge(&window);
    std::atomic<bool> ran{false};
    std::atomic<int> result{-1};
    // The window's thread services nothing, as during a long close: the worker must not hang.
    std::thread worker([&] { result = bridge.RunOnWindowThread([&] { ran = true; }) ? 1 : 0; });
    QThread::msleep(50);
    bridge.Close();
    worker.join();
    QCOMPARE(result.load(), 0);
    QCoreApplication::processEvents();
    QVERIFY(!ran.load());  // a call given up is never run later
    QVERIFY(!bridge.RunOnWindowThread([] {}));
  }

  void argumentsSurviveTheWire_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("none") << QStringList();
    QTest::newRow("blanks and quotes") << QStringList{QStringLiteral("/a folder/x \"y\".mpl"), QStringLiteral("-v")};
    QTest::newRow("japanese") << QStringList{QString::fromUtf8("/音楽/春の歌")};
  }
  void argumentsSurviveTheWire() {
    QFETCH(QStringList, arguments);
    QCOMPARE(DecodeArguments(EncodeArguments(arguments)), arguments);
  }

  void cutOffMessageDropsItsTail() {
    QByteArray message = EncodeArguments({QStringLiteral("one")}) + QByteArray("tw");
    QCOMPARE(DecodeArguments(message), QStringList{QStringLiteral("one")});
  }

  void secondStartHandsOverAndEnds() {
    const QString name = QStringLiteral("kadrel-test-handover-%1").arg(QCoreApplication::applicationPid());
    SingleInstance first(name);
    QVERIFY(first.Listen());
    QSignalSpy received(&first, &SingleInstance::argumentsReceived);

    QTemporaryDir folder;
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KADREL_INSTANCE"), name);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(env);
    // The running copy has another working folder: relative paths and file addresses
    // arrive as absolute paths.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("sub")));
    second.setWorkingDirectory(folder.path());
    second.start(QString::fromUtf8(KADREL_GUI_PATH),
                 {QStringLiteral("sub"), QUrl::fromLocalFile(folder.path() + QStringLiteral("/a b.mid")).toString()});
    QVERIFY(WaitUntil([&] { return second.state() == QProcess::NotRunning; }, 20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(WaitUntil([&] { return received.count() == 1; }));
    QCOMPARE(received.at(0).at(0).toStringList(),
             (QStringList{folder.path() + QStringLiteral("/sub"), folder.path() + QStringLiteral("/a b.mid")}));
  }

  void staleSocketIsReplaced() {
    const QString name = QStringLiteral("kadrel-test-stale-%1").arg(QCoreApplication::applicationPid());
    {
      SingleInstance crashed(name);
      QVERIFY(crashed.Listen());
    }
    // Leave a socket file behind as a crashed copy would.
    QFile stale(QDir::tempPath() + QLatin1Char('/') + name);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();
    SingleInstance next(name);
    QVERIFY(!next.HandOver({}, 200));
    QVERIFY(next.Listen());
  }

  void watcherReportsRealChangesOnly() {
    QTemporaryDir dir;
    QFile(dir.filePath(QStringLiteral("A.MID"))).open(QIODevice::WriteOnly);
    FolderWatcher watcher(50, 200);
    QSignalSpy changed(&watcher, &FolderWatcher::folderChanged);
    watcher.SetFolder(dir.path());
    watcher.SetActive(true);

    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("A.MID"))));
    QVERIFY(WaitUntil([&] { return changed.count() == 1; }, 5000));

    // A change made while paused (our own index file) is not reported afterwards.
    watcher.SetActive(false);
    QFile(dir.filePath(QStringLiteral("Kadrel.idx"))).open(QIODevice::WriteOnly);
    watcher.SetActive(true);
    QTest::qWait(400);
    QCOMPARE(changed.count(), 1);

    // A grown file is a change too.
    QFile grown(dir.filePath(QStringLiteral("Kadrel.idx")));
    QVERIFY(grown.open(QIODevice::Append));
    grown.write("x");
    grown.close();
    QVERIFY(WaitUntil([&] { return changed.count() == 2; }, 5000));

    // The listings are taken on another thread: one that ends after its watcher is
    // gone is dropped.
    {
      FolderWatcher gone(50, 200);
      gone.SetFolder(dir.path());
      gone.SetActive(true);
    }
    QTest::qWait(200);

    // A listing no longer wanted (another folder, a pass begun, the watcher gone)
    // stops part way instead of walking the rest of a large folder.
    for (int i = 0; i < 1000; ++i) QFile(dir.filePath(QStringLiteral("F%1.MID").arg(i))).open(QIODevice::WriteOnly);
    QCOMPARE(FolderWatcher::ListFolder(dir.path()).size(), 1001);
    int asked = 0;
    const auto partial = FolderWatcher::ListFolder(dir.path(), [&] { return ++asked == 2; });
    QCOMPARE(asked, 2);
    QVERIFY(partial.size() < 600);
  }

  void tempCleanupDeletesOnlyRegularFiles() {
    QTemporaryDir temp, outside;
    const QString target = outside.filePath(QStringLiteral("keep.txt"));
    QFile(target).open(QIODevice::WriteOnly);
    QFile(temp.filePath(QStringLiteral("a.mid"))).open(QIODevice::WriteOnly);
    QFile(temp.filePath(QStringLiteral("b.txt"))).open(QIODevice::WriteOnly);
    QVERIFY(QFile::link(target, temp.filePath(QStringLiteral("link.txt"))));
    QDir(temp.path()).mkdir(QStringLiteral("sub"));
    QFile(temp.filePath(QStringLiteral("sub/c.txt"))).open(QIODevice::WriteOnly);

    QCOMPARE(DeleteRegularFiles(QFile::encodeName(temp.path()).toStdString() + "/"), 2);
    QVERIFY(QFile::exists(target));
    QVERIFY(QFileInfo(temp.filePath(QStringLiteral("link.txt"))).isSymLink());
    QVERIFY(QFile::exists(temp.filePath(QStringLiteral("sub/c.txt"))));
    QCOMPARE(DeleteRegularFiles("/nonexistent/kadrel/"), 0);
  }
};

QObject* NewPlatformTest() { return new PlatformTest; }

}  // namespace kadrel::test

#include "platform_test.moc"
