#include "app/DownloadDlg.h"

#include "model/RunTimeState.h"
#include "link/SystemDataUpload.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Text.h"
#include "res/TransferResource.h"

CSerialPort g_DownloadPort;

namespace {

constexpr unsigned kThreePortProduct = 84;
constexpr uint32_t kTaskPauseMs = 2000;
const char* const kConnecting = "Connecting to Quorvex.";

}  // namespace

CDownloadDlg::CDownloadDlg(ui::Window* parent)
    : CTransferTasksDlg(IDD_DOWNLOAD, parent), m_transfer(g_DownloadPort, *this) {
    m_bExitDuringDownload = false;
}

CDownloadDlg::~CDownloadDlg() = default;

const ui::HandlerTable* CDownloadDlg::GetHandlerTable() const {
    static const ui::HandlerTable table(CTransferTasksDlg::GetHandlerTable(), {
        ui::On(ui::Notify::Clicked, IDC_DOWNLOAD, &CDownloadDlg::OnDownload),
        ui::On(ui::Notify::Clicked, IDC_UPLOAD_PROJECT, &CDownloadDlg::OnUploadProject),
    });
    return &table;
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
    if (!BeginDownload(g_DownloadPort, nullptr, [this] { EndOlderDownload(); })) return;

    // The tasks in their order; the first that fails ends the download. The unit gets two
    // seconds before each later turn.
    bool ok = true;
    if (g_bTaskFirmware)
        ok = RunFirmwareTask([this] { return m_transfer.DownloadFirmware(); }, "Downloading firmware.",
                             g_bTaskCom1Driver || g_bTaskCom2Driver, g_bTaskProject);
    if (ok) PauseBetweenTasks(kTaskPauseMs);
    if (ok && g_bTaskCom1Driver) ok = RunDriverTask(1, [this] { return m_transfer.DownloadCom1Driver(); });
    if (ok) PauseBetweenTasks(kTaskPauseMs);
    if (ok && g_bTaskCom2Driver) ok = RunDriverTask(2, [this] { return m_transfer.DownloadCom2Driver(); });
    if (ok) PauseBetweenTasks(kTaskPauseMs);
    if (ok && g_bTaskProject) RunProject();
    if (g_nDownloadResult == 0) SetDlgItemText(IDC_SUMMARY, "Download Completed Successfully....");
    EndOlderDownload();
}

void CDownloadDlg::EndOlderDownload() { EndDownloadOn(g_DownloadPort, [this] { m_transfer.RestartUnit(); }); }

// ---------------------------------------------------------------------------------------
// Upload

void CDownloadDlg::OnUploadProject() {
    // The staged project replaces the open one only once the whole exchange succeeded.
    const bool taken = RunUploadOn(
        g_DownloadPort, [this] { return m_transfer.UploadProject(); },
        [this] {
            const OlderUploadedProject& project = *m_transfer.Uploaded();
            ApplyOlderUploadedProject(project);
            if (g_nDeviceId != kThreePortProduct) RestoreMenuAfterTransfer();
            g_bBlockListEdited = 1;
            g_bBlockExSaved = 0;
            g_bUntitled = g_bBlockExUntitled = 1;
            if (m_onOlderUploaded) m_onOlderUploaded(project);
            if (!project.title.empty() && m_setMainTitle) m_setMainTitle(project.title);
        },
        [this] { m_transfer.RestartUnit(); });
    if (taken) EndDialog(ui::IDOK);
}
