#include "app/Catalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTranslator>

namespace pipfield {

bool installCatalogue(QTranslator& translator, const QLocale& locale) {
    // The player's languages in order of preference ("en-GB", "en", ...). QTranslator::load(QLocale)
    // would pass over Korean, which has no catalogue of its own, to a later language; here Korean ends
    // the search.
    for (const QString& name : locale.uiLanguages()) {
        const QLocale language(name);
        if (language.language() == QLocale::Korean) {
            return false;
        }
        for (const QString& candidate : {language.name(), QLocale::languageToCode(language.language())}) {
            if (translator.load(QStringLiteral("pipfield_") + candidate, kCatalogueFolder)) {
                return QCoreApplication::installTranslator(&translator);
            }
        }
    }
    return false;
}

} // namespace pipfield
