#pragma once
// Qt's own texts (standard buttons, file dialogs, context menus) in Japanese, so that
// they match the program's own texts.

class QCoreApplication;

namespace kadrel {

// Installs Qt's Japanese catalogue from the system's Qt translations; false (and Qt's
// English texts) when it is not installed.
bool InstallQtJapaneseTranslations(QCoreApplication& app);

}  // namespace kadrel
