#pragma once

#include <QString>

class QLocale;
class QTranslator;

namespace pipfield {

/// Loads into `translator` and installs the text catalogue for the first of the locale's languages that
/// has one. Korean is the source language: a Korean locale, and one whose languages have no catalogue,
/// installs nothing and keeps every text exactly as written. True when a catalogue was installed.
bool installCatalogue(QTranslator& translator, const QLocale& locale);

/// Where the catalogues are compiled into the program.
inline const QString kCatalogueFolder = QStringLiteral(":/i18n");

} // namespace pipfield
