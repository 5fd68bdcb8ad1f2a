#include "app/ToolScreens.h"

#include "app/ComPortDlg.h"
#include "app/EthernetDownloadDlg.h"
#include "app/HardwareTestDlg.h"
#include "app/HtmlDownloadDlg.h"
#include "app/IPSettingsUploadDlg.h"
#include "app/MacAddressDlg.h"
#include "app/MainFrame.h"
#include "app/UploadSystemDataDlg.h"
#include "editor/NewBlockExView.h"

void WireToolScreens(FrameServices& frame, NewBlockExServices& editor) {
    editor.htmlDownload = [] {
        CHtmlDownloadDlg dlg(CMainFrame::Get());
        dlg.DoModal();
    };
    editor.macAddress = [] {
        CMacAddressDlg dlg(CMainFrame::Get());
        dlg.DoModal();
    };
    frame.comPortSetting = [] {
        CComPortDlg dlg(CMainFrame::Get());
        dlg.DoModal();
    };
    frame.ethernetDownload = [] {
        CEthernetDownloadDlg dlg(CMainFrame::Get());
        dlg.DoModal();
    };
    frame.hardwareTest = [] {
        CHardwareTestDlg dlg(CMainFrame::Get());
        dlg.DoModal();
    };
    frame.ipSettingsUpload = [] {
        CIPSettingsUploadDlg dlg(CMainFrame::Get());
        dlg.DoModal();
    };
    frame.uploadSystemData = [] {
        CUploadSystemDataDlg dlg(CMainFrame::Get());
        dlg.DoModal();
    };
}
