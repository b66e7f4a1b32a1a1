#pragma once

#include "scene/Animation.h"
#include "scene/Grade.h"
#include "scene/Layer.h"
#include "scene/Palette.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QScreen;

namespace pipfield {

/// Whether an image takes the scene's time-of-day grade (the orchard) or keeps its own colours
/// (lights that glow at night, and everything the windows show).
enum class Grading { graded, asIs };

/// Loads the game's pixel art at the backing scale, dyes and grades it, and keeps what it made.
/// One instance serves the whole program; tests make their own over synthetic images.
class Sprite {
public:
    /// Looks up an image at 1x by name; none when there is no such image.
    using Source = std::function<std::optional<QImage>(const QString& name)>;

    /// The images compiled into the program.
    static Source bundled();

    explicit Sprite(Source source = bundled(), const Palette::DyeColors* dyeColors = nullptr,
                    int scale = backingScale());

    /// Pixels per art pixel on a screen: the whole art scale of its device pixel ratio, so every art
    /// pixel stays square; 2 without a screen.
    static int backingScale(const QScreen* screen);
    /// The backing scale of the primary screen.
    static int backingScale();

    int scale() const { return m_scale; }
    /// A new scale throws away every rasterised image; names known missing stay missing.
    void setScale(int scale);
    const Grade& grade() const { return m_grade; }
    /// A new grade throws away every processed image; the raw rasterised ones stay.
    void setGrade(const Grade& grade);

    /// The named image at the current scale, asked of the source once per name and scale; nothing,
    /// silently, for a name that is not there, so that it serves to ask whether one is.
    std::optional<QImage> load(const QString& name);
    /// The named image with the dye hue and, when graded, the current grade applied; a name that is
    /// not there is logged once.
    std::optional<QImage> image(const QString& name, std::optional<double> dye, Grading grading);
    /// The frames `sheet-0`, `sheet-1`, ... up to the first missing one.
    QList<QImage> frames(const QString& sheet, std::optional<double> dye, Grading grading);

    /// "name|dye|graded", the dye truncated to whole degrees or "-" without one.
    static QString key(const QString& name, std::optional<double> dye, Grading grading);
    /// Cycles the frames forever, each shown for `perFrame` seconds.
    static Animation flipbook(const QList<QImage>& frames, double perFrame);
    /// A new layer standing on its bottom centre, showing the image at its own size when there is one.
    static std::shared_ptr<Layer> layer(const std::optional<QImage>& image = std::nullopt);

    /// A 1 x 1 transparent image for empty contents.
    static const QImage& blank();
    /// Gives the colours in `colors` the hue, keeping their saturation and brightness, then grades
    /// every visible pixel. Fully transparent pixels never change.
    static std::optional<QImage> recolored(const QImage& image, const QSet<quint32>& colors, std::optional<double> hue,
                                           const Grade& grade);

private:
    /// What a name that is not there means: a fault of the code or the build, or the end of a run.
    enum class Miss { fault, end };
    std::optional<QImage> processed(const QString& name, std::optional<double> dye, Grading grading, Miss miss);

    Source m_source;
    const Palette::DyeColors* m_dyeColors;
    int m_scale;
    Grade m_grade;
    QHash<QString, QImage> m_raw;
    QSet<QString> m_missing;
    QSet<QString> m_reported;
    QHash<QString, QImage> m_cache;
    QHash<QString, QList<QImage>> m_sheets;
};

} // namespace pipfield
