#include "art/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

Canvas::Canvas(int width, int height) : m_image(width, height, QImage::Format_ARGB32) {
    m_image.fill(0);
}

void Canvas::set(int x, int y, QRgb color) {
    if (x < 0 || y < 0 || x >= width() || y >= height()) {
        return;
    }
    m_image.setPixel(x, y, color);
}

QRgb Canvas::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) {
        return 0;
    }
    return m_image.pixel(x, y);
}

void Canvas::rect(int x, int y, int w, int h, QRgb color) {
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) {
            set(i, j, color);
        }
    }
}

void Canvas::hline(int x0, int x1, int y, QRgb color) {
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) {
        set(x, y, color);
    }
}

void Canvas::vline(int x, int y0, int y1, QRgb color) {
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y) {
        set(x, y, color);
    }
}

void Canvas::line(int x0, int y0, int x1, int y1, QRgb color) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        set(x0, y0, color);
        if (x0 == x1 && y0 == y1) {
            break;
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::ellipse(double cx, double cy, double rx, double ry, QRgb color) {
    shadedEllipse(cx, cy, rx, ry, color, color, color);
}

void Canvas::shadedEllipse(double cx, double cy, double rx, double ry, QRgb light, QRgb body, QRgb shade) {
    if (rx <= 0 || ry <= 0) {
        return;
    }
    const int x0 = static_cast<int>(std::floor(cx - rx)) - 1;
    const int x1 = static_cast<int>(std::ceil(cx + rx)) + 1;
    const int y0 = static_cast<int>(std::floor(cy - ry)) - 1;
    const int y1 = static_cast<int>(std::ceil(cy + ry)) + 1;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy > 1.0) {
                continue;
            }
            const double s = dx * 0.55 + dy * 0.8;
            set(x, y, s < -0.42 ? light : (s > 0.3 ? shade : body));
        }
    }
}

void Canvas::outline(QRgb color) {
    const QImage before = m_image;
    auto solid = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width() && y < height() && qAlpha(before.pixel(x, y)) != 0;
    };
    for (int y = 0; y < height(); ++y) {
        for (int x = 0; x < width(); ++x) {
            if (!solid(x, y) && (solid(x - 1, y) || solid(x + 1, y) || solid(x, y - 1) || solid(x, y + 1))) {
                m_image.setPixel(x, y, color);
            }
        }
    }
}

void Canvas::grid(int x, int y, std::initializer_list<const char*> rows,
                  std::initializer_list<std::pair<char, QRgb>> key) {
    int j = 0;
    for (const char* row : rows) {
        for (int i = 0; row[i] != '\0'; ++i) {
            for (const auto& [c, color] : key) {
                if (c == row[i]) {
                    set(x + i, y + j, color);
                    break;
                }
            }
        }
        ++j;
    }
}

void Canvas::blit(const Canvas& source, int x, int y, bool mirrored) {
    for (int j = 0; j < source.height(); ++j) {
        for (int i = 0; i < source.width(); ++i) {
            const QRgb c = source.at(mirrored ? source.width() - 1 - i : i, j);
            if (qAlpha(c) != 0) {
                set(x + i, y + j, c);
            }
        }
    }
}

void Canvas::replace(QRgb from, QRgb to) {
    for (int y = 0; y < height(); ++y) {
        for (int x = 0; x < width(); ++x) {
            if (m_image.pixel(x, y) == from) {
                m_image.setPixel(x, y, to);
            }
        }
    }
}

void Canvas::thin(int keepOutOf8, int seed) {
    for (int y = 0; y < height(); ++y) {
        for (int x = 0; x < width(); ++x) {
            if (pixelHash(x, y, seed) % 8 >= keepOutOf8) {
                m_image.setPixel(x, y, 0);
            }
        }
    }
}

int pixelHash(int x, int y, int seed) {
    unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u +
                 static_cast<unsigned>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<int>((h ^ (h >> 16)) & 0x7fffffff);
}
