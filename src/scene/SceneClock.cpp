#include "scene/SceneClock.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace pipfield {

SteadySceneClock::SteadySceneClock(double grace) : m_grace(grace) {
    m_elapsed.start();
    m_timer.setSingleShot(true);
    // Precise: a coarse timer may fire a twentieth of its interval early, before anything is due,
    // and wake the program for nothing.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SteadySceneClock::catchUp);
}

double SteadySceneClock::now() const {
    return static_cast<double>(m_elapsed.nsecsElapsed()) / 1e9;
}

void SteadySceneClock::after(double seconds, std::function<void()> callback) {
    m_pending.emplace(now() + std::clamp(seconds, 0.0, 86400.0), std::move(callback));
    arm();
}

void SteadySceneClock::catchUp() {
    // Only what is due as of now: a callback that asks for another at once gets it at the next
    // paint, not in an endless loop here.
    const double t = now();
    while (!m_pending.empty() && m_pending.begin()->first <= t) {
        auto due = m_pending.extract(m_pending.begin());
        due.mapped()();
    }
    arm();
}

void SteadySceneClock::arm() {
    if (m_pending.empty()) {
        m_timer.stop();
        return;
    }
    const double wait = m_pending.begin()->first + m_grace - now();
    const int ms = static_cast<int>(std::clamp(std::ceil(wait * 1000.0), 0.0, 86400000.0));
    // Every paint catches up; the timer is restarted (unregistered and registered again) only when
    // its wake-up moves.
    if (m_timer.isActive() && std::abs(m_timer.remainingTime() - ms) <= 1) {
        return;
    }
    m_timer.start(ms);
}

} // namespace pipfield
