#include "manage/OrchardTab.h"

#include "game/Game.h"
#include "game/Texts.h"
#include "kit/ShortNumber.h"
#include "kit/TabularDigits.h"
#include "manage/BuyButton.h"
#include "manage/FormPage.h"
#include "manage/Label.h"
#include "manage/LiveRefresh.h"
#include "manage/SpriteView.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>

namespace pipfield {
namespace {

constexpr int kPlotNumberWidth = 18;

QString fruitIcon(TreeKind kind) {
    return QStringLiteral("ui-fruit-") + QLatin1String(rawValue(kind));
}

} // namespace

KindRow::KindRow(Game& game, Sprite& sprites, TreeKind kind, QWidget* parent)
    : QWidget(parent), m_game(game), m_kind(kind) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 2, 0, 2);
    row->setSpacing(12);
    auto* icon = new SpriteView(sprites, QSize(16, 16), this);
    icon->setSprite(fruitIcon(kind));
    row->addWidget(icon, 0, Qt::AlignVCenter);

    const Balance::TreeSpec& spec = Balance::spec(kind);
    auto* text = new QVBoxLayout;
    text->setSpacing(2);
    text->addWidget(new Label(fromStd(name(kind)), TextStyle::headline, Tone::primary, this));
    text->addWidget(
        new Label(Texts::ui("한 개 %1코인 · %2초마다 열매 · 다 자라는 데 %3분", spec.value,
                            static_cast<std::int64_t>(spec.interval), static_cast<std::int64_t>(spec.grow / 60)),
                  TextStyle::caption, Tone::secondary, this));
    row->addLayout(text);
    row->addStretch(1);

    m_count = new Label({}, TextStyle::caption, Tone::secondary, this);
    m_count->setTabularDigits(true);
    row->addWidget(m_count, 0, Qt::AlignVCenter);
    m_button = new BuyButton(game, sprites, Purchase::tree(kind), Texts::ui("심기"), this);
    row->addWidget(m_button, 0, Qt::AlignVCenter);

    auto* live = new LiveRefresh(this, [this] { refresh(); });
    connect(&m_game, &Game::orchardChanged, live, &LiveRefresh::changed);
    refresh();
}

void KindRow::refresh() {
    const Orchard& o = m_game.orchard();
    const std::int64_t planted = o.treesOf(m_kind);
    m_count->setVisible(planted > 0);
    m_count->setText(Texts::ui("%1그루", planted));
    if (o.unlocked.contains(m_kind)) {
        if (m_button->purchase() != Purchase::tree(m_kind)) {
            m_button->setPurchase(Purchase::tree(m_kind), Texts::ui("심기"));
        }
    } else if (m_button->purchase() != Purchase::unlock(m_kind)) {
        m_button->setPurchase(Purchase::unlock(m_kind), Texts::ui("해금"));
    }
}

PlotRow::PlotRow(Game& game, Sprite& sprites, std::int64_t index, QWidget* parent)
    : QWidget(parent), m_game(game), m_index(index) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    auto* number = new Label(QString::number(index + 1), TextStyle::caption, Tone::secondary, this);
    number->setTabularDigits(true);
    // Every row's number in one width, wide enough for two digits however large the desktop's font.
    number->setFixedWidth(std::max(kPlotNumberWidth, qCeil(2 * TabularDigits::of(number->font()).cell()) + 2));
    number->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    row->addWidget(number);
    m_icon = new SpriteView(sprites, QSize(20, 20), this);
    m_icon->setFit(PixelFit::stretch);
    row->addWidget(m_icon);
    m_name = new Label({}, TextStyle::body, Tone::primary, this);
    row->addWidget(m_name);
    row->addStretch(1);
    m_status = new Label({}, TextStyle::caption, Tone::secondary, this);
    m_status->setTabularDigits(true);
    row->addWidget(m_status);
    m_replant = new QToolButton(this);
    m_replant->setText(Texts::ui("바꿔 심기"));
    m_replant->setPopupMode(QToolButton::InstantPopup);
    m_replant->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_replant->setMenu(new QMenu(m_replant));
    row->addWidget(m_replant);

    auto* live = new LiveRefresh(this, [this] { refreshMenu(); });
    connect(&m_game, &Game::orchardChanged, live, &LiveRefresh::changed);
}

QString PlotRow::status(const Tree& tree) {
    if (tree.growing()) {
        return Texts::ui("자라는 중 %1%%", tree.growthPercent());
    }
    if (tree.fruit >= 1) {
        return Texts::ui("열매 %1개", tree.fruit);
    }
    return Texts::ui("열매 맺는 중");
}

void PlotRow::setTree(const Tree& tree) {
    const bool kindChanged = !m_hasTree || tree.kind != m_tree.kind;
    m_tree = tree;
    m_hasTree = true;
    m_icon->setSprite(fruitIcon(tree.kind));
    m_name->setText(fromStd(name(tree.kind)));
    m_status->setText(status(tree));
    if (kindChanged) {
        rebuildMenu();
    }
}

void PlotRow::rebuildMenu() {
    // One item per kind for the row's lifetime: an item's own action may replant this plot, and
    // deleting it from inside its trigger would pull it from under the menu.
    QMenu* menu = m_replant->menu();
    if (menu->actions().isEmpty()) {
        for (TreeKind kind : allTreeKinds) {
            QAction* action = menu->addAction(QString());
            action->setData(kindIndex(kind));
            connect(action, &QAction::triggered, this, [this, kind] { m_game.buy(Purchase::replant(m_index, kind)); });
        }
    }
    for (QAction* action : menu->actions()) {
        action->setVisible(static_cast<TreeKind>(action->data().toInt()) != m_tree.kind);
    }
    refreshMenu();
}

QList<QAction*> PlotRow::replantItems() const {
    QList<QAction*> shown;
    for (QAction* action : m_replant->menu()->actions()) {
        if (action->isVisible()) {
            shown.append(action);
        }
    }
    return shown;
}

void PlotRow::refreshMenu() {
    const Orchard& o = m_game.orchard();
    for (QAction* action : m_replant->menu()->actions()) {
        const auto kind = static_cast<TreeKind>(action->data().toInt());
        const std::optional<std::int64_t> price = o.cost(Purchase::replant(m_index, kind));
        action->setText(Texts::ui("%1 (%2)", fromStd(name(kind)), price ? shortNumber(*price) : Texts::ui("잠김")));
        action->setEnabled(price && o.coins >= *price);
    }
}

OrchardTab::OrchardTab(Game& game, Sprite& sprites, QWidget* parent)
    : QWidget(parent), m_game(game), m_sprites(sprites) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* form = new FormPage(this);
    layout->addWidget(form);

    QVBoxLayout* kinds = form->addSection(Texts::ui("나무 심기"));
    for (TreeKind kind : allTreeKinds) {
        auto* row = new KindRow(game, sprites, kind);
        kinds->addWidget(row);
        m_kinds.push_back(row);
    }
    m_footer = form->addFooter({});

    m_plotLayout = form->addSection(Texts::ui("내 밭"));

    QVBoxLayout* crate = form->addSection(Texts::ui("창고"));
    auto* crateRow = new QHBoxLayout;
    auto* crateText = new QVBoxLayout;
    crateText->setSpacing(2);
    m_crateLevel = new Label({}, TextStyle::body, Tone::primary);
    m_nextCrate = new Label({}, TextStyle::caption, Tone::secondary);
    crateText->addWidget(m_crateLevel);
    crateText->addWidget(m_nextCrate);
    crateRow->addLayout(crateText);
    crateRow->addStretch(1);
    m_crateButton = new BuyButton(game, sprites, Purchase::crate(), Texts::ui("넓히기"));
    crateRow->addWidget(m_crateButton, 0, Qt::AlignVCenter);
    crate->addLayout(crateRow);

    auto* live = new LiveRefresh(this, [this] { refresh(); });
    connect(&m_game, &Game::orchardChanged, live, &LiveRefresh::changed);
    refresh();
}

void OrchardTab::refresh() {
    const Orchard& o = m_game.orchard();
    m_footer->setText(Texts::ui("밭 %1 / %2칸. 밭이 다 차면 아래에서 바꿔 심을 수 있어요.",
                                static_cast<std::int64_t>(o.trees.size()),
                                static_cast<std::int64_t>(Orchard::maxTrees)));

    while (m_plots.size() > o.trees.size()) {
        delete m_plots.back();
        m_plots.pop_back();
    }
    while (m_plots.size() < o.trees.size()) {
        auto* row = new PlotRow(m_game, m_sprites, static_cast<std::int64_t>(m_plots.size()));
        m_plotLayout->addWidget(row);
        m_plots.push_back(row);
    }
    for (std::size_t i = 0; i < o.trees.size(); ++i) {
        m_plots[i]->setTree(o.trees[i]);
    }

    m_crateLevel->setText(Texts::ui("레벨 %1 · %2개 보관", o.crateLevel, o.crateCapacity()));
    const bool larger = o.crateLevel < Orchard::maxCrateLevel;
    m_nextCrate->setVisible(larger);
    if (larger) {
        m_nextCrate->setText(Texts::ui("다음 레벨: %1개", Balance::crateCapacity(o.crateLevel + 1)));
    }
}

} // namespace pipfield
