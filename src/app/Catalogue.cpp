#include "app/Catalogue.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTranslator>

namespace pipfield {
namespace {

// The compiled catalogue for a locale: the one of its own region ("pipfield_en_GB") if there is one, else the
// one of its language ("pipfield_en"). Empty when there is neither.
QString catalogueFile(const QLocale& locale) {
    for (const QString& name : {locale.name(), QLocale::languageToCode(locale.language())}) {
        const QString file = kCatalogueFolder + QStringLiteral("/pipfield_") + name + QStringLiteral(".qm");
        if (QFileInfo::exists(file)) {
            return file;
        }
    }
    return {};
}

} // namespace

QLocale displayLanguage(const QStringList& languages) {
    // QTranslator::load(QLocale) would pass over Korean, which has no catalogue of its own, to a later language;
    // here Korean ends the search.
    for (const QString& name : languages) {
        const QLocale language(name);
        if (language.language() == QLocale::Korean) {
            // The forms Korean players have always had, whatever region the language came with.
            return QLocale(QLocale::Korean, QLocale::SouthKorea);
        }
        if (!catalogueFile(language).isEmpty()) {
            return language;
        }
    }
    // English serves almost every player who reads no Korean better than Korean does.
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

bool useDisplayLanguage(QTranslator& translator, const QLocale& language) {
    QLocale::setDefault(language);
    if (language.language() == QLocale::Korean) {
        return false;
    }
    const QString file = catalogueFile(language);
    return !file.isEmpty() && translator.load(file) && QCoreApplication::installTranslator(&translator);
}

} // namespace pipfield
