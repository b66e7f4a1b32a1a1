#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace pipfield::test {

/// Points the XDG folders into `home` and the session bus nowhere, before any Qt application exists,
/// so that no test reads or writes the developer's settings, save file, autostart or runtime folder,
/// or reaches their desktop. Widgets are drawn off screen unless a platform was chosen.
inline bool isolateFromDesktop(const QTemporaryDir& home) {
    if (!home.isValid()) {
        return false;
    }
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME"}) {
        const QString path = home.filePath(QString::fromLatin1(name));
        QDir().mkpath(path);
        // The runtime folder must be private, or Qt ignores it.
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setenv(name, path.toLocal8Bit().constData(), 1);
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/pipfield-test-bus", 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return true;
}

} // namespace pipfield::test
