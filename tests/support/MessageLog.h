#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <string>

namespace pipfield::test {

/// The messages logged while it lives, taken instead of printed. Given a category, it takes that
/// category's messages as they are and passes every other on to the handler before it; given none,
/// it takes all of them, each as "category: text".
class MessageLog {
public:
    explicit MessageLog(const char* category = nullptr) : m_category(category ? category : "") {
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
    /// The warnings and worse among them.
    QStringList warnings;

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        // Installed only while a log lives, so there is always one.
        MessageLog* self = s_current;
        const char* category = context.category ? context.category : "default";
        if (!self->m_category.empty() && self->m_category != category) {
            return self->m_previous(type, context, message);
        }
        const QString line =
            self->m_category.empty() ? QString::fromUtf8(category) + QStringLiteral(": ") + message : message;
        self->lines << line;
        if (type != QtDebugMsg && type != QtInfoMsg) {
            self->warnings << line;
        }
    }

    static inline MessageLog* s_current = nullptr;
    std::string m_category;
    QtMessageHandler m_previous = nullptr;
};

} // namespace pipfield::test
