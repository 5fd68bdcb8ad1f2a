#include "editor/NewBlockExView.h"

CNewBlockExView* g_pNewBlockExView = nullptr;

CNewBlockExView::CNewBlockExView() { g_pNewBlockExView = this; }

CNewBlockExView::~CNewBlockExView() {
    if (g_pNewBlockExView == this) g_pNewBlockExView = nullptr;
}

void CNewBlockExView::OnInitialUpdate() {}

void CNewBlockExView::SetInfoText(const std::string& text) { m_strInfoText = text; }

std::string CNewBlockExView::GetCellText(int, int) const { return std::string(); }
