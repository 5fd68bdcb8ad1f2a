#include "ui/Controls.h"

#include <cmath>

#include <algorithm>
#include <cctype>
#include <strings.h>

#include "ui/Backend.h"
#include "ui/Window.h"

namespace ui {

namespace {

bool IsEditKind(ControlKind k) { return k == ControlKind::Edit || k == ControlKind::DropDown; }

std::string ToUpper1252(std::string s) {
    for (char& ch : s) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 'a' && c <= 'z') ch = char(c - 32);
    }
    return s;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

bool PrefixNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           strncasecmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

}  // namespace

Control::Control(Window* owner, ControlKind kind, int id, std::string text, Rect rect,
                 unsigned styles)
    : m_owner(owner), m_kind(kind), m_id(id), m_text(std::move(text)), m_rect(rect),
      m_style(styles) {
    m_enabled = !(styles & style::kDisabled);
    m_visible = !(styles & style::kHidden);
}

void Control::Changed(Aspect aspect, int index) {
    if (m_owner && m_owner->Peer()) m_owner->Peer()->ControlChanged(*this, aspect, index);
}

bool Control::Raise(Notify code, int key, int row, int col, std::intptr_t item) {
    if (!m_owner) return false;
    Event e{code, m_id, key, row, col, item, this};
    m_owner->OnControlNotify(e);
    return true;
}

void Control::RaiseChange() { Raise(Notify::Change); }

void Control::MoveWindow(const Rect& rect) {
    m_rect = rect;
    Changed(Aspect::Geometry);
}

void Control::ModifyStyle(unsigned remove, unsigned add) {
    m_style = (m_style & ~remove) | add;
    Changed(Aspect::Style);
}

void Control::SetWindowText(const std::string& text) {
    m_text = text;
    const int len = int(m_text.size());
    if (m_selStart > len) m_selStart = len;
    if (m_selEnd > len) m_selEnd = len;
    Changed(Aspect::Text);
    if (IsEditKind(m_kind)) RaiseChange();
}

void Control::SetTextQuiet(const std::string& text) {
    if (m_text == text) return;
    m_text = text;
    m_selStart = m_selEnd = 0;
    Changed(Aspect::Text);
}

void Control::LimitText(int chars) {
    m_limit = chars < 0 ? 0 : chars;
    Changed(Aspect::Limit);
}

void Control::SetReadOnly(bool readOnly) {
    ModifyStyle(readOnly ? 0 : style::kReadOnly, readOnly ? style::kReadOnly : 0);
}

void Control::SetSel(int start, int end) {
    const int len = int(m_text.size());
    if (end < 0 || end > len) end = len;
    if (start < 0) start = 0;
    if (start > len) start = len;
    m_selStart = start;
    m_selEnd = end;
    Changed(Aspect::Caret);
}

void Control::EnableWindow(bool enable) {
    if (m_enabled == enable) return;
    m_enabled = enable;
    Changed(Aspect::Enabled);
}

void Control::ShowWindow(bool show) {
    if (m_visible == show) return;
    m_visible = show;
    Changed(Aspect::Visible);
}

void Control::SetFocus() {
    if (m_owner) m_owner->SetFocusTo(this, false);
}

bool Control::HasFocus() const { return m_owner && m_owner->GetFocus() == this; }

void Control::SetCheck(int check) {
    m_check = check;
    Changed(Aspect::Check);
}

void Control::SetRange(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
    Changed(Aspect::Range);
}

void Control::SetPos(int pos) {
    m_pos = pos;
    Changed(Aspect::Range);
}

void Control::SetBitmap(std::shared_ptr<const Bitmap> bitmap) {
    m_bitmap = std::move(bitmap);
    Changed(Aspect::Bitmap);
}

void Control::SetColors(Color text, Color background, bool transparent) {
    m_textColor = text;
    m_bkColor = background;
    m_transparent = transparent;
    Changed(Aspect::Colors);
}

void Control::SetToolTip(const std::string& text) {
    m_toolTip = text;
    Changed(Aspect::ToolTip);
}

bool Control::CanTakeInput() const {
    return m_owner && m_owner->IsLive() && m_enabled && m_visible;
}

bool Control::UserFocus() {
    if (!CanTakeInput()) return false;
    switch (m_kind) {
        case ControlKind::Label:
        case ControlKind::GroupBox:
        case ControlKind::Picture:
        case ControlKind::Progress:
            return true;  // they take no focus
        default:
            break;
    }
    m_owner->SetFocusTo(this, true);
    return true;
}

bool Control::CancelsItsDialog() const {
    return (m_kind == ControlKind::Button || m_kind == ControlKind::DefButton) && m_owner &&
           m_owner->ClickCancels(m_id);
}

bool Control::UserClick() {
    if (!CanTakeInput()) return false;
    const int boxes = MessageBoxesShown();
    UserFocus();
    if (!CanTakeInput()) return false;  // the kill-focus handling may have changed it
    // A field left by this press that refused its text with a message box ends the press:
    // the button does not act on the corrected text the person has not seen yet (a button
    // that cancels takes no text, and still cancels).
    if ((m_kind == ControlKind::Button || m_kind == ControlKind::DefButton) && !CancelsItsDialog() &&
        MessageBoxesShown() != boxes)
        return true;
    switch (m_kind) {
        case ControlKind::CheckBox:
            SetCheck(m_check ? 0 : 1);
            break;
        case ControlKind::RadioButton: {
            // Auto radio button: checks itself, unchecks the others of its group.
            const auto& controls = m_owner->Controls();
            auto self = std::find_if(controls.begin(), controls.end(),
                                     [this](const auto& c) { return c.get() == this; });
            if (self != controls.end()) {
                auto first = self;
                while (first != controls.begin() && !((*first)->m_style & style::kGroup) &&
                       (*(first - 1))->m_kind == ControlKind::RadioButton)
                    --first;
                for (auto it = first; it != controls.end(); ++it) {
                    if (it != first && ((*it)->m_style & style::kGroup)) break;
                    if ((*it)->m_kind != ControlKind::RadioButton) break;
                    if (it->get() != this && (*it)->m_check) (*it)->SetCheck(0);
                }
            }
            SetCheck(1);
            break;
        }
        case ControlKind::Label:
        case ControlKind::Picture:
            if (!(m_style & style::kNotify)) return true;
            break;
        case ControlKind::Edit:
        case ControlKind::GroupBox:
        case ControlKind::Progress:
            return true;
        default:
            break;
    }
    Raise(Notify::Clicked);
    return true;
}

bool Control::UserType(const std::string& typed) {
    if (!CanTakeInput() || !IsEditKind(m_kind) || (m_style & style::kReadOnly)) return false;
    UserFocus();
    std::string text;
    for (char ch : typed) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if ((m_style & style::kNumber) && !std::isdigit(c)) continue;  // refused
        if (m_limit > 0 && int(text.size()) >= m_limit) break;
        text += ch;
    }
    if (m_style & style::kUpperCase) text = ToUpper1252(text);
    m_text = text;
    m_selStart = m_selEnd = int(text.size());
    Changed(Aspect::Text);
    RaiseChange();
    return true;
}

void Control::UserEdited(const std::string& text) {
    if (m_text == text) return;
    m_text = text;
    m_selStart = m_selEnd = int(text.size());
    RaiseChange();
}

bool Control::UserKey(int vk) {
    if (!CanTakeInput()) return false;
    UserFocus();
    return m_owner->UserKey(this, vk);
}

// ---------------------------------------------------------------------------------------
// ListControl

void ListControl::SyncText() {
    // The shown text of a combo follows its selection; that is reported by SelChange,
    // not by a change event.
    if (Kind() == ControlKind::ListBox) return;
    SetTextQuiet(m_cur >= 0 ? m_items[size_t(m_cur)].text : std::string());
}

int ListControl::AddString(const std::string& text) {
    size_t at = m_items.size();
    if (HasStyle(style::kSort)) {
        at = size_t(std::upper_bound(m_items.begin(), m_items.end(), text,
                                     [](const std::string& t, const Item& it) {
                                         return strcasecmp(t.c_str(), it.text.c_str()) < 0;
                                     }) -
                    m_items.begin());
    }
    m_items.insert(m_items.begin() + std::ptrdiff_t(at), Item{text, 0});
    if (m_cur >= int(at)) ++m_cur;
    Changed(Aspect::Items);
    return int(at);
}

int ListControl::InsertString(int index, const std::string& text) {
    if (index < -1 || index > GetCount()) return LB_ERR;
    const size_t at = index == -1 ? m_items.size() : size_t(index);
    m_items.insert(m_items.begin() + std::ptrdiff_t(at), Item{text, 0});
    if (m_cur >= int(at)) ++m_cur;
    Changed(Aspect::Items);
    return int(at);
}

int ListControl::DeleteString(int index) {
    if (index < 0 || index >= GetCount()) return LB_ERR;
    m_items.erase(m_items.begin() + index);
    if (m_cur == index) {
        m_cur = -1;
        SyncText();
    } else if (m_cur > index) {
        --m_cur;
    }
    Changed(Aspect::Items);
    return GetCount();
}

void ListControl::ResetContent() {
    m_items.clear();
    m_cur = -1;
    SyncText();
    Changed(Aspect::Items);
}

std::string ListControl::GetLBText(int index) const {
    if (index < 0 || index >= GetCount()) return std::string();
    return m_items[size_t(index)].text;
}

int ListControl::SetItemData(int index, std::uint32_t data) {
    if (index < 0 || index >= GetCount()) return LB_ERR;
    m_items[size_t(index)].data = data;
    return 0;
}

std::uint32_t ListControl::GetItemData(int index) const {
    if (index < 0 || index >= GetCount()) return 0xFFFFFFFFu;
    return m_items[size_t(index)].data;
}

int ListControl::SetCurSel(int index) {
    const bool bad = index < -1 || index >= GetCount();
    m_cur = bad ? -1 : index;
    SyncText();
    Changed(Aspect::Selection);
    return bad || index == -1 ? LB_ERR : index;
}

int ListControl::FindStringExact(int startAfter, const std::string& text) const {
    const int n = GetCount();
    for (int k = 1; k <= n; ++k) {
        const int i = (startAfter + k + n) % n;
        if (startAfter < -1) break;
        if (EqualNoCase(m_items[size_t(i)].text, text)) return i;
    }
    return LB_ERR;
}

int ListControl::FindString(int startAfter, const std::string& prefix) const {
    const int n = GetCount();
    for (int k = 1; k <= n; ++k) {
        const int i = (startAfter + k + n) % n;
        if (PrefixNoCase(m_items[size_t(i)].text, prefix)) return i;
    }
    return LB_ERR;
}

int ListControl::SelectString(int startAfter, const std::string& prefix) {
    const int i = FindString(startAfter, prefix);
    if (i == LB_ERR) return LB_ERR;
    SetCurSel(i);
    return i;
}

void ListControl::SetHorizontalExtent(int pixels) {
    m_extent = pixels;
    Changed(Aspect::Items);
}

bool ListControl::UserSelect(int index) {
    if (!CanTakeInput() || index < 0 || index >= GetCount()) return false;
    UserFocus();
    m_cur = index;
    SyncText();
    Changed(Aspect::Selection);
    Raise(Notify::SelChange, 0, index);
    return true;
}

bool ListControl::UserCloseUp() {
    if (!CanTakeInput()) return false;
    Raise(Notify::CloseUp);
    return true;
}

bool ListControl::UserDoubleClick(int index) {
    if (!UserSelect(index)) return false;
    Raise(Notify::DblClk, 0, index);
    return true;
}

// ---------------------------------------------------------------------------------------
// ListView

int ListView::InsertColumn(int index, const std::string& heading, int format, int width) {
    if (index < 0 || index > GetColumnCount()) index = GetColumnCount();
    m_columns.insert(m_columns.begin() + index, Column{heading, format, width});
    for (Row& r : m_rows)
        if (int(r.texts.size()) > index) r.texts.insert(r.texts.begin() + index, std::string());
    Changed(Aspect::Columns);
    return index;
}

bool ListView::DeleteColumn(int index) {
    if (index < 0 || index >= GetColumnCount()) return false;
    m_columns.erase(m_columns.begin() + index);
    for (Row& r : m_rows)
        if (int(r.texts.size()) > index) r.texts.erase(r.texts.begin() + index);
    Changed(Aspect::Columns);
    return true;
}

std::string ListView::GetColumnHeading(int index) const {
    return index >= 0 && index < GetColumnCount() ? m_columns[size_t(index)].heading
                                                  : std::string();
}

int ListView::GetColumnWidth(int index) const {
    return index >= 0 && index < GetColumnCount() ? m_columns[size_t(index)].width : 0;
}

int ListView::GetColumnFormat(int index) const {
    return index >= 0 && index < GetColumnCount() ? m_columns[size_t(index)].format : LVCFMT_LEFT;
}

bool ListView::UserCheckRow(int row, bool checked) {
    if (!CanTakeInput() || row < 0 || row >= GetItemCount()) return false;
    State(row).checked = checked;
    Raise(Notify::Clicked, 0, row, 0);
    return true;
}

bool ListView::SetColumnWidth(int index, int width) {
    if (index < 0 || index >= GetColumnCount()) return false;
    m_columns[size_t(index)].width = width;
    Changed(Aspect::Columns);
    return true;
}

void ListView::UserSetColumnWidth(int index, int shownWidth) {
    if (index >= 0 && index < GetColumnCount() && shownWidth >= 0)
        m_columns[size_t(index)].width = int(std::lround(shownWidth / m_scale));
}

void ListView::SetPixelScale(double scale) {
    if (scale > 0) m_scale = scale;
}

int ListView::GetShownColumnWidth(int index) const { return int(std::lround(GetColumnWidth(index) * m_scale)); }

ListView::Row& ListView::State(int row) const {
    if (m_store && m_rows.size() != size_t(m_store->RowCount())) m_rows.resize(size_t(m_store->RowCount()));
    return m_rows[size_t(row)];
}

void ListView::BindTexts(ListTextStore* store) {
    m_store = store;
    m_rows.assign(m_store ? size_t(m_store->RowCount()) : 0, Row());
    m_top = m_scrollX = 0;
    m_anchor = -1;
    Changed(Aspect::Rows);
}

int ListView::InsertItem(int index, const std::string& text) {
    if (index < 0 || index > GetItemCount()) index = GetItemCount();
    Row row;
    if (m_store) {
        if (index > 0) State(index - 1);  // the state of the rows before it is in step
        m_store->InsertRow(index);
        m_store->SetText(index, 0, text);
    } else {
        row.texts.push_back(text);
    }
    m_rows.insert(m_rows.begin() + std::min(size_t(index), m_rows.size()), std::move(row));
    Changed(Aspect::Rows, index);
    return index;
}

bool ListView::DeleteItem(int index) {
    if (index < 0 || index >= GetItemCount()) return false;
    State(index);
    if (m_store) m_store->EraseRow(index);
    m_rows.erase(m_rows.begin() + index);
    if (m_top > 0 && m_top >= GetItemCount()) m_top = std::max(0, GetItemCount() - 1);
    Changed(Aspect::Rows, index);
    return true;
}

void ListView::DeleteAllItems() {
    if (m_store) m_store->Clear();
    m_rows.clear();
    m_top = 0;
    m_scrollX = 0;
    m_anchor = -1;
    Changed(Aspect::Rows);
}

bool ListView::SetItemText(int row, int col, const std::string& text) {
    if (row < 0 || row >= GetItemCount() || col < 0) return false;
    if (m_store) {
        if (!m_store->SetText(row, col, text)) return false;
        Changed(Aspect::Rows, row);
        return true;
    }
    if (col >= GetColumnCount() && col != 0) return false;
    auto& texts = State(row).texts;
    if (int(texts.size()) <= col) texts.resize(size_t(col) + 1);
    texts[size_t(col)] = text;
    Changed(Aspect::Rows, row);
    return true;
}

std::string ListView::GetItemText(int row, int col) const {
    if (row < 0 || row >= GetItemCount() || col < 0) return std::string();
    if (m_store) return m_store->Text(row, col);
    const auto& texts = State(row).texts;
    return col < int(texts.size()) ? texts[size_t(col)] : std::string();
}

bool ListView::SetItemData(int row, std::uint32_t data) {
    if (row < 0 || row >= GetItemCount()) return false;
    State(row).data = data;
    return true;
}

std::uint32_t ListView::GetItemData(int row) const {
    return row >= 0 && row < GetItemCount() ? State(row).data : 0;
}

bool ListView::SetRowCheck(int row, bool checked) {
    if (row < 0 || row >= GetItemCount()) return false;
    State(row).checked = checked;
    Changed(Aspect::Rows, row);
    return true;
}

bool ListView::GetRowCheck(int row) const {
    return row >= 0 && row < GetItemCount() && State(row).checked;
}

void ListView::SetImageList(std::vector<std::shared_ptr<const Bitmap>> images) {
    m_images = std::move(images);
    Changed(Aspect::Rows);
}

std::shared_ptr<const Bitmap> ListView::GetImage(int index) const {
    return index >= 0 && size_t(index) < m_images.size() ? m_images[size_t(index)] : nullptr;
}

bool ListView::SetItemImage(int row, int image) {
    if (row < 0 || row >= GetItemCount()) return false;
    State(row).image = image;
    Changed(Aspect::Rows, row);
    return true;
}

int ListView::GetItemImage(int row) const { return row >= 0 && row < GetItemCount() ? State(row).image : -1; }

bool ListView::SetItemSelected(int row, bool selected) {
    if (row < 0 || row >= GetItemCount()) return false;
    State(row).selected = selected;
    Changed(Aspect::Selection, row);
    return true;
}

void ListView::SetTextBkColor(Color color) {
    m_textBk = color;
    Changed(Aspect::Rows);
}

bool ListView::SetRowColors(int row, Color text, Color background) {
    if (row < 0 || row >= GetItemCount()) return false;
    State(row).text = text;
    State(row).background = background;
    Changed(Aspect::Rows, row);
    return true;
}

Color ListView::GetRowTextColor(int row) const {
    return row >= 0 && row < GetItemCount() ? State(row).text : kDefaultColor;
}

Color ListView::GetRowBkColor(int row) const {
    return row >= 0 && row < GetItemCount() ? State(row).background : kDefaultColor;
}

bool ListView::IsItemSelected(int row) const {
    return row >= 0 && row < GetItemCount() && State(row).selected;
}

int ListView::GetSelectionMark() const {
    for (int i = 0; i < GetItemCount(); ++i)
        if (State(i).selected) return i;
    return -1;
}

bool ListView::EnsureVisible(int row) {
    if (row < 0 || row >= GetItemCount()) return false;
    if (row < m_top) m_top = row;
    const int visibleRows =
        std::max(1, (GetRect().Height() - m_headerHeight) / std::max(1, m_rowHeight));
    if (row >= m_top + visibleRows) m_top = row - visibleRows + 1;
    Changed(Aspect::Scroll);
    return true;
}

Rect ListView::GetSubItemRect(int row, int col) const {
    Rect r;
    int x = 0;
    for (int c = 0; c < col && c < GetColumnCount(); ++c) x += GetShownColumnWidth(c);
    r.left = x - m_scrollX;
    r.right = r.left + GetShownColumnWidth(col);
    r.top = m_headerHeight + (row - m_top) * m_rowHeight;
    r.bottom = r.top + m_rowHeight;
    return r;
}

void ListView::SetMetrics(int headerHeight, int rowHeight) {
    m_headerHeight = headerHeight;
    m_rowHeight = rowHeight > 0 ? rowHeight : 1;
}

void ListView::HitTest(int x, int y, int& row, int& col) const {
    row = col = -1;
    if (y < m_headerHeight) return;
    const int r = m_top + (y - m_headerHeight) / m_rowHeight;
    if (r < 0 || r >= GetItemCount()) return;
    int left = -m_scrollX;
    for (int c = 0; c < GetColumnCount(); ++c) {
        const int w = GetShownColumnWidth(c);
        if (x >= left && x < left + w) {
            row = r;
            col = c;
            return;
        }
        left += w;
    }
}

void ListView::SelectOnly(int row) {
    for (int i = 0; i < GetItemCount(); ++i) State(i).selected = (i == row);
    Changed(Aspect::Selection, row);
}

bool ListView::UserClickCell(int row, int col, unsigned keys) {
    if (!CanTakeInput()) return false;
    UserFocus();
    if (row >= 0 && row < GetItemCount()) {
        if (!HasStyle(style::kExtendedSel)) keys = 0;
        if (keys & MK_SHIFT) {
            // From the anchor to this row; Ctrl keeps what else was selected.
            const int from = m_anchor >= 0 && m_anchor < GetItemCount() ? m_anchor : row;
            for (int i = 0; i < GetItemCount(); ++i) {
                const bool inRange = i >= std::min(from, row) && i <= std::max(from, row);
                if (inRange || !(keys & MK_CONTROL)) State(i).selected = inRange;
            }
            Changed(Aspect::Selection, -1);
        } else if (keys & MK_CONTROL) {
            State(row).selected = !State(row).selected;
            m_anchor = row;
            Changed(Aspect::Selection, row);
        } else {
            SelectOnly(row);
            m_anchor = row;
        }
    }
    Raise(Notify::Clicked, int(keys), row, col);
    return true;
}

bool ListView::UserRightClickCell(int row, int col) {
    if (!CanTakeInput()) return false;
    UserFocus();
    if (row >= 0 && row < GetItemCount()) SelectOnly(row);
    Raise(Notify::RClick, 0, row, col);
    return true;
}

bool ListView::UserDoubleClickCell(int row, int col) {
    if (!UserClickCell(row, col)) return false;
    Raise(Notify::DblClk, 0, row, col);
    return true;
}

bool ListView::UserScrollX(int pixels) {
    if (!CanTakeInput()) return false;
    pixels = std::max(0, pixels);
    if (pixels == m_scrollX) return true;
    m_scrollX = pixels;
    Raise(Notify::Scroll, 0, m_top);
    return true;
}

bool ListView::UserScrollTo(int topRow) {
    if (!CanTakeInput()) return false;
    const int top = std::clamp(topRow, 0, std::max(0, GetItemCount() - 1));
    if (top == m_top) return true;
    m_top = top;
    Changed(Aspect::Scroll);
    Raise(Notify::Scroll, 0, top);
    return true;
}

// ---------------------------------------------------------------------------------------
// TreeView

std::vector<HTREEITEM>& TreeView::ChildList(HTREEITEM parent) {
    return parent == TVI_ROOT ? m_roots : m_items.at(parent).children;
}

HTREEITEM TreeView::InsertItem(const std::string& text, HTREEITEM parent, HTREEITEM after) {
    if (parent != TVI_ROOT && !Exists(parent)) return 0;
    const HTREEITEM h = m_next++;
    m_items[h] = Item{text, 0, parent, {}, false, {}};
    auto& list = ChildList(parent);
    if (after == TVI_FIRST) {
        list.insert(list.begin(), h);
    } else {
        auto it = std::find(list.begin(), list.end(), after);
        list.insert(it == list.end() ? list.end() : it + 1, h);
    }
    Changed(Aspect::Items);
    return h;
}

void TreeView::Erase(HTREEITEM item) {
    for (HTREEITEM child : m_items.at(item).children) Erase(child);
    if (m_selected == item) m_selected = 0;
    m_items.erase(item);
}

bool TreeView::DeleteItem(HTREEITEM item) {
    if (!Exists(item)) return false;
    auto& list = ChildList(m_items.at(item).parent);
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
    Erase(item);
    Changed(Aspect::Items);
    return true;
}

void TreeView::DeleteAllItems() {
    m_items.clear();
    m_roots.clear();
    m_selected = 0;
    Changed(Aspect::Items);
}

HTREEITEM TreeView::GetRootItem() const { return m_roots.empty() ? 0 : m_roots.front(); }

HTREEITEM TreeView::GetChildItem(HTREEITEM item) const {
    if (item == TVI_ROOT) return GetRootItem();
    auto it = m_items.find(item);
    return it == m_items.end() || it->second.children.empty() ? 0 : it->second.children.front();
}

HTREEITEM TreeView::GetNextSiblingItem(HTREEITEM item) const {
    auto it = m_items.find(item);
    if (it == m_items.end()) return 0;
    const auto& list = it->second.parent == TVI_ROOT ? m_roots
                                                     : m_items.at(it->second.parent).children;
    auto pos = std::find(list.begin(), list.end(), item);
    return pos == list.end() || pos + 1 == list.end() ? 0 : *(pos + 1);
}

HTREEITEM TreeView::GetParentItem(HTREEITEM item) const {
    auto it = m_items.find(item);
    return it == m_items.end() ? 0 : it->second.parent;
}

std::vector<HTREEITEM> TreeView::GetChildren(HTREEITEM item) const {
    if (item == TVI_ROOT) return m_roots;
    auto it = m_items.find(item);
    return it == m_items.end() ? std::vector<HTREEITEM>() : it->second.children;
}

std::string TreeView::GetItemText(HTREEITEM item) const {
    auto it = m_items.find(item);
    return it == m_items.end() ? std::string() : it->second.text;
}

bool TreeView::SetItemText(HTREEITEM item, const std::string& text) {
    auto it = m_items.find(item);
    if (it == m_items.end()) return false;
    it->second.text = text;
    Changed(Aspect::Items);
    return true;
}

std::uint32_t TreeView::GetItemData(HTREEITEM item) const {
    auto it = m_items.find(item);
    return it == m_items.end() ? 0 : it->second.data;
}

bool TreeView::SetItemData(HTREEITEM item, std::uint32_t data) {
    auto it = m_items.find(item);
    if (it == m_items.end()) return false;
    it->second.data = data;
    return true;
}

bool TreeView::Expand(HTREEITEM item, bool expand) {
    auto it = m_items.find(item);
    if (it == m_items.end()) return false;
    it->second.expanded = expand;
    Changed(Aspect::Expand);
    return true;
}

bool TreeView::IsExpanded(HTREEITEM item) const {
    auto it = m_items.find(item);
    return it != m_items.end() && it->second.expanded;
}

bool TreeView::SelectItem(HTREEITEM item) {
    if (item != 0 && !Exists(item)) return false;
    m_selected = item;
    Changed(Aspect::Selection);
    return true;
}

bool TreeView::SetItemToolTip(HTREEITEM item, const std::string& text) {
    auto it = m_items.find(item);
    if (it == m_items.end()) return false;
    it->second.toolTip = text;
    Changed(Aspect::ToolTip);
    return true;
}

std::string TreeView::GetItemToolTip(HTREEITEM item) const {
    auto it = m_items.find(item);
    return it == m_items.end() ? std::string() : it->second.toolTip;
}

bool TreeView::UserSelect(HTREEITEM item) {
    if (!CanTakeInput() || !Exists(item)) return false;
    UserFocus();
    if (m_selected == item) return true;
    Raise(Notify::SelChanging, 0, -1, -1, item);
    if (!Exists(item)) return false;  // the handler may have rebuilt the tree
    m_selected = item;
    Changed(Aspect::Selection);
    Raise(Notify::SelChange, 0, -1, -1, item);
    return true;
}

bool TreeView::UserDoubleClick(HTREEITEM item) {
    if (!UserSelect(item)) return false;
    Raise(Notify::DblClk, 0, -1, -1, item);
    return true;
}

bool TreeView::UserExpand(HTREEITEM item, bool expand) {
    if (!CanTakeInput() || !Exists(item)) return false;
    m_items.at(item).expanded = expand;
    return true;
}

}  // namespace ui
