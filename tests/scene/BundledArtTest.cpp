#include "model/Catalog.h"
#include "model/TreeStage.h"
#include "scene/Grove.h"
#include "scene/Palette.h"
#include "scene/Sprite.h"

#include <QDirIterator>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace pipfield;

namespace {

QString raw(auto value) {
    const std::string_view v = rawValue(value);
    return QString::fromUtf8(v.data(), static_cast<qsizetype>(v.size()));
}

const QStringList animations = {"idle", "walk", "dig", "water", "pick", "carry", "wave", "yawn", "sniff"};

QStringList workerRuns() {
    QStringList runs;
    for (WorkerRole role : allWorkerRoles) {
        for (const QString& body : {QString(), QString("b")}) {
            for (const QString& tier : {QString(), QString("-t1"), QString("-t2"), QString("-t3"), QString("-t4")}) {
                for (const QString& anim : animations) {
                    runs << raw(role) + body + tier + "-" + anim;
                }
            }
        }
    }
    return runs;
}

class BundledArt : public ::testing::Test {
protected:
    Sprite sprites{Sprite::bundled(), nullptr, 1};
};

TEST_F(BundledArt, EveryNamedImageResolves) {
    QStringList names = {"ground-0",  "crate-0",       "crate-1", "crate-2",
                         "MenuLemon", "MenuLemonFull", "KeyArt",  "ui-coin"};
    for (Season season : allSeasons) {
        names << "season-" + raw(season);
    }
    for (TreeKind kind : allTreeKinds) {
        names << "fruit-" + raw(kind) << "ui-fruit-" + raw(kind);
    }
    for (WorkerRole role : allWorkerRoles) {
        names << "portrait-" + raw(role) << "portrait-" + raw(role) + "b";
    }
    for (const QString& name : names) {
        EXPECT_TRUE(sprites.load(name)) << qPrintable(name);
    }
    EXPECT_EQ(sprites.load("MenuLemon")->size(), QSize(22, 22));
}

TEST_F(BundledArt, RunsAreNumberedFromZeroWithoutGaps) {
    const QStringList effects = {"fx-sparkle", "fx-dust", "fx-water", "fx-coin", "fx-firefly"};
    QHash<QString, qsizetype> lengths;
    for (const QString& run : workerRuns() + effects + QStringList{"lantern"}) {
        const auto frames = sprites.frames(run, std::nullopt, Grading::asIs);
        lengths.insert(run, frames.size());
        EXPECT_FALSE(frames.isEmpty()) << qPrintable(run);
        // Walks and carries, and every effect, need at least four frames to move; an effect is over within eight.
        if (run.endsWith("-walk") || run.endsWith("-carry") || effects.contains(run)) {
            EXPECT_GE(frames.size(), 4) << qPrintable(run);
        }
    }
    for (const QString& effect : effects) {
        EXPECT_LE(lengths[effect], 8) << qPrintable(effect);
    }

    // A frame numbered past the end of its run would never be shown.
    const QRegularExpression numbered("^(.+)-(\\d+)\\.png$");
    for (QDirIterator it(":/art"); it.hasNext();) {
        const auto match = numbered.match(it.next().section('/', -1));
        if (match.hasMatch() && lengths.contains(match.captured(1))) {
            EXPECT_LT(match.captured(2).toInt(), lengths[match.captured(1)]) << qPrintable(it.filePath());
        }
    }
}

TEST_F(BundledArt, EveryTreeResolvesAndAllFitTheStrip) {
    int grown = 0;
    for (TreeKind kind : allTreeKinds) {
        for (TreeStage stage : allTreeStages) {
            const auto tree = sprites.load(Grove::picture(kind, stage));
            ASSERT_TRUE(tree) << qPrintable(Grove::picture(kind, stage));
            EXPECT_LT(tree->height(), 64);
            EXPECT_LE(tree->width(), 60);
            if (stage == TreeStage::bearing) {
                grown = std::max(grown, tree->height());
            }
        }
    }
    for (const QString& run : workerRuns()) {
        for (const QImage& frame : sprites.frames(run, std::nullopt, Grading::asIs)) {
            EXPECT_LE(frame.height() * 2, grown) << qPrintable(run);
            EXPECT_GE(frame.height() * 4, grown) << qPrintable(run);
        }
    }
}

TEST_F(BundledArt, EveryWorkerSheetDyesItsClothesAndNothingElse) {
    const Palette::DyeColors& table = Palette::dyeColors();
    for (const QString& run : workerRuns()) {
        const QSet<quint32> colors = table.value(run);
        ASSERT_FALSE(colors.isEmpty()) << qPrintable(run);
        const QImage plain = *sprites.image(run + "-0", std::nullopt, Grading::asIs);
        const QImage dyed = *sprites.image(run + "-0", 200, Grading::asIs);
        int changed = 0;
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x) {
                const QRgb p = plain.pixel(x, y);
                if (p != dyed.pixel(x, y)) {
                    ++changed;
                    EXPECT_TRUE(colors.contains(p & 0xffffff)) << qPrintable(run);
                }
            }
        }
        EXPECT_GT(changed, 4) << qPrintable(run);
    }
}

} // namespace
