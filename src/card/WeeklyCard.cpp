#include "card/WeeklyCard.h"

#include "card/SaveDialog.h"
#include "game/FileReplacement.h"
#include "game/Game.h"
#include "game/LocalTime.h"
#include "game/SaveLog.h"
#include "game/Texts.h"
#include "kit/PixelArt.h"
#include "kit/ShortNumber.h"
#include "kit/TabularDigits.h"
#include "kit/TextStyle.h"
#include "scene/Sprite.h"

#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>

#include <array>
#include <memory>

namespace pipfield {
namespace {

// From the Monday that starts the week to the Sunday the card names last: six days.
constexpr double kMondayToSunday = 6 * 86400.0;
const QColor kBackground = QColor::fromRgbF(1.0f, 0.985f, 0.94f);
const QColor kInk(30, 30, 30);
const QColor kInkSecondary(30, 30, 30, 150);

QString monthDay(Instant t, const QLocale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale icuLocale(locale.name().toLatin1().constData());
    std::unique_ptr<icu::DateFormat> format(
        icu::DateFormat::createInstanceForSkeleton(icu::UnicodeString::fromUTF8("MMMd"), icuLocale, status));
    const double millis = static_cast<double>(localDateTime(t).toMSecsSinceEpoch());
    if (U_FAILURE(status) || !format) {
        return QLocale(locale).toString(localDateTime(t).date(), QLocale::ShortFormat);
    }
    icu::UnicodeString text;
    format->format(millis, text);
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

/// The card's fonts, from a fixed base so that the exported picture does not depend on the desktop's font size.
QFont cardFont(TextStyle style, QFont::Weight weight) {
    QFont base = QApplication::font();
    base.setPixelSize(13);
    return styledFont(style, weight, base);
}

void drawStat(QPainter& p, Sprite& sprites, const QRectF& tile, const QString& title, std::int64_t value,
              const QString& icon) {
    QPainterPath shape;
    shape.addRoundedRect(tile, 10, 10);
    p.fillPath(shape, Qt::white);
    double y = tile.top() + 12;
    const double x = tile.left() + 12;
    if (const std::optional<QImage> image = sprites.image(icon, std::nullopt, Grading::asIs)) {
        drawPixelArt(p, *image, QRectF(x, y, 28, 28), PixelFit::fit);
    }
    y += 28 + 6;
    const QFont valueFont = cardFont(TextStyle::title, QFont::Bold);
    p.setPen(kInk);
    const QFontMetricsF vm(valueFont);
    TabularDigits::of(valueFont).draw(p, QRectF(x, y, tile.width() - 24, vm.height()), Qt::AlignLeft | Qt::AlignVCenter,
                                      shortNumber(value));
    y += vm.height() + 6;
    const QFont captionFont = cardFont(TextStyle::caption, QFont::Normal);
    p.setFont(captionFont);
    p.setPen(kInkSecondary);
    p.drawText(QRectF(x, y, tile.width() - 24, QFontMetricsF(captionFont).height()), Qt::AlignLeft | Qt::AlignVCenter,
               title);
}

} // namespace

QString WeeklyCard::range(const QLocale& locale) const {
    return monthDay(weekStart, locale) + QStringLiteral(" – ") +
           monthDay(addSeconds(weekStart, kMondayToSunday), locale);
}

QString WeeklyCard::fileName() const {
    return QStringLiteral("Pipfield-") + Game::weekKey(weekStart) + QStringLiteral(".png");
}

void WeeklyCard::paint(QPainter& p, Sprite& sprites) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF card(QPointF(0, 0), QSizeF(kSize));
    QPainterPath outline;
    outline.addRoundedRect(card, 16, 16);
    p.setClipPath(outline, Qt::IntersectClip);
    p.fillRect(card, kBackground);

    if (const std::optional<QImage> art = sprites.image(QStringLiteral("KeyArt"), std::nullopt, Grading::asIs)) {
        drawPixelArt(p, *art, QRectF(0, 0, kSize.width(), 170), PixelFit::fill);
    }

    const double left = 20;
    const double right = kSize.width() - 20;
    double y = 170 + 20;

    const QFont titleFont = cardFont(TextStyle::title2, QFont::Bold);
    const QFont rangeFont = cardFont(TextStyle::subheadline, QFont::Normal);
    const QFontMetricsF tm(titleFont);
    const QFontMetricsF rm(rangeFont);
    const double baseline = y + tm.ascent();
    p.setPen(kInk);
    p.setFont(titleFont);
    p.drawText(QPointF(left, baseline), Texts::ui("이번 주 과수원 기록"));
    p.setPen(kInkSecondary);
    p.setFont(rangeFont);
    const QString dates = range();
    p.drawText(QPointF(right - rm.horizontalAdvance(dates), baseline), dates);
    y += tm.height() + 14;

    const std::array<std::tuple<const char*, std::int64_t, const char*>, 4> tiles = {{
        {QT_TRANSLATE_NOOP("pipfield", "딴 레몬"), stats.harvested, "ui-fruit-eureka"},
        {QT_TRANSLATE_NOOP("pipfield", "판 레몬"), stats.sold, "ui-fruit-meyer"},
        {QT_TRANSLATE_NOOP("pipfield", "번 코인"), stats.earned, "ui-coin"},
        {QT_TRANSLATE_NOOP("pipfield", "새로 심은 나무"), stats.planted, "ui-fruit-lime"},
    }};
    const double spacing = 12;
    const double tileWidth = (right - left - 3 * spacing) / 4;
    const double tileHeight = 12 + 28 + 6 + QFontMetricsF(cardFont(TextStyle::title, QFont::Bold)).height() + 6 +
                              QFontMetricsF(cardFont(TextStyle::caption, QFont::Normal)).height() + 12;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const auto& [title, value, icon] = tiles[i];
        const QRectF tile(left + static_cast<double>(i) * (tileWidth + spacing), y, tileWidth, tileHeight);
        drawStat(p, sprites, tile, Texts::ui(title), value, QLatin1String(icon));
    }
    y += tileHeight + 14;

    const QFont footFont = cardFont(TextStyle::caption, QFont::Normal);
    p.setFont(footFont);
    p.setPen(kInkSecondary);
    p.drawText(QRectF(left, y, right - left, QFontMetricsF(footFont).height()), Qt::AlignLeft | Qt::AlignVCenter,
               Texts::ui("Pip Field · %1", QStringLiteral("pipfield.app")));
    p.restore();
}

QImage WeeklyCard::render(Sprite& sprites, double scale) const {
    QImage image(qRound(kSize.width() * scale), qRound(kSize.height() * scale), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        return {};
    }
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(scale, scale);
    paint(p, sprites);
    p.end();
    return image;
}

std::optional<QString> WeeklyCard::save(const WeeklyCard& card, Sprite& sprites, SaveDialog& dialog, QWidget* parent) {
    const QImage image = card.render(sprites);
    if (image.isNull()) {
        // Only memory can be short here; asking where to store a picture that does not exist would mislead.
        qCWarning(lcSave) << "the weekly card could not be drawn";
        return Texts::ui("그림을 만들 수 없어요.");
    }
    const QString path = dialog.askPngFile(parent, card.fileName());
    if (path.isEmpty()) {
        return std::nullopt;
    }
    // Encoded in memory first, so that the file only ever receives a whole picture.
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        qCWarning(lcSave) << "the weekly card could not be encoded as PNG";
        return Texts::ui("그림을 만들 수 없어요.");
    }
    if (std::optional<QString> why = FileReplacement::replace(path, png)) {
        qCWarning(lcSave).noquote() << "the weekly card was not saved: cannot write" << path << "(" + *why + ")";
        return why;
    }
    return std::nullopt;
}

} // namespace pipfield
