#pragma once
// The tips the dialogs of the extended tables give their OK and Cancel buttons.
#include "ui/Window.h"

void SetOkCancelTips(ui::Window& dialog);
