#pragma once

#include <QPalette>

namespace pipfield {

/// The palette of a forced light or dark appearance, for the Fusion style.
QPalette forcedPalette(bool dark);

} // namespace pipfield
