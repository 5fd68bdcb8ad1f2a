#include "res/EditorBitmaps.h"

#include "res/EditorResource.h"

namespace res {

namespace {

constexpr std::uint32_t kFace = 0xFFF0F0F0, kInk = 0xFF202020, kGrid = 0xFF8090A0;
constexpr std::uint32_t kPaper = 0xFFFFFFFF, kHead = 0xFF3C6EB4, kPointer = 0xFF2E9E3E;

std::shared_ptr<ui::Bitmap> Blank(int width, int height, std::uint32_t colour) {
    auto b = std::make_shared<ui::Bitmap>();
    b->width = width;
    b->height = height;
    b->pixels.assign(size_t(width) * size_t(height), colour);
    return b;
}

void Put(ui::Bitmap& b, int x, int y, std::uint32_t c) {
    if (x >= 0 && y >= 0 && x < b.width && y < b.height) b.pixels[size_t(y) * size_t(b.width) + size_t(x)] = c;
}

// A triangle of the step buttons: the point row first (up) or last (down).
std::shared_ptr<const ui::Bitmap> Triangle(bool up) {
    auto b = Blank(11, 10, kFace);
    for (int row = 0; row < 5; ++row) {
        const int y = up ? 2 + row : 7 - row;
        for (int x = 5 - row; x <= 5 + row; ++x) Put(*b, x, y, kInk);
    }
    return b;
}

std::shared_ptr<const ui::Bitmap> SetAddress() {
    auto b = Blank(16, 14, kFace);
    // A small table: a blue heading row and three rows of cells.
    for (int y = 1; y <= 11; ++y)
        for (int x = 1; x <= 10; ++x) Put(*b, x, y, y <= 3 ? kHead : kPaper);
    for (int x = 1; x <= 10; ++x) {
        Put(*b, x, 1, kInk);
        Put(*b, x, 11, kInk);
        Put(*b, x, 6, kGrid);
        Put(*b, x, 9, kGrid);
    }
    for (int y = 1; y <= 11; ++y) {
        Put(*b, 1, y, kInk);
        Put(*b, 10, y, kInk);
        Put(*b, 5, y, y > 3 ? kGrid : kHead);
    }
    // A pointer leaving the table to the right.
    for (int x = 8; x <= 12; ++x) Put(*b, x, 7, kPointer);
    for (int i = 0; i < 3; ++i)
        for (int y = 7 - i; y <= 7 + i; ++y) Put(*b, 15 - i, y, kPointer);
    return b;
}

}  // namespace

std::shared_ptr<const ui::Bitmap> EditorBitmap(int id) {
    static const auto up = Triangle(true);
    static const auto down = Triangle(false);
    static const auto setAddress = SetAddress();
    switch (id) {
        case IDB_PART_UP: return up;
        case IDB_PART_DOWN: return down;
        case IDB_SET_ADDRESS: return setAddress;
        default: return nullptr;
    }
}

}  // namespace res
