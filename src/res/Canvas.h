#pragma once
// The program's own drawing of its small images (toolbar buttons, list icons, the
// pictures of some dialogs): flat shapes in a few colours with black outlines, on a ground
// that shows through. A canvas paints one area of a bitmap.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "ui/Bitmap.h"

namespace res {

// The colours of the images.
constexpr std::uint32_t kInkBlack = 0xFF202020, kInkWhite = 0xFFFFFFFF, kInkGrey = 0xFF909090;
constexpr std::uint32_t kInkBlue = 0xFF1E5AB4, kInkGreen = 0xFF2E9E3E, kInkRed = 0xFFC8281E;
constexpr std::uint32_t kInkYellow = 0xFFE8C040, kInkPaper = 0xFFF4F4F0, kInkSteel = 0xFF6A7A8C;

class Canvas {
public:
    // The area of `width` x `height` pixels whose left edge is at x0; `hot` paints every
    // colour a little brighter (a button under the mouse).
    Canvas(ui::Bitmap& b, int x0, int width, int height, bool hot = false)
        : m_b(b), m_x0(x0), m_w(width), m_h(height), m_hot(hot) {}

    void Pixel(int x, int y, std::uint32_t c) {
        if (x < 0 || y < 0 || x >= m_w || y >= m_h) return;
        m_b.pixels[size_t(y) * size_t(m_b.width) + size_t(m_x0 + x)] = Shade(c);
    }
    void Fill(int x0, int y0, int x1, int y1, std::uint32_t c) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) Pixel(x, y, c);
    }
    void Frame(int x0, int y0, int x1, int y1, std::uint32_t c) {
        Line(x0, y0, x1, y0, c);
        Line(x0, y1, x1, y1, c);
        Line(x0, y0, x0, y1, c);
        Line(x1, y0, x1, y1, c);
    }
    void Line(int x0, int y0, int x1, int y1, std::uint32_t c, int thick = 1) {
        int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
        for (;;) {
            Fill(x0, y0, x0 + thick - 1, y0 + thick - 1, c);
            if (x0 == x1 && y0 == y1) break;
            int e2 = 2 * err;
            if (e2 >= dy) { err += dy; x0 += sx; }
            if (e2 <= dx) { err += dx; y0 += sy; }
        }
    }
    // A filled triangle (scan lines).
    void Triangle(int ax, int ay, int bx, int by, int cx, int cy, std::uint32_t c) {
        int minY = std::min({ay, by, cy}), maxY = std::max({ay, by, cy});
        for (int y = minY; y <= maxY; ++y) {
            double xs[3];
            int n = 0;
            auto edge = [&](int x0, int y0, int x1, int y1) {
                if ((y < y0) == (y < y1) || y0 == y1) return;
                if (n < 3) xs[n++] = x0 + double(y - y0) * (x1 - x0) / double(y1 - y0);
            };
            edge(ax, ay, bx, by);
            edge(bx, by, cx, cy);
            edge(cx, cy, ax, ay);
            if (n < 2) continue;
            double l = std::min(xs[0], xs[1]), r = std::max(xs[0], xs[1]);
            for (int x = int(std::floor(l)); x <= int(std::ceil(r)); ++x) Pixel(x, y, c);
        }
    }
    void Disc(int cx, int cy, int r, std::uint32_t c) {
        for (int y = -r; y <= r; ++y)
            for (int x = -r; x <= r; ++x)
                if (x * x + y * y <= r * r) Pixel(cx + x, cy + y, c);
    }
    // A sheet of paper with ruled lines, between x0..x1 and y0..y1.
    void Document(int x0, int y0, int x1, int y1) {
        Fill(x0, y0, x1, y1, kInkPaper);
        Frame(x0, y0, x1, y1, kInkBlack);
        for (int y = y0 + 4; y <= y1 - 4; y += 3) Line(x0 + 2, y, x1 - 2, y, kInkGrey);
    }

private:
    std::uint32_t Shade(std::uint32_t c) const {
        if (!m_hot) return c;
        auto up = [](std::uint32_t v) { return std::min<std::uint32_t>(255, v + (255 - v) / 6); };
        std::uint32_t r = up((c >> 16) & 0xFF), g = up((c >> 8) & 0xFF), b = up(c & 0xFF);
        return 0xFF000000u | (r << 16) | (g << 8) | b;
    }
    ui::Bitmap& m_b;
    int m_x0, m_w, m_h;
    bool m_hot;
};

// A bitmap of the given size, every pixel transparent.
inline std::shared_ptr<ui::Bitmap> ClearBitmap(int width, int height) {
    auto b = std::make_shared<ui::Bitmap>();
    b->width = width;
    b->height = height;
    b->pixels.assign(size_t(width) * size_t(height), 0x00000000u);
    return b;
}

}  // namespace res
