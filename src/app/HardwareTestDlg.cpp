#include "app/HardwareTestDlg.h"

#include "model/RunTimeState.h"
#include "link/UnitLink.h"
#include "plc/PlcRegisterTables.h"
#include "res/ToolsResource.h"
#include "res/TransferResource.h"

namespace {
constexpr uint32_t kAfterTestMs = 1000;
const char* const kSentText = "HELLO";
}  // namespace

CHardwareTestDlg::CHardwareTestDlg(ui::Window* parent)
    : ui::Dialog(res::ToolsDialogTemplate(IDD_HARDWARE_TEST), parent), m_test(g_HwTestPort, *this) {
    g_HwTestPort.SetReporter(this);
}

CHardwareTestDlg::~CHardwareTestDlg() { g_HwTestPort.SetReporter(nullptr); }

const ui::HandlerTable* CHardwareTestDlg::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(ui::Notify::Clicked, IDC_HW_RS232, &CHardwareTestDlg::OnLevelRs232),
        ui::On(ui::Notify::Clicked, IDC_HW_RS422, &CHardwareTestDlg::OnLevelRs422),
        ui::On(ui::Notify::Clicked, IDC_HW_CMOS, &CHardwareTestDlg::OnLevelCmos),
        ui::On(ui::Notify::Clicked, IDC_HW_PORT1, &CHardwareTestDlg::OnPort1),
        ui::On(ui::Notify::Clicked, IDC_HW_PORT2, &CHardwareTestDlg::OnPort2),
        ui::On(ui::Notify::Clicked, IDC_HW_START_TEST, &CHardwareTestDlg::OnStartTest),
        ui::On(ui::Notify::Clicked, IDC_HW_HELP, &CHardwareTestDlg::OnHelpButton),
    });
    return &table;
}

bool CHardwareTestDlg::OnInitDialog() {
    m_nLineIndex = 0;
    SetDlgItemText(IDC_HW_CABLE_TEXT, " ");
    SetDlgItemText(IDC_HW_PIN_TEXT, " ");
    EnableDlgItem(IDC_HW_START_TEST, false);
    for (int id : {IDC_HW_RS232, IDC_HW_RS422, IDC_HW_CMOS}) EnableDlgItem(id, false);
    EnableDlgItem(ui::IDCANCEL, true);
    auto& results = Item<ui::ListControl>(IDC_HW_RESULTS);
    results.SetHorizontalExtent(kStatusListExtent);
    for (int i = 0; i < 9; ++i) results.AddString(" ");
    g_szHelpTopic = "hardwaretest.htm";
    return true;
}

void CHardwareTestDlg::OnCancel() {
    if (g_nStartScreen == 1 || g_nMainScreen == 1) g_szHelpTopic = "products.htm";
    else if (g_nStartScreen == 2 || g_nMainScreen == 2) g_szHelpTopic = "protocols.htm";
    ui::Dialog::OnCancel();
}

void CHardwareTestDlg::OnHelpInfo() { ui::ShowHelp(); }
void CHardwareTestDlg::OnHelpButton() { ui::ShowHelp(); }

void CHardwareTestDlg::PortChosen(const char* cableText) {
    SetDlgItemText(IDC_HW_CABLE_TEXT, cableText);
    SetDlgItemText(IDC_HW_SENT, " ");
    SetDlgItemText(IDC_HW_RECEIVED, " ");
    for (int id : {IDC_HW_RS232, IDC_HW_RS422, IDC_HW_CMOS}) {
        EnableDlgItem(id, true);
        Item(id).SetCheck(0);
    }
    SetDlgItemText(IDC_HW_PIN_TEXT, "");
    EnableDlgItem(IDC_HW_START_TEST, false);
}

void CHardwareTestDlg::OnPort1() { PortChosen("Please attach IBM cable to Quorvex communication port 2"); }
void CHardwareTestDlg::OnPort2() { PortChosen("Please attach IBM cable to Quorvex communication port 1"); }

void CHardwareTestDlg::LevelChosen(const char* port1Text, const char* port2Text) {
    SetDlgItemText(IDC_HW_SENT, " ");
    SetDlgItemText(IDC_HW_RECEIVED, " ");
    if (IsDlgButtonChecked(IDC_HW_PORT1)) SetDlgItemText(IDC_HW_PIN_TEXT, port1Text);
    else if (IsDlgButtonChecked(IDC_HW_PORT2)) SetDlgItemText(IDC_HW_PIN_TEXT, port2Text);
    EnableDlgItem(IDC_HW_START_TEST, true);
}

void CHardwareTestDlg::OnLevelRs232() {
    LevelChosen("Please short pins 2 and 3 on Quorvex communication port 1",
                "Please short pins 2 and 3 on Quorvex communication port 2");
}

void CHardwareTestDlg::OnLevelRs422() {
    LevelChosen("Please short pins : 1-4 and 8-9 on Quorvex communication port 1",
                "Please short pins : 1-4 and 8-9 on Quorvex communication port 2");
}

void CHardwareTestDlg::OnLevelCmos() {
    LevelChosen("Please short pins 3 and 7 on Quorvex communication port 1",
                "Please short pins 3 and 7 on Quorvex communication port 2");
}

void CHardwareTestDlg::OnStartTest() {
    m_strSent.clear();
    SetDlgItemText(IDC_HW_SENT, " ");
    EnableButtons(false);
    SetDlgItemText(IDC_HW_RECEIVED, " ");
    m_strSent = kSentText;
    RunLoopBackTest();
    g_HwTestPort.GetClock().Sleep(kAfterTestMs);
}

void CHardwareTestDlg::RunLoopBackTest() {
    const LoopBackOutcome outcome =
        m_test.RunLoopBackTest(g_PlcRegisterTables.g_strPcComPort, m_strSent, m_strReceived);
    switch (outcome) {
    case LoopBackOutcome::PortNotOpened: AddLine(kMsgOpenPortError); break;
    case LoopBackOutcome::CommError: AddLine(kHwLineCommError); break;
    case LoopBackOutcome::NotSupported: AddLine(kHwLineNotSupported); break;
    case LoopBackOutcome::Passed:
    case LoopBackOutcome::Failed: AddLine(ResultText(CompareEcho() != 0)); break;
    }
    EndTest();
}

int CHardwareTestDlg::CompareEcho() {
    SetDlgItemText(IDC_HW_RECEIVED, m_strReceived);
    return m_strReceived == m_strSent ? 0 : 1;
}

std::string CHardwareTestDlg::ResultText(bool failed) const {
    if (IsDlgButtonChecked(IDC_HW_RS232))
        return failed ? "RS232 loop back test failed. Possible causes of failure can be : 1)Required pins were "
                        "not shorted properly. 2)Communication port of Quorvex is damaged."
                      : "RS232 loop back test passed.";
    if (IsDlgButtonChecked(IDC_HW_RS422))
        return failed ? "RS422/RS485 loop back test failed." : "RS422/RS485 loop back test passed.";
    if (IsDlgButtonChecked(IDC_HW_CMOS)) return failed ? "CMOS loop back test failed." : "CMOS loop back test passed.";
    return std::string();
}

void CHardwareTestDlg::AddLine(const std::string& text) {
    auto& results = Item<ui::ListControl>(IDC_HW_RESULTS);
    results.InsertString(m_nLineIndex, text);
    results.SetCurSel(m_nLineIndex);
    ++m_nLineIndex;
}

void CHardwareTestDlg::EndTest() {
    EnableButtons(true);
    g_HwTestPort.Close();
    m_pWaitCursor.reset();
}

int CHardwareTestDlg::ShowMessage(const std::string& text, const std::string& caption, unsigned flags) {
    return ui::MessageBox(text, caption, flags);
}

void CHardwareTestDlg::SetSentText(const std::string& text) { SetDlgItemText(IDC_HW_SENT, text); }

void CHardwareTestDlg::EnableButtons(bool enable) {
    for (int id : {IDC_HW_START_TEST, IDC_HW_HELP, ui::IDCANCEL}) EnableDlgItem(id, enable);
}

void CHardwareTestDlg::BeginWaitCursor() {
    if (!m_pWaitCursor) m_pWaitCursor = std::make_unique<ui::WaitCursor>();
}
