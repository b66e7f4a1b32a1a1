#include "scene/Worker.h"

#include "scene/OrchardView.h"
#include "scene/Palette.h"
#include "scene/Sprite.h"
#include "scene/WorkerSheet.h"

#include <cmath>

namespace pipfield {

Worker::Worker(OrchardView& view, WorkerRole role, int slot, const WorkerLook& look, int tier, double x)
    : m_role(role), m_slot(slot), m_layer(Sprite::layer()), m_look(look), m_tier(tier), m_x(OrchardView::snap(x)),
      m_view(&view) {
    play(QStringLiteral("idle"), 0.15);
    m_layer->setPosition({m_x, kY});
    // Above trees and crate, and in a fixed order among themselves.
    m_layer->setZ(20 + 2 * static_cast<int>(role) + slot);
}

void Worker::play(const QString& anim, double perFrame) {
    if (!m_view) {
        return;
    }
    Sprite& sprites = m_view->sprites();
    // Any variant but 1 is the first body, however large the number in the save.
    const QString sheet = WorkerSheet::name(sprites, m_role, m_look.variant == 1 ? 1 : 0, m_tier, anim);
    if (sheet == m_playingSheet) {
        return;
    }
    m_playingPerFrame = perFrame;
    if (m_view->powerSaving()) {
        perFrame *= kSavingSlowdown;
    }
    const QList<QImage> frames = sprites.frames(sheet, Palette::dyeHue(m_look.dye), Grading::graded);
    // Without frames the worker keeps its old picture; the errand goes on regardless.
    if (frames.isEmpty()) {
        return;
    }
    m_playing = anim;
    m_playingSheet = sheet;
    m_layer->show(frames.front());
    m_layer->removeAnimation(QStringLiteral("anim"));
    // Every worker's flip-book turns its pages on the same beat, a whole number of frame times on
    // the scene clock: six idle workers then ask for one paint, not six. Until the beat comes the
    // layer shows the first frame.
    if (frames.size() >= 2) {
        m_layer->addAnimation(QStringLiteral("anim"),
                              Sprite::flipbook(frames, perFrame).beginAt(Animation::nextBeat(m_view->now(), perFrame)));
    }
}

void Worker::wait(double seconds) {
    const quint64 mine = ++m_token;
    if (!m_view) {
        return;
    }
    // The continuation is dropped, not cancelled: a later wait or a move bumps the token first.
    m_view->after(seconds, [weak = weak_from_this(), mine] {
        const std::shared_ptr<Worker> self = weak.lock();
        if (self && self->m_token == mine) {
            self->next();
        }
    });
}

void Worker::next() {
    if (!m_view) {
        return;
    }
    if (m_steps.empty()) {
        for (Step& step : m_view->plan(*this)) {
            m_steps.push_back(std::move(step));
        }
        if (m_steps.empty()) {
            wait(1.0);
            return;
        }
    }
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    if (const auto* w = std::get_if<Walk>(&step)) {
        walk(*w);
    } else if (const auto* a = std::get_if<Act>(&step)) {
        act(*a);
    } else if (const auto* r = std::get_if<Run>(&step)) {
        if (r->callback) {
            r->callback();
        }
        next();
    }
}

void Worker::face(bool right) {
    // The sprites are drawn facing right.
    m_layer->setFlipped(!right);
}

void Worker::walk(const Walk& step) {
    const double target = OrchardView::snap(step.to);
    const double d = std::abs(target - m_x);
    if (d < 0.5) {
        next();
        return;
    }
    face(target > m_x);
    play(step.anim, 0.1);
    // One discrete key frame per hop: the walk shows as even hops, and nothing is drawn between
    // them. A hop is half a point, or a whole one where half a point is less than a pixel.
    const double hop = hopLength(m_view->sprites().scale(), m_view->powerSaving());
    const double direction = target > m_x ? hop : -hop;
    const auto hops = static_cast<std::size_t>(std::ceil(d / hop - 1e-9));
    std::vector<double> xs;
    std::vector<double> times;
    xs.reserve(hops + 1);
    times.reserve(hops + 1);
    // Hop k comes k hop-times into the walk and the last lands on the target as the walk ends:
    // 18 points a second exactly, every whole hop on the beat.
    for (std::size_t i = 0; i < hops; ++i) {
        xs.push_back(m_x + direction * static_cast<double>(i));
        times.push_back(std::min(1.0, hop * static_cast<double>(i) / d));
    }
    xs.push_back(target);
    times.push_back(1.0);
    const double seconds = d / kSpeed;
    const double beat = hop / kSpeed;
    // The walk waits for the next hop beat, standing at its start until then.
    const double now = m_view->now();
    const double begin = Animation::nextBeat(now, beat);
    m_x = target;
    m_layer->setPosition({target, kY});
    m_layer->addAnimation(QStringLiteral("move"), Animation::keyframes(Animation::Property::positionX, std::move(xs),
                                                                       seconds, Animation::Mode::discrete)
                                                      .keyTimes(std::move(times))
                                                      .beginAt(begin)
                                                      .fill(Animation::Fill::backwards)
                                                      .paced(beat));
    wait(begin - now + seconds);
}

double Worker::hopLength(int scale, bool powerSaving) {
    if (powerSaving) {
        return 2.0;
    }
    return scale >= 2 ? 0.5 : 1.0;
}

void Worker::act(const Act& step) {
    face(true);
    play(step.anim, 0.12);
    // While power is saved the flip-book turns at half speed and the act lasts as much longer: a
    // gesture still ends where a pass of it ends, not halfway through a swing, and errands come
    // half as often.
    wait(m_view->powerSaving() ? step.seconds * kSavingSlowdown : step.seconds);
}

void Worker::restyle(const WorkerLook& look, int tier) {
    m_look = look;
    m_tier = tier;
    replay();
}

void Worker::replay() {
    const QString anim = m_playing.isEmpty() ? QStringLiteral("idle") : m_playing;
    m_playing.clear();
    m_playingSheet.clear();
    play(anim, m_playingPerFrame);
}

void Worker::repace() {
    if (!m_view) {
        return;
    }
    const Animation* move = m_layer->animation(QStringLiteral("move"));
    const double now = m_view->now();
    if (move == nullptr || !move->beginTime() || *move->beginTime() + move->duration() <= now) {
        replay();
        return;
    }
    // A walk under way goes on from where the worker stands, at the same speed, in the hops that
    // apply now: a long walk would otherwise keep the old pace for half a minute.
    const Walk rest{m_x, m_playing};
    m_x = OrchardView::snap(m_layer->presentation(now).position.x());
    m_layer->removeAnimation(QStringLiteral("move"));
    m_layer->setPosition({m_x, kY});
    m_playingSheet.clear();
    walk(rest);
}

void Worker::shift(double dx) {
    ++m_token;
    m_layer->removeAnimation(QStringLiteral("move"));
    m_x += dx;
    m_layer->setPosition({m_x, kY});
    m_steps.clear();
    next();
}

} // namespace pipfield
