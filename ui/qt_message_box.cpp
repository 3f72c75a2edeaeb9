#include "ui/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "ui/texts.h"

namespace kadrel {
namespace {

QMessageBox::StandardButtons ButtonsFor(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case MessageButtons::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MessageButtons::CancelAbortIgnore: return QMessageBox::Cancel | QMessageBox::Abort | QMessageBox::Ignore;
    case MessageButtons::CancelIgnore: return QMessageBox::Cancel | QMessageBox::Ignore;
    case MessageButtons::YesNoIgnore: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Ignore;
  }
  return QMessageBox::Ok;
}

// The answer when the box is closed without a button (Escape, window close).
MessageAnswer EscapeAnswer(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoIgnore: return MessageAnswer::No;
    case MessageButtons::AbortRetryIgnore: return MessageAnswer::Abort;
    default: return MessageAnswer::Cancel;
  }
}

MessageAnswer AnswerFor(int button, MessageButtons buttons) {
  switch (button) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Retry: return MessageAnswer::Retry;
    case QMessageBox::Abort: return MessageAnswer::Abort;
    case QMessageBox::Ignore: return MessageAnswer::Ignore;
    default: return EscapeAnswer(buttons);
  }
}

}  // namespace

void QtMessageBox::Beep(BeepKind) { QApplication::beep(); }

MessageAnswer QtMessageBox::Show(const MessageRequest& request) {
  if (QApplication::instance() != nullptr && QThread::currentThread() == QApplication::instance()->thread())
    return ShowHere(request);
  MessageAnswer answer = EscapeAnswer(request.buttons);
  if (bridge_ != nullptr) bridge_->RunOnWindowThread([&] { answer = ShowHere(request); });
  return answer;
}

MessageAnswer QtMessageBox::ShowHere(const MessageRequest& request) {
  Beep(request.kind == MessageKind::Information ? BeepKind::Information : BeepKind::Warning);
  QMessageBox::Icon icon = QMessageBox::Information;
  switch (request.kind) {
    case MessageKind::Warning: icon = QMessageBox::Warning; break;
    case MessageKind::Error: icon = QMessageBox::Critical; break;
    case MessageKind::Information: icon = QMessageBox::Information; break;
    case MessageKind::Confirmation: icon = QMessageBox::Question; break;
  }
  QString caption = request.caption.empty() ? text::U(text::kAppName) : QString::fromStdString(request.caption);
  QMessageBox box(icon, caption, QString::fromStdString(request.text), ButtonsFor(request.buttons), parent_);
  return AnswerFor(box.exec(), request.buttons);
}

}  // namespace kadrel
