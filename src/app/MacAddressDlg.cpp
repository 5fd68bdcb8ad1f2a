#include "app/MacAddressDlg.h"

#include "model/RunTimeState.h"
#include "res/ToolsResource.h"
#include "ui/Backend.h"

namespace {
constexpr int kComPorts = 10;
constexpr int kFieldChars = 4;
}  // namespace

CMacAddressDlg::CMacAddressDlg(ui::Window* parent)
    : ui::Dialog(res::ToolsDialogTemplate(IDD_MAC_ADDRESS), parent), m_setting(m_port, *this) {
    m_port.SetReporter(this);
}

CMacAddressDlg::~CMacAddressDlg() { m_port.SetReporter(nullptr); }

const ui::HandlerTable* CMacAddressDlg::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(ui::Notify::KillFocus, IDC_MAC_COM_PORT, &CMacAddressDlg::OnKillfocusComPort),
    });
    return &table;
}

bool CMacAddressDlg::OnInitDialog() {
    Item(IDC_MAC_PICTURE).SetBitmap(res::ToolsBitmap(IDB_MAC_ADDRESS));
    auto& ports = Item<ui::ListControl>(IDC_MAC_COM_PORT);
    ports.ResetContent();
    for (int n = 1; n <= kComPorts; ++n) ports.AddString("COM" + std::to_string(n));
    ports.SetCurSel(0);
    for (int i = 0; i < 6; ++i) {
        Item(IDC_MAC_BYTE1 + i).LimitText(kFieldChars);
        SetDlgItemText(IDC_MAC_BYTE1 + i, m_strMac[i]);
    }
    GotoDlgCtrl(IDC_MAC_COM_PORT);
    return false;
}

void CMacAddressDlg::OnKillfocusComPort() { m_strPortName = GetDlgItemText(IDC_MAC_COM_PORT); }

bool CMacAddressDlg::TakeFields(uint8_t (&mac)[6]) {
    for (int i = 0; i < 6; ++i) {
        m_strMac[i] = GetDlgItemText(IDC_MAC_BYTE1 + i);
        if (!IsMacByteText(m_strMac[i])) {
            ui::MessageBox(kMsgMacByteInvalid, kCaptionError, ui::MB_OK | ui::MB_ICONEXCLAMATION);
            GotoDlgCtrl(IDC_MAC_BYTE1 + i);
            return false;
        }
        mac[i] = static_cast<uint8_t>(ParseMacByte(m_strMac[i]) & 0xFF);
    }
    return true;
}

void CMacAddressDlg::OnSet() {
    uint8_t mac[6] = {};
    if (!TakeFields(mac)) return;
    // The port the box shows now, whether or not it has lost the focus since.
    OnKillfocusComPort();
    ui::WaitCursor wait;
    m_setting.SetMacAddress(m_strPortName, g_nDeviceId, mac);
}

int CMacAddressDlg::ConnectToUnit() { return m_setting.ConnectToUnit(g_nDeviceId); }

int CMacAddressDlg::ShowMessage(const std::string& text, const std::string& caption, unsigned flags) {
    return ui::MessageBox(text, caption, flags);
}
