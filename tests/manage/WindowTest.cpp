#include "ManageTests.h"

#include <QMap>
#include <QTranslator>

namespace pipfield::test {
namespace {

TEST(Header, GaugeDrawsItsShareFullOverCapacityAndTellsTheTrueCount) {
    ManageWorld world(withCrate(55));
    Header header(*world.game, world.sprites);
    EXPECT_EQ(header.crateText()->text(), QStringLiteral("55 / 40"));
    EXPECT_DOUBLE_EQ(header.gauge()->fraction(), 1.0);
    EXPECT_EQ(header.gauge()->accessibleDescription(), QStringLiteral("40개 중 55개"));
    ManageWorld part(withCrate(10));
    EXPECT_DOUBLE_EQ(Header(*part.game, part.sprites).gauge()->fraction(), 0.25);

    CrateGauge gauge;
    gauge.setFill(55, 40);
    gauge.resize(200, 8);
    // The bar reaches the track's end.
    EXPECT_EQ(gauge.grab().toImage().pixelColor(195, 4).rgb(), leafColor().rgb());
}

TEST(Header, SellButtonAndCtrlSSellTheCrate) {
    ManageWorld world(withCrate(20));
    auto window = world.window();
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Header& header = *window->header();
    EXPECT_TRUE(header.sellButton()->isEnabled());

    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(world.game->saleCount(), 1);
    EXPECT_FALSE(header.sellButton()->isEnabled());
}

TEST(Header, AnEmptyCrateCannotBeSoldAndCoinsAreShortenedButSpokenInFullAsOneElement) {
    ManageWorld world(withCrate(0, 9999));
    Header header(*world.game, world.sprites);
    EXPECT_FALSE(header.sellButton()->isEnabled());
    EXPECT_EQ(header.sellButton()->text(), QStringLiteral("모두 팔기 +0"));
    EXPECT_EQ(header.coins()->text(), QStringLiteral("9,999"));
    QAccessibleInterface* coins = QAccessible::queryAccessibleInterface(header.coins());
    ASSERT_NE(coins, nullptr);
    EXPECT_EQ(coins->childCount(), 0);
    EXPECT_EQ(coins->text(QAccessible::Name), QStringLiteral("코인 9999"));
    header.coins()->setAmount(10000);
    EXPECT_EQ(header.coins()->text(), QStringLiteral("1만"));
    EXPECT_EQ(header.coins()->accessibleName(), QStringLiteral("코인 10000"));
}

TEST(Header, WelcomeBackShowsOverTheArtUntilTheNextSale) {
    ManageWorld world(withCrate(10));
    Header header(*world.game, world.sprites);
    header.resize(600, header.sizeHint().height());
    const QImage before = header.grab().toImage();
    EXPECT_TRUE(header.welcome()->isHidden());

    // Away for an hour while the program slept: nobody to pick, the crate as it was.
    world.clock.advance(3600);
    world.game->tick(world.clock.now());
    EXPECT_EQ(header.welcome()->text(), QStringLiteral("그동안 딴 열매는 없고, 창고에 10개가 있어요"));
    EXPECT_EQ(header.welcome()->accessibleName(), header.welcome()->text());
    const QImage told = header.grab().toImage();
    EXPECT_EQ(told.size(), before.size()) << "the header keeps its height";
    // A dark band across the bottom of the art, with the light text on it; the row below is untouched.
    const qreal ratio = told.devicePixelRatio();
    const QPoint band = (QPointF(8, 112) * ratio).toPoint();
    EXPECT_LT(QColor(told.pixel(band)).lightness(), 90);
    EXPECT_GT(QColor(before.pixel(band)).lightness(), 90);
    const int below = qRound(125 * ratio);
    EXPECT_EQ(told.copy(0, below, told.width(), told.height() - below),
              before.copy(0, below, before.width(), before.height() - below));

    header.sellButton()->click();
    EXPECT_TRUE(header.welcome()->isHidden());
    EXPECT_EQ(QColor(header.grab().toImage().pixel(band)).lightness(), QColor(before.pixel(band)).lightness());
}

TEST(ManageWindow, TheChosenTabSurvivesAReopenAndARenderingButNotANumberOutOfRange) {
    ManageWorld world;
    {
        auto window = world.window();
        EXPECT_EQ(window->tabs()->currentIndex(), 0);
        window->tabs()->setCurrentIndex(2);
        ASSERT_FALSE(window->renderTab(5).isNull());
        EXPECT_EQ(window->tabs()->currentIndex(), 2);
    }
    EXPECT_EQ(world.defaults.integer(QStringLiteral("manageTab")), 2);
    EXPECT_EQ(world.window()->tabs()->currentIndex(), 2);

    world.defaults.setValue(QStringLiteral("manageTab"), 99);
    EXPECT_EQ(world.window()->tabs()->currentIndex(), 0);
}

// Redrawing the window for nobody would cost the game on every tick while it runs in the tray.
TEST(ClosedWindow, ChangesWaitUntilTheWindowAndThenTheTabAreShown) {
    Orchard o = withCrate(40, 0);
    o.unlocked.insert(TreeKind::kumquat);
    ManageWorld world(o);
    auto window = world.window();
    window->tabs()->setCurrentIndex(5);
    Header& header = *window->header();
    auto* orchard = qobject_cast<OrchardTab*>(window->tabs()->widget(0));
    ASSERT_NE(orchard, nullptr);
    BuyButton* plant = orchard->kindRows().front()->button();
    ASSERT_FALSE(plant->isEnabled()) << "no coins yet";
    EXPECT_EQ(header.coins()->text(), QStringLiteral("0"));

    world.game->sellAll();
    const std::int64_t coins = world.game->orchard().coins;
    ASSERT_GT(coins, 0);
    EXPECT_EQ(header.coins()->text(), QStringLiteral("0"));
    EXPECT_TRUE(header.sellButton()->isEnabled());

    showAside(*window);
    EXPECT_EQ(header.coins()->text(), shortNumber(coins));
    EXPECT_FALSE(header.sellButton()->isEnabled());
    EXPECT_FALSE(plant->isEnabled()) << "the orchard tab is behind the settings";
    window->tabs()->setCurrentIndex(0);
    EXPECT_TRUE(plant->isEnabled()) << "the sale pays for a tree";
}

/// A catalogue that puts the numbers and names of some sentences in another place, as English does.
class ReorderingCatalogue final : public QTranslator {
public:
    ReorderingCatalogue() { QCoreApplication::installTranslator(this); }
    ~ReorderingCatalogue() override { QCoreApplication::removeTranslator(this); }

    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (QLatin1String(context) != QLatin1String("pipfield")) {
            return {};
        }
        return m_words.value(QString::fromUtf8(source));
    }

private:
    QMap<QString, QString> m_words{
        {QStringLiteral("코인이 %1 모자라요"), QStringLiteral("%1 coins short")},
        {QStringLiteral("모두 팔기 +%1"), QStringLiteral("Sell all for %1")},
        {QStringLiteral("%1개 중 %2개"), QStringLiteral("%2 of %1")},
        {QStringLiteral("딴 열매 %1개"), QStringLiteral("%1 picked")},
        {QStringLiteral("해금 %1"), QStringLiteral("Unlock for %1")},
        {QStringLiteral("고용하면 %1"), QStringLiteral("Hired: %1")},
        {QStringLiteral("지금 %1 · 다음 레벨 %2"), QStringLiteral("next level %2, now %1")},
        {QStringLiteral("레벨 %1에 %2"), QStringLiteral("%2 at level %1")},
        {QStringLiteral("%1 한 명 더 고용"), QStringLiteral("Hire another %1")},
        {QStringLiteral("함께 일하는 %1"), QStringLiteral("%1 works alongside")},
    };
};

TEST(Texts, EachSentenceIsOneKeySoATranslationMayReorderIt) {
    ReorderingCatalogue catalogue;
    Orchard o = withCrate(10, 100);
    o.workers.set(WorkerRole::planter, 12);
    o.extraWorkers.insert(WorkerRole::planter);
    o.setLook(WorkerLook{0, 0, "%1 50%"}, WorkerRole::planter, 1);
    ManageWorld world(o);

    EXPECT_EQ(BuyButton::reason(world.game->orchard(), Purchase::tree(TreeKind::eureka), 600),
              QStringLiteral("500 coins short"));
    Header header(*world.game, world.sprites);
    const QString sell = header.sellButton()->text();
    EXPECT_TRUE(sell.startsWith(QStringLiteral("Sell all for ")) && !sell.endsWith(u' ')) << sell.toStdString();
    EXPECT_EQ(header.gauge()->accessibleDescription(), QStringLiteral("10 of 40"));

    DexTab dex(*world.game, world.sprites);
    EXPECT_EQ(dex.cell(TreeKind::eureka)->lineLabel()->text(), QStringLiteral("0 picked"));
    EXPECT_EQ(dex.cell(TreeKind::grapefruit)->lineLabel()->text(), QStringLiteral("Unlock for 3만"));

    WorkersTab workers(*world.game, world.sprites);
    EXPECT_TRUE(workers.row(WorkerRole::caretaker)->effectLabel()->text().startsWith(QStringLiteral("Hired: ")));
    const QString effect = workers.row(WorkerRole::planter)->effectLabel()->text();
    EXPECT_TRUE(effect.startsWith(QStringLiteral("next level "))) << effect.toStdString();
    EXPECT_TRUE(effect.contains(QStringLiteral(", now "))) << effect.toStdString();
    EXPECT_EQ(workers.row(WorkerRole::planter)->gearLine()->nextLabel()->text(),
              QStringLiteral("장인 장비 at level 15"));
    // A typed name is shown as typed, even where it looks like a place for a value.
    EXPECT_EQ(workers.row(WorkerRole::planter)->partnerLabel()->text(), QStringLiteral("%1 50% works alongside"));
    EXPECT_EQ(HireSheet(*world.game, world.sprites, WorkerRole::caretaker).windowTitle(),
              QStringLiteral("Hire another 돌보기 일꾼"));
}

} // namespace
} // namespace pipfield::test
