#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace pipfield::test {

/// Every message logged while it lives, as "category: text", instead of printing it.
class MessageLog {
public:
    MessageLog() {
        s_current = this;
        m_previous = qInstallMessageHandler(&MessageLog::handle);
    }
    ~MessageLog() {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    QStringList lines;
    /// The warnings and worse, in the same form.
    QStringList warnings;

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        const QString line = QString::fromUtf8(context.category ? context.category : "default") + ": " + message;
        s_current->lines << line;
        if (type != QtDebugMsg && type != QtInfoMsg) {
            s_current->warnings << line;
        }
    }

    static inline MessageLog* s_current = nullptr;
    QtMessageHandler m_previous = nullptr;
};

} // namespace pipfield::test
