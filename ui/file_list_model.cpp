#include "ui/file_list_model.h"

#include <algorithm>

#include "catalog/column_text.h"
#include "base/encoding.h"
#include "sorting/compare_items.h"

namespace kadrel {

FileListModel::FileListModel(QObject* parent) : QAbstractTableModel(parent) {
  announceTimer_.setSingleShot(true);
  announceTimer_.setInterval(kAnnounceIntervalMs);
  connect(&announceTimer_, &QTimer::timeout, this, [this] {
    if (autoAnnounce_) Announce();
  });
  // Until the window gives its own: by file name, kinds first.
  compare_ = [](const TMusicFileInfo& a, const TMusicFileInfo& b) {
    return CompareItems(a, b, TSortState{.Key = kColFileName}, true);
  };
}

FileListModel::~FileListModel() = default;

void FileListModel::SetColumns(std::vector<int> ids) {
  beginResetModel();
  columns_ = std::move(ids);
  endResetModel();
}

void FileListModel::SetOptions(const TListViewOption& options) {
  options_ = options;
  if (shown_ > 0) Q_EMIT dataChanged(index(0, 0), index(shown_ - 1, columnCount() - 1));
}

int FileListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown_; }

int FileListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= shown_ || index.column() >= columnCount()) return {};
  const TMusicFileInfo& r = *records_[static_cast<size_t>(index.row())];
  int column = columns_[static_cast<size_t>(index.column())];
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(DisplayText(ColumnText(r, column, options_)));
    case Qt::DecorationRole:
      if (column == kColFileName && options_.ShowIcons && r.IconIndex >= 0 &&
          r.IconIndex < static_cast<int>(icons_.size()))
        return icons_[static_cast<size_t>(r.IconIndex)];
      return {};
    case Qt::TextAlignmentRole:
      return column == kColSize ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case kRecordKindRole: return r.ItemKind;
    default: return {};
  }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  static const char* const kHeaders[] = {"",      "FileName", "Type",  "Archiver", "Detail",   "Info",      "Size",
                                         "Date", "Title",    "Artist", "Composer", "SongWriter", "DataMaker"};
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  int column = columns_[static_cast<size_t>(section)];
  if (role == Qt::DisplayRole && column >= 1 && column <= kFileListColumnCount) return QString::fromLatin1(kHeaders[column]);
  if (role == Qt::TextAlignmentRole)
    return column == kColSize ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

void FileListModel::ScheduleAnnounce() {
  // Rows arrive one per event-loop turn while a pass runs; telling the view of each
  // at once would repaint the list once per row.
  if (autoAnnounce_ && !announceTimer_.isActive()) announceTimer_.start();
}

void FileListModel::Announce() {
  int total = Count();
  if (total <= shown_) return;
  beginInsertRows({}, shown_, total - 1);
  shown_ = total;
  endInsertRows();
}

void FileListModel::Append(std::unique_ptr<TMusicFileInfo> record) {
  if (!record) return;
  records_.push_back(std::move(record));
  ScheduleAnnounce();
}

void FileListModel::AppendBatch(std::vector<std::unique_ptr<TMusicFileInfo>> records) {
  records_.reserve(records_.size() + records.size());
  for (auto& r : records)
    if (r) records_.push_back(std::move(r));
  ScheduleAnnounce();
}

int FileListModel::InsertSorted(std::unique_ptr<TMusicFileInfo> record) {
  if (!record) return -1;
  int pos = Count();
  if (sortState_) {
    pos = static_cast<int>(SortedInsert(records_, std::move(record), *sortState_, sortOption_, &keyCache_));
    if (pos > shown_) {
      ScheduleAnnounce();
      return pos;
    }
    // The view must hear of a visible row before it exists: take it out again and put
    // it back between the notifications (the key cache sees the same list afterwards).
    record = std::move(records_[static_cast<size_t>(pos)]);
    records_.erase(records_.begin() + pos);
  } else {
    while (pos > 0 && compare_(*records_[static_cast<size_t>(pos - 1)], *record) > 0) --pos;
  }
  if (pos <= shown_) {
    beginInsertRows({}, pos, pos);
    records_.insert(records_.begin() + pos, std::move(record));
    ++shown_;
    endInsertRows();
  } else {
    records_.insert(records_.begin() + pos, std::move(record));
    ScheduleAnnounce();
  }
  return pos;
}

void FileListModel::Remove(int index) {
  if (index < 0 || index >= Count()) return;
  if (index < shown_) {
    beginRemoveRows({}, index, index);
    records_.erase(records_.begin() + index);
    --shown_;
    endRemoveRows();
  } else {
    records_.erase(records_.begin() + index);
  }
}

void FileListModel::Update(int index, const TMusicFileInfo& record) {
  if (index < 0 || index >= Count()) return;
  *records_[static_cast<size_t>(index)] = record;
  keyCache_.Clear();
  if (index < shown_) Q_EMIT dataChanged(this->index(index, 0), this->index(index, columnCount() - 1));
}

void FileListModel::Clear() {
  beginResetModel();
  records_.clear();
  keyCache_.Clear();
  shown_ = 0;
  endResetModel();
}

bool FileListModel::Sort() {
  Announce();
  if (records_.size() < 2) return true;
  std::vector<const TMusicFileInfo*> pointers;
  pointers.reserve(records_.size());
  for (const auto& r : records_) pointers.push_back(r.get());
  std::vector<size_t> order;
  if (sortOrder_ || sortState_) {
    std::optional<std::vector<size_t>> made =
        sortOrder_ ? sortOrder_(pointers) : SortOrder(pointers, TSortSpec::From(*sortState_, sortOption_));
    if (!made || made->size() != records_.size()) return false;
    std::vector<bool> seen(records_.size());
    for (size_t i : *made) {
      if (i >= seen.size() || seen[i]) return false;  // not a permutation: keep the list
      seen[i] = true;
    }
    order = std::move(*made);
  } else {
    order.resize(records_.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return compare_(*pointers[a], *pointers[b]) < 0; });
  }
  Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<int> newRow(records_.size());
  std::vector<std::unique_ptr<TMusicFileInfo>> sorted(records_.size());
  for (size_t i = 0; i < order.size(); ++i) {
    newRow[order[i]] = static_cast<int>(i);
    sorted[i] = std::move(records_[order[i]]);
  }
  records_ = std::move(sorted);
  keyCache_.Clear();
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& i : before) after << index(newRow[static_cast<size_t>(i.row())], i.column());
  changePersistentIndexList(before, after);
  Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
  return true;
}

}  // namespace kadrel
