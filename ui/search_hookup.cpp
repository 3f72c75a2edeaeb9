#include "ui/search_hookup.h"

#include <cstdio>

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTimer>

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "base/path_helpers.h"
#include "search/index_snapshot.h"
#include "ui/main_window.h"
#include "ui/search_window.h"
#include "ui/texts.h"

namespace kadrel {
namespace {

// The row of the hit in the file list: same name, archive and format (the extension
// on disk may differ in case from the one the index rebuilds).
int RowOfHit(MainWindow& window, const TMusicFileInfo& item) {
  FileListModel& list = window.FileList();
  for (int row = 0; row < list.Count(); ++row) {
    const TMusicFileInfo& r = list.Record(row);
    if (r.IsFile() && r.FileName == item.FileName && r.Archiver == item.Archiver && r.FileType == item.FileType)
      return row;
  }
  return -1;
}

void FocusHit(MainWindow& window, const TMusicFileInfo& item) {
  const int row = RowOfHit(window, item);
  if (row < 0) return;
  window.FocusRow(row);
  FileListView& view = window.FileListWidget();
  view.selectionModel()->select(window.FileList().index(row, 0),
                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  window.raise();
  window.activateWindow();
  view.setFocus();
}

}  // namespace

bool OpenHitInMainWindow(MainWindow& window, const SearchHit& hit) {
  const std::string folder = WithTrailingSlash(hit.folder);
  if (!FolderExists(folder)) return false;
  window.OpenPath(folder);
  if (window.CurrentFolder() != folder) return false;
  const TMusicFileInfo item = hit.record;
  if (!window.Scan().ScanRunning()) {
    FocusHit(window, item);
  } else {
    QObject::connect(
        &window, &MainWindow::passFinished, &window, [&window, item] { FocusHit(window, item); },
        Qt::SingleShotConnection);
  }
  return true;
}

SearchWindow& IndexSearchWindow(MainWindow& window) {
  if (auto* existing = window.findChild<SearchWindow*>()) return *existing;
  auto* search = new SearchWindow(
      [&window] { return IndexFilesIn(window.Index().Options().IndexFolder); }, &window);
  search->SetColumns(window.FileList().Columns(), window.Settings().scan.view);
  QObject::connect(search, &SearchWindow::openRequested, &window, [&window, search](const SearchHit& hit) {
    if (!OpenHitInMainWindow(window, hit)) {
      QApplication::beep();
      search->ShowNote(text::U(text::kFolderMissingPrefix) + QString::fromStdString(DisplayText(hit.folder)) +
                       text::U(text::kFolderMissingSuffix));
    }
  });
  // A hit plays like a file-list item of its folder (the record is a copy).
  QObject::connect(search, &SearchWindow::playRequested, &window, [&window](const SearchHit& hit) {
    window.Player().PlayBest(hit.record, WithTrailingSlash(hit.folder));
  });
  // Adding to the play list belongs to the play-list pane: it connects to
  // addToPlayListRequested.
  return *search;
}

void ConnectIndexSearch(MainWindow& window) {
  const MainActions& actions = window.Actions();
  for (QAction* action : {actions.indexFind, actions.indexFindButton}) {
    action->setEnabled(true);
    QObject::connect(action, &QAction::triggered, &window, [&window] {
      SearchWindow& search = IndexSearchWindow(window);
      search.show();
      search.raise();
      search.activateWindow();
      search.QueryField().setFocus();
      search.QueryField().selectAll();
    });
  }
}

void ScreenshotSearchWindow(MainWindow& window, const QString& text, const QString& file) {
  QObject::connect(
      &window, &MainWindow::passFinished, &window,
      [&window, text, file] {
        window.Actions().indexFind->trigger();
        SearchWindow& search = IndexSearchWindow(window);
        search.resize(900, 360);
        QObject::connect(
            &search, &SearchWindow::searchFinished, &window,
            [&window, &search, file] {
              search.Results().header()->resizeSections(QHeaderView::ResizeToContents);
              QTimer::singleShot(500, &window, [&window, &search, file] {
                if (!search.grab().save(file)) std::fprintf(stderr, "kadrel: cannot write the screenshot\n");
                window.close();
              });
            },
            Qt::SingleShotConnection);
        search.QueryField().setText(text);
        search.SearchNow();
      },
      Qt::SingleShotConnection);
}

}  // namespace kadrel
