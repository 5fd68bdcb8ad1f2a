// Dialog templates of the application shell (dialog units, "MS Sans Serif" 8).
#include <vector>

#include "res/ShellResource.h"
#include "ui/DialogTemplate.h"

namespace res {

using ui::ControlKind;
namespace st = ui::style;
namespace ds = ui::dlgstyle;

void AddShellDialogs(std::vector<ui::DialogTemplate>& out) {
    {
        ui::DialogTemplate t;
        t.id = IDD_ABOUTBOX;
        t.caption = "Quorvex Setup Software";
        t.cx = 240;
        t.cy = 98;
        t.controls = {
            {ControlKind::Label, IDC_SOFTWARE_VERSION, "Quorvex Setup Software", 12, 10, 216, 18, 0},
            {ControlKind::Label, IDC_COMPANY_NAME, "", 12, 32, 216, 18, 0},
            {ControlKind::Label, IDC_COPYRIGHT, "", 12, 54, 216, 18, 0},
            {ControlKind::DefButton, ui::IDOK, "OK", 178, 77, 50, 14, st::kTabStop | st::kGroup},
        };
        out.push_back(t);
    }
    {
        ui::DialogTemplate t;
        t.id = IDD_SPLASH;
        t.caption = "";
        t.cx = 300;
        t.cy = 172;
        t.styles = ds::kPopup | ds::kBorder | ds::kCenter;
        t.controls = {
            {ControlKind::Picture, IDC_SPLASH_PICTURE, "", 0, 0, 300, 172, 0},
        };
        out.push_back(t);
    }
    {
        ui::DialogTemplate t;
        t.id = IDD_REFRESH;
        t.caption = "";
        t.cx = 1;
        t.cy = 1;
        t.styles = ds::kPopup | ds::kHidden;
        out.push_back(t);
    }
    {
        ui::DialogTemplate t;
        t.id = IDD_PROJECT_INFO;
        t.caption = "Project Information";
        t.cx = 310;
        t.cy = 236;
        t.controls = {
            {ControlKind::GroupBox, IDC_STATIC, "Protocols", 7, 4, 296, 56, 0},
            {ControlKind::Label, IDC_STATIC, "COM1 Protocol :", 14, 16, 62, 9, 0},
            {ControlKind::Label, IDC_COM1_PROTOCOL, "", 78, 16, 220, 9, 0},
            {ControlKind::Label, IDC_STATIC, "COM1 Model :", 14, 27, 62, 9, 0},
            {ControlKind::Label, IDC_COM1_MODEL, "", 78, 27, 220, 9, 0},
            {ControlKind::Label, IDC_STATIC, "COM2 Protocol :", 14, 38, 62, 9, 0},
            {ControlKind::Label, IDC_COM2_PROTOCOL, "", 78, 38, 220, 9, 0},
            {ControlKind::Label, IDC_STATIC, "COM2 Model :", 14, 49, 62, 9, 0},
            {ControlKind::Label, IDC_COM2_MODEL, "", 78, 49, 220, 9, 0},
            {ControlKind::Label, IDC_STATIC, "Project Path :", 7, 68, 62, 9, 0},
            {ControlKind::Edit, IDC_PROJECT_PATH, "", 70, 66, 233, 13,
             st::kReadOnly | st::kBorder | st::kAutoHScroll},
            {ControlKind::Label, IDC_STATIC, "Author :", 7, 86, 62, 9, 0},
            {ControlKind::Edit, IDC_PROJECT_AUTHOR, "", 70, 84, 233, 13,
             st::kBorder | st::kAutoHScroll | st::kTabStop},
            {ControlKind::Label, IDC_STATIC, "Title :", 7, 104, 62, 9, 0},
            {ControlKind::Edit, IDC_PROJECT_TITLE, "", 70, 102, 233, 13,
             st::kBorder | st::kAutoHScroll | st::kTabStop},
            {ControlKind::Label, IDC_STATIC, "Description :", 7, 122, 62, 9, 0},
            {ControlKind::Edit, IDC_PROJECT_DESCRIPTION, "", 70, 120, 233, 52,
             st::kBorder | st::kMultiLine | st::kWantReturn | st::kVScroll | st::kTabStop},
            {ControlKind::Label, IDC_STATIC, "Created :", 7, 180, 62, 9, 0},
            {ControlKind::Label, IDC_PROJECT_CREATED, "", 70, 180, 233, 9, 0},
            {ControlKind::Label, IDC_STATIC, "Modified :", 7, 193, 62, 9, 0},
            {ControlKind::Label, IDC_PROJECT_MODIFIED, "", 70, 193, 233, 9, 0},
            {ControlKind::DefButton, ui::IDOK, "OK", 196, 215, 50, 14, st::kTabStop},
            {ControlKind::Button, IDC_PROJECT_INFO_CANCEL, "Cancel", 253, 215, 50, 14,
             st::kTabStop},
        };
        out.push_back(t);
    }
    {
        ui::DialogTemplate t;
        t.id = IDD_VERSION_MISMATCH;
        t.caption = "Warning : Project version mismatch";
        t.cx = 250;
        t.cy = 200;
        t.controls = {
            {ControlKind::Label, IDC_STATIC,
             "You are trying to open a project that is created using old version of the "
             "software. Please select the appropriate product for wihch you want to "
             "open/upload this project.\n\nYou must save the project to make it compatible "
             "with this version.",
             7, 7, 236, 58, 0},
            {ControlKind::ListBox, IDC_PRODUCT_LIST, "", 7, 70, 236, 102,
             st::kBorder | st::kVScroll | st::kNotify | st::kTabStop},
            {ControlKind::DefButton, ui::IDOK, "OK", 136, 179, 50, 14, st::kTabStop},
            {ControlKind::Button, ui::IDCANCEL, "Cancel", 193, 179, 50, 14, st::kTabStop},
        };
        out.push_back(t);
    }
}

}  // namespace res
