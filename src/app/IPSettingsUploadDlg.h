#pragma once
// "Upload": the IP settings an Ethernet unit keeps (its address, default router, subnet
// mask and MAC address), read through a PC port chosen here (COM1 to COM15, not stored).
// The exchange is link/IpSettingsUpload's; this dialog shows it.
#include <string>

#include "link/IpSettingsUpload.h"
#include "ui/Dialog.h"

// The shown address bytes; they live as long as the program and are zeroed when the
// dialog opens.
extern UnitIpSettings g_IPSettings;

class CIPSettingsUploadDlg : public ui::Dialog, public IIpSettingsReporter {
public:
    explicit CIPSettingsUploadDlg(ui::Window* parent = nullptr);
    ~CIPSettingsUploadDlg() override;

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void InitControls();
    void OnUpload();
    void OnSelchangeComPort();
    int UploadIPSettings();

    // IIpSettingsReporter: the dialog's controls.
    int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override;
    void SetProgressPos(int position) override;
    void SetStatusText(const std::string& text) override;
    void ShowSettings(const UnitIpSettings& settings) override;

    const std::string& PortName() const { return m_strPortName; }

private:
    std::string m_strPortName = "COM1";
    CIpSettingsUpload m_upload;
};
