#pragma once
// A bitmap in memory: width, height and 0xAARRGGBB pixels, top row first. Read from
// Windows .bmp files (1, 4, 8, 24 and 32 bits per pixel, uncompressed).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ui {

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // width * height, row by row from the top

    std::uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }

    // Reads a .bmp file; nullptr when it cannot be read or is not a bitmap we know.
    static std::shared_ptr<Bitmap> LoadFile(const std::string& path);
    // The same from the file's bytes.
    static std::shared_ptr<Bitmap> FromBmpBytes(const std::string& bytes);
    // A 24-bit .bmp file image of the bitmap.
    std::string ToBmpBytes() const;
};

}  // namespace ui
