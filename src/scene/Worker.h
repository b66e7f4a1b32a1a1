#pragma once

#include "model/Catalog.h"
#include "model/WorkerLook.h"
#include "scene/Layer.h"

#include <QPointer>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

namespace pipfield {

class OrchardView;

/// One hired worker walking about the scene: an endless chain of steps, each ending in a wait
/// that starts the next. Purely decorative; the game does the real work.
class Worker : public std::enable_shared_from_this<Worker> {
public:
    struct Walk {
        double to;
        QString anim;
    };
    struct Act {
        QString anim;
        double seconds;
    };
    struct Run {
        std::function<void()> callback;
    };
    using Step = std::variant<Walk, Act, Run>;

    /// Walking speed in points per second; the worker moves in visible half-point hops.
    static constexpr double kSpeed = 18.0;
    /// The ground line the workers stand on.
    static constexpr double kY = 2.0;
    /// Points per hop at a sprite scale: half a point, or a whole one at one pixel per point,
    /// where a half-point hop would change no pixel and only cost a wake-up; two points at any scale
    /// while power is saved (nine hops a second instead of 18 or 36).
    static double hopLength(int scale, bool powerSaving = false);
    /// How much slower flip-books turn, and acts last longer, while power is saved.
    static constexpr double kSavingSlowdown = 2.0;

    Worker(OrchardView& view, WorkerRole role, int slot, const WorkerLook& look, int tier, double x);

    WorkerRole role() const { return m_role; }
    int slot() const { return m_slot; }
    const std::shared_ptr<Layer>& layer() const { return m_layer; }
    const WorkerLook& look() const { return m_look; }
    int tier() const { return m_tier; }
    double x() const { return m_x; }
    const std::deque<Step>& steps() const { return m_steps; }
    quint64 token() const { return m_token; }
    const QString& playing() const { return m_playing; }
    const QString& playingSheet() const { return m_playingSheet; }
    double playingPerFrame() const { return m_playingPerFrame; }

    /// Takes and starts the next step, planning a new errand when none is left.
    void next();
    /// Shows an animation; nothing changes when its sheet is already showing.
    void play(const QString& anim, double perFrame);
    /// Calls next() after that many seconds unless a later wait or a move supersedes it.
    void wait(double seconds);

    /// Takes a new look or gear tier and shows it at once in the animation it was playing.
    void restyle(const WorkerLook& look, int tier);
    /// Fetches the frames of the current animation anew (after the scale or grade changed).
    void replay();
    /// Takes up the pace that applies now (power saving changed): a walk under way goes on in the
    /// new hops from where the worker stands, a flip-book turns its pages at the new rate.
    void repace();
    /// Cuts the errand short, moves by dx with the scene's content and starts a new errand.
    void shift(double dx);

private:
    void walk(const Walk& step);
    void act(const Act& step);
    void face(bool right);

    WorkerRole m_role;
    int m_slot;
    std::shared_ptr<Layer> m_layer;
    WorkerLook m_look;
    int m_tier;
    double m_x;
    QPointer<OrchardView> m_view;
    std::deque<Step> m_steps;
    quint64 m_token = 0;
    QString m_playing;
    QString m_playingSheet;
    double m_playingPerFrame = 0.15;
};

} // namespace pipfield
