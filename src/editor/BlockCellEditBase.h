#pragma once
// What the in-place controls of both block lists share: the one-line edit and the
// drop-down list of the two PLC names that open over a cell, their keys, the way an entry
// is kept when the editor closes, and the two address buttons of the edited row. Each
// generation says which control it is, which characters its cells keep, which cell is
// being edited, how an entry is stored and where editing goes on (the older and newer
// classes derive from these).
#include <string>

#include "ui/Types.h"

namespace ui {
class Control;
class Window;
}  // namespace ui

class CBlockListView;

// What both in-place controls share: their control on the view, the cell being edited
// (each generation keeps its own record of it) and the way editing goes on to another
// cell, which each generation says.
class CBlockCellControl {
public:
    virtual ~CBlockCellControl() = default;
    ui::Control* GetControl() const;
    bool IsOpen() const { return GetControl() != nullptr; }
    void DestroyWindow();

protected:
    CBlockCellControl(int id, const int& editRow, const int& editCol) : m_nId(id), m_rEditRow(editRow), m_rEditCol(editCol) {}
    void SetView(CBlockListView* view) { m_pView = view; }
    CBlockListView* View() const { return m_pView; }
    ui::Window* Window() const;
    int Id() const { return m_nId; }
    // The cell being edited.
    void GetCell(int& row, int& col) const {
        row = m_rEditRow;
        col = m_rEditCol;
    }
    virtual void EditCell(int row, int col) = 0;

private:
    CBlockListView* m_pView = nullptr;
    int m_nId;
    const int& m_rEditRow;
    const int& m_rEditCol;
};

class CBlockCellEditBase : public CBlockCellControl {
public:
    // Opens the edit over the rectangle (view pixels) with the text; a limit other than
    // 100 (the comment's) makes it upper case.
    void Create(const ui::Rect& rect, const std::string& text, int limit);

    // Typing: only the characters the cell keeps stay (all of them in the comment).
    void OnChange();
    // Enter and Tab store and go on to the next cell; Escape puts the cell's text back.
    void OnKeyDown(int vk);
    void OnKillFocus();

    // The full form of an address of a register of the port: the register's prefix, the
    // number part at least as wide as its lowest text, the colon and slash parts filled
    // likewise (a marker "A*" or "P*" puts its letter in front once; nothing is cut). The
    // text unchanged when no register matches.
    static std::string CompleteAddress(const std::string& text, int port);
    static std::string RemoveTrailingBlanks(std::string text);

protected:
    CBlockCellEditBase(int id, unsigned styles, const int& editRow, const int& editCol, int commentCol)
        : CBlockCellControl(id, editRow, editCol), m_nStyles(styles), m_nCommentCol(commentCol) {}

    bool IsCommentCell() const;
    // The comment typed into the cell, when the project file keeps that many characters
    // (an empty one clears the cell); a longer one is refused with a message rather than
    // cut when the project is saved.
    void StoreComment(int row, int col, const std::string& text, size_t longest);

    virtual bool KeepsCharacter(char ch) const = 0;
    virtual void Store(std::string text) = 0;

private:
    unsigned m_nStyles;
    int m_nCommentCol;
    bool m_bStoring = false;
};

class CBlockCellComboBase : public CBlockCellControl {
public:
    // Opens the list of the two PLC names with the cell's name chosen (the first when the
    // cell names neither).
    void Create(const ui::Rect& rect, const std::string& cellText);

    // Enter, Tab and Right store and go on to the next cell, Left to the one before.
    void OnKeyDown(int vk);
    // The chosen name is stored.
    void OnKillFocus();

protected:
    CBlockCellComboBase(int id, const int& editRow, const int& editCol) : CBlockCellControl(id, editRow, editCol) {}

    // The name chosen, null when none is.
    virtual void StoreChoice(int row, int col, const std::string* name) = 0;
};

// An address button of the edited row: a click runs the view's address dialog for the
// PLC named in one column and puts the address picked into another.
template <class View, int PlcCol, int AddressCol>
class CBlockAddressButton {
public:
    virtual ~CBlockAddressButton() = default;
    void Attach(View* view) { m_pView = view; }
    void OnClicked() {
        if (m_pView) m_pView->PickAddress(PlcCol, AddressCol);
    }

private:
    View* m_pView = nullptr;
};
