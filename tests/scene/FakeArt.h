#pragma once

#include "scene/Sprite.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QStringList>

#include <memory>

// A sprite source over a few synthetic images that records every name asked for.
struct FakeArt {
    QHash<QString, QImage> images;
    std::shared_ptr<QStringList> asked = std::make_shared<QStringList>();

    void add(const QString& name, QColor color = Qt::red, int width = 2, int height = 3) {
        QImage image(width, height, QImage::Format_RGBA8888_Premultiplied);
        image.fill(color);
        images.insert(name, image);
    }

    pipfield::Sprite::Source source() const {
        return [images = images, asked = asked](const QString& name) -> std::optional<QImage> {
            asked->append(name);
            return images.contains(name) ? std::optional(images.value(name)) : std::nullopt;
        };
    }
};
