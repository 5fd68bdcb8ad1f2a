#pragma once
// The in-place controls of the older block list: the edit and the drop-down list of the
// two PLC names that open over a clicked cell, and the two address buttons in the right
// edge of the edited row's address cells. Each object belongs to the view and makes and
// removes its control on the view as editing goes on.
#include <string>

#include "ui/Types.h"

class CBlockExView;
namespace ui {
class Control;
}

class CBlockCellEdit {
public:
    virtual ~CBlockCellEdit() = default;
    void Attach(CBlockExView* view) { m_pView = view; }
    // Opens the edit over the rectangle (view pixels) with the cell's text.
    void Create(const ui::Rect& rect, const std::string& text, int longest);
    void DestroyWindow();
    ui::Control* GetControl() const;
    bool IsOpen() const { return GetControl() != nullptr; }

    void OnChange();
    void OnKeyDown(int vk);
    void OnKillFocus();

    // The canonical form of an address of a register of the port: lowest-width number
    // part, filled colon and slash parts (the text unchanged when no register matches).
    static std::string CanonicalAddress(const std::string& text, int port);

private:
    void Store(std::string text);
    CBlockExView* m_pView = nullptr;
    bool m_bStoring = false;
};

class CBlockCellCombo {
public:
    virtual ~CBlockCellCombo() = default;
    void Attach(CBlockExView* view) { m_pView = view; }
    void Create(const ui::Rect& rect, const std::string& cellText);
    void DestroyWindow();
    ui::Control* GetControl() const;
    bool IsOpen() const { return GetControl() != nullptr; }

    void OnKeyDown(int vk);
    void OnKillFocus();

private:
    CBlockExView* m_pView = nullptr;
};

// The address buttons: source (column 4) and destination (column 7).
class CSourceAddrButton {
public:
    virtual ~CSourceAddrButton() = default;
    void Attach(CBlockExView* view) { m_pView = view; }
    void OnClicked();

private:
    CBlockExView* m_pView = nullptr;
};

class CDestAddrButton {
public:
    virtual ~CDestAddrButton() = default;
    void Attach(CBlockExView* view) { m_pView = view; }
    void OnClicked();

private:
    CBlockExView* m_pView = nullptr;
};
