#include "settings/ControlWordSetting.h"

#include "settings/ControlWordDlg.h"
#include "settings/ControlWordExDlg.h"

void RunControlWordDialog(bool newer, int mode) {
    if (newer) {
        CControlWordExDlg dialog;
        dialog.m_nMode = mode;
        dialog.DoModal();
    } else {
        CControlWordDlg dialog;
        dialog.m_nMode = mode;
        dialog.DoModal();
    }
}
