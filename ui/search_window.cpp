#include "ui/search_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QVBoxLayout>

#include "catalog/column_ids.h"
#include "catalog/format_table.h"
#include "search/search_text.h"
#include "ui/texts.h"

namespace kadrel {
namespace {

using text::U;

constexpr int kDebounceMs = 250;
// More hits than anyone reads; the rest of a search that finds this many is not shown.
constexpr size_t kMaxHits = 10000;

constexpr const char* kFieldCaptions[kSearchFieldCount] = {"ファイル名", "タイトル", "アーティスト", "アルバム",
                                                           "作曲者",     "作詞者",   "データ作成者"};

}  // namespace

SearchWindow::SearchWindow(IndexFiles files, QWidget* parent)
    : QWidget(parent, Qt::Window), files_(std::move(files)) {
  setWindowTitle(U("Indexを使用した検索"));
  setAccessibleName(U("Indexを使用した検索"));
  resize(760, 420);

  query_.setPlaceholderText(U("検索する語（スペースで区切るとすべてを含むもの）"));
  query_.setAccessibleName(U("検索する語"));
  query_.setClearButtonEnabled(true);
  fields_.addItem(U("すべての項目"), QVariant::fromValue(kAllSearchFields));
  for (int f = 0; f < kSearchFieldCount; ++f)
    fields_.addItem(U(kFieldCaptions[f]), QVariant::fromValue(FieldBit(static_cast<SearchField>(f))));
  fields_.setAccessibleName(U("検索する項目"));
  formats_.addItem(U("すべての形式"), QVariant::fromValue(0u));
  for (int row = 0; row < kFormatCount; ++row)
    formats_.addItem(QString::fromLatin1(kFormatTable[static_cast<size_t>(row)].Code.data(),
                                         static_cast<qsizetype>(kFormatTable[static_cast<size_t>(row)].Code.size())),
                     QVariant::fromValue(1u << row));
  formats_.setAccessibleName(U("ファイルの形式"));

  results_.setModel(&model_);
  results_.setRootIsDecorated(false);
  results_.setUniformRowHeights(true);
  results_.setSortingEnabled(true);
  results_.header()->setSortIndicatorShown(false);
  results_.setSelectionBehavior(QAbstractItemView::SelectRows);
  results_.setContextMenuPolicy(Qt::CustomContextMenu);
  results_.setAccessibleName(U("検索結果"));
  results_.installEventFilter(this);
  status_.setAccessibleName(U("検索の状態"));

  auto* controls = new QHBoxLayout;
  controls->addWidget(&query_, 1);
  controls->addWidget(&fields_);
  controls->addWidget(&formats_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(&results_, 1);
  layout->addWidget(&status_);

  debounce_.setSingleShot(true);
  debounce_.setInterval(kDebounceMs);
  connect(&debounce_, &QTimer::timeout, this, &SearchWindow::SearchNow);
  connect(&query_, &QLineEdit::textChanged, &debounce_, qOverload<>(&QTimer::start));
  connect(&fields_, &QComboBox::currentIndexChanged, this, &SearchWindow::SearchNow);
  connect(&formats_, &QComboBox::currentIndexChanged, this, &SearchWindow::SearchNow);
  connect(&query_, &QLineEdit::returnPressed, this, [this] {
    if (debounce_.isActive()) SearchNow();
  });
  connect(&results_, &QAbstractItemView::activated, this, [this] {
    if (const SearchHit* hit = CurrentHit()) Q_EMIT openRequested(*hit);
  });
  connect(&results_, &QWidget::customContextMenuRequested, this, &SearchWindow::ShowPopup);
  setWindowModality(Qt::NonModal);
}

SearchWindow::~SearchWindow() {
  StopSearch();
  for (Worker& w : retired_) w.thread.join();
}

void SearchWindow::SetColumns(const std::vector<int>& fileListColumns, const TListViewOption& options) {
  // The file name first, then where it lies, then the rest of the main list's columns.
  std::vector<int> ids{kColFileName, SearchResultModel::kFolderColumn};
  for (int id : fileListColumns)
    if (id != kColFileName && id >= 1 && id <= kFileListColumnCount) ids.push_back(id);
  model_.SetOptions(options);
  model_.SetColumns(std::move(ids));
}

void SearchWindow::StopSearch() {
  searching_ = false;
  std::erase_if(retired_, [](Worker& w) {
    if (!w.done->load()) return false;
    w.thread.join();
    return true;
  });
  if (!worker_.thread.joinable()) return;
  worker_.stop->store(true);
  retired_.push_back(std::move(worker_));
  worker_ = Worker{};
}

void SearchWindow::SearchNow() {
  debounce_.stop();
  StopSearch();
  const uint64_t generation = ++generation_;
  model_.Clear();
  SearchQuery query;
  query.text = query_.text().toStdString();
  query.fields = fields_.currentData().toUInt();
  query.formats = formats_.currentData().toUInt();
  if (QueryWords(query.text).empty()) {
    status_.clear();
    Q_EMIT searchFinished(0);
    return;
  }
  status_.setText(U("検索中.."));
  searching_ = true;
  worker_.stop = std::make_shared<std::atomic<bool>>(false);
  worker_.done = std::make_shared<std::atomic<bool>>(false);
  worker_.thread = std::thread([this, query, generation, stop = worker_.stop, done = worker_.done, files = files_()] {
    SearchRun run;
    run.stop = stop.get();
    run.maxHits = kMaxHits;
    const SearchOutcome outcome = IndexSearch(cache_).Run(query, files, [&](std::vector<SearchHit>&& hits) {
      auto batch = std::make_shared<std::vector<SearchHit>>(std::move(hits));
      QMetaObject::invokeMethod(
          this, [this, generation, batch] {
            if (generation == generation_) model_.Append(std::move(*batch));
          },
          Qt::QueuedConnection);
    });
    if (!stop->load())
      QMetaObject::invokeMethod(this, [this, generation, outcome] { Finished(generation, outcome); },
                                Qt::QueuedConnection);
    done->store(true);
  });
}

void SearchWindow::Finished(uint64_t generation, const SearchOutcome& outcome) {
  if (generation != generation_) return;
  searching_ = false;
  QString text = U("%1 件").arg(outcome.hits);
  if (outcome.truncated) text = U("%1 件を超えたため、ここまでを表示しています").arg(outcome.hits);
  if (!outcome.unreadable.empty()) text += U("  (読めないIndexファイル: %1)").arg(outcome.unreadable.size());
  status_.setText(text);
  Q_EMIT searchFinished(static_cast<int>(outcome.hits));
}

const SearchHit* SearchWindow::CurrentHit() const {
  const QModelIndex current = results_.currentIndex();
  if (!current.isValid() || current.row() >= model_.Count()) return nullptr;
  return &model_.Hit(current.row());
}

void SearchWindow::ShowPopup(const QPoint& pos) {
  const SearchHit* hit = CurrentHit();
  if (!hit) return;
  const SearchHit chosen = *hit;
  QMenu menu(this);
  QAction* open = menu.addAction(U("フォルダを開く(&O)"));
  QAction* add = menu.addAction(U("PlayListに追加(&A)"));
  QAction* play = menu.addAction(U("最適なPlayerで演奏(&P)"));
  // Only what somebody listens to is offered.
  add->setEnabled(isSignalConnected(QMetaMethod::fromSignal(&SearchWindow::addToPlayListRequested)));
  play->setEnabled(isSignalConnected(QMetaMethod::fromSignal(&SearchWindow::playRequested)));
  QAction* chosenAction = menu.exec(results_.viewport()->mapToGlobal(pos));
  if (chosenAction == open) Q_EMIT openRequested(chosen);
  if (chosenAction == add) Q_EMIT addToPlayListRequested(chosen);
  if (chosenAction == play) Q_EMIT playRequested(chosen);
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event) {
  // Enter on a hit opens it on every style (some do not activate items on Enter).
  if (watched == &results_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      if (const SearchHit* hit = CurrentHit()) Q_EMIT openRequested(*hit);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace kadrel
