#pragma once

#include <QList>
#include <QObject>

namespace kadrel::test {

QObject* NewPlatformTest();
QObject* NewFileListTest();
QObject* NewMainWindowTest();

inline QList<QObject*> MakeTestObjects() { return {NewPlatformTest(), NewFileListTest(), NewMainWindowTest()}; }

}  // namespace kadrel::test
