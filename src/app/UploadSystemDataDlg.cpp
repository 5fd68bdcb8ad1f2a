#include "app/UploadSystemDataDlg.h"

#include <string>

#include "app/RefreshDlg.h"
#include "model/RunTimeState.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Profile.h"
#include "res/ToolsResource.h"

namespace {
constexpr int kComPorts = 31;
constexpr unsigned kThreePortProduct = 84;
}  // namespace

CUploadSystemDataDlg::CUploadSystemDataDlg(ui::Window* parent)
    : ui::Dialog(res::ToolsDialogTemplate(IDD_UPLOAD_SYSTEM_DATA), parent), m_upload(m_port, *this) {
    m_port.SetReporter(this);
}

CUploadSystemDataDlg::~CUploadSystemDataDlg() { m_port.SetReporter(nullptr); }

const ui::HandlerTable* CUploadSystemDataDlg::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(ui::Notify::Clicked, IDC_SYSDATA_UPLOAD, &CUploadSystemDataDlg::OnUpload),
        ui::On(ui::Notify::SelChange, IDC_SYSDATA_COM_PORT, &CUploadSystemDataDlg::OnSelchangeComPort),
    });
    return &table;
}

bool CUploadSystemDataDlg::OnInitDialog() {
    if (g_nDeviceIdAlt == kThreePortProduct || g_nDeviceId == kThreePortProduct) {
        SetDlgItemText(IDC_PLC1_DRIVER_NAME, "Master1 Driver");
        SetDlgItemText(IDC_PLC2_DRIVER_NAME, "Master2 Driver");
    }
    g_szHelpTopic = "uploadsysdata.htm";
    auto& ports = Item<ui::ListControl>(IDC_SYSDATA_COM_PORT);
    ports.ResetContent();
    for (int n = 1; n <= kComPorts; ++n) ports.AddString("COM" + std::to_string(n));
    int port = deffiles::ReadDataComPort(g_szProductName);
    if (port == -1) port = 1;
    if (port >= 1 && port <= kComPorts) {
        ports.SetCurSel(port - 1);
        g_PlcRegisterTables.g_strPcComPort = "COM" + std::to_string(port);
    } else {
        ports.SetCurSel(-1);
    }
    FillData(m_data);
    return true;
}

void CUploadSystemDataDlg::OnOK() {
    if (g_nStartScreen == 1 || g_nMainScreen == 1) g_szHelpTopic = "products.htm";
    else if (g_nStartScreen == 2 || g_nMainScreen == 2) g_szHelpTopic = "protocols.htm";
    EndDialog(ui::IDOK);
}

void CUploadSystemDataDlg::OnHelpInfo() { ui::ShowHelp(); }

void CUploadSystemDataDlg::OnSelchangeComPort() {
    const int i = Item<ui::ListControl>(IDC_SYSDATA_COM_PORT).GetCurSel();
    if (i < 0 || i >= kComPorts) return;
    const std::string name = "COM" + std::to_string(i + 1);
    if (m_port.Open(name) != 0) ShowMessage(kMsgOpenPortError, "", ui::MB_OK);
    g_PlcRegisterTables.g_strPcComPort = name;
    platform::WritePrivateProfileString("Com", "Port", std::to_string(i + 1),
                                        deffiles::DataInf(g_szProductName));
    m_port.Close();
}

void CUploadSystemDataDlg::OnUpload() {
    m_upload.Run(g_PlcRegisterTables.g_strPcComPort, g_nDeviceId, m_data);
}

int CUploadSystemDataDlg::UploadSystemData() { return m_upload.UploadSystemData(g_nDeviceId); }

int CUploadSystemDataDlg::ShowMessage(const std::string& text, const std::string& caption, unsigned flags) {
    return ui::MessageBox(text, caption, flags);
}

void CUploadSystemDataDlg::SetStatusText(const std::string& text) {
    SetDlgItemText(IDC_SYSDATA_STATUS, text);
    Refresh();
}

void CUploadSystemDataDlg::EnableButtons(bool enable) {
    EnableDlgItem(IDC_SYSDATA_UPLOAD, enable);
    EnableDlgItem(ui::IDOK, enable);
}

void CUploadSystemDataDlg::ShowData(const UnitSystemData& data) {
    FillData(data);
    Refresh();
}

void CUploadSystemDataDlg::FillData(const UnitSystemData& data) {
    SetDlgItemText(IDC_FIRMWARE_VERSION, data.firmwareVersion);
    SetDlgItemText(IDC_FIRMWARE_STATUS, data.firmwareStatus);
    SetDlgItemText(IDC_PLC1_DRIVER_VERSION, data.plc1Version);
    SetDlgItemText(IDC_PLC1_DRIVER_STATUS, data.plc1Status);
    SetDlgItemText(IDC_PLC2_DRIVER_VERSION, data.plc2Version);
    SetDlgItemText(IDC_PLC2_DRIVER_STATUS, data.plc2Status);
    SetDlgItemText(IDC_BOOT_BLOCK_VERSION, data.bootVersion);
    SetDlgItemText(IDC_BOOT_BLOCK_STATUS, data.bootStatus);
}

void CUploadSystemDataDlg::BeginWaitCursor() {
    if (!m_pWaitCursor) m_pWaitCursor = std::make_unique<ui::WaitCursor>();
}

void CUploadSystemDataDlg::EndWaitCursor() { m_pWaitCursor.reset(); }

void CUploadSystemDataDlg::Refresh() {
    if (!IsCreated()) return;
    CRefreshDlg refresh(this);
    refresh.DoModal();
}
