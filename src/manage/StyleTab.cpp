#include "manage/StyleTab.h"

#include "game/Game.h"
#include "game/SceneSettings.h"
#include "game/Texts.h"
#include "kit/TextStyle.h"
#include "manage/DyePicker.h"
#include "manage/FocusRing.h"
#include "manage/FormPage.h"
#include "manage/Label.h"
#include "manage/LiveRefresh.h"
#include "manage/SpriteView.h"
#include "model/Balance.h"
#include "scene/Palette.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>

namespace pipfield {
namespace {

/// One segment of a segmented picker: the chosen one filled in the accent colour.
class Segment final : public QAbstractButton {
public:
    Segment(const QString& text, QWidget* parent) : QAbstractButton(parent) {
        setText(text);
        setCheckable(true);
        setAccessibleName(text);
        setCursor(Qt::PointingHandCursor);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override {
        const QFontMetrics fm(font());
        return QSize(fm.horizontalAdvance(text()) + 24, fm.height() + 10);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QPainterPath shape = roundedPath(rect(), 6);
        p.fillPath(shape, isChecked() ? leafColor() : toneColor(palette(), Tone::quaternary));
        drawFocusRing(p, *this, shape);
        p.setPen(isChecked() ? QColor(Qt::white) : palette().color(QPalette::WindowText));
        p.drawText(rect(), Qt::AlignCenter, text());
    }
};

/// A row of buttons of which exactly one is chosen: the window's segmented picker.
QButtonGroup* segmented(QWidget* owner, QHBoxLayout* row, const QStringList& labels) {
    auto* group = new QButtonGroup(owner);
    group->setExclusive(true);
    row->setSpacing(2);
    for (int i = 0; i < labels.size(); ++i) {
        auto* button = new Segment(labels[i], owner);
        group->addButton(button, i);
        row->addWidget(button);
    }
    return group;
}

} // namespace

LookRow::LookRow(Game& game, Sprite& sprites, WorkerRole role, std::int64_t slot, QWidget* parent)
    : QWidget(parent), m_game(game), m_role(role), m_slot(slot) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 4, 0, 4);
    row->setSpacing(14);
    m_sprite = new WorkerSprite(sprites, QSize(64, 72), 2.0, this);
    row->addWidget(m_sprite, 0, Qt::AlignTop);

    auto* column = new QVBoxLayout;
    column->setSpacing(8);
    auto* nameLine = new QHBoxLayout;
    m_name = new QLineEdit(this);
    m_name->setAccessibleName(Texts::ui("이름"));
    m_name->setMaximumWidth(150);
    nameLine->addWidget(m_name);
    nameLine->addWidget(new Label(fromStd(name(role)), TextStyle::caption, Tone::secondary, this));
    nameLine->addStretch(1);
    column->addLayout(nameLine);

    auto* variantLine = new QHBoxLayout;
    variantLine->addWidget(new Label(Texts::ui("캐릭터"), TextStyle::body, Tone::primary, this));
    auto* variantBox = new QWidget(this);
    variantBox->setMaximumWidth(220);
    variantBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    variantBox->setAccessibleName(Texts::ui("캐릭터"));
    auto* variantRow = new QHBoxLayout(variantBox);
    variantRow->setContentsMargins(0, 0, 0, 0);
    m_variants = segmented(variantBox, variantRow, {fromStd(defaultName(role, 0)), fromStd(defaultName(role, 1))});
    variantLine->addWidget(variantBox, 1);
    variantLine->addStretch(1);
    column->addLayout(variantLine);

    m_dye = new DyePicker(this);
    column->addWidget(m_dye);
    row->addLayout(column, 1);

    connect(m_name, &QLineEdit::textEdited, this,
            [this](const QString& text) { change([&](WorkerLook& l) { l.name = text.toStdString(); }); });
    connect(m_variants, &QButtonGroup::idClicked, this,
            [this](int id) { change([&](WorkerLook& l) { l.variant = id; }); });
    connect(m_dye, &DyePicker::picked, this, [this](std::int64_t dye) { change([&](WorkerLook& l) { l.dye = dye; }); });
    auto* live = new LiveRefresh(this, [this] { refresh(); });
    connect(&m_game, &Game::orchardChanged, live, &LiveRefresh::changed);
    refresh();
}

template <typename Change>
void LookRow::change(Change&& edit) {
    WorkerLook look = m_game.orchard().look(m_role, m_slot);
    edit(look);
    m_game.setLook(look, m_role, m_slot);
}

void LookRow::refresh() {
    const Orchard& o = m_game.orchard();
    const WorkerLook look = o.look(m_role, m_slot);
    m_sprite->setWorker(m_role, look, Balance::gearTier(o.level(m_role)));
    const QString shown = fromStd(look.name);
    // Rewriting the same text would move the cursor while the player types.
    if (m_name->text() != shown) {
        m_name->setText(shown);
    }
    m_name->setPlaceholderText(fromStd(defaultName(m_role, look.variant)));
    if (QAbstractButton* b = m_variants->button(look.variant == 1 ? 1 : 0)) {
        b->setChecked(true);
    }
    m_dye->setSelection(look.dye);
}

StyleTab::StyleTab(Game& game, Sprite& sprites, QWidget* parent) : QWidget(parent), m_game(game), m_sprites(sprites) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* form = new FormPage(this);
    layout->addWidget(form);

    QVBoxLayout* light = form->addSection(Texts::ui("과수원 빛"));
    auto* themeLine = new QHBoxLayout;
    themeLine->addWidget(new Label(Texts::ui("테마"), TextStyle::body, Tone::primary));
    auto* themeRow = new QHBoxLayout;
    QStringList names;
    for (Palette::Theme theme : Palette::allThemes) {
        names << Palette::name(theme);
    }
    auto* themeBox = new QWidget;
    themeBox->setAccessibleName(Texts::ui("테마"));
    themeBox->setLayout(themeRow);
    themeRow->setContentsMargins(0, 0, 0, 0);
    m_themes = segmented(themeBox, themeRow, names);
    themeLine->addWidget(themeBox, 1);
    light->addLayout(themeLine);
    SceneSettings& settings = m_game.sceneSettings();
    for (std::size_t i = 0; i < Palette::allThemes.size(); ++i) {
        if (Palette::rawValue(Palette::allThemes[i]) == settings.theme()) {
            m_themes->button(static_cast<int>(i))->setChecked(true);
        }
    }
    connect(m_themes, &QButtonGroup::idClicked, this, [&settings](int id) {
        settings.setTheme(Palette::rawValue(Palette::allThemes.at(static_cast<std::size_t>(id))));
    });

    m_timeOfDay = new QCheckBox(Texts::ui("시간대에 따라 빛 바꾸기"));
    m_timeOfDay->setChecked(settings.timeOfDayLight());
    connect(m_timeOfDay, &QCheckBox::clicked, &settings, &SceneSettings::setTimeOfDayLight);
    light->addWidget(m_timeOfDay);
    auto* note = new Label(Texts::ui("아침·저녁·밤에 띠의 빛이 바뀌고, 밤에는 랜턴과 반딧불이 나와요."),
                           TextStyle::caption, Tone::secondary);
    note->setWordWrap(true);
    light->addWidget(note);

    m_lookLayout = form->addSection(Texts::ui("일꾼 꾸미기"));
    m_empty = new Label(Texts::ui("일꾼을 고용하면 꾸밀 수 있어요."), TextStyle::body, Tone::secondary);
    m_lookLayout->addWidget(m_empty);

    auto* live = new LiveRefresh(this, [this] { refresh(); });
    connect(&m_game, &Game::orchardChanged, live, &LiveRefresh::changed);
    refresh();
}

std::vector<std::pair<WorkerRole, std::int64_t>> StyleTab::hiredSlots(const Orchard& orchard) {
    std::vector<std::pair<WorkerRole, std::int64_t>> out;
    for (WorkerRole role : allWorkerRoles) {
        if (orchard.level(role) > 0) {
            out.emplace_back(role, 0);
            if (orchard.extraWorkers.contains(role)) {
                out.emplace_back(role, 1);
            }
        }
    }
    return out;
}

void StyleTab::refresh() {
    const auto now = hiredSlots(m_game.orchard());
    m_empty->setVisible(now.empty());
    // Rebuilt only when the hired slots change, so that a name being typed keeps its focus.
    if (now == m_slots) {
        return;
    }
    for (LookRow* row : m_rows) {
        delete row;
    }
    m_rows.clear();
    m_slots = now;
    for (const auto& [role, slot] : m_slots) {
        auto* row = new LookRow(m_game, m_sprites, role, slot);
        m_lookLayout->addWidget(row);
        m_rows.push_back(row);
    }
}

} // namespace pipfield
