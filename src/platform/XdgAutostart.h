#pragma once

#include "platform/LoginItem.h"

#include <QString>

namespace pipfield {

/// Start at login through an XDG autostart entry: on while the entry exists and is not hidden.
class XdgAutostart final : public LoginItem {
public:
    /// The entry at `file`, starting `program`. `folderFailure` is the player's sentence, in their
    /// language, for an autostart folder that cannot be made, with "%1" where the folder's path goes.
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
