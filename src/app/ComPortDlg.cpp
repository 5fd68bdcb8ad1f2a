#include "app/ComPortDlg.h"

#include <string>

#include "model/RunTimeState.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Profile.h"
#include "platform/SerialDevice.h"
#include "res/ToolsResource.h"
#include "ui/Backend.h"

namespace {
constexpr int kComPorts = 31;
}  // namespace

CComPortDlg::CComPortDlg(ui::Window* parent) : ui::Dialog(res::ToolsDialogTemplate(IDD_COM_PORT_SETTING), parent) {}

bool CComPortDlg::OnInitDialog() {
    g_szHelpTopic = "comport.htm";
    Item(IDC_COM_PORT_PICTURE).SetBitmap(res::ToolsBitmap(IDB_COM_PORT));
    auto& ports = Item<ui::ListControl>(IDC_PC_COM_PORT);
    ports.ResetContent();
    for (int n = 1; n <= kComPorts; ++n) ports.AddString("COM" + std::to_string(n));
    int port = deffiles::ReadDataComPort(g_szProductName);
    if (port == -1) port = 1;
    // A stored number outside 1 to 31 selects nothing.
    ports.SetCurSel(port >= 1 && port <= kComPorts ? port - 1 : -1);
    OnSelchangePort();
    return true;
}

const ui::HandlerTable* CComPortDlg::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(ui::Notify::SelChange, IDC_PC_COM_PORT, &CComPortDlg::OnSelchangePort),
    });
    return &table;
}

void CComPortDlg::OnSelchangePort() {
    auto& ports = Item<ui::ListControl>(IDC_PC_COM_PORT);
    const int index = ports.GetCurSel();
    const std::string name = index >= 0 ? "COM" + std::to_string(index + 1) : std::string();
    ports.SetToolTip(name.empty() ? std::string() : name + ": " + platform::SerialDevicePath(name));
}

void CComPortDlg::OnOK() {
    if (g_nStartScreen == 1 || g_nMainScreen == 1) g_szHelpTopic = "products.htm";
    else if (g_nStartScreen == 2 || g_nMainScreen == 2) g_szHelpTopic = "protocols.htm";

    const int index = Item<ui::ListControl>(IDC_PC_COM_PORT).GetCurSel();
    if (index >= 0 && index < kComPorts) {
        const std::string number = std::to_string(index + 1);
        g_PlcRegisterTables.g_strPcComPort = "COM" + number;
        platform::WritePrivateProfileString("Com", "Port", number, deffiles::DataInf(g_szProductName));
    }
    const bool opened = m_port.Open(g_PlcRegisterTables.g_strPcComPort) == 0;
    m_port.Close();
    if (!opened) {
        ui::MessageBox(kMsgOpenPortError, "", ui::MB_OK);
        return;
    }
    EndDialog(ui::IDOK);
}

void CComPortDlg::OnHelpInfo() { ui::ShowHelp(); }
