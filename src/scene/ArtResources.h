#pragma once

namespace pipfield {

/// Registers the images and dye table compiled into the program. A static library drops the
/// resource's self-registration unless something refers to it, so every reader calls this first.
void initArtResources();

} // namespace pipfield
