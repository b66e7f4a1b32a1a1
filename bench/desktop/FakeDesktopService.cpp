// A desktop service that answers one question for the benchmark's session bus, so that the program
// can be measured behind an active screen saver or under the power-saver profile on a machine that
// has neither: `pipfield-fake-desktop-service screensaver` or `... powersaver`. Runs until killed.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>

#include <cstdio>

namespace {

class Answers final : public QDBusVirtualObject {
public:
    explicit Answers(bool screenSaver) : m_screenSaver(screenSaver) {}

    QString introspect(const QString& /*path*/) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const bool asksActive = m_screenSaver && message.member() == QLatin1String("GetActive");
        const bool asksPowerSaver = !m_screenSaver && message.member() == QLatin1String("Get") &&
                                    message.arguments().value(1).toString() == QLatin1String("power-saver-enabled");
        if (asksActive) {
            connection.send(message.createReply(true));
        } else if (asksPowerSaver) {
            connection.send(message.createReply(QVariant::fromValue(QDBusVariant(true))));
        } else {
            // What a portal says of a setting it does not have, so that nothing else is read from here.
            connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"),
                                                     QStringLiteral("not kept here")));
        }
        return true;
    }

private:
    bool m_screenSaver;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString which = arguments.value(1);
    if (which != QLatin1String("screensaver") && which != QLatin1String("powersaver")) {
        std::fputs("usage: pipfield-fake-desktop-service screensaver|powersaver\n", stderr);
        return 2;
    }
    const bool screenSaver = which == QLatin1String("screensaver");
    QDBusConnection bus = QDBusConnection::sessionBus();
    Answers answers(screenSaver);
    const bool registered = bus.registerVirtualObject(screenSaver ? QStringLiteral("/org/freedesktop/ScreenSaver")
                                                                  : QStringLiteral("/org/freedesktop/portal/desktop"),
                                                      &answers) &&
                            bus.registerService(screenSaver ? QStringLiteral("org.freedesktop.ScreenSaver")
                                                            : QStringLiteral("org.freedesktop.portal.Desktop"));
    if (!registered) {
        std::fprintf(stderr, "cannot serve on the session bus: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    return QCoreApplication::exec();
}
