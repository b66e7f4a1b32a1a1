#include "manage/Symbols.h"

#include "scene/Sprite.h"

#include <QPixmap>

namespace pipfield {

QIcon ownIcon(Sprite& sprites, const QString& name) {
    const std::optional<QImage> image = sprites.image(name, std::nullopt, Grading::asIs);
    if (!image || image->isNull()) {
        return {};
    }
    QIcon icon;
    for (int multiple = 1; multiple <= 3; ++multiple) {
        icon.addPixmap(
            QPixmap::fromImage(image->scaled(image->size() * multiple, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    }
    return icon;
}

QIcon symbolIcon(Sprite& sprites, std::initializer_list<const char*> themeNames, const QString& ownName) {
    for (const char* name : themeNames) {
        const QString themeName = QLatin1String(name);
        if (QIcon::hasThemeIcon(themeName)) {
            return QIcon::fromTheme(themeName);
        }
    }
    return ownIcon(sprites, ownName);
}

} // namespace pipfield
