#include "platform/LayerShellStrip.h"

#include "support/MessageLog.h"

#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pipfield {
namespace {

TEST(LayerShellStrip, AnX11SessionIsNeverAskedForALayerShellAndACompositorThatIsGoneLeavesTheX11Strip) {
    // The session's Wayland variables are put back whatever the outcome.
    const QByteArray display = qgetenv("WAYLAND_DISPLAY");
    const QByteArray socket = qgetenv("WAYLAND_SOCKET");
    const auto restore = qScopeGuard([&] {
        display.isNull() ? qunsetenv("WAYLAND_DISPLAY") : qputenv("WAYLAND_DISPLAY", display);
        socket.isNull() ? qunsetenv("WAYLAND_SOCKET") : qputenv("WAYLAND_SOCKET", socket);
    });
    qunsetenv("WAYLAND_SOCKET");
    test::MessageLog log;
    qunsetenv("WAYLAND_DISPLAY");
    EXPECT_EQ(LayerShellStrip::connectToCompositor(), nullptr);
    EXPECT_TRUE(log.warnings.isEmpty()) << log.warnings.join('\n').toStdString();
    // A socket path that names nothing: the session's compositor has gone away.
    QTemporaryDir dir;
    qputenv("WAYLAND_DISPLAY", dir.filePath("wayland-gone").toUtf8());
    EXPECT_EQ(LayerShellStrip::connectToCompositor(), nullptr);
    ASSERT_EQ(log.warnings.size(), 1) << "one line for the one failure";
    EXPECT_TRUE(log.warnings[0].startsWith("pipfield.desktop: ")) << log.warnings[0].toStdString();
}

} // namespace
} // namespace pipfield
