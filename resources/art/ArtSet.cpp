#include "art/ArtSet.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QPainter>
#include <QSaveFile>

#include <algorithm>

void ArtSet::add(const QString& section, const QString& name, const Canvas& canvas) {
    m_images.insert(name, canvas.image());
    m_groups.push_back({section, name, {canvas.image()}, 0});
}

void ArtSet::addRun(const QString& section, const QString& run, const std::vector<Canvas>& frames) {
    Group group{section, run, {}, 0};
    for (std::size_t i = 0; i < frames.size(); ++i) {
        m_images.insert(run + "-" + QString::number(i), frames[i].image());
        group.images.push_back(frames[i].image());
    }
    m_groups.push_back(group);
}

void ArtSet::addDye(const QString& base, const QList<QRgb>& colors) {
    m_dye.insert(base, colors);
}

void ArtSet::addPreview(const QString& section, const QString& label, const QImage& image, int scale) {
    m_groups.push_back({section, label, {image}, scale});
}

QImage ArtSet::image(const QString& name) const {
    return m_images.value(name);
}

static bool writeText(const QString& path, const QByteArray& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(text);
    return file.commit();
}

bool ArtSet::write(const QString& directory) const {
    if (!QDir().mkpath(directory)) {
        return false;
    }
    QByteArray qrc = "<RCC>\n<qresource prefix=\"/art\">\n";
    for (auto it = m_images.cbegin(); it != m_images.cend(); ++it) {
        if (!it.value().save(directory + "/" + it.key() + ".png")) {
            return false;
        }
        qrc += "<file>" + it.key().toUtf8() + ".png</file>\n";
    }
    qrc += "</qresource>\n<qresource prefix=\"/\">\n<file>dye.json</file>\n</qresource>\n</RCC>\n";

    // One member per line keeps the table diffable when a colour moves.
    QByteArray dye = "{\n";
    for (auto it = m_dye.cbegin(); it != m_dye.cend(); ++it) {
        dye += "  \"" + it.key().toUtf8() + "\": [";
        for (qsizetype i = 0; i < it.value().size(); ++i) {
            dye += (i == 0 ? "\"" : ", \"") + QByteArray::number(it.value()[i] & 0xffffff, 16).rightJustified(6, '0') +
                   "\"";
        }
        dye += std::next(it) == m_dye.cend() ? "]\n" : "],\n";
    }
    dye += "}\n";
    return writeText(directory + "/dye.json", dye) && writeText(directory + "/art.qrc", qrc);
}

QImage ArtSet::contactSheet(int scale) const {
    constexpr int sheetWidth = 2400;
    constexpr int margin = 16;
    constexpr int gap = 14;
    constexpr int labelHeight = 16;
    constexpr int headerHeight = 30;
    const QColor background(0x3b, 0x44, 0x4b);
    const QColor checker(0x44, 0x4e, 0x56);

    struct Placed {
        const Group* group;
        int x, y, w, h;
    };
    std::vector<Placed> placed;
    std::vector<std::pair<QString, int>> headers;
    int x = margin;
    int y = margin;
    int rowHeight = 0;
    QString section;
    for (const Group& group : m_groups) {
        const int s = group.scale > 0 ? group.scale : scale;
        int w = 0;
        int h = 0;
        for (const QImage& image : group.images) {
            w += image.width() * s + (w > 0 ? 2 * s : 0);
            h = std::max(h, image.height() * s);
        }
        w = std::max(w, static_cast<int>(group.label.size()) * 7);
        if (group.section != section) {
            section = group.section;
            y += rowHeight + (placed.empty() ? 0 : gap);
            headers.emplace_back(section, y);
            y += headerHeight;
            x = margin;
            rowHeight = 0;
        }
        if (x + w > sheetWidth - margin && x > margin) {
            x = margin;
            y += rowHeight + gap;
            rowHeight = 0;
        }
        placed.push_back({&group, x, y, w, h});
        x += w + gap;
        rowHeight = std::max(rowHeight, h + labelHeight);
    }
    const int height = y + rowHeight + margin;

    QImage sheet(sheetWidth, height, QImage::Format_ARGB32);
    sheet.fill(background);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    QFont headerFont = font;
    headerFont.setPixelSize(18);
    headerFont.setBold(true);
    painter.setPen(QColor(0xf0, 0xe6, 0xc8));
    for (const auto& [title, top] : headers) {
        painter.setFont(headerFont);
        painter.drawText(margin, top + 20, title);
    }
    painter.setFont(font);
    for (const Placed& p : placed) {
        const int s = p.group->scale > 0 ? p.group->scale : scale;
        int ix = p.x;
        for (const QImage& image : p.group->images) {
            const QRect target(ix, p.y + p.h - image.height() * s, image.width() * s, image.height() * s);
            // A faint checker behind each frame shows the frame's extent and its transparent pixels.
            for (int cy = 0; cy < image.height(); ++cy) {
                for (int cx = 0; cx < image.width(); ++cx) {
                    if ((cx + cy) % 2 == 0) {
                        painter.fillRect(target.x() + cx * s, target.y() + cy * s, s, s, checker);
                    }
                }
            }
            painter.drawImage(target, image);
            ix += image.width() * s + 2 * s;
        }
        painter.setPen(QColor(0xd8, 0xd0, 0xb8));
        painter.drawText(p.x, p.y + p.h + 12, p.group->label);
    }
    return sheet;
}
