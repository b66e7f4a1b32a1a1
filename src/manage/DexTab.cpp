#include "manage/DexTab.h"

#include "game/Game.h"
#include "game/Texts.h"
#include "kit/ShortNumber.h"
#include "manage/Accessibility.h"
#include "manage/Label.h"
#include "manage/LiveRefresh.h"
#include "manage/SpriteView.h"
#include "model/Balance.h"

#include <QGridLayout>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QVBoxLayout>

namespace pipfield {

DexCell::DexCell(Sprite& sprites, TreeKind kind, QWidget* parent) : QWidget(parent), m_kind(kind) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 12, 4, 12);
    column->setSpacing(6);
    markCombined(this);
    m_tree = new SpriteView(sprites, QSize(120, 60), this);
    m_tree->setMinimumWidth(10);
    m_tree->setMaximumWidth(QWIDGETSIZE_MAX);
    m_tree->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    column->addWidget(m_tree);
    m_name = new Label({}, styledFont(TextStyle::callout, QFont::DemiBold), Tone::primary, this);
    m_name->setAlignment(Qt::AlignCenter);
    column->addWidget(m_name);
    m_line = new Label({}, TextStyle::caption, Tone::secondary, this);
    m_line->setTabularDigits(true);
    m_line->setAlignment(Qt::AlignCenter);
    column->addWidget(m_line);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void DexCell::setState(bool planted, std::int64_t harvested, bool unlocked) {
    m_tree->setSprite(QStringLiteral("tree-") + QLatin1String(rawValue(m_kind)) + QStringLiteral("-6"), std::nullopt,
                      1.0, !planted);
    m_name->setText(planted ? fromStd(name(m_kind)) : QStringLiteral("???"));
    if (planted) {
        m_line->setText(Texts::ui("딴 열매 %1개", shortNumber(harvested)));
    } else if (unlocked) {
        m_line->setText(Texts::ui("아직 안 심었어요"));
    } else {
        m_line->setText(Texts::ui("해금 %1", shortNumber(Balance::spec(m_kind).unlockCost)));
    }
    setAccessibleName(m_name->text() + QLatin1Char(' ') + m_line->text());
}

void DexCell::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), 8, 8);
    p.fillPath(shape, toneColor(palette(), Tone::quaternary));
}

DexTab::DexTab(Game& game, Sprite& sprites, QWidget* parent) : QWidget(parent), m_game(game) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(scroll);

    auto* content = new QWidget(scroll);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(12);
    m_heading = new Label({}, TextStyle::headline, Tone::primary, content);
    column->addWidget(m_heading);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(12);
    for (int i = 0; i < 3; ++i) {
        grid->setColumnStretch(i, 1);
    }
    for (TreeKind kind : allTreeKinds) {
        auto* cell = new DexCell(sprites, kind, content);
        const int at = kindIndex(kind);
        grid->addWidget(cell, at / 3, at % 3);
        m_cells[static_cast<std::size_t>(at)] = cell;
    }
    column->addLayout(grid);
    column->addStretch(1);
    scroll->setWidget(content);

    auto* live = new LiveRefresh(this, [this] { refresh(); });
    connect(&m_game, &Game::orchardChanged, live, &LiveRefresh::changed);
    refresh();
}

void DexTab::refresh() {
    const Orchard& o = m_game.orchard();
    m_heading->setText(Texts::ui("심어 본 나무 %1 / %2", static_cast<std::int64_t>(o.everPlanted.size()), 12));
    for (TreeKind kind : allTreeKinds) {
        cell(kind)->setState(o.everPlanted.contains(kind), o.harvestedByKind.valueOr(kind, 0),
                             o.unlocked.contains(kind));
    }
}

} // namespace pipfield
