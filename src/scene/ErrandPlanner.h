#pragma once

#include "model/Catalog.h"
#include "scene/Chance.h"

#include <cstddef>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace pipfield {

struct Orchard;

/// What the workers of the scene do next, decided from the published orchard: the planter digs at
/// growing trees, the caretaker waters, the harvester picks ripe trees and carries to the crate, and
/// each idles or plays a gesture in between. Plain rules with no drawing in them; the view turns the
/// steps into walks, animations and effects.
class ErrandPlanner {
public:
    struct Walk {
        double to;
        std::string anim;
        bool operator==(const Walk&) const = default;
    };
    struct Act {
        std::string anim;
        double seconds;
        bool operator==(const Act&) const = default;
    };
    /// A one-shot effect where the tool meets the ground, or on top of the crate.
    struct Puff {
        enum class On { ground, crate };
        std::string name;
        double x;
        double y; // above the ground, or above the crate's top edge
        On on = On::ground;
        bool operator==(const Puff&) const = default;
    };
    using Step = std::variant<Walk, Act, Puff>;

    /// Where things stand in the scene, in its points.
    struct Ground {
        /// The left edge of the scene's content.
        double originX = 0;
        /// The x of tree i's plot.
        std::function<double(std::size_t)> treeX;
    };

    /// `random` is uniform in [0, 1), the scene's one source of chance.
    explicit ErrandPlanner(std::function<double()> random);

    /// The next errand of the worker of `role`.
    std::vector<Step> plan(WorkerRole role, const Orchard& orchard, const Ground& ground);
    /// Where a newly hired worker first stands: harvesters beside the crate, the others by a tree.
    double startX(WorkerRole role, int slot, const Orchard& orchard, const Ground& ground);

private:
    std::vector<Step> planter(const Orchard& orchard, const Ground& ground);
    std::vector<Step> caretaker(const Orchard& orchard, const Ground& ground);
    std::vector<Step> harvester(const Orchard& orchard, const Ground& ground);
    std::vector<Step> idle();

    Chance m_chance;
};

} // namespace pipfield
