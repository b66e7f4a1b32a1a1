#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

namespace pipfield {

/// Makes sure one game runs per user: the first process holds a lock in the runtime folder and
/// listens there; a later one asks it to show its window and leaves.
class SingleInstance final : public QObject {
    Q_OBJECT

public:
    /// `folder` is where the lock and the socket live, normally $XDG_RUNTIME_DIR.
    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    /// True when this process is now the one instance. Otherwise the running one has been asked to
    /// reopen (when it could be reached) and this process should exit.
    bool claim();
    /// True when no lock could be created at all, so that this process runs without the guard.
    bool unguarded() const { return m_unguarded; }

    /// $XDG_RUNTIME_DIR, or a private folder under the temporary folder when it is not set.
    static QString standardFolder();

Q_SIGNALS:
    /// Another launch asked the running game to show itself.
    void reopenRequested();

private:
    void accept();

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
    bool m_unguarded = false;
};

} // namespace pipfield
