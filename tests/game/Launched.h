#pragma once

#include "support/GameTestSupport.h"

namespace pipfield::test {

/// Seeds the world's save with an orchard last updated at `lastUpdated` and launches a game on it.
inline std::unique_ptr<Game> launch(GameWorld& world, const Orchard& orchard, Instant lastUpdated,
                                    Game::WeekStarts weeks = {}) {
    world.seed(orchard, lastUpdated, std::move(weeks));
    return world.launch();
}

} // namespace pipfield::test
