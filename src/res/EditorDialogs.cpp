// Dialog templates of the transfer-block editor (dialog units, "MS Sans Serif" 8).
#include <vector>

#include "res/EditorResource.h"
#include "ui/DialogTemplate.h"
#include "ui/Types.h"

namespace res {

using ui::ControlKind;
namespace st = ui::style;
namespace ds = ui::dlgstyle;

void AddEditorDialogs(std::vector<ui::DialogTemplate>& out) {
    {
        ui::DialogTemplate t;
        t.id = IDD_ERROR_MESSAGES;
        t.caption = "Error Messages";
        t.cx = 186;
        t.cy = 95;
        t.styles = ds::kCaption | ds::kSysMenu | ds::kModalFrame | ds::kPopup;
        out.push_back(t);
    }
    {
        ui::DialogTemplate t;
        t.id = IDD_REGISTER_ADDRESS;
        t.caption = "Dialog";
        t.cx = 234;
        t.cy = 161;
        t.styles = ds::kCaption | ds::kSysMenu | ds::kModalFrame | ds::kCenter;
        const unsigned edit = st::kBorder | st::kAutoHScroll | st::kUpperCase | st::kHidden | st::kTabStop;
        const unsigned step = st::kHidden;
        t.controls = {
            {ControlKind::DropList, IDC_REGISTER_TYPE, "", 7, 6, 176, 69, st::kVScroll | st::kTabStop},
            {ControlKind::Label, IDC_ACCESS_TEXT, "", 187, 8, 40, 11, 0},
            {ControlKind::RadioButton, IDC_REGISTER_RADIO, "Register", 7, 30, 40, 9, st::kGroup | st::kTabStop},
            {ControlKind::RadioButton, IDC_BIT_ADDRESSED_RADIO, "Bit-Addressed Register", 62, 31, 88, 9, 0},
            {ControlKind::Label, -1, "Range:", 7, 47, 24, 9, 0},
            {ControlKind::Label, IDC_RANGE_TEXT, "", 43, 47, 142, 9, 0},
            {ControlKind::Edit, IDC_NUMBER_PART, "", 7, 70, 40, 13, edit},
            {ControlKind::Button, IDC_NUMBER_PART_UP, "+", 48, 66, 10, 10, step},
            {ControlKind::Button, IDC_NUMBER_PART_DOWN, "-", 48, 78, 10, 10, step},
            {ControlKind::Edit, IDC_COLON_PART, "", 62, 70, 40, 13, edit},
            {ControlKind::Button, IDC_COLON_PART_UP, "+", 104, 66, 10, 10, step},
            {ControlKind::Button, IDC_COLON_PART_DOWN, "-", 104, 78, 10, 10, step},
            {ControlKind::Edit, IDC_SLASH_PART, "", 119, 70, 40, 13, edit},
            {ControlKind::Button, IDC_SLASH_PART_UP, "+", 161, 66, 10, 10, step},
            {ControlKind::Button, IDC_SLASH_PART_DOWN, "-", 161, 78, 10, 10, step},
            {ControlKind::Edit, IDC_BIT_EDIT, "", 62, 70, 40, 13, edit},
            {ControlKind::Button, IDC_BIT_UP, "+", 104, 66, 10, 10, step},
            {ControlKind::Button, IDC_BIT_DOWN, "-", 104, 78, 10, 10, step},
            {ControlKind::Edit, IDC_BIT2_EDIT, "", 119, 70, 40, 13, edit},
            {ControlKind::Button, IDC_BIT2_UP, "+", 161, 66, 10, 10, step},
            {ControlKind::Button, IDC_BIT2_DOWN, "-", 161, 78, 10, 10, step},
            {ControlKind::Edit, IDC_BIT3_EDIT, "", 175, 71, 40, 13, edit},
            {ControlKind::Button, IDC_BIT3_UP, "+", 218, 66, 10, 10, step},
            {ControlKind::Button, IDC_BIT3_DOWN, "-", 218, 79, 10, 10, step},
            {ControlKind::Label, -1, "Address:", 7, 102, 28, 9, 0},
            {ControlKind::Label, IDC_ADDRESS_TEXT, " WX1000", 51, 101, 60, 11, st::kCenter},
            {ControlKind::DefButton, ui::IDOK, "&OK", 26, 133, 50, 15, st::kTabStop},
            {ControlKind::Button, ui::IDCANCEL, "&Cancel", 109, 133, 50, 15, st::kTabStop},
        };
        out.push_back(t);
    }
}

}  // namespace res
