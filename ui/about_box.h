#pragma once
// "バージョン情報": the program's name and version, the support pieces in use, and the
// logo on a black panel. Stays on top of other windows; closes with its button.

#include <array>

#include <QDialog>
#include <QLabel>

#include "ui/about_lines.h"

namespace kadrel {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(const AboutFacts& facts, QWidget* parent = nullptr);

  const QLabel& VersionLabel() const { return *version_; }
  const QLabel& StatusLabel(int library) const { return *status_[library]; }
  const QImage& Logo() const { return logo_; }

 private:
  QLabel* version_ = nullptr;
  std::array<QLabel*, 3> status_{};
  QImage logo_;
};

}  // namespace kadrel
