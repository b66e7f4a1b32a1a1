#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

// Temporary XDG folders, so that no test reads or writes the developer's settings, save file or
// autostart folder; and no session bus, so that nothing reaches the developer's desktop.
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
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/pipfield-test-bus", 1);
    setenv("TZ", "Asia/Seoul", 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("LANG", "ko_KR.UTF-8", 1);
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
