#pragma once

#include "art/Canvas.h"

#include <QImage>
#include <QList>
#include <QMap>
#include <QString>

#include <vector>

/// Everything the art sources draw: named images, frame runs, the dye table and review-only previews.
class ArtSet {
public:
    void add(const QString& section, const QString& name, const Canvas& canvas);
    /// Stores the frames as `run-0`, `run-1`, ... so the run reads back by counting from 0.
    void addRun(const QString& section, const QString& run, const std::vector<Canvas>& frames);
    /// Colours in images of a sheet base that a dye may recolour.
    void addDye(const QString& base, const QList<QRgb>& colors);
    /// A picture shown only on the contact sheet, never bundled.
    void addPreview(const QString& section, const QString& label, const QImage& image, int scale);

    /// An image added earlier, or a null image.
    QImage image(const QString& name) const;

    /// Writes NAME.png for every image, dye.json and art.qrc listing them for the resource compiler.
    bool write(const QString& directory) const;
    QImage contactSheet(int scale) const;

private:
    struct Group {
        QString section;
        QString label;
        std::vector<QImage> images;
        int scale = 0; // 0: the sheet's scale
    };
    std::vector<Group> m_groups;
    QMap<QString, QImage> m_images;
    QMap<QString, QList<QRgb>> m_dye;
};
