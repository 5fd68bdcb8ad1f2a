#pragma once
// Resource ids of the older block list: the list, its in-place controls and the address
// dialog. The address dialog's part controls share their numbers with the register
// address dialog (res/EditorResource.h).
#include <vector>

#include "res/EditorResource.h"
#include "ui/DialogTemplate.h"

// The older block list fills its pane; the in-place controls over its cells.
constexpr int IDC_OLDER_BLOCK_LIST = 59648;
constexpr int IDC_BLOCK_CELL_EDIT = 3;
constexpr int IDC_BLOCK_CELL_COMBO = 8;
// IDC_SOURCE_ADDR_BUTTON (1) and IDC_DEST_ADDR_BUTTON (2) sit on the edited row.

// The address dialog of the older block list.
constexpr int IDD_ADDRESS = 138;
constexpr int IDC_ADDRESS_REGISTER = 1002;  // register names of the port
// IDC_NUMBER_PART 1007, IDC_COLON_PART 1008, IDC_SLASH_PART 1009, their step buttons
// 1010-1015, IDC_ADDRESS_TEXT 1016 and IDC_RANGE_TEXT 1017 as in the register address dialog.

namespace res {
// The address dialog's template (the dialog builds itself from it), and the list of the
// older editor's templates for the program's template table.
ui::DialogTemplate AddressDialogTemplate();
void AddOlderEditorDialogs(std::vector<ui::DialogTemplate>& out);
}  // namespace res
