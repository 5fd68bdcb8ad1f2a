#pragma once
// What the in-place editors of both block lists share: the one-line edit and the
// drop-down list of the two PLC names that open over a cell, their keys, and the way an
// entry is kept when the editor closes. Each generation says which control it is, which
// characters its cells keep, which cell is being edited, how an entry is stored and where
// editing goes on (the older and newer classes derive from these).
#include <string>

#include "ui/Types.h"

namespace ui {
class Control;
class Window;
}  // namespace ui

class CBlockCellEditBase {
public:
    virtual ~CBlockCellEditBase() = default;
    ui::Control* GetControl() const;
    bool IsOpen() const { return GetControl() != nullptr; }
    // Opens the edit over the rectangle (view pixels) with the text; a limit other than
    // 100 (the comment's) makes it upper case.
    void Create(const ui::Rect& rect, const std::string& text, int limit);
    void DestroyWindow();

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
    CBlockCellEditBase(int id, unsigned styles) : m_nId(id), m_nStyles(styles) {}
    void SetWindow(ui::Window* window) { m_pWindow = window; }

    virtual bool IsCommentCell() const = 0;
    virtual bool KeepsCharacter(char ch) const = 0;
    virtual void GetCell(int& row, int& col) const = 0;
    virtual std::string GetCellText(int row, int col) const = 0;
    virtual void EditCell(int row, int col) = 0;
    virtual void Store(std::string text) = 0;

private:
    ui::Window* m_pWindow = nullptr;
    int m_nId;
    unsigned m_nStyles;
    bool m_bStoring = false;
};

class CBlockCellComboBase {
public:
    virtual ~CBlockCellComboBase() = default;
    ui::Control* GetControl() const;
    bool IsOpen() const { return GetControl() != nullptr; }
    // Opens the list of the two PLC names with the cell's name chosen (the first when the
    // cell names neither).
    void Create(const ui::Rect& rect, const std::string& cellText);
    void DestroyWindow();

    // Enter, Tab and Right store and go on to the next cell, Left to the one before.
    void OnKeyDown(int vk);
    // The chosen name is stored.
    void OnKillFocus();

protected:
    explicit CBlockCellComboBase(int id) : m_nId(id) {}
    void SetWindow(ui::Window* window) { m_pWindow = window; }

    virtual void GetCell(int& row, int& col) const = 0;
    virtual void EditCell(int row, int col) = 0;
    // The name chosen, null when none is.
    virtual void StoreChoice(int row, int col, const std::string* name) = 0;

private:
    ui::Window* m_pWindow = nullptr;
    int m_nId;
};
