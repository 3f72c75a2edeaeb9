#pragma once
// The hits of the search window as a table: the file list's columns plus the folder.
// Hits arrive in batches while the search runs; a header click sorts them.

#include <vector>

#include <QAbstractTableModel>

#include "catalog/options.h"
#include "search/index_search.h"

namespace kadrel {

class SearchResultModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The column id of the folder; the others are file-list column ids (1..12).
  static constexpr int kFolderColumn = 0;

  explicit SearchResultModel(QObject* parent = nullptr);

  // Column ids in display order.
  void SetColumns(std::vector<int> ids);
  const std::vector<int>& Columns() const { return columns_; }
  void SetOptions(const TListViewOption& options) { options_ = options; }

  void Clear();
  void Append(std::vector<SearchHit>&& hits);
  int Count() const { return static_cast<int>(hits_.size()); }
  const SearchHit& Hit(int row) const { return hits_[static_cast<size_t>(row)]; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void sort(int column, Qt::SortOrder order) override;

 private:
  QString Text(const SearchHit& hit, int id) const;

  std::vector<SearchHit> hits_;
  std::vector<int> columns_;
  TListViewOption options_;
  int sortColumn_ = -1;
  Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace kadrel
