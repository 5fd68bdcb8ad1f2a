#pragma once
// The accelerator tables of the main window: 128 (from the frame's creation) and 111
// (loaded when a project is configured); they bind the same keys.
#include "ui/Menu.h"

namespace res {

// The table with this id; empty for an id that has none.
const ui::AccelTable& AcceleratorTable(int id);

}  // namespace res
