#pragma once
// The file list: a table model over the records of the shown folder. Records added
// by the scan may wait at the end of the list until the view is told about them
// (Announce), so that a folder listing or a pass that shows its rows only at the end
// costs one view update, and a pass that shows rows as they come costs one update
// per announcement period rather than one (and a repaint) per row.

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <QAbstractTableModel>
#include <QIcon>
#include <QTimer>

#include "catalog/music_file_info.h"
#include "sorting/sort_list.h"
#include "catalog/sort_state.h"
#include "catalog/options.h"

namespace kadrel {

class FileListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Negative, 0 or positive, as CompareItems of the sort state.
  using Compare = std::function<int(const TMusicFileInfo&, const TMusicFileInfo&)>;
  // The record behind a row, for tests and commands.
  static constexpr int kRecordKindRole = Qt::UserRole + 1;

  explicit FileListModel(QObject* parent = nullptr);
  ~FileListModel() override;

  // Column ids (1..12) in display order.
  void SetColumns(std::vector<int> ids);
  const std::vector<int>& Columns() const { return columns_; }
  void SetOptions(const TListViewOption& options);
  void SetCompare(Compare compare) { compare_ = std::move(compare); }
  // Sorted insertion follows this state (the file list's order, with the keys of the
  // list kept between insertions); without one the comparison above decides. The
  // state must outlive the model.
  void SetSortState(const TSortState* state, bool sortOption) {
    sortState_ = state;
    sortOption_ = sortOption;
    keyCache_.Clear();
  }
  // The whole-list order (positions into `records`), when faster than comparing pairs;
  // nullopt leaves the list as it is.
  using SortOrderFn = std::function<std::optional<std::vector<size_t>>(std::span<const TMusicFileInfo* const>)>;
  void SetSortOrder(SortOrderFn order) { sortOrder_ = std::move(order); }
  void SetIcons(std::vector<QIcon> icons) { icons_ = std::move(icons); }
  // Rows appear within one announcement period without being announced explicitly.
  void SetAutoAnnounce(bool on) { autoAnnounce_ = on; }
  static constexpr int kAnnounceIntervalMs = 40;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // The list itself (records, announced or not).
  int Count() const { return static_cast<int>(records_.size()); }
  const TMusicFileInfo& Record(int index) const { return *records_[static_cast<size_t>(index)]; }
  void Append(std::unique_ptr<TMusicFileInfo> record);
  // A whole batch (an index block): one growth of the list, one announcement.
  void AppendBatch(std::vector<std::unique_ptr<TMusicFileInfo>> records);
  // Walks back from the end to the first record that does not compare above; returns the row.
  // Rows from the insertion point on are reported at once when they are visible.
  int InsertSorted(std::unique_ptr<TMusicFileInfo> record);
  void Remove(int index);
  // Replaces the record of a row (a renamed entry) and repaints it.
  void Update(int index, const TMusicFileInfo& record);
  void Clear();
  // Sorts every record (stable) and announces the list; selections follow their rows.
  // False when the order could not be made (the list stays as it was).
  bool Sort();
  // Tells the view about records it has not seen yet.
  void Announce();
  int Announced() const { return shown_; }

 private:
  void ScheduleAnnounce();

  std::vector<std::unique_ptr<TMusicFileInfo>> records_;
  int shown_ = 0;  // records_[0, shown_) are known to the view
  bool autoAnnounce_ = true;
  QTimer announceTimer_;  // single shot, started by the first record waiting
  std::vector<int> columns_;
  TListViewOption options_;
  Compare compare_;
  SortOrderFn sortOrder_;
  const TSortState* sortState_ = nullptr;
  bool sortOption_ = true;
  TSortKeyCache keyCache_;
  std::vector<QIcon> icons_;
};

}  // namespace kadrel
