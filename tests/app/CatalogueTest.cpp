#include "app/Catalogue.h"

#include "game/Texts.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <gtest/gtest.h>

#include <vector>

namespace pipfield::test {
namespace {

// Whether each catalogue carries every text, translated into the same places and out of Korean, is the test
// catalogue_current's to say; here, which language the player is shown, and that the choice reaches both the
// texts and the numbers.

// What QLocale::uiLanguages() lists for a LANGUAGE variable (or LANG alone, for one name): each language with the
// forms Qt adds.
QStringList preferring(const std::vector<const char*>& names) {
    QStringList languages;
    for (const char* name : names) {
        languages += QLocale(QString::fromLatin1(name)).uiLanguages();
    }
    return languages;
}

struct LanguageCase {
    std::vector<const char*> preferred;
    const char* shown;
};

TEST(Catalogue, KoreanWhereThePlayerPrefersItToEveryCatalogueLanguageElseTheirCatalogueElseEnglish) {
    // German, C, and Korean before or after English or German are drawn end to end by the snapshot test.
    const LanguageCase cases[] = {
        {{"ko_KR"}, "ko_KR"},
        {{"ko"}, "ko_KR"},
        {{}, "en_US"},
        {{"ja_JP", "fr_FR"}, "en_US"},
        {{"en_US", "ko_KR"}, "en_US"},
        {{"en_GB"}, "en_GB"}, // a British player gets British dates
        {{"de_DE", "en_GB", "ko_KR"}, "en_GB"},
    };
    for (const auto& [preferred, shown] : cases) {
        const QStringList languages = preferring(preferred);
        EXPECT_EQ(displayLanguage(languages).name(), QString::fromLatin1(shown)) << languages.join(u' ').toStdString();
    }
}

TEST(Catalogue, TheChosenLanguageGivesBothTheTextsAndTheNumbers) {
    const QLocale before;
    const auto quit = [] { return Texts::ui("종료"); };
    struct Case {
        QLocale language;
        bool installs;
        const char* quit;
    };
    const Case cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), true, "Quit"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), true, "Quit"},
        {QLocale(QLocale::Korean, QLocale::SouthKorea), false, "종료"},
    };
    for (const auto& [language, installs, text] : cases) {
        SCOPED_TRACE(language.name().toStdString());
        QTranslator translator;
        EXPECT_EQ(useDisplayLanguage(translator, language), installs);
        EXPECT_EQ(quit(), QString::fromUtf8(text));
        EXPECT_EQ(QLocale(), language);
        QCoreApplication::removeTranslator(&translator);
    }
    QLocale::setDefault(before);
}

} // namespace
} // namespace pipfield::test
