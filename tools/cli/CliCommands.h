#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace pipfield::cli {

/// Exit codes that scripts rely on.
enum Exit : int { ok = 0, unreadable = 1, badArguments = 2 };

/// Runs one command line (without the program name), writing to out and err; returns the exit code.
/// `playerSave` is the file used when the command names none.
int run(const std::vector<std::string>& args, const std::string& playerSave, std::ostream& out, std::ostream& err);

/// The player's own save file: $XDG_DATA_HOME/Pipfield/orchard.json, or under ~/.local/share.
std::string defaultSavePath();

} // namespace pipfield::cli
