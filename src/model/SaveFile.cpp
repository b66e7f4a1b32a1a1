#include "model/SaveFile.h"

#include "model/Saturating.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <utility>

namespace pipfield {
namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

struct Unreadable {
    std::string reason;
};

[[noreturn]] void fail(std::string reason) {
    throw Unreadable{std::move(reason)};
}

// A game keeps one look per worker slot (six) and the records of the last nine weeks, and more only
// when its clock has visited as many weeks ahead. Many more than that is no game this program wrote,
// and every save and every copy of the orchard would carry them.
constexpr std::size_t kMostRecords = 100;
// Parse events (values, keys, starts and ends of objects and arrays) of the largest such document,
// about 2500, with room to spare.
constexpr std::size_t kMostValues = 10000;

void refuseMoreThan(std::size_t most, std::size_t count, const char* what) {
    if (count > most) {
        fail(std::to_string(count) + " " + what + ", more than the " + std::to_string(most) + " a game keeps");
    }
}

const Json& member(const Json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end()) {
        fail(std::string("missing key \"") + key + "\"");
    }
    return *it;
}

const Json& objectAt(const Json& value, const char* what) {
    if (!value.is_object()) {
        fail(std::string(what) + " is not an object");
    }
    return value;
}

const Json& arrayAt(const Json& value, const char* what) {
    if (!value.is_array()) {
        fail(std::string(what) + " is not an array");
    }
    return value;
}

std::int64_t integerAt(const Json& value, const char* what) {
    if (value.is_number_integer() && !value.is_number_unsigned()) {
        return value.get<std::int64_t>();
    }
    if (value.is_number_unsigned()) {
        const std::uint64_t u = value.get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(kInt64Max)) {
            fail(std::string(what) + " is out of the 64-bit range");
        }
        return static_cast<std::int64_t>(u);
    }
    if (value.is_number_float()) {
        // A writer may spell a whole number as 3.0 or 3e0; a fraction is not an integer. Below 2^53 a
        // double holds every integer exactly, so a whole one there is the integer the text named; from
        // 2^53 on, the text may have been rounded to it (9007199254740993.0 reads as ...992), and an
        // integer too large for 64 bits arrives here too, at either end of the range.
        constexpr double exactBelow = 9007199254740992.0; // 2^53
        const double x = value.get<double>();
        if (x == std::trunc(x) && std::fabs(x) < exactBelow) {
            return static_cast<std::int64_t>(x);
        }
        fail(std::string(what) + (x == std::trunc(x) ? " is too large to be read exactly" : " is not an integer"));
    }
    fail(std::string(what) + " is not a number");
}

double realAt(const Json& value, const char* what) {
    if (!value.is_number()) {
        fail(std::string(what) + " is not a number");
    }
    const double x = value.get<double>();
    // A number beyond the double range parses as infinity, which could never be written back.
    if (!std::isfinite(x)) {
        fail(std::string(what) + " is out of range");
    }
    return x;
}

const std::string& textAt(const Json& value, const char* what) {
    if (!value.is_string()) {
        fail(std::string(what) + " is not a string");
    }
    return value.get_ref<const std::string&>();
}

TreeKind kindNamed(const std::string& raw) {
    const std::optional<TreeKind> kind = treeKindFromRaw(raw);
    if (!kind) {
        fail("unknown tree kind \"" + raw + "\"");
    }
    return *kind;
}

WorkerRole roleNamed(const std::string& raw) {
    const std::optional<WorkerRole> role = workerRoleFromRaw(raw);
    if (!role) {
        fail("unknown worker role \"" + raw + "\"");
    }
    return *role;
}

Totals decodeTotals(const Json& value) {
    objectAt(value, "totals");
    return Totals{integerAt(member(value, "harvested"), "harvested"), integerAt(member(value, "sold"), "sold"),
                  integerAt(member(value, "earned"), "earned"), integerAt(member(value, "planted"), "planted")};
}

Tree decodeTree(const Json& value) {
    objectAt(value, "tree");
    return Tree{kindNamed(textAt(member(value, "kind"), "kind")), realAt(member(value, "age"), "age"),
                realAt(member(value, "progress"), "progress"), integerAt(member(value, "fruit"), "fruit")};
}

WorkerLook decodeLook(const Json& value) {
    objectAt(value, "look");
    return WorkerLook{integerAt(member(value, "variant"), "variant"), integerAt(member(value, "dye"), "dye"),
                      textAt(member(value, "name"), "name")};
}

template <typename Enum, typename Named>
EnumMap<Enum, std::int64_t> decodeCounts(const Json& value, const char* what, Named named) {
    objectAt(value, what);
    EnumMap<Enum, std::int64_t> map;
    for (const auto& [key, count] : value.items()) {
        map.set(named(key), integerAt(count, what));
    }
    return map;
}

template <typename Enum, typename Named>
EnumSet<Enum> decodeSet(const Json& value, const char* what, Named named) {
    arrayAt(value, what);
    EnumSet<Enum> set;
    for (const Json& element : value) {
        set.insert(named(textAt(element, what)));
    }
    return set;
}

Orchard decodeOrchard(const Json& value) {
    objectAt(value, "orchard");
    Orchard o;
    const Json& trees = arrayAt(member(value, "trees"), "trees");
    // No game has more plots than this. Taking a longer list would make every step and forecast cost
    // more than the largest orchard that can be played, without bound.
    if (trees.size() > Orchard::maxTrees) {
        fail(std::to_string(trees.size()) + " trees, more than the " + std::to_string(Orchard::maxTrees) +
             " plots of an orchard");
    }
    o.trees.reserve(trees.size());
    for (const Json& tree : trees) {
        o.trees.push_back(decodeTree(tree));
    }
    o.workers = decodeCounts<WorkerRole>(member(value, "workers"), "workers", roleNamed);

    auto optional = [&](const char* key, auto&& decode) {
        const auto it = value.find(key);
        if (it != value.end()) {
            decode(*it);
        }
    };
    optional("crate", [&](const Json& v) { o.crate = decodeCounts<TreeKind>(v, "crate", kindNamed); });
    optional("coins", [&](const Json& v) { o.coins = integerAt(v, "coins"); });
    o.unlocked.insert(TreeKind::eureka);
    optional("unlocked", [&](const Json& v) { o.unlocked = decodeSet<TreeKind>(v, "unlocked", kindNamed); });
    optional("totals", [&](const Json& v) { o.totals = decodeTotals(v); });
    optional("crateLevel", [&](const Json& v) { o.crateLevel = integerAt(v, "crateLevel"); });
    optional("harvestBudget", [&](const Json& v) { o.harvestBudget = realAt(v, "harvestBudget"); });
    optional("extraWorkers",
             [&](const Json& v) { o.extraWorkers = decodeSet<WorkerRole>(v, "extraWorkers", roleNamed); });
    optional("looks", [&](const Json& v) {
        objectAt(v, "looks");
        refuseMoreThan(kMostRecords, v.size(), "looks");
        for (const auto& [key, look] : v.items()) {
            o.looks[key] = decodeLook(look);
        }
    });
    // Files from before the collection existed get it from what is planted now.
    for (const Tree& tree : o.trees) {
        o.everPlanted.insert(tree.kind);
    }
    optional("everPlanted", [&](const Json& v) { o.everPlanted = decodeSet<TreeKind>(v, "everPlanted", kindNamed); });
    optional("harvestedByKind",
             [&](const Json& v) { o.harvestedByKind = decodeCounts<TreeKind>(v, "harvestedByKind", kindNamed); });
    return o;
}

// Appends members whose names are known to be distinct, such as the keys of a std::map. The ordered
// object's own insertion looks for an equal name first, which makes a long map quadratic to write.
void appendMember(OrderedJson& object, const std::string& name, OrderedJson value) {
    auto& members = object.get_ref<OrderedJson::object_t&>();
    members.OrderedJson::object_t::Container::emplace_back(name, std::move(value));
}

bool finite(double x) {
    return std::isfinite(x);
}

template <typename Enum>
OrderedJson encodeCounts(const EnumMap<Enum, std::int64_t>& map) {
    OrderedJson out = OrderedJson::object();
    map.forEach([&](Enum key, std::int64_t count) { out[std::string(rawValue(key))] = count; });
    return out;
}

template <typename Enum>
OrderedJson encodeSet(const EnumSet<Enum>& set) {
    OrderedJson out = OrderedJson::array();
    set.forEach([&](Enum member) { out.push_back(std::string(rawValue(member))); });
    return out;
}

OrderedJson encodeTotals(const Totals& t) {
    OrderedJson out = OrderedJson::object();
    out["harvested"] = t.harvested;
    out["sold"] = t.sold;
    out["earned"] = t.earned;
    out["planted"] = t.planted;
    return out;
}

OrderedJson encodeOrchard(const Orchard& o) {
    OrderedJson trees = OrderedJson::array();
    for (const Tree& t : o.trees) {
        OrderedJson tree = OrderedJson::object();
        tree["kind"] = std::string(rawValue(t.kind));
        tree["age"] = t.age;
        tree["progress"] = t.progress;
        tree["fruit"] = t.fruit;
        trees.push_back(std::move(tree));
    }
    OrderedJson looks = OrderedJson::object();
    for (const auto& [key, look] : o.looks) {
        OrderedJson entry = OrderedJson::object();
        entry["variant"] = look.variant;
        entry["dye"] = look.dye;
        entry["name"] = look.name;
        appendMember(looks, key, std::move(entry));
    }
    OrderedJson out = OrderedJson::object();
    out["trees"] = std::move(trees);
    out["workers"] = encodeCounts(o.workers);
    out["crate"] = encodeCounts(o.crate);
    out["coins"] = o.coins;
    out["unlocked"] = encodeSet(o.unlocked);
    out["totals"] = encodeTotals(o.totals);
    out["crateLevel"] = o.crateLevel;
    out["harvestBudget"] = o.harvestBudget;
    out["extraWorkers"] = encodeSet(o.extraWorkers);
    out["looks"] = std::move(looks);
    out["everPlanted"] = encodeSet(o.everPlanted);
    out["harvestedByKind"] = encodeCounts(o.harvestedByKind);
    return out;
}

} // namespace

SaveDecoding decodeSave(std::string_view document) {
    try {
        // The largest game is a few thousand JSON values (ten trees, a hundred looks and week records,
        // the maps and sets). A document with far more is refused as soon as it shows, rather than
        // after all of a long file has been parsed.
        std::size_t values = 0;
        const Json root =
            Json::parse(document.begin(), document.end(), [&values](int, Json::parse_event_t, const Json&) {
                if (++values > kMostValues) {
                    fail("more than " + std::to_string(kMostValues) + " values, more than any game holds");
                }
                return true;
            });
        objectAt(root, "document");
        Save save;
        save.orchard = decodeOrchard(member(root, "orchard"));
        save.lastUpdated = realAt(member(root, "lastUpdated"), "lastUpdated");
        const Json& weeks = objectAt(member(root, "weekStarts"), "weekStarts");
        refuseMoreThan(kMostRecords, weeks.size(), "week records");
        for (const auto& [key, totals] : weeks.items()) {
            save.weekStarts[key] = decodeTotals(totals);
        }
        return {std::move(save), {}};
    } catch (const Unreadable& e) {
        return {std::nullopt, e.reason};
    } catch (const nlohmann::json::exception& e) {
        return {std::nullopt, std::string("not JSON: ") + e.what()};
    } catch (const std::exception& e) {
        return {std::nullopt, e.what()};
    }
}

std::optional<std::string> encodeSave(const Save& save) {
    const Orchard& o = save.orchard;
    bool allFinite = finite(save.lastUpdated) && finite(o.harvestBudget);
    for (const Tree& t : o.trees) {
        allFinite = allFinite && finite(t.age) && finite(t.progress);
    }
    if (!allFinite) {
        return std::nullopt;
    }
    try {
        OrderedJson root = OrderedJson::object();
        root["orchard"] = encodeOrchard(o);
        root["lastUpdated"] = save.lastUpdated;
        OrderedJson weeks = OrderedJson::object();
        for (const auto& [key, totals] : save.weekStarts) {
            appendMember(weeks, key, encodeTotals(totals));
        }
        root["weekStarts"] = std::move(weeks);
        // Names typed by the player are UTF-8; anything else is replaced rather than failing the save.
        return root.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace pipfield
