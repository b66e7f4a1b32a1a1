#include "kit/TextStyle.h"
#include "manage/BuyButton.h"
#include "manage/CapsuleButton.h"
#include "manage/CoinLabel.h"
#include "manage/DexTab.h"
#include "manage/DyePicker.h"
#include "manage/Header.h"
#include "manage/OrchardTab.h"
#include "manage/SpriteView.h"
#include "manage/StyleTab.h"
#include "manage/WorkersTab.h"
#include "support/ManageTestSupport.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

const QColor kRing(255, 0, 255);

/// How many pixels of the widget are drawn in the focus ring's colour.
int ringPixels(QWidget& widget) {
    const QImage image = shot(widget);
    return inkWhere(image, image.rect(),
                    [&](QPoint p) {
                        const QColor c = image.pixelColor(p);
                        return c.red() > 200 && c.green() < 80 && c.blue() > 200;
                    })
        .count;
}

/// A window whose palette marks focus in a colour nothing else uses.
struct FocusWorld : ManageWorld {
    FocusWorld() : ManageWorld(hired()) {
        QPalette p = QApplication::palette();
        p.setColor(QPalette::Highlight, kRing);
        host.setPalette(p);
        host.resize(600, 400);
    }
    static Orchard hired() {
        Orchard o = Orchard::starter();
        o.workers.set(WorkerRole::planter, 12);
        o.crate.set(TreeKind::eureka, 5);
        o.coins = 1000000;
        return o;
    }
    void focus(QWidget* w) {
        showAside(*w->window());
        QApplication::setActiveWindow(w->window());
        w->setFocus(Qt::TabFocusReason);
    }
    QWidget host;
};

TEST(Focus, EveryOwnButtonShowsFocusWithTheSameRing) {
    FocusWorld world;
    auto* capsule = new CapsuleButton(QStringLiteral("고용"), &world.host);
    auto* picker = new DyePicker(&world.host);
    picker->move(0, 60);
    auto* style = new StyleTab(*world.game, world.sprites, &world.host);
    style->setGeometry(0, 100, 600, 300);
    auto* sheet = new HireSheet(*world.game, world.sprites, WorkerRole::planter, &world.host);
    sheet->setPalette(world.host.palette());
    showAside(*sheet);

    auto* buy = new BuyButton(*world.game, world.sprites, Purchase::crate(), QStringLiteral("넓히기"), &world.host);
    buy->move(300, 0);
    std::vector<QWidget*> controls = {capsule, picker->swatch(0), style->themes()->button(1), sheet->variantCard(0),
                                      buy};
    for (QWidget* control : controls) {
        control->clearFocus();
        EXPECT_EQ(ringPixels(*control), 0) << control->metaObject()->className();
    }
    for (QWidget* control : controls) {
        world.focus(control);
        ASSERT_TRUE(control->hasFocus());
        EXPECT_GT(ringPixels(*control), 20) << control->metaObject()->className();
    }
}

TEST(Focus, DyeSwatchesAreOneTabStopAndArrowsMoveWithin) {
    FocusWorld world;
    auto* before = new QPushButton(QStringLiteral("앞"), &world.host);
    auto* picker = new DyePicker(&world.host);
    picker->move(0, 40);
    auto* after = new QPushButton(QStringLiteral("뒤"), &world.host);
    after->move(0, 100);
    picker->setSelection(2);
    QSignalSpy picked(picker, &DyePicker::picked);

    world.focus(before);
    QTest::keyClick(before, Qt::Key_Tab);
    ASSERT_TRUE(picker->swatch(2)->hasFocus()) << "Tab lands on the chosen swatch";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_TRUE(picker->swatch(3)->hasFocus());
    EXPECT_EQ(picker->selection(), 3);
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.front().front().toLongLong(), 3);
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    }
    EXPECT_EQ(picker->selection(), 6) << "the arrows wrap around the row";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus()) << "one Tab leaves the row";
}

std::vector<QObject*> accessibleChildren(QWidget* widget) {
    std::vector<QObject*> out;
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    for (int i = 0; face != nullptr && i < face->childCount(); ++i) {
        out.push_back(face->child(i)->object());
    }
    return out;
}

TEST(Accessibility, CombinedElementsSpeakOnceAndPicturesAreSilent) {
    Orchard o = FocusWorld::hired();
    o.coins = 9999;
    ManageWorld world(o);
    Header header(*world.game, world.sprites);
    QAccessibleInterface* coins = QAccessible::queryAccessibleInterface(header.coins());
    ASSERT_NE(coins, nullptr);
    EXPECT_EQ(coins->childCount(), 0);
    EXPECT_EQ(coins->text(QAccessible::Name), QStringLiteral("코인 9999"));
    for (QObject* child : accessibleChildren(&header)) {
        EXPECT_EQ(qobject_cast<SpriteView*>(child), nullptr) << "the key art is read aloud";
    }

    OrchardTab orchard(*world.game, world.sprites);
    KindRow* kind = orchard.kindRows().front();
    const std::vector<QObject*> kindChildren = accessibleChildren(kind);
    EXPECT_FALSE(kindChildren.empty());
    for (QObject* child : kindChildren) {
        EXPECT_EQ(qobject_cast<SpriteView*>(child), nullptr) << "the fruit icon is read aloud";
    }

    WorkersTab workers(*world.game, world.sprites);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(workers.row(WorkerRole::planter)->gearLine())->childCount(), 0);
    for (QObject* child : accessibleChildren(workers.row(WorkerRole::planter))) {
        EXPECT_EQ(qobject_cast<SpriteView*>(child), nullptr) << "the worker sprite is read aloud";
    }

    DexTab dex(*world.game, world.sprites);
    QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(dex.cell(TreeKind::eureka));
    EXPECT_EQ(cell->childCount(), 0);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("유레카 레몬 딴 열매 0개"));
}

double luminance(const QColor& c) {
    auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

TEST(Contrast, WhiteHeadlineTextOnTheLeafGreenReadsAtFourAndAHalfToOne) {
    const double ratio = (luminance(Qt::white) + 0.05) / (luminance(leafColor()) + 0.05);
    EXPECT_GE(ratio, 4.5);

    // And the capsule is drawn in that green, behind white text.
    CapsuleButton button(QStringLiteral("모두 팔기 +0"));
    button.resize(button.sizeHint());
    const QImage image = shot(button);
    EXPECT_EQ(image.pixelColor(image.width() / 2, 3).rgb(), leafColor().rgb());
    const QRect middleRow(0, image.height() / 2, image.width(), 1);
    EXPECT_GT(inkWhere(image, middleRow, [&](QPoint p) { return image.pixelColor(p) == QColor(Qt::white); }).count, 0);
}

} // namespace
} // namespace pipfield::test
