#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <string>

namespace pipfield::test {

/// Collects the warnings of one logging category while it lives, instead of printing them; every
/// other message goes on to the handler before it.
class WarningCapture {
public:
    explicit WarningCapture(const char* category) : m_category(category) {
        s_current = this;
        m_previous = qInstallMessageHandler(&WarningCapture::handle);
    }
    ~WarningCapture() {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    WarningCapture(const WarningCapture&) = delete;
    WarningCapture& operator=(const WarningCapture&) = delete;

    QStringList warnings;

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        WarningCapture* self = s_current;
        if (self && type == QtWarningMsg && context.category && self->m_category == context.category) {
            self->warnings << message;
        } else if (self && self->m_previous) {
            self->m_previous(type, context, message);
        }
    }

    static inline WarningCapture* s_current = nullptr;
    std::string m_category;
    QtMessageHandler m_previous = nullptr;
};

} // namespace pipfield::test
