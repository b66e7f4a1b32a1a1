#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

class QDBusError;
class QObject;

namespace pipfield {

/// Where a desktop service lives on a bus.
struct BusObject {
    const char* service;
    const char* path;
    const char* interface;
};

/// True when `error` means the service is there but did not answer in time, as opposed to a service,
/// object or property this desktop does not have.
bool noAnswer(const QDBusError& error);

/// A call of `method` on `object`.
QDBusMessage methodCall(const BusObject& object, const char* method);
/// The question for one property of `object`.
QDBusMessage propertyQuestion(const BusObject& object, const char* property);

/// Sends `question` without waiting and hands `apply` the answer's first value (a property's value
/// unwrapped) when it comes, or nothing when it cannot be had. A question left unanswered is logged
/// once per `told` flag; a service this desktop does not have is no failure and is logged only for
/// debugging. `context` owns the pending call: the answer is dropped when it is gone.
void ask(const QDBusConnection& bus, const QDBusMessage& question, QObject* context, bool* told,
         std::function<void(const std::optional<QVariant>&)> apply);

} // namespace pipfield
