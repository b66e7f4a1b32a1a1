#include "game/WelcomeBack.h"

#include "game/Texts.h"

#include <algorithm>
#include <cmath>

namespace pipfield {
namespace {

// Rounded up to whole minutes, so that a crate full after 30 seconds does not read "0 minutes"; from a
// day on, the minutes are left out.
QString duration(double seconds) {
    const auto minutes = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(std::min(seconds, 1e9) / 60)));
    const std::int64_t days = minutes / 1440;
    const std::int64_t hours = minutes % 1440 / 60;
    const std::int64_t rest = minutes % 60;
    if (days > 0) {
        return hours > 0 ? Texts::ui("%1일 %2시간", days, hours) : Texts::ui("%1일", days);
    }
    if (hours > 0) {
        return rest > 0 ? Texts::ui("%1시간 %2분", hours, rest) : Texts::ui("%1시간", hours);
    }
    return Texts::ui("%1분", rest);
}

} // namespace

QString welcomeBackText(const WelcomeBack& w) {
    if (w.filledAfter && *w.filledAfter <= 0) {
        return Texts::ui("창고가 가득 차 있어서 열매 %1개가 그대로 기다리고 있어요", w.waiting);
    }
    if (w.filledAfter) {
        return Texts::ui("그동안 열매 %1개를 땄고, 창고는 %2 만에 가득 차서 %3개가 기다리고 있어요", w.picked,
                         duration(*w.filledAfter), w.waiting);
    }
    if (w.picked > 0) {
        return Texts::ui("그동안 열매 %1개를 따서 창고에 %2개가 기다리고 있어요", w.picked, w.waiting);
    }
    return Texts::ui("그동안 딴 열매는 없고, 창고에 %1개가 있어요", w.waiting);
}

QString welcomeBackTitle() {
    return Texts::ui("어서 오세요");
}

} // namespace pipfield
