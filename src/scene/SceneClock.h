#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <functional>

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
};

/// The process's steady clock and Qt timers.
class SteadySceneClock final : public QObject, public SceneClock {
public:
    SteadySceneClock();
    double now() const override;
    /// Coarse timers: a wait may end a little late, which no errand or effect can tell, and the
    /// system can bundle the wake-ups.
    void after(double seconds, std::function<void()> callback) override;

private:
    QElapsedTimer m_elapsed;
};

} // namespace pipfield
