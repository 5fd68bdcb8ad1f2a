#include "tables/TableTips.h"

void SetOkCancelTips(ui::Window& dialog) {
    if (ui::Control* ok = dialog.GetDlgItem(ui::IDOK))
        ok->SetToolTip("Press this button to accept the settings you entered in this dialog.");
    if (ui::Control* cancel = dialog.GetDlgItem(ui::IDCANCEL))
        cancel->SetToolTip("Press this button to cancel the settings you entered in this dialog.");
}
