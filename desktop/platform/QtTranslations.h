#pragma once

class QCoreApplication;

namespace zv {

// Makes Qt's own texts (the standard buttons of message boxes, the file
// dialogs' labels) speak the program's language, Japanese, whatever the
// machine's locale. False when Qt's translations are not installed; the
// program then works with Qt's English texts.
bool InstallQtTranslations(QCoreApplication& application);

}  // namespace zv
