#include "settings/ControlWordDlg.h"

#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "platform/Text.h"
#include "res/SettingsResource.h"

#include <tuple>

CControlWordDlg::CControlWordDlg(ui::Window* parent) : CControlWordPanels(IDD_CONTROL_WORD, false) {
    SetParentWindow(parent);
}

const ui::HandlerTable* CControlWordDlg::GetHandlerTable() const {
    static const ui::HandlerTable table(CControlWordPanels::GetHandlerTable(), {
        ui::On(ui::Notify::Clicked, IDC_CW_OK, &CControlWordDlg::OnOk),
    });
    return &table;
}

bool CControlWordDlg::OnInitDialog() {
    // Opening the dialog marks nothing as changed, though filling the panels runs the
    // handlers that do.
    const int listEdited = g_bBlockListEdited;
    const int modified = g_bProjectModified;
    ui::Dialog::OnInitDialog();
    GiveBitmaps();
    ColourSummaries();
    if (m_nMode == 1)
        InitControlWord();
    else
        InitErrorBits();
    UpdateData(false);
    g_bBlockListEdited = listEdited;
    g_bProjectModified = modified;
    return true;
}

void CControlWordDlg::InitControlWord() {
    CProjectSettings& s = g_ProjectSettings;
    g_szHelpTopic = "controlword.htm";
    ShowDlgItem(IDC_CW_CTRL_WORD_HELP, true);
    ShowDlgItem(IDC_CW_ERR_BIT_HELP, false);
    FillPanel(1, 1, 1);
    FillPanel(2, 1, 1);
    ShowDlgItem(IDC_CW_ERR_BIT2_TEXT, false);
    ShowDlgItem(IDC_CW_ERR_BIT1_TEXT, false);
    SetWindowText("Control Word Setting");
    ShowDlgItem(IDC_CW_ENABLE1, true);

    s.g_strCtrlWordAddr = platform::Trim(s.g_strCtrlWordAddr);
    if (s.g_strCtrlWordAddr.empty()) {
        SetDlgItemText(IDC_CW_CTRL_WORD_TEXT, "No control word is set");
    } else {
        const int panel = s.g_nCtrlWordSide != 0 ? 2 : 1;
        LoadStoredAddress(panel, s.g_strCtrlWordAddr, false);
        SetDlgItemText(Ids(panel).address, s.g_strCtrlWordAddr);
        SetDlgItemText(IDC_CW_CTRL_WORD_TEXT,
                       "is control word from " + PlcName(panel) + ", which controls execution of Block.");
    }
    ShowDlgItem(IDC_CW_ERR_BIT1, false);
    ShowDlgItem(IDC_CW_ERR_BIT2, false);
    m_nSide = s.g_nCtrlWordSide;
    CheckDlgButton(IDC_CW_ENABLE1, s.g_bCtrlWordEnabled);
    SetDlgItemText(IDC_CW_CTRL_WORD, s.g_strCtrlWordAddr);
}

void CControlWordDlg::InitErrorBits() {
    const CProjectSettings& s = g_ProjectSettings;
    g_szHelpTopic = "errorbit.htm";
    ShowDlgItem(IDC_CW_CTRL_WORD_HELP, false);
    ShowDlgItem(IDC_CW_ERR_BIT_HELP, true);
    FillPanel(1, 1, 0);
    FillPanel(2, 1, 0);
    ShowDlgItem(IDC_CW_CTRL_WORD_TEXT, false);

    const std::string* stored[2] = {&s.g_strErrBitAddr1, &s.g_strErrBitAddr2};
    const int sentences[2] = {IDC_CW_ERR_BIT1_TEXT, IDC_CW_ERR_BIT2_TEXT};
    for (int panel = 1; panel <= 2; ++panel) {
        const std::string& address = *stored[panel - 1];
        if (address.empty()) {
            SetDlgItemText(sentences[panel - 1], "No Error bit is set");
            continue;
        }
        SetDlgItemText(sentences[panel - 1], "bit of " + PlcName(panel) + " will be set by Quorvex, when error occoures on " +
                                                 PlcName(3 - panel) + " end.");
        LoadStoredAddress(panel, address, true);
        SetDlgItemText(Ids(panel).address, address);
    }

    SetWindowText("Error Indication Bit Setting");
    ShowDlgItem(IDC_CW_ENABLE1, true);
    ShowDlgItem(IDC_CW_ENABLE2, true);
    ShowDlgItem(IDC_CW_COM1, false);
    ShowDlgItem(IDC_CW_COM2, false);
    SetDlgItemText(IDC_CW_ERR_BIT1, s.g_strErrBitAddr1);
    CheckDlgButton(IDC_CW_ENABLE1, s.g_bErrBit1Enabled);
    SetDlgItemText(IDC_CW_ERR_BIT2, s.g_strErrBitAddr2);
    CheckDlgButton(IDC_CW_ENABLE2, s.g_bErrBit2Enabled);
}

void CControlWordDlg::OnOk() {
    CProjectSettings& s = g_ProjectSettings;
    const auto stored = [&s] {
        return std::make_tuple(s.g_strCtrlWordAddr, s.g_nCtrlWordSide, s.g_bCtrlWordEnabled, s.g_strErrBitAddr1,
                               s.g_bErrBit1Enabled, s.g_strErrBitAddr2, s.g_bErrBit2Enabled);
    };
    const auto before = stored();
    UpdateData(true);
    // Nothing is stored while an address would not open again as it was saved.
    const auto holds = [this](int summary) { return ProjectCanHold(platform::TrimRight(GetDlgItemText(summary))); };
    if (m_nMode == 2 && (!holds(IDC_CW_ERR_BIT1) || !holds(IDC_CW_ERR_BIT2))) return;
    if (m_nMode == 1 && !holds(IDC_CW_CTRL_WORD)) return;
    if (m_nMode == 2) {
        // Each bit on its own: an empty summary keeps its address and its flag.
        const std::string bit1 = platform::TrimRight(GetDlgItemText(IDC_CW_ERR_BIT1));
        if (!bit1.empty()) {
            s.g_strErrBitAddr1 = bit1;
            s.g_bErrBit1Enabled = IsDlgButtonChecked(IDC_CW_ENABLE1);
        }
        const std::string bit2 = platform::TrimRight(GetDlgItemText(IDC_CW_ERR_BIT2));
        if (!bit2.empty()) {
            s.g_strErrBitAddr2 = bit2;
            s.g_bErrBit2Enabled = IsDlgButtonChecked(IDC_CW_ENABLE2);
        }
    }
    if (m_nMode == 1) {
        const std::string word = platform::TrimRight(GetDlgItemText(IDC_CW_CTRL_WORD));
        if (!word.empty()) {
            s.g_nCtrlWordSide = m_nSide;
            s.g_bCtrlWordEnabled = IsDlgButtonChecked(IDC_CW_ENABLE1);
            s.g_strCtrlWordAddr = word;
        }
    }
    // An address typed into a part field changes the project as a click does: Close must
    // ask before it is lost.
    if (stored() != before) g_bBlockListEdited = g_bProjectModified = 1;
    UpdateData(true);
    EndDialog(ui::IDOK);
}
