#pragma once
// The search window: the records of every index file whose texts hold the words
// typed, as the user types. The search runs on a worker thread; its hits are handed
// to the window in batches, and a newer query stops the one before.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QTreeView>
#include <QWidget>

#include "search/index_search.h"
#include "ui/search_result_model.h"

namespace kadrel {

class SearchWindow : public QWidget {
  Q_OBJECT

 public:
  // The index files to search, asked for at each search.
  using IndexFiles = std::function<std::vector<std::string>()>;

  explicit SearchWindow(IndexFiles files, QWidget* parent = nullptr);
  ~SearchWindow() override;

  // File-list columns (ids) and display settings, as the main list has them.
  void SetColumns(const std::vector<int>& fileListColumns, const TListViewOption& options);
  // How long typing must pause before a search starts.
  void SetDebounce(int milliseconds) { debounce_.setInterval(milliseconds); }

  // Starts the search for what the controls hold now (the typing pause skipped).
  void SearchNow();
  bool Searching() const { return searching_; }
  // A note in the status line (replaced by the next search's count).
  void ShowNote(const QString& text) { status_.setText(text); }
  QLineEdit& QueryField() { return query_; }
  QComboBox& FieldFilter() { return fields_; }
  QComboBox& FormatFilter() { return formats_; }
  QTreeView& Results() { return results_; }
  SearchResultModel& Model() { return model_; }
  const SearchCache& Cache() const { return cache_; }

 Q_SIGNALS:
  // Enter or double-click on a hit: open its folder with the item focused.
  void openRequested(const SearchHit& hit);
  void addToPlayListRequested(const SearchHit& hit);
  void playRequested(const SearchHit& hit);
  // A search has ended (all hits handed over, or stopped at the limit).
  void searchFinished(int hits);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void StopSearch();
  void ShowPopup(const QPoint& pos);
  const SearchHit* CurrentHit() const;
  void Finished(uint64_t generation, const SearchOutcome& outcome);

  IndexFiles files_;
  SearchCache cache_;
  SearchResultModel model_;
  QLineEdit query_;
  QComboBox fields_;
  QComboBox formats_;
  QTreeView results_;
  QLabel status_;
  QTimer debounce_;
  // The running search, and earlier ones told to stop that may still be folding an
  // index file (the window never waits for them, only its destructor does).
  struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> stop;
    std::shared_ptr<std::atomic<bool>> done;
  };
  Worker worker_;
  std::vector<Worker> retired_;
  uint64_t generation_ = 0;
  bool searching_ = false;
};

}  // namespace kadrel
