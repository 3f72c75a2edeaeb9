#include "ui/play_list_model.h"

#include <algorithm>

#include "base/encoding.h"
#include "catalog/column_ids.h"
#include "sorting/column_tables.h"
#include "sorting/playlist_column_text.h"

namespace kadrel {

PlayListModel::PlayListModel(const TPLInfo& list, QObject* parent) : QAbstractTableModel(parent), list_(list) {
  SetColumns({});
  rows_ = static_cast<int>(list_.Items.size());
}

void PlayListModel::SetColumns(const std::vector<int>& ids) {
  std::vector<int> kept;
  for (int id : ids)
    if (FindColumn(ListKind::PlayList, id) && std::find(kept.begin(), kept.end(), id) == kept.end()) kept.push_back(id);
  if (kept.empty()) kept.assign(std::begin(kDefaultPlayListColumns), std::end(kDefaultPlayListColumns));
  beginResetModel();
  columns_ = std::move(kept);
  rows_ = static_cast<int>(list_.Items.size());
  endResetModel();
}

void PlayListModel::SetOptions(const TListViewOption& options) {
  options_ = options;
  if (rows_ > 0) Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
}

void PlayListModel::Refresh() {
  beginResetModel();
  rows_ = static_cast<int>(list_.Items.size());
  endResetModel();
}

int PlayListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int PlayListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant PlayListModel::data(const QModelIndex& index, int role) const {
  // The list may have changed under the view before Refresh(): rows beyond it are empty.
  if (!index.isValid() || index.row() >= rows_ || index.row() >= static_cast<int>(list_.Items.size()) ||
      index.column() >= columnCount())
    return {};
  const TPLMusicInfo& item = *list_.Items[static_cast<size_t>(index.row())];
  const int column = columns_[static_cast<size_t>(index.column())];
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(DisplayText(PlayListColumnText(item, column, options_, list_.BaseFolder)));
    case Qt::DecorationRole:
      if (index.column() == 0 && item.Mark >= 0 && item.Mark <= 2) return marks_[static_cast<size_t>(item.Mark)];
      return {};
    case Qt::TextAlignmentRole: {
      const TColumnInfo* info = FindColumn(ListKind::PlayList, column);
      const bool right = info && info->Align == ColumnAlign::Right;
      return QVariant(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
    }
    case kMarkRole: return item.Mark;
    default: return {};
  }
}

QVariant PlayListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount() || role != Qt::DisplayRole) return {};
  const TColumnInfo* info = FindColumn(ListKind::PlayList, columns_[static_cast<size_t>(section)]);
  return info ? QString::fromLatin1(info->Header) : QVariant();
}

Qt::ItemFlags PlayListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
}

}  // namespace kadrel
