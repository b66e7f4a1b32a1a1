#pragma once

#include "platform/LoginItem.h"

#include <QString>

namespace pipfield {

/// Start at login through an XDG autostart entry: on while the entry exists and is not hidden.
class XdgAutostart final : public LoginItem {
public:
    /// The entry at `file`, starting `program`. `folderFailure` is the player's text, in their language,
    /// that leads the folder's path when the autostart folder cannot be made.
    explicit XdgAutostart(QString folderFailure, QString file = standardFile(), QString program = {});

    /// $XDG_CONFIG_HOME/autostart/pipfield.desktop.
    static QString standardFile();
    /// The entry's text for a program path, quoted as desktop entries require.
    static QByteArray entry(const QString& program);

    bool enabled() const override;
    std::optional<QString> setEnabled(bool on) override;

private:
    QString m_folderFailure;
    QString m_file;
    QString m_program;
};

} // namespace pipfield
