#include "tables/EthernetNodeTableDlg.h"

#include <cstdint>

#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "platform/Text.h"
#include "res/TablesDialogs.h"
#include "res/TablesResource.h"
#include "model/IpAddress.h"
#include "tables/TableTips.h"
#include "ui/Backend.h"

namespace {

constexpr int kOctets[4] = {IDC_NODE_IP, IDC_NODE_IP2, IDC_NODE_IP3, IDC_NODE_IP4};
constexpr int kColNode = 0, kColIp = 1, kColPort = 2;

std::string At(const StringArray& a, size_t i, const char* def) { return i < a.size() ? a[i] : std::string(def); }

}  // namespace

CEthernetNodeTableDlg::CEthernetNodeTableDlg(ui::Window* parent)
    : ui::Dialog(res::TablesDialogTemplate(IDD_ETHERNET_NODE_TABLE), parent) {}

const ui::HandlerTable* CEthernetNodeTableDlg::GetHandlerTable() const {
    using D = CEthernetNodeTableDlg;
    using ui::Notify;
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(Notify::KillFocus, IDC_NODE_PORT, &D::OnKillFocusPort),
        ui::On(Notify::KillFocus, IDC_NODE_ADDRESS, &D::OnKillFocusNode),
        ui::On(Notify::KillFocus, IDC_NODE_IP, &D::OnKillFocusOctet),
        ui::On(Notify::KillFocus, IDC_NODE_IP2, &D::OnKillFocusOctet),
        ui::On(Notify::KillFocus, IDC_NODE_IP3, &D::OnKillFocusOctet),
        ui::On(Notify::KillFocus, IDC_NODE_IP4, &D::OnKillFocusOctet),
        ui::On(Notify::Clicked, IDC_NODE_LIST, &D::OnClickList),
        ui::On(Notify::Clicked, IDC_NODE_RESET, &D::OnReset),
        ui::On(Notify::Clicked, IDC_NODE_CHANGE, &D::OnChange),
    });
    return &table;
}

void CEthernetNodeTableDlg::SetIpAddress(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    const uint8_t octets[4] = {a, b, c, d};
    for (int i = 0; i < 4; ++i) SetDlgItemText(kOctets[i], platform::Format("%u", unsigned(octets[i])));
}

void CEthernetNodeTableDlg::GetIpAddress(uint8_t& a, uint8_t& b, uint8_t& c, uint8_t& d) const {
    uint8_t* out[4] = {&a, &b, &c, &d};
    for (int i = 0; i < 4; ++i) {
        const int v = platform::Atoi(GetDlgItemText(kOctets[i]));
        *out[i] = static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
    }
}

void CEthernetNodeTableDlg::ClearFields() {
    SetDlgItemText(IDC_NODE_ADDRESS, "00");
    SetDlgItemText(IDC_NODE_PORT, "502");
    ClearIpAddress();
}

bool CEthernetNodeTableDlg::OnInitDialog() {
    ui::ListView& list = Item<ui::ListView>(IDC_NODE_LIST);
    list.ModifyStyle(0, ui::style::kFullRowSelect);
    list.InsertColumn(kColNode, "Node Address", ui::LVCFMT_LEFT, 100);
    list.InsertColumn(kColIp, "IP Address", ui::LVCFMT_LEFT, 200);
    list.InsertColumn(kColPort, "Port Number", ui::LVCFMT_LEFT, 80);
    for (int id : kOctets) Item(id).LimitText(3);
    ClearFields();

    CEthNodeTable& t = g_EthNodeTable;
    const size_t nodes = t.g_arrNodeAddress.size();
    if (g_bNewProject != 1) {
        // Nodes the compiler added since the addresses were set start as 0.0.0.0:502.
        while (t.g_arrNodeIp.size() < nodes) t.g_arrNodeIp.push_back("0.0.0.0");
        while (t.g_arrNodePort.size() < nodes) t.g_arrNodePort.push_back("502");
        for (size_t i = 0; i < nodes; ++i) {
            const int row = list.InsertItem(static_cast<int>(i), t.g_arrNodeAddress[i]);
            list.SetItemText(row, kColIp, t.g_arrNodeIp[i]);
            list.SetItemText(row, kColPort, At(t.g_arrNodePort, i, "502"));
        }
        EnableDlgItem(IDC_NODE_RESET, true);
    } else {
        for (size_t i = 0; i < nodes; ++i) {
            const int row = list.InsertItem(static_cast<int>(i), t.g_arrNodeAddress[i]);
            list.SetItemText(row, kColIp, "0.0.0.0");
            list.SetItemText(row, kColPort, "502");
        }
        EnableDlgItem(IDC_NODE_RESET, false);
    }
    Item(IDC_NODE_RESET).SetToolTip("Reset Ethernet PLC Settings.");
    SetOkCancelTips(*this);
    Item(IDC_NODE_CHANGE).SetToolTip("Change the Currently Selected Node Settings.");
    return true;
}

void CEthernetNodeTableDlg::OnClickList(const ui::Event& event) {
    m_nSelectedRow = event.row;
    const ui::ListView& list = Item<ui::ListView>(IDC_NODE_LIST);
    if (event.row < 0 || event.row >= list.GetItemCount()) return;
    SetDlgItemText(IDC_NODE_ADDRESS, list.GetItemText(event.row, kColNode));
    SetDlgItemText(IDC_NODE_PORT, list.GetItemText(event.row, kColPort));
    uint8_t a, b, c, d;
    ParseIpAddress(list.GetItemText(event.row, kColIp), a, b, c, d);
    SetIpAddress(a, b, c, d);
}

void CEthernetNodeTableDlg::OnChange() {
    ui::ListView& list = Item<ui::ListView>(IDC_NODE_LIST);
    if (m_nSelectedRow >= 0 && m_nSelectedRow < list.GetItemCount()) {
        uint8_t a, b, c, d;
        GetIpAddress(a, b, c, d);
        list.SetItemText(m_nSelectedRow, kColIp, FormatIpAddress(a, b, c, d));
        list.SetItemText(m_nSelectedRow, kColPort, GetDlgItemText(IDC_NODE_PORT));
    }
    ClearFields();
}

void CEthernetNodeTableDlg::OnReset() { ClearFields(); }

void CEthernetNodeTableDlg::OnKillFocusPort() {
    if (GetDlgItemInt(IDC_NODE_PORT) != 502) SetDlgItemText(IDC_NODE_PORT, "502");
    m_nPort = 502;
}

void CEthernetNodeTableDlg::OnKillFocusNode() {
    if (GetDlgItemInt(IDC_NODE_ADDRESS) > 255) {
        ui::MessageBox("Node Address must be 1-255.", "Invalid Node Address", ui::MB_OK | ui::MB_ICONINFORMATION);
        SetDlgItemText(IDC_NODE_ADDRESS, "00");
    }
}

void CEthernetNodeTableDlg::OnKillFocusOctet(const ui::Event& event) {
    // Each part of an IP address is one byte.
    const int v = GetDlgItemInt(event.id);
    if (v > 255) {
        ui::MessageBox(platform::Format("%d is not a valid entry. Please specify a value between 0 and 255.", v),
                       "Invalid IP Address", ui::MB_OK | ui::MB_ICONINFORMATION);
        SetDlgItemText(event.id, "255");
    } else if (GetDlgItemText(event.id).empty()) {
        SetDlgItemText(event.id, "0");
    }
}

void CEthernetNodeTableDlg::OnOK() {
    const ui::ListView& list = Item<ui::ListView>(IDC_NODE_LIST);
    if (list.GetItemCount() == 0) {
        ui::Dialog::OnOK();
        return;
    }
    g_bNewProject = 0;
    CEthNodeTable& t = g_EthNodeTable;
    t.g_arrNodeAddress.clear();
    t.g_arrNodePort.clear();
    t.g_arrNodeIp.clear();
    for (int r = 0; r < list.GetItemCount(); ++r) {
        t.g_arrNodeAddress.push_back(list.GetItemText(r, kColNode));
        t.g_arrNodePort.push_back(list.GetItemText(r, kColPort));
        t.g_arrNodeIp.push_back(list.GetItemText(r, kColIp));
    }
    g_bProjectModified = 1;
    ui::Dialog::OnOK();
}
