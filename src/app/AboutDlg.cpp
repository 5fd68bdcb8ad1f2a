#include "app/AboutDlg.h"

#include "plc/DefinitionFiles.h"
#include "res/ShellResource.h"

CAboutDlg::CAboutDlg(ui::Window* parent) : ui::Dialog(IDD_ABOUTBOX, parent) {}

bool CAboutDlg::OnInitDialog() {
    SetWindowText(deffiles::ReadAboutText("SoftwareName"));
    SetDlgItemText(IDC_SOFTWARE_VERSION, deffiles::ReadAboutText("SoftwareVer"));
    SetDlgItemText(IDC_COMPANY_NAME,
                   deffiles::ReadText(deffiles::CustomizeInfoInf(), "AboutBox", "CompanyName",
                                      "Information Not Available", 200));
    SetDlgItemText(IDC_COPYRIGHT, deffiles::ReadAboutText("CopyRight"));
    m_strUrl = deffiles::ReadAboutText("URL");
    // The version in blue, the maker and the copyright in black, on the dialog's own
    // background.
    Item(IDC_SOFTWARE_VERSION).SetColors(0xFF0000, ui::kDefaultColor, true);
    Item(IDC_COMPANY_NAME).SetColors(0x000000, ui::kDefaultColor, true);
    Item(IDC_COPYRIGHT).SetColors(0x000000, ui::kDefaultColor, true);
    return true;
}
