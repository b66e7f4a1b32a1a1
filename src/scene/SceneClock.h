#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <map>

namespace pipfield {

/// The scene's time: a steady count of seconds for animations and the delayed callbacks of
/// workers and effects. Tests drive a fake one.
class SceneClock {
public:
    virtual ~SceneClock() = default;
    /// Seconds since some fixed start; never goes back.
    virtual double now() const = 0;
    /// Runs the callback on the main thread after that many seconds.
    virtual void after(double seconds, std::function<void()> callback) = 0;
    /// Runs now whatever has come due. Called by whoever is awake anyway (a paint), so that a
    /// callback shares that wake-up instead of taking one of its own.
    virtual void catchUp() {}
};

/// The process's steady clock, with one timer for every callback.
///
/// A callback runs at the first paint after it comes due (see catchUp), which while anyone walks is
/// at most one hop beat later. Only when no paint comes within `grace` does the clock wake the
/// program for it. A wait ending a beat late is something no errand or effect can show: whatever
/// it changes is painted at that same paint.
class SteadySceneClock final : public QObject, public SceneClock {
public:
    /// A little over the slowest hop beat (a ninth of a second), so that a walk's paints take
    /// every callback that falls due while it lasts.
    static constexpr double kGrace = 0.12;

    explicit SteadySceneClock(double grace = kGrace);
    double now() const override;
    void after(double seconds, std::function<void()> callback) override;
    void catchUp() override;
    std::size_t pending() const { return m_pending.size(); }

private:
    void arm();

    QElapsedTimer m_elapsed;
    const double m_grace;
    // A multimap keeps callbacks due at the same time in the order they were asked for.
    std::multimap<double, std::function<void()>> m_pending;
    QTimer m_timer;
};

} // namespace pipfield
