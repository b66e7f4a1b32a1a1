#include "manage/CoinLabel.h"

#include "game/Texts.h"
#include "kit/ShortNumber.h"
#include "manage/Accessibility.h"
#include "manage/Label.h"
#include "manage/SpriteView.h"

#include <QHBoxLayout>

namespace pipfield {

CoinLabel::CoinLabel(Sprite& sprites, const QFont& font, QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    markCombined(this);
    auto* coin = new SpriteView(sprites, QSize(12, 12), this);
    coin->setSprite(QStringLiteral("ui-coin"));
    m_text = new Label({}, font, Tone::primary, this);
    m_text->setTabularDigits(true);
    // Wider than its content, the label keeps coin and number at its trailing edge, next to what follows.
    layout->addStretch(1);
    layout->addWidget(coin, 0, Qt::AlignVCenter);
    layout->addWidget(m_text, 0, Qt::AlignVCenter);
    setAmount(0);
}

void CoinLabel::setAmount(std::int64_t amount) {
    if (amount == m_amount) {
        return;
    }
    m_amount = amount;
    m_text->setText(shortNumber(amount));
    setAccessibleName(Texts::ui("코인 %1", amount));
}

QString CoinLabel::text() const {
    return m_text->text();
}

} // namespace pipfield
