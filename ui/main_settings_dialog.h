#pragma once
// "基本設定": players, working folders, jump folders, searched file types, the folder
// scan, information search, the index, the SMF knife and the external programs, on
// nine pages. OK checks the values, saves them and closes; a failed save keeps it open.

#include <array>
#include <functional>
#include <string>

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>

#include "base/message_box.h"
#include "settings/startup_settings.h"
#include "ui/main_settings_choosers.h"
#include "ui/sound_module_page.h"

namespace kadrel {

// What the dialog shows and saves.
struct MainSettingsValues {
  MainSettings main;
  FolderChoices folders;
};

class TSet_MainForm : public QDialog {
  Q_OBJECT

 public:
  enum Page { Players, Folders, JumpFolders, FileTypes, FileSearch, InfoSearch, IndexPage, SmfKnife, Programs };

  // `save` writes the values and returns false when the store could not be written.
  // `programFolder` is where the program choosers start when the box names no folder.
  TSet_MainForm(MainSettingsValues initial, SupportLibraries libraries,
                std::function<bool(const MainSettingsValues&)> save, IMessageBox& messages,
                MainChoosers choosers = MainChoosers::Standard(), std::string programFolder = {},
                QWidget* parent = nullptr);

  // The values as OK would save them.
  MainSettingsValues Values();
  void ShowPage(Page page) { pages_->setCurrentIndex(page); }
  SoundModulePage& Modules() { return *modules_; }
  // Opens slot n's (1..6) player details; tests close it through `detailOpened`.
  void OpenPlayerDetail(int slot);
  std::function<void(QDialog& detail)> detailOpened;

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct SlotRow {
    QCheckBox* use = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* path = nullptr;
    QPushButton* browse = nullptr;
    QPushButton* detail = nullptr;
    TPlayer_data data;
  };
  struct FolderRow {
    QRadioButton* standard = nullptr;
    QRadioButton* chosen = nullptr;
    QLineEdit* path = nullptr;
    QPushButton* browse = nullptr;
  };

  QWidget* BuildPlayerPage();
  QWidget* BuildFolderPage();
  QWidget* BuildJumpPage();
  QWidget* BuildFileTypePage();
  QWidget* BuildFileSearchPage();
  QWidget* BuildInfoPage();
  QWidget* BuildIndexPage();
  QWidget* BuildProgramPage();
  QGroupBox* FolderGroup(FolderRow& row, const char* title, const char* object, const char* standard,
                         const char* chooserTitle, bool standardChosen, const std::string& path);
  void ApplySlotRule(int slot, bool fromPathEdit);
  void ChooseJumpFolder(int row);
  void ApplyEnableRules();
  // The names of the sound modules that cannot be saved; empty when all can.
  std::string ModuleProblems(const TSmfkInfo& smfk) const;

  MainSettingsValues initial_;
  SupportLibraries libraries_;
  std::function<bool(const MainSettingsValues&)> save_;
  IMessageBox& messages_;
  MainChoosers choosers_;
  std::string programFolder_;
  QTabWidget* pages_ = nullptr;
  QPushButton* ok_ = nullptr;

  std::array<SlotRow, kPlayerSlots> slots_;
  int32_t detailInfo_ = 15;
  FolderRow start_, temp_, index_;
  QTableWidget* jump_ = nullptr;
  std::array<QCheckBox*, kFormatCount> types_{};
  QCheckBox* mgsHidden_ = nullptr;
  QCheckBox* lzh_ = nullptr;
  QGroupBox *lzhTitles_ = nullptr, *melt_ = nullptr;
  QRadioButton *lzhNoTitles_, *lzhSmallTitles_, *lzhAllTitles_;
  QSpinBox* lzhBytes_ = nullptr;
  QRadioButton *meltLyrics_, *meltAll_, *meltMusic_;
  QCheckBox* meltListPlay_ = nullptr;
  QCheckBox* showWhileScanning_ = nullptr;
  std::array<QRadioButton*, 3> scanSort_{};
  std::array<QRadioButton*, 3> titleFrom_{};
  std::array<QCheckBox*, 3> others_{};
  QSpinBox* smfBytes_ = nullptr;
  QLineEdit* infoTypes_ = nullptr;
  QCheckBox *useIndex_, *skipPlainFolders_, *saveCdRom_, *saveRam_, *noRemovable_, *removablePerFolder_,
      *removableInRoot_;
  QRadioButton *openByAssociation_, *openWithViewer_;
  QLineEdit* viewer_ = nullptr;
  QPushButton* viewerBrowse_ = nullptr;
  QLineEdit* textTypes_ = nullptr;
  SoundModulePage* modules_ = nullptr;
};

}  // namespace kadrel
