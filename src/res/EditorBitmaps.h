#pragma once
// The block editor's small bitmaps, drawn here: the "+" and "-" step buttons of the
// register address dialog (an upward and a downward triangle, 11 x 10) and the Set
// Address button over an address cell (16 x 14: a small register table with a pointer).
#include <memory>

#include "ui/Bitmap.h"

namespace res {

// IDB_PART_UP, IDB_PART_DOWN or IDB_SET_ADDRESS; null for another id.
std::shared_ptr<const ui::Bitmap> EditorBitmap(int id);

}  // namespace res
