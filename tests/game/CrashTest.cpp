#include "support/GameTestSupport.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <random>

namespace pipfield::test {
namespace {

long long counterIn(const Save& save) {
    const auto it = save.orchard.looks.find("planter-0");
    return it == save.orchard.looks.end() ? 0 : std::stoll(it->second.name.substr(0, it->second.name.find(' ')));
}

// The last number after `word` in the complete lines of `output`, or nothing.
std::optional<long long> lastReported(const QByteArray& output, const char* word) {
    std::optional<long long> last;
    for (const QByteArray& line : output.split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        bool ok = false;
        const long long n = parts.size() == 2 && parts[0] == word ? parts[1].toLongLong(&ok) : 0;
        if (ok) {
            last = n;
        }
    }
    return last;
}

TEST(Crash, AKilledSaveLeavesTheOldOrTheNewGame) {
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    const QString file = home.filePath("data/Pipfield/orchard.json");

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> savesBeforeKill(0, 12);

    long long expected = 0;
    qsizetype totalSaves = 0;
    for (int round = 0; round < 80; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        QProcess writer;
        writer.setProcessEnvironment(env);
        writer.start(PIPFIELD_CRASH_WRITER, {});
        ASSERT_TRUE(writer.waitForStarted(10000));

        QByteArray output;
        const int target = savesBeforeKill(random);
        auto saves = [&] { return output.count("saved "); };
        while (!output.contains("start ") || saves() < target) {
            ASSERT_TRUE(writer.waitForReadyRead(20000)) << output.toStdString();
            output += writer.readAllStandardOutput();
        }
        writer.kill();
        ASSERT_TRUE(writer.waitForFinished(20000));
        output += writer.readAllStandardOutput();

        // Each run starts from the file the previous one left: it must have been readable.
        ASSERT_EQ(lastReported(output, "start"), expected);
        const long long done = lastReported(output, "saved").value_or(expected);
        totalSaves += saves();

        const std::optional<Save> saved = readSave(file);
        ASSERT_TRUE(saved) << "the file does not decode after a kill";
        const long long found = counterIn(*saved);
        EXPECT_TRUE(found == done || found == done + 1) << "reported " << done << ", file holds " << found;
        expected = found;
    }
    EXPECT_GT(totalSaves, 100);
}

} // namespace
} // namespace pipfield::test
