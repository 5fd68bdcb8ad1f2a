#pragma once
// What the block views of both generations share: the list of blocks in the view, its
// cells and rows, the in-place editor and PLC-name list over a cell, the two address
// buttons on the edited row, the info window at the foot of the view, the selection and
// the context menu. The older and newer views derive from it and keep what differs:
// their columns, checks, commands and files.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "editor/BlockCellEditBase.h"
#include "editor/ErrorMessagesDlg.h"
#include "ui/Controls.h"
#include "ui/Frame.h"

class CToolTipCtrlEx;

class CBlockListView : public ui::View {
public:
    static constexpr int kMaxBlocks = 255;
    // The block commands' messages.
    static constexpr char kCompileErrorText[] =
        "Error found while compiling block number %d. Please correct the error. See the details on the error in the "
        "status message window.";
    static constexpr char kInsertCompileErrorText[] =
        "Error found while compiling block number %d. Please correct the error. See the details on the error in the "
        "error message window.";
    static constexpr char kRangeText[] = "Block out of range.\nValid Range : 0 to 255";
    static constexpr char kSelectionText[] =
        "Please select row and then click in the first column before any block operation.";

    // The save dialog of a project: a .prj file in the product's Projects folder; "" when
    // cancelled.
    static std::string AskProjectSavePath(const std::string& fileName);

    ~CBlockListView() override;

    ui::ListView& GetListCtrl() const;
    // A cell of the block list ("" outside the list).
    std::string GetCellText(int row, int col) const;
    bool SetCellText(int row, int col, const std::string& text);

    const std::string& GetInfoText() const;
    CErrorMessagesDlg* GetInfoWnd() const { return m_pInfoWnd.get(); }

    // Takes away the open editor (which stores its entry first) and the address buttons.
    void DestroyCellControls();
    // What a command (toolbar, menu, key) does first: an editor still open stores its text, as
    // leaving it does. False when the text was refused with a message: the press ends there, as
    // a dialog button's does, and the person sees the corrected cell before pressing again.
    bool StoreCellControls();
    void DestroyAddressButtons();
    void OnContextMenu(const ui::Event& event);
    // An entry-check or command message for the info window.
    virtual void ReportInfo(const std::string& text) = 0;
    // The first block that fails the block check, -1 when all pass.
    virtual int FindFailingBlock() const = 0;
    // A message box of the block commands, with the generation's caption.
    virtual int CommandBox(const std::string& text, unsigned flags) const = 0;
    void OnHScroll() { DestroyCellControls(); }
    void OnVScroll() { DestroyCellControls(); }

    int m_nBlockCount = 0;
    std::unique_ptr<CErrorMessagesDlg> m_pInfoWnd;

protected:
    CBlockListView(int listId, CBlockCellEditBase& edit, CBlockCellComboBase& combo);

    std::vector<int> SelectedRows() const;
    // The checks that open the block commands; each says why when it stops the command.
    // Every block passes (format: the message naming the first that fails).
    bool BlocksPass(const char* format) const;
    // The selected rows; none after the request to select a row.
    std::vector<int> SelectionForCommand();
    // Add New Block: every block passes and the list has room for one more.
    bool CanAddBlock() const;
    // Paste Block: a block was copied (copyRow is not -1).
    bool HasCopiedBlock(int copyRow) const;
    // Insert Block: every block passes, a row is selected and the list has room; the
    // selected rows, none when the command stops.
    std::vector<int> RowsForInsert();
    // The cell's rectangle in the view.
    ui::Rect CellRect(int row, int col) const;
    // Closes the open editor or list (which stores its entry on its own cell first).
    void CloseCellEditors();
    // The edit over the cell less rightInset pixels on the right, and the PLC-name list
    // over the cell with room to drop down.
    void OpenCellEdit(int row, int col, int rightInset, int limit);
    void OpenPlcNameList(int row, int col);
    // The two address buttons at the right end of the row's address cells, with tips.
    void PlaceAddressButtons(int row, int sourceCol, int destCol, int width, CToolTipCtrlEx& sourceTip,
                             CToolTipCtrlEx& destTip);
    // The start of an address button's work on the row: this view becomes the active one;
    // the port (1 or 2) of the PLC named in plcCol, or false after "PLC not defined" when
    // the cell names none.
    bool PortForAddressPick(int row, int plcCol, int& port);
    // The info window, made on first use, and its place at the foot of the view.
    CErrorMessagesDlg& InfoWindow();
    void PlaceInfoWindow();

    void OnCellEditChange() { m_CellEditor.OnChange(); }
    void OnCellEditKey(const ui::Event& event) { m_CellEditor.OnKeyDown(event.key); }
    void OnCellEditKillFocus() { m_CellEditor.OnKillFocus(); }
    void OnCellComboKey(const ui::Event& event) { m_CellList.OnKeyDown(event.key); }
    void OnCellComboKillFocus() { m_CellList.OnKillFocus(); }

    // Copy Block: every block passes (else copyRow becomes -1: nothing stays copied) and a
    // row is selected; the selected rows, none when the command stops.
    std::vector<int> RowsForCopy(int& copyRow);
    // The start of editing a cell: the open editor or list closed (it stores its entry on
    // its own cell first) and the cell recorded as the one edited; false when the row is
    // not in the list.
    bool EnterCell(int row, int col, int& editRow, int& editCol);

private:
    int m_nListId;
    CBlockCellEditBase& m_CellEditor;
    CBlockCellComboBase& m_CellList;
};
