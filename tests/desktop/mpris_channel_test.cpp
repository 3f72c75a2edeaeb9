// Conversations with a stand-in MPRIS player on a private session bus: the file handed
// over, status delivery, pause both ways, stop and quit, the player moving on or leaving,
// and the choice of the bus name that our player owns.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>
#include <mutex>

#include "desktop_wait.h"
#include "platform/dbus_calls.h"
#include "platform/player_channel_factory.h"
#include "support/recording_box.h"

namespace kadrel::test {
namespace {

const std::string kFakeProgram = "/usr/local/bin/kadrel_fake_mpris_player";

class MprisChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!SessionBusAvailable()) GTEST_SKIP() << "no session bus (run under dbus-run-session)";
    static int counter = 0;
    name_ = QStringLiteral("kadrelfake%1").arg(++counter);
    ConversationServices services;
    services.box = &box;
    services.pauseControl = [this](PauseControl c) {
      std::lock_guard lock(mutex_);
      controls_.push_back(c);
    };
    factory_ = std::make_unique<PlayerChannelFactory>(
        services, std::vector<MprisPlayerProgram>{{"kadrel_fake_mpris_player", BusPrefix()}});
  }
  void TearDown() override {
    for (auto& fake : fakes_) {
      fake->kill();
      fake->waitForFinished(3000);
    }
  }

  QString BusPrefix() const { return QStringLiteral("org.mpris.MediaPlayer2.") + name_; }

  // Starts a stand-in player and waits until it owns its name; returns its index.
  int StartFake(const QStringList& options = {}) {
    auto fake = std::make_unique<QProcess>();
    const QString log = dir_.filePath(QStringLiteral("fake%1.log").arg(fakes_.size()));
    fake->start(QStringLiteral(KADREL_FAKE_PLAYER), QStringList{name_, log} + options);
    EXPECT_TRUE(fake->waitForStarted(5000));
    const auto pid = static_cast<pid_t>(fake->processId());
    EXPECT_TRUE(ServiceUntil([&] {
      for (const QString& n : NamesWithPrefix(BusPrefix()))
        if (NameOwnerPid(n) == pid) return true;
      return false;
    }));
    fakes_.push_back(std::move(fake));
    logs_.push_back(log);
    return static_cast<int>(fakes_.size()) - 1;
  }
  bool Finished(int fake) const { return fakes_[fake]->state() == QProcess::NotRunning; }
  void Kill(int fake) { fakes_[fake]->kill(); }
  pid_t Pid(int fake) const { return static_cast<pid_t>(fakes_[fake]->processId()); }
  QStringList Log(int fake) const {
    QFile file(logs_[fake]);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }
  // What the user does in the player's own window.
  void PlayerSets(int fake, const QString& method, const QString& value) {
    QString name;
    for (const QString& n : NamesWithPrefix(BusPrefix()))
      if (NameOwnerPid(n) == Pid(fake)) name = n;
    ASSERT_TRUE(CallMethod(name, kMprisPath, QStringLiteral("org.kadrel.FakePlayer"), method, {value}, 3000));
  }
  bool Saw(PauseControl c) {
    std::lock_guard lock(mutex_);
    return std::find(controls_.begin(), controls_.end(), c) != controls_.end();
  }
  std::unique_ptr<IPlayerChannel> Begin(int fake, const std::string& file, int flags = kChannelNormalPlay) {
    auto channel = factory_->Create(kFakeProgram);
    channel->Start(ChannelPlay{kFakeProgram, file, "", flags, Pid(fake)});
    return channel;
  }

  RecordingMessageBox box;
  std::unique_ptr<PlayerChannelFactory> factory_;

 private:
  QTemporaryDir dir_;
  QString name_;
  std::vector<std::unique_ptr<QProcess>> fakes_;
  QStringList logs_;
  std::mutex mutex_;
  std::vector<PauseControl> controls_;
};

TEST_F(MprisChannelTest, PlaysPausesBothWaysStopsAndQuits) {
  const int fake = StartFake();
  auto channel = Begin(fake, "/music/春 1.mid");
  ASSERT_TRUE(ServiceUntil([&] { return channel->State() == PlayerState::Playing && Saw(PauseControl::Enable); }));
  ASSERT_FALSE(Log(fake).isEmpty());
  EXPECT_EQ(Log(fake).first(), QStringLiteral("OpenUri file:///music/%E6%98%A5%201.mid"));

  PlayerSets(fake, QStringLiteral("SetStatus"), QStringLiteral("Paused"));
  ASSERT_TRUE(ServiceUntil([&] { return Saw(PauseControl::ShowPressed); }));
  PlayerSets(fake, QStringLiteral("SetStatus"), QStringLiteral("Playing"));
  ASSERT_TRUE(ServiceUntil([&] { return Saw(PauseControl::ShowReleased); }));

  channel->Pause();
  ASSERT_TRUE(ServiceUntil([&] { return Log(fake).contains(QStringLiteral("Pause")); }));
  channel->Resume();
  ASSERT_TRUE(ServiceUntil([&] { return Log(fake).contains(QStringLiteral("Play")); }));

  channel->Stop(true);
  ASSERT_TRUE(ServiceUntil([&] { return !channel->Running(); }));
  const QStringList log = Log(fake);
  EXPECT_EQ(log.mid(log.size() - 2), (QStringList{QStringLiteral("Stop"), QStringLiteral("Quit")}));
  EXPECT_TRUE(ServiceUntil([&] { return Finished(fake); }));
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(MprisChannelTest, EndsWhenThePlayerStopsOrMovesOnToAnotherFile) {
  const int fake = StartFake();
  auto channel = Begin(fake, "/music/a.mid");
  ASSERT_TRUE(ServiceUntil([&] { return channel->State() == PlayerState::Playing; }));
  PlayerSets(fake, QStringLiteral("SetStatus"), QStringLiteral("Stopped"));
  ASSERT_TRUE(ServiceUntil([&] { return !channel->Running(); }));

  auto next = Begin(fake, "/music/b.mid");
  ASSERT_TRUE(ServiceUntil([&] { return next->State() == PlayerState::Playing; }));
  PlayerSets(fake, QStringLiteral("SetUrl"), QStringLiteral("file:///music/someone-else.mp3"));
  ASSERT_TRUE(ServiceUntil([&] { return !next->Running(); }));
  EXPECT_FALSE(Log(fake).contains(QStringLiteral("Stop")));  // ended by the player: nothing sent
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(MprisChannelTest, TalksToTheNameOwnedByOurPlayer) {
  const int other = StartFake();
  const int ours = StartFake({QStringLiteral("--instance")});
  auto channel = Begin(ours, "/music/a.mid");
  ASSERT_TRUE(ServiceUntil([&] { return channel->State() == PlayerState::Playing; }));
  EXPECT_TRUE(Log(other).isEmpty());
  channel->Stop(false);
  ASSERT_TRUE(ServiceUntil([&] { return !channel->Running(); }));
}

TEST_F(MprisChannelTest, PlayerLeavingDuringListPlayAsksWhetherToGoOn) {
  const int fake = StartFake();
  auto channel = Begin(fake, "/music/a.mid", kChannelListPlay);
  ASSERT_TRUE(ServiceUntil([&] { return channel->State() == PlayerState::Playing; }));
  Kill(fake);
  ASSERT_TRUE(ServiceUntil([&] { return !channel->Running(); }));
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, "Error(71) : ServerApplication Disconnect\nPlayerが終了しました.ListPlayを続行しますか？");
}

TEST_F(MprisChannelTest, FactoryProbesAndQuitsRunningPlayers) {
  EXPECT_TRUE(factory_->SpeaksChannel("/opt/wine/MPVG.EXE"));
  EXPECT_TRUE(factory_->SpeaksChannel(kFakeProgram));
  EXPECT_FALSE(factory_->SpeaksChannel("/usr/bin/mpv"));
  EXPECT_EQ(factory_->Create("/usr/bin/timidity"), nullptr);
  EXPECT_FALSE(factory_->IsRunning("/opt/wine/DPW.EXE"));  // cannot be reached from here
  EXPECT_FALSE(factory_->SendQuit("/opt/wine/DPW.EXE"));

  EXPECT_FALSE(factory_->IsRunning(kFakeProgram));
  const int fake = StartFake();
  EXPECT_TRUE(factory_->IsRunning(kFakeProgram));
  EXPECT_TRUE(factory_->SendQuit(kFakeProgram));
  EXPECT_TRUE(ServiceUntil([&] { return !factory_->IsRunning(kFakeProgram); }));
  EXPECT_EQ(Log(fake), QStringList{QStringLiteral("Quit")});
}

}  // namespace
}  // namespace kadrel::test
