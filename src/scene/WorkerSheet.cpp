#include "scene/WorkerSheet.h"

#include "game/Texts.h"
#include "scene/Sprite.h"

namespace pipfield {

QString WorkerSheet::name(Sprite& sprites, WorkerRole role, int variant, int tier, const QString& anim) {
    const QString stem = fromStd(rawValue(role));
    const QStringList suffixes = variant == 1 ? QStringList{QStringLiteral("b"), QString()} : QStringList{QString()};
    for (const QString& suffix : suffixes) {
        for (int t = tier; t >= 0; --t) {
            const QString candidate = t >= 1 ? stem + suffix + QStringLiteral("-t") + QString::number(t) + u'-' + anim
                                             : stem + suffix + u'-' + anim;
            if (sprites.load(candidate + QStringLiteral("-0"))) {
                return candidate;
            }
        }
    }
    return stem + u'-' + anim;
}

} // namespace pipfield
