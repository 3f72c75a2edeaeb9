#pragma once
// Icons of the all-folders tree without asking the MIME database. The file-system
// model asks its icon provider for the icon and the type name of every entry of every
// folder it lists — files too, although the tree shows folders only — and it does so
// on the window's thread. The default provider opens files to sniff their content: a
// folder of 20,000 songs held the window for tens of milliseconds while its entries
// came in. Folders and drives get the icons given, made once on the window's thread.

#include <QAbstractFileIconProvider>
#include <QIcon>

namespace kadrel {

class FolderTreeIcons final : public QAbstractFileIconProvider {
 public:
  FolderTreeIcons(QIcon folder, QIcon drive, QIcon file);
  QIcon icon(IconType type) const override;
  QIcon icon(const QFileInfo& info) const override;
  QString type(const QFileInfo& info) const override;

 private:
  QIcon folder_;
  QIcon drive_;
  QIcon file_;
};

}  // namespace kadrel
