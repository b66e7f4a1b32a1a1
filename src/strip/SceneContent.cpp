#include "strip/SceneContent.h"

#include "scene/OrchardView.h"

namespace pipfield {

StripSurface::Content sceneContent(OrchardView& view, StripSurface& surface) {
    OrchardView* scene = &view;
    StripSurface::Content content;
    content.widget = scene;
    content.screenChanged = [scene] { scene->backingPropertiesChanged(); };
    content.paint = [scene](QImage& image, const QRegion& region) { scene->paintScene(image, region); };
    content.frameReady = [scene] { return scene->compositor().flushing(); };
    content.resize = [scene](QSize size) { scene->setFrameSize(size); };
    // The scene counts y upward from its bottom edge.
    content.click = [scene](QPointF point) { scene->clickAt({point.x(), scene->height() - point.y()}); };
    // A scene that is painted rather than shown learns from the surface when it is on screen.
    content.shown = [scene](bool shown) { scene->setOnScreen(shown); };
    content.scale = [scene](int scale) {
        if (scene->sprites().scale() != scale) {
            scene->sprites().setScale(scale);
            scene->redrawAll();
        }
    };
    QObject::connect(scene, &OrchardView::damaged, &surface, &StripSurface::damage);
    // Where nothing is blended with the desktop, the scene paints a sky under itself that follows its
    // grade; black would show around the art otherwise.
    scene->setPaintsSky(!surface.composited());
    QObject::connect(&surface, &StripSurface::compositedChanged, scene,
                     [scene](bool composited) { scene->setPaintsSky(!composited); });
    return content;
}

} // namespace pipfield
