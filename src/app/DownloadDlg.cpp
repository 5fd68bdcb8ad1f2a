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

}  // namespace

CDownloadDlg::CDownloadDlg(ui::Window* parent)
    : CTransferTasksDlg(IDD_DOWNLOAD, parent), m_transfer(g_DownloadPort, *this) {
    m_bExitDuringDownload = false;
    m_firmwareLineText = "Downloading firmware.";
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
    // Exit is disabled while a transfer runs, but Escape and the close box still come here.
    if (StopDuringTransfer()) return;
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

bool CDownloadDlg::RunProject() {
    for (int line : {2, 3, 4}) SetIcon(line, IDB_STATUS_IDLE);
    LabelProjectLines();
    if (g_nDeviceId != kThreePortProduct && m_findFailingBlock) {
        const int failing = m_findFailingBlock();
        if (failing >= 0) {
            MarkLine(5, LineState::Failed, IDB_STATUS_FAILURE);
            ShowMessage(platform::Format(kMsgBlockError.c_str(), failing + 1), "", ui::MB_OK | ui::MB_ICONSTOP);
            g_nDownloadResult = -1;
            SetIcon(4, IDB_STATUS_FAILURE);
            return false;
        }
    }
    // What this download compiled is what it sends: the image stays in memory from here on.
    std::string image;
    if (!m_compileProject || m_compileProject(image) != 0) {
        MarkLine(5, LineState::Failed, IDB_STATUS_FAILURE);
        g_nDownloadResult = -1;
        SetIcon(4, IDB_STATUS_FAILURE);
        AddLogLine("Project download failed.");
        return false;
    }
    MarkLine(5, LineState::Succeeded, IDB_STATUS_SUCCESS);
    const int result = m_transfer.DownloadProject(image);
    if (result == kTransferStopped) return false;
    if (result != 0) {
        g_nDownloadResult = -1;
        MarkLine(4, LineState::Failed, IDB_STATUS_FAILURE);
        AddLogLine("Project download failed.");
        return false;
    }
    MarkLine(4, LineState::Succeeded, IDB_STATUS_SUCCESS);
    return g_nDownloadResult == 0;  // not when the driver question was declined
}

void CDownloadDlg::OnDownload() {
    if (!BeginDownload(g_DownloadPort, nullptr, [this] { EndOlderDownload(); })) return;

    // The tasks in their order; the first that fails ends the download, and a stop the
    // person asked for ends it before the next task. The unit gets two seconds before each
    // later turn.
    bool ok = true;
    auto goOn = [&] { return ok && !m_bStopAsked; };
    if (g_bTaskFirmware && goOn()) {
        ok = RunFirmwareTask([this] { return m_transfer.DownloadFirmware(); }, m_firmwareLineText,
                             g_bTaskCom1Driver || g_bTaskCom2Driver, g_bTaskProject);
        m_sent[0] = ok;
    }
    if (goOn()) PauseBetweenTasks(kTaskPauseMs);
    if (g_bTaskCom1Driver && goOn()) {
        ok = RunDriverTask(1, [this] { return m_transfer.DownloadCom1Driver(); });
        m_sent[1] = ok;
    }
    if (goOn()) PauseBetweenTasks(kTaskPauseMs);
    if (g_bTaskCom2Driver && goOn()) {
        ok = RunDriverTask(2, [this] { return m_transfer.DownloadCom2Driver(); });
        m_sent[2] = ok;
    }
    if (goOn()) PauseBetweenTasks(kTaskPauseMs);
    if (!ok) ListTasksAfterFailure();
    if (g_bTaskProject && goOn()) m_sent[3] = RunProject();
    if (EndIfStoppedShort(g_DownloadPort)) return;
    if (g_nDownloadResult == 0) SetDlgItemText(IDC_SUMMARY, "Download Completed Successfully....");
    EndOlderDownload();
    if (m_bStopAsked) OnCancel();  // everything was sent before the stop came: the dialog closes
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
    else if (m_bStopAsked) OnCancel();  // the person asked to leave
}
