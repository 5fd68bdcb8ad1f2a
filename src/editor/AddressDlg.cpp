#include "editor/AddressDlg.h"

#include "model/RunTimeState.h"
#include "plc/NumConverter.h"
#include "editor/RegisterFields.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Text.h"
#include "res/EditorBitmaps.h"
#include "res/OlderEditorResource.h"

namespace {

constexpr int kEdits[3] = {IDC_NUMBER_PART, IDC_COLON_PART, IDC_SLASH_PART};
constexpr int kUp[3] = {IDC_NUMBER_PART_UP, IDC_COLON_PART_UP, IDC_SLASH_PART_UP};
constexpr int kDown[3] = {IDC_NUMBER_PART_DOWN, IDC_COLON_PART_DOWN, IDC_SLASH_PART_DOWN};

bool AllowedIn(char ch, int mode) {
    switch (mode) {
        case 1: return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F');
        case 2: return ch >= '0' && ch <= '7';
        default: return ch >= '0' && ch <= '9';
    }
}

}  // namespace

CAddressDlg::CAddressDlg(ui::Window* parent) : ui::Dialog(res::AddressDialogTemplate(), parent) {}

const ui::HandlerTable* CAddressDlg::GetHandlerTable() const {
    using ui::Notify;
    using D = CAddressDlg;
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(Notify::Clicked, IDC_NUMBER_PART_UP, &D::OnNumberUp),
        ui::On(Notify::Clicked, IDC_NUMBER_PART_DOWN, &D::OnNumberDown),
        ui::On(Notify::Clicked, IDC_COLON_PART_UP, &D::OnColonUp),
        ui::On(Notify::Clicked, IDC_COLON_PART_DOWN, &D::OnColonDown),
        ui::On(Notify::Clicked, IDC_SLASH_PART_UP, &D::OnSlashUp),
        ui::On(Notify::Clicked, IDC_SLASH_PART_DOWN, &D::OnSlashDown),
        ui::On(Notify::SelChange, IDC_ADDRESS_REGISTER, &D::OnSelchangeRegister),
        ui::On(Notify::Change, IDC_NUMBER_PART, &D::OnChangeNumberPart),
        ui::On(Notify::KillFocus, IDC_NUMBER_PART, &D::OnKillfocusNumberPart),
        ui::On(Notify::Change, IDC_COLON_PART, &D::OnChangeColonPart),
        ui::On(Notify::KillFocus, IDC_COLON_PART, &D::OnKillfocusColonPart),
        ui::On(Notify::Change, IDC_SLASH_PART, &D::OnChangeSlashPart),
        ui::On(Notify::KillFocus, IDC_SLASH_PART, &D::OnKillfocusSlashPart),
    });
    return &table;
}

std::string CAddressDlg::Field(int r, int field) const { return RegisterTypeField(Port(), r, field); }

int CAddressDlg::Current() const {
    const auto* combo = static_cast<const ui::ListControl*>(GetDlgItem(IDC_ADDRESS_REGISTER));
    return combo ? combo->GetCurSel() : -1;
}

int CAddressDlg::Mode(int r, bool keepFive) const {
    const int mode = platform::Atoi(Field(r, 3));
    return mode == 5 && !keepFive ? 0 : mode;
}

std::string CAddressDlg::Compose(int r, const std::string& number, const std::string& colon,
                                 const std::string& slash) const {
    if (r < 0) return std::string();
    // A part with no number of its own gives its mark whatever its edit holds: "A*" and
    // "P*" are the letter that names a timer's or a counter's register (T000A, T000P).
    auto part = [&](Part p, const std::string& text) {
        return CPlcRegisterTables::IsMarker(Lowest(r, p)) ? Lowest(r, p) : text;
    };
    return ComposeRegisterAddress(Port(), r, number, part(kColon, colon), part(kSlash, slash));
}

std::string CAddressDlg::PartText(Part part) const { return GetDlgItemText(kEdits[part]); }

void CAddressDlg::SelectRegister(int index) {
    if (auto* combo = static_cast<ui::ListControl*>(GetDlgItem(IDC_ADDRESS_REGISTER))) combo->SetCurSel(index);
}

bool CAddressDlg::OnInitDialog() {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    for (int p = 0; p < 3; ++p) {
        Item<ui::Control>(kUp[p]).SetBitmap(res::EditorBitmap(IDB_PART_UP));
        Item<ui::Control>(kDown[p]).SetBitmap(res::EditorBitmap(IDB_PART_DOWN));
    }
    SetWindowText(Port() == 1 ? "PLC1 Address" : "PLC2 Address");
    auto& combo = Item<ui::ListControl>(IDC_ADDRESS_REGISTER);
    const int count = t.RegisterCount(Port());
    for (int r = 0; r < count; ++r) combo.AddString(Field(r, 1));
    if (count == 0) {
        // A PLC without register types: nothing to compose, only Cancel means anything.
        SetDlgItemText(IDC_RANGE_TEXT, "");
        SetDlgItemText(IDC_ADDRESS_TEXT, "");
        ShowAddressParts(0);
        return true;
    }
    combo.SetCurSel(0);
    SetDlgItemText(IDC_RANGE_TEXT, RegisterRangeText(Port(), 0));
    SetDlgItemText(IDC_ADDRESS_TEXT, Compose(0, Field(0, 5), Field(0, 7), Field(0, 9)));

    m_strAddress = TrimBlanks(m_strAddress);
    // These units take no bit: an address read with "_" and a bit opens on its word, so
    // that the bit's digits never run into the number part, and OK gives the word.
    const std::string address = m_strAddress.substr(0, m_strAddress.find('_'));
    const int r = address.empty() ? -1 : t.FindRegisterByPrefix(address, Port());
    if (r < 0) {
        OnSelchangeRegister();
        return true;
    }
    SelectRegister(r);
    OnSelchangeRegister();
    auto fill = [&](Part which) {
        std::string part = RegisterAddressPart(Port(), r, address, which);
        const std::string lowest = Lowest(r, which);
        if (part.size() < lowest.size()) part.insert(0, lowest.size() - part.size(), '0');
        SetDlgItemText(kEdits[which], part);
    };
    if (!CPlcRegisterTables::IsMarker(Field(r, 7))) fill(kColon);
    if (!CPlcRegisterTables::IsMarker(Field(r, 9))) fill(kSlash);
    fill(kNumber);
    SetDlgItemText(IDC_ADDRESS_TEXT, address);
    return true;
}

void CAddressDlg::OnSelchangeRegister() {
    const int r = Current();
    if (r < 0) return;
    SetDlgItemText(IDC_RANGE_TEXT, RegisterRangeText(Port(), r));
    SetDlgItemText(IDC_ADDRESS_TEXT, Compose(r, Field(r, 5), Field(r, 7), Field(r, 9)));
    ShowAddressParts(1);
    if (!CPlcRegisterTables::IsMarker(Field(r, 7))) ShowAddressParts(2);
    if (!CPlcRegisterTables::IsMarker(Field(r, 9))) ShowAddressParts(3);
}

void CAddressDlg::ShowAddressParts(int count) {
    for (int p = 0; p < 3; ++p) {
        const bool show = p < count;
        for (int id : {kEdits[p], kUp[p], kDown[p]})
            if (ui::Control* c = GetDlgItem(id)) c->ShowWindow(show);
    }
    const int r = Current();
    for (Part p : {kSlash, kColon, kNumber}) {
        const std::string lowest = Lowest(r, p);
        ui::Control& edit = Item<ui::Control>(kEdits[p]);
        // A part whose lowest field is a marker holds the marker.
        edit.SetWindowText(lowest);
        edit.LimitText(int(lowest.size()));
    }
}

std::string CAddressDlg::Clamp(int r, Part part, const std::string& text, int mode) const {
    const std::string lowest = Lowest(r, part), highest = Highest(r, part);
    const int value = g_DlgNumConverter.TextToNumber(text, mode);
    if (value < g_DlgNumConverter.TextToNumber(lowest, mode)) return lowest;
    if (value > g_DlgNumConverter.TextToNumber(highest, mode)) return highest;
    return text;
}

void CAddressDlg::ShowComposedWith(Part part, const std::string& text) {
    std::string parts[3] = {PartText(kNumber), PartText(kColon), PartText(kSlash)};
    parts[part] = text;
    SetDlgItemText(IDC_ADDRESS_TEXT, Compose(Current(), parts[0], parts[1], parts[2]));
}

void CAddressDlg::StepPart(Part part, bool up) {
    const int r = Current();
    if (r < 0 || CPlcRegisterTables::IsMarker(Lowest(r, part))) return;
    const int mode = Mode(r, false);
    const std::string text = PartText(part);
    const std::string stepped =
        up ? CPlcRegisterTables::IncrementAddressText(text, mode) : CPlcRegisterTables::DecrementAddressText(text, mode);
    std::string result = stepped;
    const int value = g_DlgNumConverter.TextToNumber(stepped, mode);
    const bool below = value < g_DlgNumConverter.TextToNumber(Lowest(r, part), mode);
    const bool above = value > g_DlgNumConverter.TextToNumber(Highest(r, part), mode);
    // Past either end the "+" stays on the highest; the "-" goes to the nearer bound.
    if (up && (below || above)) result = Highest(r, part);
    if (!up && below) result = Lowest(r, part);
    if (!up && above) result = Highest(r, part);
    ShowComposedWith(part, result);
    SetDlgItemText(kEdits[part], result);
}

void CAddressDlg::ChangePart(Part part) {
    ui::Control* edit = GetDlgItem(kEdits[part]);
    const int r = Current();
    if (!edit || r < 0) return;
    const std::string lowest = Lowest(r, part);
    const std::string typed = edit->GetWindowText();
    if (CPlcRegisterTables::IsMarker(lowest)) {
        // Nothing to type in a part that has no number: its edit keeps the marker.
        if (typed != lowest) edit->SetWindowText(lowest);
        return;
    }
    const int mode = Mode(r, false);
    std::string kept;
    for (char ch : typed)
        if (AllowedIn(ch, mode)) kept += ch;
    if (kept != typed) {
        edit->SetWindowText(kept);  // raises the change again with the clean text
        return;
    }
    const std::string fitted = CPlcRegisterTables::FitStringToWidth(kept, unsigned(lowest.size()));
    ShowComposedWith(part, Clamp(r, part, fitted, mode));
}

void CAddressDlg::KillfocusPart(Part part) {
    ui::Control* edit = GetDlgItem(kEdits[part]);
    const int r = Current();
    if (!edit || r < 0) return;
    const std::string lowest = Lowest(r, part);
    if (CPlcRegisterTables::IsMarker(lowest)) {
        if (edit->GetWindowText() != lowest) edit->SetWindowText(lowest);
        return;
    }
    // Mode 5 counts as decimal here as it does for the buttons and the preview, so that
    // the range holds whichever way a part was entered.
    const std::string fitted = CPlcRegisterTables::FitStringToWidth(edit->GetWindowText(), unsigned(lowest.size()));
    const std::string result = Clamp(r, part, fitted, Mode(r, false));
    if (result != edit->GetWindowText()) edit->SetWindowText(result);
}

void CAddressDlg::OnOK() {
    m_strResult = GetDlgItemText(IDC_ADDRESS_TEXT);
    if (m_strResult.empty()) {  // no register to take an address from
        EndDialog(ui::IDCANCEL);
        return;
    }
    g_bBlockListEdited = 1;
    EndDialog(ui::IDOK);
}

void CAddressDlg::OnCancel() { EndDialog(ui::IDCANCEL); }
