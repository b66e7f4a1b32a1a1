#pragma once

#include "model/Orchard.h"

#include <cstdint>

namespace pipfield::detail {

/// Moves up to floor(budget) fruit from the fullest trees (lowest plot first among equals) into the
/// crate, spending 1 of the budget per fruit, until the budget, the crate's room or the fruit runs out.
/// Returns the number moved. After `oneByOneLimit` single picks the rest is taken in one levelling
/// pass with the same outcome, so that a hand-edited orchard with millions of fruit cannot stall a step.
std::int64_t pickIntoCrate(Orchard& orchard, double& budget, std::int64_t capacity, std::int64_t oneByOneLimit = 64);

} // namespace pipfield::detail
