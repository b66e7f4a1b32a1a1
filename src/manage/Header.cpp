#include "manage/Header.h"

#include "game/Game.h"
#include "game/Texts.h"
#include "kit/ShortNumber.h"
#include "manage/CapsuleButton.h"
#include "manage/CoinLabel.h"
#include "manage/CrateGauge.h"
#include "manage/Label.h"
#include "manage/LiveRefresh.h"
#include "manage/SpriteView.h"
#include "model/Balance.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

namespace pipfield {

Header::Header(Game& game, Sprite& sprites, QWidget* parent) : QWidget(parent), m_game(game) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* art = new SpriteView(sprites, QSize(600, 120), this);
    art->setSprite(QStringLiteral("KeyArt"));
    art->setFit(PixelFit::fill);
    art->setMinimumWidth(0);
    art->setMaximumWidth(QWIDGETSIZE_MAX);
    art->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    column->addWidget(art);

    // Laid over the art so the tabs below keep their room while it shows.
    m_welcome = new QLabel(art);
    m_welcome->setFont(styledFont(TextStyle::callout, QFont::DemiBold));
    m_welcome->setTextFormat(Qt::PlainText);
    m_welcome->setWordWrap(true);
    m_welcome->setStyleSheet(
        QStringLiteral("QLabel { color: white; background-color: rgba(36, 28, 12, 190); padding: 5px 20px; }"));
    auto* over = new QVBoxLayout(art);
    over->setContentsMargins(0, 0, 0, 0);
    over->addStretch(1);
    over->addWidget(m_welcome);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(20, 12, 20, 12);
    row->setSpacing(16);

    auto* crate = new QVBoxLayout;
    crate->setSpacing(6);
    auto* line = new QHBoxLayout;
    line->addWidget(new Label(Texts::ui("창고"), TextStyle::headline, Tone::primary, this));
    line->addStretch();
    m_crateText = new Label({}, TextStyle::subheadline, Tone::secondary, this);
    m_crateText->setTabularDigits(true);
    line->addWidget(m_crateText);
    crate->addLayout(line);
    m_gauge = new CrateGauge(this);
    crate->addWidget(m_gauge);
    row->addLayout(crate, 1);

    m_coins = new CoinLabel(sprites, styledFont(TextStyle::title3, QFont::DemiBold), this);
    m_coins->setMinimumWidth(96);
    row->addWidget(m_coins, 0, Qt::AlignRight | Qt::AlignVCenter);

    m_sell = new CapsuleButton(Texts::ui("모두 팔기 +"), this);
    m_sell->setMinimumWidth(120);
    row->addWidget(m_sell, 0, Qt::AlignVCenter);
    column->addLayout(row);

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    column->addWidget(divider);

    connect(m_sell, &QAbstractButton::clicked, this, [this] { m_game.sellAll(); });
    // Not the button's own shortcut: every new label would replace that with the label's mnemonic.
    auto* sellKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    connect(sellKey, &QShortcut::activated, this, [this] {
        if (m_sell->isEnabled()) {
            m_sell->click();
        }
    });
    auto* live = new LiveRefresh(this, [this] { refresh(); });
    connect(&m_game, &Game::orchardChanged, live, &LiveRefresh::changed);
    connect(&m_game, &Game::seasonChanged, live, &LiveRefresh::changed);
    // Rare, and its text must be there the moment the window shows: no deferral.
    connect(&m_game, &Game::welcomeBackChanged, this, &Header::refreshWelcome);
    refresh();
    refreshWelcome();
}

void Header::refreshWelcome() {
    const QString text = m_game.welcomeBackText();
    m_welcome->setText(text);
    m_welcome->setAccessibleName(text);
    m_welcome->setVisible(!text.isEmpty());
}

void Header::refresh() {
    const Orchard& o = m_game.orchard();
    const std::int64_t count = o.crateCount();
    const std::int64_t capacity = o.crateCapacity();
    m_crateText->setText(QString::number(count) + QStringLiteral(" / ") + QString::number(capacity));
    m_gauge->setFill(count, capacity);
    m_coins->setAmount(o.coins);
    m_sell->setText(Texts::ui("모두 팔기 +%1", shortNumber(o.crateValue(m_game.season()))));
    m_sell->setEnabled(count > 0);
}

} // namespace pipfield
