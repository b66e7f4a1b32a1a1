#include "game/Defaults.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pipfield {
namespace {

class DefaultsTest : public testing::Test {
protected:
    QString file() const { return m_dir.filePath("Pipfield/Pipfield.conf"); }
    QTemporaryDir m_dir;
};

TEST_F(DefaultsTest, StoredValueThenRegisteredDefaultThenZero) {
    Defaults d(file());
    EXPECT_FALSE(d.boolValue("clickThrough"));
    EXPECT_FALSE(d.string("theme"));
    EXPECT_EQ(d.integer("screenID"), 0);

    d.registerDefaults(Defaults::standardDefaults());
    EXPECT_TRUE(d.boolValue("clickThrough"));
    EXPECT_EQ(d.string("theme"), QStringLiteral("sunny"));

    d.setValue("clickThrough", false);
    EXPECT_FALSE(d.boolValue("clickThrough"));

    d.remove("clickThrough");
    EXPECT_TRUE(d.boolValue("clickThrough"));
}

TEST_F(DefaultsTest, RegisteredDefaultsAreNeverWritten) {
    {
        Defaults d(file());
        d.registerDefaults(Defaults::standardDefaults());
    }
    Defaults again(file());
    EXPECT_FALSE(again.boolValue("stripShown"));
}

TEST_F(DefaultsTest, CommandLineOverridesReadOnlyKeysForOneRun) {
    {
        Defaults stored(file());
        stored.setValue("season", "spring");
    }
    Defaults d(file(), {{"demo", "late"}, {"season", "winter"}, {"showManage", "YES"}});
    EXPECT_EQ(d.string("demo"), QStringLiteral("late"));
    EXPECT_EQ(d.string("season"), QStringLiteral("winter"));
    EXPECT_TRUE(d.boolValue("showManage"));

    Defaults later(file());
    EXPECT_EQ(later.string("season"), QStringLiteral("spring"));
    EXPECT_FALSE(later.contains("demo"));
}

TEST_F(DefaultsTest, HandWrittenTextReadsAsTheNumberOrSwitchItMeans) {
    Defaults d(file());
    d.registerDefaults(Defaults::standardDefaults());
    EXPECT_EQ(d.integer("clickThrough"), 1);
    const std::pair<const char*, std::int64_t> numbers[] = {{"12.7", 12}, {"-3", -3}, {"1e19", 0}, {"many", 0}};
    for (const auto& [text, number] : numbers) {
        d.setValue("manageTab", text);
        EXPECT_EQ(d.integer("manageTab"), number) << text;
    }
    for (const char* yes : {"YES", "true", "1", "y", "2"}) {
        d.setValue("showManage", yes);
        EXPECT_TRUE(d.boolValue("showManage")) << yes;
    }
    for (const char* no : {"NO", "false", "0", "", "maybe"}) {
        d.setValue("showManage", no);
        EXPECT_FALSE(d.boolValue("showManage")) << no;
    }
}

} // namespace
} // namespace pipfield
