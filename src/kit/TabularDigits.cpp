#include "kit/TabularDigits.h"

#include <QHash>
#include <QPainter>

#include <memory>

namespace pipfield {
namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

TabularDigits::TabularDigits(const QFont& font) : m_font(font), m_metrics(font) {
    const double zero = m_metrics.horizontalAdvance(QLatin1Char('0'));
    m_cell = zero;
    for (char c = '1'; c <= '9'; ++c) {
        const double w = m_metrics.horizontalAdvance(QLatin1Char(c));
        m_native = m_native && w == zero;
        m_cell = std::max(m_cell, w);
    }
}

const TabularDigits& TabularDigits::of(const QFont& font) {
    // Keyed by the font's description; the few text styles of the window make a handful of entries.
    static QHash<QString, std::shared_ptr<TabularDigits>> cache;
    const QString key = font.key();
    auto found = cache.constFind(key);
    if (found == cache.constEnd()) {
        found = cache.insert(key, std::make_shared<TabularDigits>(font));
    }
    return **found;
}

double TabularDigits::width(const QString& text) const {
    if (m_native) {
        return m_metrics.horizontalAdvance(text);
    }
    double w = 0;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || isDigit(text.at(i))) {
            w += m_metrics.horizontalAdvance(text.mid(from, i - from));
            if (i < text.size()) {
                w += m_cell;
            }
            from = i + 1;
        }
    }
    return w;
}

void TabularDigits::draw(QPainter& p, const QRectF& rect, int alignment, const QString& text) const {
    p.save();
    p.setFont(m_font);
    if (m_native) {
        p.drawText(rect, alignment, text);
        p.restore();
        return;
    }
    const double total = width(text);
    double x = rect.left();
    if (alignment & Qt::AlignRight) {
        x = rect.right() - total;
    } else if (alignment & Qt::AlignHCenter) {
        x = rect.left() + (rect.width() - total) / 2;
    }
    double baseline = rect.top() + (rect.height() - m_metrics.height()) / 2 + m_metrics.ascent();
    if (alignment & Qt::AlignTop) {
        baseline = rect.top() + m_metrics.ascent();
    } else if (alignment & Qt::AlignBottom) {
        baseline = rect.bottom() - m_metrics.descent();
    }
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || isDigit(text.at(i))) {
            const QString run = text.mid(from, i - from);
            if (!run.isEmpty()) {
                p.drawText(QPointF(x, baseline), run);
                x += m_metrics.horizontalAdvance(run);
            }
            if (i < text.size()) {
                const QChar digit = text.at(i);
                p.drawText(QPointF(x + (m_cell - m_metrics.horizontalAdvance(digit)) / 2, baseline), QString(digit));
                x += m_cell;
            }
            from = i + 1;
        }
    }
    p.restore();
}

} // namespace pipfield
