#include "app/TransferTasksDlg.h"
#include "plc/OpenProjectReset.h"

#include <algorithm>
#include <ctime>

#include "model/ExtendedTables.h"
#include "model/ProjectSettings.h"
#include "app/RefreshDlg.h"
#include "model/RunTimeState.h"
#include "app/VersionMismatchDlg.h"
#include "compiler/BlockScan.h"
#include "compiler/CompileBlock.h"
#include "compiler/ProjectImage.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "res/DialogImages.h"
#include "res/TransferResource.h"
#include "settings/ControlWordExDlg.h"

CSerialPort g_TransferPort;
int g_bTaskFirmware = 0, g_bTaskCom1Driver = 0, g_bTaskCom2Driver = 0, g_bTaskProject = 0;
int g_nConnectState = 0, g_nTransferStepState = 0, g_nTransferTaskState = 0, g_nTransferResultState = 0;

namespace {

constexpr unsigned kThreePortProduct = 84;
constexpr int kWatchdogTimer = 10;
constexpr uint32_t kTaskPauseMs = 2000;
constexpr int kComPorts = 31;
constexpr size_t kAttachRegWords = 200;

constexpr int kLineText[6] = {0, IDC_LINE1_TEXT, IDC_LINE2_TEXT, IDC_LINE3_TEXT, IDC_LINE4_TEXT, IDC_LINE5_TEXT};
constexpr int kLineIcon[6] = {0, IDC_LINE1_ICON, IDC_LINE2_ICON, IDC_LINE3_ICON, IDC_LINE4_ICON, IDC_LINE5_ICON};
constexpr ui::Color kBlue = ui::RGB(0, 0, 255);
constexpr ui::Color kDarkRed = ui::RGB(128, 0, 0);
constexpr ui::Color kBlack = ui::RGB(0, 0, 0);

const char* const kConnecting = "Connecting to Quorvex.";

std::string Now() {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char text[100];
    std::strftime(text, sizeof text, "%A, %B %d, %Y, %I:%M:%S %p", &local);
    return text;
}

// Pads a word-count list of the default registers to the rows the dialog shows.
void PadWords(StringArray& words) {
    if (words.size() < kAttachRegWords) words.resize(kAttachRegWords, "1");
}

}  // namespace

CTransferTasksDlg::CTransferTasksDlg(ui::Window* parent) : CTransferTasksDlg(IDD_TRANSFER_TASKS, parent) {}

CTransferTasksDlg::CTransferTasksDlg(int templateId, ui::Window* parent)
    : ui::Dialog(templateId, parent), m_tasks(g_TransferPort, *this) {}

CTransferTasksDlg::~CTransferTasksDlg() {
    if (m_bRunning) ui::SetInputDuringWaits(false);
}

const ui::HandlerTable* CTransferTasksDlg::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(ui::Notify::Clicked, IDC_DOWNLOAD, &CTransferTasksDlg::OnDownload),
        ui::On(ui::Notify::Clicked, IDC_UPLOAD_PROJECT, &CTransferTasksDlg::OnUploadProject),
        ui::On(ui::Notify::SelChange, IDC_COM_PORT, &CTransferTasksDlg::OnSelchangeComPort),
        ui::On(ui::Notify::Clicked, IDC_SELECT_ALL, &CTransferTasksDlg::OnSelectAll),
        ui::On(ui::Notify::Clicked, IDC_DESELECT_ALL, &CTransferTasksDlg::OnDeselectAll),
    });
    return &table;
}

std::string CTransferTasksDlg::Named(const char* plc, const char* master) const {
    return g_nDeviceId == kThreePortProduct ? master : plc;
}

// ---------------------------------------------------------------------------------------
// Start and end

bool CTransferTasksDlg::OnInitDialog() {
    m_nLogLine = 0;
    auto& messages = Item<ui::ListControl>(IDC_MESSAGE_LIST);
    messages.SetHorizontalExtent(kStatusListExtent);
    for (int i = 0; i < 9; ++i) messages.AddString(" ");
    messages.SetCurSel(-1);
    Item(IDC_TRANSFER_PROGRESS).SetRange(0, CUnitLink::kProgressMax);
    SetWindowText("");

    auto& ports = Item<ui::ListControl>(IDC_COM_PORT);
    for (int n = 1; n <= kComPorts; ++n) ports.AddString("COM" + std::to_string(n));
    int port = deffiles::ReadDataComPort(g_szProductName);
    if (port == -1) port = 1;
    if (ports.SetCurSel(port - 1) >= 0) g_PlcRegisterTables.g_strPcComPort = "COM" + std::to_string(port);

    if (m_nOpenMode != 2) {
        if (g_nDeviceId == kThreePortProduct) m_bUploadMode = 0;
        EnableDlgItem(IDC_UPLOAD_PROJECT, false);
        EnableDlgItem(IDC_DOWNLOAD, true);
    } else {
        EnableDlgItem(IDC_DOWNLOAD, false);
    }
    FillTaskList();
    if (m_bUploadMode == 0) {
        SetWindowText("Download");
        SetDlgItemText(IDC_TASKS_GROUP, "Downloading Tasks");
        m_bUploadShown = 0;
    } else {
        SetWindowText("Upload");
        SetDlgItemText(IDC_TASKS_GROUP, "Uploading Tasks");
        EnableDlgItem(IDC_TASK_LIST, false);
        EnableDlgItem(IDC_SELECT_ALL, false);
        EnableDlgItem(IDC_DESELECT_ALL, false);
        m_bUploadShown = 1;
    }
    m_tasks.m_nBlockSize = CTransferTasks::ReadTransferBlockSize(g_szProductName);
    HideAllIcons();
    return true;
}

void CTransferTasksDlg::FillTaskList() {
    auto& list = Item<ui::ListView>(IDC_TASK_LIST);
    list.DeleteAllItems();
    while (list.GetColumnCount() > 0) list.DeleteColumn(0);
    const int width = GetControlPixelRect(list).Width() - 20;
    list.InsertColumn(0, "ITEM", ui::LVCFMT_LEFT, width > 0 ? width : 60);
    list.SetImageList({res::TaskIcon(IDI_TASK_LIST), res::TaskIcon(IDI_TASK_FILE), res::TaskIcon(IDI_TASK_PROJECT),
                       res::TaskIcon(IDI_TASK_UPLOAD)});
    const std::string rows[4] = {"Firmware", Named("PLC1 Driver", "Master1 Driver"),
                                 Named("PLC2 Driver", "Master2 Driver"), "Project"};
    for (int i = 0; i < 4; ++i) {
        list.InsertItem(i, rows[i]);
        list.SetItemImage(i, i == 3 ? 2 : 1);
        list.SetRowCheck(i, false);
    }
}

void CTransferTasksDlg::OnCancel() {
    if (StopDuringTransfer()) return;
    g_bTaskFirmware = g_bTaskCom1Driver = g_bTaskCom2Driver = g_bTaskProject = 0;
    g_nTransferMode = 0;
    if (g_nMainScreen == 1) g_szHelpTopic = "products.htm";
    else if (g_nMainScreen == 2) g_szHelpTopic = "protocols.htm";
    ui::Dialog::OnCancel();
}

void CTransferTasksDlg::OnTimer(int id) {
    // The echo waits bound themselves; the watchdog only stops.
    if (id == kWatchdogTimer) KillTimer(kWatchdogTimer);
}

void CTransferTasksDlg::OnHelpInfo() {
    if (g_nTransferMode == 1) g_szHelpTopic = "download.htm";
    else if (g_nTransferMode == 2) g_szHelpTopic = "uploadproject.htm";
    ui::ShowHelp();
}

void CTransferTasksDlg::OnSelectAll() {
    auto& list = Item<ui::ListView>(IDC_TASK_LIST);
    for (int i = 0; i < 4; ++i) list.SetRowCheck(i, true);
}

void CTransferTasksDlg::OnDeselectAll() {
    auto& list = Item<ui::ListView>(IDC_TASK_LIST);
    for (int i = 0; i < 4; ++i) list.SetRowCheck(i, false);
}

void CTransferTasksDlg::OnSelchangeComPort() {
    const int i = Item<ui::ListControl>(IDC_COM_PORT).GetCurSel();
    if (i < 0 || i >= kComPorts) return;
    const std::string name = "COM" + std::to_string(i + 1);
    if (g_TransferPort.Open(name) != 0) ShowMessage(kMsgOpenPortError, "", ui::MB_OK);
    g_PlcRegisterTables.g_strPcComPort = name;
    platform::WritePrivateProfileString("Com", "Port", std::to_string(i + 1), deffiles::DataInf(g_szProductName));
    g_TransferPort.Close();
}

// ---------------------------------------------------------------------------------------
// The reports of the sequences

int CTransferTasksDlg::ShowMessage(const std::string& text, const std::string& caption, unsigned flags) {
    return ui::MessageBox(text, caption, flags);
}

void CTransferTasksDlg::SetProgressPos(int position) { Item(IDC_TRANSFER_PROGRESS).SetPos(position); }

void CTransferTasksDlg::MarkLine(int line, LineState state, int icon) {
    if (line < 1 || line > 5) return;
    const int value = static_cast<int>(state);
    m_lineState[line] = value;
    switch (line) {
    case 1: g_nConnectState = value; break;
    case 2:
    case 3: g_nTransferStepState = value; break;
    case 4: g_nTransferTaskState = value; break;
    default: g_nTransferResultState = value; break;
    }
    // Blue when done, dark red when failed, black otherwise, on the dialog's own ground.
    const ui::Color colour = state == LineState::Succeeded ? kBlue : state == LineState::Failed ? kDarkRed : kBlack;
    Item(kLineText[line]).SetColors(colour, ui::kDefaultColor, true);
    if (icon == 0 && state != LineState::None)
        icon = state == LineState::Succeeded ? IDB_STATUS_SUCCESS : IDB_STATUS_FAILURE;
    if (icon != 0) SetIcon(line, icon);
    Refresh();
}

void CTransferTasksDlg::ClearSummary() { SetDlgItemText(IDC_SUMMARY, ""); }

void CTransferTasksDlg::ClearStatus() {
    HideAllIcons();
    ClearLineTexts();
}

void CTransferTasksDlg::SetFileName(const std::string& name) { SetDlgItemText(IDC_FILE_NAME, name); }

void CTransferTasksDlg::BeginWaitCursor() {
    if (!m_pWaitCursor) m_pWaitCursor = std::make_unique<ui::WaitCursor>();
}

std::string CTransferTasksDlg::ChooseFirmwareFile(const std::vector<std::string>&, const std::string& folder) {
    ui::FileDialog dialog(true, "abs", "firmware", ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                          "Firmware Files (*.abs)|*.abs||");
    dialog.SetInitialDir(platform::ResolvePath(folder));
    dialog.SetTitle("Select File To Download");
    if (dialog.DoModal() != ui::IDOK) return std::string();
    return dialog.GetPathName();
}

bool CTransferTasksDlg::AskProductForProject(std::string& product) {
    CVersionMismatchDlg question(this);
    if (question.DoModal() != ui::IDOK || g_szVersionProduct.empty()) return false;
    product = g_szVersionProduct;
    return true;
}

void CTransferTasksDlg::RestoreMenuAfterTransfer() {
    if (m_restoreMenu) m_restoreMenu();
}

// ---------------------------------------------------------------------------------------
// Lines, icons, controls

void CTransferTasksDlg::SetLine(int line, const std::string& text) { SetDlgItemText(kLineText[line], text); }

void CTransferTasksDlg::ShowIcon(int line, bool show) { ShowDlgItem(kLineIcon[line], show); }

void CTransferTasksDlg::SetIcon(int line, int bitmapId) {
    auto& icon = Item(kLineIcon[line]);
    icon.SetBitmap(res::StatusBitmap(bitmapId));
    icon.SetWindowText(std::to_string(bitmapId));  // which icon it shows
}

void CTransferTasksDlg::ShowIcons(std::initializer_list<int> lines, bool show) {
    for (int line : lines) ShowIcon(line, show);
}

void CTransferTasksDlg::ClearLineTexts() {
    for (int line = 1; line <= 5; ++line) SetLine(line, "");
    m_nLinesTask = -1;
}

void CTransferTasksDlg::HideAllIcons() { ShowIcons({1, 2, 3, 4, 5}, false); }

void CTransferTasksDlg::AddLogLine(const std::string& text) {
    auto& messages = Item<ui::ListControl>(IDC_MESSAGE_LIST);
    messages.InsertString(m_nLogLine, text);
    messages.SetCurSel(m_nLogLine);
    ++m_nLogLine;
}

void CTransferTasksDlg::ClearLog() {
    auto& messages = Item<ui::ListControl>(IDC_MESSAGE_LIST);
    messages.ResetContent();
    for (int i = 0; i < 9; ++i) messages.AddString(" ");
    messages.SetCurSel(-1);
    m_nLogLine = 0;
}

void CTransferTasksDlg::Refresh() {
    CRefreshDlg refresh(this);
    refresh.DoModal();
}

void CTransferTasksDlg::EnableControls(bool enable) {
    // A download gives back Download, the selection buttons and the list; Upload Project
    // keeps what the dialog's layout gave it.
    // The port stays the same while a transfer runs on it.
    for (int id : {IDC_DOWNLOAD, IDC_SELECT_ALL, IDC_DESELECT_ALL, IDC_TASK_LIST, IDC_COM_PORT}) EnableDlgItem(id, enable);
    if (!enable) EnableDlgItem(IDC_UPLOAD_PROJECT, false);
    EnableDlgItem(ui::IDCANCEL, true);
}

void CTransferTasksDlg::RestoreControls() {
    const bool download = m_bUploadShown == 0;
    for (int id : {IDC_DOWNLOAD, IDC_SELECT_ALL, IDC_DESELECT_ALL, IDC_TASK_LIST}) EnableDlgItem(id, download);
    EnableDlgItem(IDC_COM_PORT, true);
    EnableDlgItem(IDC_UPLOAD_PROJECT, true);
    EnableDlgItem(ui::IDCANCEL, true);
}

// ---------------------------------------------------------------------------------------
// Download

bool CTransferTasksDlg::RunFirmwareStep(bool driverSelected, bool projectSelected) {
    return RunFirmwareTask([this] { return m_tasks.DownloadFirmware(); }, "Downloading Firmware.", driverSelected,
                           projectSelected);
}

bool CTransferTasksDlg::RunFirmwareTask(const std::function<int()>& download, const std::string& text,
                                        bool driverSelected, bool projectSelected) {
    SetIcon(1, IDB_STATUS_IDLE);
    Refresh();
    SetLine(1, kConnecting);
    SetLine(2, text);
    m_nLinesTask = 0;
    const int result = download();
    m_bNoFirmwareChosen = result == kNoFirmwareChosen;
    if (result == kTransferStopped) return false;  // nothing of it went; the stop's end says so
    if (result == kNoFirmwareChosen) {
        // Not a failure of the unit or the link: the person chose no file, and the download
        // ends before anything of this task went out.
        g_nDownloadResult = -1;
        const bool anySent = std::find(std::begin(m_sent), std::end(m_sent), true) != std::end(m_sent);
        AddLogLine(anySent ? "Firmware not sent: no firmware file was chosen."
                           : "Nothing was sent: no firmware file was chosen.");
        MarkLine(2, LineState::Failed, IDB_STATUS_FAILURE);
        return false;
    }
    if (result != 0) {
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

bool CTransferTasksDlg::RunDriverTask(int which, const std::function<int()>& download) {
    const std::string side = which == 1 ? Named("PLC1", "Master1") : Named("PLC2", "Master2");
    SetIcon(2, IDB_STATUS_IDLE);
    if (which == 2) SetIcon(3, IDB_STATUS_IDLE);
    LabelDriverLines(which);
    const int result = download();
    if (result == kTransferStopped) return false;  // nothing of it went; the stop's end says so
    if (result != 0) {
        g_nDownloadResult = -1;
        AddLogLine(side + " driver download failed.");
        MarkLine(3, LineState::Failed, IDB_STATUS_FAILURE);
        if (which == 1 && g_bTaskCom2Driver) SetIcon(3, IDB_STATUS_FAILURE);
        if (g_bTaskProject) SetIcon(4, IDB_STATUS_FAILURE);
        return false;
    }
    MarkLine(3, LineState::Succeeded, IDB_STATUS_SUCCESS);
    AddLogLine(side + " driver downloaded successfully.");
    if (g_bTaskProject && (which == 2 || !g_bTaskCom2Driver)) ShowIcons({4, 5});
    return true;
}

void CTransferTasksDlg::LabelDriverLines(int which) {
    const std::string side = which == 1 ? Named("PLC1", "Master1") : Named("PLC2", "Master2");
    SetLine(1, kConnecting);
    SetLine(2, "Downloading setup for " + side + " Driver.");
    SetLine(3, "Downloading " + side + " Driver.");
    m_nLinesTask = which;
}

void CTransferTasksDlg::LabelProjectLines() {
    SetLine(5, "Compiling Project.");
    SetLine(1, kConnecting);
    SetLine(2, "Checking existing drivers.");
    SetLine(3, "Downloading Project setup.");
    SetLine(4, "Downloading Project.");
    m_nLinesTask = 3;
}

void CTransferTasksDlg::LabelFirstTask() {
    if (g_bTaskFirmware) {
        SetLine(1, kConnecting);
        SetLine(2, m_firmwareLineText);
        m_nLinesTask = 0;
    } else if (g_bTaskCom1Driver || g_bTaskCom2Driver) {
        LabelDriverLines(g_bTaskCom1Driver ? 1 : 2);
    } else {
        LabelProjectLines();
    }
}

bool CTransferTasksDlg::BeginDownload(CSerialPort& port, const std::function<bool()>& accept,
                                      const std::function<void()>& end) {
    auto& list = Item<ui::ListView>(IDC_TASK_LIST);
    ClearLinkState();  // a mismatch of an earlier run silences no failure of this one
    EnableControls(false);
    if (!m_bExitDuringDownload) EnableDlgItem(ui::IDCANCEL, false);
    SetDlgItemText(IDC_TASKS_GROUP, "Downloading Tasks");
    m_lineState[1] = g_nConnectState = 0;
    g_bTaskFirmware = list.GetRowCheck(0);
    g_bTaskCom1Driver = list.GetRowCheck(1);
    g_bTaskCom2Driver = list.GetRowCheck(2);
    g_bTaskProject = list.GetRowCheck(3);
    list.SetFocus();
    for (int line = 1; line <= 4; ++line) SetIcon(line, IDB_STATUS_IDLE);
    g_nDownloadResult = 0;

    if (ShowMessage(kMsgDataOverwritten, "", ui::MB_OKCANCEL | ui::MB_ICONQUESTION) != ui::IDOK) {
        EnableControls(true);
        return false;
    }
    ClearLog();  // a run begins: the last run's messages go
    const bool any = g_bTaskFirmware || g_bTaskCom1Driver || g_bTaskCom2Driver || g_bTaskProject;
    if (!any) {
        HideAllIcons();
        ShowMessage(kMsgInvalidSelection, "", ui::MB_OK | ui::MB_ICONSTOP);
        end();
        return false;
    }
    if (accept && !accept()) return false;
    if (g_bTaskFirmware) ShowIcons({1, 2});
    else if (g_bTaskCom1Driver || g_bTaskCom2Driver) ShowIcons({1, 2, 3});
    else ShowIcons({1, 2, 3, 4, 5});

    if (port.Open(g_PlcRegisterTables.g_strPcComPort) != 0) {
        ShowMessage(kMsgOpenPortError, "", ui::MB_OK);
        EnableControls(true);
        ClearLineTexts();
        HideAllIcons();
        return false;
    }
    ClearLineTexts();
    // The first task's lines say what comes while the pauses before it run.
    LabelFirstTask();
    SetRunning(true);
    m_bStopAsked = false;
    std::fill(std::begin(m_sent), std::end(m_sent), false);
    return true;
}

void CTransferTasksDlg::SetRunning(bool running) {
    m_bRunning = running;
    // While it runs, Exit, Escape and the close box are heard in the middle of a file too.
    ui::SetInputDuringWaits(running);
}

bool CTransferTasksDlg::StopDuringTransfer() {
    if (!m_bRunning) return false;
    if (!m_bStopAsked) {
        m_bStopAsked = true;
        AddLogLine(m_bUploading ? "Stop asked: the project uploaded will not be taken over."
                                : "Stop asked: the download stops before its next task.");
    }
    return true;
}

std::string CTransferTasksDlg::TaskName(int task) const {
    const char* const plc[4] = {"Firmware", "PLC1 Driver", "PLC2 Driver", "Project"};
    const char* const master[4] = {"Firmware", "Master1 Driver", "Master2 Driver", "Project"};
    return Named(plc[task], master[task]);
}

std::vector<int> CTransferTasksDlg::ListTasksNotSent(int fromTask, const std::string& why) {
    const int ticked[4] = {g_bTaskFirmware, g_bTaskCom1Driver, g_bTaskCom2Driver, g_bTaskProject};
    std::vector<int> notSent;
    for (int i = fromTask; i < 4; ++i) {
        if (!ticked[i] || m_sent[i]) continue;
        notSent.push_back(i);
        AddLogLine(TaskName(i) + " not sent: " + why + ".");
    }
    return notSent;
}

void CTransferTasksDlg::ListTasksAfterFailure() {
    // A stop lists every task not sent itself; a firmware file not chosen has said that
    // nothing was sent.
    if (m_bStopAsked || m_bNoFirmwareChosen) return;
    const int ticked[4] = {g_bTaskFirmware, g_bTaskCom1Driver, g_bTaskCom2Driver, g_bTaskProject};
    int failed = 0;
    while (failed < 4 && (!ticked[failed] || m_sent[failed])) ++failed;
    ListTasksNotSent(failed + 1, "the download failed");
}

bool CTransferTasksDlg::EndIfStoppedShort(CSerialPort& port) {
    const int ticked[4] = {g_bTaskFirmware, g_bTaskCom1Driver, g_bTaskCom2Driver, g_bTaskProject};
    bool stoppedShort = false;
    for (int i = 0; i < 4; ++i) stoppedShort = stoppedShort || (ticked[i] && !m_sent[i]);
    if (!m_bStopAsked || !stoppedShort) return false;
    std::string sent, notSent;
    auto add = [](std::string& list, const std::string& name) { list += (list.empty() ? "" : ", ") + name; };
    for (int i = 0; i < 4; ++i)
        if (m_sent[i]) add(sent, TaskName(i));
    // The line of each task that says it went: firmware, the driver itself, the project.
    const int iconLine[4] = {2, 3, 3, 4};
    for (int i : ListTasksNotSent(0, "the download was stopped")) {
        add(notSent, TaskName(i));
        // Only on the task's own lines: those showing a task that went keep its success.
        if (m_nLinesTask == i) {
            SetIcon(iconLine[i], IDB_STATUS_FAILURE);
            ShowIcon(iconLine[i], true);
        }
    }
    g_nDownloadResult = -1;
    SetDlgItemText(IDC_SUMMARY, "Download stopped.");
    m_pWaitCursor.reset();
    port.Close();
    Refresh();
    ShowMessage("Download stopped.\nSent to the unit: " + (sent.empty() ? std::string("nothing") : sent) +
                    ".\nNot sent: " + notSent +
                    ".\nThe unit does not hold the whole download: download what was not sent before you "
                    "restart it.",
                "", ui::MB_OK | ui::MB_ICONEXCLAMATION);
    SetRunning(false);
    EnableControls(true);
    SetProgressPos(0);
    OnCancel();  // the person asked to leave
    return true;
}

void CTransferTasksDlg::OnDownload() {
    // A block size the transfers cannot use is refused before anything goes to the unit.
    auto blockSizeFits = [this] {
        const int limit = g_bTaskFirmware || g_bTaskCom1Driver || g_bTaskCom2Driver ? CUnitLink::kMaxFileBlockSize
                                                                                     : CUnitLink::kMaxProjectBlockSize;
        if (m_tasks.m_nBlockSize >= 1 && m_tasks.m_nBlockSize <= limit) return true;
        HideAllIcons();
        ShowMessage(InvalidBlockSizeMessage(m_tasks.m_nBlockSize, limit), "", ui::MB_OK | ui::MB_ICONSTOP);
        g_nDownloadResult = -1;
        EndDownload();
        return false;
    };
    if (!BeginDownload(g_TransferPort, blockSizeFits, [this] { EndDownload(); })) return;

    // The tasks in their order; the first that fails ends the download, and a stop the
    // person asked for ends it before the next task.
    bool failed = false;
    auto goOn = [&] { return !failed && !m_bStopAsked; };
    if (g_bTaskFirmware && goOn()) {
        failed = !RunFirmwareStep(g_bTaskCom1Driver || g_bTaskCom2Driver, g_bTaskProject);
        m_sent[0] = !failed;
    }
    if (goOn()) Pause(kTaskPauseMs);
    if (g_bTaskCom1Driver && goOn()) {
        failed = !RunDriverTask(1, [this] { return m_tasks.DownloadCom1Driver(); });
        m_sent[1] = !failed;
    }
    if (goOn()) Pause(kTaskPauseMs);
    if (g_bTaskCom2Driver && goOn()) {
        failed = !RunDriverTask(2, [this] { return m_tasks.DownloadCom2Driver(); });
        m_sent[2] = !failed;
    }
    if (goOn()) Pause(kTaskPauseMs);
    if (failed) ListTasksAfterFailure();

    if (g_bTaskProject && goOn()) {
        const ProjectEnd end = RunProjectTask();
        m_sent[3] = end == ProjectEnd::Sent;
        // The end clears the lines: the list keeps the failure in view.
        if (end == ProjectEnd::Failed) AddLogLine("Project download failed.");
        if (end == ProjectEnd::NoFirmware && (m_sent[1] || m_sent[2]))
            AddLogLine("Project not sent: no firmware file was chosen.");
        if (end == ProjectEnd::Stop) {
            // Declined or a block in error: the end step with the lines cleared.
            EnableControls(true);
            ClearLineTexts();
            HideAllIcons();
        }
    }
    if (EndIfStoppedShort(g_TransferPort)) return;
    EndDownload();
    if (m_bStopAsked) OnCancel();  // everything was sent before the stop came: the dialog closes
}

CTransferTasksDlg::ProjectEnd CTransferTasksDlg::RunProjectTask() {
    for (int line : {2, 3, 4}) SetIcon(line, IDB_STATUS_IDLE);
    LabelProjectLines();
    m_tasks.m_bProjectStep = 1;
    if (m_tasks.ConnectToUnit() != 0) {
        if (g_bLinkFailed != 1 && !m_tasks.FailureShown()) ShowMessage(kMsgCommError, "", ui::MB_OK);
        g_TransferPort.Close();
        g_nDownloadResult = -1;
        return ProjectEnd::Failed;
    }
    // The unit's firmware first. A unit that does not answer ends the task here.
    if (m_tasks.ReadUnitFirmware() != 0) {
        if (!m_tasks.FailureShown()) ShowMessage(kMsgCommError, "", ui::MB_OK);
        g_nDownloadResult = -1;
        return ProjectEnd::Failed;
    }
    // Nothing has changed in the unit yet: a stop asked during the version query ends the task
    // here, before the firmware the project may need first.
    if (m_bStopAsked) return ProjectEnd::Stopped;
    const int version = m_tasks.CompareUnitFirmware();
    bool firmwareFirst = false;
    if (version == 0) {
        ShowMessage(kMsgOldFirmware, "Old Firmware", ui::MB_OK | ui::MB_ICONQUESTION);
        firmwareFirst = true;
    } else if (version == 2) {
        if (ShowMessage(kMsgAdvancedFirmware, "Advanced Firmware ", ui::MB_YESNO | ui::MB_ICONQUESTION) == ui::IDYES) {
            firmwareFirst = true;
        } else {
            g_nDownloadResult = -1;
            return ProjectEnd::Stop;
        }
    }
    if (firmwareFirst) {
        if (!RunFirmwareStep(false, true)) {
            if (m_bStopAsked && g_nDownloadResult == 0) return ProjectEnd::Stopped;
            return m_bNoFirmwareChosen ? ProjectEnd::NoFirmware : ProjectEnd::Failed;
        }
        m_sent[0] = true;
        if (m_bStopAsked) return ProjectEnd::Stopped;
    }

    ShowIcons({1, 2, 3, 4, 5});
    LabelProjectLines();

    const BlockRows rows = m_getBlockRows ? m_getBlockRows() : BlockRows();
    if (g_nDeviceId != kThreePortProduct) {
        for (size_t i = 0; i < rows.size(); ++i) {
            if (CompileBlock(rows[i], static_cast<int>(i), g_bSlaveMode == 1) > 0) {
                MarkLine(5, LineState::Failed, IDB_STATUS_FAILURE);
                ShowMessage(platform::Format(kMsgBlockError.c_str(), static_cast<int>(i) + 1), "",
                            ui::MB_OK | ui::MB_ICONSTOP);
                g_nDownloadResult = -1;
                return ProjectEnd::Stop;
            }
        }
    }
    // What this download compiled is what it sends: the images stay in memory from here on.
    CompiledProject compiled;
    if (!WriteProjectImage(rows, compiled.image)) {
        MarkLine(5, LineState::Failed, IDB_STATUS_FAILURE);
        g_nDownloadResult = -1;
        return ProjectEnd::Failed;
    }
    std::array<std::string, 2> idb;
    bool idbCompiled = false;
    if (g_nDeviceId != kThreePortProduct && (g_bProjectModified == 1 || g_bCtrlWordConfirmed == 1)) {
        if (m_rebuildIdbImages) idbCompiled = m_rebuildIdbImages(idb);
        if (g_bAttachRegCom1 == 1) {
            g_bDefCommRegFill = 0;
            PadWords(g_DefCommRegs.g_arrAttachRegWords1);
        }
        if (g_bAttachRegCom2 == 1) {
            g_bDefCommRegFill = 0;
            PadWords(g_DefCommRegs.g_arrAttachRegWords2);
        }
    }
    if (idbCompiled) {
        compiled.idb[0] = idb[0];
        compiled.idb[1] = idb[1];
    } else if (!m_tasks.ReadIdbImages(compiled)) {  // the images the project keeps
        MarkLine(5, LineState::Failed, IDB_STATUS_FAILURE);
        g_nDownloadResult = -1;
        return ProjectEnd::Failed;
    }
    MarkLine(5, LineState::Succeeded, IDB_STATUS_SUCCESS);

    const int result = m_tasks.DownloadProject(compiled);
    if (result == kTransferStopped) return ProjectEnd::Stopped;
    if (result != 0) {
        g_nDownloadResult = -1;
        MarkLine(4, LineState::Failed, IDB_STATUS_FAILURE);
        m_tasks.m_bProjectStep = 0;
        return ProjectEnd::Failed;
    }
    if (g_nDownloadResult == -1) return ProjectEnd::Stop;  // the driver question was declined
    MarkLine(4, LineState::Succeeded, IDB_STATUS_SUCCESS);
    SetDlgItemText(IDC_SUMMARY, "Download Completed Successfully....");
    return ProjectEnd::Sent;
}

bool CTransferTasksDlg::WriteProjectImage(const BlockRows& rows, std::string& image) {
    if (!::WriteNewerProjectImage(rows, &image)) {
        ShowMessage("Unable to create intermediate file.", "", ui::MB_OK);
        return false;
    }
    return true;
}

void CTransferTasksDlg::EndDownload() { EndDownloadOn(g_TransferPort, [this] { m_tasks.RestartUnit(); }); }

void CTransferTasksDlg::EndDownloadOn(CSerialPort& port, const std::function<void()>& restartUnit) {
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
    if (restart && port.IsOpen()) restartUnit();
    port.Close();
    SetRunning(false);
}

// ---------------------------------------------------------------------------------------
// Upload

void CTransferTasksDlg::OnUploadProject() {
    const bool taken = RunUploadOn(
        g_TransferPort, [this] { return m_tasks.UploadProject(); },
        [this] {
            const UploadedProject& project = *m_tasks.Uploaded();
            if (m_onUploaded) m_onUploaded(project);
            if (!project.title.empty() && m_setMainTitle) m_setMainTitle(project.title);
        },
        [this] { m_tasks.RestartUnit(); });
    m_tasks.m_bAltHandshakeFirmware = 0;
    m_tasks.m_bAltHandshakeProduct = 0;
    if (taken) EndDialog(ui::IDOK);
    else if (m_bStopAsked) OnCancel();  // the person asked to leave
}

bool CTransferTasksDlg::RunUploadOn(CSerialPort& port, const std::function<int()>& upload,
                                    const std::function<void()>& takeOver, const std::function<void()>& restartUnit) {
    HideAllIcons();
    ClearLineTexts();
    ClearLog();  // a run begins: the last run's messages go
    ClearLinkState();
    for (int line = 1; line <= 4; ++line) SetIcon(line, IDB_STATUS_IDLE);
    EnableControls(false);
    EnableDlgItem(ui::IDCANCEL, false);
    // Escape and the close box still reach the dialog: they stop the upload, which then
    // takes nothing over.
    m_bUploading = true;
    SetRunning(true);
    m_bStopAsked = false;
    SetDlgItemText(IDC_TASKS_GROUP, "Uploading Tasks");
    ShowIcons({1, 2, 3, 4});
    SetLine(1, kConnecting);
    SetLine(2, "Checking existing drivers.");
    SetLine(3, "Uploading Project setup.");
    SetLine(4, "Uploading Project.");
    BeginWaitCursor();

    bool taken = false;
    if (port.Open(g_PlcRegisterTables.g_strPcComPort) != 0) {
        g_nUploadResult = -1;
        ShowMessage(kMsgOpenPortError, "", ui::MB_OK);
        RestoreControls();
        ClearLineTexts();
        HideAllIcons();
        port.Close();
    } else {
        int result = upload();
        if (result == 0 && m_bStopAsked) result = kTransferStopped;
        if (result == 0) {
            g_nUploadResult = 0;
            taken = true;
            takeOver();
            // The project taken over is edited, untitled and saved in the current format.
            g_ProjectSettings.g_nProjFileVersion = 2;
            g_bProjectModified = 1;
            g_bProjectSaved = 0;
            g_bUntitled = 1;
        } else {
            g_nUploadResult = -1;
        }
        port.Close();
        m_pWaitCursor.reset();
        if (g_nUploadResult == -1) {
            AddLogLine(result == kTransferStopped ? "Upload stopped: the project was not taken over."
                                                  : "Upload Project failed.");
            MarkLine(4, LineState::Failed, IDB_STATUS_FAILURE);
            RestoreControls();
            if (result == kTransferStopped)
                ShowMessage("Upload stopped. The project from the unit was not taken over; the open project is "
                            "as it was.",
                            "", ui::MB_OK | ui::MB_ICONEXCLAMATION);
        } else {
            SetDlgItemText(IDC_SUMMARY, " ");
            MarkLine(4, LineState::Succeeded, IDB_STATUS_SUCCESS);
            AddLogLine("Project uploaded successfully.");
            RestoreControls();
            port.GetClock().Sleep(1000);
            const bool restart =
                ShowMessage(kMsgRestartAfterUpload, "", ui::MB_YESNO | ui::MB_ICONQUESTION) == ui::IDYES;
            if (g_nDeviceId == kThreePortProduct) {
                // The sheet shows the project taken from the unit; closing it closes the project.
                if (m_runCommunicationSheet) m_runCommunicationSheet();
                ResetOpenProject();
                g_bNoBlockView = 1;
            }
            if (restart && port.Open(g_PlcRegisterTables.g_strPcComPort) == 0) restartUnit();
            port.Close();
        }
    }
    m_pWaitCursor.reset();
    m_bUploading = false;
    SetRunning(false);
    // The project taken over is dated now; a failed upload leaves the open project's dates.
    if (taken) g_ProjectSettings.g_strProjCreated = g_ProjectSettings.g_strProjModified = Now();
    g_bProductSelected2 = 1;
    return taken;
}
