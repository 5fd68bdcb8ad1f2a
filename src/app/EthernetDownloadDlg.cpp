#include "app/EthernetDownloadDlg.h"

#include "model/RunTimeState.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "res/ToolsResource.h"
#include "model/IpAddress.h"
#include "ui/Backend.h"

namespace {
constexpr int kProgressMax = 200;
}  // namespace

CEthernetDownloadDlg::CEthernetDownloadDlg(ui::Window* parent)
    : ui::Dialog(res::ToolsDialogTemplate(IDD_ETHERNET_DOWNLOAD), parent), m_download(*this) {}

const ui::HandlerTable* CEthernetDownloadDlg::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(ui::Notify::Clicked, IDC_ETH_DOWNLOAD, &CEthernetDownloadDlg::OnDownload),
        ui::Cancelling(ui::On(ui::Notify::Clicked, IDC_ETH_CANCEL, &CEthernetDownloadDlg::OnCancelButton)),
    });
    return &table;
}

bool CEthernetDownloadDlg::OnInitDialog() {
    SetDlgItemText(IDC_ETH_PORT, std::to_string(g_nEthDownloadPort));
    SetDlgItemText(IDC_ETH_IP_ADDRESS, FormatIpAddress(g_abUnitIp[0], g_abUnitIp[1], g_abUnitIp[2], g_abUnitIp[3]));
    g_nDownloadOffset = 0;
    Item(IDC_ETH_PROGRESS).SetRange(0, kProgressMax);
    return true;
}

void CEthernetDownloadDlg::OnCancelButton() { EndDialog(0); }

void CEthernetDownloadDlg::OnDownload() {
    // Nothing is sent before the address and the port are both sound.
    // 0.0.0.0 names no unit (a connection to it reaches this machine) and 255.255.255.255
    // names every machine on the network: neither is a unit's address.
    uint8_t address[4];
    const bool read = ReadIpAddress(GetDlgItemText(IDC_ETH_IP_ADDRESS), address);
    const bool none = read && (address[0] | address[1] | address[2] | address[3]) == 0;
    const bool all = read && (address[0] & address[1] & address[2] & address[3]) == 0xFF;
    if (!read || none || all) {
        ui::MessageBox(!read ? kMsgEthAddressInvalid : none ? kMsgEthAddressNone : kMsgEthAddressBroadcast, "",
                       ui::MB_OK | ui::MB_ICONEXCLAMATION);
        GotoDlgCtrl(IDC_ETH_IP_ADDRESS);
        return;
    }
    const std::string portText = platform::Trim(GetDlgItemText(IDC_ETH_PORT));
    const long port = portText.empty() || portText.size() > 5 ? 0 : std::stol(portText);
    if (port < 1 || port > 65535 || portText.find_first_not_of("0123456789") != std::string::npos) {
        ui::MessageBox(kMsgEthPortInvalid, "", ui::MB_OK | ui::MB_ICONEXCLAMATION);
        GotoDlgCtrl(IDC_ETH_PORT);
        return;
    }
    EnableDlgItem(IDC_ETH_DOWNLOAD, false);
    Item(IDC_ETH_PROGRESS).SetRange(0, kProgressMax);
    m_download.Run(g_szProductName, address, static_cast<uint16_t>(port));
    EnableDlgItem(IDC_ETH_DOWNLOAD, true);
}

int CEthernetDownloadDlg::ShowMessage(const std::string& text, const std::string& caption, unsigned flags) {
    return ui::MessageBox(text, caption, flags);
}

void CEthernetDownloadDlg::SetProgressPos(int position) { Item(IDC_ETH_PROGRESS).SetPos(position); }

void CEthernetDownloadDlg::SetStatusText(const std::string& text) { SetDlgItemText(IDC_ETH_STATUS, text); }

void CEthernetDownloadDlg::SetFileName(const std::string& name) { SetDlgItemText(IDC_ETH_FILE_NAME, name); }

std::string CEthernetDownloadDlg::ChooseFirmwareFile(const std::string& folder) {
    ui::FileDialog dialog(true, "abs", "firmware", ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                          "Firmware Files (*.abs)|*.abs||");
    dialog.SetInitialDir(platform::ResolvePath(folder));
    dialog.SetTitle("Select File To Download");
    if (dialog.DoModal() != ui::IDOK) return std::string();
    return dialog.GetPathName();
}
