#pragma once
// Helpers shared by the desktop-program tests.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QSignalSpy>
#include <QString>
#include <QTemporaryDir>

#include "base/message_box.h"
#include "settings/reg_treat.h"
#include "settings/settings_store.h"
#include "ui/main_window.h"
#include "ui/window_settings.h"

namespace kadrel::test {

// Records every message instead of showing it, and gives `answer` to every question.
class RecordingMessageBox final : public IMessageBox {
 public:
  MessageAnswer Show(const MessageRequest& request) override {
    texts.push_back(request.text);
    return answer;
  }
  void Beep(BeepKind) override { ++beeps; }
  std::vector<std::string> texts;
  int beeps = 0;
  MessageAnswer answer = MessageAnswer::Ok;
};

inline QString U8(const char* text) { return QString::fromUtf8(text); }

// Runs the event loop until `done` holds or `timeoutMs` passed; returns `done()`.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

// A folder path as the window takes it: file-system bytes ending in "/".
std::string Bytes(const QString& path);

// Runs `act` on the modal dialog the next call opens, once it is up.
void WhenModal(std::function<void(QWidget&)> act);

// The buttons, lists and progress bars below `parent` that screen readers and UI tests
// cannot find by name (Qt's own helpers are left out; a tool-bar button may take its
// action's text).
QStringList UnnamedControls(QWidget& parent);

// The child of `parent` with this object name, or null with a warning.
template <class T>
T* Find(QObject& parent, const char* object) {
  T* child = parent.findChild<T*>(QString::fromLatin1(object));
  if (!child) qWarning("no control %s", object);
  return child;
}

// The window tests' set-up: a folder with a copy of the sample collection (or with
// `midiFiles` small Standard MIDI files instead) and a main window over it whose
// messages are recorded and whose finished passes are counted. The folder is
// <temp>/<a long name>/samples/, so the window title always shows it as /../samples/.
class WindowFixture {
 public:
  explicit WindowFixture(int midiFiles = 0);
  // Status ticks driven by the test, a quick folder watcher, the list by file name.
  static WindowSettings QuietSettings();

  // Makes the window; the test may set its ports before opening it.
  MainWindow& Make(const WindowSettings& settings = QuietSettings());
  // Makes the window as the program starts on the settings store in `config`: the
  // settings pass (a player on the search path, the manual recorded instead of shown),
  // and the state saved or the settings deleted at the close.
  MainWindow& MakeFromStore(const QString& config);
  // Makes the window from the store in <root>/config (as MakeFromStore) and lets it keep
  // its settings there, or, with `readOnly`, in a view of that store that refuses every
  // write; then opens it.
  MainWindow& OpenOnStore(bool readOnly = false);
  // Shows the window (made with QuietSettings when not made yet), starts it on the
  // folder and, unless told otherwise, waits for the end of the first pass.
  MainWindow& Open(bool wait = true);
  // Waits until one pass more than already waited for has finished.
  bool NextPass();
  // Whether the last pass waited for listed the folder from the index.
  bool FromIndex() const { return passes_->at(awaited_ - 1).at(0).toBool(); }

  // Row of the entry named `name` in `archive` ("" for loose files and folders); -1 if none.
  int RowOf(std::string_view name, std::string_view archive = {}) const;
  int Section(int column) const;  // position of a column id in the list
  QString Cell(int row, int column) const;
  QString Cell(std::string_view name, int column) const { return Cell(RowOf(name), column); }

  QTemporaryDir root;
  QString folder;
  RecordingMessageBox messages;
  std::optional<SettingsSession> session;
  UpgradeEnvironment env;
  std::vector<int> helpContexts;
  int saves = 0;
  WindowSettings settings;  // what the window was made with
  std::unique_ptr<SettingsStore> readOnlyStore;  // OpenOnStore(true)'s store and view, outliving the window
  std::optional<RegTreat> readOnlyReg;
  std::unique_ptr<MainWindow> window;

 private:
  std::unique_ptr<QSignalSpy> passes_;
  int awaited_ = 0;
};

}  // namespace kadrel::test
