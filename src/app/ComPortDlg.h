#pragma once
// The choice of the PC serial port that leads to the unit ("IBM Com Port"): COM1 to COM31,
// kept in g_strPcComPort and stored as [Com] Port of the product's Data\data.inf. OK
// stores the choice and closes only when the port opens; Esc stores nothing.
#include "link/SerialPort.h"
#include "ui/Dialog.h"

class CComPortDlg : public ui::Dialog {
public:
    explicit CComPortDlg(ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnHelpInfo() override;
    const ui::HandlerTable* GetHandlerTable() const override;
    // The device behind the chosen name shows as the list's tool tip.
    void OnSelchangePort();

    // The port the dialog test-opens (tests set its clock and reporter).
    CSerialPort& Port() { return m_port; }

private:
    CSerialPort m_port;
};
