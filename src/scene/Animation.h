#pragma once

#include <QImage>
#include <QList>
#include <QPointF>

#include <limits>
#include <optional>
#include <vector>

namespace pipfield {

/// What a layer shows at one instant: its own values with the applying animations laid over them.
struct LayerState {
    QPointF position;
    double opacity = 1.0;
    /// Points into the layer or the animation; valid while neither changes.
    const QImage* contents = nullptr;
};

/// A layer property as a function of time: key frames (discrete or linear), a straight move, a
/// quadratic path, or a group of these sharing one clock. Times are seconds on the scene clock.
class Animation {
public:
    enum class Property { contents, positionX, positionY, position, opacity };
    enum class Fill { removed, forwards, backwards, both };
    enum class Mode { discrete, linear };

    static constexpr double kForever = std::numeric_limits<double>::infinity();

    /// Numbers for positionX, positionY or opacity; evenly spaced unless key times are given.
    static Animation keyframes(Property property, std::vector<double> values, double duration, Mode mode);
    /// Pictures shown one after another, each for duration / count.
    static Animation frames(QList<QImage> frames, double duration);
    /// The position from one point to another at even speed.
    static Animation move(QPointF from, QPointF to, double duration);
    /// The position along the quadratic curve from `from` towards `control` to `to`.
    static Animation quadratic(QPointF from, QPointF control, QPointF to, double duration);
    /// Children run on the group's clock: their begin times count from the group's, and a child
    /// without its own duration lasts as long as the group.
    static Animation group(std::vector<Animation> children, double duration);

    /// Fractions of the duration at which the values are reached, one per value, rising from 0.
    Animation& keyTimes(std::vector<double> times);
    /// Absolute for an animation on a layer (unset means when it is added); relative inside a group.
    Animation& beginAt(double time);
    Animation& fill(Fill mode);
    Animation& repeat(double count);
    /// Its changes fall on this beat of the scene clock (seconds); while it runs, paints wait for
    /// the beat, so that everything else changing in between is painted together with it.
    Animation& paced(double beat);

    /// The first instant at or after t that lies on the beat: k times the beat for a whole k.
    static double nextBeat(double t, double beat);

    std::optional<double> beginTime() const { return m_begin; }
    double duration() const { return m_duration; }
    /// The beat it paces paints to; 0 when it sets none.
    double beat() const { return m_beat; }

    /// Lays the value at time t over `state`; false when the animation does not apply at t.
    bool apply(double t, LayerState& state) const;
    /// The first instant after t at which the output may differ; `t` itself while it moves
    /// continuously, infinity when it never changes again.
    double nextChange(double t) const;
    /// Over and not held: it no longer affects anything.
    bool finished(double t) const;

private:
    Animation(Property property, Mode mode, double duration);

    double begin() const { return m_begin.value_or(0.0); }
    /// Time within the current iteration, or nothing when nothing applies at t.
    std::optional<double> localTime(double t) const;
    bool applyProgress(double local, LayerState& state) const;
    double nextChangeLocal(double local) const;
    /// Index of the key segment that holds progress p, and where it starts and ends.
    std::size_t segment(double p, std::size_t count) const;
    double keyTime(std::size_t i, std::size_t count) const;

    Property m_property;
    Mode m_mode;
    double m_duration;
    std::optional<double> m_begin;
    Fill m_fill = Fill::removed;
    double m_repeat = 1.0;
    double m_beat = 0.0;
    std::vector<double> m_keyTimes;
    bool m_keyTimesSorted = true;
    std::vector<double> m_values;
    std::vector<QPointF> m_points;
    QList<QImage> m_images;
    bool m_quadratic = false;
    std::vector<Animation> m_children;
};

} // namespace pipfield
