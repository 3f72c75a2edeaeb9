#pragma once
// Where the user's guide is: installed under the program's prefix
// (bin/../share/doc/kadrel/manual/<language>/index.html), else in the source tree
// when the program runs from its build folder.

#include <QString>
#include <QStringList>

namespace kadrel {

// The guide's languages in the order to try: Japanese first when the desktop's
// languages put Japanese before English, else English first.
QStringList ManualLanguages(const QStringList& uiLanguages);

// The first guide page that exists, or an empty text. `programFolder` is the folder of
// the running executable; `sourceManual` is the source tree's docs/manual folder.
QString FindManual(const QString& programFolder, const QString& sourceManual, const QStringList& uiLanguages);

}  // namespace kadrel
