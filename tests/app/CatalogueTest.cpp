#include "app/Catalogue.h"

#include "game/Texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace pipfield::test {
namespace {

bool hasHangul(const QString& s) {
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3; });
}

// The places a text fills in: "%1".."%9" and "%%", counted.
std::multiset<QString> places(const QString& text) {
    static const QRegularExpression place(QStringLiteral("%(\\d|%)"));
    std::multiset<QString> result;
    for (auto it = place.globalMatch(text); it.hasNext();) {
        result.insert(it.next().captured(0));
    }
    return result;
}

struct Entry {
    QString context;
    QString source;
    QString translation;
};

// The entries of a catalogue's Linguist source, as the translator left them.
std::vector<Entry> entries(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    std::vector<Entry> result;
    QString context;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"source") {
            result.push_back({context, xml.readElementText(), {}});
        } else if (xml.name() == u"translation" && !result.empty()) {
            result.back().translation = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return result;
}

// Which catalogue carries which sentence, and whether it is up to date with the sources, is lupdate's to say
// (the test catalogue_current). What it cannot say: that a translation fills the same places as its Korean
// text, that it is no longer Korean, and that the program carries the catalogue as the translator left it.
TEST(Catalogue, EveryCompiledCatalogueTranslatesEachTextWithTheSamePlaces) {
    const QStringList compiled = QDir(kCatalogueFolder).entryList({QStringLiteral("pipfield_*.qm")});
    ASSERT_TRUE(compiled.contains(QStringLiteral("pipfield_en.qm"))) << compiled.join(u' ').toStdString();
    for (const QString& qm : compiled) {
        SCOPED_TRACE(qm.toStdString());
        QTranslator translator;
        ASSERT_TRUE(translator.load(qm, kCatalogueFolder));
        const QString ts = QStringLiteral(PIPFIELD_SOURCE_DIR "/resources/translations/") +
                           QString(qm).replace(QStringLiteral(".qm"), QStringLiteral(".ts"));
        const std::vector<Entry> all = entries(ts);
        ASSERT_GT(all.size(), 100u) << "the entries of " << ts.toStdString() << " were read";
        for (const auto& [context, source, translation] : all) {
            const QByteArray key = source.toUtf8();
            EXPECT_EQ(translator.translate(context.toUtf8().constData(), key.constData()), translation)
                << key.constData();
            EXPECT_FALSE(hasHangul(translation)) << key.constData() << " -> " << translation.toStdString();
            EXPECT_EQ(places(translation), places(source)) << key.constData() << " -> " << translation.toStdString();
        }
    }
}

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
    const LanguageCase cases[] = {
        {{"ko_KR"}, "ko_KR"},
        {{"ko"}, "ko_KR"},
        {{"ko_KR", "en_US"}, "ko_KR"},
        {{"de_DE"}, "en_US"},
        {{"fr_FR"}, "en_US"},
        {{"ja_JP"}, "en_US"},
        {{"es_ES"}, "en_US"},
        {{"C"}, "en_US"},
        {{"POSIX"}, "en_US"},
        {{}, "en_US"},
        {{"de_DE", "ko_KR"}, "ko_KR"}, // no German catalogue: Korean is the first language with texts
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
        {QLocale(QLocale::German, QLocale::Germany), false, "종료"},
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
