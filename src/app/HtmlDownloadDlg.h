#pragma once
// "HTML Downloading": the web pages kept beside the program go to a unit with a built-in
// web server over a PC port chosen here (COM1 to COM10, or a name typed in). The exchange
// is link/HtmlDownload's; this dialog shows it and closes after a completed download.
#include <string>
#include <vector>

#include "link/HtmlDownload.h"
#include "link/SerialPort.h"
#include "ui/Dialog.h"

class CHtmlDownloadDlg : public ui::Dialog, public IHtmlDownloadReporter {
public:
    explicit CHtmlDownloadDlg(ui::Window* parent = nullptr, const std::string& logPath = "LOG.txt");
    ~CHtmlDownloadDlg() override;

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnDownload();
    void OnSelchangePort();

    // IHtmlDownloadReporter: the dialog's controls.
    int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override;
    void SetProgressPos(int position) override;
    void SetStatusText(const std::string& text) override;
    void SetFileName(const std::string& name) override;
    void PumpMessages() override;

    CSerialPort& Port() { return m_port; }
    const std::string& PortName() const { return m_strPortName; }

private:
    std::string m_strPortName;
    std::vector<WebFileType> m_types;
    CSerialPort m_port;
    CHtmlDownload m_download;
};
