#include "platform/BusQuestions.h"

#include "platform/Logging.h"

#include <QDBusError>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

#include <utility>

namespace pipfield {

bool noAnswer(const QDBusError& error) {
    return error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout ||
           error.type() == QDBusError::TimedOut;
}

QDBusMessage methodCall(const BusObject& object, const char* method) {
    return QDBusMessage::createMethodCall(QString::fromLatin1(object.service), QString::fromLatin1(object.path),
                                          QString::fromLatin1(object.interface), QString::fromLatin1(method));
}

QDBusMessage propertyQuestion(const BusObject& object, const char* property) {
    QDBusMessage get =
        QDBusMessage::createMethodCall(QString::fromLatin1(object.service), QString::fromLatin1(object.path),
                                       QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QString::fromLatin1(object.interface) << QString::fromLatin1(property);
    return get;
}

void ask(const QDBusConnection& bus, const QDBusMessage& question, QObject* context, bool* told,
         std::function<void(const std::optional<QVariant>&)> apply) {
    if (!bus.isConnected()) {
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(question), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [question, told, apply = std::move(apply)](QDBusPendingCallWatcher* call) {
                         call->deleteLater();
                         const QDBusMessage reply = call->reply();
                         if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
                             QVariant value = reply.arguments().constFirst();
                             if (value.canConvert<QDBusVariant>()) {
                                 value = value.value<QDBusVariant>().variant();
                             }
                             apply(value);
                             return;
                         }
                         const QDBusError error = call->error();
                         if (noAnswer(error) && !*told) {
                             *told = true;
                             qCWarning(lcDesktop).noquote() << "no answer from" << question.service() << "to"
                                                            << question.member() << ":" << error.message();
                         } else {
                             qCDebug(lcDesktop).noquote()
                                 << question.service() << question.member() << "failed:" << error.name();
                         }
                         apply(std::nullopt);
                     });
}

} // namespace pipfield
