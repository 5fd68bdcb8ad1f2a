#include "app/IPSettingsUploadDlg.h"

#include "model/RunTimeState.h"
#include "res/ToolsResource.h"
#include "model/IpAddress.h"
#include "ui/Backend.h"

UnitIpSettings g_IPSettings;

namespace {
constexpr int kComPorts = 15;
constexpr int kMacFieldChars = 3;

std::string Dotted(const uint8_t (&a)[4]) { return FormatIpAddress(a[0], a[1], a[2], a[3]); }
}  // namespace

CIPSettingsUploadDlg::CIPSettingsUploadDlg(ui::Window* parent)
    : ui::Dialog(res::ToolsDialogTemplate(IDD_IP_SETTINGS_UPLOAD), parent), m_upload(g_IPUploadPort, *this) {
    g_IPUploadPort.SetReporter(this);
}

CIPSettingsUploadDlg::~CIPSettingsUploadDlg() { g_IPUploadPort.SetReporter(nullptr); }

const ui::HandlerTable* CIPSettingsUploadDlg::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(ui::Notify::Clicked, IDC_IP_UPLOAD, &CIPSettingsUploadDlg::OnUpload),
        ui::On(ui::Notify::SelChange, IDC_IP_COM_PORT, &CIPSettingsUploadDlg::OnSelchangeComPort),
    });
    return &table;
}

bool CIPSettingsUploadDlg::OnInitDialog() {
    auto& ports = Item<ui::ListControl>(IDC_IP_COM_PORT);
    ports.ResetContent();
    for (int n = 1; n <= kComPorts; ++n) ports.AddString("COM" + std::to_string(n));
    Item(IDC_IP_PROGRESS).SetRange(0, 100);
    for (int i = 0; i < 6; ++i) Item(IDC_MAC_BYTE1 + i).LimitText(kMacFieldChars);
    InitControls();
    return true;
}

void CIPSettingsUploadDlg::InitControls() {
    Item<ui::ListControl>(IDC_IP_COM_PORT).SetCurSel(0);
    g_IPSettings = UnitIpSettings();
    SetDlgItemText(IDC_UNIT_IP_ADDRESS, Dotted(g_IPSettings.ip));
    SetDlgItemText(IDC_ROUTER_ADDRESS, Dotted(g_IPSettings.router));
    SetDlgItemText(IDC_SUBNET_MASK, Dotted(g_IPSettings.mask));
}

void CIPSettingsUploadDlg::OnSelchangeComPort() {
    auto& ports = Item<ui::ListControl>(IDC_IP_COM_PORT);
    const int i = ports.GetCurSel();
    m_strPortName = ports.GetLBText(i);
    if (i >= 0 && i < kComPorts) {
        if (g_IPUploadPort.Open("COM" + std::to_string(i + 1)) != 0)
            ShowMessage(kMsgOpenPortError, "", ui::MB_OK);
        g_IPUploadPort.Close();
    }
}

void CIPSettingsUploadDlg::OnUpload() {
    EnableDlgItem(IDC_IP_UPLOAD, false);
    const bool done = UploadIPSettings() != -1;
    SetStatusText(done ? kIpStatusDone : kIpStatusFailed);
    EnableDlgItem(IDC_IP_UPLOAD, true);
    // A completed upload leaves the bar full; a failed one empties it.
    SetProgressPos(done ? 100 : 0);
}

int CIPSettingsUploadDlg::UploadIPSettings() {
    auto& ports = Item<ui::ListControl>(IDC_IP_COM_PORT);
    m_strPortName = ports.GetLBText(ports.GetCurSel());
    Item(IDC_IP_PROGRESS).SetRange(0, 100);
    // The answer is read into a copy: a short one leaves what is shown untouched.
    UnitIpSettings settings = g_IPSettings;
    const int result = m_upload.UploadIPSettings(m_strPortName, g_nDeviceId, settings);
    return result;
}

int CIPSettingsUploadDlg::ShowMessage(const std::string& text, const std::string& caption, unsigned flags) {
    return ui::MessageBox(text, caption, flags);
}

void CIPSettingsUploadDlg::SetProgressPos(int position) { Item(IDC_IP_PROGRESS).SetPos(position); }

void CIPSettingsUploadDlg::SetStatusText(const std::string& text) { SetDlgItemText(IDC_IP_STATUS, text); }

void CIPSettingsUploadDlg::ShowSettings(const UnitIpSettings& settings) {
    g_IPSettings = settings;
    SetDlgItemText(IDC_UNIT_IP_ADDRESS, Dotted(settings.ip));
    SetDlgItemText(IDC_ROUTER_ADDRESS, Dotted(settings.router));
    SetDlgItemText(IDC_SUBNET_MASK, Dotted(settings.mask));
    for (int i = 0; i < 6; ++i)
        SetDlgItemText(IDC_MAC_BYTE1 + i, FormatMacByte(settings.mac[i]).substr(0, kMacFieldChars));
}
