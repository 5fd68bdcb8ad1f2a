#pragma once
// The in-place controls of the newer block list: the one-line edit and the drop-down list
// of the two PLC names that open over a clicked cell, and the two Set Address buttons over
// the address cells of the current row. Each object belongs to the view and makes and
// removes its control on the view as editing goes on.
#include <string>

#include "ui/Types.h"

class CNewBlockExView;
namespace ui {
class Control;
}

class CNewBlockCellEdit {
public:
    virtual ~CNewBlockCellEdit() = default;
    void Attach(CNewBlockExView* view) { m_pView = view; }
    // Opens the edit over the rectangle (view pixels) with the cell's text.
    void Create(const ui::Rect& rect, const std::string& text, int limit);
    void DestroyWindow();
    ui::Control* GetControl() const;
    bool IsOpen() const { return GetControl() != nullptr; }

    void OnChange();
    void OnKeyDown(int vk);
    void OnKillFocus();

    // The longest comment a project file keeps.
    static int MaxCommentLength();

private:
    // The full form of a valid address typed for a port (register prefix, parts filled).
    static std::string FullAddress(const std::string& text, int port);
    void Store(std::string text);
    CNewBlockExView* m_pView = nullptr;
    bool m_bStoring = false;
};

class CNewBlockCellCombo {
public:
    virtual ~CNewBlockCellCombo() = default;
    void Attach(CNewBlockExView* view) { m_pView = view; }
    void Create(const ui::Rect& rect, const std::string& cellText);
    void DestroyWindow();
    ui::Control* GetControl() const;
    bool IsOpen() const { return GetControl() != nullptr; }

    void OnKeyDown(int vk);
    void OnKillFocus();

private:
    CNewBlockExView* m_pView = nullptr;
};

// The Set Address buttons: source (over the Source / Slave Address cell) and destination
// (over the Destination / Target Address cell).
class CSourceAddrButtonNew {
public:
    virtual ~CSourceAddrButtonNew() = default;
    void Attach(CNewBlockExView* view) { m_pView = view; }
    void OnClicked();

private:
    CNewBlockExView* m_pView = nullptr;
};

class CDestAddrButtonNew {
public:
    virtual ~CDestAddrButtonNew() = default;
    void Attach(CNewBlockExView* view) { m_pView = view; }
    void OnClicked();

private:
    CNewBlockExView* m_pView = nullptr;
};
