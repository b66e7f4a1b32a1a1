#include "model/SaveFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <tuple>

namespace pipfield {
namespace {

std::string fixture(const char* name) {
    std::ifstream in(std::string(PIPFIELD_TEST_DATA) + "/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string starterWith(const std::string& orchardMembers) {
    return R"({"lastUpdated":0,"weekStarts":{},"orchard":{"trees":[{"kind":"eureka","age":300,"progress":0,"fruit":3}],)"
           R"("workers":{"harvester":1})" +
           orchardMembers + "}}";
}

std::string withTree(const std::string& tree) {
    return R"({"lastUpdated":0,"weekStarts":{},"orchard":{"trees":[)" + tree + R"(],"workers":{}}})";
}

TEST(SaveFileFixtures, KeepLoading) {
    const SaveDecoding late = decodeSave(fixture("late-game.json"));
    ASSERT_TRUE(late.save) << late.error;
    const Orchard& o = late.save->orchard;
    EXPECT_EQ(o.trees.size(), 10u);
    EXPECT_EQ(o.trees[2], (Tree{TreeKind::grapefruit, 7200, 80, 0}));
    EXPECT_EQ(o.level(WorkerRole::caretaker), 16);
    EXPECT_EQ(o.crate.valueOr(TreeKind::yuja, 0), 20);
    EXPECT_EQ(o.coins, 1234567);
    EXPECT_EQ(o.crateLevel, 6);
    EXPECT_EQ(o.look(WorkerRole::planter, 1), (WorkerLook{1, 4, "보리"}));
    EXPECT_EQ(o.harvestedByKind.valueOr(TreeKind::pink, 0), 9);
    EXPECT_EQ(late.save->lastUpdated, 786801600.5);
    EXPECT_EQ(late.save->weekStarts.at("2025-W49"), (Totals{820, 800, 45000, 12}));

    const SaveDecoding starter = decodeSave(fixture("starter.json"));
    ASSERT_TRUE(starter.save) << starter.error;
    EXPECT_EQ(starter.save->orchard, Orchard::starter());
}

TEST(SaveFileDefaults, MissingOptionalKeysTakeTheirDefaults) {
    const SaveDecoding old = decodeSave(fixture("early-version.json"));
    ASSERT_TRUE(old.save) << old.error;
    const Orchard& o = old.save->orchard;
    EXPECT_EQ(o.everPlanted, (EnumSet<TreeKind>{TreeKind::eureka, TreeKind::kumquat}));
    EXPECT_EQ(o.unlocked, EnumSet<TreeKind>{TreeKind::eureka});
    EXPECT_TRUE(o.looks.empty());
    EXPECT_TRUE(o.extraWorkers.empty());
    EXPECT_TRUE(o.harvestedByKind.empty());
    EXPECT_TRUE(o.crate.empty());
    EXPECT_EQ(o.trees[1].age, 120.25);
    EXPECT_EQ(o.harvestBudget, 0.4);

    const SaveDecoding bare = decodeSave(starterWith(""));
    ASSERT_TRUE(bare.save) << bare.error;
    EXPECT_EQ(bare.save->orchard.coins, 0);
    EXPECT_EQ(bare.save->orchard.totals, Totals{});

    // An empty list is not a missing one: the default applies only to an absent key.
    const SaveDecoding locked = decodeSave(starterWith(R"(,"unlocked":[])"));
    ASSERT_TRUE(locked.save);
    EXPECT_TRUE(locked.save->orchard.unlocked.empty());
    EXPECT_EQ(locked.save->orchard.cost(Purchase::unlock(TreeKind::eureka)), 0);
}

TEST(SaveFileDefaults, PresentZeroEntriesStayDistinctFromAbsentOnes) {
    const SaveDecoding d = decodeSave(starterWith(R"(,"crate":{"lime":0},"harvestedByKind":{"eureka":0})"));
    ASSERT_TRUE(d.save) << d.error;
    EXPECT_TRUE(d.save->orchard.crate.contains(TreeKind::lime));
    EXPECT_FALSE(d.save->orchard.crate.contains(TreeKind::eureka));
    const std::optional<std::string> again = encodeSave(*d.save);
    ASSERT_TRUE(again);
    EXPECT_NE(again->find(R"("crate":{"lime":0})"), std::string::npos);
    EXPECT_EQ(decodeSave(*again).save->orchard, d.save->orchard);
}

// What the warning gives as the reason, and the document.
struct BadDocument {
    const char* reason;
    std::string text;
};

class UnreadableDocuments : public testing::TestWithParam<BadDocument> {};

TEST_P(UnreadableDocuments, AreRefusedWhole) {
    const SaveDecoding d = decodeSave(GetParam().text);
    EXPECT_FALSE(d.save.has_value());
    EXPECT_TRUE(d.error.starts_with(GetParam().reason)) << d.error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnreadableDocuments,
    testing::Values(
        BadDocument{"not JSON", ""}, BadDocument{"not JSON", "orchard"}, BadDocument{"document is not an object", "[]"},
        BadDocument{"missing key \"lastUpdated\"", R"({"weekStarts":{},"orchard":{"trees":[],"workers":{}}})"},
        BadDocument{"missing key \"weekStarts\"", R"({"lastUpdated":0,"orchard":{"trees":[],"workers":{}}})"},
        BadDocument{"missing key \"workers\"", R"({"lastUpdated":0,"weekStarts":{},"orchard":{"trees":[]}})"},
        BadDocument{"missing key \"trees\"", R"({"lastUpdated":0,"weekStarts":{},"orchard":{"workers":{}}})"},
        BadDocument{"unknown tree kind \"mandarin\"", starterWith(R"(,"crate":{"mandarin":1})")},
        BadDocument{"unknown worker role \"picker\"",
                    R"({"lastUpdated":0,"weekStarts":{},"orchard":{"trees":[],"workers":{"picker":1}}})"},
        BadDocument{"unknown tree kind \"mango\"", withTree(R"({"kind":"mango","age":0,"progress":0,"fruit":0})")},
        BadDocument{"kind is not a string", withTree(R"({"kind":5,"age":0,"progress":0,"fruit":0})")},
        BadDocument{"fruit is not an integer", withTree(R"({"kind":"lime","age":0,"progress":0,"fruit":3.5})")},
        BadDocument{"missing key \"progress\"", withTree(R"({"kind":"lime","age":0,"fruit":3})")},
        BadDocument{"coins is not a number", starterWith(R"(,"coins":"10")")},
        BadDocument{"coins is out of the 64-bit range", starterWith(R"(,"coins":9223372036854775808)")},
        BadDocument{"coins is too large to be read exactly", starterWith(R"(,"coins":-9223372036854775809)")},
        // Reals from 2^53 on may have been rounded on the way in: 2^53 + 1 reads as 2^53, which is refused.
        BadDocument{"coins is too large to be read exactly", starterWith(R"(,"coins":9007199254740993.0)")},
        BadDocument{"crateLevel is too large to be read exactly",
                    starterWith(R"(,"crateLevel":-9.007199254740992e15)")},
        BadDocument{"not JSON", starterWith(R"(,"coins":1e400)")},
        BadDocument{"crate is not an object", starterWith(R"(,"crate":null)")},
        BadDocument{"missing key \"planted\"", starterWith(R"(,"totals":{"harvested":1,"sold":1,"earned":1})")},
        BadDocument{"look is not an object", starterWith(R"(,"looks":{"planter-0":1})")},
        BadDocument{"missing key \"name\"", starterWith(R"(,"looks":{"planter-0":{"variant":0,"dye":0}})")},
        BadDocument{"unlocked is not an array", starterWith(R"(,"unlocked":{"eureka":true})")},
        BadDocument{"unknown tree kind \"durian\"", starterWith(R"(,"unlocked":["eureka","durian"])")},
        BadDocument{"totals is not an object",
                    R"({"lastUpdated":0,"weekStarts":{"2026-W01":5},"orchard":{"trees":[],"workers":{}}})"},
        BadDocument{"lastUpdated is not a number",
                    R"({"lastUpdated":"now","weekStarts":{},"orchard":{"trees":[],"workers":{}}})"}));

TEST(SaveFileNumbers, WholeNumbersMayBeSpelledAsReals) {
    // Up to 2^53 - 1 every integer has its own double; the 64-bit limits read exactly as integers.
    const std::tuple<const char*, std::int64_t, std::int64_t> cases[] = {
        {R"(,"coins":1.5e3,"crateLevel":-0.0)", 1500, 0},
        {R"(,"coins":9007199254740991.0,"crateLevel":-9.007199254740991e15)", 9007199254740991, -9007199254740991},
        {R"(,"coins":9223372036854775807,"crateLevel":-9223372036854775808)", INT64_MAX, INT64_MIN}};
    for (const auto& [members, coins, crateLevel] : cases) {
        const SaveDecoding d = decodeSave(starterWith(members));
        ASSERT_TRUE(d.save) << d.error;
        EXPECT_EQ(d.save->orchard.coins, coins) << members;
        EXPECT_EQ(d.save->orchard.crateLevel, crateLevel) << members;
    }
}

TEST(SaveFileLimits, TheLargestGameReadsAndMoreRecordsThanAGameKeepsDoNot) {
    Save largest{Orchard::starter(), 0, {}};
    Orchard& o = largest.orchard;
    o.trees.assign(Orchard::maxTrees, Tree{TreeKind::golden, 21600, 1, 18});
    for (TreeKind k : allTreeKinds) {
        o.crate.set(k, 1);
        o.harvestedByKind.set(k, 1);
        o.unlocked.insert(k);
        o.everPlanted.insert(k);
    }
    for (WorkerRole r : allWorkerRoles) {
        o.workers.set(r, 20);
        o.extraWorkers.insert(r);
    }
    for (int i = 0; i < 100; ++i) {
        o.looks["slot-" + std::to_string(i)] = WorkerLook{1, 2, "이름"};
        largest.weekStarts["2026-W" + std::to_string(i)] = Totals{1, 2, 3, 4};
    }
    const SaveDecoding d = decodeSave(*encodeSave(largest));
    ASSERT_TRUE(d.save) << d.error;
    EXPECT_EQ(*d.save, largest);

    Save trees = largest;
    trees.orchard.trees.push_back(Tree{});
    EXPECT_EQ(decodeSave(*encodeSave(trees)).error, "11 trees, more than the 10 plots of an orchard");
    Save looks = largest;
    looks.orchard.looks["slot-100"] = WorkerLook{};
    EXPECT_EQ(decodeSave(*encodeSave(looks)).error, "101 looks, more than the 100 a game keeps");
    Save weeks = largest;
    weeks.weekStarts["2026-W100"] = Totals{};
    EXPECT_EQ(decodeSave(*encodeSave(weeks)).error, "101 week records, more than the 100 a game keeps");
}

TEST(SaveFileLimits, ADocumentOfMoreThanTenThousandValuesIsRefusedBeforeItIsReadToTheEnd) {
    // Every key and value counts, and every start and end of an object or array: 16 for the frame, 10
    // for each tree and 3 for the list of unlocked kinds, plus one for each kind in it.
    auto document = [](int trees, const char* unlocked) {
        std::string list;
        for (int i = 0; i < trees; ++i) {
            list += std::string(i == 0 ? "" : ",") + R"({"kind":"lime","age":0,"progress":0,"fruit":0})";
        }
        return R"({"lastUpdated":0,"weekStarts":{},"orchard":{"trees":[)" + list + R"(],"workers":{},"unlocked":)" +
               unlocked + "}}";
    };
    EXPECT_EQ(decodeSave(document(998, R"(["lime"])")).error, "998 trees, more than the 10 plots of an orchard")
        << "ten thousand values are read to the end";
    const char* refused = "more than 10000 values, more than any game holds";
    EXPECT_EQ(decodeSave(document(998, R"(["lime","yuja"])")).error, refused);
    // Even when the rest of the document is broken.
    const std::string longer = document(2000, "[]");
    EXPECT_EQ(decodeSave(longer.substr(0, longer.size() / 2)).error, refused);
}

TEST(SaveFileRoundTrip, EveryFieldAndEveryDoubleSurvives) {
    std::mt19937_64 rng(42);
    Save save{Orchard::starter(), 0, {}};
    Orchard& o = save.orchard;
    o.trees.clear();
    for (int i = 0; i < 10; ++i) {
        double age;
        double progress;
        const std::uint64_t a = rng();
        const std::uint64_t b = rng() >> 2; // keep the exponent finite
        std::memcpy(&age, &a, sizeof age);
        std::memcpy(&progress, &b, sizeof progress);
        if (!std::isfinite(age)) {
            age = -0.0;
        }
        o.trees.push_back(
            Tree{allTreeKinds[static_cast<std::size_t>(i)], age, progress, static_cast<std::int64_t>(rng())});
    }
    o.harvestBudget = 0.1 + 0.2;
    o.coins = INT64_MIN;
    o.extraWorkers = {WorkerRole::caretaker};
    o.looks["planter-0"] = WorkerLook{1, 6, "이름 \"따옴표\" \\ / \n"};
    o.looks["stray"] = WorkerLook{-1, 99, ""};
    o.harvestedByKind.set(TreeKind::golden, 0);
    save.lastUpdated = 5e-324;
    save.weekStarts["2026-W49"] = Totals{1, 2, 3, 4};

    const std::optional<std::string> text = encodeSave(save);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->find('\n'), std::string::npos) << "written compactly";
    const SaveDecoding back = decodeSave(*text);
    ASSERT_TRUE(back.save) << back.error;
    EXPECT_EQ(*back.save, save);
    // Written again, every double reads the same to the last bit: also the sign of a zero.
    EXPECT_EQ(encodeSave(*back.save), text);
}

TEST(SaveFileRoundTrip, KeysAreWrittenInFieldOrder) {
    const std::string text = *encodeSave(Save{Orchard::starter(), 1.5, {}});
    const char* keys[] = {"\"trees\"",        "\"workers\"", "\"crate\"",       "\"coins\"",
                          "\"unlocked\"",     "\"totals\"",  "\"crateLevel\"",  "\"harvestBudget\"",
                          "\"extraWorkers\"", "\"looks\"",   "\"everPlanted\"", "\"harvestedByKind\""};
    std::size_t at = 0;
    for (const char* key : keys) {
        const std::size_t found = text.find(key, at);
        ASSERT_NE(found, std::string::npos) << key;
        at = found;
    }
    EXPECT_LT(text.find("\"orchard\""), text.find("\"lastUpdated\""));
}

TEST(SaveFileRoundTrip, NonFiniteRealsAreNotWritten) {
    Save save{Orchard::starter(), 0, {}};
    save.orchard.trees[0].progress = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(encodeSave(save));
    save.orchard.trees[0].progress = 0;
    save.lastUpdated = std::nan("");
    EXPECT_FALSE(encodeSave(save));
}

} // namespace
} // namespace pipfield
