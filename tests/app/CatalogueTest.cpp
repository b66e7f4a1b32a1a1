#include "app/Catalogue.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace pipfield::test {
namespace {

bool hasHangul(const QString& s) {
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3; });
}

// Source texts with their context: every Korean string literal in the program's sources is a text the
// player sees, looked up in the "pipfield" context unless it stands in an explicit
// translate("Context", ...) call.
using Key = std::pair<QString, QString>;

std::set<Key> koreanTexts() {
    std::set<Key> keys;
    QDirIterator files(QStringLiteral(PIPFIELD_SOURCE_DIR "/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                       QDir::Files, QDirIterator::Subdirectories);
    static const QRegularExpression explicitContext(QStringLiteral("translate\\(\\s*\"([^\"]*)\"\\s*,\\s*$"));
    while (files.hasNext()) {
        QFile file(files.next());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        const QString s = QString::fromUtf8(file.readAll());
        QString code; // the file with comments blanked, so that quoted Korean in a comment counts for nothing
        QString literal;
        qsizetype literalStart = -1;
        for (qsizetype i = 0; i < s.size(); ++i) {
            if (s[i] == u'"' || s[i] == u'\'') {
                const QChar quote = s[i];
                qsizetype j = i + 1;
                QString text;
                while (j < s.size() && s[j] != quote) {
                    if (s[j] == u'\\' && j + 1 < s.size()) {
                        const QChar e = s[j + 1];
                        text += e == u'n' ? QChar(u'\n') : e;
                        j += 2;
                    } else {
                        text += s[j++];
                    }
                }
                if (quote == u'"') {
                    // Adjacent literals are one text.
                    const bool continues = literalStart >= 0 && code.mid(literalStart).trimmed().endsWith(u'"');
                    if (!continues) {
                        if (hasHangul(literal)) {
                            const auto m = explicitContext.match(code.left(literalStart));
                            keys.insert({m.hasMatch() ? m.captured(1) : QStringLiteral("pipfield"), literal});
                        }
                        literal.clear();
                        literalStart = code.size();
                    }
                    literal += text;
                }
                code += s.mid(i, j - i + 1);
                i = j;
            } else if (s.mid(i, 2) == QLatin1String("//")) {
                i = s.indexOf(u'\n', i) - 1;
                if (i < 0) {
                    break;
                }
            } else if (s.mid(i, 2) == QLatin1String("/*")) {
                i = s.indexOf(QLatin1String("*/"), i + 2);
                if (i < 0) {
                    break;
                }
                i += 1;
            } else {
                code += s[i];
            }
        }
        if (hasHangul(literal)) {
            const auto m = explicitContext.match(code.left(literalStart));
            keys.insert({m.hasMatch() ? m.captured(1) : QStringLiteral("pipfield"), literal});
        }
    }
    return keys;
}

// The places a text fills in: "%1".."%9", "%lld" and "%%", counted.
std::multiset<QString> places(const QString& text) {
    static const QRegularExpression place(QStringLiteral("%(\\d|lld|%)"));
    std::multiset<QString> result;
    for (auto it = place.globalMatch(text); it.hasNext();) {
        result.insert(it.next().captured(0));
    }
    return result;
}

TEST(Catalogue, EveryKoreanTextHasAnEnglishEntryWithTheSamePlaces) {
    const std::set<Key> keys = koreanTexts();
    ASSERT_GT(keys.size(), 100u) << "the scan found the program's texts";
    ASSERT_TRUE(keys.contains({QStringLiteral("pipfield"), QStringLiteral("종료")}));
    ASSERT_TRUE(keys.contains({QStringLiteral("pipfield"), QStringLiteral("햇살")}));

    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral("pipfield_en"), kCatalogueFolder));
    QStringList missing;
    for (const auto& [context, korean] : keys) {
        const QString text = english.translate(context.toUtf8().constData(), korean.toUtf8().constData(), nullptr, -1);
        if (text.isEmpty()) {
            missing << context + QStringLiteral(": ") + korean;
            continue;
        }
        EXPECT_FALSE(hasHangul(text)) << korean.toStdString() << " -> " << text.toStdString();
        EXPECT_EQ(places(text), places(korean)) << korean.toStdString() << " -> " << text.toStdString();
    }
    EXPECT_TRUE(missing.isEmpty()) << "no English for:\n" << missing.join(QLatin1Char('\n')).toStdString();
}

TEST(Catalogue, EnglishLocalesGetEnglishAndAllOthersKeepKorean) {
    const auto quit = [] { return QCoreApplication::translate("pipfield", "종료"); };
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
