// Pictures of the rename, refresh, title-editor and detail windows for the docs, made
// only when KADREL_SCREENSHOT_DIR names a folder (scripts/screenshot sets it).

#include <QDir>
#include <QTest>

#include "test_objects.h"
#include "test_support.h"
#include "ui/detail_window.h"
#include "ui/refresh_window.h"
#include "ui/rename_dialog.h"
#include "ui/title_editor.h"

namespace kadrel::test {

class WindowPicturesTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void windowPictures() {
    const QString out = qEnvironmentVariable("KADREL_SCREENSHOT_DIR");
    if (out.isEmpty()) QSKIP("KADREL_SCREENSHOT_DIR is not set");
    WindowFixture f;
    MainWindow& w = f.Open();
    auto save = [&](QWidget& widget, const char* name) {
      widget.show();
      QTest::qWait(300);
      QVERIFY(widget.grab().save(out + QLatin1Char('/') + QString::fromLatin1(name)));
    };
    RenameDialog rename(w.FileList().Record(f.RowOf("HARU", "HARUKAZE.LZH")), Bytes(f.folder), f.messages, &w);
    save(rename, "rename-window.png");
    rename.close();

    std::atomic<bool> busy{false};
    RefreshWindow refresh(w.Index(), busy, {}, {}, &w);
    save(refresh, "refresh-window.png");
    refresh.close();

    std::vector<TMusicFileInfo> entries;
    for (int i = 0; i < w.FileList().Count(); ++i) entries.push_back(w.FileList().Record(i));
    TitleEditor editor(entries, w.Index(), busy, Bytes(f.folder), {}, w.FileListWidget().font(), &w);
    save(editor, "title-editor.png");
    editor.close();

    w.FileListWidget().setCurrentIndex(w.FileList().index(f.RowOf("SONG2"), 0));
    DetailWindow* detail = w.OpenDetailWindow();
    QVERIFY(detail);
    detail->resize(620, 240);
    save(*detail, "detail-window.png");
    detail->close();
  }
};

QObject* NewWindowPicturesTest() { return new WindowPicturesTest; }

}  // namespace kadrel::test

#include "window_pictures_test.moc"
