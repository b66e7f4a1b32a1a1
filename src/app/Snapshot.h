#pragma once

#include <QString>
#include <QVariantMap>

namespace pipfield {

/// Draws the strip, every tab of the management window and the weekly card into `folder` as PNGs
/// (strip.png, manage-0.png to manage-5.png, card.png) without showing anything, and returns the
/// exit code. The player's save file, settings and pending notification are left untouched.
int writeSnapshots(const QVariantMap& overrides, const QString& folder);

} // namespace pipfield
