#include "tables/GeneralEntityDlg.h"

#include "res/TablesDialogs.h"
#include "res/TablesResource.h"
#include "model/TableResets.h"

CGeneralEntityDlg::CGeneralEntityDlg(ui::Window* parent)
    : ui::Dialog(res::TablesDialogTemplate(IDD_GENERAL_ENTITY), parent) {}

void CGeneralEntityDlg::ResetGeneralEntity() { ::ResetGeneralEntity(); }

bool CGeneralEntityDlg::OnCommand(int id) {
    if (id == ui::IDOK) {
        OnOK();
        return true;
    }
    if (id == ui::IDCANCEL) {
        OnCancel();
        return true;
    }
    if (id != 0)
        if (ui::Window* parent = GetParentWindow()) parent->OnCommand(id);
    return ui::Dialog::OnCommand(id);
}
