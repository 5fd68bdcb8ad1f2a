#include "settings/PlcPortSettingDlg.h"

#include <array>

#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "res/PortSettingsResource.h"
#include "settings/PlcAdvanceSettingDlg.h"
#include "ui/Backend.h"

namespace portlists {

namespace {

constexpr size_t kKeyBuffer = 80;

std::string ReadPlcInfo(const std::string& file, const std::string& key) {
    return platform::GetPrivateProfileString("Plc Info", key, deffiles::kCorruptPlcFile, kKeyBuffer, file);
}

}  // namespace

void FillList(ui::ComboBox& list, const std::string& file, const std::string& key, int stored) {
    const bool parity = key == "Parity";
    for (const std::string& entry : platform::Split(ReadPlcInfo(file, key), ',')) {
        if (parity) {
            const char letter = entry.empty() ? '\0' : entry[0];
            const char* text = letter == 'N' ? "None" : letter == 'E' ? "Even" : letter == 'O' ? "Odd" : nullptr;
            if (!text) continue;
            const int at = list.AddString(text);
            list.SetItemData(at, std::uint32_t(letter == 'N' ? 1 : letter == 'E' ? 2 : 3));
        } else {
            const int at = list.AddString(entry);
            list.SetItemData(at, std::uint32_t(platform::Atoi(entry)));
        }
    }
    SelectByData(list, stored);
}

void SelectByData(ui::ComboBox& list, int value) {
    for (int i = 0; i < list.GetCount(); ++i)
        if (list.GetItemData(i) == std::uint32_t(value)) {
            list.SetCurSel(i);
            return;
        }
}

int SelectedValue(const ui::ComboBox& list) {
    const int sel = list.GetCurSel();
    return sel < 0 ? -1 : int(list.GetItemData(sel));
}

void FillPortLists(ui::Window& window, const std::string& file, int port) {
    const int* stored = g_ProjectSettings.g_anPortSettings[port];
    FillList(window.Item<ui::ComboBox>(IDC_BAUD_RATE), file, "BaudRate", stored[kPortBaud]);
    FillList(window.Item<ui::ComboBox>(IDC_DATA_BITS), file, "DataBit", stored[kPortDataBits]);
    FillList(window.Item<ui::ComboBox>(IDC_STOP_BITS), file, "StopBit", stored[kPortStopBits]);
    FillList(window.Item<ui::ComboBox>(IDC_PARITY_BIT), file, "Parity", stored[kPortParity]);
}

void StorePortLists(const ui::Window& window, int port) {
    // A list left without a selection (its stored value is none of the file's entries, as
    // a rate the project file carries as a bare byte) keeps the stored value: storing "no
    // value" would save as 255 and turn the setting into a rate nobody chose.
    int* s = g_ProjectSettings.g_anPortSettings[port];
    auto store = [&](int id, int index) {
        const int value = SelectedValue(window.Item<ui::ComboBox>(id));
        if (value != -1) s[index] = value;
    };
    store(IDC_BAUD_RATE, kPortBaud);
    store(IDC_DATA_BITS, kPortDataBits);
    store(IDC_PARITY_BIT, kPortParity);
    store(IDC_STOP_BITS, kPortStopBits);
}

}  // namespace portlists

namespace {

const int kListIds[] = {IDC_BAUD_RATE, IDC_DATA_BITS, IDC_PARITY_BIT, IDC_STOP_BITS};

}  // namespace

CPlcPortSettingDlg::CPlcPortSettingDlg(ui::Window* parent)
    : ui::Dialog(*res::PortSettingsTemplate(IDD_PLC_PORT_SETTING), parent) {}

const ui::HandlerTable* CPlcPortSettingDlg::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(ui::Notify::Clicked, IDC_PORT_DEFAULT, &CPlcPortSettingDlg::OnDefault),
        ui::On(ui::Notify::Clicked, IDC_PORT_ADVANCED, &CPlcPortSettingDlg::OnAdvanced),
        ui::On(ui::Notify::Clicked, IDC_PLC_SPECIFIC_DATA, &CPlcPortSettingDlg::OnPlcSpecificData),
        ui::On(ui::Notify::SelChange, IDC_BAUD_RATE, &CPlcPortSettingDlg::OnChangeSetting),
        ui::On(ui::Notify::SelChange, IDC_DATA_BITS, &CPlcPortSettingDlg::OnChangeSetting),
        ui::On(ui::Notify::SelChange, IDC_PARITY_BIT, &CPlcPortSettingDlg::OnChangeSetting),
        ui::On(ui::Notify::SelChange, IDC_STOP_BITS, &CPlcPortSettingDlg::OnChangeSetting),
    });
    return &table;
}

bool CPlcPortSettingDlg::OnInitDialog() {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const bool side1 = m_nSide == 1;
    const std::string& code = side1 ? t.g_strPLC1Id : t.g_strPLC2Id;
    const std::string& file = side1 ? t.g_strPlc1Inf : t.g_strPlc2Inf;
    const char* own = side1 ? "167" : "159";
    if (code == own) {
        EnableDlgItem(side1 ? IDC_PORT_ADVANCED : IDC_PLC_SPECIFIC_DATA, false);
        EnableDlgItem(IDC_PORT_DEFAULT, false);
    }
    if (code == own || code == "131" || code == "132" || code == "141")
        for (int id : kListIds) EnableDlgItem(id, false);
    SetWindowText(side1 ? "PLC1 Setting" : "PLC2 Setting");
    m_strPlcName = side1 ? t.g_strPLC1Name : t.g_strPLC2Name;
    portlists::FillPortLists(*this, file, side1 ? 0 : 1);
    if (platform::GetPrivateProfileInt("Plc Info", "SpecialData", -1, file) != -1)
        ShowDlgItem(IDC_PORT_ADVANCED, true);
    if (platform::GetPrivateProfileInt("Plc Info", "SpecialInfo", -1, file) != -1)
        ShowDlgItem(IDC_PLC_SPECIFIC_DATA, true);
    SetDlgItemText(IDC_PLC_NAME, m_strPlcName);
    return true;
}

void CPlcPortSettingDlg::SelectComboByData(int list, int value) {
    int id;
    switch (list) {
        case portlists::kBaudRate: id = IDC_BAUD_RATE; break;
        case portlists::kDataBits: id = IDC_DATA_BITS; break;
        case portlists::kStopBits: id = IDC_STOP_BITS; break;
        case portlists::kParity: id = IDC_PARITY_BIT; break;
        default: return;
    }
    portlists::SelectByData(Item<ui::ComboBox>(id), value);
}

void CPlcPortSettingDlg::OnDefault() {
    const std::string& file = m_nSide == 1 ? g_PlcRegisterTables.g_strPlc1Inf : g_PlcRegisterTables.g_strPlc2Inf;
    const std::vector<std::string> f = platform::Split(
        platform::GetPrivateProfileString("Plc Info", "Parameter", deffiles::kCorruptPlcFile, 80, file), ',');
    SelectComboByData(portlists::kBaudRate, platform::Atoi(platform::Field(f, 0)));
    SelectComboByData(portlists::kDataBits, platform::Atoi(platform::Field(f, 1)));
    SelectComboByData(portlists::kStopBits, platform::Atoi(platform::Field(f, 3)));
    const std::string parity = platform::Field(f, 2);
    const char last = parity.empty() ? '\0' : parity.back();
    if (last == 'E') SelectComboByData(portlists::kParity, 2);
    else if (last == 'N') SelectComboByData(portlists::kParity, 1);
    else if (last == 'O') SelectComboByData(portlists::kParity, 3);
}

void CPlcPortSettingDlg::OnOK() {
    const int port = m_nSide == 1 ? 0 : 1;
    const int* stored = g_ProjectSettings.g_anPortSettings[port];
    const std::array<int, 4> before{stored[0], stored[1], stored[2], stored[3]};
    portlists::StorePortLists(*this, port);
    // A stored value changed (also through "&Default"): an edit of the project, in either editor.
    if (std::array<int, 4>{stored[0], stored[1], stored[2], stored[3]} != before) OnChangeSetting();
    EndDialog(ui::IDOK);
}

void CPlcPortSettingDlg::OnChangeSetting() {
    g_bBlockListEdited = 1;
    g_bProjectModified = 1;
}

void CPlcPortSettingDlg::OnAdvanced() {
    CPlcAdvanceSettingDlg dlg;
    dlg.m_nPort = m_nSide == 1 ? 1 : 2;
    dlg.DoModal();
}

void CPlcPortSettingDlg::OnPlcSpecificData() {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    ShowPlcHelp(platform::Atoi(m_nSide == 1 ? t.g_strPLC1Id : t.g_strPLC2Id));
}

void CPlcPortSettingDlg::ShowPlcHelp(int plcNumber) {
    const std::string list = deffiles::PlcListInf();
    // A count beyond any real list is a damaged file: it is not walked to its end.
    constexpr int kMaxListed = 9999;
    const int count = platform::Atoi(
        platform::GetPrivateProfileString("PLCList", "PLCCount", deffiles::kCorruptProductFile, 80, list));
    for (int n = 1; n <= count && n <= kMaxListed; ++n) {
        const std::string number = platform::GetPrivateProfileString("PLCList", "PLCNo" + std::to_string(n), "1", 80, list);
        if (platform::Atoi(number) != plcNumber) continue;
        const std::string topic = platform::GetPrivateProfileString("PLCList", "PLCHelp" + std::to_string(n), "1", 80, list);
        g_szHelpTopic = topic.substr(0, 49);
        break;
    }
    ui::ShowHelp();
}

void CPlcPortSettingDlg::OnHelpInfo() {
    g_szHelpTopic = m_nSide == 1 ? "comparaplc1.htm" : "comparaplc2.htm";
    ui::ShowHelp();
}
