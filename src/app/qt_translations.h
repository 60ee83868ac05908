#pragma once

class QCoreApplication;

namespace tagsmith::app {

// Qt's own dialogs (print, preview, file, message boxes) speak Chinese like
// the rest of the program: loads Qt's zh_CN catalogue where the Qt in use
// keeps its translations. Without it they stay in English.
void installQtTranslations(QCoreApplication& application);

} // namespace tagsmith::app
