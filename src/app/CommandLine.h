#pragma once

#include <iosfwd>
#include <optional>

namespace pipfield {

/// Exit code of a command line the program does not understand.
inline constexpr int kBadArgumentsExit = 2;

/// Answers the command lines that need no game: --help and --version print and give 0, an unknown
/// option or a missing value prints one line to `err` and gives 2. Nothing is answered (the game
/// should start) for the program's own options, the read-only settings as `-KEY VALUE` and the
/// options Qt itself takes. Runs before anything else, so that answering touches no save file,
/// settings or display.
std::optional<int> answerCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace pipfield
