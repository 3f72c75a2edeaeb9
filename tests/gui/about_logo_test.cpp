// The logo pictures, their fills and cut-out shapes, the about box and the start-up logo.

#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include "screenshots.h"
#include "test_support.h"
#include "ui/about_box.h"
#include "ui/about_lines.h"
#include "ui/logo_picture.h"
#include "ui/startup_logo.h"

namespace kadrel::test {
namespace {

constexpr QRgb kRed = kLogoKeyColour;
constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kBlue = 0xff0000ff;

int CountColour(const QImage& picture, QRgb colour) {
  int count = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) count += (picture.pixel(x, y) | 0xff000000) == colour;
  return count;
}

// A red picture with a blue ring around a red island, and a lone red pixel in the ring.
QImage RingPicture() {
  QImage picture(40, 30, QImage::Format_RGB32);
  picture.fill(kRed);
  for (int y = 8; y < 22; ++y)
    for (int x = 10; x < 30; ++x) picture.setPixel(x, y, kBlue);
  for (int y = 12; y < 18; ++y)
    for (int x = 14; x < 26; ++x) picture.setPixel(x, y, kRed);
  picture.setPixel(11, 9, kRed);
  return picture;
}

}  // namespace

class AboutLogoTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void theFillRepaintsOnlyTheSurroundConnectedToTheSeeds() {
    QImage picture = RingPicture();
    const int island = 12 * 6 + 1;
    const int surround = 40 * 30 - 20 * 14;
    QCOMPARE(FillKeyBackground(picture, kRed, kBlack), surround);
    QCOMPARE(CountColour(picture, kBlack), surround);
    QCOMPARE(CountColour(picture, kRed), island);  // the island and the lone pixel stay red
    QCOMPARE(picture.pixel(11, 9) | 0xff000000, kRed);
    // A second fill finds no red at the corners and changes nothing.
    QCOMPARE(FillKeyBackground(picture, kRed, kBlack), 0);
    // A seed outside the picture is ignored.
    QCOMPARE(SurfaceFloodFill(picture, QPoint(-1, 5), kBlue), 0);
  }

  void aCornerOfAnotherColourIsNotFilled() {
    // Blue columns split the red into a left and a right area; the right one has only
    // blue corners, so it keeps its red.
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(kRed);
    for (int y = 0; y < 10; ++y)
      for (int x = 10; x < 20; ++x)
        if (x == 10 || x >= 18 || y == 0 || y >= 8) picture.setPixel(x, y, kBlue);
    FillKeyBackground(picture, kRed, kBlack);
    QCOMPARE(CountColour(picture, kBlack), 10 * 10);
    QCOMPARE(CountColour(picture, kRed), 7 * 7);
  }

  void theCutOutLeavesOutEveryKeyPixelAndNothingElse() {
    // No red: the window stays rectangular.
    QImage plain(30, 20, QImage::Format_RGB32);
    plain.fill(kBlue);
    QCOMPARE(CutOutShape(plain, kRed, QPoint(), plain.size()), QRegion(plain.rect()));

    // A red-and-blue check pattern: 4000 runs, more than one batch.
    QImage check(100, 80, QImage::Format_RGB32);
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 100; ++x) check.setPixel(x, y, (x + y) % 2 ? kRed : kBlue);
    QCOMPARE(KeyColourRuns(check, kRed).size(), std::size_t{4000});
    const QPoint offset(3, 5);
    const QSize window(110, 90);
    const QRegion shape = CutOutShape(check, kRed, offset, window);
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 100; ++x)
        QCOMPARE(shape.contains(offset + QPoint(x, y)), (x + y) % 2 == 0);
    // The window's frame outside the picture stays.
    QVERIFY(shape.contains(QPoint(0, 0)) && shape.contains(QPoint(109, 89)));
  }

  void theLogoHasAKeyColouredSurroundAndACleanOutline() {
    QImage logo = DrawKadrelLogo();
    QCOMPARE(logo.size(), kLogoSize);
    for (QPoint corner : {QPoint(1, 1), QPoint(77, 1), QPoint(1, 75), QPoint(77, 75)})
      QCOMPARE(logo.pixel(corner) | 0xff000000, kRed);
    QVERIFY((logo.pixel(39, 38) | 0xff000000) != kRed);
    // After the about box's fills no red remains: no half-red pixels fringe the drawing
    // and no red inside it is mistaken for the surround.
    FillKeyBackground(logo, kRed, kBlack);
    QCOMPARE(CountColour(logo, kRed), 0);
    for (int y = 0; y < logo.height(); ++y)
      for (int x = 0; x < logo.width(); ++x) {
        const QColor c = QColor::fromRgb(logo.pixel(x, y));
        QVERIFY2(!(c.red() > 150 && c.green() < 60 && c.blue() < 60), "reddish fringe");
      }
  }

  void versionAndLibraryLines() {
    QCOMPARE(ProgramVersionText(68), std::string("Version 0.68"));
    QCOMPARE(ProgramVersionText(105), std::string("Version 1.05"));

    AboutFacts facts;
    facts.libraries.rcpcv = false;
    auto lines = AboutLibraryLines(facts);
    QCOMPARE(lines[1].status, std::string("は存在しません."));
    QVERIFY(lines[0].status.starts_with("Version ") && lines[0].status.ends_with(" を使用しています."));
    QCOMPARE(lines[2].status, std::string("は存在しません."));  // no knife program registered

    // A registered knife program counts only when it can be run.
    QTemporaryDir dir;
    const std::string program = QFile::encodeName(dir.filePath(QStringLiteral("smfknife"))).toStdString();
    QFile file(dir.filePath(QStringLiteral("smfknife")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    facts.knife.Use = 2;
    facts.knife.ExePath = program;
    QCOMPARE(AboutLibraryLines(facts)[2].status, std::string("は存在しません."));
    ::chmod(program.c_str(), 0755);
    QCOMPARE(AboutLibraryLines(facts)[2].status, std::string("Version smfknife を使用しています."));
    facts.knife.Use = 0;
    QCOMPARE(AboutLibraryLines(facts)[2].status, std::string("は存在しません."));
  }

  void theAboutBoxOpensFromTheHelpMenu() {
    WindowFixture f;
    MainWindow& w = f.Open();
    QVERIFY(w.Actions().about->isEnabled());
    w.Actions().about->trigger();
    TAboutBox* box = w.findChild<TAboutBox*>();
    QVERIFY(box);
    QVERIFY(WaitUntil([box] { return box->isVisible(); }));
    QCOMPARE(box->windowTitle(), QString::fromUtf8("バージョン情報"));
    QCOMPARE(box->VersionLabel().text(), QStringLiteral("Version 0.68"));
    QVERIFY(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(box->Logo().pixel(1, 1) | 0xff000000, kBlack);
    SaveShot(*box, QStringLiteral("about-box"));
    box->accept();
    QVERIFY(WaitUntil([&w] { return w.findChild<TAboutBox*>() == nullptr; }));
  }

  void theStartupLogoIsShapedAndGoesWhenTheMainWindowShows() {
    TSplashWindow logo;
    logo.ShowCentred();
    QVERIFY(logo.isVisible());
    const QRegion shape = logo.Picture().CutOutRegion();
    QVERIFY(!shape.contains(QPoint(1, 1)));  // the red corner is cut away
    QVERIFY(shape.contains(logo.rect().center()));
    QCOMPARE(logo.mask(), shape);
    SaveShapedShot(logo, QStringLiteral("startup-logo"));
    logo.Picture().SetKurinuki(false);
    QCOMPARE(logo.mask(), logo.Picture().PlainRegion());
    logo.Picture().SetKurinuki(true);

    QWidget mainWindow;
    mainWindow.setAccessibleName(QStringLiteral("main"));
    logo.HideWhenShown(&mainWindow);
    mainWindow.show();
    QVERIFY(!logo.isVisible());
  }

  void theStartupLogoHidesItselfAfterThreeSeconds() {
    TSplashWindow logo;
    logo.ShowCentred();
    QVERIFY(WaitUntil([&logo] { return !logo.isVisible(); }, TSplashWindow::kLifetimeMs + 2000));
  }
};

QObject* NewAboutLogoTest() { return new AboutLogoTest; }

}  // namespace kadrel::test

#include "about_logo_test.moc"
