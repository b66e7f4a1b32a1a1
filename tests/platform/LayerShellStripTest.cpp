#include "platform/LayerShellStrip.h"

#include "support/MessageLog.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pipfield {
namespace {

// Restores the session's Wayland variables after each case.
class WaylandEnvironment : public testing::Test {
protected:
    void SetUp() override {
        m_display = qgetenv("WAYLAND_DISPLAY");
        m_socket = qgetenv("WAYLAND_SOCKET");
        qunsetenv("WAYLAND_SOCKET");
    }
    void TearDown() override {
        restore("WAYLAND_DISPLAY", m_display);
        restore("WAYLAND_SOCKET", m_socket);
    }
    static void restore(const char* name, const QByteArray& value) {
        if (value.isNull()) {
            qunsetenv(name);
        } else {
            qputenv(name, value);
        }
    }

    QByteArray m_display;
    QByteArray m_socket;
};

TEST_F(WaylandEnvironment, AnX11SessionIsNeverAskedForALayerShellAndACompositorThatIsGoneLeavesTheX11Strip) {
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
