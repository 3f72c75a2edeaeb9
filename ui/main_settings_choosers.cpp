#include "ui/main_settings_choosers.h"
#include "ui/path_text.h"

#include <QFile>
#include <QFileDialog>

#include "base/atomic_file.h"
#include "base/path_helpers.h"

namespace kadrel {


MainChoosers MainChoosers::Standard() {
  MainChoosers c;
  c.folder = [](const QString& title, const std::string& start, QWidget* parent) -> std::optional<std::string> {
    const QString chosen = QFileDialog::getExistingDirectory(parent, title, PathText(start));
    if (chosen.isEmpty()) return std::nullopt;
    return WithTrailingSlash(PathBytes(chosen));
  };
  c.file = [](const QString& title, const QStringList& filters, const std::string& start,
              QWidget* parent) -> std::optional<std::string> {
    const QString chosen = QFileDialog::getOpenFileName(parent, title, PathText(start), filters.join(QStringLiteral(";;")));
    if (chosen.isEmpty()) return std::nullopt;
    return PathBytes(chosen);
  };
  return c;
}

std::string ChooserStartFolder(const std::string& path, bool isFolder, const std::string& programFolder) {
  if (!path.empty() && path[0] == '/') {
    std::string folder = isFolder ? path : path.substr(0, path.rfind('/') + 1);
    if (FolderExists(folder)) return WithTrailingSlash(folder);
  }
  return programFolder;
}

std::string ProgramStem(const std::string& path) {
  std::string name = path.substr(path.rfind('/') + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

}  // namespace kadrel
