#include "editor/RegisterAddressDlg.h"

#include <cstdlib>

#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "editor/NewBlockExView.h"
#include "plc/NumConverter.h"
#include "editor/RegisterFields.h"
#include "plc/PlcRegisterTables.h"
#include "res/EditorBitmaps.h"
#include "res/EditorResource.h"
#include "ui/Backend.h"

unsigned g_bBitAddressMode = 0;

namespace {

constexpr const char* kBitRange = "(0-15)";

bool HasUnderscore(const std::string& text) { return text.find('_') != std::string::npos; }

const int kPlusButtons[] = {IDC_NUMBER_PART_UP, IDC_COLON_PART_UP, IDC_SLASH_PART_UP,
                            IDC_BIT_UP,         IDC_BIT2_UP,       IDC_BIT3_UP};
const int kMinusButtons[] = {IDC_NUMBER_PART_DOWN, IDC_COLON_PART_DOWN, IDC_SLASH_PART_DOWN,
                             IDC_BIT_DOWN,         IDC_BIT2_DOWN,       IDC_BIT3_DOWN};

// Each bit edit with its two step buttons.
struct BitControls {
    int edit, up, down;
};
constexpr BitControls kBitControls[] = {
    {IDC_BIT_EDIT, IDC_BIT_UP, IDC_BIT_DOWN},
    {IDC_BIT2_EDIT, IDC_BIT2_UP, IDC_BIT2_DOWN},
    {IDC_BIT3_EDIT, IDC_BIT3_UP, IDC_BIT3_DOWN},
};

}  // namespace

CRegisterAddressDlg::CRegisterAddressDlg(ui::Window* parent) : ui::Dialog(IDD_REGISTER_ADDRESS, parent) {}

bool PickRecipeAddress(ui::Dialog& parent, int port, const std::string& address, std::string& picked) {
    CRegisterAddressDlg dlg(&parent);
    dlg.m_nPort = port;
    dlg.m_strAddress = address;
    if (dlg.DoModal() != ui::IDOK) return false;
    picked = dlg.m_strRecipeAddress;
    return true;
}

const ui::HandlerTable* CRegisterAddressDlg::GetHandlerTable() const {
    using ui::Notify;
    using D = CRegisterAddressDlg;
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(Notify::SelChange, IDC_REGISTER_TYPE, &D::OnUserSelchangeRegister),
        ui::On(Notify::Change, IDC_NUMBER_PART, &D::OnChangeNumberPart),
        ui::On(Notify::KillFocus, IDC_NUMBER_PART, &D::OnKillfocusNumberPart),
        ui::On(Notify::Change, IDC_COLON_PART, &D::OnChangeColonPart),
        ui::On(Notify::KillFocus, IDC_COLON_PART, &D::OnKillfocusColonPart),
        ui::On(Notify::Change, IDC_SLASH_PART, &D::OnChangeSlashPart),
        ui::On(Notify::KillFocus, IDC_SLASH_PART, &D::OnKillfocusSlashPart),
        ui::On(Notify::Clicked, IDC_NUMBER_PART_UP, &D::OnNumberPartUp),
        ui::On(Notify::Clicked, IDC_NUMBER_PART_DOWN, &D::OnNumberPartDown),
        ui::On(Notify::Clicked, IDC_COLON_PART_UP, &D::OnColonPartUp),
        ui::On(Notify::Clicked, IDC_COLON_PART_DOWN, &D::OnColonPartDown),
        ui::On(Notify::Clicked, IDC_SLASH_PART_UP, &D::OnSlashPartUp),
        ui::On(Notify::Clicked, IDC_SLASH_PART_DOWN, &D::OnSlashPartDown),
        ui::On(Notify::Change, IDC_BIT_EDIT, &D::OnChangeBit),
        ui::On(Notify::KillFocus, IDC_BIT_EDIT, &D::OnKillfocusBit),
        ui::On(Notify::Clicked, IDC_BIT_UP, &D::OnBitUp),
        ui::On(Notify::Clicked, IDC_BIT_DOWN, &D::OnBitDown),
        ui::On(Notify::Change, IDC_BIT2_EDIT, &D::OnChangeBit2),
        ui::On(Notify::KillFocus, IDC_BIT2_EDIT, &D::OnKillfocusBit2),
        ui::On(Notify::Clicked, IDC_BIT2_UP, &D::OnBit2Up),
        ui::On(Notify::Clicked, IDC_BIT2_DOWN, &D::OnBit2Down),
        ui::On(Notify::Change, IDC_BIT3_EDIT, &D::OnChangeBit3),
        ui::On(Notify::KillFocus, IDC_BIT3_EDIT, &D::OnKillfocusBit3),
        ui::On(Notify::Clicked, IDC_BIT3_UP, &D::OnBit3Up),
        ui::On(Notify::Clicked, IDC_BIT3_DOWN, &D::OnBit3Down),
        ui::On(Notify::Clicked, IDC_REGISTER_RADIO, &D::OnRegisterRadio),
        ui::On(Notify::Clicked, IDC_BIT_ADDRESSED_RADIO, &D::OnBitAddressedRadio),
    });
    return &table;
}

// ---------------------------------------------------------------------------------------
// Register data of the dialog's port

std::string CRegisterAddressDlg::Field(int r, int field) const { return RegisterTypeField(Port(), r, field); }

bool CRegisterAddressDlg::HasSecondPart(int r) const { return !CPlcRegisterTables::IsMarker(Field(r, 7)); }
bool CRegisterAddressDlg::HasThirdPart(int r) const { return !CPlcRegisterTables::IsMarker(Field(r, 9)); }

int CRegisterAddressDlg::Current() const {
    return Item<ui::ListControl>(IDC_REGISTER_TYPE).GetCurSel();
}

std::string CRegisterAddressDlg::LowestAddress(int r) const {
    return ComposeRegisterAddress(Port(), r, Field(r, 5), Field(r, 7), Field(r, 9));
}

std::string CRegisterAddressDlg::RangeText(int r) const { return RegisterRangeText(Port(), r); }

CRegisterAddressDlg::NumberSystem CRegisterAddressDlg::SystemOf(int r, Part part) const {
    switch (std::atoi(Field(r, 3).c_str())) {
        case 0: return NumberSystem::Decimal;
        case 1: return NumberSystem::Hexadecimal;
        case 2: return NumberSystem::Octal;
        case 5: return part == kNumber ? NumberSystem::Decimal : NumberSystem::Hexadecimal;
        default: return NumberSystem::None;
    }
}

int CRegisterAddressDlg::ConverterCode(NumberSystem system) {
    switch (system) {
        case NumberSystem::Decimal: return 0;
        case NumberSystem::Hexadecimal: return 1;
        case NumberSystem::Octal: return 2;
        case NumberSystem::None: break;
    }
    return -1;  // converts every text to 0: no limits apply
}

bool CRegisterAddressDlg::Allowed(char ch, NumberSystem system) {
    switch (system) {
        case NumberSystem::Decimal: return ch >= '0' && ch <= '9';
        case NumberSystem::Hexadecimal: return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F');
        case NumberSystem::Octal: return ch >= '0' && ch <= '7';
        case NumberSystem::None: break;
    }
    return true;
}

std::string CRegisterAddressDlg::Lowest(int r, Part part) const { return Field(r, 5 + 2 * int(part)); }
std::string CRegisterAddressDlg::Highest(int r, Part part) const { return Field(r, 6 + 2 * int(part)); }

std::string CRegisterAddressDlg::HoldInRange(int r, Part part, const std::string& text) const {
    const int code = ConverterCode(SystemOf(r, part));
    const CNumConverter& conv = g_BlockNumConverter;
    const int value = conv.TextToNumber(text, code);
    if (value < conv.TextToNumber(Lowest(r, part), code)) return Lowest(r, part);
    if (value > conv.TextToNumber(Highest(r, part), code)) return Highest(r, part);
    return text;
}

int CRegisterAddressDlg::EditOf(Part part) {
    return part == kNumber ? IDC_NUMBER_PART : part == kSecond ? IDC_COLON_PART : IDC_SLASH_PART;
}

bool CRegisterAddressDlg::IsShown(int id) const {
    const ui::Control* c = GetDlgItem(id);
    return c && c->IsWindowVisible();
}

// ---------------------------------------------------------------------------------------
// Initialisation, register type, OK and Cancel

bool CRegisterAddressDlg::OnInitDialog() {
    // Each run starts without a bit: a bit is carried only when the address passed in has
    // one or the user asks for it.
    g_bBitAddressMode = 0;
    for (int id : kPlusButtons) {
        Item(id).SetBitmap(res::EditorBitmap(IDB_PART_UP));
        Item(id).SetWindowText("");
    }
    for (int id : kMinusButtons) {
        Item(id).SetBitmap(res::EditorBitmap(IDB_PART_DOWN));
        Item(id).SetWindowText("");
    }
    for (const BitControls& b : kBitControls) Item(b.edit).LimitText(2);
    SetWindowText(m_nPort == 1 ? "PLC1 Address" : "PLC2 Address");

    auto& types = Item<ui::ListControl>(IDC_REGISTER_TYPE);
    const int count = g_PlcRegisterTables.RegisterCount(Port());
    if (count <= 0) {
        ui::MessageBox("The PLC of this port has no register types. No address can be built.",
                       "", ui::MB_OK | ui::MB_ICONINFORMATION);
        EndDialog(ui::IDCANCEL);
        return true;
    }
    for (int r = 0; r < count; ++r) types.AddString(Field(r, 1));
    types.SetCurSel(0);
    SetDlgItemText(IDC_RANGE_TEXT, RangeText(0));
    SetDlgItemText(IDC_ADDRESS_TEXT, LowestAddress(0));

    m_strAddress = TrimBlanks(m_strAddress);
    if (m_strAddress.empty()) {
        OnSelchangeRegister();
        return true;
    }
    std::string base = m_strAddress, bit;
    if (const size_t underscore = m_strAddress.find('_'); underscore != std::string::npos) {
        g_bBitAddressMode = 1;
        base = m_strAddress.substr(0, underscore);
        bit = m_strAddress.substr(underscore + 1);
    }
    const int r = g_PlcRegisterTables.FindRegisterByPrefix(base, Port());
    if (r < 0) {
        // The text is dropped: the first register type with its lowest address.
        g_bBitAddressMode = 0;
        OnSelchangeRegister();
        return true;
    }
    SelectRegister(r);
    OnSelchangeRegister();

    auto parts = [&](const std::string& text, std::string& number, std::string& second, std::string& third) {
        number = RegisterAddressPart(Port(), r, text, kNumber);
        second = RegisterAddressPart(Port(), r, text, kSecond);
        third = RegisterAddressPart(Port(), r, text, kThird);
    };
    std::string number, second, third;
    // On a type that takes no bit the parts are the word's: the bit's digits never run into
    // the number (the address text stays as passed in until a part is edited).
    if (g_bBitAddressMode == 0) {
        CheckDlgButton(IDC_REGISTER_RADIO, 1);
        CheckDlgButton(IDC_BIT_ADDRESSED_RADIO, 0);
        parts(base, number, second, third);
        // The third and second parts first: the number part's change handling reads them.
        SetDlgItemText(IDC_SLASH_PART, CPlcRegisterTables::FitStringToWidth(third, unsigned(Field(r, 9).size())));
        SetDlgItemText(IDC_COLON_PART, CPlcRegisterTables::FitStringToWidth(second, unsigned(Field(r, 7).size())));
        SetDlgItemText(IDC_NUMBER_PART, CPlcRegisterTables::FitStringToWidth(number, unsigned(Field(r, 5).size())));
    } else {
        CheckDlgButton(IDC_BIT_ADDRESSED_RADIO, 1);
        CheckDlgButton(IDC_REGISTER_RADIO, 0);
        parts(base, number, second, third);
        SetDlgItemText(IDC_SLASH_PART, third);
        SetDlgItemText(IDC_COLON_PART, second);
        SetDlgItemText(IDC_NUMBER_PART, number);
        ShowOnlyBitEdit(BitEditInUse(r), bit);
    }
    SetDlgItemText(IDC_ADDRESS_TEXT, m_strAddress);
    if (g_bBitAddressMode == 1) SetDlgItemText(IDC_RANGE_TEXT, RangeText(r) + kBitRange);
    return true;
}

void CRegisterAddressDlg::OnUserSelchangeRegister() {
    // Another register type starts without a bit.
    g_bBitAddressMode = 0;
    OnSelchangeRegister();
}

void CRegisterAddressDlg::OnSelchangeRegister() {
    const int r = Current();
    if (r < 0) return;
    SetDlgItemText(IDC_RANGE_TEXT, RangeText(r));
    SetDlgItemText(IDC_ADDRESS_TEXT, LowestAddress(r));
    ShowPartEdits(r);
    ApplyRegisterKind(std::atoi(Field(r, 2).c_str()), LowestAddress(r));
    const int kind = std::atoi(Field(r, 2).c_str());
    if (kind == 0 || kind == 1) SetDlgItemText(IDC_ACCESS_TEXT, "Read-Write");
    else if (kind == 2 || kind == 3) SetDlgItemText(IDC_ACCESS_TEXT, "Read-Only");
}

void CRegisterAddressDlg::SelectRegister(int r) { Item<ui::ListControl>(IDC_REGISTER_TYPE).SetCurSel(r); }

void CRegisterAddressDlg::ShowPartEdits(int r) {
    // The number part always; a second and a third part where the type has them.
    const bool second = HasSecondPart(r), third = HasThirdPart(r);
    ShowDlgItem(IDC_NUMBER_PART, true);
    ShowDlgItem(IDC_NUMBER_PART_UP, true);
    ShowDlgItem(IDC_NUMBER_PART_DOWN, true);
    ShowDlgItem(IDC_COLON_PART, second);
    ShowDlgItem(IDC_COLON_PART_UP, second);
    ShowDlgItem(IDC_COLON_PART_DOWN, second);
    ShowDlgItem(IDC_SLASH_PART, third);
    ShowDlgItem(IDC_SLASH_PART_UP, third);
    ShowDlgItem(IDC_SLASH_PART_DOWN, third);
    const std::string f5 = Field(r, 5), f7 = Field(r, 7), f9 = Field(r, 9);
    SetDlgItemText(IDC_SLASH_PART, f9);
    SetDlgItemText(IDC_COLON_PART, f7);
    SetDlgItemText(IDC_NUMBER_PART, f5);
    Item(IDC_SLASH_PART).LimitText(int(f9.size()));
    Item(IDC_COLON_PART).LimitText(int(f7.size()));
    Item(IDC_NUMBER_PART).LimitText(int(f5.size()));
}

void CRegisterAddressDlg::ApplyRegisterKind(int kind, std::string text) {
    UpdateCom2IsCan();
    if (kind == 0 || kind == 2 || g_bCom2IsCAN == 1 || g_bRecipeDlgOpen == 1) {
        ShowDlgItem(IDC_REGISTER_RADIO, false);
        ShowDlgItem(IDC_BIT_ADDRESSED_RADIO, false);
        for (const BitControls& b : kBitControls)
            for (int id : {b.edit, b.up, b.down}) ShowDlgItem(id, false);
        SetDlgItemText(IDC_ADDRESS_TEXT, text);
        g_bBitAddressMode = 0;
        return;
    }
    ShowDlgItem(IDC_REGISTER_RADIO, true);
    ShowDlgItem(IDC_BIT_ADDRESSED_RADIO, true);
    text = TrimBlanks(text);
    if (text.empty()) {
        CheckDlgButton(IDC_REGISTER_RADIO, 1);
        CheckDlgButton(IDC_BIT_ADDRESSED_RADIO, 0);
        return;
    }
    if (HasUnderscore(text) && g_bBitAddressMode != 1) {
        const int edit = BitEditAfterShownParts();
        for (const BitControls& b : kBitControls)
            for (int id : {b.edit, b.up, b.down}) ShowDlgItem(id, b.edit == edit);
        CheckDlgButton(IDC_BIT_ADDRESSED_RADIO, 1);
        CheckDlgButton(IDC_REGISTER_RADIO, 0);
        SetDlgItemText(IDC_RANGE_TEXT, GetDlgItemText(IDC_RANGE_TEXT) + kBitRange);
        return;
    }
    for (const BitControls& b : kBitControls)
        for (int id : {b.edit, b.up, b.down}) ShowDlgItem(id, false);
    CheckDlgButton(IDC_REGISTER_RADIO, 1);
    CheckDlgButton(IDC_BIT_ADDRESSED_RADIO, 0);
    SetDlgItemText(IDC_ADDRESS_TEXT, text);
}

void CRegisterAddressDlg::OnOK() {
    // A bit left empty or out of range (Enter does not leave the bit edit) is checked here
    // as leaving the edit would.
    if (g_bBitAddressMode == 1) {
        const int r = Current();
        const int edit = BitEditInUse(r);
        if (IsShown(edit) && !CheckBit(edit)) return;
    }
    if (g_bRecipeDlgOpen == 1) m_strRecipeAddress = GetDlgItemText(IDC_ADDRESS_TEXT);
    else m_strNewAddress = GetDlgItemText(IDC_ADDRESS_TEXT);
    g_bNewBlockListEdited = 1;
    g_bBitAddressMode = 0;
    EndDialog(ui::IDOK);
}

void CRegisterAddressDlg::OnCancel() { EndDialog(ui::IDCANCEL); }

// ---------------------------------------------------------------------------------------
// Address parts

void CRegisterAddressDlg::RebuildAddress(Part part, const std::string& partText) {
    const int r = Current();
    if (r < 0) return;
    const std::string number = part == kNumber ? partText : GetDlgItemText(IDC_NUMBER_PART);
    const std::string second =
        part == kSecond ? partText : IsShown(IDC_COLON_PART) ? GetDlgItemText(IDC_COLON_PART) : Field(r, 7);
    const std::string third =
        part == kThird ? partText : IsShown(IDC_SLASH_PART) ? GetDlgItemText(IDC_SLASH_PART) : Field(r, 9);
    std::string text = ComposeRegisterAddress(Port(), r, number, second, third);
    if (g_bBitAddressMode == 1) text += "_" + GetDlgItemText(BitEditInUse(r));
    SetDlgItemText(IDC_ADDRESS_TEXT, text);
}

void CRegisterAddressDlg::ChangePart(Part part) {
    const int id = EditOf(part);
    if (part != kNumber && !IsShown(id)) return;
    const int r = Current();
    if (r < 0) return;
    std::string text = GetDlgItemText(id).substr(0, 8);
    const NumberSystem system = SystemOf(r, part);
    std::string kept;
    for (char ch : text)
        if (Allowed(ch, system)) kept += ch;
    if (kept != text) {
        text = kept;
        SetDlgItemText(id, text);  // its change handling runs on the filtered text
    }
    text = CPlcRegisterTables::FitStringToWidth(text, unsigned(Lowest(r, part).size()));
    text = HoldInRange(r, part, text);
    RebuildAddress(part, text);
}

void CRegisterAddressDlg::KillfocusPart(Part part) {
    const int id = EditOf(part);
    const int r = Current();
    if (r < 0 || !IsShown(id)) return;
    std::string text = GetDlgItemText(id);
    if (part == kNumber) text = text.substr(0, 8);
    text = CPlcRegisterTables::FitStringToWidth(text, unsigned(Lowest(r, part).size()));
    text = HoldInRange(r, part, text);
    SetDlgItemText(id, text);
}

void CRegisterAddressDlg::StepPart(Part part, bool up) {
    const int id = EditOf(part);
    const int r = Current();
    if (r < 0) return;
    if (part == kNumber && !IsShown(IDC_BIT_EDIT) && !IsShown(IDC_BIT2_EDIT) && !IsShown(IDC_BIT3_EDIT))
        g_bBitAddressMode = 0;
    const int code = ConverterCode(SystemOf(r, part));
    const std::string old = GetDlgItemText(id);
    std::string text = up ? CPlcRegisterTables::IncrementAddressText(old, code)
                          : CPlcRegisterTables::DecrementAddressText(old, code);
    text = HoldInRange(r, part, text);
    SetDlgItemText(id, text);
    RebuildAddress(part, text);
}

void CRegisterAddressDlg::OnChangeNumberPart() { ChangePart(kNumber); }
void CRegisterAddressDlg::OnChangeColonPart() { ChangePart(kSecond); }
void CRegisterAddressDlg::OnChangeSlashPart() { ChangePart(kThird); }
void CRegisterAddressDlg::OnKillfocusNumberPart() { KillfocusPart(kNumber); }
void CRegisterAddressDlg::OnKillfocusColonPart() { KillfocusPart(kSecond); }
void CRegisterAddressDlg::OnKillfocusSlashPart() { KillfocusPart(kThird); }
void CRegisterAddressDlg::OnNumberPartUp() { StepPart(kNumber, true); }
void CRegisterAddressDlg::OnNumberPartDown() { StepPart(kNumber, false); }
void CRegisterAddressDlg::OnColonPartUp() { StepPart(kSecond, true); }
void CRegisterAddressDlg::OnColonPartDown() { StepPart(kSecond, false); }
void CRegisterAddressDlg::OnSlashPartUp() { StepPart(kThird, true); }
void CRegisterAddressDlg::OnSlashPartDown() { StepPart(kThird, false); }

// ---------------------------------------------------------------------------------------
// Bit addressing

int CRegisterAddressDlg::BitEditAfterShownParts() const {
    if (IsShown(IDC_SLASH_PART)) return IDC_BIT3_EDIT;
    if (IsShown(IDC_COLON_PART)) return IDC_BIT2_EDIT;
    return IDC_BIT_EDIT;
}

int CRegisterAddressDlg::BitEditInUse(int r) const {
    if (HasThirdPart(r)) return IDC_BIT3_EDIT;
    if (HasSecondPart(r)) return IDC_BIT2_EDIT;
    return IDC_BIT_EDIT;
}

void CRegisterAddressDlg::ShowOnlyBitEdit(int edit, const std::string& text) {
    for (const BitControls& b : kBitControls)
        for (int id : {b.edit, b.up, b.down}) ShowDlgItem(id, b.edit == edit);
    SetDlgItemText(edit, text);
}

void CRegisterAddressDlg::HideBitControls() {
    const int r = Current();
    SetDlgItemText(IDC_RANGE_TEXT, RangeText(r));
    for (const BitControls& b : kBitControls)
        for (int id : {b.edit, b.up, b.down}) ShowDlgItem(id, false);
}

void CRegisterAddressDlg::ShowBitEdit() {
    SetDlgItemText(IDC_RANGE_TEXT, GetDlgItemText(IDC_RANGE_TEXT) + kBitRange);
    ShowOnlyBitEdit(BitEditAfterShownParts(), "0");
}

void CRegisterAddressDlg::OnRegisterRadio() {
    g_bBitAddressMode = 0;
    const std::string address = GetDlgItemText(IDC_ADDRESS_TEXT);
    if (const size_t underscore = address.find('_'); underscore != std::string::npos) {
        SetDlgItemText(IDC_ADDRESS_TEXT, address.substr(0, underscore));
        HideBitControls();
    }
}

void CRegisterAddressDlg::OnBitAddressedRadio() {
    g_bBitAddressMode = 1;
    const std::string address = GetDlgItemText(IDC_ADDRESS_TEXT);
    if (HasUnderscore(address)) return;
    SetDlgItemText(IDC_ADDRESS_TEXT, address + "_0");
    ShowBitEdit();
}

void CRegisterAddressDlg::ChangeBit(int edit) {
    // A bit is a decimal number: other characters are taken out as they are typed.
    const std::string typed = GetDlgItemText(edit);
    std::string digits;
    for (char ch : typed)
        if (ch >= '0' && ch <= '9') digits += ch;
    if (digits != typed) {
        SetDlgItemText(edit, digits);  // its change handling runs on the digits
        return;
    }
    const std::string address = GetDlgItemText(IDC_ADDRESS_TEXT);
    if (const size_t underscore = address.find('_'); underscore != std::string::npos)
        SetDlgItemText(IDC_ADDRESS_TEXT, address.substr(0, underscore + 1) + digits);
}

bool CRegisterAddressDlg::CheckBit(int edit) {
    const std::string bit = GetDlgItemText(edit);
    if (bit.empty()) {
        SetDlgItemText(edit, "0");
        return true;
    }
    if (std::atoi(bit.c_str()) > 15) {
        SetDlgItemText(edit, "0");
        ui::MessageBox("Please Enter Valid data .Valid Range is 0-15.", "Invalid Range",
                       ui::MB_OK | ui::MB_ICONINFORMATION);
        return false;
    }
    return true;
}

void CRegisterAddressDlg::StepBit(int edit, bool up) {
    const std::string address = GetDlgItemText(IDC_ADDRESS_TEXT);
    const size_t underscore = address.find('_');
    if (underscore == std::string::npos) return;
    const std::string bit = GetDlgItemText(edit);
    const int next = up ? NextBitNumber(bit) : PrevBitNumber(bit);
    SetDlgItemText(edit, std::to_string(next));
    SetDlgItemText(IDC_ADDRESS_TEXT, address.substr(0, underscore) + "_" + std::to_string(next));
}

int CRegisterAddressDlg::NextBitNumber(const std::string& bit) {
    const int v = std::atoi(bit.c_str());
    return v >= 15 ? 0 : v + 1;
}

int CRegisterAddressDlg::PrevBitNumber(const std::string& bit) {
    const int v = std::atoi(bit.c_str());
    return v <= 0 ? 15 : v - 1;
}

void CRegisterAddressDlg::OnChangeBit() { ChangeBit(IDC_BIT_EDIT); }
void CRegisterAddressDlg::OnChangeBit2() { ChangeBit(IDC_BIT2_EDIT); }
void CRegisterAddressDlg::OnChangeBit3() { ChangeBit(IDC_BIT3_EDIT); }
void CRegisterAddressDlg::OnKillfocusBit() { CheckBit(IDC_BIT_EDIT); }
void CRegisterAddressDlg::OnKillfocusBit2() { CheckBit(IDC_BIT2_EDIT); }
void CRegisterAddressDlg::OnKillfocusBit3() { CheckBit(IDC_BIT3_EDIT); }
void CRegisterAddressDlg::OnBitUp() { StepBit(IDC_BIT_EDIT, true); }
void CRegisterAddressDlg::OnBitDown() { StepBit(IDC_BIT_EDIT, false); }
void CRegisterAddressDlg::OnBit2Up() { StepBit(IDC_BIT2_EDIT, true); }
void CRegisterAddressDlg::OnBit2Down() { StepBit(IDC_BIT2_EDIT, false); }
void CRegisterAddressDlg::OnBit3Up() { StepBit(IDC_BIT3_EDIT, true); }
void CRegisterAddressDlg::OnBit3Down() { StepBit(IDC_BIT3_EDIT, false); }
