#include "manage/BuyButton.h"
#include "manage/CapsuleButton.h"
#include "manage/CrateGauge.h"
#include "manage/DexTab.h"
#include "manage/Header.h"
#include "manage/Label.h"
#include "manage/WorkersTab.h"
#include "support/ManageTestSupport.h"

#include <QMap>
#include <QTranslator>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

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

Orchard sample() {
    Orchard o = idleOrchard(100);
    o.workers.set(WorkerRole::planter, 12);
    o.extraWorkers.insert(WorkerRole::planter);
    o.setLook(WorkerLook{0, 0, "%1 50%"}, WorkerRole::planter, 1);
    o.crate.set(TreeKind::eureka, 10);
    return o;
}

TEST(Texts, EachSentenceIsOneKeySoATranslationMayReorderIt) {
    ReorderingCatalogue catalogue;
    ManageWorld world(sample());
    const Orchard& o = world.game->orchard();

    EXPECT_EQ(BuyButton::reason(o, Purchase::tree(TreeKind::eureka), 600), QStringLiteral("500 coins short"));

    Header header(*world.game, world.sprites);
    const QString value = header.sellButton()->text().mid(QStringLiteral("Sell all for ").size());
    EXPECT_TRUE(header.sellButton()->text().startsWith(QStringLiteral("Sell all for ")))
        << header.sellButton()->text().toStdString();
    EXPECT_FALSE(value.isEmpty());
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

    HireSheet sheet(*world.game, world.sprites, WorkerRole::caretaker);
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Hire another 돌보기 일꾼"));
}

TEST(Texts, WithoutACatalogueTheKoreanSentencesReadAsBefore) {
    ManageWorld world(sample());
    WorkersTab workers(*world.game, world.sprites);
    EXPECT_EQ(workers.row(WorkerRole::planter)->partnerLabel()->text(), QStringLiteral("함께 일하는 %1 50%"));
    HireSheet sheet(*world.game, world.sprites, WorkerRole::caretaker);
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("돌보기 일꾼 한 명 더 고용"));
}

} // namespace
} // namespace pipfield::test
