#include "settings/ControlWordPanels.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "model/ProjectFileFormat.h"
#include "model/RunTimeState.h"
#include "plc/NumConverter.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Text.h"
#include "res/EditorBitmaps.h"
#include "res/EditorResource.h"
#include "res/SettingsResource.h"
#include "ui/Backend.h"

namespace {

const CControlWordPanels::PanelIds kPanel1{
    IDC_CW_PLC1_REGISTER,
    IDC_CW_PLC1_RANGE,
    IDC_CW_PLC1_ADDRESS,
    IDC_CW_ERR_BIT1,
    {IDC_CW_PLC1_NUMBER, IDC_CW_PLC1_COLON, IDC_CW_PLC1_SLASH},
    {IDC_CW_PLC1_NUMBER_UP, IDC_CW_PLC1_COLON_UP, IDC_CW_PLC1_SLASH_UP},
    {IDC_CW_PLC1_NUMBER_DOWN, IDC_CW_PLC1_COLON_DOWN, IDC_CW_PLC1_SLASH_DOWN},
    {IDC_CW_PLC1_BIT, IDC_CW_PLC1_BIT3},
    {IDC_CW_PLC1_BIT_UP, IDC_CW_PLC1_BIT3_UP},
    {IDC_CW_PLC1_BIT_DOWN, IDC_CW_PLC1_BIT3_DOWN},
};
const CControlWordPanels::PanelIds kPanel2{
    IDC_CW_PLC2_REGISTER,
    IDC_CW_PLC2_RANGE,
    IDC_CW_PLC2_ADDRESS,
    IDC_CW_ERR_BIT2,
    {IDC_CW_PLC2_NUMBER, IDC_CW_PLC2_COLON, IDC_CW_PLC2_SLASH},
    {IDC_CW_PLC2_NUMBER_UP, IDC_CW_PLC2_COLON_UP, IDC_CW_PLC2_SLASH_UP},
    {IDC_CW_PLC2_NUMBER_DOWN, IDC_CW_PLC2_COLON_DOWN, IDC_CW_PLC2_SLASH_DOWN},
    {IDC_CW_PLC2_BIT, IDC_CW_PLC2_BIT3},
    {IDC_CW_PLC2_BIT_UP, IDC_CW_PLC2_BIT3_UP},
    {IDC_CW_PLC2_BIT_DOWN, IDC_CW_PLC2_BIT3_DOWN},
};

// Which limit a step that left the limits lands on, by panel, part and direction: for a
// value below the lower limit and for one above the upper limit.
enum Limit { kLower, kUpper };
struct OutOfRange {
    Limit below, above;
};
// [panel - 1][part][0 "+", 1 "-"]
constexpr OutOfRange kStepRule[2][3][2] = {
    {{{kUpper, kUpper}, {kUpper, kLower}},   // PLC1 number
     {{kUpper, kLower}, {kUpper, kLower}},   // PLC1 colon
     {{kUpper, kLower}, {kLower, kUpper}}},  // PLC1 slash
    {{{kUpper, kUpper}, {kLower, kUpper}},   // PLC2 number
     {{kLower, kUpper}, {kLower, kUpper}},   // PLC2 colon
     {{kLower, kUpper}, {kLower, kUpper}}},  // PLC2 slash
};

// Whether typing may leave the character in a part of this number system.
bool Keeps(char ch, int radix) {
    switch (radix) {
        case 0: return ch >= '0' && ch <= '9';
        case 1: return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F');
        case 2: return ch >= '0' && ch <= '7';
        default: return true;  // no number system: every character stays
    }
}

int Value(const std::string& text, int radix) { return g_DlgNumConverter.TextToNumber(text, radix); }

const StringArray& Column(int panel, int field) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const bool one = panel == 1;
    switch (field) {
        case 1: return one ? t.g_arrPlc1RegName : t.g_arrPlc2RegName;
        case 2: return one ? t.g_arrPlc1RegKind : t.g_arrPlc2RegKind;
        case 3: return one ? t.g_arrPlc1RegRadix : t.g_arrPlc2RegRadix;
        case 4: return one ? t.g_arrPlc1RegPrefix : t.g_arrPlc2RegPrefix;
        case 5: return one ? t.g_arrPlc1RegMin : t.g_arrPlc2RegMin;
        case 6: return one ? t.g_arrPlc1RegMax : t.g_arrPlc2RegMax;
        case 7: return one ? t.g_arrPlc1RegColonMin : t.g_arrPlc2RegColonMin;
        case 8: return one ? t.g_arrPlc1RegColonMax : t.g_arrPlc2RegColonMax;
        case 9: return one ? t.g_arrPlc1RegSlashMin : t.g_arrPlc2RegSlashMin;
        default: return one ? t.g_arrPlc1RegSlashMax : t.g_arrPlc2RegSlashMax;
    }
}

std::string Cell(int panel, int field, int r) {
    const StringArray& column = Column(panel, field);
    return r >= 0 && size_t(r) < column.size() ? column[size_t(r)] : std::string();
}

}  // namespace

CControlWordPanels::CControlWordPanels(int templateId, bool newer)
    : ui::Dialog(templateId), m_bNewer(newer) {}

const ui::HandlerTable* CControlWordPanels::GetHandlerTable() const {
    using ui::Notify;
    using D = CControlWordPanels;
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(Notify::Change, IDC_CW_PLC1_NUMBER, &D::OnChangeNumberPlc1),
        ui::On(Notify::Change, IDC_CW_PLC1_COLON, &D::OnChangeColonPlc1),
        ui::On(Notify::Change, IDC_CW_PLC1_SLASH, &D::OnChangeSlashPlc1),
        ui::On(Notify::Change, IDC_CW_PLC2_NUMBER, &D::OnChangeNumberPlc2),
        ui::On(Notify::Change, IDC_CW_PLC2_COLON, &D::OnChangeColonPlc2),
        ui::On(Notify::Change, IDC_CW_PLC2_SLASH, &D::OnChangeSlashPlc2),
        ui::On(Notify::KillFocus, IDC_CW_PLC1_NUMBER, &D::OnKillFocusNumberPlc1),
        ui::On(Notify::KillFocus, IDC_CW_PLC1_COLON, &D::OnKillFocusColonPlc1),
        ui::On(Notify::KillFocus, IDC_CW_PLC1_SLASH, &D::OnKillFocusSlashPlc1),
        ui::On(Notify::KillFocus, IDC_CW_PLC2_NUMBER, &D::OnKillFocusNumberPlc2),
        ui::On(Notify::KillFocus, IDC_CW_PLC2_COLON, &D::OnKillFocusColonPlc2),
        ui::On(Notify::KillFocus, IDC_CW_PLC2_SLASH, &D::OnKillFocusSlashPlc2),
        ui::On(Notify::Clicked, IDC_CW_PLC1_NUMBER_UP, &D::OnNumberUpPlc1),
        ui::On(Notify::Clicked, IDC_CW_PLC1_NUMBER_DOWN, &D::OnNumberDownPlc1),
        ui::On(Notify::Clicked, IDC_CW_PLC1_COLON_UP, &D::OnColonUpPlc1),
        ui::On(Notify::Clicked, IDC_CW_PLC1_COLON_DOWN, &D::OnColonDownPlc1),
        ui::On(Notify::Clicked, IDC_CW_PLC1_SLASH_UP, &D::OnSlashUpPlc1),
        ui::On(Notify::Clicked, IDC_CW_PLC1_SLASH_DOWN, &D::OnSlashDownPlc1),
        ui::On(Notify::Clicked, IDC_CW_PLC2_NUMBER_UP, &D::OnNumberUpPlc2),
        ui::On(Notify::Clicked, IDC_CW_PLC2_NUMBER_DOWN, &D::OnNumberDownPlc2),
        ui::On(Notify::Clicked, IDC_CW_PLC2_COLON_UP, &D::OnColonUpPlc2),
        ui::On(Notify::Clicked, IDC_CW_PLC2_COLON_DOWN, &D::OnColonDownPlc2),
        ui::On(Notify::Clicked, IDC_CW_PLC2_SLASH_UP, &D::OnSlashUpPlc2),
        ui::On(Notify::Clicked, IDC_CW_PLC2_SLASH_DOWN, &D::OnSlashDownPlc2),
        ui::On(Notify::SelChange, IDC_CW_PLC1_REGISTER, &D::OnSelChangeRegisterPlc1),
        ui::On(Notify::SelChange, IDC_CW_PLC2_REGISTER, &D::OnSelChangeRegisterPlc2),
        ui::On(Notify::Clicked, IDC_CW_COM1, &D::OnCom1),
        ui::On(Notify::Clicked, IDC_CW_COM2, &D::OnCom2),
        ui::On(Notify::Clicked, IDC_CW_ENABLE1, &D::OnEnable1),
        ui::On(Notify::Clicked, IDC_CW_ENABLE2, &D::OnEnable2),
    });
    return &table;
}

const CControlWordPanels::PanelIds& CControlWordPanels::Ids(int panel) {
    return panel == 1 ? kPanel1 : kPanel2;
}

void CControlWordPanels::DoDataExchange(bool save) {
    if (save) {
        m_nSide = IsDlgButtonChecked(IDC_CW_COM1) ? 0 : IsDlgButtonChecked(IDC_CW_COM2) ? 1 : -1;
    } else {
        CheckDlgButton(IDC_CW_COM1, m_nSide == 0 ? 1 : 0);
        CheckDlgButton(IDC_CW_COM2, m_nSide == 1 ? 1 : 0);
    }
}

void CControlWordPanels::OnHelpInfo() { ui::ShowHelp(); }

// ---------------------------------------------------------------------------------------
// Register data of a panel's port

int CControlWordPanels::SelectedRegister(int panel) const {
    const auto& list = Item<ui::ListControl>(Ids(panel).list);
    const int cur = list.GetCurSel();
    if (cur < 0) return -1;
    const int r = int(list.GetItemData(cur));
    return r >= 0 && size_t(r) < Column(panel, 4).size() ? r : -1;
}

std::string CControlWordPanels::RegisterName(int panel, int r) const { return Cell(panel, 1, r); }
std::string CControlWordPanels::Prefix(int panel, int r) const { return Cell(panel, 4, r); }
int CControlWordPanels::Kind(int panel, int r) const { return platform::Atoi(Cell(panel, 2, r)); }

std::string CControlWordPanels::LowerLimit(int panel, int r, int part) const {
    return Cell(panel, 5 + 2 * part, r);
}

std::string CControlWordPanels::UpperLimit(int panel, int r, int part) const {
    return Cell(panel, 6 + 2 * part, r);
}

int CControlWordPanels::AddressForm(int panel) {
    return panel == 1 ? g_PlcRegisterTables.g_nPlc1NoOfByte : g_PlcRegisterTables.g_nPlc2NoOfByte;
}

std::string CControlWordPanels::PlcName(int panel) {
    return panel == 1 ? g_PlcRegisterTables.g_strPLC1Name : g_PlcRegisterTables.g_strPLC2Name;
}

std::string CControlWordPanels::Compose(int panel, int r, const std::string& number,
                                        const std::string& colon, const std::string& slash) const {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    // A part with no number of its own always gives its mark, whatever its field holds or
    // whether it is shown: "A*" and "P*" are the letter that names the timer's or the
    // counter's register (T000A, T000P).
    const std::string c = IsMarkPart(panel, r, kColon) ? LowerLimit(panel, r, kColon) : colon;
    const std::string s = IsMarkPart(panel, r, kSlash) ? LowerLimit(panel, r, kSlash) : slash;
    return Prefix(panel, r) + (panel == 1 ? t.FormatAddressCom1(number, c, s, r) : t.FormatAddressCom2(number, c, s, r));
}

bool CControlWordPanels::IsMarkPart(int panel, int r, int part) const {
    return CPlcRegisterTables::IsMarker(LowerLimit(panel, r, part));
}

std::string CControlWordPanels::LowestAddress(int panel, int r) const {
    return Compose(panel, r, LowerLimit(panel, r, kNumber), LowerLimit(panel, r, kColon),
                   LowerLimit(panel, r, kSlash));
}

std::string CControlWordPanels::RangeText(int panel, int r) const {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    return panel == 1 ? t.GetRegisterRangeTextCom1(r) : t.GetRegisterRangeTextCom2(r);
}

std::string CControlWordPanels::NumberPart(int panel, const std::string& address, int r) const {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    return panel == 1 ? t.GetAddressNumberPartCom1(address, r) : t.GetAddressNumberPartCom2(address, r);
}

std::string CControlWordPanels::ColonPart(int panel, const std::string& address, int r) const {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    return panel == 1 ? t.GetAddressColonPartCom1(address, r) : t.GetAddressColonPartCom2(address, r);
}

std::string CControlWordPanels::SlashPart(int panel, const std::string& address, int r) const {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    return panel == 1 ? t.GetAddressSlashPartCom1(address, r) : t.GetAddressSlashPartCom2(address, r);
}

// The number system of a part: the register's radix code, except that code 5 (a decimal
// address with a hexadecimal second part) reads its number and slash parts in decimal
// and its colon part in hexadecimal, for typing, leaving and stepping alike.
int CControlWordPanels::PartRadix(int panel, int r, int part) const {
    const int code = platform::Atoi(Cell(panel, 3, r));
    if (code == 5) return part == kColon ? 1 : 0;
    return code;
}

// The text padded with zeros to the lower limit's length and pulled into the limits.
std::string CControlWordPanels::HeldInLimits(int panel, int r, int part, const std::string& text) const {
    const std::string lower = LowerLimit(panel, r, part);
    const std::string upper = UpperLimit(panel, r, part);
    const int radix = PartRadix(panel, r, part);
    std::string v = CPlcRegisterTables::FitStringToWidth(text, unsigned(lower.size()));
    if (Value(v, radix) < Value(lower, radix)) v = lower;
    if (Value(v, radix) > Value(upper, radix)) v = upper;
    return v;
}

bool CControlWordPanels::IsShown(int id) const {
    const ui::Control* c = GetDlgItem(id);
    return c && c->IsWindowVisible();
}

bool CControlWordPanels::ProjectCanHold(const std::string& address) {
    const size_t width = prjfile::kAddressTextWidth;
    if (address.size() <= width) return true;
    ui::MessageBox("The address " + address + " is too long to be saved in the project: an address may have at most " +
                       std::to_string(width) + " characters.\nPlease choose another address.",
                   "Invalid Address", ui::MB_OK | ui::MB_ICONINFORMATION);
    return false;
}

void CControlWordPanels::SetFlagsAfterEdit() {
    g_bProjectModified = 1;
    if (!m_bNewer) g_bBlockListEdited = 1;
}

// ---------------------------------------------------------------------------------------
// Filling the panels

int CControlWordPanels::FillPanel(int panel, int parts, int kind1, int kind2) {
    const PanelIds& p = Ids(panel);
    auto& list = Item<ui::ListControl>(p.list);
    const StringArray& kinds = Column(panel, 2);
    m_nListKinds[panel - 1][0] = kind1;
    m_nListKinds[panel - 1][1] = kind2;
    for (size_t i = 0; i < kinds.size(); ++i) {
        const int kind = platform::Atoi(kinds[i]);
        if (kind != kind1 && (kind2 < 0 || kind != kind2)) continue;
        // A type whose shortest address is longer than the project holds (DF1's Integer
        // Bit, NB07:000/00) could never be stored: it is not offered.
        if (LowestAddress(panel, int(i)).size() > prjfile::kAddressTextWidth) continue;
        const int at = list.AddString(RegisterName(panel, int(i)));
        list.SetItemData(at, std::uint32_t(i));
    }
    if (list.GetCount() == 0) return 0;
    list.SetCurSel(0);
    UpdateData(false);
    FillRange(panel, parts);
    SelChangeRegister(panel);
    const int r = SelectedRegister(panel);
    SetDlgItemText(p.range, RangeText(panel, r));
    SetDlgItemText(p.address, LowestAddress(panel, r));
    return list.GetCount();
}

int CControlWordPanels::LoadStoredAddress(int panel, const std::string& address, bool errorBit) {
    const int r = g_PlcRegisterTables.FindRegisterByPrefix(address, panel);
    auto& list = Item<ui::ListControl>(Ids(panel).list);
    if (r < 0 || list.GetCount() == 0) return -1;
    int at = 0;
    while (at < list.GetCount() && list.GetItemData(at) < std::uint32_t(r)) ++at;
    if (at == list.GetCount() || list.GetItemData(at) != std::uint32_t(r)) {
        // A register the list leaves out: the address opens under its own register when
        // it is of a kind the list holds (left out because its shortest address is longer
        // than the project holds), in its place in table order; otherwise it is shown as
        // it stands, and no part of it goes into another register's fields.
        const int kind = Kind(panel, r);
        const int* kinds = m_nListKinds[panel - 1];
        if (kind != kinds[0] && kind != kinds[1]) return -1;
        at = list.InsertString(at, RegisterName(panel, r));
        list.SetItemData(at, std::uint32_t(r));
    }
    SelectRegisterEntry(r, panel);
    SelChangeRegister(panel);
    const PanelIds& p = Ids(panel);
    const int form = AddressForm(panel);
    // A part that has a mark keeps it: the address's text holds no such part. A part is
    // padded with zeros to its lower limit's length, as leaving its field would pad it, so
    // that an edit of another part composes an address of the register's form (an upload's
    // NB07:00000 has no slash part of its own).
    auto load = [&](int part, const std::string& text) {
        if (!IsMarkPart(panel, r, part))
            SetDlgItemText(p.field[part],
                           CPlcRegisterTables::FitStringToWidth(text, unsigned(LowerLimit(panel, r, part).size())));
    };
    if (errorBit) {
        if (form >= 1 && form <= 3) {
            load(kNumber, NumberPart(panel, address, r));
            load(kColon, ColonPart(panel, address, r));
            load(kSlash, SlashPart(panel, address, r));
        }
    } else if (form == 1) {
        load(kNumber, NumberPart(panel, address, r));
    } else if (form == 3) {
        load(kColon, ColonPart(panel, address, r));
        load(kNumber, NumberPart(panel, address, r));
    }
    return r;
}

void CControlWordPanels::GiveBitmaps() {
    for (int panel = 1; panel <= 2; ++panel) {
        const PanelIds& p = Ids(panel);
        std::vector<std::pair<int, int>> buttons;
        for (int i = 0; i < 3; ++i) {
            buttons.push_back({p.up[i], IDB_PART_UP});
            buttons.push_back({p.down[i], IDB_PART_DOWN});
        }
        if (m_bNewer)
            for (int i = 0; i < 2; ++i) {
                buttons.push_back({p.bitUp[i], IDB_PART_UP});
                buttons.push_back({p.bitDown[i], IDB_PART_DOWN});
            }
        for (const auto& [id, bitmap] : buttons) {
            Item(id).SetBitmap(res::EditorBitmap(bitmap));
            Item(id).SetWindowText("");
        }
    }
    Item(IDC_CW_OK).SetBitmap(res::SettingsBitmap(IDB_OK_BUTTON));
    Item(ui::IDOK).SetBitmap(res::SettingsBitmap(IDB_CANCEL_BUTTON));
}

void CControlWordPanels::ColourSummaries() {
    for (int id : {IDC_CW_CTRL_WORD, IDC_CW_ERR_BIT1, IDC_CW_ERR_BIT2})
        Item(id).SetColors(ui::RGB(0, 0, 255), ui::kDefaultColor, false);
}

void CControlWordPanels::FillRange(int panel, int parts) {
    const PanelIds& p = Ids(panel);
    if (parts >= 1 && parts <= 3) {
        for (int i = 0; i < 3; ++i) {
            const bool show = i < parts;
            ShowDlgItem(p.field[i], show);
            ShowDlgItem(p.up[i], show);
            ShowDlgItem(p.down[i], show);
        }
        if (m_bNewer) {
            if (parts == 1) ShowBitGroup(panel, kThirdSlot, false);
            if (parts == 2) {
                ShowBitGroup(panel, kSecondSlot, false);
                if (m_nMode == 1) ShowBitGroup(panel, kThirdSlot, false);
            }
            if (parts == 3) HideBitGroups(panel);
        }
    }
    const int r = SelectedRegister(panel);
    if (r >= 0) {
        for (int i = 0; i < 3; ++i) {
            const std::string lower = LowerLimit(panel, r, i);
            Item(p.field[i]).LimitText(int(lower.size()));
            SetDlgItemText(p.field[i], lower);
        }
    }
    UpdateData(false);
}

void CControlWordPanels::SelectRegisterEntry(int index, int side) {
    auto& list = Item<ui::ListControl>(side == 1 ? IDC_CW_PLC1_REGISTER : IDC_CW_PLC2_REGISTER);
    if (index >= 0) {
        for (int i = 0; i < list.GetCount(); ++i)
            if (list.GetItemData(i) == std::uint32_t(index)) {
                list.SetCurSel(i);
                break;
            }
    }
    UpdateData(false);
}

// ---------------------------------------------------------------------------------------
// Bit groups of the newer dialog

void CControlWordPanels::ShowBitGroup(int panel, int slot, bool show) {
    const PanelIds& p = Ids(panel);
    ShowDlgItem(p.bit[slot], show);
    ShowDlgItem(p.bitUp[slot], show);
    ShowDlgItem(p.bitDown[slot], show);
}

void CControlWordPanels::HideBitGroups(int panel) {
    ShowBitGroup(panel, kSecondSlot, false);
    ShowBitGroup(panel, kThirdSlot, false);
}

void CControlWordPanels::PlaceBitGroups(int panel) {
    const PanelIds& p = Ids(panel);
    const bool colon = IsShown(p.field[kColon]), slash = IsShown(p.field[kSlash]);
    ShowBitGroup(panel, kSecondSlot, !colon);
    ShowBitGroup(panel, kThirdSlot, colon && !slash);
}

int CControlWordPanels::BitField(int panel) const {
    const PanelIds& p = Ids(panel);
    return IsShown(p.field[kColon]) ? p.bit[kThirdSlot] : p.bit[kSecondSlot];
}

// ---------------------------------------------------------------------------------------
// Typing in a part field and leaving it

void CControlWordPanels::ChangePart(int panel, Part part) {
    const PanelIds& p = Ids(panel);
    if (part != kNumber && !IsShown(p.field[part])) return;
    UpdateData(true);
    const int r = SelectedRegister(panel);
    if (r < 0) return;  // no register chosen: there is no address to compose
    const int radix = PartRadix(panel, r, part);
    std::string texts[3];
    for (int i = 0; i < 3; ++i) texts[i] = GetDlgItemText(p.field[i]);
    if (IsMarkPart(panel, r, part)) {
        // Nothing to type in a part that has no number: its field holds the mark (the
        // write runs this handling once more, which then finds the mark).
        const std::string mark = LowerLimit(panel, r, part);
        if (texts[part] != mark) {
            SetDlgItemText(p.field[part], mark);
            return;
        }
    } else {
        std::string working = texts[part].substr(0, 8);

        // Characters outside the part's number system go at once (the write runs this
        // handling once more, which then finds nothing to drop).
        std::string kept;
        for (char ch : working)
            if (Keeps(ch, radix)) kept += ch;
        if (kept != working) {
            SetDlgItemText(p.field[part], kept);
            working = kept;
        }

        // The addresses show the value padded and held in the limits; the field keeps what
        // was typed until it is left.
        texts[part] = HeldInLimits(panel, r, part, working);
    }
    const std::string a = Compose(panel, r, texts[0], texts[1], texts[2]);
    SetDlgItemText(p.address, a);
    if (m_nMode == 1) {
        if (SideIsPanel(panel)) SetDlgItemText(IDC_CW_CTRL_WORD, a);
    } else if (!m_bNewer) {
        SetDlgItemText(p.errorBit, a);
    } else {
        // A hidden colon or slash part counts as having no number of its own (a part that
        // has a mark keeps it: the letter of a timer or counter register); a word
        // register's bit follows its bit field.
        std::string b = Compose(panel, r, texts[0], IsShown(p.field[kColon]) ? texts[1] : "**",
                                IsShown(p.field[kSlash]) ? texts[2] : "**");
        if (Kind(panel, r) != 0) b += "_" + GetDlgItemText(BitField(panel));
        SetDlgItemText(p.errorBit, b);
        SetDlgItemText(p.address, b);
    }
    UpdateData(false);
}

void CControlWordPanels::LeavePart(int panel, Part part) {
    const int field = Ids(panel).field[part];
    UpdateData(true);
    const std::string text = GetDlgItemText(field).substr(0, 8);
    const int r = SelectedRegister(panel);
    if (r < 0) return;
    // Written even when unchanged: the change handling composes the texts anew.
    SetDlgItemText(field, IsMarkPart(panel, r, part) ? LowerLimit(panel, r, part) : HeldInLimits(panel, r, part, text));
}

void CControlWordPanels::OnChangeNumberPlc1() { ChangePart(1, kNumber); }
void CControlWordPanels::OnChangeColonPlc1() { ChangePart(1, kColon); }
void CControlWordPanels::OnChangeSlashPlc1() { ChangePart(1, kSlash); }
void CControlWordPanels::OnChangeNumberPlc2() { ChangePart(2, kNumber); }
void CControlWordPanels::OnChangeColonPlc2() { ChangePart(2, kColon); }
void CControlWordPanels::OnChangeSlashPlc2() { ChangePart(2, kSlash); }
void CControlWordPanels::OnKillFocusNumberPlc1() { LeavePart(1, kNumber); }
void CControlWordPanels::OnKillFocusColonPlc1() { LeavePart(1, kColon); }
void CControlWordPanels::OnKillFocusSlashPlc1() { LeavePart(1, kSlash); }
void CControlWordPanels::OnKillFocusNumberPlc2() { LeavePart(2, kNumber); }
void CControlWordPanels::OnKillFocusColonPlc2() { LeavePart(2, kColon); }
void CControlWordPanels::OnKillFocusSlashPlc2() { LeavePart(2, kSlash); }

// ---------------------------------------------------------------------------------------
// Step buttons

void CControlWordPanels::StepPart(int panel, Part part, bool up) {
    const PanelIds& p = Ids(panel);
    UpdateData(true);
    const int r = SelectedRegister(panel);
    if (r < 0) return;
    std::string texts[3];
    for (int i = 0; i < 3; ++i) texts[i] = GetDlgItemText(p.field[i]);
    const std::string bit = m_bNewer ? GetDlgItemText(BitField(panel)) : std::string();
    const int radix = PartRadix(panel, r, part);
    const std::string lower = LowerLimit(panel, r, part);
    const std::string upper = UpperLimit(panel, r, part);

    // An emptied field steps from a row of zeros as long as the lower limit.
    const std::string from = texts[part].empty() ? CPlcRegisterTables::FitStringToWidth("", unsigned(lower.size()))
                                                 : texts[part];
    std::string s = lower;  // a mark is no number to step: the part keeps it
    if (!IsMarkPart(panel, r, part)) {
        s = up ? CPlcRegisterTables::IncrementAddressText(from, radix)
               : CPlcRegisterTables::DecrementAddressText(from, radix);
        const OutOfRange rule = kStepRule[panel - 1][part][up ? 0 : 1];
        if (Value(s, radix) < Value(lower, radix)) s = rule.below == kLower ? lower : upper;
        if (Value(s, radix) > Value(upper, radix)) s = rule.above == kLower ? lower : upper;
    }
    SetDlgItemText(p.field[part], s);
    texts[part] = s;

    const std::string a = Compose(panel, r, texts[0], texts[1], texts[2]);
    if (m_nMode == 1) {
        SetDlgItemText(p.address, a);
        if (SideIsPanel(panel)) SetDlgItemText(IDC_CW_CTRL_WORD, a);
    } else if (!m_bNewer) {
        SetDlgItemText(p.address, a);
        SetDlgItemText(p.errorBit, a);
    } else if (Kind(panel, r) == 0) {
        HideBitGroups(panel);
        SetDlgItemText(p.errorBit, a);
        SetDlgItemText(p.address, a);
    } else {
        PlaceBitGroups(panel);
        SetDlgItemText(p.errorBit, a + "_" + bit);
        SetDlgItemText(p.address, a + "_" + bit);
    }
    UpdateData(false);
    SetFlagsAfterEdit();
}

void CControlWordPanels::OnNumberUpPlc1() { StepPart(1, kNumber, true); }
void CControlWordPanels::OnNumberDownPlc1() { StepPart(1, kNumber, false); }
void CControlWordPanels::OnColonUpPlc1() { StepPart(1, kColon, true); }
void CControlWordPanels::OnColonDownPlc1() { StepPart(1, kColon, false); }
void CControlWordPanels::OnSlashUpPlc1() { StepPart(1, kSlash, true); }
void CControlWordPanels::OnSlashDownPlc1() { StepPart(1, kSlash, false); }
void CControlWordPanels::OnNumberUpPlc2() { StepPart(2, kNumber, true); }
void CControlWordPanels::OnNumberDownPlc2() { StepPart(2, kNumber, false); }
void CControlWordPanels::OnColonUpPlc2() { StepPart(2, kColon, true); }
void CControlWordPanels::OnColonDownPlc2() { StepPart(2, kColon, false); }
void CControlWordPanels::OnSlashUpPlc2() { StepPart(2, kSlash, true); }
void CControlWordPanels::OnSlashDownPlc2() { StepPart(2, kSlash, false); }

// ---------------------------------------------------------------------------------------
// Register lists

void CControlWordPanels::SelChangeRegister(int panel) {
    const PanelIds& p = Ids(panel);
    UpdateData(true);
    const int r = SelectedRegister(panel);
    if (r < 0) return;
    Item(p.field[kNumber]).LimitText(int(LowerLimit(panel, r, kNumber).size()));
    for (int i = 0; i < 3; ++i) SetDlgItemText(p.field[i], LowerLimit(panel, r, i));

    const std::string range = RangeText(panel, r);
    SetDlgItemText(p.range, range);
    const std::string a = LowestAddress(panel, r);
    const bool word = Kind(panel, r) != 0;
    if (m_nMode == 1) {
        SetDlgItemText(p.address, a);
        if (SideIsPanel(panel)) SetDlgItemText(IDC_CW_CTRL_WORD, a);
    } else if (!m_bNewer || !word) {
        SetDlgItemText(p.address, a);
        SetDlgItemText(p.errorBit, a);
    } else {
        // A bit of a word register: bit 0 until the user picks another.
        SetDlgItemText(p.range, range + "(0-15)");
        SetDlgItemText(p.bit[kSecondSlot], "0");
        SetDlgItemText(p.bit[kThirdSlot], "0");
        SetDlgItemText(p.errorBit, a + "_0");
        SetDlgItemText(p.address, a + "_0");
    }

    // The part fields the register needs; the fields a register chosen before needed
    // more of go out of sight.
    const bool colon = !CPlcRegisterTables::IsMarker(LowerLimit(panel, r, kColon));
    const bool slash = !CPlcRegisterTables::IsMarker(LowerLimit(panel, r, kSlash));
    if (colon) FillRange(panel, 2);
    if (slash) FillRange(panel, 3);
    if (!colon && !slash) FillRange(panel, 1);
    if (m_bNewer) {
        // A word register takes as many parts as the PLC's addresses have.
        if (Kind(panel, r) == 1) FillRange(panel, AddressForm(panel));
        if (m_nMode != 1 && word)
            PlaceBitGroups(panel);
        else
            HideBitGroups(panel);
    }
    UpdateData(false);
    SetFlagsAfterEdit();
}

void CControlWordPanels::OnSelChangeRegisterPlc1() { SelChangeRegister(1); }
void CControlWordPanels::OnSelChangeRegisterPlc2() { SelChangeRegister(2); }

// ---------------------------------------------------------------------------------------
// Side radios and Enable boxes

namespace {

constexpr const char* kWhichControls = "which controls execution of Block, if enabled.";

std::string ErrorBitIfEnabled(const std::string& plc, const std::string& other) {
    return "bit of " + plc + " will be set by Quorvex, when error occurs on " + other + " end, if enabled.";
}

}  // namespace

void CControlWordPanels::OnCom1() {
    SetFlagsAfterEdit();
    SetDlgItemText(IDC_CW_CTRL_WORD, GetDlgItemText(IDC_CW_PLC1_ADDRESS));
    SetDlgItemText(IDC_CW_CTRL_WORD_TEXT, "is control word from PLC  " + PlcName(1) + ", " + kWhichControls);
}

void CControlWordPanels::OnCom2() {
    SetFlagsAfterEdit();
    SetDlgItemText(IDC_CW_CTRL_WORD, GetDlgItemText(IDC_CW_PLC2_ADDRESS));
    SetDlgItemText(IDC_CW_CTRL_WORD_TEXT, "is control word from PLC " + PlcName(2) + ", " + kWhichControls);
}

void CControlWordPanels::OnEnable1() {
    UpdateData(true);
    SetFlagsAfterEdit();
    if (m_nMode == 1) {
        // The sentence names the side whatever the box now says.
        if (m_nSide != 0) {
            SetDlgItemText(IDC_CW_CTRL_WORD, GetDlgItemText(IDC_CW_PLC2_ADDRESS));
            SetDlgItemText(IDC_CW_CTRL_WORD_TEXT, "is control word from PLC " + PlcName(2) + ", " + kWhichControls);
        } else {
            SetDlgItemText(IDC_CW_CTRL_WORD, GetDlgItemText(IDC_CW_PLC1_ADDRESS));
            SetDlgItemText(IDC_CW_CTRL_WORD_TEXT, "is control word from PLC " + PlcName(1) + " " + kWhichControls);
        }
    } else if (!m_bNewer || IsDlgButtonChecked(IDC_CW_ENABLE1)) {
        SetDlgItemText(IDC_CW_ERR_BIT1_TEXT, ErrorBitIfEnabled(PlcName(1), PlcName(2)));
        SetDlgItemText(IDC_CW_ERR_BIT1, GetDlgItemText(IDC_CW_PLC1_ADDRESS));
    } else {
        // Unchecked in the newer dialog: the address stays, so that OK still stores it.
        SetDlgItemText(IDC_CW_ERR_BIT1_TEXT, "No Error bit is set.");
    }
}

void CControlWordPanels::OnEnable2() {
    SetFlagsAfterEdit();
    if (!m_bNewer || IsDlgButtonChecked(IDC_CW_ENABLE2)) {
        SetDlgItemText(IDC_CW_ERR_BIT2, GetDlgItemText(IDC_CW_PLC2_ADDRESS));
        SetDlgItemText(IDC_CW_ERR_BIT2_TEXT, ErrorBitIfEnabled(PlcName(2), PlcName(1)));
    } else {
        SetDlgItemText(IDC_CW_ERR_BIT2_TEXT, "No Error bit is set.");
    }
}
