#include "ui/main_settings_pages.h"

#include <QString>

#include "ui/texts.h"

namespace kadrel::settings_page {

using text::U;

namespace {
template <class T>
T* Named(T* widget, const QString& accessible, const char* object) {
  widget->setAccessibleName(accessible);
  widget->setObjectName(QString::fromLatin1(object));
  return widget;
}
}  // namespace

QGroupBox* Group(const char* title, const char* object, QWidget* parent) {
  return Named(new QGroupBox(U(title), parent), U(title), object);
}

QCheckBox* Check(const char* caption, const char* object, QWidget* parent) {
  return Named(new QCheckBox(U(caption), parent), U(caption), object);
}

QRadioButton* Radio(const char* caption, const char* object, QWidget* parent) {
  return Named(new QRadioButton(U(caption), parent), U(caption), object);
}

QLineEdit* Edit(const char* accessible, const char* object, QWidget* parent) {
  return Named(new QLineEdit(parent), U(accessible), object);
}

QPushButton* Button(const char* caption, const char* accessible, const char* object, QWidget* parent) {
  auto* button = Named(new QPushButton(U(caption), parent), U(accessible), object);
  button->setAutoDefault(false);
  return button;
}

QStringList ProgramFilters(const std::string& currentPath) {
  const QString windows = U("実行ファイル(*.exe *.EXE)");
  const QString all = U("すべてのファイル(*)");
  const bool exe = currentPath.size() > 4 && QString::fromStdString(currentPath.substr(currentPath.size() - 4))
                                                     .compare(QStringLiteral(".exe"), Qt::CaseInsensitive) == 0;
  return exe ? QStringList{windows, all} : QStringList{all, windows};
}

}  // namespace kadrel::settings_page
