// The template of the transfer dialog (dialog units, "MS Sans Serif" 8) and its status icons.
#include <vector>

#include "res/TransferResource.h"
#include "ui/DialogTemplate.h"
#include "ui/Types.h"

namespace res {

using ui::ControlKind;
namespace st = ui::style;

void AddTransferDialogs(std::vector<ui::DialogTemplate>& out) {
    ui::DialogTemplate t;
    t.id = IDD_TRANSFER_TASKS;
    t.caption = "";
    t.cx = 330;
    t.cy = 236;
    t.controls = {
        {ControlKind::GroupBox, IDC_TASKS_GROUP, "Tasks", 7, 4, 150, 86, 0},
        {ControlKind::ListView, IDC_TASK_LIST, "", 14, 16, 136, 68,
         st::kCheckBoxes | st::kBorder | st::kFullRowSelect | st::kTabStop},
        {ControlKind::Button, IDC_SELECT_ALL, "Select &All", 166, 14, 70, 14, st::kTabStop},
        {ControlKind::Button, IDC_DESELECT_ALL, "D&eselect All", 166, 32, 70, 14, st::kTabStop},
        {ControlKind::Label, -1, "IBM Com Port :", 246, 8, 76, 9, 0},
        {ControlKind::DropList, IDC_COM_PORT, "", 246, 19, 76, 120, st::kVScroll | st::kTabStop},
        {ControlKind::ListBox, IDC_MESSAGE_LIST, "", 166, 52, 156, 100,
         st::kBorder | st::kVScroll | st::kTabStop},
        {ControlKind::Picture, IDC_LINE1_ICON, "", 10, 98, 10, 10, 0},
        {ControlKind::Label, IDC_LINE1_TEXT, "", 24, 99, 136, 9, 0},
        {ControlKind::Picture, IDC_LINE2_ICON, "", 10, 110, 10, 10, 0},
        {ControlKind::Label, IDC_LINE2_TEXT, "", 24, 111, 136, 9, 0},
        {ControlKind::Picture, IDC_LINE3_ICON, "", 10, 122, 10, 10, 0},
        {ControlKind::Label, IDC_LINE3_TEXT, "", 24, 123, 136, 9, 0},
        {ControlKind::Picture, IDC_LINE4_ICON, "", 10, 134, 10, 10, 0},
        {ControlKind::Label, IDC_LINE4_TEXT, "", 24, 135, 136, 9, 0},
        {ControlKind::Picture, IDC_LINE5_ICON, "", 10, 146, 10, 10, 0},
        {ControlKind::Label, IDC_LINE5_TEXT, "", 24, 147, 136, 9, 0},
        {ControlKind::Label, IDC_FILE_NAME, "", 7, 160, 316, 9, 0},
        {ControlKind::Progress, IDC_TRANSFER_PROGRESS, "", 7, 171, 316, 10, 0},
        {ControlKind::Label, IDC_SUMMARY, "", 7, 186, 316, 9, 0},
        {ControlKind::Button, IDC_DOWNLOAD, "&Download", 7, 212, 64, 14, st::kTabStop},
        {ControlKind::Button, IDC_UPLOAD_PROJECT, "&Upload Project", 78, 212, 72, 14, st::kTabStop},
        {ControlKind::Button, ui::IDCANCEL, "E&xit", 259, 212, 64, 14, st::kTabStop},
    };
    out.push_back(t);
    t.id = IDD_DOWNLOAD;  // the older products' dialog has the same controls
    out.push_back(t);
}

std::shared_ptr<const ui::Bitmap> StatusBitmap(int id) {
    // A disc on a transparent ground: grey ring when idle, green when done, red when failed.
    std::uint32_t fill, ring;
    switch (id) {
    case 187: fill = 0xFF20A040u, ring = 0xFF106020u; break;
    case 196: fill = 0xFFD02020u, ring = 0xFF801010u; break;
    case 188: fill = 0x00000000u, ring = 0xFF808080u; break;
    default: return nullptr;
    }
    auto bitmap = std::make_shared<ui::Bitmap>();
    bitmap->width = bitmap->height = 16;
    bitmap->pixels.assign(256, 0x00000000u);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int dx = 2 * x - 15, dy = 2 * y - 15, d = dx * dx + dy * dy;
            if (d <= 13 * 13) bitmap->pixels[size_t(y * 16 + x)] = d >= 10 * 10 ? ring : fill;
        }
    }
    return bitmap;
}

}  // namespace res
