#include "platform/manual_location.h"

#include <QDir>
#include <QFileInfo>

namespace kadrel {

QStringList ManualLanguages(const QStringList& uiLanguages) {
  for (const QString& language : uiLanguages) {
    if (language.startsWith(QLatin1String("ja"), Qt::CaseInsensitive))
      return {QStringLiteral("ja"), QStringLiteral("en")};
    if (language.startsWith(QLatin1String("en"), Qt::CaseInsensitive)) break;
  }
  // The program speaks Japanese; other desktops get the English guide first.
  return uiLanguages.isEmpty() ? QStringList{QStringLiteral("ja"), QStringLiteral("en")}
                               : QStringList{QStringLiteral("en"), QStringLiteral("ja")};
}

QString FindManual(const QString& programFolder, const QString& sourceManual, const QStringList& uiLanguages) {
  QStringList roots;
  if (!programFolder.isEmpty()) roots << programFolder + QStringLiteral("/../share/doc/kadrel/manual");
  if (!sourceManual.isEmpty()) roots << sourceManual;
  const QStringList languages = ManualLanguages(uiLanguages);
  for (const QString& root : roots) {
    for (const QString& language : languages) {
      const QFileInfo page(root + QLatin1Char('/') + language + QStringLiteral("/index.html"));
      if (page.isFile()) return QDir::cleanPath(page.absoluteFilePath());
    }
  }
  return {};
}

}  // namespace kadrel
