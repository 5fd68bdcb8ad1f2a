// Dialog templates of the older block list (dialog units, "MS Sans Serif" 8).
#include <vector>

#include "res/OlderEditorResource.h"
#include "ui/DialogTemplate.h"
#include "ui/Types.h"

namespace res {

using ui::ControlKind;
namespace st = ui::style;
namespace ds = ui::dlgstyle;

ui::DialogTemplate AddressDialogTemplate() {
    ui::DialogTemplate t;
    t.id = IDD_ADDRESS;
    t.caption = "";  // set when the dialog opens
    t.cx = 200;
    t.cy = 130;
    t.styles = ds::kCaption | ds::kSysMenu | ds::kModalFrame | ds::kCenter;
    const unsigned edit = st::kBorder | st::kAutoHScroll | st::kUpperCase | st::kTabStop;
    t.controls = {
        {ControlKind::DropList, IDC_ADDRESS_REGISTER, "", 7, 7, 186, 80, st::kVScroll | st::kTabStop},
        {ControlKind::Label, -1, "Range:", 7, 28, 26, 9, 0},
        {ControlKind::Label, IDC_RANGE_TEXT, "", 40, 28, 153, 9, 0},
        {ControlKind::Edit, IDC_NUMBER_PART, "", 7, 48, 42, 13, edit},
        {ControlKind::Button, IDC_NUMBER_PART_UP, "+", 51, 44, 11, 10, 0},
        {ControlKind::Button, IDC_NUMBER_PART_DOWN, "-", 51, 56, 11, 10, 0},
        {ControlKind::Edit, IDC_COLON_PART, "", 70, 48, 42, 13, edit},
        {ControlKind::Button, IDC_COLON_PART_UP, "+", 114, 44, 11, 10, 0},
        {ControlKind::Button, IDC_COLON_PART_DOWN, "-", 114, 56, 11, 10, 0},
        {ControlKind::Edit, IDC_SLASH_PART, "", 133, 48, 42, 13, edit},
        {ControlKind::Button, IDC_SLASH_PART_UP, "+", 177, 44, 11, 10, 0},
        {ControlKind::Button, IDC_SLASH_PART_DOWN, "-", 177, 56, 11, 10, 0},
        {ControlKind::Label, -1, "Address:", 7, 80, 30, 9, 0},
        {ControlKind::Label, IDC_ADDRESS_TEXT, " WX1000", 40, 79, 90, 11, 0},
        {ControlKind::DefButton, ui::IDOK, "&OK", 36, 105, 50, 15, st::kTabStop},
        {ControlKind::Button, ui::IDCANCEL, "&Cancel", 114, 105, 50, 15, st::kTabStop},
    };
    return t;
}

void AddOlderEditorDialogs(std::vector<ui::DialogTemplate>& out) { out.push_back(AddressDialogTemplate()); }

}  // namespace res
