#pragma once
// The editors the recipe grid lays over one of its cells: a drop-down list, an edit with
// the recipe table's value and address checks, and a small button at the right end of an
// address cell that opens the register address dialog. They hand the finished text back
// to the grid, which stores it in the cell.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/Dialog.h"

class CEditGridCtrl;

// The last clicked cell of the grid and the port of its row (1 for "Com1", else 2).
extern unsigned g_nGridClickColumn;
extern unsigned g_nGridClickRow;
extern unsigned g_nGridClickPort;

// The address button's picker: over the grid's dialog, for the port (1 or 2) and the
// address in the cell; true with the picked address, false when cancelled. The frame sets
// it to the block editor's register address dialog; unset, the button does nothing.
extern std::function<bool(ui::Dialog& parent, int port, const std::string& address, std::string& picked)>
    g_GridAddressPicker;

class CInPlaceCombo {
public:
    // items: the entries offered; text: the cell's text (an empty one keeps the earlier).
    void ShowInPlaceCombo(const ui::Rect& rect, CEditGridCtrl& grid, int row, int column,
                          const std::vector<std::string>& items, const std::string& text, int index);
    bool IsOpen() const;
    ui::ListControl* Control() const;
    void DestroyWindow();
    void OnKeyDown(int vk);
    void OnCloseUp();
    void OnKillFocus();

    int m_nRow = -1;
    int m_nColumn = -1;
    bool m_bCancel = false;
    std::string m_strInitialText;
    std::vector<std::string> m_lstItems;

private:
    CEditGridCtrl* m_pGrid = nullptr;
};

class CInPlaceEdit {
public:
    void ShowInPlaceEdit(unsigned styles, const ui::Rect& rect, CEditGridCtrl& grid, int row, int column,
                         const std::string& allowed, const std::string& text);
    bool IsOpen() const;
    ui::Control* Control() const;
    void DestroyWindow();
    void OnKeyDown(int vk);
    void OnChange();
    void OnKillFocus();
    // The column's checks of a finished text; each failed check shows its message and
    // gives the text that replaces the typed one.
    // before: the cell's text when the edit opened, which a refused address leaves in place.
    static std::string CheckText(int column, int row, const CEditGridCtrl& grid, std::string text,
                                 const std::string& before);

    int m_nRow = -1;
    int m_nColumn = -1;
    bool m_bCancel = false;
    std::string m_strAllowed;
    std::string m_strInitialText;

private:
    CEditGridCtrl* m_pGrid = nullptr;
    std::string m_strLastGood;
};

// The address button: opens the register address dialog for the row it sits on.
class CGridButton {
public:
    void Create(const ui::Rect& rect, CEditGridCtrl& grid, int row);
    bool IsOpen() const;
    void DestroyWindow();
    void OnClicked();
    int Row() const { return m_nRow; }

private:
    CEditGridCtrl* m_pGrid = nullptr;
    int m_nRow = -1;
};

CInPlaceCombo* GetInPlaceCombo();
CInPlaceEdit* GetInPlaceEdit();
void DestroyInPlaceCombo();
void DestroyInPlaceEdit();
extern CGridButton g_GridButton;

// What the grid asks of the dialog it sits in.
class IEditGridOwner {
public:
    virtual ~IEditGridOwner() = default;
    // WM_GRIDCOMBOITEMS: the entries of a combo column.
    virtual void OnGridComboItems(int column, std::vector<std::string>& items) = 0;
    // WM_GRIDCELLEDITED: a cell got its new text.
    virtual void OnGridCellEdited(int gridId, int row, int column) = 0;
};

// An editable report list in a dialog: a click on a cell opens a combo (combo columns),
// an edit (other columns that are not read-only) and, on column 3, the address button.
class CEditGridCtrl {
public:
    static constexpr int kAddressColumn = 3;
    static constexpr int kButtonWidth = 20;
    static constexpr int kMinColumnWidth = 10;

    CEditGridCtrl(ui::Dialog& dialog, int id, IEditGridOwner& owner);
    ~CEditGridCtrl();

    ui::Dialog& Dialog() const { return m_dialog; }
    ui::ListView& List() const;
    int GetDlgCtrlID() const { return m_id; }

    void SetComboColumn(int column, bool on);
    bool IsComboColumn(int column) const;
    void SetReadOnlyColumn(int column, bool on);
    bool IsReadOnlyColumn(int column) const;
    void SetComboVScroll(bool on);
    void SetAllowedCharacters(const std::string& chars) { m_strAllowed = chars; }

    // A click on the list (row -1: beside the rows).
    void OnLButtonDown(int row, int column, unsigned keys = 0);
    // An editor ends: the text goes into the cell and the owner hears of it.
    void OnEndLabelEdit(int row, int column, const std::string& text);
    // Closes any open combo or edit (their text is stored).
    void CloseEditors();

    unsigned m_nEditStyle;
    unsigned m_nComboStyle;

private:
    ui::Rect CellRect(int row, int column) const;
    void OpenCombo(int row, int column);
    void OpenEdit(int row, int column);

    ui::Dialog& m_dialog;
    int m_id;
    IEditGridOwner& m_owner;
    std::vector<int> m_comboColumns;
    std::vector<int> m_readOnlyColumns;
    std::string m_strAllowed;
};

// The port a row's column-0 text names: 1 for exactly "Com1", else 2.
unsigned GridPortOf(const std::string& sideText);

// The recipe table's rules for one cell, shared by the cell editors and the dialog's OK:
// the messages of the failed checks in the order they are shown (none when the text
// passes) and the text the editors put in place of the one typed.
struct RecipeCheck {
    std::vector<std::string> messages;
    std::string text;
};
// Columns 1 and 2, the two one-byte parameters.
RecipeCheck CheckRecipeParameter(int column, const std::string& text);
// An address of the PLC on the port (1 or 2). An empty one passes: the row is not complete.
RecipeCheck CheckRecipeAddress(const std::string& address, int port);
// A value against the row's address on the port: 0 to 1 on a coil, 0 to 65535 on a
// register; with no address yet it is not checked.
RecipeCheck CheckRecipeValue(const std::string& value, const std::string& address, int port);

// A new row's value holds the default nobody typed until its value cell is edited: the row's
// item data says so. An address given to such a row sets the value its register can hold
// without a message (a coil's 1); a value typed or kept from the table is judged as it stands.
constexpr std::uint32_t kRecipeValueUntouched = 1;
