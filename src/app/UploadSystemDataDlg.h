#pragma once
// "Upload System Data": the versions and health of the unit's firmware, PLC drivers and
// boot block in a four-row grid, the PC COM port box, and the restart question after a
// good reading. The exchange is link/SystemDataUpload's; this dialog shows it.
#include <memory>

#include "link/SystemDataUpload.h"
#include "ui/Backend.h"
#include "ui/Dialog.h"

class CUploadSystemDataDlg : public ui::Dialog, public ISystemDataReporter {
public:
    explicit CUploadSystemDataDlg(ui::Window* parent = nullptr);
    ~CUploadSystemDataDlg() override;

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnHelpInfo() override;
    void OnUpload();
    void OnSelchangeComPort();
    int UploadSystemData();

    // ISystemDataReporter: the dialog's controls.
    int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override;
    void SetStatusText(const std::string& text) override;
    void EnableButtons(bool enable) override;
    void ShowData(const UnitSystemData& data) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    // The dialog's own port (tests set its clock).
    CSerialPort& Port() { return m_port; }
    const UnitSystemData& Data() const { return m_data; }

private:
    void Refresh();
    void FillData(const UnitSystemData& data);

    UnitSystemData m_data;
    CSerialPort m_port;
    CSystemDataUpload m_upload;
    std::unique_ptr<ui::WaitCursor> m_pWaitCursor;
};
