#pragma once
// The dialog templates of the program, by id.
#include "ui/DialogTemplate.h"

namespace res {

// The template with this id; null when there is none.
const ui::DialogTemplate* FindDialogTemplate(int id);

}  // namespace res
