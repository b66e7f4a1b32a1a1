#include "cli/CliCommands.h"

#include "model/Balance.h"
#include "model/Orchard.h"
#include "model/SaveFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>

namespace pipfield::cli {
namespace {

// Longer spans are refused: beyond this the 5-second slicing would take minutes to run.
constexpr double kMaxSimulatedSeconds = 1e9;

const char* const kHelp = "Usage: pipfield-cli COMMAND [OPTION]... [FILE]\n"
                          "Reads a Pipfield save file and never writes it. FILE defaults to the player's own,\n"
                          "$XDG_DATA_HOME/Pipfield/orchard.json.\n"
                          "\n"
                          "Commands:\n"
                          "  status                           a short summary in Korean\n"
                          "  simulate --seconds T --season S  the save after T more seconds, as one line of JSON\n"
                          "  forecast --season S              seconds until the crate is full, or \"none\"\n"
                          "  value --season S                 coins the crate would fetch now\n"
                          "  buy PURCHASE                     \"true\" or \"false\", then the resulting save\n"
                          "  harvest INDEX                    fruit picked from tree INDEX, then the resulting save\n"
                          "  decode                           \"ok\", or \"unreadable: REASON\" with exit 1\n"
                          "\n"
                          "S is spring, summer, autumn or winter. PURCHASE is tree:KIND, unlock:KIND,\n"
                          "replant:INDEX:KIND, worker:ROLE, second:ROLE or crate.\n"
                          "\n"
                          "  -h, --help     show this help and exit\n"
                          "      --version  show the version and exit\n"
                          "\n"
                          "Exit status: 0 done, 1 unreadable file, 2 bad arguments.\n";

struct BadArguments {
    std::string message;
};

[[noreturn]] void bad(std::string message) {
    throw BadArguments{std::move(message)};
}

struct Arguments {
    std::string command;
    std::vector<std::string> positional;
    std::optional<std::string> seconds;
    std::optional<std::string> season;
};

Arguments parse(const std::vector<std::string>& args) {
    if (args.empty()) {
        bad("missing command");
    }
    Arguments a;
    a.command = args[0];
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--seconds" || arg == "--season") {
            if (i + 1 >= args.size()) {
                bad(arg + " needs a value");
            }
            (arg == "--seconds" ? a.seconds : a.season) = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-' && !std::isdigit(static_cast<unsigned char>(arg[1]))) {
            bad("unknown option " + arg);
        } else {
            a.positional.push_back(arg);
        }
    }
    return a;
}

std::optional<std::int64_t> parseInteger(const std::string& text) {
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

Season requireSeason(const Arguments& a) {
    if (!a.season) {
        bad("--season is required");
    }
    const std::optional<Season> season = seasonFromRaw(*a.season);
    if (!season) {
        bad("unknown season " + *a.season + " (spring, summer, autumn or winter)");
    }
    return *season;
}

double requireSeconds(const Arguments& a) {
    if (!a.seconds) {
        bad("--seconds is required");
    }
    const std::string& text = *a.seconds;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || errno != 0 || !std::isfinite(value) || value < 0 ||
        value > kMaxSimulatedSeconds) {
        bad("--seconds must be a number of seconds from 0 to 1000000000");
    }
    return value;
}

TreeKind requireKind(const std::string& raw) {
    const std::optional<TreeKind> kind = treeKindFromRaw(raw);
    if (!kind) {
        bad("unknown tree kind " + raw);
    }
    return *kind;
}

WorkerRole requireRole(const std::string& raw) {
    const std::optional<WorkerRole> role = workerRoleFromRaw(raw);
    if (!role) {
        bad("unknown worker role " + raw);
    }
    return *role;
}

Purchase parsePurchase(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, ':');) {
        parts.push_back(part);
    }
    if (!text.empty() && text.back() == ':') {
        parts.emplace_back();
    }
    const std::string what = parts.empty() ? std::string() : parts[0];
    if (what == "crate" && parts.size() == 1) {
        return Purchase::crate();
    }
    if (what == "tree" && parts.size() == 2) {
        return Purchase::tree(requireKind(parts[1]));
    }
    if (what == "unlock" && parts.size() == 2) {
        return Purchase::unlock(requireKind(parts[1]));
    }
    if (what == "worker" && parts.size() == 2) {
        return Purchase::worker(requireRole(parts[1]));
    }
    if (what == "second" && parts.size() == 2) {
        return Purchase::secondWorker(requireRole(parts[1]));
    }
    if (what == "replant" && parts.size() == 3) {
        const std::optional<std::int64_t> index = parseInteger(parts[1]);
        if (!index) {
            bad("replant needs a plot index: replant:INDEX:KIND");
        }
        return Purchase::replant(*index, requireKind(parts[2]));
    }
    bad("unknown purchase " + text + " (tree:KIND, unlock:KIND, replant:INDEX:KIND, worker:ROLE, second:ROLE, crate)");
}

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return text;
}

SaveDecoding load(const std::string& path) {
    const std::optional<std::string> text = readFile(path);
    if (!text) {
        return {std::nullopt, "cannot read " + path};
    }
    return decodeSave(*text);
}

Season currentSeason() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return seasonForMonth(local.tm_mon + 1);
}

const char* seasonName(Season season) {
    switch (season) {
    case Season::spring:
        return "봄";
    case Season::summer:
        return "여름";
    case Season::autumn:
        return "가을";
    case Season::winter:
        return "겨울";
    }
    return "";
}

std::string duration(std::optional<double> seconds) {
    if (!seconds) {
        return "48시간 안에는 차지 않아요";
    }
    if (*seconds <= 0) {
        return "이미 가득 찼어요";
    }
    const auto minutes = static_cast<long long>(*seconds / 60);
    std::string text;
    if (minutes >= 60) {
        text = std::to_string(minutes / 60) + "시간 ";
    }
    return text + std::to_string(minutes % 60) + "분";
}

void printStatus(const Save& save, Season season, std::ostream& out) {
    const Orchard& o = save.orchard;
    out << "코인 " << o.coins << "\n";
    out << "창고 " << o.crateCount() << "/" << o.crateCapacity() << " (레벨 " << o.crateLevel << "), "
        << seasonName(season) << " 판매가 " << o.crateValue(season) << "\n";
    out << "나무 " << o.trees.size() << "그루\n";
    for (std::size_t i = 0; i < o.trees.size(); ++i) {
        const Tree& t = o.trees[i];
        const Balance::TreeSpec& spec = Balance::spec(t.kind);
        out << "  " << i << ". " << name(t.kind) << " - ";
        if (t.age < spec.grow) {
            out << "자라는 중 " << t.growthPercent() << "%";
        } else {
            out << "열매 " << t.fruit << "/" << spec.capacity;
        }
        out << "\n";
    }
    out << "일꾼\n";
    bool anyone = false;
    for (WorkerRole role : allWorkerRoles) {
        if (o.staff(role) == 0) {
            continue;
        }
        anyone = true;
        out << "  " << name(role) << " 레벨 " << o.level(role) << (o.staff(role) == 2 ? " (2명)" : "") << " - "
            << effect(role, o.level(role)) << "\n";
    }
    if (!anyone) {
        out << "  없음\n";
    }
    if (o.staff(WorkerRole::harvester) > 0) {
        out << "창고가 가득 차기까지 " << duration(o.timeUntilCrateFull(season)) << "\n";
    }
}

int emitSave(const Save& save, std::ostream& out, std::ostream& err) {
    const std::optional<std::string> json = encodeSave(save);
    if (!json) {
        err << "pipfield-cli: the result holds a value that cannot be written\n";
        return unreadable;
    }
    out << *json << "\n";
    return ok;
}

// What a command line asks for, checked before the file is touched so that a typo is always exit 2.
struct Request {
    std::string path;
    bool namedFile = false;
    std::optional<Season> season;
    double seconds = 0;
    std::optional<Purchase> purchase;
    std::int64_t index = 0;
};

int unreadableFile(const Request& r, const SaveDecoding& decoded, std::ostream& err) {
    err << "pipfield-cli: " << r.path << ": unreadable: " << decoded.error << "\n";
    return unreadable;
}

int decodeCommand(const Request&, SaveDecoding& decoded, std::ostream& out, std::ostream&) {
    if (!decoded.save) {
        out << "unreadable: " << decoded.error << "\n";
        return unreadable;
    }
    out << "ok\n";
    return ok;
}

int statusCommand(const Request& r, SaveDecoding& decoded, std::ostream& out, std::ostream& err) {
    if (!decoded.save) {
        if (!r.namedFile && !readFile(r.path)) {
            // The player has not started yet: show the game they would begin with.
            out << "저장된 과수원이 없어요. 새 게임:\n";
            printStatus(Save{Orchard::starter(), 0, {}}, currentSeason(), out);
            return ok;
        }
        return unreadableFile(r, decoded, err);
    }
    printStatus(*decoded.save, currentSeason(), out);
    return ok;
}

int simulate(const Request& r, Save& save, std::ostream& out, std::ostream& err) {
    save.orchard.advance(r.seconds, *r.season);
    save.lastUpdated += r.seconds;
    return emitSave(save, out, err);
}

int forecast(const Request& r, Save& save, std::ostream& out, std::ostream&) {
    const std::optional<double> t = save.orchard.timeUntilCrateFull(*r.season);
    if (t) {
        out << static_cast<long long>(*t) << "\n";
    } else {
        out << "none\n";
    }
    return ok;
}

int value(const Request& r, Save& save, std::ostream& out, std::ostream&) {
    out << save.orchard.crateValue(*r.season) << "\n";
    return ok;
}

int buy(const Request& r, Save& save, std::ostream& out, std::ostream& err) {
    out << (save.orchard.buy(*r.purchase) ? "true" : "false") << "\n";
    return emitSave(save, out, err);
}

int harvest(const Request& r, Save& save, std::ostream& out, std::ostream& err) {
    out << save.orchard.harvest(r.index) << "\n";
    return emitSave(save, out, err);
}

using SaveCommand = int (*)(const Request&, Save&, std::ostream&, std::ostream&);

template <SaveCommand command>
int onReadableSave(const Request& r, SaveDecoding& decoded, std::ostream& out, std::ostream& err) {
    return decoded.save ? command(r, *decoded.save, out, err) : unreadableFile(r, decoded, err);
}

enum class Operand { none, purchase, index };

struct Command {
    std::string_view name;
    Operand operand;
    bool takesSeconds;
    bool takesSeason;
    int (*run)(const Request&, SaveDecoding&, std::ostream&, std::ostream&);
};

constexpr std::array<Command, 7> kCommands = {{
    {"status", Operand::none, false, false, statusCommand},
    {"simulate", Operand::none, true, true, onReadableSave<simulate>},
    {"forecast", Operand::none, false, true, onReadableSave<forecast>},
    {"value", Operand::none, false, true, onReadableSave<value>},
    {"buy", Operand::purchase, false, false, onReadableSave<buy>},
    {"harvest", Operand::index, false, false, onReadableSave<harvest>},
    {"decode", Operand::none, false, false, decodeCommand},
}};

// "simulate", or "simulate, forecast and value": the commands that take an option, for its error.
std::string commandsTaking(bool Command::*option) {
    std::vector<std::string_view> names;
    for (const Command& c : kCommands) {
        if (c.*option) {
            names.push_back(c.name);
        }
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + std::string(names[i]);
    }
    return text;
}

Request validate(const Command& command, const Arguments& a, const std::string& playerSave) {
    const std::size_t expected = command.operand == Operand::none ? 0 : 1;
    if (a.positional.size() < expected) {
        bad(a.command + " needs " + (command.operand == Operand::purchase ? "a PURCHASE" : "an INDEX"));
    }
    if (a.positional.size() > expected + 1) {
        bad("too many arguments");
    }
    if (a.seconds && !command.takesSeconds) {
        bad("--seconds belongs to " + commandsTaking(&Command::takesSeconds));
    }
    if (a.season && !command.takesSeason) {
        bad("--season belongs to " + commandsTaking(&Command::takesSeason));
    }
    Request r;
    r.namedFile = a.positional.size() == expected + 1;
    r.path = r.namedFile ? a.positional.back() : playerSave;
    if (command.takesSeconds) {
        r.seconds = requireSeconds(a);
    }
    if (command.takesSeason) {
        r.season = requireSeason(a);
    }
    if (command.operand == Operand::purchase) {
        r.purchase = parsePurchase(a.positional[0]);
    }
    if (command.operand == Operand::index) {
        const std::optional<std::int64_t> index = parseInteger(a.positional[0]);
        if (!index) {
            bad("harvest needs a whole plot index");
        }
        r.index = *index;
    }
    return r;
}

int runCommand(const Arguments& a, const std::string& playerSave, std::ostream& out, std::ostream& err) {
    const auto command =
        std::find_if(kCommands.begin(), kCommands.end(), [&a](const Command& c) { return c.name == a.command; });
    if (command == kCommands.end()) {
        bad("unknown command " + a.command);
    }
    const Request request = validate(*command, a, playerSave);
    SaveDecoding decoded = load(request.path);
    return command->run(request, decoded, out, err);
}

} // namespace

std::string defaultSavePath() {
    // Relative values are invalid by the XDG rules and are ignored.
    const char* data = std::getenv("XDG_DATA_HOME");
    std::string base;
    if (data != nullptr && data[0] == '/') {
        base = data;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home != nullptr ? home : "") + "/.local/share";
    }
    return base + "/Pipfield/orchard.json";
}

int run(const std::vector<std::string>& args, const std::string& playerSave, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kHelp;
        return ok;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << "pipfield-cli " << PIPFIELD_VERSION << "\n";
        return ok;
    }
    try {
        return runCommand(parse(args), playerSave, out, err);
    } catch (const BadArguments& e) {
        err << "pipfield-cli: " << e.message << "\n";
        return badArguments;
    }
}

} // namespace pipfield::cli
