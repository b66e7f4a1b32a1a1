#include "ManageTests.h"

#include <QSignalSpy>

namespace pipfield::test {
namespace {

TEST(DyePicker, CirclesAreEightPointsApartInTheStyleTabAndTheHireSheet) {
    ManageWorld world(withPlanter(12));
    DyePicker alone;
    alone.resize(alone.sizeHint());
    HireSheet sheet(*world.game, world.sprites, WorkerRole::planter);
    showAside(sheet);
    for (DyePicker* picker : {&alone, sheet.dyePicker()}) {
        picker->setSelection(-1);
        const QImage image = shot(*picker);
        const QColor back = image.pixelColor(0, picker->swatch(1)->geometry().center().y());
        // Swatch 0 is faint (no dye); the six dyed circles are solid, so they differ clearly from the background.
        const auto differs = [&](QPoint p) {
            const QColor c = image.pixelColor(p);
            return std::abs(c.red() - back.red()) + std::abs(c.green() - back.green()) +
                       std::abs(c.blue() - back.blue()) >
                   60;
        };
        const auto circle = [&](int i) { return inkWhere(image, picker->swatch(i)->geometry(), differs).bounds; };
        for (int i = 1; i < 6; ++i) {
            EXPECT_EQ(circle(i + 1).left() - circle(i).right() - 1, 8) << "between swatches " << i << " and " << i + 1;
            EXPECT_NEAR(circle(i).width(), 22, 1);
        }
    }
}

TEST(Header, CoinCountSitsAtTheTrailingEdgeNextToTheSellButton) {
    ManageWorld world(idleOrchard(7));
    Header header(*world.game, world.sprites);
    header.resize(600, header.sizeHint().height());
    showAside(header);
    CoinLabel* coins = header.coins();
    ASSERT_GE(coins->width(), 96);
    // The number ends where the frame ends, 16 points before the sell button.
    EXPECT_EQ(coins->textLabel()->geometry().right(), coins->width() - 1);
    EXPECT_EQ(header.sellButton()->geometry().left() - coins->geometry().right() - 1, 16);

    const QImage image = shot(*coins);
    const Ink ink = inkWhere(image, image.rect(), [&](QPoint p) {
        return qAlpha(image.pixel(p)) > 0 && image.pixelColor(p) != image.pixelColor(0, 0);
    });
    // "7" and a 12-point coin fill far less than the 96-point frame, and nothing is at its left.
    EXPECT_GT(ink.count == 0 ? image.width() : ink.bounds.left(), 48);
}

/// A Korean font whose own digits have different widths (the serif of the Korean fonts the build installs).
std::optional<QFont> proportionalDigitsFont() {
    QFont font(QStringLiteral("Noto Serif CJK KR"));
    font.setPixelSize(20);
    if (!QFontInfo(font).family().contains(QStringLiteral("Noto Serif CJK"))) {
        return std::nullopt;
    }
    return font;
}

TEST(TabularDigits, KeepFamilyAndSizeAndGiveEveryDigitOneWidth) {
    const std::optional<QFont> font = proportionalDigitsFont();
    ASSERT_TRUE(font) << "the Korean font the window is drawn with is missing";
    ASSERT_FALSE(TabularDigits::of(*font).native())
        << "this font's digits are already equal; the check needs one whose are not";

    Label ones(QStringLiteral("열매 11개"), *font, Tone::primary);
    Label eights(QStringLiteral("열매 88개"), *font, Tone::primary);
    Label plain(QStringLiteral("열매 11개"), *font, Tone::primary);
    ones.setTabularDigits(true);
    eights.setTabularDigits(true);
    EXPECT_EQ(ones.sizeHint().width(), eights.sizeHint().width());
    EXPECT_EQ(ones.font().family(), font->family());
    EXPECT_EQ(ones.font().pixelSize(), 20);

    // The Hangul before the number is drawn exactly as a plain label draws it.
    for (Label* label : {&ones, &plain}) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->resize(200, 40);
    }
    const int hangulWidth = qFloor(QFontMetricsF(*font).horizontalAdvance(QStringLiteral("열매 ")));
    EXPECT_EQ(shot(ones).copy(0, 0, hangulWidth, 40), shot(plain).copy(0, 0, hangulWidth, 40));
}

TEST(WeeklyCard, TileValuesKeepTheTitleSizeWhateverTheDesktopFont) {
    const std::optional<QFont> proportional = proportionalDigitsFont();
    ASSERT_TRUE(proportional);
    QFont desktop = *proportional;
    desktop.setPointSizeF(9);
    const AppFont font(desktop);
    ManageWorld world;
    const QImage zero = WeeklyCard{{}, world.game->weekStart()}.render(world.sprites);
    const QImage eights = WeeklyCard{Totals{888, 0, 0, 0}, world.game->weekStart()}.render(world.sprites);

    // Where the two pictures differ is the first tile's value: its height is the digits' height.
    const Ink value = inkWhere(eights, QRect(0, 0, eights.width() / 4, eights.height()),
                               [&](QPoint p) { return zero.pixel(p) != eights.pixel(p); });
    ASSERT_GT(value.count, 0);
    // The title style is 1.6 × 13 pixels at twice the size: digits about 30 pixels tall, where a
    // caption-sized stand-in font would give under 20.
    EXPECT_GE(value.bounds.height(), 26);
}

TEST(StyleTab, CharacterPickerHasAVisibleTitleBeforeIt) {
    ManageWorld world(withPlanter(3));
    StyleTab tab(*world.game, world.sprites);
    tab.resize(600, 600);
    showAside(tab);
    ASSERT_FALSE(tab.lookRows().empty());
    LookRow* row = tab.lookRows().front();
    Label* title = nullptr;
    for (Label* label : row->findChildren<Label*>()) {
        if (label->text() == QStringLiteral("캐릭터")) {
            title = label;
        }
    }
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(title->isVisible());
    QWidget* picker = row->variants()->button(0)->parentWidget();
    EXPECT_LE(title->geometry().right(), picker->geometry().left());
    EXPECT_LE(picker->width(), 220);
}

TEST(ManageWindow, EveryTabHasItsSymbolWithoutAnIconTheme) {
    QIcon::setThemeName(QStringLiteral("pipfield-no-such-theme"));
    ManageWorld world(withPlanter(3));
    auto window = world.window();
    const QStringList own = {QStringLiteral("icon-tree"),     QStringLiteral("icon-people"),
                             QStringLiteral("icon-palette"),  QStringLiteral("icon-book"),
                             QStringLiteral("icon-calendar"), QStringLiteral("icon-gear")};
    ASSERT_EQ(window->tabs()->count(), own.size());
    for (int i = 0; i < window->tabs()->count(); ++i) {
        const QImage drawn =
            window->tabs()->tabIcon(i).pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage art =
            world.sprites.image(own[i], std::nullopt, Grading::asIs)->convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(drawn, art) << own[i].toStdString();
    }
    WorkersTab tab(*world.game, world.sprites);
    EXPECT_FALSE(tab.row(WorkerRole::planter)->moreButton()->icon().isNull());
}

/// The key art as it must look in a frame: scaled by a whole number, standing on the bottom edge, cropped.
QImage expectedArt(const QImage& art, QSize frame, int multiple) {
    const QImage big = art.scaled(art.size() * multiple, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                           .convertToFormat(QImage::Format_ARGB32);
    return big.copy((big.width() - frame.width()) / 2, big.height() - frame.height(), frame.width(), frame.height());
}

TEST(PixelArt, KeyArtIsScaledByWholeMultiplesAndCroppedInHeaderAndCard) {
    ManageWorld world;
    const QImage art = world.sprites.image(QStringLiteral("KeyArt"), std::nullopt, Grading::asIs)
                           ->convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(art.size(), QSize(300, 85));
    Header header(*world.game, world.sprites);
    header.resize(600, header.sizeHint().height());
    showAside(header);
    EXPECT_EQ(shot(header).copy(0, 0, 600, 120), expectedArt(art, QSize(600, 120), 2));

    const QImage card =
        WeeklyCard{{}, world.game->weekStart()}.render(world.sprites).convertToFormat(QImage::Format_ARGB32);
    // The card's rounded corners cut into the art; the band between them is the art alone.
    EXPECT_EQ(card.copy(40, 0, 1120, 340), expectedArt(art, QSize(1200, 340), 4).copy(40, 0, 1120, 340));
}

TEST(SpriteView, SilhouetteIsMadeOnceAndRemadeForANewPalette) {
    ManageWorld world;
    SpriteView view(world.sprites, QSize(120, 60));
    view.setSprite(QStringLiteral("tree-eureka-6"), std::nullopt, 1.0, true);
    const QImage first = view.picture();
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(view.picture().cacheKey(), first.cacheKey());

    auto inkOf = [](const QImage& image) {
        const Ink ink = inkWhere(image, image.rect(), [&](QPoint p) { return qAlpha(image.pixel(p)) > 0; });
        return ink.count > 0 ? QColor(image.pixel(ink.first)) : QColor();
    };
    QPalette dark = view.palette();
    dark.setColor(QPalette::WindowText, Qt::white);
    view.setPalette(dark);
    EXPECT_NE(inkOf(view.picture()), inkOf(first));
}

TEST(SpriteView, MissingImageDrawsNothingAndKeepsItsFrame) {
    ManageWorld world;
    SpriteView view(world.sprites, QSize(64, 72));
    MessageLog log("pipfield.scene"); // the sprite store's warning, checked by its own tests, stays out of the output
    view.setSprite(QStringLiteral("no-such-sprite"));
    EXPECT_TRUE(view.picture().isNull());
    EXPECT_FALSE(view.grab().isNull());
}

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
        Orchard o = withPlanter(12, 1000000);
        o.crate.set(TreeKind::eureka, 5);
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
    for (QWidget* control :
         std::vector<QWidget*>{capsule, picker->swatch(0), style->themes()->button(1), sheet->variantCard(0), buy}) {
        control->clearFocus();
        EXPECT_EQ(ringPixels(*control), 0) << control->metaObject()->className();
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

/// Whether a screen reader meets a picture among the widget's accessible children.
bool speaksAPicture(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    for (int i = 0; face != nullptr && i < face->childCount(); ++i) {
        if (qobject_cast<SpriteView*>(face->child(i)->object()) != nullptr) {
            return true;
        }
    }
    return false;
}

TEST(Accessibility, CombinedElementsSpeakOnceAndPicturesAreSilent) {
    ManageWorld world(FocusWorld::hired());
    Header header(*world.game, world.sprites);
    OrchardTab orchard(*world.game, world.sprites);
    WorkersTab workers(*world.game, world.sprites);
    EXPECT_FALSE(speaksAPicture(&header)) << "the key art";
    EXPECT_GT(QAccessible::queryAccessibleInterface(orchard.kindRows().front())->childCount(), 0);
    EXPECT_FALSE(speaksAPicture(orchard.kindRows().front())) << "the fruit icon";
    EXPECT_FALSE(speaksAPicture(workers.row(WorkerRole::planter))) << "the worker sprite";
    EXPECT_EQ(QAccessible::queryAccessibleInterface(workers.row(WorkerRole::planter)->gearLine())->childCount(), 0);

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
    EXPECT_GE((luminance(Qt::white) + 0.05) / (luminance(leafColor()) + 0.05), 4.5);

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
