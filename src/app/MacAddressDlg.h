#pragma once
// "MAC Address Settings": writes a new MAC address into the unit through a PC port typed
// or chosen here (COM1 to COM10 offered; nothing stored). The exchange is
// link/MacAddressSetting's; Set can run once per unit and never closes the dialog.
#include <string>

#include "link/MacAddressSetting.h"
#include "link/SerialPort.h"
#include "ui/Dialog.h"

class CMacAddressDlg : public ui::Dialog, public ILinkReporter {
public:
    explicit CMacAddressDlg(ui::Window* parent = nullptr);
    ~CMacAddressDlg() override;

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnOK() override { OnSet(); }
    void OnSet();
    void OnKillfocusComPort();
    int ConnectToUnit();

    int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override;

    CSerialPort& Port() { return m_port; }
    const std::string& PortName() const { return m_strPortName; }

private:
    // The six fields into bytes; false (with its message, the field focused) when one
    // does not name a byte.
    bool TakeFields(uint8_t (&mac)[6]);

    std::string m_strPortName;
    std::string m_strMac[6];
    CSerialPort m_port;
    CMacAddressSetting m_setting;
};
