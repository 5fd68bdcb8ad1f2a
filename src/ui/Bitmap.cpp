#include "ui/Bitmap.h"

#include "platform/Files.h"
#include "platform/Paths.h"

namespace ui {

namespace {

constexpr std::int64_t kMaxPixels = std::int64_t(4096) * 2160;

std::uint32_t U16(const std::string& b, size_t at) {
    return std::uint32_t(std::uint8_t(b[at])) | (std::uint32_t(std::uint8_t(b[at + 1])) << 8);
}
std::uint32_t U32(const std::string& b, size_t at) { return U16(b, at) | (U16(b, at + 2) << 16); }
void Put16(std::string& b, std::uint32_t v) {
    b += char(v & 0xFF);
    b += char((v >> 8) & 0xFF);
}
void Put32(std::string& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

}  // namespace

std::shared_ptr<Bitmap> Bitmap::LoadFile(const std::string& path) {
    std::string bytes;
    if (!platform::ReadFileBytes(platform::ResolvePath(path), bytes, platform::kBitmapFileCap)) return nullptr;
    return FromBmpBytes(bytes);
}

std::shared_ptr<Bitmap> Bitmap::FromBmpBytes(const std::string& b) {
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return nullptr;
    const std::uint32_t dataOffset = U32(b, 10);
    const std::uint32_t headerSize = U32(b, 14);
    if (headerSize < 12 || 14 + size_t(headerSize) > b.size()) return nullptr;
    std::int64_t width, height;
    std::uint32_t bpp, compression = 0, colorsUsed = 0;
    if (headerSize == 12) {  // the old core header
        width = std::int16_t(U16(b, 18));
        height = std::int16_t(U16(b, 20));
        bpp = U16(b, 24);
    } else {
        if (b.size() < 54) return nullptr;
        width = std::int32_t(U32(b, 18));
        height = std::int32_t(U32(b, 22));
        bpp = U16(b, 28);
        compression = U32(b, 30);
        colorsUsed = U32(b, 46);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
    // A picture the program shows fills at most a screen: larger ones are refused before
    // their pixels are allocated (four bytes each).
    if (width * height > kMaxPixels) return nullptr;
    if (compression != 0 && !(compression == 3 && (bpp == 16 || bpp == 32))) return nullptr;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return nullptr;

    std::vector<std::uint32_t> palette;
    if (bpp <= 8) {
        const size_t entries = colorsUsed ? colorsUsed : (size_t(1) << bpp);
        const size_t entrySize = headerSize == 12 ? 3 : 4;
        const size_t at = 14 + headerSize;
        if (entries > 256 || at + entries * entrySize > b.size()) return nullptr;
        for (size_t i = 0; i < entries; ++i) {
            const size_t p = at + i * entrySize;
            palette.push_back(0xFF000000u | (std::uint32_t(std::uint8_t(b[p + 2])) << 16) |
                              (std::uint32_t(std::uint8_t(b[p + 1])) << 8) |
                              std::uint32_t(std::uint8_t(b[p])));
        }
    }
    const size_t stride = ((size_t(width) * bpp + 31) / 32) * 4;
    if (dataOffset > b.size() || b.size() - dataOffset < stride * size_t(height)) return nullptr;

    auto bmp = std::make_shared<Bitmap>();
    bmp->width = int(width);
    bmp->height = int(height);
    bmp->pixels.resize(size_t(width) * size_t(height));
    for (std::int64_t y = 0; y < height; ++y) {
        const size_t row = dataOffset + size_t(topDown ? y : height - 1 - y) * stride;
        for (std::int64_t x = 0; x < width; ++x) {
            std::uint32_t px = 0;
            if (bpp == 24 || bpp == 32) {
                const size_t p = row + size_t(x) * (bpp / 8);
                px = 0xFF000000u | (std::uint32_t(std::uint8_t(b[p + 2])) << 16) |
                     (std::uint32_t(std::uint8_t(b[p + 1])) << 8) | std::uint8_t(b[p]);
            } else {
                const size_t bit = size_t(x) * bpp;
                const std::uint8_t byte = std::uint8_t(b[row + bit / 8]);
                const unsigned shift = unsigned(8 - bpp - (bit % 8));
                const unsigned index = (byte >> shift) & ((1u << bpp) - 1);
                px = index < palette.size() ? palette[index] : 0xFF000000u;
            }
            bmp->pixels[size_t(y) * size_t(width) + size_t(x)] = px;
        }
    }
    return bmp;
}

std::string Bitmap::ToBmpBytes() const {
    const size_t stride = ((size_t(width) * 24 + 31) / 32) * 4;
    const std::uint32_t imageSize = std::uint32_t(stride * size_t(height));
    std::string b = "BM";
    Put32(b, 54 + imageSize);
    Put32(b, 0);
    Put32(b, 54);
    Put32(b, 40);
    Put32(b, std::uint32_t(width));
    Put32(b, std::uint32_t(height));
    Put16(b, 1);
    Put16(b, 24);
    Put32(b, 0);
    Put32(b, imageSize);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, 0);
    Put32(b, 0);
    for (int y = height - 1; y >= 0; --y) {
        size_t written = 0;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t px = At(x, y);
            b += char(px & 0xFF);
            b += char((px >> 8) & 0xFF);
            b += char((px >> 16) & 0xFF);
            written += 3;
        }
        b.append(stride - written, '\0');
    }
    return b;
}

}  // namespace ui
