#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace pipfield::test {
namespace {

struct Answer {
    CommandLine line;
    std::string out;
    std::string err;
};

Answer answer(std::vector<const char*> args) {
    args.insert(args.begin(), "pipfield");
    std::ostringstream out;
    std::ostringstream err;
    CommandLine line = readCommandLine(static_cast<int>(args.size()), args.data(), out, err);
    return {std::move(line), out.str(), err.str()};
}

TEST(CommandLine, HelpAnswersWhereverItStandsAndListsEveryReadOnlySetting) {
    for (const auto& args : std::vector<std::vector<const char*>>{
             {"--help"}, {"-h"}, {"-demo", "late", "--help"}, {"--bogus", "--help"}}) {
        const Answer a = answer(args);
        ASSERT_EQ(a.line.exitCode, 0);
        EXPECT_TRUE(a.out.starts_with("Usage: pipfield")) << a.out;
        EXPECT_TRUE(a.out.ends_with("\n"));
        EXPECT_EQ(a.err, "");
        for (const char* key :
             {"-demo late", "-season SEASON", "-hour HOUR", "-showManage", "-appearance", "--snapshot"}) {
            EXPECT_NE(a.out.find(key), std::string::npos) << key;
        }
    }
}

TEST(CommandLine, TheGameStartsForItsOwnAndQtsOptions) {
    for (const auto& args : std::vector<std::vector<const char*>>{
             {},
             {"-demo", "late", "-season", "winter", "-hour", "22.5"},
             {"-showManage", "true", "-appearance", "dark"},
             {"--snapshot", "/tmp/shots", "-demo", "late"},
             {"-platform", "offscreen", "--style", "Fusion", "-style=Fusion", "-reverse", "-session", "1a2b"},
             {"--pipfield-deliver-notification", "--title", "t", "--body", "b"}}) {
        const Answer a = answer(args);
        EXPECT_FALSE(a.line.exitCode) << a.err;
        EXPECT_EQ(a.out + a.err, "");
    }
}

TEST(CommandLine, ReadOnlySettingsAndTheSnapshotFolderAreReadOnce) {
    const CommandLine line = answer({"-demo", "late", "-platform", "offscreen", "-season", "spring", "-season",
                                     "winter", "-hour", "6.5", "-showManage", "YES", "--snapshot", "/tmp/shots"})
                                 .line;
    EXPECT_FALSE(line.exitCode);
    EXPECT_EQ(line.snapshotFolder, "/tmp/shots");
    // Qt's options are Qt's; a later value of a key wins.
    EXPECT_EQ(line.overrides,
              (QVariantMap{{"demo", "late"}, {"season", "winter"}, {"hour", "6.5"}, {"showManage", "YES"}}));
    const CommandLine delivery = answer({"--pipfield-deliver-notification", "-hour", "5"}).line;
    EXPECT_TRUE(delivery.deliversNotification);
    EXPECT_TRUE(delivery.overrides.isEmpty());
}

TEST(CommandLine, AnythingElseIsOneLineAndExitTwo) {
    const struct {
        std::vector<const char*> args;
        const char* mention;
    } cases[] = {
        {{"--bogus"}, "'--bogus'"},
        {{"-v"}, "'-v'"},
        {{"save.json"}, "'save.json'"},
        // Settings are single-dash keys; the spelling Qt would take is not guessed at.
        {{"--demo", "late"}, "'--demo'"},
        {{"-demo"}, "-demo needs a value"},
        {{"-demo", "early"}, "'early'"},
        {{"-season", "summr"}, "'summr'"},
        {{"-appearance", "Dark"}, "'Dark'"},
        {{"--snapshot"}, "--snapshot needs a folder"},
        {{"-platform"}, "-platform needs a value"},
    };
    for (const auto& c : cases) {
        const Answer a = answer(c.args);
        ASSERT_EQ(a.line.exitCode, kBadArgumentsExit) << c.mention;
        EXPECT_EQ(a.out, "");
        EXPECT_TRUE(a.err.starts_with("pipfield: ")) << a.err;
        EXPECT_NE(a.err.find(c.mention), std::string::npos) << a.err;
        EXPECT_EQ(a.err.find('\n'), a.err.size() - 1) << "one line: " << a.err;
    }
}

} // namespace
} // namespace pipfield::test
