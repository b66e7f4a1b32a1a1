#include "manage/RecordTab.h"

#include "game/Game.h"
#include "game/Texts.h"
#include "manage/Accessibility.h"
#include "manage/Label.h"
#include "manage/LiveRefresh.h"
#include "manage/WeeksChart.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace pipfield {
namespace {

constexpr double kShrink = 0.8;

class CardView final : public QWidget {
public:
    CardView(const WeeklyCard& card, Sprite& sprites, QWidget* parent)
        : QWidget(parent), m_card(card), m_sprites(sprites) {
        setFixedSize(qRound(WeeklyCard::kSize.width() * kShrink), qRound(WeeklyCard::kSize.height() * kShrink));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.scale(kShrink, kShrink);
        m_card.paint(p, m_sprites);
    }

private:
    const WeeklyCard& m_card;
    Sprite& m_sprites;
};

} // namespace

RecordTab::RecordTab(Game& game, Sprite& sprites, SaveDialog& dialog, QWidget* parent, Renderer render)
    : QWidget(parent), m_game(game), m_sprites(sprites), m_dialog(dialog), m_render(std::move(render)) {
    if (!m_render) {
        m_render = [this](const WeeklyCard& card) { return card.render(m_sprites); };
    }
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(16);
    m_view = new CardView(m_card, sprites, this);
    markCombined(m_view, QAccessible::Graphic);
    column->addWidget(m_view, 0, Qt::AlignHCenter);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_save = new QPushButton(QIcon::fromTheme(QStringLiteral("document-save-as")), Texts::ui("이미지로 저장…"), this);
    buttons->addWidget(m_save);
    // The Linux desktop has no share sheet; the clipboard takes the picture to any program instead.
    m_copy = new QPushButton(QIcon::fromTheme(QStringLiteral("edit-copy")), Texts::ui("이미지 복사"), this);
    buttons->addWidget(m_copy);
    buttons->addStretch(1);
    column->addLayout(buttons);
    auto* failure = new Label({}, TextStyle::caption, Tone::primary);
    failure->setToneColor(QColor(Qt::red));
    failure->setWordWrap(true);
    failure->setAlignment(Qt::AlignHCenter);
    failure->hide();
    column->addWidget(failure);
    m_exportFailure = failure;
    m_chart = new WeeksChart(sprites, this);
    column->addWidget(m_chart, 0, Qt::AlignHCenter);
    column->addStretch(1);

    connect(m_save, &QPushButton::clicked, this, [this] { exportCard(); });
    connect(m_copy, &QPushButton::clicked, this, [this] {
        if (!m_picture.isNull()) {
            QGuiApplication::clipboard()->setImage(m_picture);
        }
    });
    auto* live = new LiveRefresh(this, [this] { refresh(); });
    connect(&m_game, &Game::orchardChanged, live, &LiveRefresh::changed);
    connect(&m_game, &Game::weekStartsChanged, live, &LiveRefresh::changed);
    refresh();
}

void RecordTab::exportCard() {
    // A cancel says nothing, and clears what an earlier failure said.
    if (const std::optional<QString> why = WeeklyCard::save(m_card, m_sprites, m_dialog, this)) {
        m_exportFailure->setText(Texts::ui("이미지를 저장하지 못했어요: %1", *why));
        m_exportFailure->show();
        return;
    }
    m_exportFailure->clear();
    m_exportFailure->hide();
}

void RecordTab::refresh() {
    m_chart->setWeeks(m_game.recentWeeks(WeeksChart::kWeeks));
    const WeeklyCard now{m_game.thisWeek(), m_game.weekStart()};
    if (m_rendered && now.stats == m_card.stats && now.weekStart == m_card.weekStart) {
        return;
    }
    m_card = now;
    // The shared picture is the card as it is now, so it is made anew with every change.
    m_picture = m_render(m_card);
    m_rendered = true;
    m_copy->setVisible(!m_picture.isNull());
    m_view->setAccessibleName(Texts::ui("이번 주 과수원 기록 %1", m_card.range()));
    m_view->update();
}

} // namespace pipfield
