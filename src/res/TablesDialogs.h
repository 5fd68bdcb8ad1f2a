#pragma once
// The dialog templates of the extended data tables; their dialogs are built from them.
#include "ui/DialogTemplate.h"

namespace res {

// The template with this id (an empty one with that id when there is none).
ui::DialogTemplate TablesDialogTemplate(int id);

}  // namespace res
