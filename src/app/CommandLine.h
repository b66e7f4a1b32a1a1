#pragma once

#include <QVariantMap>

#include <iosfwd>
#include <optional>
#include <string>

namespace pipfield {

/// Exit code of a command line the program does not understand.
inline constexpr int kBadArgumentsExit = 2;

/// What the command line asks of this run, read once before anything else.
struct CommandLine {
    /// Set when the line is answered without the game: --help and --version print and give 0, an
    /// unknown option or a missing value prints one line to `err` and gives 2.
    std::optional<int> exitCode;
    /// The copy of the program that waits to deliver a notification; its options are its own.
    bool deliversNotification = false;
    /// --snapshot DIR.
    std::optional<std::string> snapshotFolder;
    /// The read-only settings given as -KEY VALUE, by key, for this run only.
    QVariantMap overrides;
};

/// Reads the program's own options, the read-only settings as `-KEY VALUE` and the options Qt
/// itself takes (which it leaves to Qt). Answering touches no save file, settings or display.
CommandLine readCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace pipfield
