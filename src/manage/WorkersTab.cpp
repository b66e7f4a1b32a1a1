#include "manage/WorkersTab.h"

#include "game/Game.h"
#include "game/Texts.h"
#include "kit/PixelArt.h"
#include "kit/ShortNumber.h"
#include "manage/Accessibility.h"
#include "manage/BuyButton.h"
#include "manage/CapsuleButton.h"
#include "manage/DyePicker.h"
#include "manage/FocusRing.h"
#include "manage/FormPage.h"
#include "manage/Label.h"
#include "manage/LiveRefresh.h"
#include "manage/SpriteView.h"
#include "manage/Symbols.h"
#include "model/Balance.h"
#include "scene/Sprite.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace pipfield {
namespace {

QString shownName(WorkerRole role, const WorkerLook& look) {
    return fromStd(look.name.empty() ? defaultName(role, look.variant) : look.name);
}

/// One body to choose in the hire sheet: portrait and default name on a card that marks the choice.
class VariantCard final : public QAbstractButton {
public:
    VariantCard(Sprite& sprites, WorkerRole role, int variant, QWidget* parent)
        : QAbstractButton(parent), m_sprites(sprites), m_role(role), m_variant(variant) {
        setCheckable(true);
        setText(fromStd(defaultName(role, variant)));
        setAccessibleName(text());
        setFont(styledFont(TextStyle::callout));
        setCursor(Qt::PointingHandCursor);
        setFixedSize(72 + 20, 80 + 6 + QFontMetrics(font()).height() + 20);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QPainterPath shape = roundedPath(rect(), 8);
        if (isChecked()) {
            QColor tint = leafColor();
            tint.setAlphaF(0.14f);
            p.fillPath(shape, tint);
            p.setPen(QPen(leafColor(), 2));
        } else {
            QColor line = toneColor(palette(), Tone::secondary);
            line.setAlphaF(line.alphaF() * 0.3f);
            p.setPen(QPen(line, 1));
        }
        p.drawPath(shape);
        drawFocusRing(p, *this, shape);
        const QString portrait = QStringLiteral("portrait-") + QLatin1String(rawValue(m_role)) +
                                 (m_variant == 1 ? QStringLiteral("b") : QString());
        if (const std::optional<QImage> image = m_sprites.image(portrait, std::nullopt, Grading::asIs)) {
            drawPixelArt(p, *image, QRectF(10, 10, 72, 80), PixelFit::fit);
        }
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRectF(0, 10 + 80 + 6, width(), QFontMetrics(font()).height()), Qt::AlignHCenter | Qt::AlignTop,
                   text());
    }

private:
    Sprite& m_sprites;
    WorkerRole m_role;
    int m_variant;
};

} // namespace

GearLine::GearLine(Sprite& sprites, QWidget* parent) : QWidget(parent) {
    markCombined(this);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    auto* star = new Label(QStringLiteral("★"), TextStyle::caption, Tone::primary, this);
    star->setToneColor(lemonTextColor());
    row->addWidget(star);
    m_name = new Label({}, styledFont(TextStyle::caption, QFont::DemiBold), Tone::primary, this);
    row->addWidget(m_name);
    m_arrow = new Label(QStringLiteral("→"), TextStyle::caption2, Tone::secondary, this);
    row->addWidget(m_arrow);
    m_preview = new WorkerSprite(sprites, QSize(30, 34), 1.0, this);
    row->addWidget(m_preview);
    m_next = new Label({}, TextStyle::caption, Tone::secondary, this);
    row->addWidget(m_next);
    row->addStretch(1);
}

void GearLine::setGear(WorkerRole role, const WorkerLook& look, int tier) {
    m_name->setText(fromStd(Balance::gearName(tier)));
    const bool more = tier < Balance::maxGearTier;
    m_arrow->setVisible(more);
    m_preview->setVisible(more);
    m_next->setVisible(more);
    QString spoken = m_name->text();
    if (more) {
        m_preview->setWorker(role, look, tier + 1);
        m_next->setText(Texts::ui("레벨 %1에 %2", Balance::gearLevels[static_cast<std::size_t>(std::max(0, tier + 1))],
                                  fromStd(Balance::gearName(tier + 1))));
        spoken += QLatin1Char(' ') + m_next->text();
    }
    setAccessibleName(spoken);
}

WorkerRow::WorkerRow(Game& game, Sprite& sprites, WorkerRole role, std::function<void()> hire, QWidget* parent)
    : QWidget(parent), m_game(game), m_role(role) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 4, 0, 4);
    row->setSpacing(14);
    m_sprite = new WorkerSprite(sprites, QSize(64, 72), 2.0, this);
    row->addWidget(m_sprite, 0, Qt::AlignTop);

    auto* text = new QVBoxLayout;
    text->setSpacing(3);
    auto* titleLine = new QHBoxLayout;
    titleLine->setSpacing(6);
    m_title = new Label({}, TextStyle::headline, Tone::primary, this);
    m_roleName = new Label(fromStd(name(role)), TextStyle::caption, Tone::secondary, this);
    m_level = new Label({}, TextStyle::caption, Tone::secondary, this);
    m_level->setTabularDigits(true);
    titleLine->addWidget(m_title, 0, Qt::AlignBaseline);
    titleLine->addWidget(m_roleName, 0, Qt::AlignBaseline);
    titleLine->addWidget(m_level, 0, Qt::AlignBaseline);
    titleLine->addStretch(1);
    text->addLayout(titleLine);
    text->addWidget(new Label(fromStd(job(role)), TextStyle::callout, Tone::primary, this));
    m_effect = new Label({}, TextStyle::caption, Tone::secondary, this);
    text->addWidget(m_effect);
    m_gear = new GearLine(sprites, this);
    text->addWidget(m_gear);
    m_partnerRow = new QWidget(this);
    markCombined(m_partnerRow);
    auto* partner = new QHBoxLayout(m_partnerRow);
    partner->setContentsMargins(0, 0, 0, 0);
    partner->setSpacing(4);
    m_partnerSprite = new WorkerSprite(sprites, QSize(32, 36), 1.0, m_partnerRow);
    m_partner = new Label({}, TextStyle::caption, Tone::primary, m_partnerRow);
    partner->addWidget(m_partnerSprite);
    partner->addWidget(m_partner);
    partner->addStretch(1);
    text->addWidget(m_partnerRow);
    text->addStretch(1);
    row->addLayout(text, 1);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    m_buy = new BuyButton(game, sprites, Purchase::worker(role), Texts::ui("고용"), this);
    buttons->addWidget(m_buy, 0, Qt::AlignRight);
    m_more = new QPushButton(symbolIcon(sprites, {"list-add-user", "contact-new"}, QStringLiteral("icon-person-add")),
                             Texts::ui("한 명 더…"), this);
    buttons->addWidget(m_more, 0, Qt::AlignRight);
    buttons->addStretch(1);
    row->addLayout(buttons);

    connect(m_more, &QPushButton::clicked, this, [hire = std::move(hire)] { hire(); });
    auto* live = new LiveRefresh(this, [this] { refresh(); });
    connect(&m_game, &Game::orchardChanged, live, &LiveRefresh::changed);
    refresh();
}

void WorkerRow::refresh() {
    const Orchard& o = m_game.orchard();
    const std::int64_t level = o.level(m_role);
    const bool hired = level >= 1;
    const int tier = Balance::gearTier(level);
    const WorkerLook first = o.look(m_role, 0);

    m_sprite->setWorker(m_role, first, tier);
    m_sprite->setOpacity(hired ? 1.0 : 0.45);
    m_title->setText(hired ? shownName(m_role, first) : fromStd(name(m_role)));
    m_roleName->setVisible(hired);
    m_level->setText(hired ? Texts::ui("레벨 %1", level) : Texts::ui("아직 없음"));
    if (!hired) {
        m_effect->setText(Texts::ui("고용하면 %1", fromStd(effect(m_role, 1))));
    } else if (level < Orchard::maxWorkerLevel) {
        m_effect->setText(
            Texts::ui("지금 %1 · 다음 레벨 %2", fromStd(effect(m_role, level)), fromStd(effect(m_role, level + 1))));
    } else {
        m_effect->setText(fromStd(effect(m_role, level)));
    }
    m_gear->setVisible(hired);
    if (hired) {
        m_gear->setGear(m_role, first, tier);
    }
    const bool two = o.staff(m_role) == 2;
    m_partnerRow->setVisible(two);
    if (two) {
        const WorkerLook second = o.look(m_role, 1);
        m_partnerSprite->setWorker(m_role, second, tier);
        m_partner->setText(Texts::ui("함께 일하는 %1", shownName(m_role, second)));
        m_partnerRow->setAccessibleName(m_partner->text());
    }

    const Purchase levelUp = Purchase::worker(m_role);
    const QString title = hired ? Texts::ui("레벨 업") : Texts::ui("고용");
    if (m_buy->title() != title) {
        m_buy->setPurchase(levelUp, title);
    }
    m_more->setVisible(hired && o.staff(m_role) <= 1);
    m_more->setEnabled(o.cost(Purchase::secondWorker(m_role)).has_value());
    m_more->setToolTip(level < Orchard::secondWorkerLevel
                           ? Texts::ui("레벨 %1부터 한 명 더 고용할 수 있어요", Orchard::secondWorkerLevel)
                           : Texts::ui("같은 역할 일꾼을 한 명 더 고용해요"));
}

HireSheet::HireSheet(Game& game, Sprite& sprites, WorkerRole role, QWidget* parent)
    : QDialog(parent), m_game(game), m_role(role), m_sprites(sprites) {
    setWindowModality(Qt::WindowModal);
    setWindowTitle(Texts::ui("%1 한 명 더 고용", fromStd(name(role))));
    setFixedWidth(420);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(18);
    column->addWidget(new Label(Texts::ui("%1 한 명 더 고용", fromStd(name(role))),
                                styledFont(TextStyle::title3, QFont::Bold), Tone::primary, this));

    auto* choices = new QHBoxLayout;
    choices->setSpacing(14);
    for (int variant = 0; variant < 2; ++variant) {
        auto* card = new VariantCard(sprites, role, variant, this);
        m_cards[static_cast<std::size_t>(variant)] = card;
        choices->addWidget(card);
        connect(card, &QAbstractButton::clicked, this, [this, variant] { setVariant(variant); });
    }
    choices->addStretch(1);
    m_preview = new WorkerSprite(sprites, QSize(80, 100), 2.0, this);
    choices->addWidget(m_preview);
    column->addLayout(choices);

    auto* form = new QFormLayout;
    form->setContentsMargins(0, 0, 0, 0);
    m_dye = new DyePicker(this);
    form->addRow(Texts::ui("옷 색"), m_dye);
    m_name = new QLineEdit(this);
    m_name->setAccessibleName(Texts::ui("이름"));
    form->addRow(Texts::ui("이름"), m_name);
    column->addLayout(form);

    auto* buttons = new QHBoxLayout;
    m_cancel = new QPushButton(Texts::ui("취소"), this);
    m_cancel->setAutoDefault(false);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);
    m_hire = new CapsuleButton(Texts::ui("고용"), this);
    buttons->addWidget(m_hire);
    column->addLayout(buttons);

    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_dye, &DyePicker::picked, this, &HireSheet::refresh);
    connect(m_name, &QLineEdit::textChanged, this, &HireSheet::refresh);
    connect(m_hire, &QAbstractButton::clicked, this, &HireSheet::hire);
    // The capsule is not a push button, so the dialog's own default-button handling does not reach it.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        connect(new QShortcut(key, this), &QShortcut::activated, this, [this] {
            if (m_hire->isEnabled()) {
                m_hire->click();
            }
        });
    }
    auto* live = new LiveRefresh(this, [this] { refresh(); });
    connect(&m_game, &Game::orchardChanged, live, &LiveRefresh::changed);
    setVariant(1);
}

WorkerLook HireSheet::look() const {
    return WorkerLook{m_variant, m_dye->selection(), m_name->text().toStdString()};
}

QString HireSheet::trimBlanks(const QString& name) {
    qsizetype from = 0;
    qsizetype to = name.size();
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (from < to && blank(name.at(from))) {
        ++from;
    }
    while (to > from && blank(name.at(to - 1))) {
        --to;
    }
    return name.mid(from, to - from);
}

void HireSheet::setVariant(int variant) {
    m_variant = variant;
    for (std::size_t i = 0; i < m_cards.size(); ++i) {
        m_cards[i]->setChecked(static_cast<int>(i) == variant);
    }
    m_name->setPlaceholderText(fromStd(defaultName(m_role, variant)));
    refresh();
}

void HireSheet::refresh() {
    const Orchard& o = m_game.orchard();
    m_preview->setWorker(m_role, look(), Balance::gearTier(o.level(m_role)));
    const std::optional<std::int64_t> price = o.cost(Purchase::secondWorker(m_role));
    if (price) {
        m_hire->setTrailing(m_sprites.image(QStringLiteral("ui-coin"), std::nullopt, Grading::asIs).value_or(QImage()),
                            shortNumber(*price));
    } else {
        m_hire->setTrailing({}, {});
    }
    m_hire->setEnabled(price && o.coins >= *price);
}

void HireSheet::hire() {
    WorkerLook chosen = look();
    chosen.name = trimBlanks(m_name->text()).toStdString();
    if (m_game.hireSecondWorker(m_role, chosen)) {
        accept();
    }
}

WorkersTab::WorkersTab(Game& game, Sprite& sprites, QWidget* parent)
    : QWidget(parent), m_game(game), m_sprites(sprites) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* form = new FormPage(this);
    layout->addWidget(form);
    QVBoxLayout* rows = form->addSection({});
    for (WorkerRole role : allWorkerRoles) {
        auto* row = new WorkerRow(game, sprites, role, [this, role] { openSheet(role); });
        rows->addWidget(row);
        m_rows[static_cast<std::size_t>(role)] = row;
    }
    const auto& gear = Balance::gearLevels;
    form->addFooter(Texts::ui("레벨 %1, %2, %3, %4에서 장비가 좋아져요. 레벨 %5부터 같은 역할 일꾼을 한 명 더 "
                              "고용할 수 있고, 두 명이면 효과가 %6배예요.",
                              gear[1], gear[2], gear[3], gear[4], Orchard::secondWorkerLevel,
                              QString::number(Balance::crewBonus)));
}

void WorkersTab::openSheet(WorkerRole role) {
    if (m_sheet != nullptr) {
        return;
    }
    m_sheet = new HireSheet(m_game, m_sprites, role, this);
    m_sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_sheet, &QDialog::finished, this, [this] { m_sheet = nullptr; });
    m_sheet->open();
}

} // namespace pipfield
