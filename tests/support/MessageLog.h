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
    /// Logs may nest: the newest takes its category first and hands the rest to the one before.
    explicit MessageLog(const char* category = nullptr) : m_category(category ? category : ""), m_outer(s_current) {
        s_current = this;
        m_previous = qInstallMessageHandler(&MessageLog::handle);
    }
    ~MessageLog() {
        qInstallMessageHandler(m_previous);
        s_current = m_outer;
    }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    QStringList lines;
    /// The warnings and worse among them.
    QStringList warnings;

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        // Installed only while a log lives, so there is always one.
        s_current->take(type, context, message);
    }
    void take(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        const char* category = context.category ? context.category : "default";
        if (!m_category.empty() && m_category != category) {
            return m_outer ? m_outer->take(type, context, message) : m_previous(type, context, message);
        }
        const QString line =
            m_category.empty() ? QString::fromUtf8(category) + QStringLiteral(": ") + message : message;
        lines << line;
        if (type != QtDebugMsg && type != QtInfoMsg) {
            warnings << line;
        }
    }

    static inline MessageLog* s_current = nullptr;
    std::string m_category;
    MessageLog* m_outer;
    QtMessageHandler m_previous = nullptr;
};

} // namespace pipfield::test
