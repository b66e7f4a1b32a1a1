#include "scene/Animation.h"

#include <algorithm>
#include <cmath>

namespace pipfield {

namespace {

// Keeps a frame boundary computed as k / n times the duration from landing in the frame before it.
constexpr double kBoundarySlack = 1e-9;

double lerp(double a, double b, double f) {
    return a + (b - a) * f;
}

} // namespace

Animation::Animation(Property property, Mode mode, double duration)
    : m_property(property), m_mode(mode), m_duration(duration) {}

Animation Animation::keyframes(Property property, std::vector<double> values, double duration, Mode mode) {
    Animation a(property, mode, duration);
    a.m_values = std::move(values);
    return a;
}

Animation Animation::frames(QList<QImage> frames, double duration) {
    Animation a(Property::contents, Mode::discrete, duration);
    a.m_images = std::move(frames);
    return a;
}

Animation Animation::move(QPointF from, QPointF to, double duration) {
    Animation a(Property::position, Mode::linear, duration);
    a.m_points = {from, to};
    return a;
}

Animation Animation::quadratic(QPointF from, QPointF control, QPointF to, double duration) {
    Animation a(Property::position, Mode::linear, duration);
    a.m_points = {from, control, to};
    a.m_quadratic = true;
    return a;
}

Animation Animation::group(std::vector<Animation> children, double duration) {
    Animation a(Property::opacity, Mode::discrete, duration);
    for (Animation& child : children) {
        if (child.m_duration <= 0) {
            child.m_duration = duration;
        }
    }
    a.m_children = std::move(children);
    return a;
}

Animation& Animation::keyTimes(std::vector<double> times) {
    m_keyTimes = std::move(times);
    m_keyTimesSorted = std::is_sorted(m_keyTimes.begin(), m_keyTimes.end());
    return *this;
}

Animation& Animation::beginAt(double time) {
    m_begin = time;
    return *this;
}

Animation& Animation::fill(Fill mode) {
    m_fill = mode;
    return *this;
}

Animation& Animation::repeat(double count) {
    m_repeat = count;
    return *this;
}

Animation& Animation::paced(double beat) {
    m_beat = beat;
    return *this;
}

double Animation::nextBeat(double t, double beat) {
    if (beat <= 0) {
        return t;
    }
    return std::ceil(t / beat - kBoundarySlack) * beat;
}

std::optional<double> Animation::localTime(double t) const {
    if (m_duration <= 0) {
        return std::nullopt;
    }
    const double local = t - begin();
    const double active = m_repeat * m_duration;
    if (local < 0) {
        if (m_fill == Fill::backwards || m_fill == Fill::both) {
            return 0.0;
        }
        return std::nullopt;
    }
    if (local >= active - kBoundarySlack * m_duration) {
        if (m_fill == Fill::forwards || m_fill == Fill::both) {
            return m_duration;
        }
        return std::nullopt;
    }
    // The same slack as at frame boundaries: an instant computed as the start of the next
    // iteration is in it, not a rounding error before it.
    const double iteration = std::floor(local / m_duration + kBoundarySlack);
    return std::max(0.0, local - iteration * m_duration);
}

double Animation::keyTime(std::size_t i, std::size_t count) const {
    if (m_keyTimes.size() == count) {
        return m_keyTimes[i];
    }
    // Discrete values each hold an equal share; linear ones are reached at even steps ending on 1.
    if (m_mode == Mode::discrete) {
        return static_cast<double>(i) / static_cast<double>(count);
    }
    return count > 1 ? static_cast<double>(i) / static_cast<double>(count - 1) : 0.0;
}

std::size_t Animation::segment(double p, std::size_t count) const {
    if (m_keyTimes.size() != count && m_mode == Mode::discrete) {
        const auto i =
            static_cast<std::size_t>(std::max(0.0, std::floor(p * static_cast<double>(count) + kBoundarySlack)));
        return std::min(i, count - 1);
    }
    if (m_keyTimes.size() == count && m_keyTimesSorted) {
        // A walk has a key time per hop, hundreds of them, looked up at every paint.
        const auto after = std::upper_bound(m_keyTimes.begin() + 1, m_keyTimes.end(), p + kBoundarySlack);
        return static_cast<std::size_t>(after - m_keyTimes.begin()) - 1;
    }
    std::size_t i = 0;
    while (i + 1 < count && keyTime(i + 1, count) <= p + kBoundarySlack) {
        ++i;
    }
    return i;
}

bool Animation::apply(double t, LayerState& state) const {
    const std::optional<double> local = localTime(t);
    return local && applyProgress(*local, state);
}

bool Animation::applyProgress(double local, LayerState& state) const {
    if (!m_children.empty()) {
        bool any = false;
        for (const Animation& child : m_children) {
            any |= child.apply(local, state);
        }
        return any;
    }
    const double p = std::clamp(local / m_duration, 0.0, 1.0);
    if (m_property == Property::contents) {
        if (m_images.isEmpty()) {
            return false;
        }
        state.contents = &m_images[static_cast<qsizetype>(segment(p, static_cast<std::size_t>(m_images.size())))];
        return true;
    }
    if (m_property == Property::position && !m_points.empty()) {
        if (m_quadratic && m_points.size() == 3) {
            const double u = 1 - p;
            state.position = u * u * m_points[0] + 2 * u * p * m_points[1] + p * p * m_points[2];
        } else {
            const QPointF& a = m_points.front();
            const QPointF& b = m_points.back();
            state.position = {lerp(a.x(), b.x(), p), lerp(a.y(), b.y(), p)};
        }
        return true;
    }
    if (m_values.empty()) {
        return false;
    }
    const std::size_t n = m_values.size();
    const std::size_t i = segment(p, n);
    double value = m_values[i];
    if (m_mode == Mode::linear && i + 1 < n) {
        const double t0 = keyTime(i, n);
        const double t1 = keyTime(i + 1, n);
        value = t1 > t0 ? lerp(m_values[i], m_values[i + 1], std::clamp((p - t0) / (t1 - t0), 0.0, 1.0)) : value;
    }
    switch (m_property) {
    case Property::positionX:
        state.position.setX(value);
        break;
    case Property::positionY:
        state.position.setY(value);
        break;
    case Property::opacity:
        state.opacity = value;
        break;
    default:
        return false;
    }
    return true;
}

double Animation::nextChange(double t) const {
    if (m_duration <= 0) {
        return kForever;
    }
    const double local = t - begin();
    if (local < 0) {
        return begin();
    }
    const double active = m_repeat * m_duration;
    if (local >= active - kBoundarySlack * m_duration) {
        return kForever;
    }
    const double iterationStart = std::floor(local / m_duration + kBoundarySlack) * m_duration;
    const double next = begin() + iterationStart + nextChangeLocal(std::max(0.0, local - iterationStart));
    return std::min(next, begin() + active);
}

double Animation::nextChangeLocal(double local) const {
    if (!m_children.empty()) {
        double next = m_duration;
        for (const Animation& child : m_children) {
            next = std::min(next, child.nextChange(local));
        }
        return next;
    }
    if (m_mode == Mode::linear) {
        return local;
    }
    const std::size_t n =
        m_property == Property::contents ? static_cast<std::size_t>(m_images.size()) : m_values.size();
    if (n == 0) {
        return m_duration;
    }
    const double p = local / m_duration;
    const std::size_t i = segment(p, n);
    // A frame that shows the very same picture as the one before it changes nothing on screen.
    std::size_t j = i + 1;
    if (m_property == Property::contents) {
        const qint64 current = m_images[static_cast<qsizetype>(i)].cacheKey();
        while (j < n && m_images[static_cast<qsizetype>(j)].cacheKey() == current) {
            ++j;
        }
    }
    if (j < n) {
        return keyTime(j, n) * m_duration;
    }
    return m_duration;
}

bool Animation::finished(double t) const {
    const double active = m_repeat * m_duration;
    return t - begin() >= active - kBoundarySlack * m_duration && m_fill != Fill::forwards && m_fill != Fill::both;
}

} // namespace pipfield
