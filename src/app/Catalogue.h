#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

class QTranslator;

namespace pipfield {

/// The language the texts are shown in, for a player whose preferred languages are `languages` (most preferred
/// first, as QLocale::uiLanguages() lists them): Korean, the language the texts are written in, where it comes
/// before every language that has a catalogue; else the first language that has one; English when none of them
/// is Korean or has a catalogue. The locale returned is the one numbers and dates are written in.
QLocale displayLanguage(const QStringList& languages);

/// Makes `language` the program's: its catalogue loaded into `translator` and installed (none for Korean, whose
/// texts stand as written), and it the default locale, so that numbers and dates read in the language of the
/// words around them. False when a language other than Korean has no catalogue to install.
bool useDisplayLanguage(QTranslator& translator, const QLocale& language);

/// Where the catalogues are compiled into the program.
inline const QString kCatalogueFolder = QStringLiteral(":/i18n");

} // namespace pipfield
