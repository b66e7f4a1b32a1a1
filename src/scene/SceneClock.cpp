#include "scene/SceneClock.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace pipfield {

SteadySceneClock::SteadySceneClock() {
    m_elapsed.start();
}

double SteadySceneClock::now() const {
    return static_cast<double>(m_elapsed.nsecsElapsed()) / 1e9;
}

void SteadySceneClock::after(double seconds, std::function<void()> callback) {
    const int ms = static_cast<int>(std::clamp(std::ceil(seconds * 1000.0), 0.0, 86400000.0));
    QTimer::singleShot(ms, Qt::CoarseTimer, this, std::move(callback));
}

} // namespace pipfield
