#pragma once
// The transfer dialog of the older products: in download mode the engineer ticks any of
// firmware, the PLC1 (Master1) driver, the PLC2 (Master2) driver and the project, and the
// dialog runs the ticked tasks in that order on the PC port, with the block check and the
// compile before the project, status lines, a message list and the restart question; in
// upload mode it takes the project out of the unit. The transfers are the sequences of
// link/OlderTransfer; this dialog shows them, on the controls it shares with the newer
// products' transfer dialog.
#include <functional>
#include <string>

#include "app/TransferTasksDlg.h"
#include "link/OlderTransfer.h"

// The port of the older transfer dialog.
extern CSerialPort g_DownloadPort;

class CDownloadDlg : public CTransferTasksDlg {
public:
    explicit CDownloadDlg(ui::Window* parent = nullptr);
    ~CDownloadDlg() override;

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnHelpInfo() override;

    void OnDownload();
    void OnUploadProject();

    // Set by the opener: 1 upload layout; 2 opened by the frame's Upload Project.
    int m_bUpload = 0;
    int m_nOpenedFrom = 0;
    // 1 while the upload layout is shown.
    int m_bUploadView = 0;

    // What the dialog needs of the older block view (each may be left empty).
    std::function<int()> m_findFailingBlock;  // index of the first block in error, -1 none
    std::function<int(std::string& image)> m_compileProject;  // writes WritePrj.hex, gives its bytes: 0, or -1 (reported)
    std::function<void(const OlderUploadedProject&)> m_onOlderUploaded;  // the rows to the list

    COlderTransfer& Transfer() { return m_transfer; }

private:
    // The project task: true when the project was sent.
    bool RunProject();
    void EndOlderDownload();
    void PauseBetweenTasks(uint32_t ms) { g_DownloadPort.GetClock().Sleep(ms); }

    COlderTransfer m_transfer;
};
