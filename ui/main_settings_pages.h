#pragma once
// Small builders shared by the pages of "基本設定": every control gets its caption as
// accessible name and a role name as object name.

#include <string>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

namespace kadrel::settings_page {

QGroupBox* Group(const char* title, const char* object, QWidget* parent);
QCheckBox* Check(const char* caption, const char* object, QWidget* parent);
QRadioButton* Radio(const char* caption, const char* object, QWidget* parent);
QLineEdit* Edit(const char* accessible, const char* object, QWidget* parent);
QPushButton* Button(const char* caption, const char* accessible, const char* object, QWidget* parent);

// The program chooser's filters. Programs here mostly have no extension, so the
// Windows filter comes first only when the box already names an ".exe".
QStringList ProgramFilters(const std::string& currentPath);

}  // namespace kadrel::settings_page
