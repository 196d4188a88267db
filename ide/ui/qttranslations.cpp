#include "qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallQtTranslations(QCoreApplication& app, const QLocale& user) {
    const QLocale locale = user.language() == QLocale::C ? QLocale(QLocale::Japanese) : user;
    // qtbase_<lang>.qm carries the texts of the widgets and dialogs.
    auto* translator = new QTranslator(&app);
    if (!translator->load(locale, "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
