#include "platform/NotificationHelper.h"

#include <QDBusConnection>
#include <QVariantMap>

#include <chrono>
#include <csignal>
#include <thread>
#include <unistd.h>

namespace pipfield {

QDBusMessage notifyMessage(const QString& title, const QString& body) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // The desktop's own sound for a new message, by its name in the freedesktop sound theme; a server
    // that plays no sounds ignores the hint.
    const QVariantMap hints{
        {QStringLiteral("desktop-entry"), QStringLiteral("pipfield")},
        {QStringLiteral("urgency"), QVariant::fromValue<uchar>(1)},
        {QStringLiteral("sound-name"), QStringLiteral("message-new-instant")},
    };
    message << QStringLiteral("Pipfield") << 0u << QStringLiteral("pipfield") << title << body << QStringList() << hints
            << -1;
    return message;
}

QStringList helperArguments(const QString& title, const QString& body, std::optional<qint64> atUnixSeconds) {
    QStringList arguments{QString::fromLatin1(kDeliverNotificationArgument), QStringLiteral("--title"), title,
                          QStringLiteral("--body"), body};
    if (atUnixSeconds) {
        arguments << QStringLiteral("--at") << QString::number(*atUnixSeconds);
    }
    return arguments;
}

std::optional<int> runNotificationHelper(const QStringList& arguments) {
    if (arguments.size() < 2 || arguments[1] != QLatin1String(kDeliverNotificationArgument)) {
        return std::nullopt;
    }
    QString title;
    QString body;
    std::optional<qint64> at;
    for (qsizetype i = 2; i + 1 < arguments.size(); i += 2) {
        const QString& name = arguments[i];
        if (name == QLatin1String("--title")) {
            title = arguments[i + 1];
        } else if (name == QLatin1String("--body")) {
            body = arguments[i + 1];
        } else if (name == QLatin1String("--at")) {
            bool ok = false;
            at = arguments[i + 1].toLongLong(&ok);
            if (!ok) {
                return 2;
            }
        }
    }
    // Outlive the terminal or session leader that started the game.
    ::setsid();
    std::signal(SIGHUP, SIG_IGN);

    if (at) {
        using namespace std::chrono;
        const auto due = system_clock::time_point(seconds(*at));
        // Sleeping is measured on a clock that stops while the computer is suspended, so wake at
        // least once a minute and compare with the wall clock.
        for (auto now = system_clock::now(); now < due; now = system_clock::now()) {
            std::this_thread::sleep_for(std::min<system_clock::duration>(due - now, minutes(1)));
        }
    }
    const QDBusMessage reply = QDBusConnection::sessionBus().call(notifyMessage(title, body), QDBus::Block, 25000);
    return reply.type() == QDBusMessage::ReplyMessage ? 0 : 1;
}

} // namespace pipfield
