#pragma once
// "表示設定": the columns, texts, mouse and keyboard handling, player and main window
// behaviour, fonts and colours. Two page sets lie one over the other; choosing a tab
// of the one behind brings it to the front.

#include <array>
#include <functional>
#include <optional>
#include <string>

#include <QCheckBox>
#include <QColor>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>

#include "base/message_box.h"
#include "ui/column_list_widget.h"
#include "settings/startup_settings.h"

namespace kadrel {

// The font and colour dialogs; tests answer them instead. nullopt is Cancel.
struct ViewChoosers {
  std::function<std::optional<QFont>(const QFont& current, QWidget* parent)> font;
  std::function<std::optional<QColor>(const QColor& current, QWidget* parent)> colour;
  static ViewChoosers Standard();
};

class TSet_ViewForm : public QDialog {
  Q_OBJECT

 public:
  // `save` writes the settings and returns false when the store could not be written;
  // the dialog then says so through `messages` and stays open.
  TSet_ViewForm(const ViewSettings& settings, std::function<bool(const ViewSettings&)> save, IMessageBox& messages,
                ViewChoosers choosers = ViewChoosers::Standard(), QWidget* parent = nullptr);

  // The dialog's values as they would be saved.
  ViewSettings Values() const;

  // Page sets: 0 "ListViewの設定", 1 "その他の設定".
  int FrontPageSet() const { return front_; }
  void ShowTab(int pageSet, int tab);
  bool BarTimerRunning() const { return barTimer_.isActive(); }

  void accept() override;

 private:
  struct PageSet {
    QTabBar* bar = nullptr;
    QStackedWidget* pages = nullptr;
    const char* hint = nullptr;
  };
  struct FontRow {
    std::string group;
    FontSetting font;
    QLabel* preview = nullptr;
  };
  struct ColumnPair {
    ColumnListWidget* visible = nullptr;
    ColumnListWidget* hidden = nullptr;
  };

  QWidget* BuildColumnsTab();
  QWidget* BuildNamesTab();
  QWidget* BuildTitlesTab();
  QWidget* BuildOperationTab();
  QWidget* BuildOtherTab();
  QWidget* BuildPlayerTab();
  QWidget* BuildWindowTab();
  QWidget* BuildFontsTab();
  QWidget* ColumnGroup(ColumnPair& pair, const char* note);
  void FillColumns(ColumnPair& pair, bool playList, const std::vector<int32_t>& ids);
  void BringToFront(int pageSet);
  void ApplyEnableRules();
  void UpdatePreview(FontRow& row);
  void UpdateBar(int bar);
  void FillControls();

  ViewSettings initial_;
  std::function<bool(const ViewSettings&)> save_;
  IMessageBox& messages_;
  ViewChoosers choosers_;
  std::array<PageSet, 2> sets_;
  QWidget* frontHolder_ = nullptr;
  int front_ = 0;

  ColumnPair fileColumns_, playColumns_;
  std::array<QRadioButton*, 3> nameCase_{};  // upper, lower, as stored
  std::array<QRadioButton*, 3> dateForm_{};
  QCheckBox *fourDigitYear_, *artistFallback_, *composerFallback_;
  std::array<QLineEdit*, 5> errTitles_{};  // by state 1..5
  QRadioButton *singleClick_, *doubleClick_, *dropSelection_, *keepSelection_;
  QCheckBox *hoverSelect_, *focusedShown_;
  QCheckBox *noIcons_, *wholeRow_, *quickFolder_, *sortIgnoresMarks_, *selectAllFolders_;
  QRadioButton *playerNormal_, *playerMinimised_, *listPlayNormal_, *listPlayMinimised_;
  QCheckBox *keepWindows_, *lyricsFront_;
  QSpinBox* watchTime_ = nullptr;
  std::array<QCheckBox*, 4> restore_{};  // folder pane, status bar, tool bars, window rectangle
  std::array<QCheckBox*, 3> force_{};
  QCheckBox *tray_, *trayMinimisedOnly_, *trayHideTaskbar_, *noLogo_;
  std::array<FontRow, 6> fonts_;
  std::array<BarColors, 2> bars_{};
  std::array<QProgressBar*, 2> barSamples_{};
  QTimer barTimer_;
};

}  // namespace kadrel
