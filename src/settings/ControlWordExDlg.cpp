#include "settings/ControlWordExDlg.h"

#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "editor/NewBlockExView.h"
#include "platform/Text.h"
#include "res/SettingsResource.h"
#include "ui/Backend.h"


namespace {

// A bit field, its two step buttons and its panel.
struct BitGroup {
    int field, plus, minus, panel;
};
constexpr BitGroup kBitGroups[] = {
    {IDC_CW_PLC1_BIT, IDC_CW_PLC1_BIT_UP, IDC_CW_PLC1_BIT_DOWN, 1},
    {IDC_CW_PLC1_BIT3, IDC_CW_PLC1_BIT3_UP, IDC_CW_PLC1_BIT3_DOWN, 1},
    {IDC_CW_PLC2_BIT, IDC_CW_PLC2_BIT_UP, IDC_CW_PLC2_BIT_DOWN, 2},
    {IDC_CW_PLC2_BIT3, IDC_CW_PLC2_BIT3_UP, IDC_CW_PLC2_BIT3_DOWN, 2},
};

constexpr int kStationControls[] = {IDC_CW_STATION_GROUP, IDC_CW_STATION_LABEL, IDC_CW_WORDS_LABEL,
                                    IDC_CW_STATION_ID, IDC_CW_WORDS};

// An error-bit summary as the project keeps it: the address before the first "_" and
// the bit number after it (255, a coil, when there is none; 0 while the bit is not
// enabled). An empty summary keeps what is stored.
void StoreErrorBit(const std::string& summary, int checked, std::string& address, int& enabled, int& bit) {
    const std::string text = platform::TrimRight(summary);
    if (text.empty()) return;
    const size_t underscore = text.find('_');
    const int number = underscore == std::string::npos ? 255 : platform::Atoi(text.substr(underscore + 1));
    address = text.substr(0, underscore);
    enabled = checked;
    bit = checked ? number : 0;
}

// The address an error-bit summary stores ("" for an empty summary).
std::string ErrorBitAddress(const std::string& summary) {
    const std::string text = platform::TrimRight(summary);
    return text.substr(0, text.find('_'));
}

// The text up to its first "_", then "_" and the bit; "" when the text has no "_".
std::string WithBit(const std::string& text, const std::string& bit) {
    const size_t underscore = text.find('_');
    if (underscore == std::string::npos) return std::string();
    return text.substr(0, underscore) + "_" + bit;
}

}  // namespace

CControlWordExDlg::CControlWordExDlg(ui::Window* parent) : CControlWordPanels(IDD_CONTROL_WORD_EX, true) {
    SetParentWindow(parent);
}

const ui::HandlerTable* CControlWordExDlg::GetHandlerTable() const {
    using ui::Notify;
    using D = CControlWordExDlg;
    static const ui::HandlerTable table(CControlWordPanels::GetHandlerTable(), {
        ui::On(Notify::Clicked, IDC_CW_OK, &D::OnOkButton),
        ui::Cancelling(ui::On(Notify::Clicked, ui::IDOK, &D::OnCancelButton)),
        ui::On(Notify::KillFocus, IDC_CW_STATION_ID, &D::OnKillFocusStationId),
        ui::On(Notify::KillFocus, IDC_CW_WORDS, &D::OnKillFocusWords),
        ui::On(Notify::Clicked, IDC_CW_PLC1_BIT_UP, &D::OnBitPlus),
        ui::On(Notify::Clicked, IDC_CW_PLC1_BIT3_UP, &D::OnBitPlus),
        ui::On(Notify::Clicked, IDC_CW_PLC2_BIT_UP, &D::OnBitPlus),
        ui::On(Notify::Clicked, IDC_CW_PLC2_BIT3_UP, &D::OnBitPlus),
        ui::On(Notify::Clicked, IDC_CW_PLC1_BIT_DOWN, &D::OnBitMinus),
        ui::On(Notify::Clicked, IDC_CW_PLC1_BIT3_DOWN, &D::OnBitMinus),
        ui::On(Notify::Clicked, IDC_CW_PLC2_BIT_DOWN, &D::OnBitMinus),
        ui::On(Notify::Clicked, IDC_CW_PLC2_BIT3_DOWN, &D::OnBitMinus),
        ui::On(Notify::Change, IDC_CW_PLC1_BIT, &D::OnChangeBit),
        ui::On(Notify::Change, IDC_CW_PLC1_BIT3, &D::OnChangeBit),
        ui::On(Notify::Change, IDC_CW_PLC2_BIT, &D::OnChangeBit),
        ui::On(Notify::Change, IDC_CW_PLC2_BIT3, &D::OnChangeBit),
        ui::On(Notify::KillFocus, IDC_CW_PLC1_BIT, &D::OnKillFocusBit),
        ui::On(Notify::KillFocus, IDC_CW_PLC1_BIT3, &D::OnKillFocusBit),
        ui::On(Notify::KillFocus, IDC_CW_PLC2_BIT, &D::OnKillFocusBit),
        ui::On(Notify::KillFocus, IDC_CW_PLC2_BIT3, &D::OnKillFocusBit),
    });
    return &table;
}

int CControlWordExDlg::BitGroupPanel(int id, int& field) {
    for (const BitGroup& g : kBitGroups)
        if (id == g.field || id == g.plus || id == g.minus) {
            field = g.field;
            return g.panel;
        }
    field = 0;
    return 0;
}

// ---------------------------------------------------------------------------------------
// Initialisation

bool CControlWordExDlg::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    // Opening the dialog marks nothing as changed, though filling the panels runs the
    // handlers that do.
    const int modified = g_bProjectModified;
    GiveBitmaps();
    ColourSummaries();
    if (m_nMode == 1)
        InitControlWord();
    else
        InitErrorBits();
    UpdateData(false);
    g_bProjectModified = modified;
    return true;
}

void CControlWordExDlg::InitControlWord() {
    CProjectSettings& s = g_ProjectSettings;
    g_szHelpTopic = "controlword.htm";
    ShowDlgItem(IDC_CW_CTRL_WORD_HELP, true);
    ShowDlgItem(IDC_CW_ERR_BIT_HELP, false);
    FillPanel(1, 1, 1);
    FillPanel(2, 1, 1);
    ShowDlgItem(IDC_CW_ERR_BIT2_TEXT, false);
    SetWindowText("Control Word Setting");
    ShowDlgItem(IDC_CW_ERR_BIT1_TEXT, false);
    ShowDlgItem(IDC_CW_ENABLE1, true);

    // The stored address keeps the trimmed text, also when the dialog is cancelled.
    s.g_strCtrlWordAddr = platform::Trim(s.g_strCtrlWordAddr);
    if (s.g_strCtrlWordAddr.empty()) {
        SetDlgItemText(IDC_CW_CTRL_WORD_TEXT, "No control word is set");
    } else {
        const int panel = s.g_nCtrlWordSide != 0 ? 2 : 1;
        LoadStoredAddress(panel, s.g_strCtrlWordAddr, false);
        SetDlgItemText(Ids(panel).address, s.g_strCtrlWordAddr);
        s.g_strCtrlWordShown = GetDlgItemText(Ids(panel).address);
        SetDlgItemText(IDC_CW_CTRL_WORD_TEXT,
                       "is control word from " + PlcName(panel) + ", which controls execution of Block.");
    }

    ShowDlgItem(IDC_CW_ERR_BIT1, false);
    ShowDlgItem(IDC_CW_ERR_BIT2, false);
    for (int id : kStationControls) ShowDlgItem(id, true);
    SetDlgItemInt(IDC_CW_STATION_ID, s.g_nCtrlWordStation);
    SetDlgItemInt(IDC_CW_WORDS, s.g_nCtrlWordWords);
    HideBitGroups(1);
    HideBitGroups(2);
    m_nSide = s.g_nCtrlWordSide;
    CheckDlgButton(IDC_CW_ENABLE1, s.g_bCtrlWordEnabled);
    SetDlgItemText(IDC_CW_CTRL_WORD, s.g_strCtrlWordAddr);
}

void CControlWordExDlg::InitErrorBits() {
    const CProjectSettings& s = g_ProjectSettings;
    const std::string bits[2] = {std::to_string(s.g_nErrBit1), std::to_string(s.g_nErrBit2)};
    for (int panel = 1; panel <= 2; ++panel) {
        SetDlgItemText(Ids(panel).bit[kSecondSlot], bits[panel - 1]);
        SetDlgItemText(Ids(panel).bit[kThirdSlot], bits[panel - 1]);
    }
    g_szHelpTopic = "errorbit.htm";
    ShowDlgItem(IDC_CW_CTRL_WORD_HELP, false);
    ShowDlgItem(IDC_CW_ERR_BIT_HELP, true);

    // Coils and word registers; a word register's bit field in the place the PLC's
    // address form leaves free.
    for (int panel = 1; panel <= 2; ++panel) {
        const PanelIds& p = Ids(panel);
        const int form = AddressForm(panel);
        if (FillPanel(panel, form, 1, 0) == 0) continue;
        const int r = SelectedRegister(panel);
        const std::string lowest = LowestAddress(panel, r);
        if (Kind(panel, r) == 1) {
            if (form == 1) {
                ShowBitGroup(panel, kSecondSlot, true);
                ShowBitGroup(panel, kThirdSlot, false);
            } else if (form == 2) {
                ShowBitGroup(panel, kSecondSlot, false);
                ShowBitGroup(panel, kThirdSlot, true);
            }
            SetDlgItemText(p.range, RangeText(panel, r) + "(0-15)");
            SetDlgItemText(p.bit[kSecondSlot], bits[panel - 1]);
            SetDlgItemText(p.bit[kThirdSlot], bits[panel - 1]);
            SetDlgItemText(p.address, lowest + "_" + bits[panel - 1]);
        } else {
            HideBitGroups(panel);
            SetDlgItemText(p.address, lowest);
        }
    }
    ShowDlgItem(IDC_CW_CTRL_WORD_TEXT, false);

    // The stored bits.
    const std::string* stored[2] = {&s.g_strErrBitAddr1, &s.g_strErrBitAddr2};
    const int sentences[2] = {IDC_CW_ERR_BIT1_TEXT, IDC_CW_ERR_BIT2_TEXT};
    bool inWord[2] = {false, false};
    for (int panel = 1; panel <= 2; ++panel) {
        const PanelIds& p = Ids(panel);
        const std::string& address = *stored[panel - 1];
        const std::string& bit = bits[panel - 1];
        if (address.empty()) {
            SetDlgItemText(sentences[panel - 1], "No Error bit is set");
            continue;
        }
        SetDlgItemText(sentences[panel - 1], "bit of " + PlcName(panel) +
                                                 " will be set by Quorvex, when error occoures on " +
                                                 PlcName(3 - panel) + " end.");
        const int r = LoadStoredAddress(panel, address, true);
        inWord[panel - 1] = r >= 0 && Kind(panel, r) == 1;
        if (inWord[panel - 1]) {
            // The bit fields show the stored bit, not the 0 of a fresh selection.
            SetDlgItemText(p.bit[kSecondSlot], bit);
            SetDlgItemText(p.bit[kThirdSlot], bit);
        }
        SetDlgItemText(p.address, inWord[panel - 1] ? address + "_" + bit : address);
    }

    SetWindowText("Error Indication Bit Setting");
    ShowDlgItem(IDC_CW_ENABLE1, true);
    ShowDlgItem(IDC_CW_ENABLE2, true);
    ShowDlgItem(IDC_CW_COM1, false);
    ShowDlgItem(IDC_CW_COM2, false);
    for (int id : kStationControls) ShowDlgItem(id, false);
    SetDlgItemText(IDC_CW_ERR_BIT1, inWord[0] ? s.g_strErrBitAddr1 + "_" + bits[0] : s.g_strErrBitAddr1);
    SetDlgItemText(IDC_CW_ERR_BIT2, inWord[1] ? s.g_strErrBitAddr2 + "_" + bits[1] : s.g_strErrBitAddr2);
    CheckDlgButton(IDC_CW_ENABLE1, s.g_bErrBit1Enabled);
    CheckDlgButton(IDC_CW_ENABLE2, s.g_bErrBit2Enabled);
}

// ---------------------------------------------------------------------------------------
// Ok and Cancel

void CControlWordExDlg::OnOkButton() {
    CProjectSettings& s = g_ProjectSettings;
    UpdateData(true);
    // Nothing is stored while an address would not open again as it was saved.
    if (m_nMode == 2 && (!ProjectCanHold(ErrorBitAddress(GetDlgItemText(IDC_CW_ERR_BIT1))) ||
                         !ProjectCanHold(ErrorBitAddress(GetDlgItemText(IDC_CW_ERR_BIT2)))))
        return;
    if (m_nMode == 1 && !ProjectCanHold(platform::TrimRight(GetDlgItemText(IDC_CW_CTRL_WORD)))) return;
    // A confirmed dialog is a change to the project: Close must still ask about it.
    g_bProjectModified = 1;
    if (m_nMode == 2) {
        StoreErrorBit(GetDlgItemText(IDC_CW_ERR_BIT1), IsDlgButtonChecked(IDC_CW_ENABLE1), s.g_strErrBitAddr1,
                      s.g_bErrBit1Enabled, s.g_nErrBit1);
        StoreErrorBit(GetDlgItemText(IDC_CW_ERR_BIT2), IsDlgButtonChecked(IDC_CW_ENABLE2), s.g_strErrBitAddr2,
                      s.g_bErrBit2Enabled, s.g_nErrBit2);
    }
    if (m_nMode == 1) {
        const std::string word = platform::TrimRight(GetDlgItemText(IDC_CW_CTRL_WORD));
        if (!word.empty()) {
            s.g_nCtrlWordSide = m_nSide;
            s.g_bCtrlWordEnabled = IsDlgButtonChecked(IDC_CW_ENABLE1);
            s.g_strCtrlWordAddr = word;
        }
        s.g_nCtrlWordStation = GetDlgItemInt(IDC_CW_STATION_ID);
        s.g_nCtrlWordWords = GetDlgItemInt(IDC_CW_WORDS);
        s.g_strCtrlWordShown = GetDlgItemText(m_nSide == 0 ? IDC_CW_PLC1_ADDRESS : IDC_CW_PLC2_ADDRESS);
        g_bCtrlWordDlgOK = 1;
        g_bCtrlWordConfirmed = IsDlgButtonChecked(IDC_CW_ENABLE1) ? 1 : 0;
    }
    UpdateData(true);
    EndDialog(ui::IDOK);
}

void CControlWordExDlg::OnCancelButton() {
    g_bCtrlWordDlgOK = 0;
    EndDialog(ui::IDCANCEL);
}

// ---------------------------------------------------------------------------------------
// Station ID and word count

void CControlWordExDlg::OnKillFocusStationId() {
    // Trailing text ("7o") is refused as well: it would be stored as the number it starts with.
    const int n = GetDlgItemInt(IDC_CW_STATION_ID);
    if (!platform::IsWholeNumber(GetDlgItemText(IDC_CW_STATION_ID)) || n < 1 || n > 255) {
        ui::MessageBox("Station ID Range is 1-255.Please enter valid data.", "", ui::MB_OK | ui::MB_ICONINFORMATION);
        SetDlgItemText(IDC_CW_STATION_ID, "1");
    }
}

void CControlWordExDlg::OnKillFocusWords() {
    const int n = GetDlgItemInt(IDC_CW_WORDS);
    if (!platform::IsWholeNumber(GetDlgItemText(IDC_CW_WORDS)) || n < 1 || n > 16) {
        ui::MessageBox("#Words Range is 1-16.Please enter valid data", "", ui::MB_OK | ui::MB_ICONINFORMATION);
        SetDlgItemText(IDC_CW_WORDS, "1");
    }
}

// ---------------------------------------------------------------------------------------
// Bit fields

int CControlWordExDlg::NextBitNumber(const std::string& text) {
    const int n = platform::Atoi(text);
    return n == 15 ? 0 : n + 1;
}

int CControlWordExDlg::PrevBitNumber(const std::string& text) {
    const int n = platform::Atoi(text);
    return n == 0 ? 15 : n - 1;
}

void CControlWordExDlg::OnChangeBit(const ui::Event& e) {
    int field = 0;
    const int panel = BitGroupPanel(e.id, field);
    if (panel == 0) return;
    const std::string s = WithBit(GetDlgItemText(Ids(panel).address), GetDlgItemText(field));
    if (s.empty()) return;  // the address carries no bit
    SetDlgItemText(Ids(panel).address, s);
    SetDlgItemText(Ids(panel).errorBit, s);
}

void CControlWordExDlg::StepBit(int id, bool up) {
    int field = 0;
    const int panel = BitGroupPanel(id, field);
    if (panel == 0) return;
    UpdateData(true);
    const std::string bit = GetDlgItemText(field);
    const std::string address = GetDlgItemText(Ids(panel).address);
    if (address.find('_') != std::string::npos) {
        const std::string n = std::to_string(up ? NextBitNumber(bit) : PrevBitNumber(bit));
        SetDlgItemText(field, n);
        const std::string s = WithBit(address, n);
        SetDlgItemText(Ids(panel).address, s);
        SetDlgItemText(Ids(panel).errorBit, s);
    }
    UpdateData(false);
}

void CControlWordExDlg::OnBitPlus(const ui::Event& e) { StepBit(e.id, true); }
void CControlWordExDlg::OnBitMinus(const ui::Event& e) { StepBit(e.id, false); }

void CControlWordExDlg::OnKillFocusBit(const ui::Event& e) {
    const int n = GetDlgItemInt(e.id);
    if (n < 0 || n > 15) {
        ui::MessageBox("Bit Range is 0-15.Please enter valid data.", "Invalid Range",
                       ui::MB_OK | ui::MB_ICONINFORMATION);
        SetDlgItemText(e.id, "0");
    }
}
