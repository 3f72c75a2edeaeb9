#pragma once

#include <QList>
#include <QObject>

namespace kadrel::test {

QObject* NewPlatformTest();
QObject* NewFileListTest();
QObject* NewMainWindowTest();
QObject* NewWindowSettingsTest();
QObject* NewSearchWindowTest();

inline QList<QObject*> MakeTestObjects() {
  return {NewPlatformTest(), NewFileListTest(), NewMainWindowTest(), NewWindowSettingsTest(), NewSearchWindowTest()};
}

}  // namespace kadrel::test
