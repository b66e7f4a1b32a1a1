#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>

class QPainter;

namespace pipfield {

/// Texts whose digits each take the width of the font's widest digit, so that a changing number
/// does not make its row jitter. Only the digits' places change: every character keeps the font's
/// family and size. Most desktop sans fonts have equal digits already and are drawn as they are.
class TabularDigits {
public:
    /// The measurements for `font`, made once per font and kept.
    static const TabularDigits& of(const QFont& font);

    /// Whether the font's own digits already have one width.
    bool native() const { return m_native; }
    double cell() const { return m_cell; }
    double width(const QString& text) const;
    /// Draws `text` in `rect` with the horizontal and vertical part of `alignment`, in the painter's pen.
    void draw(QPainter& painter, const QRectF& rect, int alignment, const QString& text) const;

    explicit TabularDigits(const QFont& font);

private:
    QFont m_font;
    QFontMetricsF m_metrics;
    double m_cell = 0;
    bool m_native = true;
};

} // namespace pipfield
