#pragma once
// PLC port settings: baud rate, data bits, parity and stop bits of one side's PLC port,
// chosen from the lists of the side's PLC definition file, with the file's defaults, the
// PLC's help page and the way to the advance settings.
#include <string>

#include "ui/Dialog.h"

namespace ui {
class Window;
}

// The port-setting lists, shared with the port pages of the Communication Setting sheet.
namespace portlists {
// List numbers of SelectComboByData.
constexpr int kBaudRate = 1, kDataBits = 2, kStopBits = 3, kParity = 4;
// Fills the list from [Plc Info] `key` of the file: one entry per comma-separated field,
// carrying its decimal value (parity: "None" 1, "Even" 2, "Odd" 3 by the first letter,
// other letters left out); then selects the entry whose value is `stored`.
void FillList(ui::ComboBox& list, const std::string& file, const std::string& key, int stored);
// Selects the first entry whose value is `value`; the selection stays when none has it.
void SelectByData(ui::ComboBox& list, int value);
// The value of the selected entry, -1 without a selection.
int SelectedValue(const ui::ComboBox& list);
// Fills the four lists of a window (ids 1017 to 1020) from the file for the stored port.
void FillPortLists(ui::Window& window, const std::string& file, int port);
// Stores the four lists' values into the port of the project's port settings.
void StorePortLists(const ui::Window& window, int port);
}  // namespace portlists

class CPlcPortSettingDlg : public ui::Dialog {
public:
    explicit CPlcPortSettingDlg(ui::Window* parent = nullptr);

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnHelpInfo() override;

    void SelectComboByData(int list, int value);
    void OnDefault();
    void OnAdvanced();
    void OnPlcSpecificData();
    void ShowPlcHelp(int plcNumber);
    void OnChangeSetting();

    int m_nSide = 1;  // 1 PLC1 (COM1 side), 2 PLC2 (COM2 side)
    std::string m_strPlcName;
};
