#pragma once

#include "strip/StripSurface.h"

namespace pipfield {

class OrchardView;

/// The orchard scene as what fills a strip surface: shown as a widget or painted, sized, clicked,
/// scaled and damaged through the surface, with a sky under the art wherever the surface is not
/// blended with the desktop. The view must outlive its connections to the surface (the strip owns it).
StripSurface::Content sceneContent(OrchardView& view, StripSurface& surface);

} // namespace pipfield
