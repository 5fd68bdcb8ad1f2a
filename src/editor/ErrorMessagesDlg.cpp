#include "editor/ErrorMessagesDlg.h"

#include "res/EditorResource.h"
#include "ui/Window.h"

CErrorMessagesDlg::CErrorMessagesDlg(ui::Window* parent) : ui::Dialog(IDD_ERROR_MESSAGES, parent) {}

bool CErrorMessagesDlg::OnInitDialog() {
    m_brush = ui::RGB(255, 255, 255);
    return true;
}

void CErrorMessagesDlg::OnPaint(ui::Painter& painter) {
    // The window may have been moved to another size than its template's.
    ui::Rect area = GetClientRect();
    const ui::Rect placed = GetWindowRect();
    if (placed.Width() > 0 && placed.Height() > 0) area = ui::Rect{0, 0, placed.Width(), placed.Height()};
    painter.FillRect(area, m_brush);
    // One line at the top left; a long text runs past the right edge and is cut there.
    painter.DrawText(0, 0, m_strText, ui::RGB(0, 0, 0));
}
