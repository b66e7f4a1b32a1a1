#include "platform/XdgAutostart.h"

#include "support/FullDisk.h"
#include "support/GameTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pipfield {
namespace {

TEST(XdgAutostart, WritesAndRemovesTheEntryAndAHiddenOneCountsAsOff) {
    QTemporaryDir dir;
    const QString file = dir.filePath("autostart/pipfield.desktop");
    XdgAutostart login({}, file, "/opt/pip field/pipfield");
    EXPECT_FALSE(login.enabled());

    EXPECT_EQ(login.setEnabled(true), std::nullopt);
    EXPECT_TRUE(login.enabled());
    const QByteArray text = QByteArray::fromStdString(test::readFile(file));
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("Exec=\"/opt/pip field/pipfield\"\n"));

    EXPECT_EQ(login.setEnabled(false), std::nullopt);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(login.enabled());
    // Removing an entry that is not there is no error.
    EXPECT_EQ(login.setEnabled(false), std::nullopt);
    // A hidden entry counts as off.
    test::writeFile(file, "[Desktop Entry]\nType=Application\nHidden=true\n");
    EXPECT_FALSE(login.enabled());
}

TEST(XdgAutostart, ExecLineEscapesWhatDesktopEntriesReserve) {
    const QByteArray text = XdgAutostart::entry(QStringLiteral("/a\"b$c%d\\e"));
    EXPECT_TRUE(text.contains(R"(Exec="/a\\"b\\$c%%d\\\\e")")) << text.toStdString();
}

TEST(XdgAutostart, FolderThatCannotBeMadeIsAnErrorAndStaysOff) {
    QTemporaryDir dir;
    // A file where the autostart folder should be: no permissions can make that a folder.
    const QString blocker = dir.filePath("autostart");
    test::writeFile(blocker, "");
    XdgAutostart login("no folder %1.", blocker + "/pipfield.desktop", "/bin/pipfield");
    EXPECT_EQ(login.setEnabled(true), "no folder " + blocker + ".");
    EXPECT_FALSE(login.enabled());
}

TEST(FullDisk, AnEntryThatDoesNotFitIsAnErrorAndLeavesNoEmptyEntryBehind) {
    test::FullDisk disk;
    const QString file = disk.filePath("autostart/pipfield.desktop");
    ASSERT_TRUE(QDir().mkpath(disk.filePath("autostart")));
    XdgAutostart login({}, file, "/bin/pipfield");
    disk.fill();

    EXPECT_EQ(login.setEnabled(true), "No space left on device");
    EXPECT_FALSE(login.enabled());
    EXPECT_EQ(disk.entries("autostart"), QStringList());

    disk.free();
    EXPECT_EQ(login.setEnabled(true), std::nullopt);
    EXPECT_EQ(QByteArray::fromStdString(test::readFile(file)), XdgAutostart::entry("/bin/pipfield"));
}

} // namespace
} // namespace pipfield
