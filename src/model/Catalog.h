#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The fixed vocabulary of the game: tree kinds, worker roles and seasons. Raw values equal the case
// names; they are the save file's keys and the stems of image names.
namespace pipfield {

template <typename Enum>
inline constexpr std::size_t enumCount = 0;

enum class TreeKind : std::uint8_t {
    eureka,
    kumquat,
    meyer,
    calamansi,
    lime,
    blood,
    yuja,
    grapefruit,
    pink,
    hallabong,
    buddha,
    golden,
};
template <>
inline constexpr std::size_t enumCount<TreeKind> = 12;

/// Every kind in declaration order, the order of every list the player sees.
inline constexpr std::array<TreeKind, 12> allTreeKinds = {
    TreeKind::eureka, TreeKind::kumquat,    TreeKind::meyer, TreeKind::calamansi, TreeKind::lime,   TreeKind::blood,
    TreeKind::yuja,   TreeKind::grapefruit, TreeKind::pink,  TreeKind::hallabong, TreeKind::buddha, TreeKind::golden,
};

enum class WorkerRole : std::uint8_t { planter, caretaker, harvester };
template <>
inline constexpr std::size_t enumCount<WorkerRole> = 3;
inline constexpr std::array<WorkerRole, 3> allWorkerRoles = {WorkerRole::planter, WorkerRole::caretaker,
                                                             WorkerRole::harvester};

enum class Season : std::uint8_t { spring, summer, autumn, winter };
template <>
inline constexpr std::size_t enumCount<Season> = 4;
inline constexpr std::array<Season, 4> allSeasons = {Season::spring, Season::summer, Season::autumn, Season::winter};

std::string_view rawValue(TreeKind kind);
std::string_view rawValue(WorkerRole role);
std::string_view rawValue(Season season);

std::optional<TreeKind> treeKindFromRaw(std::string_view raw);
std::optional<WorkerRole> workerRoleFromRaw(std::string_view raw);
std::optional<Season> seasonFromRaw(std::string_view raw);

/// Position of the kind in declaration order (eureka 0 to golden 11).
inline constexpr int kindIndex(TreeKind kind) {
    return static_cast<int>(kind);
}

/// Display name of a kind ("유레카 레몬").
std::string name(TreeKind kind);
/// Display name of a role ("수확 일꾼").
std::string name(WorkerRole role);
/// One line on what the role does.
std::string job(WorkerRole role);
/// The name a worker shows while its look has none: the first name for variant 0, the second otherwise.
std::string defaultName(WorkerRole role, std::int64_t variant);
/// The effect summary of a single worker of the given level, as in a neutral season.
std::string effect(WorkerRole role, std::int64_t level);

/// The season of a calendar month (1 to 12); months outside 3 to 11 count as winter.
Season seasonForMonth(int month);

} // namespace pipfield
