#include "manage/RecordTab.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "game/Game.h"
#include "manage/Texts.h"
#include "manage/WeeksChart.h"

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

RecordTab::RecordTab(Game& game, Sprite& sprites, SaveDialog& dialog, QWidget* parent)
    : QWidget(parent), m_game(game), m_sprites(sprites), m_dialog(dialog) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(16);
    m_view = new CardView(m_card, sprites, this);
    column->addWidget(m_view, 0, Qt::AlignHCenter);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_save = new QPushButton(QIcon::fromTheme(QStringLiteral("document-save-as")), uiText("이미지로 저장…"), this);
    buttons->addWidget(m_save);
    // The Linux desktop has no share sheet; the clipboard takes the picture to any program instead.
    m_copy = new QPushButton(QIcon::fromTheme(QStringLiteral("edit-copy")), uiText("이미지 복사"), this);
    buttons->addWidget(m_copy);
    buttons->addStretch(1);
    column->addLayout(buttons);
    m_chart = new WeeksChart(sprites, this);
    column->addWidget(m_chart, 0, Qt::AlignHCenter);
    column->addStretch(1);

    connect(m_save, &QPushButton::clicked, this, [this] { WeeklyCard::save(m_card, m_sprites, m_dialog, this); });
    connect(m_copy, &QPushButton::clicked, this, [this] {
        const QImage image = m_card.render(m_sprites);
        if (!image.isNull()) {
            QGuiApplication::clipboard()->setImage(image);
        }
    });
    connect(&m_game, &Game::orchardChanged, this, &RecordTab::refresh);
    connect(&m_game, &Game::weekStartsChanged, this, &RecordTab::refresh);
    refresh();
}

void RecordTab::refresh() {
    m_chart->setWeeks(m_game.recentWeeks(WeeksChart::kWeeks));
    const WeeklyCard now{m_game.thisWeek(), m_game.weekStart()};
    if (now.stats == m_card.stats && now.weekStart == m_card.weekStart) {
        return;
    }
    m_card = now;
    m_view->setAccessibleName(uiText("이번 주 과수원 기록") + QLatin1Char(' ') + m_card.range());
    m_view->update();
}

} // namespace pipfield
