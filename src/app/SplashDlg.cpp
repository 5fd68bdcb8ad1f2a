#include "app/SplashDlg.h"

#include "platform/Paths.h"
#include "res/ShellResource.h"
#include "ui/Backend.h"

namespace {
constexpr int kSplashTimer = 2;
constexpr int kSplashMs = 2000;
}  // namespace

CSplashDlg::CSplashDlg(ui::Window* parent) : ui::Dialog(IDD_SPLASH, parent) {}

bool CSplashDlg::OnInitDialog() {
    SetTimer(kSplashTimer, kSplashMs);
    m_bitmap = ui::Bitmap::LoadFile(platform::GetProgramFolder() + "Images\\SplashScreen.bmp");
    if (!m_bitmap) ui::MessageBox("Load Image Failed");
    m_dest = GetControlPixelRect(Item(IDC_SPLASH_PICTURE));
    Invalidate();
    return true;
}

void CSplashDlg::OnPaint(ui::Painter& painter) {
    if (m_bitmap) painter.DrawBitmap(*m_bitmap, m_dest);
}

void CSplashDlg::OnTimer(int id) {
    KillTimer(id);
    EndDialog(0);
}

void CSplashDlg::OnLButtonDown(int, int) { EndDialog(ui::IDOK); }

void CSplashDlg::OnDestroy() {
    if (m_afterDestroy) m_afterDestroy();
}
