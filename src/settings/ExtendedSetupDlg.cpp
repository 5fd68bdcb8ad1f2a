#include "settings/ExtendedSetupDlg.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "model/ExtendedTables.h"
#include "platform/Text.h"
#include "settings/DynDialogEx.h"
#include "model/IpAddress.h"
#include "ui/Backend.h"

namespace {

// Indexes of the nine descriptor fields of an item.
enum Field { kLabel, kSize, kType, kValue1, kValue2, kMax, kMin, kMode, kFactor };

// One port's general entity: descriptors, value buffer, used length, show-defaults flag.
struct EntityPort {
    int count;
    const StringArray* fields;
    std::uint8_t* buffer;
    int& length;
    int& showDefaults;

    static EntityPort Of(int port) {
        CGeneralEntityTables& g = g_GeneralEntity;
        if (port == 1)
            return {g.g_nGeneralEntityCount1, g.g_arrGeneralEntityCom1, g.g_abExtSetup1,
                    g.g_nExtSetupLen1, g_bExtSetupError1};
        return {g.g_nGeneralEntityCount2, g.g_arrGeneralEntityCom2, g.g_abExtSetup2,
                g.g_nExtSetupLen2, g_bExtSetupError2};
    }
    std::string Text(int item, Field f) const {
        const StringArray& a = fields[f];
        return size_t(item) < a.size() ? a[size_t(item)] : std::string();
    }
    int Number(int item, Field f) const { return platform::Atoi(Text(item, f)); }
};

using namespace dynstyle;

}  // namespace

int RunExtendedSetup(ui::Window* owner, int port) {
    port = port == 1 ? 1 : 2;
    const EntityPort e = EntityPort::Of(port);
    CDynDialogEx dlg(owner);
    dlg.m_mapItemIds.clear();
    dlg.SetDlgTitle(port == 1 ? "Extended Setup" : "General Entity PLC2");
    dlg.m_nEntitySide = port;

    ui::Rect label{20, 0, 110, 0};
    int top = 0;
    for (int i = 0; i < e.count; ++i) {
        label.top += 16;
        label.bottom += 24;
        dlg.AddDlgControl("STATIC", e.Text(i, kLabel), WS_CHILD | WS_VISIBLE, 0, &label);
        const int type = e.Number(i, kType);
        if (type < 1 || type > 5) continue;  // a label only, no item number
        top += i == 0 ? 14 : 16;
        const int bottom = top + (i == 0 ? 12 : 14);
        ++dlg.m_nItemNumber;
        switch (type) {
            case 1: {
                const ui::Rect r{125, top, 160, bottom};
                dlg.AddDlgControl("EDIT", "", 0x50010000, WS_EX_CLIENTEDGE, &r);
                break;
            }
            case 2: {
                const ui::Rect first{125, top, 180, bottom};
                const ui::Rect second{185, top, 240, bottom};
                dlg.AddDlgControl("BUTTON", e.Text(i, kValue1), 0x50030009, 0, &first);
                dlg.AddDlgControl("BUTTON", e.Text(i, kValue2), 0x50000009, 0, &second);
                break;
            }
            case 3: {
                const ui::Rect r{125, top, 220, bottom + 3};
                dlg.AddDlgControl("SysIPAddress32", "0", 0x50010000, WS_EX_CLIENTEDGE, &r);
                top += 2;
                break;
            }
            case 4: {
                const ui::Rect r{125, top + 5, 180, bottom};
                dlg.AddDlgControl("COMBOBOX", "DropDownComboText", 0x50230142, 0, &r);
                break;
            }
            case 5: {
                const ui::Rect r = port == 1 ? ui::Rect{125, top + 10, 220, bottom + 10}
                                             : ui::Rect{125, top, 160, bottom};
                dlg.AddDlgControl("BUTTON", e.Text(i, kValue1), 0x50030003, 0, &r);
                break;
            }
        }
    }
    return dlg.DoModal();
}

void CDynDialogEx::ShowExtendedSetupValues() {
    const EntityPort e = EntityPort::Of(m_nEntitySide);
    const bool defaults = e.showDefaults == 1;
    int pos = 0;
    auto next = [&]() -> int { return pos < kExtSetupBufferSize ? e.buffer[pos++] : (pos++, 0); };
    int number = 0;
    for (int i = 0; i < e.count; ++i) {
        const int type = e.Number(i, kType);
        if (type < 1 || type > 5) continue;
        ++number;
        auto found = m_mapItemIds.find(number);
        ui::Control* c = found == m_mapItemIds.end() ? nullptr : GetDlgItem(found->second);
        if (!c) continue;
        switch (type) {
            case 1: {
                const int size = e.Number(i, kSize);
                std::string text = e.Text(i, kValue1);
                if (!defaults && (size == 1 || size == 2)) {
                    int b = next();
                    if (size == 2) b += 256 * next();
                    text = std::to_string(
                        ScaleValue(b, e.Number(i, kMode), e.Number(i, kFactor), 1));
                }
                c->SetWindowText(text);
                if (size == 1) c->LimitText(3);
                else if (size == 2) c->LimitText(5);
                break;
            }
            case 2: {
                const int d = defaults ? e.Number(i, kMax) : next();
                ui::Control* first = GetDlgItem(found->second - 1);
                if (first) first->SetCheck(d != 0 ? 1 : 0);
                c->SetCheck(d != 0 ? 0 : 1);
                break;
            }
            case 3: {
                int a[4];
                if (defaults) {
                    a[0] = e.Number(i, kValue1);
                    a[1] = e.Number(i, kValue2);
                    a[2] = e.Number(i, kMax);
                    a[3] = e.Number(i, kMin);
                } else {
                    for (int& v : a) v = next();
                }
                c->SetWindowText(FormatIpAddress(unsigned(a[0]), unsigned(a[1]), unsigned(a[2]),
                                                 unsigned(a[3])));
                break;
            }
            case 4: {
                auto* list = dynamic_cast<ui::ComboBox*>(c);
                if (!list) break;
                list->AddString(e.Text(i, kValue1));
                list->AddString(e.Text(i, kValue2));
                int index;
                if (defaults) index = m_nEntitySide == 1 ? e.Number(i, kMax) : 0;
                else index = next();
                list->SetCurSel(index);
                break;
            }
            case 5: {
                const int state = defaults ? e.Number(i, kValue2) : next();
                c->SetCheck(state != 0 ? 1 : 0);
                break;
            }
        }
    }
}

namespace {

// Four decimal octets separated by dots; a blank octet counts 0, as in an address field.
// A whole decimal number, blanks around it allowed: "12abc" is not 12.
bool ParseWholeNumber(const std::string& text, int& value) {
    const std::string t = platform::Trim(text);
    const size_t digits = t.size() > 0 && t[0] == '-' ? 1 : 0;
    if (t.size() == digits || t.size() > digits + 9) return false;
    if (t.find_first_not_of("0123456789", digits) != std::string::npos) return false;
    value = platform::Atoi(t);
    return true;
}

bool ParseStrictIp(const std::string& text, std::uint8_t out[4]) {
    const std::vector<std::string> parts = platform::Split(platform::Trim(text), '.');
    if (parts.size() != 4) return false;
    for (size_t k = 0; k < 4; ++k) {
        const std::string p = platform::Trim(parts[k]);
        if (p.size() > 3 || !std::all_of(p.begin(), p.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
            return false;
        const int v = p.empty() ? 0 : std::stoi(p);
        if (v > 255) return false;
        out[k] = std::uint8_t(v);
    }
    return true;
}

}  // namespace

bool CDynDialogEx::EncodeExtendedSetupValues() {
    const EntityPort e = EntityPort::Of(m_nEntitySide);
    // Every value is checked before any is stored, so that a refused entry loses nothing.
    std::uint8_t out[kExtSetupBufferSize] = {};
    int pos = 0;
    auto put = [&](int v) {
        if (pos < kExtSetupBufferSize) out[pos++] = std::uint8_t(v & 0xFF);
    };
    int number = 0;
    for (int i = 0; i < e.count; ++i) {
        const int type = e.Number(i, kType);
        if (type < 1 || type > 5) continue;
        ++number;
        auto found = m_mapItemIds.find(number);
        ui::Control* c = found == m_mapItemIds.end() ? nullptr : GetDlgItem(found->second);
        if (!c) continue;
        switch (type) {
            case 1: {
                int v = 0;
                const int max = e.Number(i, kMax), min = e.Number(i, kMin);
                if (!ParseWholeNumber(c->GetWindowText(), v) || v > max || v < min) {
                    ui::MessageBox(platform::Format(
                                       "Please enter the valid value betwwen this range (%d - %d)", min, max),
                                   "Invalid Value", ui::MB_OK | ui::MB_ICONINFORMATION);
                    GotoDlgCtrl(found->second);
                    return false;
                }
                const int s = ScaleValue(v, e.Number(i, kMode), e.Number(i, kFactor), 0);
                const int size = e.Number(i, kSize);
                // The unit must get the value that is shown: the scaled number has to fit its
                // bytes and give the same value back (a division may drop a remainder).
                if (size == 1 || size == 2) {
                    const int kept = s & (size == 1 ? 0xFF : 0xFFFF);
                    if (kept != s || ScaleValue(kept, e.Number(i, kMode), e.Number(i, kFactor), 1) != v) {
                        ui::MessageBox(platform::Format("The value %d can not be stored exactly. Please enter another value.", v),
                                       "Invalid Value", ui::MB_OK | ui::MB_ICONINFORMATION);
                        GotoDlgCtrl(found->second);
                        return false;
                    }
                }
                if (size == 1) {
                    put(s);
                } else if (size == 2) {
                    put(s);
                    put(s >> 8);
                }
                break;
            }
            case 2: {
                ui::Control* first = GetDlgItem(found->second - 1);
                put(first && first->GetCheck() == 1 && c->GetCheck() != 1 ? 1 : 0);
                break;
            }
            case 3: {
                std::uint8_t a[4];
                if (!ParseStrictIp(c->GetWindowText(), a)) {
                    ui::MessageBox("Please enter a valid IP address: four numbers from 0 to 255 separated by dots.",
                                   "Invalid Value", ui::MB_OK | ui::MB_ICONINFORMATION);
                    GotoDlgCtrl(found->second);
                    return false;
                }
                for (std::uint8_t v : a) put(v);
                break;
            }
            case 4: {
                auto* list = dynamic_cast<ui::ComboBox*>(c);
                int sel = list ? list->GetCurSel() : -1;
                // Text typed over the choice is no choice, unless it names one of the choices:
                // then that choice is the one shown, and the one stored.
                if (sel >= 0 && list->GetLBText(sel) != list->GetWindowText()) sel = -1;
                if (const std::string typed = list ? platform::Trim(list->GetWindowText()) : std::string();
                    sel < 0 && !typed.empty())
                    sel = std::max(-1, list->FindStringExact(-1, typed));
                put(sel < 0 ? 0xFF : sel);
                break;
            }
            case 5: put(c->GetCheck() ? 1 : 0); break;
        }
    }
    std::copy(out, out + kExtSetupBufferSize, e.buffer);
    e.length = pos;
    e.showDefaults = 0;
    return true;
}
