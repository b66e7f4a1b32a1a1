#include "model/Catalog.h"

#include "model/Balance.h"
#include "model/Saturating.h"
#include "model/Text.h"

namespace pipfield {
namespace {

constexpr std::array<std::string_view, 12> kKindRaw = {
    "eureka", "kumquat",    "meyer", "calamansi", "lime",   "blood",
    "yuja",   "grapefruit", "pink",  "hallabong", "buddha", "golden",
};
constexpr std::array<std::string_view, 12> kKindName = {
    textKey("pipfield", "유레카 레몬"), textKey("pipfield", "금귤"),   textKey("pipfield", "마이어 레몬"),
    textKey("pipfield", "깔라만시"),    textKey("pipfield", "라임"),   textKey("pipfield", "블러드 오렌지"),
    textKey("pipfield", "유자"),        textKey("pipfield", "자몽"),   textKey("pipfield", "핑크 레몬"),
    textKey("pipfield", "한라봉"),      textKey("pipfield", "불수감"), textKey("pipfield", "황금 레몬"),
};
constexpr std::array<std::string_view, 3> kRoleRaw = {"planter", "caretaker", "harvester"};
constexpr std::array<std::string_view, 3> kRoleName = {
    textKey("pipfield", "심기 일꾼"), textKey("pipfield", "돌보기 일꾼"), textKey("pipfield", "수확 일꾼")};
constexpr std::array<std::string_view, 3> kRoleJob = {
    textKey("pipfield", "흙을 일궈 레몬 값을 올려요"),
    textKey("pipfield", "물을 줘서 나무를 빨리 키워요"),
    textKey("pipfield", "익은 열매를 따서 창고에 담아요"),
};
constexpr std::array<std::array<std::string_view, 2>, 3> kDefaultNames = {{
    {textKey("pipfield", "토리"), textKey("pipfield", "준")},
    {textKey("pipfield", "봄이"), textKey("pipfield", "새미")},
    {textKey("pipfield", "레아"), textKey("pipfield", "하루")},
}};
constexpr std::array<std::string_view, 4> kSeasonRaw = {"spring", "summer", "autumn", "winter"};

template <typename Enum, std::size_t N>
std::optional<Enum> fromRaw(const std::array<std::string_view, N>& table, std::string_view raw) {
    for (std::size_t i = 0; i < N; ++i) {
        if (table[i] == raw) {
            return static_cast<Enum>(i);
        }
    }
    return std::nullopt;
}

std::size_t at(auto value) {
    return static_cast<std::size_t>(value);
}

} // namespace

std::string_view rawValue(TreeKind kind) {
    return kKindRaw[at(kind)];
}
std::string_view rawValue(WorkerRole role) {
    return kRoleRaw[at(role)];
}
std::string_view rawValue(Season season) {
    return kSeasonRaw[at(season)];
}

std::optional<TreeKind> treeKindFromRaw(std::string_view raw) {
    return fromRaw<TreeKind>(kKindRaw, raw);
}
std::optional<WorkerRole> workerRoleFromRaw(std::string_view raw) {
    return fromRaw<WorkerRole>(kRoleRaw, raw);
}
std::optional<Season> seasonFromRaw(std::string_view raw) {
    return fromRaw<Season>(kSeasonRaw, raw);
}

std::string name(TreeKind kind) {
    return localized(kKindName[at(kind)]);
}
std::string name(WorkerRole role) {
    return localized(kRoleName[at(role)]);
}
std::string job(WorkerRole role) {
    return localized(kRoleJob[at(role)]);
}

std::string defaultName(WorkerRole role, std::int64_t variant) {
    return localized(kDefaultNames[at(role)][variant == 0 ? 0 : 1]);
}

std::string effect(WorkerRole role, std::int64_t level) {
    // The order of operations is the game's: the planter and harvester numbers truncate without
    // adding a half, so a level 3 planter reads +35% (35.999...), not +36%.
    const double L = static_cast<double>(level);
    switch (role) {
    case WorkerRole::planter:
        return localized(textKey("pipfield", "판매가 +%1%%"),
                         {std::to_string(truncateToInt64((L * Balance::planterBonus + 1.0 - 1.0) * 100))});
    case WorkerRole::caretaker:
        return localized(
            textKey("pipfield", "성장 속도 +%1%%"),
            {std::to_string(truncateToInt64(((L * Balance::caretakerBonus + 1.0) * 1.0 - 1.0) * 100 + 0.5))});
    case WorkerRole::harvester:
        return localized(textKey("pipfield", "1분에 %1개 수확"),
                         {std::to_string(truncateToInt64(L * Balance::harvesterRate * 1.0 * 60))});
    }
    return {};
}

Season seasonForMonth(int month) {
    if (month >= 3 && month <= 5) {
        return Season::spring;
    }
    if (month >= 6 && month <= 8) {
        return Season::summer;
    }
    if (month >= 9 && month <= 11) {
        return Season::autumn;
    }
    return Season::winter;
}

} // namespace pipfield
