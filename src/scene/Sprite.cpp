#include "scene/Sprite.h"

#include "scene/ArtResources.h"
#include "scene/ArtScale.h"
#include "scene/SceneLog.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace pipfield {

Sprite::Source Sprite::bundled() {
    return [](const QString& name) -> std::optional<QImage> {
        initArtResources();
        QImage image(QStringLiteral(":/art/") + name + QStringLiteral(".png"));
        if (image.isNull()) {
            return std::nullopt;
        }
        return image;
    };
}

Sprite::Sprite(Source source, const Palette::DyeColors* dyeColors, int scale)
    : m_source(std::move(source)), m_dyeColors(dyeColors), m_scale(std::max(1, scale)) {}

int Sprite::backingScale(const QScreen* screen) {
    if (screen == nullptr) {
        return 2;
    }
    return wholeArtScale(screen->devicePixelRatio());
}

int Sprite::backingScale() {
    return backingScale(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
                            ? QGuiApplication::primaryScreen()
                            : nullptr);
}

void Sprite::setScale(int scale) {
    scale = std::max(1, scale);
    if (scale == m_scale) {
        return;
    }
    m_scale = scale;
    m_cache.clear();
    m_raw.clear();
    m_sheets.clear();
}

void Sprite::setGrade(const Grade& grade) {
    if (grade == m_grade) {
        return;
    }
    m_grade = grade;
    m_cache.clear();
    m_sheets.clear();
}

std::optional<QImage> Sprite::load(const QString& name) {
    if (const auto it = m_raw.constFind(name); it != m_raw.constEnd()) {
        return *it;
    }
    if (m_missing.contains(name)) {
        return std::nullopt;
    }
    std::optional<QImage> image = m_source(name);
    if (!image || image->isNull()) {
        m_missing.insert(name);
        return std::nullopt;
    }
    // Whole multiples with nearest-neighbour sampling only: art pixels stay sharp and square.
    QImage raster =
        image->convertToFormat(QImage::Format_RGBA8888_Premultiplied)
            .scaled(image->width() * m_scale, image->height() * m_scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (raster.isNull()) {
        m_raw.remove(name);
        return std::nullopt;
    }
    raster.setDevicePixelRatio(m_scale);
    m_raw.insert(name, raster);
    return raster;
}

QString Sprite::key(const QString& name, std::optional<double> dye, Grading grading) {
    QString dyePart = QStringLiteral("-");
    if (dye && std::isfinite(*dye)) {
        const double whole = std::trunc(*dye);
        dyePart = QString::number(whole == 0 ? 0.0 : whole, 'f', 0);
    }
    return name + u'|' + dyePart + u'|' +
           (grading == Grading::graded ? QStringLiteral("true") : QStringLiteral("false"));
}

std::optional<QImage> Sprite::image(const QString& name, std::optional<double> dye, Grading grading) {
    return processed(name, dye, grading, Miss::fault);
}

std::optional<QImage> Sprite::processed(const QString& name, std::optional<double> dye, Grading grading, Miss miss) {
    const QString k = key(name, dye, grading);
    if (const auto it = m_cache.constFind(k); it != m_cache.constEnd()) {
        return *it;
    }
    const std::optional<QImage> base = load(name);
    if (!base) {
        // A name the code asks for and the build did not bundle; said once, as the miss is remembered.
        if (miss == Miss::fault && !m_reported.contains(name)) {
            m_reported.insert(name);
            qCWarning(lcScene).noquote() << "no image named" << name;
        }
        return std::nullopt;
    }
    const Grade grade = grading == Grading::graded ? m_grade : Grade{};
    QSet<quint32> colors;
    if (dye) {
        // Every frame of a sheet shares the entry of its base name: harvester-walk-3 uses harvester-walk.
        const qsizetype dash = name.lastIndexOf(u'-');
        const QString baseName = dash < 0 ? name : name.left(dash);
        const Palette::DyeColors& table = m_dyeColors != nullptr ? *m_dyeColors : Palette::dyeColors();
        colors = table.value(baseName);
    }
    QImage result = *base;
    if (!grade.isIdentity() || !colors.isEmpty()) {
        if (auto processed = recolored(*base, colors, dye, grade)) {
            result = *processed;
        }
    }
    m_cache.insert(k, result);
    return result;
}

QList<QImage> Sprite::frames(const QString& sheet, std::optional<double> dye, Grading grading) {
    const QString k = key(sheet, dye, grading);
    if (const auto it = m_sheets.constFind(k); it != m_sheets.constEnd()) {
        return *it;
    }
    QList<QImage> list;
    for (int i = 0;; ++i) {
        // The first missing frame ends the run; a run without any is a fault.
        const auto frame = processed(sheet + u'-' + QString::number(i), dye, grading, i == 0 ? Miss::fault : Miss::end);
        if (!frame) {
            break;
        }
        // A frame drawn the same as the one before shares its picture, so that turning to it is
        // seen to change nothing and costs no paint.
        if (!list.isEmpty() && *frame == list.back()) {
            list.append(list.back());
        } else {
            list.append(*frame);
        }
    }
    m_sheets.insert(k, list);
    return list;
}

Animation Sprite::flipbook(const QList<QImage>& frames, double perFrame) {
    return Animation::frames(frames, perFrame * static_cast<double>(frames.size())).repeat(Animation::kForever);
}

std::shared_ptr<Layer> Sprite::layer(const std::optional<QImage>& image) {
    std::shared_ptr<Layer> layer = Layer::create();
    layer->setAnchor({0.5, 0.0});
    if (image) {
        layer->show(*image);
    }
    return layer;
}

const QImage& Sprite::blank() {
    static const QImage image = [] {
        QImage i(1, 1, QImage::Format_RGBA8888_Premultiplied);
        i.fill(Qt::transparent);
        return i;
    }();
    return image;
}

namespace {

quint8 toByte(double x, int high) {
    // round() rounds halves away from zero, as the colour rules require
    return static_cast<quint8>(std::clamp(std::round(x), 0.0, static_cast<double>(high)));
}

} // namespace

std::optional<QImage> Sprite::recolored(const QImage& source, const QSet<quint32>& colors, std::optional<double> hue,
                                        const Grade& grade) {
    QImage image = source.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    if (image.isNull()) {
        return std::nullopt;
    }
    uchar* bits = image.bits();
    if (bits == nullptr) {
        return std::nullopt;
    }

    const bool dyeing = hue && std::isfinite(*hue) && !colors.isEmpty();
    double f = 0;
    int sector = 0;
    if (dyeing) {
        const double s = std::fmod(*hue / 60.0, 6.0);
        sector = static_cast<int>(std::floor(s)) % 6;
        f = s - std::floor(s);
    }
    const bool identity = grade.isIdentity();
    QHash<quint32, std::array<quint8, 3>> memo;

    for (int y = 0; y < image.height(); ++y) {
        uchar* px = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x, px += 4) {
            const quint8 a = px[3];
            if (a == 0) {
                continue;
            }
            quint8 r = px[0], g = px[1], b = px[2];
            const quint32 c = (quint32(r) << 16) | (quint32(g) << 8) | b;
            if (dyeing && colors.contains(c)) {
                auto it = memo.constFind(c);
                if (it == memo.constEnd()) {
                    const double R = r / 255.0, G = g / 255.0, B = b / 255.0;
                    const double v = std::max({R, G, B});
                    const double m = std::min({R, G, B});
                    const double sat = v > 0 ? (v - m) / v : 0.0;
                    const double p = v * (1 - sat);
                    const double q = v * (1 - f * sat);
                    const double t = v * (1 - (1 - f) * sat);
                    double nr, ng, nb;
                    switch (sector) {
                    case 0:
                        nr = v, ng = t, nb = p;
                        break;
                    case 1:
                        nr = q, ng = v, nb = p;
                        break;
                    case 2:
                        nr = p, ng = v, nb = t;
                        break;
                    case 3:
                        nr = p, ng = q, nb = v;
                        break;
                    case 4:
                        nr = t, ng = p, nb = v;
                        break;
                    default:
                        nr = v, ng = p, nb = q;
                        break;
                    }
                    it = memo.insert(c, {toByte(nr * 255, 255), toByte(ng * 255, 255), toByte(nb * 255, 255)});
                }
                r = (*it)[0];
                g = (*it)[1];
                b = (*it)[2];
            }
            if (!identity) {
                // Channels stay within alpha: a premultiplied byte above it would wrap when composited.
                r = toByte(grade.mulR * r + grade.addR, a);
                g = toByte(grade.mulG * g + grade.addG, a);
                b = toByte(grade.mulB * b + grade.addB, a);
            }
            px[0] = r;
            px[1] = g;
            px[2] = b;
        }
    }
    image.setDevicePixelRatio(source.devicePixelRatio());
    return image;
}

} // namespace pipfield
