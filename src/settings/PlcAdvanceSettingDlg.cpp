#include "settings/PlcAdvanceSettingDlg.h"

#include <string>

#include "model/ExtendedTables.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "plc/PlcRegisterTables.h"
#include "res/PortSettingsResource.h"
#include "settings/ExtendedSetupDlg.h"
#include "ui/Backend.h"

namespace {

const int kNameIds[3] = {IDC_ADV_NAME1, IDC_ADV_NAME2, IDC_ADV_NAME3};
const int kValueIds[3] = {IDC_ADV_VALUE1, IDC_ADV_VALUE2, IDC_ADV_VALUE3};
const int kRangeIds[3] = {IDC_ADV_RANGE1, IDC_ADV_RANGE2, IDC_ADV_RANGE3};

struct SpecialData {
    const int* min;
    const int* max;
    const StringArray* names;
    int* values;  // element (i + 1) mod 3 holds value i

    static SpecialData Of(int port) {
        CPlcRegisterTables& t = g_PlcRegisterTables;
        if (port == 1)
            return {t.g_anSpecialDataMin1, t.g_anSpecialDataMax1, &t.g_arrPlc1SpName,
                    g_ProjectSettings.g_anAdvSetting1};
        return {t.g_anSpecialDataMin2, t.g_anSpecialDataMax2, &t.g_arrPlc2SpName,
                g_ProjectSettings.g_anAdvSetting2};
    }
    // Values, limits and names are numbered 1 to 3.
    int& Value(int i) const { return values[(i + 1) % 3]; }
    int Min(int i) const { return min[i - 1]; }
    int Max(int i) const { return max[i - 1]; }
    std::string Name(int i) const {
        return size_t(i - 1) < names->size() ? (*names)[size_t(i - 1)] : std::string();
    }
    std::string Range(int i) const { return platform::Format("%d - %d", Min(i), Max(i)); }
};

}  // namespace

CPlcAdvanceSettingDlg::CPlcAdvanceSettingDlg(ui::Window* parent)
    : ui::Dialog(*res::PortSettingsTemplate(IDD_PLC_ADVANCE_SETTING), parent) {}

const ui::HandlerTable* CPlcAdvanceSettingDlg::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(ui::Notify::Clicked, IDC_EXTENDED_SETUP, &CPlcAdvanceSettingDlg::OnExtendedSetup),
    });
    return &table;
}

int CPlcAdvanceSettingDlg::SpecialDataCount() const {
    const std::string& inf = Port() == 1 ? g_PlcRegisterTables.g_strPlc1Inf : g_PlcRegisterTables.g_strPlc2Inf;
    return platform::GetPrivateProfileInt("Plc Info", "SpecialData", -1, inf);
}

bool CPlcAdvanceSettingDlg::IsValue1Boolean() const {
    const SpecialData sp = SpecialData::Of(Port());
    return sp.Min(1) + sp.Max(1) == 1;
}

bool CPlcAdvanceSettingDlg::OnInitDialog() {
    for (int id : kValueIds) Item(id).LimitText(3);
    const int entity = Port() == 1 ? g_bGeneralEntityCom1 : g_bGeneralEntityCom2;
    ShowDlgItem(IDC_EXTENDED_SETUP, entity == 1);

    const SpecialData sp = SpecialData::Of(Port());
    const int n = SpecialDataCount();
    if (n >= 1 && n <= 3) {
        for (int i = n + 1; i <= 3; ++i) {
            ShowDlgItem(kNameIds[i - 1], false);
            ShowDlgItem(kValueIds[i - 1], false);
            ShowDlgItem(kRangeIds[i - 1], false);
        }
        for (int i = 1; i <= n; ++i) SetDlgItemText(kNameIds[i - 1], sp.Name(i));
        for (int i = 2; i <= n; ++i) {
            SetDlgItemText(kValueIds[i - 1], std::to_string(sp.Value(i)));
            SetDlgItemText(kRangeIds[i - 1], sp.Range(i));
        }
        if (n == 2 && Port() == 1) SetDlgItemText(IDC_ADV_RANGE1, sp.Range(1));
        // Value 1: a Yes/No choice when its range is 0 to 1, else a number.
        const bool boolean = IsValue1Boolean();
        ShowDlgItem(IDC_ADV_YES, boolean);
        ShowDlgItem(IDC_ADV_NO, boolean);
        ShowDlgItem(IDC_ADV_VALUE1, !boolean);
        if (boolean) {
            CheckRadioButton(IDC_ADV_YES, IDC_ADV_NO, sp.Value(1) == 1 ? IDC_ADV_YES : IDC_ADV_NO);
        } else {
            SetDlgItemText(IDC_ADV_VALUE1, std::to_string(sp.Value(1)));
            SetDlgItemText(IDC_ADV_RANGE1, sp.Range(1));
        }
    } else {
        // The definition file declares no usable values: show none, so OK cannot store any.
        for (int i = 0; i < 3; ++i) {
            ShowDlgItem(kNameIds[i], false);
            ShowDlgItem(kValueIds[i], false);
            ShowDlgItem(kRangeIds[i], false);
        }
        ShowDlgItem(IDC_ADV_YES, false);
        ShowDlgItem(IDC_ADV_NO, false);
    }
    return true;
}

void CPlcAdvanceSettingDlg::OnOK() {
    const SpecialData sp = SpecialData::Of(Port());
    const int n = SpecialDataCount();
    std::string text[3];
    if (IsValue1Boolean())
        text[0] = std::string(1, IsDlgButtonChecked(IDC_ADV_YES) == 1 ? '1' : '0');
    else
        text[0] = Item(IDC_ADV_VALUE1).IsWindowVisible() ? GetDlgItemText(IDC_ADV_VALUE1) : "";
    for (int i = 2; i <= 3; ++i)
        text[i - 1] = Item(kValueIds[i - 1]).IsWindowVisible() ? GetDlgItemText(kValueIds[i - 1]) : "";

    // A value outside its range, or not a whole number at all ("5x", nothing), is named with
    // its range and gets the focus; nothing is stored.
    const int checked = n >= 1 && n <= 3 ? n : 0;
    for (int i = 1; i <= checked; ++i) {
        const int v = platform::Atoi(text[i - 1]);
        if (!platform::IsWholeNumber(text[i - 1]) || v < sp.Min(i) || v > sp.Max(i)) {
            ui::MessageBox(platform::Format("Please enter the valid value betwwen this range (%d - %d)",
                                            sp.Min(i), sp.Max(i)),
                           "Invalid Value", ui::MB_OK | ui::MB_ICONINFORMATION);
            GotoDlgCtrl(i == 1 && IsValue1Boolean() ? IDC_ADV_YES : kValueIds[i - 1]);
            return;
        }
    }
    // Without usable values the project keeps what it holds.
    if (checked > 0)
        for (int i = 1; i <= 3; ++i) sp.Value(i) = platform::Atoi(text[i - 1]);
    EndDialog(ui::IDOK);
    g_bBlockListEdited = 1;
    g_bProjectModified = 1;
}

void CPlcAdvanceSettingDlg::OnExtendedSetup() {
    // Values confirmed there are in the project whatever this dialog ends with.
    if (RunExtendedSetup(this, Port()) == ui::IDOK) {
        g_bBlockListEdited = 1;
        g_bProjectModified = 1;
    }
}
