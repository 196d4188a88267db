// Qt's own texts (the standard buttons, the file and font choosers) in the
// user's language, from Qt's installed translations.
#pragma once

#include <QLocale>

class QCoreApplication;

// Installs Qt's translation for the user's languages into the application;
// a user without a language (the C locale) gets the interface's Japanese.
// False when no translation could be loaded (Qt's texts stay English).
bool InstallQtTranslations(QCoreApplication& app, const QLocale& user = QLocale::system());
