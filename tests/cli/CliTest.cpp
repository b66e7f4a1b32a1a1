#include "cli/CliCommands.h"
#include "model/SaveFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace pipfield {
namespace {

const std::string kLate = std::string(PIPFIELD_TEST_DATA) + "/late-game.json";
const std::string kStarter = std::string(PIPFIELD_TEST_DATA) + "/starter.json";

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

Outcome cli(std::vector<std::string> args, const std::string& playerSave = "/nonexistent/orchard.json") {
    std::ostringstream out;
    std::ostringstream err;
    const int code = cli::run(args, playerSave, out, err);
    return {code, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        result.push_back(line);
    }
    return result;
}

Save decodedLine(const std::string& line) {
    const SaveDecoding d = decodeSave(line);
    EXPECT_TRUE(d.save) << d.error;
    return d.save.value_or(Save{});
}

TEST(CliSimulate, AdvancesWithoutTheCatchUpCapAndMovesLastUpdated) {
    const Outcome r = cli({"simulate", "--seconds", "12.5", "--season", "summer", kStarter});
    ASSERT_EQ(r.code, 0) << r.err;
    ASSERT_EQ(lines(r.out).size(), 1u);
    const Save save = decodedLine(lines(r.out)[0]);
    EXPECT_NE(save.orchard, Orchard::starter()) << "the harvester has picked";
    EXPECT_EQ(save.lastUpdated, 12.5);

    // No three-day cap here: a week of catch-up goes on past 259,200 seconds.
    const Outcome week = cli({"simulate", "--season", "spring", "--seconds", "604800", kLate});
    ASSERT_EQ(week.code, 0) << week.err;
    const Save after = decodedLine(lines(week.out)[0]);
    EXPECT_EQ(after.lastUpdated, 786801600.5 + 604800);
    EXPECT_EQ(after.weekStarts.size(), 2u);
}

TEST(CliForecastAndValue, PrintIntegers) {
    // m = 1 + 12 x 0.12 x 1.5 = 3.16: lime 600 x 3.16 = 1896, yuja 1100 x 3.16 x 1.5 = 5214.
    EXPECT_EQ(cli({"value", "--season", "winter", kLate}).out, "7110\n");
    EXPECT_EQ(cli({"value", "--season", "summer", kStarter}).out, "0\n");
    const Outcome forecast = cli({"forecast", "--season", "autumn", kStarter});
    ASSERT_EQ(forecast.code, 0);
    const std::int64_t seconds = std::stoll(forecast.out);
    EXPECT_EQ(seconds % 60, 0);
    EXPECT_GT(seconds, 0);
}

TEST(CliBuyAndHarvest, PrintResultThenSave) {
    const Outcome bought = cli({"buy", "worker:caretaker", kStarter});
    ASSERT_EQ(bought.code, 0);
    ASSERT_EQ(lines(bought.out).size(), 2u);
    EXPECT_EQ(lines(bought.out)[0], "false"); // 25 coins, 10 held
    EXPECT_EQ(decodedLine(lines(bought.out)[1]).orchard, Orchard::starter());

    const Outcome tree = cli({"buy", "replant:0:kumquat", kLate});
    EXPECT_EQ(lines(tree.out)[0], "true");
    const Save planted = decodedLine(lines(tree.out)[1]);
    EXPECT_EQ(planted.orchard.trees[0].kind, TreeKind::kumquat);
    EXPECT_EQ(planted.orchard.coins, 1234567 - 80);

    const Outcome picked = cli({"harvest", "0", kStarter});
    EXPECT_EQ(lines(picked.out)[0], "3");
    EXPECT_EQ(decodedLine(lines(picked.out)[1]).orchard.crate.valueOr(TreeKind::eureka, 0), 3);
    EXPECT_EQ(lines(cli({"harvest", "-1", kStarter}).out)[0], "0");
}

TEST(CliDecode, TellsOkOrWhy) {
    EXPECT_EQ(cli({"decode", kLate}).out, "ok\n");
    const std::filesystem::path bad = std::filesystem::temp_directory_path() / "pipfield-cli-bad.json";
    std::ofstream(bad) << R"({"orchard":{"trees":[]},"lastUpdated":0,"weekStarts":{}})";
    const Outcome r = cli({"decode", bad.string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out.rfind("unreadable: ", 0), 0u) << r.out;
    EXPECT_EQ(cli({"value", "--season", "summer", bad.string()}).code, 1);
    std::filesystem::remove(bad);
}

TEST(CliArguments, BadOnesExitTwoWithOneLine) {
    // Where a line is given, it names what is wrong and where it belongs.
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, ""},
        {{"grow"}, "pipfield-cli: unknown command grow\n"},
        {{"simulate", "--season", "summer", kStarter}, ""},
        {{"simulate", "--seconds", "-1", "--season", "summer", kStarter}, ""},
        {{"simulate", "--seconds", "nan", "--season", "summer", kStarter}, ""},
        {{"simulate", "--seconds", "10", "--season", "fall", kStarter}, ""},
        {{"forecast", kStarter}, ""},
        {{"value", "--season"}, ""},
        {{"value", "--seconds", "5"}, "pipfield-cli: --seconds belongs to simulate\n"},
        {{"buy", "tree:mango", kStarter}, ""},
        {{"buy", "replant:x:lime", kStarter}, ""},
        {{"buy", "crate:1", kStarter}, ""},
        {{"buy"}, "pipfield-cli: buy needs a PURCHASE\n"},
        {{"harvest", "1.5", kStarter}, ""},
        {{"harvest"}, "pipfield-cli: harvest needs an INDEX\n"},
        {{"status", "--seconds", "5"}, ""},
        {{"status", "--season", "summer"}, "pipfield-cli: --season belongs to simulate, forecast and value\n"},
        {{"decode", kStarter, kLate}, ""},
        {{"status", "--verbose"}, ""},
    };
    for (const auto& [args, line] : cases) {
        const Outcome r = cli(args);
        EXPECT_EQ(r.code, 2) << (args.empty() ? "" : args[0]);
        EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
        EXPECT_TRUE(r.out.empty());
        if (!line.empty()) {
            EXPECT_EQ(r.err, line);
        }
    }
}

TEST(CliStatus, SummarisesInKorean) {
    const Outcome late = cli({"status", kLate});
    ASSERT_EQ(late.code, 0);
    for (const char* line : {"코인 1234567", "핑크 레몬 - 열매 9/14", "수확 일꾼 레벨 20 (2명)", "창고 50/"}) {
        EXPECT_NE(late.out.find(line), std::string::npos) << line << " in " << late.out;
    }
    // With no save yet the player sees the game they would start.
    const Outcome fresh = cli({"status"});
    EXPECT_EQ(fresh.code, 0);
    EXPECT_NE(fresh.out.find("코인 10"), std::string::npos);
}

// The form of --help and --version (exit status, usage line, final newline, quiet stderr) is checked on the
// real program by the command-line end-to-end test.
TEST(CliHelp, ShortHelpIsTheSameAndNamesEveryCommand) {
    const Outcome r = cli({"-h"});
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.out, cli({"--help"}).out);
    for (const char* command : {"status", "simulate", "forecast", "value", "buy", "harvest", "decode"}) {
        EXPECT_NE(r.out.find("  " + std::string(command) + " "), std::string::npos) << command;
    }
}

} // namespace
} // namespace pipfield
