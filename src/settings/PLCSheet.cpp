#include "settings/PLCSheet.h"

#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "editor/BlockExView.h"
#include "platform/Text.h"
#include "plc/PlcRegisterTables.h"
#include "res/PortSettingsResource.h"
#include "res/StringTable.h"
#include "settings/PlcPortSettingDlg.h"
#include "ui/FrameHost.h"
#include "ui/Backend.h"

#include <algorithm>
#include <array>

PlcSheetServices g_PlcSheetServices;

namespace {

constexpr int kDefaultTimeout = 5;

bool TimeoutInRange(int value) { return value >= 1 && value <= 50; }

}  // namespace

// ---------------------------------------------------------------------------------------
// General page

CPLCGeneral::CPLCGeneral() : ui::PropertyPage(IDD_PLC_GENERAL, "General") {
    MutableTemplate() = *res::PortSettingsTemplate(IDD_PLC_GENERAL);
}

const ui::HandlerTable* CPLCGeneral::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::PropertyPage::GetHandlerTable(), {
        ui::On(ui::Notify::Change, IDC_PLC_PAGE_COUNT, &CPLCGeneral::OnChangePlcCount),
        ui::On(ui::Notify::Clicked, IDC_COMMUNICATION, &CPLCGeneral::OnCommunication),
        ui::On(ui::Notify::Clicked, IDC_SHEET_SAVE, &CPLCGeneral::OnSave),
    });
    return &table;
}

bool CPLCGeneral::OnInitDialog() {
    EnableDlgItem(IDC_COMMUNICATION, bool(g_PlcSheetServices.communication));
    SetDlgItemText(IDC_PLC_PAGE_COUNT, "3");
    return true;
}

void CPLCGeneral::OnChangePlcCount() {
    if (auto* sheet = dynamic_cast<CPLCSheet*>(GetSheet()))
        sheet->SetPlcPageCount(platform::Atoi(GetDlgItemText(IDC_PLC_PAGE_COUNT)));
}

void CPLCGeneral::OnCommunication() {
    if (g_PlcSheetServices.communication) g_PlcSheetServices.communication();
}

void CPLCGeneral::OnSave() {
    // The older block editor's Save, on a view without a window: its construction marks
    // a project as open, which the Save requires.
    {
        CBlockExView view;
        view.OnFileSave();
    }
    if (ui::FrameHost* frame = ui::GetFrameHost()) {
        frame->RefreshRecentProjects();
        frame->ReloadComPortSetting();
    }
}

// ---------------------------------------------------------------------------------------
// Port pages

CPLCConfig::CPLCConfig(int port)
    : ui::PropertyPage(IDD_PLC_CONFIG, res::PortPageCaption(port)), m_nPortIndex(port - 1) {
    MutableTemplate() = *res::PortSettingsTemplate(IDD_PLC_CONFIG);
}

const ui::HandlerTable* CPLCConfig::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::PropertyPage::GetHandlerTable(), {
        ui::On(ui::Notify::KillFocus, IDC_PORT_TIMEOUT, &CPLCConfig::OnKillFocusTimeout),
    });
    return &table;
}

bool CPLCConfig::OnInitDialog() {
    Item(IDC_PORT_TIMEOUT).LimitText(2);
    // Every port takes the COM1 side's protocol and lists.
    SetDlgItemText(IDC_PLC_NAME, g_PlcRegisterTables.g_strPLC1Name);
    portlists::FillPortLists(*this, g_PlcRegisterTables.g_strPlc1Inf, m_nPortIndex);
    SetDlgItemText(IDC_PORT_TIMEOUT, std::to_string(g_ProjectSettings.g_anPortTimeout[m_nPortIndex]));
    return true;
}

void CPLCConfig::OnKillFocusTimeout() {
    const std::string text = GetDlgItemText(IDC_PORT_TIMEOUT).substr(0, 2);
    if (!TimeoutInRange(platform::Atoi(text))) SetDlgItemText(IDC_PORT_TIMEOUT, std::to_string(kDefaultTimeout));
}

bool CPLCConfig::OnKillActive() {
    // The time-out rule also holds when the page is left without the field losing focus.
    OnKillFocusTimeout();
    CProjectSettings& s = g_ProjectSettings;
    const auto stored = [&s, port = m_nPortIndex] {
        std::array<int, 5> values{};
        std::copy(s.g_anPortSettings[port], s.g_anPortSettings[port] + 4, values.begin());
        values[4] = s.g_anPortTimeout[port];
        return values;
    };
    const std::array<int, 5> before = stored();
    portlists::StorePortLists(*this, m_nPortIndex);
    s.g_anPortTimeout[m_nPortIndex] = platform::Atoi(GetDlgItemText(IDC_PORT_TIMEOUT).substr(0, 2));
    // A changed setting is an edit of the project: Close asks before it is lost.
    if (stored() != before) g_bBlockListEdited = 1;
    return ui::PropertyPage::OnKillActive();
}

void CPLCConfig::SelectComboByData(int list, int value) {
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

// ---------------------------------------------------------------------------------------
// The sheet

CPLCSheet::CPLCSheet(const std::string& caption, ui::Window* parent, int startPage)
    : ui::PropertySheet(caption, parent, startPage) {
    AddPage(&m_GeneralPage);
    CreatePlcPages();
}

CPLCSheet::~CPLCSheet() {
    // The pages go before the base sheet that lists them.
    while (GetPageCount() > 0) RemovePage(GetPageCount() - 1);
}

void CPLCSheet::CreatePlcPages() {
    for (int port = 1; port <= 3; ++port) m_pPlcPages[port - 1] = std::make_unique<CPLCConfig>(port);
}

void CPLCSheet::SetPlcPageCount(int n) {
    if (n < 0 || n > 3) return;
    while (GetPageCount() > 1) RemovePage(GetPageCount() - 1);
    for (int port = 1; port <= n; ++port) AddPage(m_pPlcPages[port - 1].get());
}

bool CPLCSheet::OnInitDialog() {
    const bool result = ui::PropertySheet::OnInitDialog();
    ShowDlgItem(ui::IDOK, false);
    SetDlgItemText(ui::IDCANCEL, "Close");
    return result;
}

void CPLCSheet::OnCancel() {
    // "Close" is the sheet's only way out: the page on screen keeps what it shows, as
    // the pages left before it did.
    if (ui::PropertyPage* page = GetActivePage(); page && page->IsCreated()) page->OnKillActive();
    // Closing the sheet closes the project: an edited one is saved first, or dropped when
    // the engineer says so, as every other editor asks.
    if (g_bBlockListEdited == 1) {
        const int answer = ui::MessageBox(LoadString(IDS_SAVE_PROJECT_QUESTION), "Quorvex",
                                          ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION);
        if (answer == ui::IDCANCEL) return;
        if (answer == ui::IDYES) {
            m_GeneralPage.OnSave();
            if (g_bBlockListEdited == 1) return;  // not saved: the sheet stays open
        }
    }
    ui::PropertySheet::OnCancel();
}

void RunCommunicationSettingSheet() {
    CPLCSheet sheet("Communication Setting", nullptr, 0);
    sheet.m_psh_dwFlags |= ui::PSH_NOAPPLYNOW;
    g_szHelpTopic = "portmultiplexer.htm";
    sheet.DoModal();
}
