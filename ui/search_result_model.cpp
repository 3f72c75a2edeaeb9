#include "ui/search_result_model.h"

#include <algorithm>

#include <QApplication>
#include <QBrush>
#include <QPalette>
#include <QStyle>

#include "base/encoding.h"
#include "catalog/column_ids.h"
#include "catalog/column_text.h"
#include "sorting/column_tables.h"
#include "ui/texts.h"

namespace kadrel {
namespace {

constexpr const char* kFolderHeader = "Folder";
constexpr const char* kFolderGone = "このフォルダは存在しません";

QString Display(const std::string& bytes) { return QString::fromStdString(DisplayText(bytes)); }

// Size and date compare as numbers, everything else as text.
int64_t NumberKey(const SearchHit& h, int id) {
  if (id == kColSize) return h.record.Size;
  if (id == kColInfo) return h.record.Info;
  return static_cast<int64_t>(h.record.DosDate) << 16 | h.record.DosTime;
}

}  // namespace

SearchResultModel::SearchResultModel(QObject* parent) : QAbstractTableModel(parent) {}

void SearchResultModel::SetColumns(std::vector<int> ids) {
  beginResetModel();
  columns_ = std::move(ids);
  endResetModel();
}

void SearchResultModel::Clear() {
  beginResetModel();
  hits_.clear();
  endResetModel();
}

void SearchResultModel::Append(std::vector<SearchHit>&& hits) {
  if (hits.empty()) return;
  if (sortColumn_ >= 0) {
    // A sorted list stays sorted while hits come in.
    for (auto& h : hits) hits_.push_back(std::move(h));
    sort(sortColumn_, sortOrder_);
    return;
  }
  const int first = Count();
  beginInsertRows({}, first, first + static_cast<int>(hits.size()) - 1);
  for (auto& h : hits) hits_.push_back(std::move(h));
  endInsertRows();
}

int SearchResultModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Count(); }

int SearchResultModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QString SearchResultModel::Text(const SearchHit& hit, int id) const {
  if (id == kFolderColumn) return Display(hit.folder);
  return Display(ColumnText(hit.record, id, options_));
}

QVariant SearchResultModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= Count() || index.column() >= columnCount()) return {};
  const SearchHit& hit = Hit(index.row());
  const int id = columns_[static_cast<size_t>(index.column())];
  switch (role) {
    case Qt::DisplayRole:
      return Text(hit, id);
    case Qt::TextAlignmentRole:
      return id == kColSize ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    case Qt::ForegroundRole:
      if (!hit.folderExists) return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
      return {};
    case Qt::DecorationRole:
      if (id == kFolderColumn && !hit.folderExists)
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
      return {};
    case Qt::ToolTipRole:
      if (!hit.folderExists) return text::U(kFolderGone);
      return {};
    default:
      return {};
  }
}

QVariant SearchResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
  const int id = columns_[static_cast<size_t>(section)];
  if (id == kFolderColumn) return QString::fromLatin1(kFolderHeader);
  const TColumnInfo* info = FindColumn(ListKind::FileList, id);
  return info ? QString::fromLatin1(info->Header) : QVariant();
}

void SearchResultModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= columnCount()) return;
  sortColumn_ = column;
  sortOrder_ = order;
  const int id = columns_[static_cast<size_t>(column)];
  const bool numeric = id == kColSize || id == kColDate || id == kColInfo;
  // Keys once per sort, not once per comparison.
  std::vector<std::pair<QString, size_t>> keys;
  keys.reserve(hits_.size());
  for (size_t i = 0; i < hits_.size(); ++i) keys.emplace_back(numeric ? QString() : Text(hits_[i], id), i);
  auto less = [&](const auto& a, const auto& b) {
    int c = 0;
    if (numeric) {
      const int64_t x = NumberKey(hits_[a.second], id), y = NumberKey(hits_[b.second], id);
      c = x < y ? -1 : x > y ? 1 : 0;
    } else {
      c = QString::localeAwareCompare(a.first, b.first);
    }
    return order == Qt::AscendingOrder ? c < 0 : c > 0;
  };
  std::stable_sort(keys.begin(), keys.end(), less);
  beginResetModel();
  std::vector<SearchHit> sorted;
  sorted.reserve(hits_.size());
  for (const auto& k : keys) sorted.push_back(std::move(hits_[k.second]));
  hits_ = std::move(sorted);
  endResetModel();
}

}  // namespace kadrel
