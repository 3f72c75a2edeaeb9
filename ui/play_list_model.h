#pragma once
// The play list as a table: one row per item of the list, the columns in the stored
// order, the ListPlay mark (playing, next, played) as the picture of the first column.
// The list belongs to the pane; whoever changes it calls Refresh().

#include <array>
#include <vector>

#include <QAbstractTableModel>
#include <QIcon>

#include "catalog/options.h"
#include "catalog/pl_music_info.h"

namespace kadrel {

class PlayListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit PlayListModel(const TPLInfo& list, QObject* parent = nullptr);

  // Column ids (1..13) in display order; unknown ids and repeats are dropped, and an
  // empty result gives the default columns.
  void SetColumns(const std::vector<int>& ids);
  const std::vector<int>& Columns() const { return columns_; }
  void SetOptions(const TListViewOption& options);
  // Pictures for marks 0 (playing), 1 (next) and 2 (played).
  void SetMarkIcons(std::array<QIcon, 3> icons) { marks_ = std::move(icons); }

  // Re-reads every row.
  void Refresh();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  static constexpr int kMarkRole = Qt::UserRole + 1;

 private:
  const TPLInfo& list_;
  std::vector<int> columns_;
  TListViewOption options_;
  std::array<QIcon, 3> marks_;
  int rows_ = 0;  // rows the view knows of
};

}  // namespace kadrel
