#pragma once
// "Ethernet Download": firmware, both drivers and the default project to an Ethernet unit
// over TCP, at the address and port typed here. The sequence is link/EthernetDownload's;
// this dialog shows it.
#include <string>

#include "link/EthernetDownload.h"
#include "ui/Dialog.h"

inline const std::string kMsgEthPortInvalid = "Please enter a download port from 1 to 65535.";
inline const std::string kMsgEthAddressInvalid =
    "Please enter the unit's IP address as four numbers from 0 to 255, for example 192.168.0.10.";
inline const std::string kMsgEthAddressNone =
    "0.0.0.0 names no unit. Please enter the unit's own IP address, for example 192.168.0.10.";
inline const std::string kMsgEthAddressBroadcast =
    "255.255.255.255 is sent to every machine on the network, not to one unit. Please enter the unit's own IP address, for example 192.168.0.10.";

class CEthernetDownloadDlg : public ui::Dialog, public IEthernetDownloadReporter {
public:
    explicit CEthernetDownloadDlg(ui::Window* parent = nullptr);

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnDownload();
    void OnCancelButton();

    // IEthernetDownloadReporter: the dialog's controls.
    int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override;
    void SetProgressPos(int position) override;
    void SetStatusText(const std::string& text) override;
    void SetFileName(const std::string& name) override;
    std::string ChooseFirmwareFile(const std::string& folder) override;

    CEthernetDownload& Download() { return m_download; }

private:
    CEthernetDownload m_download;
};
