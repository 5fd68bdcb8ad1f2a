// Dialog templates of the port settings (dialog units, "MS Sans Serif" 8): the PLC port
// settings, the PLC advance settings and the two pages of the Communication Setting sheet.
#include <vector>

#include "res/PortSettingsResource.h"
#include "ui/DialogTemplate.h"
#include "ui/Types.h"

namespace res {

using ui::ControlKind;
namespace st = ui::style;
namespace ds = ui::dlgstyle;

namespace {

void AddPortSettingsDialogs(std::vector<ui::DialogTemplate>& out) {
    const unsigned list = st::kVScroll | st::kTabStop;
    {
        ui::DialogTemplate t;
        t.id = IDD_PLC_PORT_SETTING;
        t.caption = "Dialog";
        t.cx = 246;
        t.cy = 128;
        t.controls = {
            {ControlKind::Label, -1, "PLC :", 7, 9, 50, 9, 0},
            {ControlKind::Label, IDC_PLC_NAME, "", 62, 9, 177, 9, 0},
            {ControlKind::Label, -1, "Baud Rate :", 7, 28, 50, 9, 0},
            {ControlKind::DropList, IDC_BAUD_RATE, "", 62, 26, 80, 80, list},
            {ControlKind::Label, -1, "Data Bits :", 7, 46, 50, 9, 0},
            {ControlKind::DropList, IDC_DATA_BITS, "", 62, 44, 80, 80, list},
            {ControlKind::Label, -1, "Parity Bit :", 7, 64, 50, 9, 0},
            {ControlKind::DropList, IDC_PARITY_BIT, "", 62, 62, 80, 80, list},
            {ControlKind::Label, -1, "Stop Bits :", 7, 82, 50, 9, 0},
            {ControlKind::DropList, IDC_STOP_BITS, "", 62, 80, 80, 80, list},
            {ControlKind::Button, IDC_PORT_ADVANCED, "&Advanced", 156, 25, 83, 14, st::kTabStop | st::kHidden},
            {ControlKind::Button, IDC_PLC_SPECIFIC_DATA, "&PLC  Specific Data", 156, 43, 83, 14,
             st::kTabStop | st::kHidden},
            {ControlKind::Button, IDC_PORT_DEFAULT, "&Default", 156, 61, 83, 14, st::kTabStop},
            {ControlKind::Button, ui::IDCANCEL, "&Cancel", 189, 104, 50, 14, st::kTabStop},
            {ControlKind::DefButton, ui::IDOK, "&OK", 133, 104, 50, 14, st::kTabStop},
        };
        out.push_back(t);
    }
    {
        ui::DialogTemplate t;
        t.id = IDD_PLC_ADVANCE_SETTING;
        t.caption = "PLC Advance Setting";
        t.cx = 236;
        t.cy = 118;
        t.controls = {
            {ControlKind::Label, IDC_ADV_NAME1, "", 7, 11, 92, 9, 0},
            {ControlKind::Edit, IDC_ADV_VALUE1, "", 104, 9, 32, 13, st::kBorder | st::kAutoHScroll | st::kTabStop},
            {ControlKind::RadioButton, IDC_ADV_YES, "Yes", 104, 10, 30, 10, st::kGroup | st::kTabStop},
            {ControlKind::RadioButton, IDC_ADV_NO, "No", 136, 10, 28, 10, 0},
            {ControlKind::Label, IDC_ADV_RANGE1, "", 168, 11, 61, 9, 0},
            {ControlKind::Label, IDC_ADV_NAME2, "", 7, 31, 92, 9, 0},
            {ControlKind::Edit, IDC_ADV_VALUE2, "", 104, 29, 32, 13,
             st::kBorder | st::kAutoHScroll | st::kTabStop | st::kGroup},
            {ControlKind::Label, IDC_ADV_RANGE2, "Static", 168, 31, 61, 9, 0},
            {ControlKind::Label, IDC_ADV_NAME3, "", 7, 51, 92, 9, 0},
            {ControlKind::Edit, IDC_ADV_VALUE3, "", 104, 49, 32, 13, st::kBorder | st::kAutoHScroll | st::kTabStop},
            {ControlKind::Label, IDC_ADV_RANGE3, "Static", 168, 51, 61, 9, 0},
            {ControlKind::Button, IDC_EXTENDED_SETUP, "&Extended Setup", 7, 72, 70, 14, st::kTabStop},
            {ControlKind::DefButton, ui::IDOK, "&OK", 123, 97, 50, 14, st::kTabStop},
            {ControlKind::Button, ui::IDCANCEL, "&Cancel", 179, 97, 50, 14, st::kTabStop},
        };
        out.push_back(t);
    }
    {
        ui::DialogTemplate t;
        t.id = IDD_PLC_GENERAL;
        t.caption = "General";
        t.cx = 230;
        t.cy = 126;
        t.styles = ds::kChild;
        t.controls = {
            {ControlKind::Edit, IDC_PLC_PAGE_COUNT, "", 7, 7, 20, 12, st::kHidden | st::kNumber},
            {ControlKind::Button, IDC_COMMUNICATION, "Communication", 70, 40, 90, 14, st::kTabStop},
            {ControlKind::Button, IDC_SHEET_SAVE, "Save", 70, 62, 90, 14, st::kTabStop},
        };
        out.push_back(t);
    }
    {
        ui::DialogTemplate t;
        t.id = IDD_PLC_CONFIG;
        t.caption = "";
        t.cx = 230;
        t.cy = 126;
        t.styles = ds::kChild;
        t.controls = {
            {ControlKind::Label, -1, "Protocol :", 7, 9, 50, 9, 0},
            {ControlKind::Label, IDC_PLC_NAME, "", 62, 9, 161, 9, 0},
            {ControlKind::Label, -1, "Baud Rate :", 7, 28, 50, 9, 0},
            {ControlKind::DropList, IDC_BAUD_RATE, "", 62, 26, 80, 80, list},
            {ControlKind::Label, -1, "Data Bits :", 7, 46, 50, 9, 0},
            {ControlKind::DropList, IDC_DATA_BITS, "", 62, 44, 80, 80, list},
            {ControlKind::Label, -1, "Parity Bit :", 7, 64, 50, 9, 0},
            {ControlKind::DropList, IDC_PARITY_BIT, "", 62, 62, 80, 80, list},
            {ControlKind::Label, -1, "Stop Bits :", 7, 82, 50, 9, 0},
            {ControlKind::DropList, IDC_STOP_BITS, "", 62, 80, 80, 80, list},
            {ControlKind::Label, -1, "Timeout(multiplier 200msec - 1 to 50):", 7, 103, 150, 9, 0},
            {ControlKind::Edit, IDC_PORT_TIMEOUT, "", 160, 101, 24, 13,
             st::kBorder | st::kNumber | st::kTabStop},
        };
        out.push_back(t);
    }
}

}  // namespace

const ui::DialogTemplate* PortSettingsTemplate(int id) {
    static const std::vector<ui::DialogTemplate> all = [] {
        std::vector<ui::DialogTemplate> list;
        AddPortSettingsDialogs(list);
        return list;
    }();
    for (const ui::DialogTemplate& t : all)
        if (t.id == id) return &t;
    return nullptr;
}

std::string PortPageCaption(int id) {
    switch (id) {
        case IDS_MASTER1: return "Master 1";
        case IDS_MASTER2: return "Master 2";
        case IDS_CONTROLLER: return "Controller";
        default: return std::string();
    }
}

}  // namespace res
