// Dialog templates of the project settings (dialog units, "MS Sans Serif" 8), and the
// bitmaps of their "&Ok" and "&Cancel" buttons.
#include <cstdint>
#include <vector>

#include "res/SettingsResource.h"
#include "ui/Bitmap.h"
#include "ui/DialogTemplate.h"
#include "ui/Types.h"

namespace res {

using ui::ControlKind;
namespace st = ui::style;
namespace ds = ui::dlgstyle;

namespace {

constexpr int kNoId = -1;

const char* const kControlWordExplanation =
    "Control Word controls execution of blocks.\n"
    "Bit=1 Enables Block execution.\n"
    "Bit=0 Disables Block ececution.\n"
    "Bit0 in control word controls execution of Block 1 \n"
    "Bit1 in control word controls execution of Block 2 && so on.";
const char* const kControlWordExplanationEx =
    "Control Word controls execution of blocks.\n"
    "Bit=1 Enables Block execution.\n"
    "Bit=0 Disables Block execution.\n"
    "Bit0 in control word controls execution of Block 1 \n"
    "Bit1 in control word controls execution of Block 2 && so on.";
const char* const kErrorBitExplanation =
    "This feature enables user to detect communication break, wire faults, device power fail etc. at both ends of\n"
    "Quorvex.  Fault at Com1 end is reported to Com2 device and fault at Com2 end is reported to Com1 device,\n"
    ".";
const char* const kErrorBitTail =
    "by setting the bit in external device (Quorvex sets this bit when error occurs).";

struct PanelIds {
    const char* title;
    int list, range, number, colon, slash, numberUp, numberDown, colonUp, colonDown, slashUp,
        slashDown, address;
    int bit, bitUp, bitDown, bit3, bit3Up, bit3Down;
};

constexpr PanelIds kPlc1{"PLC1 ", IDC_CW_PLC1_REGISTER, IDC_CW_PLC1_RANGE, IDC_CW_PLC1_NUMBER,
                         IDC_CW_PLC1_COLON, IDC_CW_PLC1_SLASH, IDC_CW_PLC1_NUMBER_UP,
                         IDC_CW_PLC1_NUMBER_DOWN, IDC_CW_PLC1_COLON_UP, IDC_CW_PLC1_COLON_DOWN,
                         IDC_CW_PLC1_SLASH_UP, IDC_CW_PLC1_SLASH_DOWN, IDC_CW_PLC1_ADDRESS,
                         IDC_CW_PLC1_BIT, IDC_CW_PLC1_BIT_UP, IDC_CW_PLC1_BIT_DOWN,
                         IDC_CW_PLC1_BIT3, IDC_CW_PLC1_BIT3_UP, IDC_CW_PLC1_BIT3_DOWN};
constexpr PanelIds kPlc2{"PLC2", IDC_CW_PLC2_REGISTER, IDC_CW_PLC2_RANGE, IDC_CW_PLC2_NUMBER,
                         IDC_CW_PLC2_COLON, IDC_CW_PLC2_SLASH, IDC_CW_PLC2_NUMBER_UP,
                         IDC_CW_PLC2_NUMBER_DOWN, IDC_CW_PLC2_COLON_UP, IDC_CW_PLC2_COLON_DOWN,
                         IDC_CW_PLC2_SLASH_UP, IDC_CW_PLC2_SLASH_DOWN, IDC_CW_PLC2_ADDRESS,
                         IDC_CW_PLC2_BIT, IDC_CW_PLC2_BIT_UP, IDC_CW_PLC2_BIT_DOWN,
                         IDC_CW_PLC2_BIT3, IDC_CW_PLC2_BIT3_UP, IDC_CW_PLC2_BIT3_DOWN};

// One address panel in its group box at (x, y), 196 by `height`: the register list, the
// range, the three part fields with their "+" and "-" buttons and the composed address;
// the newer dialog also has a bit field in the place of the colon part and one in the
// place of the slash part.
void AddPanel(std::vector<ui::ControlTemplate>& c, const PanelIds& p, int x, int y, int height,
              bool bitFields) {
    const unsigned edit = st::kBorder | st::kAutoHScroll | st::kUpperCase | st::kHidden | st::kTabStop;
    const unsigned step = st::kHidden;
    const int fy = y + 41;  // the part fields' row
    c.push_back({ControlKind::GroupBox, kNoId, p.title, x, y, 196, height, 0});
    c.push_back({ControlKind::DropList, p.list, "", x + 7, y + 10, 182, 80, st::kVScroll | st::kTabStop});
    c.push_back({ControlKind::Label, kNoId, "Range:", x + 7, y + 27, 24, 8, 0});
    c.push_back({ControlKind::Label, p.range, "", x + 33, y + 27, 156, 8, 0});
    const int parts[3][3] = {{p.number, p.numberUp, p.numberDown},
                             {p.colon, p.colonUp, p.colonDown},
                             {p.slash, p.slashUp, p.slashDown}};
    for (int i = 0; i < 3; ++i) {
        const int px = x + 7 + 59 * i;
        c.push_back({ControlKind::Edit, parts[i][0], "", px, fy, 40, 13, edit});
        c.push_back({ControlKind::Button, parts[i][1], "+", px + 41, fy - 2, 10, 8, step});
        c.push_back({ControlKind::Button, parts[i][2], "-", px + 41, fy + 7, 10, 8, step});
    }
    if (bitFields) {
        const int bits[2][3] = {{p.bit, p.bitUp, p.bitDown}, {p.bit3, p.bit3Up, p.bit3Down}};
        for (int i = 0; i < 2; ++i) {
            const int px = x + 7 + 59 * (i + 1);
            c.push_back({ControlKind::Edit, bits[i][0], "", px, fy, 40, 13, edit});
            c.push_back({ControlKind::Button, bits[i][1], "+", px + 41, fy - 2, 10, 8, step});
            c.push_back({ControlKind::Button, bits[i][2], "-", px + 41, fy + 7, 10, 8, step});
        }
    }
    c.push_back({ControlKind::Label, kNoId, "Address:", x + 7, y + 64, 30, 8, 0});
    c.push_back({ControlKind::Label, p.address, "", x + 39, y + 64, 150, 8, 0});
}

// The blue address of a summary line and the sentence after it (two lines of room).
void AddSummary(std::vector<ui::ControlTemplate>& c, int address, int sentence, int y) {
    c.push_back({ControlKind::Label, address, "", 7, y, 88, 8, st::kRight});
    c.push_back({ControlKind::Label, sentence, "", 99, y, 306, 16, 0});
}

// The three summary lines, `step` apart: PLC1 error bit, control word, PLC2 error bit.
void AddSummaries(std::vector<ui::ControlTemplate>& c, int y, int step) {
    AddSummary(c, IDC_CW_ERR_BIT1, IDC_CW_ERR_BIT1_TEXT, y);
    AddSummary(c, IDC_CW_CTRL_WORD, IDC_CW_CTRL_WORD_TEXT, y + step);
    AddSummary(c, IDC_CW_ERR_BIT2, IDC_CW_ERR_BIT2_TEXT, y + 2 * step);
}

// The side radios and the two Enable boxes in the top line.
void AddTopLine(std::vector<ui::ControlTemplate>& c, int y) {
    c.push_back({ControlKind::CheckBox, IDC_CW_ENABLE1, "Enable", 14, y, 40, 10, st::kHidden | st::kTabStop});
    c.push_back({ControlKind::RadioButton, IDC_CW_COM1, "Com1", 70, y, 36, 10, st::kGroup | st::kTabStop});
    c.push_back({ControlKind::RadioButton, IDC_CW_COM2, "Com2", 112, y, 36, 10, 0});
    c.push_back({ControlKind::CheckBox, IDC_CW_ENABLE2, "Enable ", 216, y, 40, 10, st::kHidden | st::kTabStop});
}

// The explanations in their group box, "&Ok" and "&Cancel" under it.
void AddBottom(std::vector<ui::ControlTemplate>& c, int y, int height, int buttonsY,
               const char* controlWordText) {
    c.push_back({ControlKind::GroupBox, kNoId, "", 7, y, 398, height, 0});
    c.push_back({ControlKind::Label, IDC_CW_CTRL_WORD_HELP, controlWordText, 13, y + 7, 386, 42, 0});
    c.push_back({ControlKind::Label, IDC_CW_ERR_BIT_HELP, kErrorBitExplanation, 13, y + 7, 386, 26, 0});
    c.push_back({ControlKind::Label, kNoId, kErrorBitTail, 13, y + height - 11, 386, 8, 0});
    c.push_back({ControlKind::Button, IDC_CW_OK, "&Ok", 290, buttonsY, 55, 16, st::kTabStop | st::kGroup});
    c.push_back({ControlKind::DefButton, ui::IDOK, "&Cancel", 350, buttonsY, 55, 16, st::kTabStop});
}

}  // namespace

void AddSettingsDialogs(std::vector<ui::DialogTemplate>& out) {
    {
        ui::DialogTemplate t;
        t.id = IDD_CONTROL_WORD;
        t.caption = "Error Indication Bit Settng";
        t.cx = 415;
        t.cy = 281;
        t.styles = ds::kCaption | ds::kSysMenu | ds::kModalFrame | ds::kCenter;
        AddTopLine(t.controls, 8);
        AddPanel(t.controls, kPlc1, 7, 24, 84, false);
        AddPanel(t.controls, kPlc2, 212, 24, 84, false);
        AddSummaries(t.controls, 116, 20);
        AddBottom(t.controls, 180, 70, 258, kControlWordExplanation);
        out.push_back(t);
    }
    {
        ui::DialogTemplate t;
        t.id = IDD_CONTROL_WORD_EX;
        t.caption = "Dialog";
        t.cx = 412;
        t.cy = 238;
        t.styles = ds::kCaption | ds::kSysMenu | ds::kModalFrame | ds::kCenter;
        AddTopLine(t.controls, 5);
        t.controls.push_back({ControlKind::GroupBox, IDC_CW_STATION_GROUP, "", 7, 16, 398, 21, 0});
        t.controls.push_back({ControlKind::Label, IDC_CW_STATION_LABEL, "Station ID (0-255) :", 14, 25, 70, 8, 0});
        t.controls.push_back({ControlKind::Edit, IDC_CW_STATION_ID, "", 86, 23, 30, 12,
                              st::kBorder | st::kAutoHScroll | st::kTabStop});
        t.controls.push_back({ControlKind::Label, IDC_CW_WORDS_LABEL, "# Words  (1-16) :", 216, 25, 60, 8, 0});
        t.controls.push_back({ControlKind::Edit, IDC_CW_WORDS, "", 278, 23, 30, 12,
                              st::kBorder | st::kAutoHScroll | st::kTabStop});
        AddPanel(t.controls, kPlc1, 7, 40, 76, true);
        AddPanel(t.controls, kPlc2, 209, 40, 76, true);
        AddSummaries(t.controls, 118, 13);
        AddBottom(t.controls, 155, 58, 218, kControlWordExplanationEx);
        out.push_back(t);
    }
}

// ---------------------------------------------------------------------------------------
// The pictures on "&Ok" and "&Cancel": a green tick and a red cross, 12 by 12.

namespace {

constexpr std::uint32_t kClear = 0x00000000, kTick = 0xFF1E8C2E, kCross = 0xFFC8281E;

std::shared_ptr<const ui::Bitmap> Draw(bool tick) {
    auto b = std::make_shared<ui::Bitmap>();
    b->width = b->height = 12;
    b->pixels.assign(144, kClear);
    auto put = [&](int x, int y, std::uint32_t c) {
        if (x >= 0 && y >= 0 && x < 12 && y < 12) b->pixels[size_t(y) * 12 + size_t(x)] = c;
    };
    if (tick) {
        for (int i = 0; i < 4; ++i) {  // the short stroke down to the corner
            put(1 + i, 6 + i, kTick);
            put(1 + i, 5 + i, kTick);
        }
        for (int i = 0; i < 7; ++i) {  // the long stroke up to the right
            put(5 + i, 8 - i, kTick);
            put(5 + i, 9 - i, kTick);
        }
    } else {
        for (int i = 1; i < 11; ++i) {
            put(i, i, kCross);
            put(i + 1, i, kCross);
            put(11 - i, i, kCross);
            put(10 - i, i, kCross);
        }
    }
    return b;
}

}  // namespace

std::shared_ptr<const ui::Bitmap> SettingsBitmap(int id) {
    static const auto ok = Draw(true);
    static const auto cancel = Draw(false);
    switch (id) {
        case IDB_OK_BUTTON: return ok;
        case IDB_CANCEL_BUTTON: return cancel;
        default: return nullptr;
    }
}

}  // namespace res
