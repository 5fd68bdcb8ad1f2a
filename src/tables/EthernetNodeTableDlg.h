#pragma once
// The Ethernet node table: every node the compiler found on the Ethernet side with its
// IP address and port. The user sets the IP address of one node at a time; nodes are
// neither added nor removed here.
#include "ui/Dialog.h"

class CEthernetNodeTableDlg : public ui::Dialog {
public:
    explicit CEthernetNodeTableDlg(ui::Window* parent = nullptr);

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnOK() override;

    void OnClickList(const ui::Event& event);
    void OnChange();
    void OnReset();
    void OnKillFocusPort();
    void OnKillFocusNode();
    void OnKillFocusOctet(const ui::Event& event);

    // The IP address control: four octets.
    void SetIpAddress(uint8_t a, uint8_t b, uint8_t c, uint8_t d);
    void GetIpAddress(uint8_t& a, uint8_t& b, uint8_t& c, uint8_t& d) const;
    void ClearIpAddress() { SetIpAddress(0, 0, 0, 0); }

    int m_nSelectedRow = 0;
    int m_nPort = 502;

private:
    void ClearFields();
};
