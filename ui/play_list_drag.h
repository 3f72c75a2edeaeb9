#pragma once
// Rows dragged inside the program. The drag carries a private MIME type with the
// process id and a token for this one drag; what is dragged (a copy of the file-list
// entries, or the play-list rows) stays in the process. A drop is taken only when the
// data names this process and the drag still in progress, so that rows from another
// copy of the program, an old drag or any other program are refused.

#include <cstdint>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>

#include "playlist/playlist_edit.h"

class QMimeData;

namespace kadrel {

inline constexpr const char* kRowsMimeType = "application/x-kadrel-rows";

enum class DragSource : int { FileList = 1, DetailList = 2, PlayList = 3 };

struct DragPayload {
  qint64 processId = 0;
  quint64 token = 0;
  DragSource source = DragSource::FileList;
};

QByteArray EncodeDragPayload(const DragPayload& payload);
std::optional<DragPayload> DecodeDragPayload(const QByteArray& bytes);

struct InternalDragData {
  quint64 token = 0;
  DragSource source = DragSource::FileList;
  std::vector<PlayListSource> entries;  // file list, detail list
  std::vector<int> rows;                // play list
};

// The drag in progress in this process (one at a time).
class InternalDrag {
 public:
  static InternalDrag& Instance();
  // Starts a drag and puts its private data into `mime`.
  quint64 Begin(QMimeData& mime, DragSource source, std::vector<PlayListSource> entries, std::vector<int> rows);
  // The held data when `mime` carries this process's current drag; null otherwise.
  const InternalDragData* Match(const QMimeData* mime) const;
  void End(quint64 token);

 private:
  std::optional<InternalDragData> current_;
  quint64 next_ = 0;
};

}  // namespace kadrel
