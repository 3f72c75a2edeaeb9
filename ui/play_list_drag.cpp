#include "ui/play_list_drag.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QRandomGenerator>

namespace kadrel {
namespace {

constexpr quint32 kMagic = 0x4b44524bu;  // "KDRK"

}  // namespace

QByteArray EncodeDragPayload(const DragPayload& payload) {
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out << kMagic << payload.processId << payload.token << static_cast<qint32>(payload.source);
  return bytes;
}

std::optional<DragPayload> DecodeDragPayload(const QByteArray& bytes) {
  QDataStream in(bytes);
  quint32 magic = 0;
  qint32 source = 0;
  DragPayload p;
  in >> magic >> p.processId >> p.token >> source;
  if (in.status() != QDataStream::Ok || magic != kMagic) return std::nullopt;
  if (source < static_cast<qint32>(DragSource::FileList) || source > static_cast<qint32>(DragSource::PlayList))
    return std::nullopt;
  p.source = static_cast<DragSource>(source);
  return p;
}

InternalDrag& InternalDrag::Instance() {
  static InternalDrag drag;
  return drag;
}

quint64 InternalDrag::Begin(QMimeData& mime, DragSource source, std::vector<PlayListSource> entries,
                            std::vector<int> rows) {
  // Unpredictable and never 0, so that a stale or forged payload does not match.
  quint64 token = QRandomGenerator::global()->generate64() ^ ++next_;
  if (token == 0) token = 1;
  current_ = InternalDragData{token, source, std::move(entries), std::move(rows)};
  mime.setData(QString::fromLatin1(kRowsMimeType),
               EncodeDragPayload({QCoreApplication::applicationPid(), token, source}));
  return token;
}

const InternalDragData* InternalDrag::Match(const QMimeData* mime) const {
  if (!mime || !current_ || !mime->hasFormat(QString::fromLatin1(kRowsMimeType))) return nullptr;
  const auto payload = DecodeDragPayload(mime->data(QString::fromLatin1(kRowsMimeType)));
  if (!payload || payload->processId != QCoreApplication::applicationPid() || payload->token != current_->token ||
      payload->source != current_->source)
    return nullptr;
  return &*current_;
}

void InternalDrag::End(quint64 token) {
  if (current_ && current_->token == token) current_.reset();
}

}  // namespace kadrel
