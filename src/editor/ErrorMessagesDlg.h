#pragma once
// The info window of a block list ("Error Messages"): a modeless window owned by the
// view, which shows one line of text, black on white. The entry checks, the block check
// and the block commands put their messages into it; the view decides when it shows
// and where.
#include <string>

#include "ui/Dialog.h"

class CErrorMessagesDlg : public ui::Dialog {
public:
    explicit CErrorMessagesDlg(ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool HasPainting() const override { return true; }
    void OnPaint(ui::Painter& painter) override;
    // F1 in the info window does nothing.
    void OnHelpInfo() override {}
    // The line shown, painted anew.
    void SetText(const std::string& text) {
        m_strText = text;
        Invalidate();
    }

    std::string m_strText;
    ui::Color m_brush = ui::RGB(255, 255, 255);
};
