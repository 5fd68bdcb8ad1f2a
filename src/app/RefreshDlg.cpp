#include "app/RefreshDlg.h"

#include "res/ShellResource.h"

namespace {
constexpr int kRefreshTimer = 3;
}  // namespace

CRefreshDlg::CRefreshDlg(ui::Window* parent) : ui::Dialog(IDD_REFRESH, parent) {}

bool CRefreshDlg::OnInitDialog() {
    SetTimer(kRefreshTimer, 1);
    return true;
}

void CRefreshDlg::OnTimer(int id) {
    if (id != kRefreshTimer) return;
    KillTimer(kRefreshTimer);
    EndDialog(0);
}
