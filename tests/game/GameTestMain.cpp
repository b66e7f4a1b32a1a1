#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

#include "GameTestSupport.h"

// The XDG folders are in a temporary folder, so that nothing reads or writes the developer's own
// settings, save file or runtime folder.
int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!home.isValid()) {
        return 2;
    }
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME"}) {
        const QString path = home.filePath(QString::fromLatin1(name));
        QDir().mkpath(path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setenv(name, path.toLocal8Bit().constData(), 1);
    }
    // Not a session bus of the developer's desktop either.
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/pipfield-test-bus", 1);
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
