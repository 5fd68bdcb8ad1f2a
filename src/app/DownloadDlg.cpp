#include "app/DownloadDlg.h"

#include <ctime>

#include "app/RunTimeState.h"
#include "link/SystemDataUpload.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Text.h"
#include "res/TransferResource.h"

CSerialPort g_DownloadPort;

namespace {

constexpr unsigned kThreePortProduct = 84;
constexpr uint32_t kTaskPauseMs = 2000;
constexpr uint32_t kUploadQuestionPauseMs = 1000;
const char* const kConnecting = "Connecting to Quorvex.";

std::string Now() {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char text[100];
    std::strftime(text, sizeof text, "%A, %B %d, %Y, %I:%M:%S %p", &local);
    return text;
}

}  // namespace

CDownloadDlg::CDownloadDlg(ui::Window* parent)
    : CTransferTasksDlg(IDD_DOWNLOAD, parent), m_transfer(g_DownloadPort, *this) {}

CDownloadDlg::~CDownloadDlg() = default;

const ui::HandlerTable* CDownloadDlg::GetHandlerTable() const {
    static const ui::HandlerTable table(CTransferTasksDlg::GetHandlerTable(), {
        ui::On(ui::Notify::Clicked, IDC_DOWNLOAD, &CDownloadDlg::OnDownload),
        ui::On(ui::Notify::Clicked, IDC_UPLOAD_PROJECT, &CDownloadDlg::OnUploadProject),
    });
    return &table;
}

std::string CDownloadDlg::Side(int which) const {
    return Named(which == 1 ? "PLC1" : "PLC2", which == 1 ? "Master1" : "Master2");
}

bool CDownloadDlg::OnInitDialog() {
    // The layouts are those of the newer dialog: download unless opened for an upload by
    // the frame (the three-port product downloads from everywhere else).
    m_nOpenMode = m_nOpenedFrom == 2 ? 2 : 1;
    m_bUploadMode = m_bUpload;
    CTransferTasksDlg::OnInitDialog();
    m_bUpload = m_bUploadMode;
    m_bUploadView = m_bUploadShown;
    return true;
}

void CDownloadDlg::OnCancel() {
    g_nDownloadDlgMode = 0;
    CTransferTasksDlg::OnCancel();
}

void CDownloadDlg::OnHelpInfo() {
    if (g_nDownloadDlgMode == 1) g_szHelpTopic = "download.htm";
    else if (g_nDownloadDlgMode == 2) g_szHelpTopic = "uploadproject.htm";
    ui::ShowHelp();
}

// ---------------------------------------------------------------------------------------
// Download

bool CDownloadDlg::RunFirmware(bool driverSelected, bool projectSelected) {
    SetIcon(1, IDB_STATUS_IDLE);
    SetLine(1, kConnecting);
    SetLine(2, "Downloading firmware.");
    if (m_transfer.DownloadFirmware() != 0) {
        g_nDownloadResult = -1;
        AddLogLine("Firmware download failed.");
        MarkLine(2, LineState::Failed, IDB_STATUS_FAILURE);
        if (g_bTaskCom1Driver) SetIcon(2, IDB_STATUS_FAILURE);
        if (g_bTaskCom2Driver) SetIcon(3, IDB_STATUS_FAILURE);
        if (g_bTaskProject) SetIcon(4, IDB_STATUS_FAILURE);
        return false;
    }
    MarkLine(2, LineState::Succeeded, IDB_STATUS_SUCCESS);
    AddLogLine("Firmware downloaded successfully.");
    if (driverSelected) ShowIcon(3, true);
    else if (projectSelected) ShowIcons({3, 4, 5});
    return true;
}

bool CDownloadDlg::RunDriver(int which) {
    if (which == 1) {
        SetIcon(2, IDB_STATUS_IDLE);
    } else {
        SetIcon(2, IDB_STATUS_IDLE);
        SetIcon(3, IDB_STATUS_IDLE);
    }
    SetLine(1, kConnecting);
    SetLine(2, "Downloading setup for " + Side(which) + " Driver.");
    SetLine(3, "Downloading " + Side(which) + " Driver.");
    const int rc = which == 1 ? m_transfer.DownloadCom1Driver() : m_transfer.DownloadCom2Driver();
    if (rc != 0) {
        g_nDownloadResult = -1;
        AddLogLine(Side(which) + " driver download failed.");
        MarkLine(3, LineState::Failed, IDB_STATUS_FAILURE);
        if (which == 1 && g_bTaskCom2Driver) SetIcon(3, IDB_STATUS_FAILURE);
        if (g_bTaskProject) SetIcon(4, IDB_STATUS_FAILURE);
        return false;
    }
    MarkLine(3, LineState::Succeeded, IDB_STATUS_SUCCESS);
    AddLogLine(Side(which) + " driver downloaded successfully.");
    if (g_bTaskProject && (which == 2 || !g_bTaskCom2Driver)) ShowIcons({4, 5});
    return true;
}

void CDownloadDlg::RunProject() {
    for (int line : {2, 3, 4}) SetIcon(line, IDB_STATUS_IDLE);
    SetLine(5, "Compiling Project.");
    SetLine(1, kConnecting);
    SetLine(2, "Checking existing drivers.");
    SetLine(3, "Downloading Project setup.");
    SetLine(4, "Downloading Project.");
    if (g_nDeviceId != kThreePortProduct && m_findFailingBlock) {
        const int failing = m_findFailingBlock();
        if (failing >= 0) {
            MarkLine(5, LineState::Failed, IDB_STATUS_FAILURE);
            ShowMessage(platform::Format(kMsgBlockError.c_str(), failing + 1), "", ui::MB_OK | ui::MB_ICONSTOP);
            g_nDownloadResult = -1;
            SetIcon(4, IDB_STATUS_FAILURE);
            return;
        }
    }
    if (!m_compileProject || m_compileProject() != 0) {
        MarkLine(5, LineState::Failed, IDB_STATUS_FAILURE);
        g_nDownloadResult = -1;
        SetIcon(4, IDB_STATUS_FAILURE);
        AddLogLine("Project download failed.");
        return;
    }
    MarkLine(5, LineState::Succeeded, IDB_STATUS_SUCCESS);
    if (m_transfer.DownloadProject() != 0) {
        g_nDownloadResult = -1;
        MarkLine(4, LineState::Failed, IDB_STATUS_FAILURE);
        AddLogLine("Project download failed.");
        return;
    }
    MarkLine(4, LineState::Succeeded, IDB_STATUS_SUCCESS);
}

void CDownloadDlg::OnDownload() {
    auto& list = Item<ui::ListView>(IDC_TASK_LIST);
    EnableControls(false);
    SetDlgItemText(IDC_TASKS_GROUP, "Downloading Tasks");
    m_lineState[1] = g_nConnectState = 0;
    list.SetFocus();
    g_bTaskFirmware = list.GetRowCheck(0);
    g_bTaskCom1Driver = list.GetRowCheck(1);
    g_bTaskCom2Driver = list.GetRowCheck(2);
    g_bTaskProject = list.GetRowCheck(3);
    for (int line = 1; line <= 4; ++line) SetIcon(line, IDB_STATUS_IDLE);
    g_nDownloadResult = 0;

    if (ShowMessage(kMsgDataOverwritten, "", ui::MB_OKCANCEL | ui::MB_ICONQUESTION) != ui::IDOK) {
        EnableControls(true);
        return;
    }
    if (!(g_bTaskFirmware || g_bTaskCom1Driver || g_bTaskCom2Driver || g_bTaskProject)) {
        HideAllIcons();
        ShowMessage(kMsgInvalidSelection, "", ui::MB_OK | ui::MB_ICONSTOP);
        EndOlderDownload();
        return;
    }
    if (g_bTaskFirmware) ShowIcons({1, 2});
    else if (g_bTaskCom1Driver || g_bTaskCom2Driver) ShowIcons({1, 2, 3});
    else ShowIcons({1, 2, 3, 4, 5});

    if (g_DownloadPort.Open(g_PlcRegisterTables.g_strPcComPort) != 0) {
        ShowMessage(kMsgOpenPortError, "", ui::MB_OK);
        EnableControls(true);
        ClearLineTexts();
        HideAllIcons();
        return;
    }
    ClearLineTexts();

    // The tasks in their order; the first that fails ends the download. The unit gets two
    // seconds before each later turn.
    bool ok = true;
    if (g_bTaskFirmware) ok = RunFirmware(g_bTaskCom1Driver || g_bTaskCom2Driver, g_bTaskProject);
    if (ok) PauseBetweenTasks(kTaskPauseMs);
    if (ok && g_bTaskCom1Driver) ok = RunDriver(1);
    if (ok) PauseBetweenTasks(kTaskPauseMs);
    if (ok && g_bTaskCom2Driver) ok = RunDriver(2);
    if (ok) PauseBetweenTasks(kTaskPauseMs);
    if (ok && g_bTaskProject) RunProject();
    if (g_nDownloadResult == 0) SetDlgItemText(IDC_SUMMARY, "Download Completed Successfully....");
    EndOlderDownload();
}

void CDownloadDlg::EndOlderDownload() {
    auto& list = Item<ui::ListView>(IDC_TASK_LIST);
    g_bTaskFirmware = list.GetRowCheck(0);
    g_bTaskCom1Driver = list.GetRowCheck(1);
    g_bTaskCom2Driver = list.GetRowCheck(2);
    g_bTaskProject = list.GetRowCheck(3);
    SetDlgItemText(IDC_SUMMARY, "");
    bool restart = false;
    if (g_nDownloadResult == -1) {
        EnableControls(true);
    } else {
        if (g_bTaskProject) {
            MarkLine(4, LineState::Succeeded, IDB_STATUS_SUCCESS);
            AddLogLine("Project downloaded successfully.");
        }
        if (g_bTaskFirmware || g_bTaskCom1Driver || g_bTaskCom2Driver || g_bTaskProject)
            restart = ShowMessage(kMsgRestartAfterDownload, "", ui::MB_YESNO | ui::MB_ICONQUESTION) == ui::IDYES;
        EnableControls(true);
    }
    SetProgressPos(0);
    HideAllIcons();
    ClearLineTexts();
    m_pWaitCursor.reset();
    if (restart && g_DownloadPort.IsOpen()) m_transfer.RestartUnit();
    g_DownloadPort.Close();
}

// ---------------------------------------------------------------------------------------
// Upload

void CDownloadDlg::OnUploadProject() {
    HideAllIcons();
    ClearLineTexts();
    for (int line = 1; line <= 4; ++line) SetIcon(line, IDB_STATUS_IDLE);
    EnableControls(false);
    EnableDlgItem(ui::IDCANCEL, false);
    SetDlgItemText(IDC_TASKS_GROUP, "Uploading Tasks");
    ShowIcons({1, 2, 3, 4});
    SetLine(1, kConnecting);
    SetLine(2, "Checking existing drivers.");
    SetLine(3, "Uploading Project setup.");
    SetLine(4, "Uploading Project.");
    BeginWaitCursor();

    bool taken = false;
    if (g_DownloadPort.Open(g_PlcRegisterTables.g_strPcComPort) != 0) {
        g_nUploadResult = -1;
        ShowMessage(kMsgOpenPortError, "", ui::MB_OK);
        RestoreControls();
        ClearLineTexts();
        HideAllIcons();
        g_DownloadPort.Close();
    } else {
        if (m_transfer.UploadProject() == 0) {
            // The staged project replaces the open one only now, whole.
            g_nUploadResult = 0;
            taken = true;
            const OlderUploadedProject& project = *m_transfer.Uploaded();
            ApplyOlderUploadedProject(project);
            if (g_nDeviceId != kThreePortProduct) RestoreMenuAfterTransfer();
            g_ProjectSettings.g_nProjFileVersion = 2;
            g_bProjectModified = g_bBlockListEdited = 1;
            g_bProjectSaved = g_bBlockExSaved = 0;
            g_bUntitled = g_bBlockExUntitled = 1;
            if (m_onOlderUploaded) m_onOlderUploaded(project);
            if (!project.title.empty() && m_setMainTitle) m_setMainTitle(project.title);
        } else {
            g_nUploadResult = -1;
        }
        g_DownloadPort.Close();
        m_pWaitCursor.reset();
        if (g_nUploadResult == -1) {
            AddLogLine("Upload Project failed.");
            MarkLine(4, LineState::Failed, IDB_STATUS_FAILURE);
            RestoreControls();
        } else {
            SetDlgItemText(IDC_SUMMARY, " ");
            MarkLine(4, LineState::Succeeded, IDB_STATUS_SUCCESS);
            AddLogLine("Project uploaded successfully.");
            RestoreControls();
            PauseBetweenTasks(kUploadQuestionPauseMs);
            const bool restart =
                ShowMessage(kMsgRestartAfterUpload, "", ui::MB_YESNO | ui::MB_ICONQUESTION) == ui::IDYES;
            if (g_nDeviceId == kThreePortProduct) {
                if (m_runCommunicationSheet) m_runCommunicationSheet();
                g_bProjectModified = g_bProjectSaved = g_bUntitled = 0;
                g_PlcRegisterTables.ResetProject();
                g_bNoBlockView = 1;
            }
            if (restart && g_DownloadPort.Open(g_PlcRegisterTables.g_strPcComPort) == 0) m_transfer.RestartUnit();
            g_DownloadPort.Close();
        }
    }
    m_pWaitCursor.reset();
    g_ProjectSettings.g_strProjCreated = g_ProjectSettings.g_strProjModified = Now();
    g_bProductSelected2 = 1;
    if (taken) EndDialog(ui::IDOK);
}
