#pragma once
// Controls of the window model. A control belongs to a window (a dialog, a view), is
// found there by its id and holds everything a toolkit needs to show it: kind, text,
// rectangle, styles, enabled, visible, focus, check state, entries, rows, items.
//
// Two kinds of change are kept apart:
//  - the program's calls (SetWindowText, SetCurSel, SelectItem, ...) change the state and
//    tell the window's peer (the toolkit binding) so the screen follows; of the events,
//    only Change is raised by the program (writing an edit's text raises its change
//    handling before the write returns);
//  - the User... calls are what a person does (the toolkit binding and the tests call
//    them): they move the focus first (raising the old control's kill focus), apply the
//    typing rules (limit, capitals, digits only), and raise the click, change, selection
//    change and double-click events.
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/Bitmap.h"
#include "ui/Types.h"

namespace ui {

class Window;

// What changed in a control, for the toolkit binding.
enum class Aspect {
    Text, Enabled, Visible, Focus, Check, Items, Selection, Columns, Rows, Range,
    Geometry, Bitmap, Colors, Limit, Style, Expand, ToolTip, Caret, Scroll,
};

class Control {
public:
    Control(Window* owner, ControlKind kind, int id, std::string text, Rect rect,
            unsigned styles);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    int GetDlgCtrlID() const { return m_id; }
    ControlKind Kind() const { return m_kind; }
    Window* GetParent() const { return m_owner; }

    // Rectangle in dialog units for the controls of a template, else in pixels of the
    // owner's client area; GetParent()->GetControlPixelRect gives pixels in either case.
    const Rect& GetRect() const { return m_rect; }
    bool InDialogUnits() const { return m_dialogUnits; }
    void MoveWindow(const Rect& rect);

    unsigned GetStyle() const { return m_style; }
    bool HasStyle(unsigned flags) const { return (m_style & flags) == flags; }
    void ModifyStyle(unsigned remove, unsigned add);

    // Text. For an edit or a drop-down combo the change handling runs before it returns.
    void SetWindowText(const std::string& text);
    const std::string& GetWindowText() const { return m_text; }
    int GetWindowTextLength() const { return int(m_text.size()); }

    // Typing limit of an edit (0: none). It limits typing only, not SetWindowText.
    void LimitText(int chars);
    int GetLimitText() const { return m_limit; }
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const { return HasStyle(style::kReadOnly); }
    // Selection (caret) of an edit: characters start to end; -1 end means "to the end".
    void SetSel(int start, int end);
    int GetSelStart() const { return m_selStart; }
    int GetSelEnd() const { return m_selEnd; }

    void EnableWindow(bool enable);
    bool IsWindowEnabled() const { return m_enabled; }
    // The control's own visible flag (a control of a hidden window still says visible).
    void ShowWindow(bool show);
    bool IsWindowVisible() const { return m_visible; }
    void SetFocus();
    bool HasFocus() const;

    // Check boxes and radio buttons: 0 unchecked, 1 checked.
    void SetCheck(int check);
    int GetCheck() const { return m_check; }

    // Spin and progress bar.
    void SetRange(int lower, int upper);
    int GetRangeLower() const { return m_lower; }
    int GetRangeUpper() const { return m_upper; }
    void SetPos(int pos);
    int GetPos() const { return m_pos; }

    // Picture.
    void SetBitmap(std::shared_ptr<const Bitmap> bitmap);
    const std::shared_ptr<const Bitmap>& GetBitmap() const { return m_bitmap; }

    // Colours (kDefaultColor: the toolkit's own) and a transparent background.
    void SetColors(Color text, Color background, bool transparent);
    Color GetTextColor() const { return m_textColor; }
    Color GetBkColor() const { return m_bkColor; }
    bool IsTransparent() const { return m_transparent; }

    void SetToolTip(const std::string& text);
    const std::string& GetToolTip() const { return m_toolTip; }

    // What a person does. Each returns false when the control cannot take the action
    // (disabled, hidden, read-only, a window that is not running).
    bool UserFocus();
    virtual bool UserClick();
    // A push button whose click cancels its dialog (Window::ClickCancels).
    bool CancelsItsDialog() const;
    bool UserType(const std::string& text);  // select all, then type text
    bool UserKey(int vk);                     // a key goes down while the control has focus
    // The toolkit binding reports text a person typed that the widget already limited.
    void UserEdited(const std::string& text);
    bool CanTakeInput() const;

protected:
    void Changed(Aspect aspect, int index = -1);
    void RaiseChange();
    void SetTextQuiet(const std::string& text);  // no change event
    bool Raise(Notify code, int key = 0, int row = -1, int col = -1, std::intptr_t item = 0);
    Window* m_owner;

private:
    ControlKind m_kind;
    int m_id;
    std::string m_text;
    Rect m_rect;
    unsigned m_style;
    int m_limit = 0;
    int m_selStart = 0, m_selEnd = 0;
    bool m_enabled = true;
    bool m_visible = true;
    int m_check = 0;
    int m_lower = 0, m_upper = 100, m_pos = 0;
    std::shared_ptr<const Bitmap> m_bitmap;
    Color m_textColor = kDefaultColor;
    Color m_bkColor = kDefaultColor;
    bool m_transparent = false;
    std::string m_toolTip;
    bool m_dialogUnits = false;  // the rectangle is in dialog units (template controls)
    friend class Window;
};

constexpr int LB_ERR = -1;

// List box, drop-down list and drop-down combo: entries with a text and 32-bit data.
class ListControl : public Control {
public:
    using Control::Control;

    int AddString(const std::string& text);  // sorted when the control has kSort
    int InsertString(int index, const std::string& text);  // -1: at the end
    int DeleteString(int index);  // count left, LB_ERR for a bad index
    void ResetContent();
    int GetCount() const { return int(m_items.size()); }
    std::string GetLBText(int index) const;  // empty for a bad index
    std::string GetText(int index) const { return GetLBText(index); }
    int SetItemData(int index, std::uint32_t data);  // LB_ERR for a bad index
    std::uint32_t GetItemData(int index) const;      // 0xFFFFFFFF (LB_ERR) for a bad index
    int SetCurSel(int index);  // -1 clears; LB_ERR for a bad index (then nothing selected)
    int GetCurSel() const { return m_cur; }
    int FindStringExact(int startAfter, const std::string& text) const;  // ignoring case
    int FindString(int startAfter, const std::string& prefix) const;     // ignoring case
    int SelectString(int startAfter, const std::string& prefix);
    // How far a list box scrolls sideways, in pixels (0: as wide as the box).
    void SetHorizontalExtent(int pixels);
    int GetHorizontalExtent() const { return m_extent; }

    // What a person does.
    bool UserSelect(int index);       // raises SelChange
    bool UserDoubleClick(int index);  // selects (SelChange), then DblClk
    bool UserCloseUp();               // the open list of a drop-down closed (CloseUp)
    bool UserClick() override { return UserFocus(); }

private:
    struct Item {
        std::string text;
        std::uint32_t data = 0;
    };
    void SyncText();
    std::vector<Item> m_items;
    int m_cur = -1;
    int m_extent = 0;
};
using ComboBox = ListControl;
using ListBox = ListControl;

constexpr int LVCFMT_LEFT = 0;
constexpr int LVCFMT_RIGHT = 1;
constexpr int LVCFMT_CENTER = 2;

// Where a list's cell texts are kept when they belong to the data the list shows (a
// project's block rows): the list reads and changes them there and keeps only its own
// state of each row (data, check, selection, colours). The store has a fixed number of
// columns; the list's own columns may come and go without touching the texts.
class ListTextStore {
public:
    virtual ~ListTextStore() = default;
    virtual int RowCount() const = 0;
    virtual void InsertRow(int index) = 0;  // a row of empty texts
    virtual void EraseRow(int index) = 0;
    virtual void Clear() = 0;
    virtual std::string Text(int row, int col) const = 0;  // "" outside the store
    virtual bool SetText(int row, int col, const std::string& text) = 0;  // false outside
};

// Rows of N texts kept elsewhere (a project's rows) as a list's text store.
template <size_t N>
class ArrayTextStore final : public ListTextStore {
public:
    explicit ArrayTextStore(std::vector<std::array<std::string, N>>& rows) : m_rows(rows) {}
    int RowCount() const override { return int(m_rows.size()); }
    void InsertRow(int index) override { m_rows.insert(m_rows.begin() + index, std::array<std::string, N>{}); }
    void EraseRow(int index) override { m_rows.erase(m_rows.begin() + index); }
    void Clear() override { m_rows.clear(); }
    std::string Text(int row, int col) const override {
        return Inside(row, col) ? m_rows[size_t(row)][size_t(col)] : std::string();
    }
    bool SetText(int row, int col, const std::string& text) override {
        if (!Inside(row, col)) return false;
        m_rows[size_t(row)][size_t(col)] = text;
        return true;
    }

private:
    bool Inside(int row, int col) const {
        return row >= 0 && size_t(row) < m_rows.size() && col >= 0 && size_t(col) < N;
    }
    std::vector<std::array<std::string, N>>& m_rows;
};

// Report-style list view: columns, rows of sub-item texts, item data, check and selection.
// Cell rectangles are in pixels of the list, from its column widths and the row and
// header heights the toolkit reports (or the defaults), as in-place editors need them.
class ListView : public Control {
public:
    using Control::Control;

    int InsertColumn(int index, const std::string& heading, int format = LVCFMT_LEFT,
                     int width = 60);
    bool DeleteColumn(int index);
    int GetColumnCount() const { return int(m_columns.size()); }
    std::string GetColumnHeading(int index) const;
    int GetColumnWidth(int index) const;
    int GetColumnFormat(int index) const;
    bool SetColumnWidth(int index, int width);
    // A person drags a column's edge to this width on screen: it stays until the program
    // sets the width.
    void UserSetColumnWidth(int index, int shownWidth);
    // Widths are the program's pixels, those of the original's font; the toolkit shows
    // them scaled by the ratio of its font to that one (1 by default), and the cell
    // rectangles and hit tests are in the shown pixels.
    void SetPixelScale(double scale);
    int GetShownColumnWidth(int index) const;

    // Keeps the cell texts in the store from now on (nullptr: in the list again, empty).
    // The store outlives the list or is unbound first.
    void BindTexts(ListTextStore* store);
    ListTextStore* GetTextStore() const { return m_store; }

    int InsertItem(int index, const std::string& text);  // index past the end appends
    bool DeleteItem(int index);
    void DeleteAllItems();
    int GetItemCount() const { return m_store ? m_store->RowCount() : int(m_rows.size()); }
    bool SetItemText(int row, int col, const std::string& text);
    std::string GetItemText(int row, int col) const;
    bool SetItemData(int row, std::uint32_t data);
    std::uint32_t GetItemData(int row) const;
    bool SetRowCheck(int row, bool checked);
    bool GetRowCheck(int row) const;
    // The small images of the rows; a row shows the one at its image index (-1: none).
    void SetImageList(std::vector<std::shared_ptr<const Bitmap>> images);
    std::shared_ptr<const Bitmap> GetImage(int index) const;
    bool SetItemImage(int row, int image);
    int GetItemImage(int row) const;
    bool SetItemSelected(int row, bool selected);
    bool IsItemSelected(int row) const;
    // The background of the rows' texts (the control's background colour is the rest of
    // the list); kDefaultColor: the toolkit's.
    void SetTextBkColor(Color color);
    Color GetTextBkColor() const { return m_textBk; }
    // A row's own colours (kDefaultColor: the list's).
    bool SetRowColors(int row, Color text, Color background);
    Color GetRowTextColor(int row) const;
    Color GetRowBkColor(int row) const;
    int GetSelectionMark() const;  // first selected row or -1
    bool EnsureVisible(int row);
    int GetTopIndex() const { return m_top; }
    int GetScrollX() const { return m_scrollX; }  // pixels scrolled sideways

    // Pixels, relative to the list's top-left corner.
    Rect GetSubItemRect(int row, int col) const;
    void SetMetrics(int headerHeight, int rowHeight);  // from the toolkit
    int GetRowHeight() const { return m_rowHeight; }
    int GetHeaderHeight() const { return m_headerHeight; }
    // Row and column under a point of the list, -1 when none.
    void HitTest(int x, int y, int& row, int& col) const;

    // What a person does: a click on a cell (selects the row, raises Clicked with row
    // and column), a right click, a double click, a key while the list has the focus.
    // A click with Shift or Ctrl (MK_SHIFT, MK_CONTROL) extends the selection of a list
    // with kExtendedSel.
    bool UserClickCell(int row, int col, unsigned keys = 0);
    bool UserRightClickCell(int row, int col);
    bool UserDoubleClickCell(int row, int col);
    bool UserScrollTo(int topRow);  // raises Scroll (row: the new top row) when it moved
    bool UserScrollX(int pixels);   // sideways; raises Scroll (row: the top row) when it moved
    bool UserCheckRow(int row, bool checked);  // the row's check box

private:
    struct Column {
        std::string heading;
        int format = LVCFMT_LEFT;
        int width = 60;
    };
    struct Row {
        std::vector<std::string> texts;
        std::uint32_t data = 0;
        bool checked = false;
        bool selected = false;
        int image = -1;
        Color text = kDefaultColor;
        Color background = kDefaultColor;
    };
    void SelectOnly(int row);
    // The list's own state of a row; with a store, rows the store gained elsewhere get
    // the default state.
    Row& State(int row) const;
    std::vector<Column> m_columns;
    mutable std::vector<Row> m_rows;
    std::vector<std::shared_ptr<const Bitmap>> m_images;
    ListTextStore* m_store = nullptr;
    int m_headerHeight = 20;
    int m_rowHeight = 17;
    int m_top = 0;
    int m_scrollX = 0;
    int m_anchor = -1;  // where a Shift click's range starts
    Color m_textBk = kDefaultColor;
    double m_scale = 1.0;
};

using HTREEITEM = std::intptr_t;  // 0: none
constexpr HTREEITEM TVI_ROOT = 0;
constexpr HTREEITEM TVI_LAST = -1;
constexpr HTREEITEM TVI_FIRST = -2;

// Tree: items with children, text, 32-bit data, expand state, tool tip, one selection.
class TreeView : public Control {
public:
    using Control::Control;

    HTREEITEM InsertItem(const std::string& text, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST);
    bool DeleteItem(HTREEITEM item);
    void DeleteAllItems();
    HTREEITEM GetRootItem() const;
    HTREEITEM GetChildItem(HTREEITEM item) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
    HTREEITEM GetParentItem(HTREEITEM item) const;
    bool ItemHasChildren(HTREEITEM item) const { return GetChildItem(item) != 0; }
    std::vector<HTREEITEM> GetChildren(HTREEITEM item) const;  // TVI_ROOT: the roots
    std::string GetItemText(HTREEITEM item) const;
    bool SetItemText(HTREEITEM item, const std::string& text);
    std::uint32_t GetItemData(HTREEITEM item) const;
    bool SetItemData(HTREEITEM item, std::uint32_t data);
    bool Expand(HTREEITEM item, bool expand);
    bool IsExpanded(HTREEITEM item) const;
    bool SelectItem(HTREEITEM item);  // the program's selection: no event
    HTREEITEM GetSelectedItem() const { return m_selected; }
    bool SetItemToolTip(HTREEITEM item, const std::string& text);
    std::string GetItemToolTip(HTREEITEM item) const;
    int GetCount() const { return int(m_items.size()); }
    bool Exists(HTREEITEM item) const { return m_items.count(item) != 0; }

    // What a person does: SelChanging, the selection, SelChange (item in the event).
    bool UserSelect(HTREEITEM item);
    bool UserDoubleClick(HTREEITEM item);
    bool UserExpand(HTREEITEM item, bool expand);

private:
    struct Item {
        std::string text;
        std::uint32_t data = 0;
        HTREEITEM parent = 0;
        std::vector<HTREEITEM> children;
        bool expanded = false;
        std::string toolTip;
    };
    std::vector<HTREEITEM>& ChildList(HTREEITEM parent);
    void Erase(HTREEITEM item);
    std::map<HTREEITEM, Item> m_items;
    std::vector<HTREEITEM> m_roots;
    HTREEITEM m_next = 1;
    HTREEITEM m_selected = 0;
};

}  // namespace ui
