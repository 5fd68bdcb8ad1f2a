#include "settings/DynDialogEx.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "platform/Text.h"
#include "res/PortSettingsResource.h"
#include "ui/Backend.h"

namespace {

const char* const kClassNames[] = {
    "BUTTON",           "EDIT",           "STATIC",           "LISTBOX",
    "SCROLLBAR",        "COMBOBOX",       "msctls_updown32",  "msctls_progress32",
    "msctls_trackbar32", "msctls_hotkey32", "SysListView32",   "SysTreeView32",
    "SysTabControl32",  "SysAnimate32",   "RICHEDIT",         "SysDateTimePick32",
    "SysMonthCal32",    "SysIPAddress32", "ComboBoxEx32",
};
constexpr unsigned kFirstType = 128;
constexpr unsigned kTypeCount = sizeof(kClassNames) / sizeof(kClassNames[0]);

int g_nNextDlgItemId = 1024;

// The control of the window model that shows an item, with its styles; false for a
// class this program cannot show.
bool ControlOf(const CDynDialogItem& item, ui::ControlKind& kind, unsigned& styles) {
    using namespace dynstyle;
    namespace st = ui::style;
    styles = 0;
    if (!(item.m_dwStyle & WS_VISIBLE)) styles |= st::kHidden;
    if (item.m_dwStyle & WS_DISABLED) styles |= st::kDisabled;
    if (item.m_dwStyle & WS_GROUP) styles |= st::kGroup;
    if (item.m_dwStyle & WS_TABSTOP) styles |= st::kTabStop;
    if (item.m_dwStyle & WS_VSCROLL) styles |= st::kVScroll;
    if (item.m_dwStyleEx & WS_EX_CLIENTEDGE) styles |= st::kBorder;
    switch (item.m_nType) {
        case 128:  // BUTTON
            switch (item.m_dwStyle & BS_TYPEMASK) {
                case 0: kind = ui::ControlKind::Button; return true;
                case 1: kind = ui::ControlKind::DefButton; return true;
                case 2: case 3: case 5: case 6: kind = ui::ControlKind::CheckBox; return true;
                case 4: case 9: kind = ui::ControlKind::RadioButton; return true;
                case 7: kind = ui::ControlKind::GroupBox; return true;
                default: return false;
            }
        case 129:  // EDIT
            kind = ui::ControlKind::Edit;
            if (item.m_dwStyle & ES_READONLY) styles |= st::kReadOnly;
            if (item.m_dwStyle & ES_NUMBER) styles |= st::kNumber;
            if (item.m_dwStyle & ES_AUTOHSCROLL) styles |= st::kAutoHScroll;
            return true;
        case 130: kind = ui::ControlKind::Label; return true;
        case 131: kind = ui::ControlKind::ListBox; return true;
        case 133:  // COMBOBOX
            kind = (item.m_dwStyle & CBS_TYPEMASK) == 3 ? ui::ControlKind::DropList
                                                          : ui::ControlKind::DropDown;
            if (item.m_dwStyle & CBS_SORT) styles |= st::kSort;
            if (item.m_dwStyle & CBS_AUTOHSCROLL) styles |= st::kAutoHScroll;
            return true;
        case 134: kind = ui::ControlKind::Spin; return true;
        case 135: kind = ui::ControlKind::Progress; return true;
        case 138: kind = ui::ControlKind::ListView; return true;
        case 139: kind = ui::ControlKind::Tree; return true;
        case 140: kind = ui::ControlKind::Tab; return true;
        case 145:  // SysIPAddress32: the address as dotted text
            kind = ui::ControlKind::Edit;
            styles |= st::kAutoHScroll;
            return true;
        default: return false;
    }
}

}  // namespace

std::string ControlTypeToClassName(unsigned type) {
    if (type < kFirstType || type >= kFirstType + kTypeCount) return std::string();
    return kClassNames[type - kFirstType];
}

unsigned ClassNameToControlType(const std::string& className) {
    for (unsigned i = 0; i < kTypeCount; ++i) {
        const size_t n = std::strlen(kClassNames[i]);
        if (className.compare(0, n, kClassNames[i]) == 0) return kFirstType + i;
    }
    return 0;
}

CDynDialogEx::CDynDialogEx(ui::Window* parent)
    : ui::Dialog(ui::DialogTemplate{}, parent), m_pOwnerWnd(parent) {
    MutableTemplate().id = IDD_RUNTIME_DIALOG;
    m_mapItemIds.clear();
}

CDynDialogEx::~CDynDialogEx() = default;

int CDynDialogEx::GetNextItemId() {
    const int id = g_nNextDlgItemId++;
    if (g_nNextDlgItemId > 0xFFFF) g_nNextDlgItemId = 1024;  // ids are 16 bits in a template
    return id;
}

int CDynDialogEx::AddItem(const std::string& className, unsigned type, const std::string& caption,
                          unsigned style, unsigned exStyle, const ui::Rect* rect, void* data,
                          int id, bool inTemplate, int defaultRight) {
    const ui::Rect r = rect ? *rect : ui::Rect{20, m_nNextRow, defaultRight, m_nNextRow + 12};
    m_nNextRow += 12;
    // The dialog's area grows to cover the item.
    Header& h = m_tmplHeader;
    const int left = std::min(h.x, r.left), top = std::min(h.y, r.top);
    int right = h.x + h.cx, bottom = h.y + h.cy;
    if (r.right > right) right = r.right + 5;
    if (r.bottom > bottom) bottom = r.bottom + 5;
    h.x = left;
    h.y = top;
    h.cx = right - left;
    h.cy = bottom - top;

    auto item = std::make_unique<CDynDialogItem>();
    item->m_strClassName = className;
    item->m_nType = type;
    item->m_dwStyle = style;
    item->m_dwStyleEx = exStyle;
    item->m_rect = r;
    item->m_strCaption = caption;
    item->m_pData = data;
    item->m_bInTemplate = inTemplate;
    item->m_nID = unsigned(id != 0 ? id : GetNextItemId());
    const int result = int(item->m_nID);
    m_arrItems.push_back(std::move(item));
    return result;
}

int CDynDialogEx::AddDlgControl(const std::string& className, const std::string& caption,
                                unsigned style, unsigned exStyle, const ui::Rect* rect, void* data,
                                int id) {
    const int result = AddItem(className, ClassNameToControlType(className), caption, style, exStyle,
                               rect, data, id, false, 105);
    if (className != "STATIC") m_mapItemIds[m_nItemNumber] = result;
    return result;
}

int CDynDialogEx::AddDlgControl(unsigned type, const std::string& caption, unsigned style,
                                unsigned exStyle, const ui::Rect* rect, void* data, int id) {
    return AddItem(ControlTypeToClassName(type), type, caption, style, exStyle, rect, data, id,
                   false, 100);
}

int CDynDialogEx::AddSubclassedDlgControl(const std::string& className, const std::string& caption,
                                          unsigned style, unsigned exStyle, const ui::Rect* rect,
                                          int id) {
    const int result = AddItem(className, ClassNameToControlType(className), caption, style, exStyle,
                               rect, nullptr, id, true, 105);
    ++m_tmplHeader.cdit;
    return result;
}

ui::DialogTemplate CDynDialogEx::BuildTemplate() {
    ui::DialogTemplate t;
    t.id = IDD_RUNTIME_DIALOG;
    t.caption = m_strTitle;
    t.cx = m_tmplHeader.cx;
    t.cy = m_tmplHeader.cy;
    t.styles = ui::dlgstyle::kStandard;
    // The owner's font unless one was chosen.
    std::string face = m_strFontFace;
    int points = m_wFontPoints;
    if (face.empty()) face = m_pOwnerWnd ? m_pOwnerWnd->FontFace() : std::string("MS Sans Serif");
    if (points <= 0) points = m_pOwnerWnd ? m_pOwnerWnd->FontPoints() : 8;
    t.fontFace = face;
    t.fontPoints = points > 0 ? points : 8;
    for (const auto& item : m_arrItems) {
        ui::ControlKind kind;
        unsigned styles;
        if (!ControlOf(*item, kind, styles)) {
            ui::MessageBox("Failed to create DlgItem.", "", ui::MB_OK);
            continue;
        }
        t.controls.push_back({kind, int(item->m_nID), item->m_strCaption, item->m_rect.left,
                              item->m_rect.top, item->m_rect.Width(), item->m_rect.Height(), styles});
    }
    return t;
}

int CDynDialogEx::DoModal() {
    if (m_bWithOkCancel) {
        ui::Rect ok{20, m_nNextRow, 60, m_nNextRow + 14};
        if (m_nItemNumber != 1) {
            ok.top -= 20;
            ok.bottom -= 20;
        }
        ui::Rect cancel{ok.left + 55, ok.top, ok.right + 55, ok.bottom};
        const unsigned push = dynstyle::WS_CHILD | dynstyle::WS_VISIBLE | dynstyle::WS_TABSTOP;
        AddDlgControl(128u, "OK", push, 0, &ok, nullptr, ui::IDOK);
        AddDlgControl(128u, "Cancel", push, 0, &cancel, nullptr, ui::IDCANCEL);
    }
    MutableTemplate() = BuildTemplate();
    if (m_bModeless) return Create() ? ui::IDOK : -1;
    return ui::Dialog::DoModal();
}

bool CDynDialogEx::OnInitDialog() {
    if (m_nEntitySide == 1 || m_nEntitySide == 2) ShowExtendedSetupValues();
    return true;
}

void CDynDialogEx::OnOK() {
    if (m_bModeless) {
        DestroyWindow();
        return;
    }
    if ((m_nEntitySide == 1 || m_nEntitySide == 2) && !EncodeExtendedSetupValues())
        return;  // a value out of its range: the dialog stays open at that field
    EndDialog(ui::IDOK);
}

void CDynDialogEx::OnCancel() {
    if (m_bModeless) {
        DestroyWindow();
        return;
    }
    EndDialog(ui::IDCANCEL);
}

void CDynDialogEx::OnControlNotify(const ui::Event& event) {
    // Every notification of an item also reaches the owner, unless the owner has a
    // control of that id itself (ids of built dialogs keep growing and could meet the
    // owner's own).
    if (event.id != ui::IDOK && event.id != ui::IDCANCEL && event.id != 0 && m_pOwnerWnd &&
        !m_pOwnerWnd->GetDlgItem(event.id))
        m_pOwnerWnd->Dispatch(event);
    ui::Dialog::OnControlNotify(event);
}

int CDynDialogEx::ScaleValue(int value, int mode, int factor, int direction) {
    const std::int64_t v = value, f = factor;
    std::int64_t r = v;
    const bool storing = direction == 0;
    switch (mode) {
        case 1: r = storing ? v + f : v - f; break;
        case 2: r = storing ? v - f : v + f; break;
        case 3:
            if (storing) r = v * f;
            else r = f != 0 ? v / f : v;
            break;
        case 4:
            if (storing) r = f != 0 ? v / f : v;
            else r = v * f;
            break;
        default: break;
    }
    return int(std::clamp<std::int64_t>(r, INT_MIN, INT_MAX));
}
