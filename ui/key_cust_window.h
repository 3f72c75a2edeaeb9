#pragma once
// The key customisation window: the function list, the key grid (the live key table)
// and the key file in use. Commands are bound by dragging them onto cells, by
// double-click, Enter or the grid's pop-up menu.

#include <functional>
#include <string>

#include <QListWidget>
#include <QMainWindow>
#include <QTableWidget>

#include "base/message_box.h"
#include "commands/key_table.h"
#include "settings/key_window_settings.h"

class QLabel;
class QPushButton;
class QSplitter;

namespace kadrel {

// Drag-and-drop formats: a command name (CP932 bytes) and a grid cell ("row,column"
// of the key table).
inline constexpr const char* kCommandMime = "application/x-kadrel-command";
inline constexpr const char* kKeyCellMime = "application/x-kadrel-key-cell";

// The grid: table rows 1 … 67 as grid rows 0 … 66, the header row as the header.
class KeyGrid : public QTableWidget {
  Q_OBJECT

 public:
  explicit KeyGrid(QWidget* parent = nullptr);
  // The key-table cell of a grid position, or {0, 0}.
  static std::pair<int, int> TableCell(const QModelIndex& index);

  QMimeData* mimeData(const QList<QTableWidgetItem*>& items) const override;

 Q_SIGNALS:
  void commandDropped(int row, int column, const QByteArray& name);
  void cellMoved(int fromRow, int fromColumn, int toRow, int toColumn);

 protected:
  QStringList mimeTypes() const override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};

// The function list: drags command names, takes grid cells back (unbinding them).
class FunctionList : public QListWidget {
  Q_OBJECT

 public:
  explicit FunctionList(QWidget* parent = nullptr);

  QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;

 Q_SIGNALS:
  void cellDropped(int row, int column);

 protected:
  QStringList mimeTypes() const override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

class KeyCustWindow : public QMainWindow {
  Q_OBJECT

 public:
  KeyCustWindow(KeyTable& table, KeyWindowSettings settings, std::string configFolder, IMessageBox& messages,
                QWidget* parent = nullptr);

  // Start-up: reads the stored key file (writing the default when there is none).
  void LoadAtStart(IMessageBox& box);
  // Shows the window: first function, cursor on the first cell, the saved bindings.
  void Open();

  bool LoadFile(const std::string& path, bool starting = false);
  bool SaveFile(const std::string& path);
  void WriteDefaultFile(const std::string& path);

  // Binding edits, in key-table coordinates; they change the live table.
  void Bind(int row, int column, const std::string& cp932);
  void Unbind(int row, int column);
  void Move(int fromRow, int fromColumn, int toRow, int toColumn);
  void BindSelected();
  void UnbindSelected();

  const std::string& CurrentFile() const { return current_; }
  bool HasFile() const { return hasFile_; }
  KeyGrid& Grid() { return grid_; }
  FunctionList& Functions() { return functions_; }
  QLabel& FileLabel() { return *label_; }
  QPushButton& OkButton() { return *ok_; }
  QPushButton& CancelButton() { return *cancel_; }
  const KeyWindowSettings& Settings() const { return settings_; }

  // Asks for a file name (save or open); the file dialog unless a test replaces it.
  std::function<QString(bool save)> askFileName;
  // The window closed: store its values.
  std::function<void(const KeyWindowSettings&)> onClosed;
  // The bindings may have changed.
  std::function<void()> onBindingsChanged;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenu();
  void FillGrid();
  void ShowCell(int row, int column);
  void ShowFileState();
  void Accept();
  void Reject();
  void ReloadCurrent();
  void Finish();

  KeyTable& table_;
  KeyWindowSettings settings_;
  std::string configFolder_;
  IMessageBox& messages_;
  std::string current_;
  bool hasFile_ = false;
  bool closing_ = false;
  bool started_ = false;

  FunctionList functions_;
  KeyGrid grid_;
  QSplitter* split_ = nullptr;
  QLabel* label_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace kadrel
