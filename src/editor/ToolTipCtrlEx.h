#pragma once
// A tool tip that registers a control and its tip text in one call. The block views keep
// one per Set Address button; a button made again is registered again.
#include <string>

#include "ui/Controls.h"

class CToolTipCtrlEx {
public:
    // The owner is the view that holds the controls.
    bool Create(ui::Window* owner, unsigned style = 0) {
        (void)style;
        m_pOwner = owner;
        return owner != nullptr;
    }
    // The tip shows while the mouse rests on the control.
    bool AddTool(ui::Control* control, const std::string& text) {
        if (!control) return false;
        control->SetToolTip(text);
        return true;
    }
    ui::Window* GetOwner() const { return m_pOwner; }

private:
    ui::Window* m_pOwner = nullptr;
};
