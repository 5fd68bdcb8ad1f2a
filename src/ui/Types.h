#pragma once
// Basic types of the window model: rectangles, colours, the Windows result codes and
// message-box flags the screens are written with, key codes, control kinds and styles.
#include <cstdint>
#include <string>

namespace ui {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// 0x00BBGGRR, as the Windows colour values are written in the screens' descriptions.
using Color = std::uint32_t;
constexpr Color RGB(int r, int g, int b) {
    return Color(r & 0xFF) | (Color(g & 0xFF) << 8) | (Color(b & 0xFF) << 16);
}
constexpr int GetRValue(Color c) { return int(c & 0xFF); }
constexpr int GetGValue(Color c) { return int((c >> 8) & 0xFF); }
constexpr int GetBValue(Color c) { return int((c >> 16) & 0xFF); }
constexpr Color kDefaultColor = 0xFFFFFFFFu;  // "the toolkit's own colour"

// The frame's Help command: where F1 goes when no window on the way takes it.
constexpr int ID_HELP = 57670;

// Dialog results and button ids.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Message-box flags.
constexpr unsigned MB_OK = 0x0000;
constexpr unsigned MB_OKCANCEL = 0x0001;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x0002;
constexpr unsigned MB_YESNOCANCEL = 0x0003;
constexpr unsigned MB_YESNO = 0x0004;
constexpr unsigned MB_RETRYCANCEL = 0x0005;
constexpr unsigned MB_TYPEMASK = 0x000F;
constexpr unsigned MB_ICONHAND = 0x0010;
constexpr unsigned MB_ICONERROR = MB_ICONHAND;
constexpr unsigned MB_ICONSTOP = MB_ICONHAND;
constexpr unsigned MB_ICONQUESTION = 0x0020;
constexpr unsigned MB_ICONEXCLAMATION = 0x0030;
constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr unsigned MB_ICONASTERISK = 0x0040;
constexpr unsigned MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr unsigned MB_ICONMASK = 0x00F0;
constexpr unsigned MB_DEFBUTTON1 = 0x0000;
constexpr unsigned MB_DEFBUTTON2 = 0x0100;
constexpr unsigned MB_DEFBUTTON3 = 0x0200;
constexpr unsigned MB_DEFMASK = 0x0F00;

// Key codes of key-down events.
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70;
// Keys held during a click.
constexpr unsigned MK_SHIFT = 0x0004;
constexpr unsigned MK_CONTROL = 0x0008;

enum class ControlKind {
    Label,          // static text
    Edit,           // one- or multi-line edit
    Button,         // push button
    DefButton,      // default push button
    CheckBox,
    RadioButton,
    DropList,       // drop-down list without an edit field
    DropDown,       // drop-down combo with an edit field
    ListBox,
    ListView,       // report-style list view
    Tree,
    Spin,
    GroupBox,
    Picture,        // bitmap or frame
    Progress,
    Tab,
};

// Style flags of a control (a control keeps the ones that apply to its kind).
namespace style {
constexpr unsigned kGroup = 0x0001;       // starts a group (radio buttons)
constexpr unsigned kTabStop = 0x0002;
constexpr unsigned kDisabled = 0x0004;    // created disabled
constexpr unsigned kHidden = 0x0008;      // created hidden
constexpr unsigned kReadOnly = 0x0010;    // edit
constexpr unsigned kNumber = 0x0020;      // edit: digits only
constexpr unsigned kUpperCase = 0x0040;   // edit: typed letters become capitals
constexpr unsigned kMultiLine = 0x0080;   // edit
constexpr unsigned kWantReturn = 0x0100;  // edit: Enter goes to the edit
constexpr unsigned kSort = 0x0200;        // list box, combo: sorted entries
constexpr unsigned kBorder = 0x0400;
constexpr unsigned kVScroll = 0x0800;
constexpr unsigned kCenter = 0x1000;      // label: centred text
constexpr unsigned kRight = 0x2000;       // label: right-aligned text
constexpr unsigned kNotify = 0x4000;      // label, picture: sends clicks
constexpr unsigned kPassword = 0x8000;    // edit
constexpr unsigned kAutoHScroll = 0x10000;
constexpr unsigned kCheckBoxes = 0x20000; // list view: check box per row
constexpr unsigned kGridLines = 0x40000;  // list view
constexpr unsigned kFullRowSelect = 0x80000;
constexpr unsigned kSunken = 0x100000;    // label / picture frame
constexpr unsigned kExtendedSel = 0x200000;  // list view: several rows (Shift and Ctrl clicks)
constexpr unsigned kNoPaste = 0x400000;      // edit: a paste is ignored
}  // namespace style

// Notifications a control (or a command source) sends to its window's handler table.
enum class Notify {
    Clicked,     // button clicked, list-view cell clicked (row, col)
    RClick,      // right click (list view, tree)
    DblClk,      // double click (list box, list view, tree)
    Change,      // text changed (by the user or the program)
    SetFocus,
    KillFocus,
    SelChange,   // selection changed by the user (list box, combo, tree, tab)
    SelChanging, // tree: selection about to change by the user
    KeyDown,     // a key went down in the control (key)
    Command,     // menu / toolbar / accelerator command (id)
    Help,        // F1 in a window (id of the window)
    UpdateUI,    // is the command (id) enabled, checked, how is it named
    Scroll,      // a person scrolled a list view to another top row (row)
    CloseUp,     // a drop-down list's open list closed (by a pick or otherwise)
};

}  // namespace ui
