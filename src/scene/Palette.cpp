#include "scene/Palette.h"

#include "game/SettingsKeys.h"
#include "game/Texts.h"
#include "scene/ArtResources.h"
#include "scene/SceneLog.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace pipfield::Palette {

QString rawValue(Theme theme) {
    switch (theme) {
    case Theme::sunny:
        return QStringLiteral("sunny");
    case Theme::blossom:
        return QStringLiteral("blossom");
    case Theme::sunset:
        return QStringLiteral("sunset");
    case Theme::moon:
        return QStringLiteral("moon");
    }
    return {};
}

Theme themeNamed(const QString& raw) {
    if (const std::optional<Theme> theme = themeFromRaw(raw)) {
        return *theme;
    }
    return themeFromRaw(SettingsValue::defaultTheme).value();
}

std::optional<Theme> themeFromRaw(const QString& raw) {
    for (Theme theme : allThemes) {
        if (rawValue(theme) == raw) {
            return theme;
        }
    }
    return std::nullopt;
}

QString name(Theme theme) {
    switch (theme) {
    case Theme::sunny:
        return Texts::ui("햇살");
    case Theme::blossom:
        return Texts::ui("봄빛");
    case Theme::sunset:
        return Texts::ui("노을");
    case Theme::moon:
        return Texts::ui("달밤");
    }
    return {};
}

Period periodForHour(int hour) {
    if (hour >= 5 && hour <= 7) {
        return Period::dawn;
    }
    if (hour >= 8 && hour <= 16) {
        return Period::day;
    }
    if (hour >= 17 && hour <= 19) {
        return Period::dusk;
    }
    return Period::night;
}

std::optional<double> dyeHue(std::int64_t dye) {
    if (dye < 0 || dye >= static_cast<std::int64_t>(dyeHues.size())) {
        return std::nullopt;
    }
    return dyeHues[static_cast<std::size_t>(dye)];
}

QString dyeName(std::int64_t dye) {
    switch (dye) {
    case 1:
        return Texts::ui("빨강");
    case 2:
        return Texts::ui("주황");
    case 3:
        return Texts::ui("초록");
    case 4:
        return Texts::ui("하늘");
    case 5:
        return Texts::ui("보라");
    case 6:
        return Texts::ui("분홍");
    default:
        return Texts::ui("원래 색");
    }
}

namespace {

// Hexadecimal digits with an optional leading plus, as an unsigned 32-bit number; no prefix, no spaces.
std::optional<quint32> parseColor(const QString& text) {
    QStringView digits(text);
    if (digits.startsWith(u'+')) {
        digits = digits.mid(1);
    }
    if (digits.isEmpty()) {
        return std::nullopt;
    }
    quint64 value = 0;
    for (QChar c : digits) {
        int d;
        if (c >= u'0' && c <= u'9') {
            d = c.unicode() - u'0';
        } else if (c >= u'a' && c <= u'f') {
            d = c.unicode() - u'a' + 10;
        } else if (c >= u'A' && c <= u'F') {
            d = c.unicode() - u'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value * 16 + static_cast<quint64>(d);
        if (value > 0xffffffffu) {
            return std::nullopt;
        }
    }
    return static_cast<quint32>(value);
}

} // namespace

DyeColors parseDyeColors(const QByteArray& json) {
    DyeColors table;
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject()) {
        return table;
    }
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!it.value().isArray()) {
            continue;
        }
        QSet<quint32> colors;
        for (const QJsonValue& entry : it.value().toArray()) {
            if (!entry.isString()) {
                continue;
            }
            if (const auto color = parseColor(entry.toString())) {
                colors.insert(*color);
            }
        }
        table.insert(it.key(), colors);
    }
    return table;
}

const DyeColors& dyeColors() {
    static const DyeColors table = [] {
        initArtResources();
        QFile file(QStringLiteral(":/dye.json"));
        if (!file.open(QIODevice::ReadOnly)) {
            qCWarning(lcScene).noquote() << "no dye table (" + file.errorString() + "): every worker keeps its colours";
            return DyeColors{};
        }
        return parseDyeColors(file.readAll());
    }();
    return table;
}

} // namespace pipfield::Palette
