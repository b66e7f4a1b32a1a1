# Precompiled headers for the targets with many units that include Qt: most of such a unit's front-end time
# goes to parsing the same Qt and standard headers, which a target's header parses once. Only for GCC (the
# sanitizer and package builds): clang-tidy reads the compile commands without them (scripts/tidy.py), so a
# unit that forgets an include it needs still fails there. Off under a compiler launcher such as ccache,
# which caches nothing of a unit that reads a precompiled header.
option(PIPFIELD_PCH "Precompile the common Qt and standard headers of the larger targets (GCC only)" ON)

set(PIPFIELD_PCH_STD <algorithm> <array> <cmath> <cstdint> <functional> <map> <memory> <optional> <string>
                     <utility> <variant> <vector>)
set(PIPFIELD_PCH_CORE <QCoreApplication> <QDateTime> <QDir> <QFile> <QHash> <QList> <QObject> <QString>
                      <QStringList> <QTimer> <QVariantMap>)
set(PIPFIELD_PCH_GUI <QColor> <QFont> <QGuiApplication> <QImage> <QPainter> <QPainterPath> <QScreen>)
set(PIPFIELD_PCH_WIDGETS <QApplication> <QHBoxLayout> <QLabel> <QPushButton> <QVBoxLayout> <QWidget>)
set(PIPFIELD_PCH_DBUS <QDBusConnection> <QDBusMessage> <QDBusPendingCallWatcher> <QDBusPendingReply>)

# pipfield_precompile(TARGET PART...): the standard headers and those of each PART (CORE, GUI, WIDGETS,
# DBUS), which must be ones the target can include. (The test programs are unity builds, cmake/UnityTests.cmake:
# one unit each, which a precompiled header would not make faster.)
function(pipfield_precompile target)
    set(headers ${PIPFIELD_PCH_STD})
    foreach(part ${ARGN})
        list(APPEND headers ${PIPFIELD_PCH_${part}})
    endforeach()
    target_precompile_headers(${target} PRIVATE ${headers})
endfunction()

# pipfield_precompile_like(TARGET DONOR): the donor's precompiled header, for a target compiled with the same
# definitions and options, which saves building one more. A difference shows as an invalid header: an error in
# the sanitizer build (-Winvalid-pch, -Werror), a slower build elsewhere.
function(pipfield_precompile_like target donor)
    target_precompile_headers(${target} REUSE_FROM ${donor})
endfunction()

if(PIPFIELD_PCH AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    pipfield_precompile(pipfield_game CORE)
    pipfield_precompile(pipfield_kit CORE GUI)
    pipfield_precompile_like(pipfield_art_drawing pipfield_kit)
    pipfield_precompile(pipfield_scene CORE GUI WIDGETS)
    pipfield_precompile_like(pipfield_strip pipfield_scene)
    pipfield_precompile(pipfield_platform CORE GUI DBUS)
    pipfield_precompile(pipfield_manage CORE GUI WIDGETS DBUS)
    pipfield_precompile_like(pipfield_app pipfield_manage)
endif()
