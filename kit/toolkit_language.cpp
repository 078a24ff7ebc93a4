#include "kit/toolkit_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace fw {

void setToolkitItalian(bool italian) {
    // Dates and sizes in the dialogs follow too; the program's own numbers never depend on
    // the locale.
    static const QLocale system;
    QLocale::setDefault(italian ? QLocale(QLocale::Italian, QLocale::Italy) : system);
    static QTranslator* translator = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        auto* t = new QTranslator(QCoreApplication::instance());
        if (t->load(QStringLiteral("qtbase_it"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            translator = t;
        else
            delete t; // without the translation Qt stays English
    }
    if (!translator) return;
    if (italian)
        QCoreApplication::installTranslator(translator);
    else
        QCoreApplication::removeTranslator(translator);
}

} // namespace fw
