#pragma once

#include <QList>
#include <QObject>

namespace kadrel::test {

QObject* NewPlatformTest();
QObject* NewFileListTest();
QObject* NewMainWindowTest();
QObject* NewWindowSettingsTest();
QObject* NewLaunchTest();
QObject* NewDialogsTest();
QObject* NewKeysTest();
QObject* NewRenameWindowTest();
QObject* NewIndexWindowsTest();
QObject* NewDetailWindowTest();
QObject* NewWindowPicturesTest();
QObject* NewSearchWindowTest();
QObject* NewAboutLogoTest();
QObject* NewViewSettingsTest();
QObject* NewMainSettingsTest();
QObject* NewListPlayWindowTest();
QObject* NewPlayListPaneTest();

inline QList<QObject*> MakeTestObjects() {
  return {NewPlatformTest(), NewFileListTest(), NewMainWindowTest(), NewWindowSettingsTest(),
          NewLaunchTest(), NewDialogsTest(), NewKeysTest(), NewRenameWindowTest(),
          NewIndexWindowsTest(), NewDetailWindowTest(), NewWindowPicturesTest(),
          NewSearchWindowTest(), NewAboutLogoTest(), NewViewSettingsTest(), NewMainSettingsTest(),
          NewListPlayWindowTest(), NewPlayListPaneTest()};
}

}  // namespace kadrel::test
