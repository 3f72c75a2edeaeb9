#pragma once

#include <QList>
#include <QObject>

namespace kadrel::test {

QObject* NewPlatformTest();
QObject* NewFileListTest();
QObject* NewMainWindowTest();
QObject* NewWindowSettingsTest();
QObject* NewLaunchTest();
QObject* NewAboutLogoTest();
QObject* NewViewSettingsTest();

inline QList<QObject*> MakeTestObjects() {
  return {NewPlatformTest(), NewFileListTest(), NewMainWindowTest(), NewWindowSettingsTest(),
          NewLaunchTest(), NewAboutLogoTest(), NewViewSettingsTest()};
}

}  // namespace kadrel::test
