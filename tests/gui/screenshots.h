#pragma once
// Pictures of dialogs for the documentation: saved only when KADREL_SHOTS_DIR names a
// folder (scripts/screenshot sets it); otherwise these do nothing.

#include <QString>
#include <QWidget>

namespace kadrel::test {

void SaveShot(QWidget& widget, const QString& name);
// A shaped window as it stands on the desktop: its masked picture over a plain backdrop.
void SaveShapedShot(QWidget& window, const QString& name);

}  // namespace kadrel::test
