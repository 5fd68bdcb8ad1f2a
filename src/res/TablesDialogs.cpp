// Dialog templates of the extended data tables (dialog units, "MS Sans Serif" 8).
#include <vector>

#include "res/TablesDialogs.h"
#include "res/TablesResource.h"
#include "ui/DialogTemplate.h"
#include "ui/Types.h"

namespace res {

using ui::ControlKind;
namespace st = ui::style;
namespace ds = ui::dlgstyle;

namespace {

void AddTablesDialogs(std::vector<ui::DialogTemplate>& out) {
    {
        ui::DialogTemplate t;
        t.id = IDD_GENERAL_ENTITY;
        t.caption = "General Entity";
        t.cx = 186;
        t.cy = 60;
        t.styles = ds::kStandard;
        t.controls = {
            {ControlKind::DefButton, ui::IDOK, "OK", 72, 38, 50, 14, st::kTabStop},
            {ControlKind::Button, ui::IDCANCEL, "Cancel", 129, 38, 50, 14, st::kTabStop},
        };
        out.push_back(t);
    }
    {
        ui::DialogTemplate t;
        t.id = IDD_DEF_COMM_REG;
        t.caption = "Default Communication Registers";
        t.cx = 396;
        t.cy = 214;
        t.styles = ds::kStandard;
        const unsigned list = st::kBorder | st::kGridLines | st::kTabStop;
        t.controls = {
            {ControlKind::GroupBox, -1, "Default Communication Registers", 7, 5, 382, 152, 0},
            {ControlKind::GroupBox, -1, "Com1", 14, 17, 182, 134, 0},
            {ControlKind::ListView, IDC_ATTACH_LIST_COM1, "", 20, 29, 170, 116, list},
            {ControlKind::GroupBox, -1, "Com2", 200, 17, 182, 134, 0},
            {ControlKind::ListView, IDC_ATTACH_LIST_COM2, "", 206, 29, 170, 116, list},
            {ControlKind::Label, -1, "Note  :", 7, 164, 26, 9, 0},
            {ControlKind::Label, -1,
             "This register is used to test communication with the device to see if device is connected "
             "and to check if settings are proper.",
             36, 164, 250, 18, 0},
            {ControlKind::Picture, IDC_DEF_COMM_REG_ICON, "", 300, 162, 21, 20, 0},
            {ControlKind::DefButton, ui::IDOK, "OK", 282, 192, 50, 14, st::kTabStop},
            {ControlKind::Button, ui::IDCANCEL, "Cancel", 339, 192, 50, 14, st::kTabStop},
        };
        out.push_back(t);
    }
    {
        ui::DialogTemplate t;
        t.id = IDD_RECIPE;
        t.caption = "Recipes";
        t.cx = 360;
        t.cy = 222;
        t.styles = ds::kStandard;
        t.controls = {
            {ControlKind::Label, -1, "To insert/delete row right click on the table.", 7, 6, 250, 9, 0},
            {ControlKind::ListView, IDC_RECIPE_GRID, "", 7, 18, 346, 140,
             st::kBorder | st::kGridLines | st::kFullRowSelect | st::kTabStop},
            {ControlKind::Label, -1, "Note  :", 7, 166, 26, 9, 0},
            {ControlKind::Label, -1,
             "This register are initialises with the default values when the device is Power ON.", 36, 166,
             250, 18, 0},
            {ControlKind::Picture, IDC_RECIPE_PICTURE, "", 332, 166, 21, 20, 0},
            {ControlKind::DefButton, ui::IDOK, "OK", 246, 200, 50, 14, st::kTabStop},
            {ControlKind::Button, ui::IDCANCEL, "Cancel", 303, 200, 50, 14, st::kTabStop},
        };
        out.push_back(t);
    }
    {
        ui::DialogTemplate t;
        t.id = IDD_ETHERNET_NODE_TABLE;
        t.caption = "Ethernet Node Table";
        t.cx = 300;
        t.cy = 236;
        t.styles = ds::kStandard;
        const unsigned field = st::kBorder | st::kNumber | st::kDisabled | st::kTabStop;
        const unsigned octet = st::kBorder | st::kNumber | st::kTabStop;
        t.controls = {
            {ControlKind::ListView, IDC_NODE_LIST, "", 7, 7, 286, 110,
             st::kBorder | st::kFullRowSelect | st::kTabStop},
            {ControlKind::GroupBox, -1, "Ethernet PLC Settings", 7, 122, 200, 84, 0},
            {ControlKind::Label, -1, "Node Address :", 14, 138, 56, 9, 0},
            {ControlKind::Edit, IDC_NODE_ADDRESS, "", 74, 136, 30, 13, field},
            {ControlKind::Label, -1, "( 1 - 255 )", 110, 138, 50, 9, 0},
            {ControlKind::Label, -1, "IP Address :", 14, 160, 56, 9, 0},
            {ControlKind::Edit, IDC_NODE_IP, "", 74, 158, 22, 13, octet},
            {ControlKind::Label, -1, ".", 97, 160, 4, 9, st::kCenter},
            {ControlKind::Edit, IDC_NODE_IP2, "", 102, 158, 22, 13, octet},
            {ControlKind::Label, -1, ".", 125, 160, 4, 9, st::kCenter},
            {ControlKind::Edit, IDC_NODE_IP3, "", 130, 158, 22, 13, octet},
            {ControlKind::Label, -1, ".", 153, 160, 4, 9, st::kCenter},
            {ControlKind::Edit, IDC_NODE_IP4, "", 158, 158, 22, 13, octet},
            {ControlKind::Label, -1, "Port Number :", 14, 182, 56, 9, 0},
            {ControlKind::Edit, IDC_NODE_PORT, "", 74, 180, 40, 13, field},
            {ControlKind::GroupBox, -1, "Settings", 214, 122, 79, 84, 0},
            {ControlKind::Button, IDC_NODE_CHANGE, "&Change", 228, 140, 50, 14, st::kTabStop},
            {ControlKind::Button, IDC_NODE_RESET, "&Reset", 228, 170, 50, 14, st::kTabStop},
            {ControlKind::DefButton, ui::IDOK, "OK", 186, 214, 50, 14, st::kTabStop},
            {ControlKind::Button, ui::IDCANCEL, "Cancel", 243, 214, 50, 14, st::kTabStop},
        };
        out.push_back(t);
    }
    {
        ui::DialogTemplate t;
        t.id = IDD_EIP_TAG_TABLE;
        t.caption = "Ethernet IP Tag Table";
        t.cx = 372;
        t.cy = 250;
        t.styles = ds::kStandard;
        t.controls = {
            {ControlKind::ListView, IDC_TAG_LIST, "", 7, 7, 358, 130,
             st::kBorder | st::kFullRowSelect | st::kTabStop},
            {ControlKind::GroupBox, -1, "Tag Addition", 7, 143, 358, 74, 0},
            {ControlKind::Label, -1, "Tag Name :", 16, 160, 40, 9, 0},
            {ControlKind::Edit, IDC_TAG_NAME, "", 60, 158, 150, 13, st::kBorder | st::kAutoHScroll | st::kTabStop},
            {ControlKind::Label, -1, "Type :", 16, 180, 40, 9, 0},
            {ControlKind::DropList, IDC_TAG_TYPE, "", 60, 178, 80, 120, st::kVScroll | st::kTabStop},
            {ControlKind::Label, -1, "Size :", 16, 200, 40, 9, 0},
            {ControlKind::Edit, IDC_TAG_SIZE, "", 60, 198, 40, 13,
             st::kBorder | st::kNumber | st::kAutoHScroll | st::kTabStop},
            {ControlKind::Button, IDC_TAG_ADD, "&Add", 230, 160, 50, 14, st::kTabStop},
            {ControlKind::Button, IDC_TAG_DELETE, "&Delete", 230, 184, 50, 14, st::kTabStop},
            {ControlKind::Picture, IDC_TAG_PICTURE, "", 310, 165, 21, 20, 0},
            {ControlKind::DefButton, ui::IDOK, "&Save", 201, 228, 50, 14, st::kTabStop},
            {ControlKind::Button, IDC_TAG_CONFIRM, "&Confirm", 258, 228, 50, 14, st::kTabStop},
            {ControlKind::Button, ui::IDCANCEL, "&E&xit", 315, 228, 50, 14, st::kTabStop},
        };
        out.push_back(t);
    }
}

}  // namespace

ui::DialogTemplate TablesDialogTemplate(int id) {
    static const std::vector<ui::DialogTemplate> all = [] {
        std::vector<ui::DialogTemplate> list;
        AddTablesDialogs(list);
        return list;
    }();
    for (const ui::DialogTemplate& t : all)
        if (t.id == id) return t;
    ui::DialogTemplate none;
    none.id = id;
    return none;
}

}  // namespace res
