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

TEST(Catalogue, EnglishLocalesGetEnglishAndAllOthersKeepKorean) {
    const auto quit = [] { return Texts::ui("종료"); };
    for (const char* name : {"en_US", "en_GB", "en_IN"}) {
        QTranslator t;
        EXPECT_TRUE(installCatalogue(t, QLocale(QString::fromLatin1(name)))) << name;
        EXPECT_EQ(quit(), QStringLiteral("Quit")) << name;
        QCoreApplication::removeTranslator(&t);
    }
    for (const char* name : {"ko_KR", "de_DE", "ja_JP", "C"}) {
        QTranslator t;
        EXPECT_FALSE(installCatalogue(t, QLocale(QString::fromLatin1(name)))) << name;
        EXPECT_EQ(quit(), QStringLiteral("종료")) << name;
    }
}

} // namespace
} // namespace pipfield::test
