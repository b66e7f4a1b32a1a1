#include "platform/XdgAutostart.h"

#include "game/FileReplacement.h"
#include "model/Text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace pipfield {
namespace {

/// One argument of an Exec line: quoted, with the quoting escapes and then the string escapes of
/// desktop entries applied (a literal backslash becomes four), and "%" doubled so it is no field code.
QString execArgument(const QString& arg) {
    QString out = QStringLiteral("\"");
    for (const QChar c : arg) {
        if (c == QLatin1Char('\\')) {
            out += QStringLiteral("\\\\\\\\");
        } else if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')) {
            out += QStringLiteral("\\\\") + c;
        } else if (c == QLatin1Char('%')) {
            out += QStringLiteral("%%");
        } else {
            out += c;
        }
    }
    return out + QLatin1Char('"');
}

} // namespace

XdgAutostart::XdgAutostart(QString folderFailure, QString file, QString program)
    : m_folderFailure(std::move(folderFailure)), m_file(std::move(file)), m_program(std::move(program)) {}

QString XdgAutostart::standardFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/pipfield.desktop");
}

QByteArray XdgAutostart::entry(const QString& program) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Pipfield\n"
                          "Exec=%1\n"
                          "Icon=pipfield\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(execArgument(program))
        .toUtf8();
}

bool XdgAutostart::enabled() const {
    QFile file(m_file);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
        } else if (inMainGroup && line.startsWith("Hidden")) {
            const qsizetype eq = line.indexOf('=');
            if (eq > 0 && line.left(eq).trimmed() == "Hidden" && line.mid(eq + 1).trimmed() == "true") {
                return false;
            }
        }
    }
    return true;
}

std::optional<QString> XdgAutostart::setEnabled(bool on) {
    if (!on) {
        QFile file(m_file);
        if (file.exists() && !file.remove()) {
            return file.errorString();
        }
        return std::nullopt;
    }
    const QString folder = QFileInfo(m_file).absolutePath();
    if (!QDir().mkpath(folder)) {
        const std::string path = folder.toStdString();
        const std::string_view places[] = {path};
        return QString::fromStdString(fillPlaces(m_folderFailure.toStdString(), places));
    }
    const QString program = m_program.isEmpty() ? QCoreApplication::applicationFilePath() : m_program;
    return FileReplacement::replace(m_file, entry(program));
}

} // namespace pipfield
