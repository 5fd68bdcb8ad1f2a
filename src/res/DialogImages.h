#pragma once
// The pictures of the transfer and table dialogs, drawn in the style of the toolbars.
#include <memory>

#include "ui/Bitmap.h"

namespace res {

// The task list's icons 146 to 149 (16 x 16).
std::shared_ptr<const ui::Bitmap> TaskIcon(int id);
// The recipes' bitmap 387, the tag table's bitmap 344 and the icon of the default
// communication registers (32 x 32).
std::shared_ptr<const ui::Bitmap> TablesBitmap(int id);

}  // namespace res
