#pragma once
// The images of the two toolbars, drawn here: one strip of 22-pixel cells, image i in
// cell i, magenta where the button shows through. The normal strip and the hot strip
// (brighter, for the button under the mouse).
#include "ui/Bitmap.h"

#include <memory>

namespace res {

constexpr int IDB_TOOLBAR = 165;
constexpr int IDB_TOOLBAR_HOT = 166;
constexpr int kToolbarCell = 22;
constexpr int kToolbarImageHeight = 20;
constexpr int kToolbarImages = 17;
constexpr std::uint32_t kToolbarMask = 0xFFFF00FFu;  // magenta

std::shared_ptr<const ui::Bitmap> ToolbarBitmap(int id);

}  // namespace res
