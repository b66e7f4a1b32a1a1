#include "manage/BuyButton.h"

#include "game/Game.h"
#include "game/Texts.h"
#include "kit/PixelArt.h"
#include "kit/ShortNumber.h"
#include "kit/TabularDigits.h"
#include "kit/TextStyle.h"
#include "manage/FocusRing.h"
#include "manage/LiveRefresh.h"
#include "model/Saturating.h"
#include "scene/Sprite.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QtMath>

namespace pipfield {
namespace {

constexpr int kGap = 4;
const QSize kIconSize(14, 13);

} // namespace

BuyButton::BuyButton(Game& game, Sprite& sprites, const Purchase& purchase, const QString& title, QWidget* parent)
    : QPushButton(parent), m_game(game), m_sprites(sprites), m_purchase(purchase), m_title(title) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QPushButton::clicked, this, [this] { m_game.buy(m_purchase); });
    auto* live = new LiveRefresh(this, [this] { refresh(); });
    connect(&m_game, &Game::orchardChanged, live, &LiveRefresh::changed);
    refresh();
}

void BuyButton::setPurchase(const Purchase& purchase, const QString& title) {
    m_purchase = purchase;
    m_title = title;
    refresh();
}

QString BuyButton::reason(const Orchard& orchard, const Purchase& purchase, std::optional<std::int64_t> price) {
    if (price) {
        if (orchard.coins >= *price) {
            return Texts::ui("살 수 있어요");
        }
        return Texts::ui("코인이 %1 모자라요", shortNumber(saturatingSub(*price, orchard.coins)));
    }
    switch (purchase.what) {
    case Purchase::Case::tree:
        return Texts::ui("밭이 다 찼어요");
    case Purchase::Case::secondWorker:
        return Texts::ui("레벨 %1부터 한 명 더 고용할 수 있어요", Orchard::secondWorkerLevel);
    default:
        return Texts::ui("최고 레벨이에요");
    }
}

void BuyButton::refresh() {
    const Orchard& orchard = m_game.orchard();
    m_price = orchard.cost(m_purchase);
    setEnabled(m_price && orchard.coins >= *m_price);
    setToolTip(reason(orchard, m_purchase, m_price));
    setAccessibleName(m_price ? Texts::ui("%1 코인 %2", m_title, *m_price) : m_title);
    updateGeometry();
    update();
}

QString BuyButton::priceText() const {
    return m_price ? shortNumber(*m_price) : QString();
}

QSize BuyButton::contentSize() const {
    const QFontMetrics fm(font());
    int w = fm.horizontalAdvance(m_title);
    if (m_price) {
        w += kGap + kIconSize.width() + kGap + qCeil(TabularDigits::of(font()).width(priceText()));
    }
    return QSize(w, std::max(fm.height(), kIconSize.height()));
}

QSize BuyButton::sizeHint() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    const QSize content = contentSize() + QSize(12, 0);
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, content, this);
}

void BuyButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    p.drawControl(QStyle::CE_PushButtonBevel, option);
    // The bevel alone shows no focus in every style; the window's own ring does.
    drawFocusRing(p, *this, roundedPath(rect(), 4));

    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const QSize content = contentSize();
    int x = area.left() + (area.width() - content.width()) / 2;
    const QColor ink = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    p.setPen(ink);
    const int titleWidth = fontMetrics().horizontalAdvance(m_title);
    p.drawText(QRect(x, area.top(), titleWidth, area.height()), Qt::AlignVCenter | Qt::AlignLeft, m_title);
    x += titleWidth;
    if (!m_price) {
        return;
    }
    x += kGap;
    if (const std::optional<QImage> coin = m_sprites.image(QStringLiteral("ui-coin"), std::nullopt, Grading::asIs)) {
        p.save();
        p.setOpacity(isEnabled() ? 1.0 : 0.5);
        drawPixelArt(p, *coin, QRect(QPoint(x, area.center().y() - kIconSize.height() / 2 + 1), kIconSize),
                     PixelFit::stretch);
        p.restore();
    }
    x += kIconSize.width() + kGap;
    TabularDigits::of(font()).draw(p, QRectF(x, area.top(), area.right() - x + 1, area.height()),
                                   Qt::AlignVCenter | Qt::AlignLeft, priceText());
}

} // namespace pipfield
