#pragma once

#include <QImage>
#include <QString>

#include <initializer_list>
#include <utility>

/// A pixel grid drawn at 1x, y growing downwards; every art source paints on one of these.
class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height);

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    const QImage& image() const { return m_image; }

    void set(int x, int y, QRgb color);
    QRgb at(int x, int y) const;
    bool filled(int x, int y) const { return qAlpha(at(x, y)) != 0; }

    void rect(int x, int y, int w, int h, QRgb color);
    void hline(int x0, int x1, int y, QRgb color);
    void vline(int x, int y0, int y1, QRgb color);
    void line(int x0, int y0, int x1, int y1, QRgb color);
    /// Filled ellipse sampled at pixel centres, so small shapes stay symmetric.
    void ellipse(double cx, double cy, double rx, double ry, QRgb color);
    /// Filled ellipse lit from the upper left: light, body and shade bands.
    void shadedEllipse(double cx, double cy, double rx, double ry, QRgb light, QRgb body, QRgb shade);
    /// Gives every transparent pixel that touches a filled one (sideways, not diagonally) the colour.
    void outline(QRgb color);
    /// Draws a grid of characters; each character is looked up in the key, '.' and unknown ones stay clear.
    void grid(int x, int y, std::initializer_list<const char*> rows, std::initializer_list<std::pair<char, QRgb>> key);
    void blit(const Canvas& source, int x, int y, bool mirrored = false);
    void replace(QRgb from, QRgb to);
    /// Clears every pixel whose hash falls under `keep`: a cheap ordered fade for effects.
    void thin(int keepOutOf8, int seed);

private:
    QImage m_image;
};

/// A stable small hash for textures, so the art comes out the same on every build.
int pixelHash(int x, int y, int seed);
