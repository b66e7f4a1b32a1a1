#include "card/WeeklyCard.h"
#include "kit/PixelArt.h"
#include "kit/TabularDigits.h"
#include "manage/CapsuleButton.h"
#include "manage/CoinLabel.h"
#include "manage/DyePicker.h"
#include "manage/Header.h"
#include "manage/Label.h"
#include "manage/OrchardTab.h"
#include "manage/RecordTab.h"
#include "manage/StyleTab.h"
#include "manage/WorkersTab.h"
#include "support/ManageTestSupport.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

/// The x ranges of the runs of pixels in a row that differ clearly from the row's first pixel.
std::vector<std::pair<int, int>> inkRuns(const QImage& image, int y) {
    std::vector<std::pair<int, int>> runs;
    const QColor back = image.pixelColor(0, y);
    auto differs = [&](int x) {
        const QColor c = image.pixelColor(x, y);
        return std::abs(c.red() - back.red()) + std::abs(c.green() - back.green()) + std::abs(c.blue() - back.blue()) >
               60;
    };
    for (int x = 0; x < image.width(); ++x) {
        if (differs(x)) {
            const int start = x;
            while (x + 1 < image.width() && differs(x + 1)) {
                ++x;
            }
            runs.emplace_back(start, x);
        }
    }
    return runs;
}

void expectSwatchesEightApart(DyePicker& picker) {
    // Swatch 0 is faint (no dye); the six dyed circles are solid, so their edges are easy to find.
    const QImage image = shot(picker);
    const int y = picker.swatch(1)->geometry().center().y();
    std::vector<std::pair<int, int>> runs = inkRuns(image, y);
    std::erase_if(runs, [&](const auto& run) { return run.first < picker.swatch(1)->geometry().left(); });
    ASSERT_GE(runs.size(), 6u);
    for (std::size_t i = 0; i + 1 < 6; ++i) {
        EXPECT_EQ(runs[i + 1].first - runs[i].second - 1, 8) << "between swatches " << i + 1 << " and " << i + 2;
        EXPECT_NEAR(runs[i].second - runs[i].first + 1, 22, 1);
    }
}

TEST(DyePicker, CirclesAreEightPointsApartInTheStyleTabAndTheHireSheet) {
    DyePicker picker;
    picker.setSelection(-1);
    picker.resize(picker.sizeHint());
    expectSwatchesEightApart(picker);

    Orchard o = Orchard::starter();
    o.workers.set(WorkerRole::planter, 12);
    ManageWorld world(o);
    HireSheet sheet(*world.game, world.sprites, WorkerRole::planter);
    sheet.dyePicker()->setSelection(-1);
    showAside(sheet);
    expectSwatchesEightApart(*sheet.dyePicker());
}

TEST(Header, CoinCountSitsAtTheTrailingEdgeNextToTheSellButton) {
    Orchard o = Orchard::starter();
    o.coins = 7;
    ManageWorld world(o);
    Header header(*world.game, world.sprites);
    header.resize(600, header.sizeHint().height());
    showAside(header);
    CoinLabel* coins = header.coins();
    ASSERT_GE(coins->width(), 96);
    const QRect text = coins->textLabel()->geometry();
    // The number ends where the frame ends, 16 points before the sell button.
    EXPECT_EQ(text.right(), coins->width() - 1);
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
    const TabularDigits& digits = TabularDigits::of(*font);
    ASSERT_FALSE(digits.native()) << "this font's digits are already equal; the check needs one whose are not";
    EXPECT_DOUBLE_EQ(digits.width(QStringLiteral("1111")), digits.width(QStringLiteral("8888")));
    EXPECT_DOUBLE_EQ(digits.width(QStringLiteral("열매 11개")) - digits.width(QStringLiteral("열매 88개")), 0.0);

    Label ones(QStringLiteral("열매 11개"), *font, Tone::primary);
    Label eights(QStringLiteral("열매 88개"), *font, Tone::primary);
    ones.setTabularDigits(true);
    eights.setTabularDigits(true);
    EXPECT_EQ(ones.sizeHint().width(), eights.sizeHint().width());
    EXPECT_EQ(ones.font().family(), font->family());
    EXPECT_EQ(ones.font().pixelSize(), 20);

    // The Hangul before the number is drawn exactly as a plain label draws it.
    Label plain(QStringLiteral("열매 11개"), *font, Tone::primary);
    for (Label* label : {&ones, &plain}) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->resize(200, 40);
    }
    const QImage tabular = shot(ones);
    const QImage reference = shot(plain);
    const int hangulWidth = qFloor(QFontMetricsF(*font).horizontalAdvance(QStringLiteral("열매 ")));
    EXPECT_EQ(tabular.copy(0, 0, hangulWidth, 40), reference.copy(0, 0, hangulWidth, 40));
}

TEST(WeeklyCard, TileValuesKeepTheTitleSizeWhateverTheDesktopFont) {
    const std::optional<QFont> proportional = proportionalDigitsFont();
    ASSERT_TRUE(proportional);
    QFont desktop = *proportional;
    desktop.setPointSizeF(9);
    const AppFont font(desktop);
    ManageWorld world;
    Totals some;
    some.harvested = 888;
    const QImage zero = WeeklyCard{{}, world.game->weekStart()}.render(world.sprites);
    const QImage eights = WeeklyCard{some, world.game->weekStart()}.render(world.sprites);

    // Where the two pictures differ is the first tile's value: its height is the digits' height.
    const Ink value = inkWhere(eights, QRect(0, 0, eights.width() / 4, eights.height()),
                               [&](QPoint p) { return zero.pixel(p) != eights.pixel(p); });
    ASSERT_GT(value.count, 0);
    // The title style is 1.6 × 13 pixels at twice the size: digits about 30 pixels tall, where a
    // caption-sized stand-in font would give under 20.
    EXPECT_GE(value.bounds.height(), 26);
}

TEST(OrchardTab, PlotNumbersAreCentredAndTwoDigitsFitAtLargeSizes) {
    Orchard o = Orchard::starter();
    o.unlocked.insert(TreeKind::kumquat);
    o.trees.assign(10, Tree{TreeKind::eureka, 300, 0, 0});
    QFont large = QApplication::font();
    large.setPointSizeF(28);
    const AppFont font(large);
    ManageWorld world(o);
    OrchardTab tab(*world.game, world.sprites);
    tab.resize(600, 500);
    showAside(tab);
    Label* number = tab.plotRows().back()->findChild<Label*>();
    ASSERT_NE(number, nullptr);
    ASSERT_EQ(number->text(), QStringLiteral("10"));
    EXPECT_TRUE(number->alignment() & Qt::AlignHCenter);
    EXPECT_GE(number->width(), number->sizeHint().width());
    // Every row's number has the same width, so the names line up.
    EXPECT_EQ(tab.plotRows().front()->findChild<Label*>()->width(), number->width());
}

TEST(RecordTab, WithoutAPictureOnlyTheSaveButtonIsOffered) {
    ManageWorld world;
    RecordTab broken(*world.game, world.sprites, world.saveDialog, nullptr, [](const WeeklyCard&) { return QImage(); });
    EXPECT_TRUE(broken.saveButton()->isVisibleTo(&broken));
    EXPECT_FALSE(broken.copyButton()->isVisibleTo(&broken));

    RecordTab working(*world.game, world.sprites, world.saveDialog);
    EXPECT_TRUE(working.copyButton()->isVisibleTo(&working));
}

TEST(StyleTab, CharacterPickerHasAVisibleTitleBeforeIt) {
    Orchard o = Orchard::starter();
    o.workers.set(WorkerRole::planter, 3);
    ManageWorld world(o);
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
    ManageWorld world;
    auto window = world.window();
    const QStringList own = {QStringLiteral("icon-tree"),     QStringLiteral("icon-people"),
                             QStringLiteral("icon-palette"),  QStringLiteral("icon-book"),
                             QStringLiteral("icon-calendar"), QStringLiteral("icon-gear")};
    for (int i = 0; i < window->tabs()->count(); ++i) {
        const QIcon icon = window->tabs()->tabIcon(i);
        ASSERT_FALSE(icon.isNull()) << "tab " << i;
        const QImage drawn = icon.pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage art =
            world.sprites.image(own[i], std::nullopt, Grading::asIs)->convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(drawn, art) << own[i].toStdString();
    }
    // Six different pictures, not one stand-in six times.
    for (int i = 1; i < window->tabs()->count(); ++i) {
        EXPECT_NE(window->tabs()->tabIcon(i).pixmap(16, 16).toImage(),
                  window->tabs()->tabIcon(i - 1).pixmap(16, 16).toImage());
    }

    Orchard o = Orchard::starter();
    o.workers.set(WorkerRole::planter, 3);
    ManageWorld hired(o);
    WorkersTab tab(*hired.game, hired.sprites);
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

    Header header(*world.game, world.sprites);
    header.resize(600, header.sizeHint().height());
    showAside(header);
    const int headerMultiple = coverMultiple(art.size(), QSizeF(600, 120));
    const QImage headerArt = shot(header).copy(0, 0, 600, 120);
    EXPECT_EQ(headerArt, expectedArt(art, QSize(600, 120), headerMultiple));

    const WeeklyCard card{{}, world.game->weekStart()};
    const QImage picture = card.render(world.sprites).convertToFormat(QImage::Format_ARGB32);
    const int cardMultiple = coverMultiple(art.size(), QSizeF(1200, 340));
    const QImage cardArt = expectedArt(art, QSize(1200, 340), cardMultiple);
    // The card's rounded corners cut into the art; the band between them is the art alone.
    EXPECT_EQ(picture.copy(40, 0, 1120, 340), cardArt.copy(40, 0, 1120, 340));
}

} // namespace
} // namespace pipfield::test
