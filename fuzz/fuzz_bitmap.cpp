// Bitmaps shown by the program (the splash screen) are files of the program tree: any
// bytes must load or be refused without a crash, a read past the file or a huge
// allocation.
#include "ui/Bitmap.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (auto bmp = ui::Bitmap::FromBmpBytes(bytes))
        if (bmp->pixels.size() != size_t(bmp->width) * size_t(bmp->height)) __builtin_trap();
    return 0;
}
