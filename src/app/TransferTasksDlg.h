#pragma once
// The transfer dialog of the newer products: in download mode the engineer ticks any of
// firmware, the PLC1 driver, the PLC2 driver and the project, and the dialog runs the
// ticked tasks in that order on the PC port, with the firmware version check and the
// block check before the project, status lines, a message list and the restart question;
// in upload mode it takes the project out of the unit. The transfers themselves are the
// sequences of link/TransferTasks; this dialog shows them.
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/BlockRows.h"
#include "link/TransferTasks.h"
#include "ui/Backend.h"
#include "ui/Dialog.h"

// The port of the transfer dialog.
extern CSerialPort g_TransferPort;
// The tasks ticked when the last download started and ended.
extern int g_bTaskFirmware, g_bTaskCom1Driver, g_bTaskCom2Driver, g_bTaskProject;
// States of the status lines: 0 none, 1 succeeded, 2 failed (lines 2 and 3 share one).
extern int g_nConnectState, g_nTransferStepState, g_nTransferTaskState, g_nTransferResultState;

// Texts of the dialog.
inline const std::string kMsgDataOverwritten =  // string 60022
    "Data will be overwritten.\nThe unit may contain data in its memory. The download option will "
    "overwrite the unit memory. This operation is not reversible. Continue with download?";
inline const std::string kMsgInvalidSelection =
    "Invalid Selection!!! Please make proper selection before download";
inline const std::string kMsgRestartAfterDownload =
    "Download completed.\nTo run the project in Quorvex hardware, you need to restart Quorvex "
    "hardware.\nDo you want to restart it now?";
inline const std::string kMsgRestartAfterUpload =
    "Uploading project completed.To run the project in Quorvex hardware, you need to restart\n"
    "Quorvex hardware. Do you want to restart it now?";
inline const std::string kMsgOldFirmware =
    "The device you are trying to configure has old Version of Firmware.\nYou have to Download "
    "advanced Version of Firmware.\n Click OK to continue.";
inline const std::string kMsgAdvancedFirmware =
    "The device you are trying to configure has advanced Version of Firmware.\n Advanced Firmware "
    "may support more features.\nTo get benefit of those features you have to use advanced setup "
    "software.\nIf you use current software for configuration, you will not get the benefit of "
    "advanced firmware.\nDo you want to Download Current Firmware?";
inline const std::string kMsgBlockError =
    "Error found while compiling block number %d. Please correct the error. See the details on "
    "the error in the status message window.";

class CTransferTasksDlg : public ui::Dialog, public ITransferReporter {
public:
    explicit CTransferTasksDlg(ui::Window* parent = nullptr);
    ~CTransferTasksDlg() override;

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnTimer(int id) override;
    void OnHelpInfo() override;

    void OnDownload();
    void OnUploadProject();
    void OnSelchangeComPort();
    void OnSelectAll();
    void OnDeselectAll();
    void FillTaskList();

    // ITransferReporter: the dialog's controls.
    int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override;
    void SetProgressPos(int position) override;
    void MarkLine(int line, LineState state, int icon) override;
    void ClearStatus() override;
    void ClearSummary() override;
    void SetFileName(const std::string& name) override;
    void BeginWaitCursor() override;
    std::string ChooseFirmwareFile(const std::vector<std::string>& paths, const std::string& folder) override;
    bool AskProductForProject(std::string& product) override;
    void RestoreMenuAfterTransfer() override;
    bool StopAsked() override { return m_bStopAsked; }

    // Set by the opener.
    int m_bUploadMode = 0;  // 1 upload layout
    int m_nOpenMode = 1;    // 1 download, 2 upload
    // What the dialog needs of the block editor and the frame (each may be left empty).
    std::function<BlockRows()> m_getBlockRows;                 // the rows of the block list
    // Panes from the blocks, images written: true, with the bytes written in `images`.
    std::function<bool(std::array<std::string, 2>& images)> m_rebuildIdbImages;
    std::function<void(const UploadedProject&)> m_onUploaded;  // the uploaded rows to the block list
    std::function<void()> m_restoreMenu;                       // the frame's menu for the product
    std::function<void(const std::string&)> m_setMainTitle;    // the main window's title
    std::function<void()> m_runCommunicationSheet;            // the three-port product's settings

    int m_nLogLine = 0;
    int m_bUploadShown = 0;
    CTransferTasks& Tasks() { return m_tasks; }

protected:
    // A dialog of the same layout on another template (the older products' transfer
    // dialog shares the lines, icons, message list and controls).
    CTransferTasksDlg(int templateId, ui::Window* parent);

    // NoFirmware: the project needed the firmware first and no firmware file was chosen.
    enum class ProjectEnd { Sent, Stop, Failed, Stopped, NoFirmware };
    ProjectEnd RunProjectTask();
    bool RunFirmwareStep(bool driverSelected, bool projectSelected);
    // The firmware and driver turns of a download around the sequence that sends them.
    bool RunFirmwareTask(const std::function<int()>& download, const std::string& text, bool driverSelected,
                         bool projectSelected);
    bool RunDriverTask(int which, const std::function<int()>& download);
    void EndDownload();
    // Exit, Escape or the close box while a transfer runs: the stop is noted and the
    // transfer ends at its next safe point (see EndIfStoppedShort). True when a transfer
    // runs, so the dialog stays until then.
    bool StopDuringTransfer();
    void SetRunning(bool running);
    // The end of a download the person stopped before every ticked task was sent: the
    // tasks not sent are marked, the closing message names what was sent and what was not,
    // there is no restart question, and the dialog closes. False (nothing done) when no
    // stop was asked or every ticked task was sent.
    bool EndIfStoppedShort(CSerialPort& port);
    // After a failed firmware or driver task: each later ticked task gets its line in the
    // message list, as a stop gives it.
    void ListTasksAfterFailure();
    // Lists each ticked task from `fromTask` on that was not sent, saying why; gives their
    // numbers (0 firmware, 1 and 2 the drivers, 3 the project).
    std::vector<int> ListTasksNotSent(int fromTask, const std::string& why);
    std::string TaskName(int task) const;
    // Empties the message list of the last run.
    void ClearLog();
    // The lines of the first task labelled while the pauses before it run.
    void LabelFirstTask();
    // The texts of the project task's five lines.
    void LabelProjectLines();
    void LabelDriverLines(int which);
    // The start of a download on `port`: the tasks ticked, the overwrite question, the
    // selection (then `accept`, which may end the download itself), the icons of the
    // first task and the port opened. False when the download ended there.
    bool BeginDownload(CSerialPort& port, const std::function<bool()>& accept, const std::function<void()>& end);
    // The end of a download on `port`: the success line, the restart question.
    void EndDownloadOn(CSerialPort& port, const std::function<void()>& restartUnit);
    // An upload on `port`: the lines, the sequence, the project taken over on success, the
    // restart question. True when the project was taken.
    bool RunUploadOn(CSerialPort& port, const std::function<int()>& upload, const std::function<void()>& takeOver,
                     const std::function<void()>& restartUnit);
    void EnableControls(bool enable);
    void RestoreControls();
    void SetLine(int line, const std::string& text);
    void ShowIcon(int line, bool show);
    void SetIcon(int line, int bitmapId);
    void ShowIcons(std::initializer_list<int> lines, bool show = true);
    void ClearLineTexts();
    void HideAllIcons();
    void AddLogLine(const std::string& text);
    void Refresh();
    void Pause(uint32_t ms) { g_TransferPort.GetClock().Sleep(ms); }
    bool WriteProjectImage(const BlockRows& rows, std::string& image);
    std::string Named(const char* plc, const char* master) const;

private:
    CTransferTasks m_tasks;

protected:
    std::unique_ptr<ui::WaitCursor> m_pWaitCursor;
    int m_lineState[6] = {};
    // Whether Exit stays usable while a download runs (the older products' dialog: no).
    bool m_bExitDuringDownload = true;
    // A download or upload runs; the person asked to stop it; the ticked tasks sent so far
    // (firmware, COM1 driver, COM2 driver, project).
    bool m_bRunning = false;
    bool m_bStopAsked = false;
    bool m_bUploading = false;
    bool m_sent[4] = {};
    // The task the status lines show (0 firmware, 1 and 2 the drivers, 3 the project), -1
    // while they show none: a stop marks a task failed only on its own lines.
    int m_nLinesTask = -1;
    // The last firmware task ended because no firmware file was chosen.
    bool m_bNoFirmwareChosen = false;
    std::string m_firmwareLineText = "Downloading Firmware.";
};
