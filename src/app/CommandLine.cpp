#include "app/CommandLine.h"

#include "game/Defaults.h"
#include "game/Texts.h"
#include "model/Catalog.h"
#include "platform/NotificationHelper.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <string>
#include <string_view>

namespace pipfield {
namespace {

const char* const kHelp = "Usage: pipfield [OPTION]...\n"
                          "An idle citrus orchard in pixel art that lives along the bottom of the screen.\n"
                          "Started without options, the game runs in the tray and the strip; a second start\n"
                          "shows the running game's management window.\n"
                          "\n"
                          "  -h, --help            show this help and exit\n"
                          "      --version         show the version and exit\n"
                          "      --snapshot DIR    draw the strip, every tab of the management window and the\n"
                          "                        weekly card into DIR as PNG files without showing anything,\n"
                          "                        then exit; the save file and the settings are left alone\n"
                          "\n"
                          "Settings for this run only (read, never stored):\n"
                          "  -demo late            the late-game demo orchard; the save file is neither read\n"
                          "                        nor written\n"
                          "  -season SEASON        spring, summer, autumn or winter instead of the calendar's\n"
                          "  -hour HOUR            the strip's daylight at this decimal hour (0 to 24)\n"
                          "  -showManage true      open the management window at start\n"
                          "  -appearance MODE      light or dark instead of the desktop's colours\n"
                          "\n"
                          "Qt's own options (-platform NAME, -display DISPLAY, -style NAME, ...) are accepted.\n"
                          "\n"
                          "Files: $XDG_DATA_HOME/Pipfield/orchard.json (the game),\n"
                          "       $XDG_CONFIG_HOME/Pipfield/Pipfield.conf (the settings).\n"
                          "pipfield-cli reads the save file from a terminal.\n";

// Options Qt's application classes take out of the command line themselves.
constexpr std::array<std::string_view, 15> kQtOptionsWithValue = {
    "platform",  "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry", "geometry", "qwindowicon",
    "icon",      "qwindowtitle",       "title",         "session", "display",         "name",     "style",
    "stylesheet"};
constexpr std::array<std::string_view, 6> kQtFlags = {"reverse",     "nograb",      "dograb",
                                                      "widgetcount", "testability", "sync"};

struct Choices {
    const QString& key;
    QStringList allowed;
};

// The settings whose other values would be silently ignored: a typo is better reported.
const std::array<Choices, 3>& choices() {
    static const std::array<Choices, 3> all = [] {
        QStringList seasons;
        for (Season season : allSeasons) {
            seasons.append(fromStd(rawValue(season)));
        }
        return std::array<Choices, 3>{{
            {SettingsKey::demo, {SettingsValue::lateDemo}},
            {SettingsKey::season, seasons},
            {SettingsKey::appearance, {SettingsValue::light, SettingsValue::dark}},
        }};
    }();
    return all;
}

template <std::size_t N>
bool among(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool isReadOnlyKey(std::string_view name) {
    return Defaults::readOnlyKeys().contains(fromStd(name));
}

CommandLine bad(std::ostream& err, const std::string& message) {
    err << "pipfield: " << message << " (see pipfield --help)\n";
    return {kBadArgumentsExit, false, std::nullopt, {}};
}

CommandLine answered(int code) {
    return {code, false, std::nullopt, {}};
}

} // namespace

CommandLine readCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (argc > 1 && std::string_view(argv[1]) == kDeliverNotificationArgument) {
        line.deliversNotification = true;
        return line;
    }
    const std::string_view version = PIPFIELD_VERSION;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            out << kHelp;
            return answered(0);
        }
        if (arg == "--version") {
            out << "pipfield " << version << "\n";
            return answered(0);
        }
    }

    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--snapshot") {
            if (!hasValue) {
                return bad(err, "--snapshot needs a folder");
            }
            line.snapshotFolder = argv[++i];
            continue;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            return bad(err, "unexpected argument '" + std::string(arg) + "'");
        }
        // Qt reads its options with one dash or two, and some as -NAME=VALUE.
        std::string_view name = arg.substr(arg.starts_with("--") ? 2 : 1);
        const std::size_t equals = name.find('=');
        if (equals != std::string_view::npos) {
            if (among(kQtOptionsWithValue, name.substr(0, equals)) || name.starts_with("qmljsdebugger=")) {
                continue;
            }
            return bad(err, "unknown option '" + std::string(arg) + "'");
        }
        if (among(kQtFlags, name)) {
            continue;
        }
        const bool qtOption = among(kQtOptionsWithValue, name);
        const bool setting = !arg.starts_with("--") && isReadOnlyKey(name);
        if (!qtOption && !setting) {
            return bad(err, "unknown option '" + std::string(arg) + "'");
        }
        if (!hasValue) {
            return bad(err, std::string(arg) + " needs a value");
        }
        const std::string_view value = argv[++i];
        for (const Choices& c : choices()) {
            if (setting && c.key == fromStd(name) && !c.allowed.contains(fromStd(value))) {
                // Built by appending: GCC 12 warns falsely (-Wrestrict) on "'" + std::string(...) here.
                std::string message = "'";
                message.append(value).append("' is not a value of ").append(arg);
                return bad(err, message);
            }
        }
        if (setting) {
            // Decoded as Qt decodes the arguments it hands on; a later value of a key wins.
            line.overrides.insert(fromStd(name),
                                  QString::fromLocal8Bit(value.data(), static_cast<qsizetype>(value.size())));
        }
    }
    return line;
}

} // namespace pipfield
