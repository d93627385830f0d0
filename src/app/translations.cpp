#include "app/translations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace zorvik {

namespace {

// The one installed catalogue; lives until the process ends (also past the application).
QTranslator &translator()
{
    static QTranslator *const instance = new QTranslator;
    return *instance;
}

} // namespace

bool Translations::install()
{
    return install(QLocale());
}

bool Translations::install(const QLocale &locale)
{
    QTranslator &catalogue = translator();
    QCoreApplication::removeTranslator(&catalogue);
    // Tries the locale's UI languages in turn: zorvik_de_DE.qm, zorvik_de.qm, ...
    if (!catalogue.load(locale, QStringLiteral("zorvik"), QStringLiteral("_"), QStringLiteral(":/translations")))
        return false;
    return QCoreApplication::installTranslator(&catalogue);
}

} // namespace zorvik
