#include "app/MainFrame.h"

#include <limits>
#include "app/DownloadDlg.h"
#include "app/ProjectInfoDlg.h"

#include "app/InputViews.h"
#include "app/VersionMismatchDlg.h"
#include "compiler/UploadDecode.h"
#include "projectfiles/ProjectFileReader.h"
#include "projectfiles/ProjectFileWriter.h"
#include "projectfiles/ProjectSaves.h"
#include "model/ProjectSettings.h"
#include "app/QuorvexApp.h"
#include "app/QuorvexView.h"
#include "app/RecentProjects.h"
#include "model/RunTimeState.h"
#include "app/ShellHelp.h"
#include "app/SplashDlg.h"
#include "app/OlderScreens.h"
#include "app/ToolScreens.h"
#include "app/TransferTasksDlg.h"
#include "model/ExtendedTables.h"
#include "editor/BlockExView.h"
#include "editor/NewBlockExView.h"
#include "plc/DefinitionFiles.h"
#include "plc/OpenProjectReset.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "res/AcceleratorTables.h"
#include "res/FrameResource.h"
#include "res/StringTable.h"
#include "res/ToolbarImages.h"
#include "settings/ControlWordSetting.h"
#include "tables/DBViewClass1.h"
#include "tables/DBViewClass2.h"
#include "app/PortSettingsWiring.h"
#include "projectfiles/ProjectIdb.h"
#include "app/TableScreens.h"
#include "model/TableResets.h"
#include "ui/Backend.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace {

CMainFrame* g_pMainFrame = nullptr;

const char kProjectFilter[] = "Project Files (*.prj)|*.prj||";
const char kSaveFilter[] = "Project Files (*.prj)|*.prj|Data Files (*.dat;*.txt)|*.dat; *.txt|All Files (*.*)|*.*||";
const int kRecentIds[kMaxRecentProjects] = {ID_RECENT_PROJECT1, ID_RECENT_PROJECT2, ID_RECENT_PROJECT3,
                                            ID_RECENT_PROJECT4};

std::shared_ptr<ui::Menu> Popup(std::initializer_list<std::pair<int, const char*>> items) {
    auto menu = std::make_shared<ui::Menu>();
    for (const auto& [id, text] : items) {
        if (id == 0)
            menu->AppendMenu(ui::MF_SEPARATOR);
        else
            menu->AppendMenu(ui::MF_STRING, id, text);
    }
    return menu;
}

// Menu 128: the product and protocol levels.
std::shared_ptr<ui::Menu> BuildStartMenu() {
    auto bar = std::make_shared<ui::Menu>();
    bar->AppendPopup("&File", Popup({{ID_OPEN_PROJECT, "&Open Project"}, {0, ""}, {0, ""}, {ID_APP_EXIT, "E&xit"}}));
    bar->AppendPopup("&Tools", Popup({{ID_COM_PORT_SETTING, "IBM &Com Port Setting...\tCtrl+P"},
                                      {ID_UPLOAD_PROJECT, "&Upload Project\tCtrl+U"},
                                      {ID_UPLOAD_SYSTEM_DATA, "Upload &System Data\tCtrl+M"},
                                      {ID_ETHERNET_DOWNLOAD, "&Ethernet Download\tCtrl+H"}}));
    bar->AppendPopup("&Help", Popup({{ID_HELP, "&Help Topics"}, {0, ""}, {ID_APP_ABOUT, "&About Quorvex..."}}));
    return bar;
}

// Menu 111: the project level.
std::shared_ptr<ui::Menu> BuildProjectMenu() {
    auto bar = std::make_shared<ui::Menu>();
    bar->AppendPopup("&File", Popup({{ID_FILE_NEW_PROJECT, "&New Project\tCtrl+N"},
                                     {ID_FILE_SAVE_PROJECT, "&Save                  Ctrl+S"},
                                     {ID_FILE_SAVE_PROJECT_AS, "Save &As..."},
                                     {ID_FILE_CLOSE_PROJECT, "&Close                 Ctrl+C"},
                                     {0, ""},
                                     {ID_PROJECT_INFORMATION, "Project &Information"},
                                     {0, ""},
                                     {ID_APP_EXIT, "E&xit"}}));
    bar->AppendPopup("&Edit", Popup({{ID_ADD_NEW_BLOCK, "Add New &Block"},
                                     {ID_INSERT_BLOCK, "&Insert Block"},
                                     {ID_REMOVE_BLOCK, "&Remove Block"},
                                     {0, ""},
                                     {ID_COPY_BLOCK, "&Copy Block"},
                                     {ID_PASTE_BLOCK, "&Paste Block"}}));
    bar->AppendPopup("&Settings", Popup({{ID_PLC1_SETTING, "PLC&1 Setting...\tCtrl+1"},
                                         {ID_PLC2_SETTING, "PLC&2 Setting...\tCtrl+2"},
                                         {ID_PLC_ADVANCE_SETTING, "PLC &Advance Setting..."},
                                         {0, ""},
                                         {ID_CONTROL_WORD_SETTING, "Control &Word Setting...\tCtrl+W"},
                                         {ID_ERROR_BIT_SETTING, "&Error Indication Bit Setting...\tCtrl+E"},
                                         {0, ""},
                                         {ID_RECIPES, "&Recipes..."},
                                         {ID_ATTACH_REGISTERS, "&Default Communication Registers..."},
                                         {ID_ETHERNET_NODE_TABLE, "Ethernet &Node Table..."},
                                         {ID_TAG_TABLE, "Ethernet IP &Tag Table..."}}));
    bar->AppendPopup("&Transfer", Popup({{ID_DOWNLOAD, "&Download\tCtrl+D"},
                                         {ID_UPLOAD_PROJECT, "&Upload Project\tCtrl+U"},
                                         {ID_COM_PORT_SETTING, "IBM &Com Port Setting...\tCtrl+P"},
                                         {0, ""},
                                         {ID_ETHERNET_DOWNLOAD, "&Ethernet Download\tCtrl+H"},
                                         {ID_UPLOAD_IP_SETTINGS, "Upload &IP Settings..."},
                                         {ID_MAC_ADDRESS, "&MAC Address Settings..."},
                                         {ID_HTML_DOWNLOAD, "&HTML Download..."},
                                         {ID_RUN_KORVO, "Start &Korvo"}}));
    bar->AppendPopup("&Help", Popup({{ID_HELP, "&Help Topics"}, {0, ""}, {ID_APP_ABOUT, "&About Quorvex..."}}));
    return bar;
}

// Damage found in the definition files while a level was built, each said once.
void ShowFileProblems() {
    for (const std::string& problem : platform::TakeFileProblems())
        ui::MessageBox(problem, "Quorvex", ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

// A project names its product by the folder it lies in: that product becomes current,
// with its DeviceID, as a pick in the product tree makes it.
void UseProductOfProject(const std::string& product) {
    g_szProductName = g_szProductPath = g_szProductNameCopy = product;
    if (const int entry = deffiles::FindProductEntry(product))
        g_nDeviceId = g_nDeviceIdAlt = static_cast<unsigned>(platform::Atoi(deffiles::ReadProductValue("DeviceID", entry)));
}

bool FileOpens(const std::string& path) {
    return !path.empty() && platform::FileExists(path);
}

}  // namespace

// ---------------------------------------------------------------------------------------

CMainFrame::CMainFrame() {
    g_pMainFrame = this;
    // The window repaints while the link waits or pauses during a transfer.
    platform::SetWaitTick([] { ui::GetBackend().ProcessPendingEvents(); });
    g_bProjectOpen = 0;
    g_bNoBlockView = 1;
    g_bCanUploadMac = g_bCanEthernetDownload = g_bCanRunKorvo = g_bCanHtmlDownload = 0;
    SetBlockEditorHost(this);
    ui::SetFrameHost(this);
    m_services.loadNewerProject = [this](const std::string& path) { LoadProjectFile(path); };
    m_services.loadIdbImages = [] { LoadIdbImages(); };
    m_services.controlWordDialog = [](bool newer, int mode) { RunControlWordDialog(newer, mode); };
    // The block list's context menu shows where the window system can show one.
    if (!g_NewBlockExServices.trackPopupMenu)
        g_NewBlockExServices.trackPopupMenu = [](const ui::Menu& menu, int, int) {
            return ui::GetBackend().TrackPopupMenu(menu);
        };
    // Upload Project of the newer products: the transfer dialog in its upload layout; a
    // project taken from the unit becomes the open, untitled project.
    m_services.uploadProject = [this](bool newer) {
        if (!newer) return;
        CTransferTasksDlg dialog;
        dialog.m_bUploadMode = 1;
        dialog.m_nOpenMode = 2;
        dialog.m_restoreMenu = [this] { RestoreMenuAfterTransfer(); };
        dialog.m_onUploaded = [](const UploadedProject&) {
            LoadNewerPlcPairLayout();  // the unit's PLC pair decides the layout and the commands
            if (g_pNewBlockExView) g_pNewBlockExView->ShowProjectRows();
            LoadIdbImages();
        };
        dialog.m_setMainTitle = [this](const std::string& title) { SetWindowText(title); };
        RunProjectUpload([&dialog] { return dialog.DoModal(); });
        g_nTransferMode = 0;
    };
    // The block editors' Project Information and Download.
    g_NewBlockExServices.projectInformation = [](ui::Window* parent) {
        CProjectInfoDlg dialog(parent);
        dialog.DoModal();
    };
    g_NewBlockExServices.download = [](std::function<BlockRows()> rows,
                                       std::function<bool(std::array<std::string, 2>&)> rebuildIdbImages) {
        CTransferTasksDlg dialog;
        dialog.m_bUploadMode = 0;
        dialog.m_nOpenMode = 1;
        dialog.m_getBlockRows = std::move(rows);
        dialog.m_rebuildIdbImages = std::move(rebuildIdbImages);
        dialog.m_setMainTitle = [](const std::string& title) { ui::SetMainTitle(title); };
        if (g_NewBlockExServices.runTransferDialog)
            g_NewBlockExServices.runTransferDialog(dialog);
        else
            dialog.DoModal();
    };
    g_BlockExServices.download = [](std::function<int()> findFailingBlock,
                                    std::function<int(std::string&)> compileProject) {
        CDownloadDlg dialog;
        dialog.m_bUpload = 0;
        dialog.m_findFailingBlock = std::move(findFailingBlock);
        dialog.m_compileProject = std::move(compileProject);
        if (g_BlockExServices.runDownloadDialog)
            g_BlockExServices.runDownloadDialog(dialog);
        else
            dialog.DoModal();
    };
    // Closing from the frame saves as the editor's own Close does: the file, its sections
    // and the internal-database companions.
    m_services.saveProject = [](bool newer, const std::string& path) {
        if (!newer || !g_pNewBlockExView) return false;
        return SaveNewerProjectOnFrameClose(path);  // a save that fails changes nothing
    };
    // The screens built beside the frame take their entry points; the older generation's
    // reader and close-save wrap what stands there for the newer one, so they come last.
    WireToolScreens(m_services, g_NewBlockExServices);
    WireTableScreens(m_services, g_NewBlockExServices);
    WirePortSettingsScreens(m_services, g_NewBlockExServices);
    WireOlderScreens(m_services, g_NewBlockExServices);
}

CMainFrame::~CMainFrame() {
    if (GetBlockEditorHost() == this) SetBlockEditorHost(nullptr);
    if (ui::GetFrameHost() == this) ui::SetFrameHost(nullptr);
    if (g_pMainFrame == this) {
        g_pMainFrame = nullptr;
        platform::SetWaitTick(nullptr);
    }
}

CMainFrame* CMainFrame::Get() { return g_pMainFrame; }

const ui::HandlerTable* CMainFrame::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::Frame::GetHandlerTable(), {
        ui::On(ui::Notify::Command, ID_COM_PORT_SETTING, &CMainFrame::OnComPortSetting),
        ui::On(ui::Notify::Command, ID_CONFIGURE_PROJECT, &CMainFrame::OnConfigureProject),
        ui::On(ui::Notify::Command, ID_UPLOAD_PROJECT, &CMainFrame::OnUploadProject),
        ui::On(ui::Notify::Command, ID_CONTROL_WORD_SETTING, &CMainFrame::OnControlWordSetting),
        ui::On(ui::Notify::Command, ID_OPEN_PROJECT, &CMainFrame::OnOpenProject),
        ui::On(ui::Notify::Command, ID_ERROR_BIT_SETTING, &CMainFrame::OnErrorBitSetting),
        ui::On(ui::Notify::Command, ID_UPLOAD_SYSTEM_DATA, &CMainFrame::OnUploadSystemData),
        ui::On(ui::Notify::Command, ID_PLC_ADVANCE_SETTING, &CMainFrame::OnPlcSetting),
        ui::On(ui::Notify::Command, ID_RECENT_PROJECT1, &CMainFrame::OnRecentProject1),
        ui::On(ui::Notify::Command, ID_RECENT_PROJECT2, &CMainFrame::OnRecentProject2),
        ui::On(ui::Notify::Command, ID_RECENT_PROJECT3, &CMainFrame::OnRecentProject3),
        ui::On(ui::Notify::Command, ID_RECENT_PROJECT4, &CMainFrame::OnRecentProject4),
        ui::On(ui::Notify::Command, ID_GUARDED_FEATURE, &CMainFrame::OnGuardedFeature),
        ui::On(ui::Notify::Command, ID_BACK, &CMainFrame::OnBack),
        ui::On(ui::Notify::Command, ID_HELP, &CMainFrame::OnHelp),
        ui::On(ui::Notify::Command, ID_HELP_INDEX, &CMainFrame::OnHelpIndex),
        ui::On(ui::Notify::Command, ID_TAG_TABLE, &CMainFrame::OnTagTable),
        ui::On(ui::Notify::Command, ID_ETHERNET_DOWNLOAD, &CMainFrame::OnEthernetDownload),
        ui::On(ui::Notify::Command, ID_UPLOAD_IP_SETTINGS, &CMainFrame::OnUploadIpSettings),
        ui::On(ui::Notify::Command, ID_APP_EXIT, &CMainFrame::OnClose),
        // Commands whose screens are built elsewhere are enabled once they are there.
        ui::On(ui::Notify::UpdateUI, ID_COM_PORT_SETTING, &CMainFrame::OnUpdateNeedsService),
        ui::On(ui::Notify::UpdateUI, ID_UPLOAD_PROJECT, &CMainFrame::OnUpdateNeedsService),
        ui::On(ui::Notify::UpdateUI, ID_CONTROL_WORD_SETTING, &CMainFrame::OnUpdateNeedsService),
        ui::On(ui::Notify::UpdateUI, ID_ERROR_BIT_SETTING, &CMainFrame::OnUpdateNeedsService),
        ui::On(ui::Notify::UpdateUI, ID_UPLOAD_SYSTEM_DATA, &CMainFrame::OnUpdateNeedsService),
        ui::On(ui::Notify::UpdateUI, ID_PLC_ADVANCE_SETTING, &CMainFrame::OnUpdateNeedsService),
        ui::On(ui::Notify::UpdateUI, ID_OPEN_PROJECT, &CMainFrame::OnUpdateNeedsService),
        ui::On(ui::Notify::UpdateUI, ID_RECENT_PROJECT1, &CMainFrame::OnUpdateNeedsService),
        ui::On(ui::Notify::UpdateUI, ID_RECENT_PROJECT2, &CMainFrame::OnUpdateNeedsService),
        ui::On(ui::Notify::UpdateUI, ID_RECENT_PROJECT3, &CMainFrame::OnUpdateNeedsService),
        ui::On(ui::Notify::UpdateUI, ID_RECENT_PROJECT4, &CMainFrame::OnUpdateNeedsService),
        ui::On(ui::Notify::UpdateUI, ID_TAG_TABLE, &CMainFrame::OnUpdateNeedsService),
        ui::On(ui::Notify::UpdateUI, ID_ETHERNET_DOWNLOAD, &CMainFrame::OnUpdateNeedsService),
        ui::On(ui::Notify::UpdateUI, ID_UPLOAD_IP_SETTINGS, &CMainFrame::OnUpdateNeedsService),
        ui::On(ui::Notify::UpdateUI, ID_RECENT_PLACEHOLDER, &CMainFrame::OnUpdateNeedsService),
    });
    return &table;
}

void CMainFrame::OnUpdateNeedsService(ui::CmdUI& cmd) {
    const FrameServices& s = m_services;
    bool on = true;
    switch (cmd.GetID()) {
    case ID_COM_PORT_SETTING: on = bool(s.comPortSetting); break;
    case ID_UPLOAD_PROJECT: on = bool(s.uploadProject); break;
    case ID_CONTROL_WORD_SETTING:
    case ID_ERROR_BIT_SETTING: on = bool(s.controlWordDialog) && g_bNoBlockView == 0; break;
    case ID_UPLOAD_SYSTEM_DATA: on = bool(s.uploadSystemData); break;
    case ID_PLC_ADVANCE_SETTING: on = bool(s.plcAdvanceSetting) && g_bNoBlockView == 0; break;
    case ID_OPEN_PROJECT:
    case ID_RECENT_PROJECT1:
    case ID_RECENT_PROJECT2:
    case ID_RECENT_PROJECT3:
    case ID_RECENT_PROJECT4: on = bool(s.loadNewerProject) || bool(s.loadOlderProject); break;
    case ID_TAG_TABLE: on = bool(s.tagTableDialog) && g_bTagTable == 1; break;
    case ID_ETHERNET_DOWNLOAD: on = bool(s.ethernetDownload); break;  // the newer block view gates it
    case ID_UPLOAD_IP_SETTINGS: on = bool(s.ipSettingsUpload) && g_bCanUploadMac == 1; break;
    case ID_RECENT_PLACEHOLDER: on = false; break;  // "Resent File..." only stands in for the list
    default: break;
    }
    cmd.Enable(on);
}

int CMainFrame::FrameWidth() const {
    int w = GetClientRect().Width();
    return w > 0 ? w : 1024;
}

int CMainFrame::FrameHeight() const {
    int h = GetClientRect().Height();
    return h > 0 ? h : 700;
}

CInputView* CMainFrame::Com1View() const {
    return dynamic_cast<CInputView*>(const_cast<CMainFrame*>(this)->GetSplitter().GetPane(0, 0));
}

CInputView1* CMainFrame::Com2View() const {
    return dynamic_cast<CInputView1*>(const_cast<CMainFrame*>(this)->GetSplitter().GetPane(0, 1));
}

void CMainFrame::SetFrameMenu(const std::shared_ptr<ui::Menu>& menu) { SetMenu(menu); }

int CMainFrame::TestGeneration() {
    m_bNewProduct = deffiles::IsNewGeneration(g_szProductName) ? 1 : 0;
    return m_bNewProduct;
}

// ---------------------------------------------------------------------------------------
// Creation

bool CMainFrame::LoadFrame() {
    SetWindowText("Quorvex");
    SetShowMaximized(true);
    if (OnCreate() == -1) return false;
    if (!OnCreateClient()) return false;
    Create();
    SetTimer(kMainTimer, 100);
    return true;
}

int CMainFrame::OnCreate() {
    m_menuStart = BuildStartMenu();
    SetFrameMenu(m_menuStart);
    m_menuProject = BuildProjectMenu();
    LoadAccelTable(res::AcceleratorTable(IDR_MAINFRAME));

    GetStatusBar().SetIndicators(1);

    m_wndToolBar = &AddToolBar(AFX_IDW_TOOLBAR);
    m_wndToolBar->SetBitmaps(res::ToolbarBitmap(res::IDB_TOOLBAR), res::ToolbarBitmap(res::IDB_TOOLBAR_HOT),
                             res::kToolbarCell, res::kToolbarMask & 0xFFFFFF);

    // The project toolbar: command buttons at even slots, separators between them.
    m_wndProjectToolBar = &AddToolBar(AFX_IDW_PROJECT_TOOLBAR);
    ui::ToolBar& p = *m_wndProjectToolBar;
    p.SetBitmaps(res::ToolbarBitmap(res::IDB_TOOLBAR), res::ToolbarBitmap(res::IDB_TOOLBAR_HOT), res::kToolbarCell,
                 res::kToolbarMask & 0xFFFFFF);
    p.SetSizes(64, 41, 30, 20);
    p.SetButtons(24);
    const std::tuple<int, int, const char*> buttons[] = {
        {ID_FILE_SAVE_PROJECT, 2, "Save"},
        {ID_FILE_CLOSE_PROJECT, 3, "Close"},
        {ID_ERROR_BIT_SETTING, 11, "Error Indication Bit Setting"},
        {ID_CONTROL_WORD_SETTING, 12, "Control Word Setting"},
        {ID_PLC1_SETTING, 10, "PLC1 Setting"},
        {ID_PLC2_SETTING, 10, "PLC2 Setting"},
        {ID_ADD_NEW_BLOCK, 5, "Add New Block"},
        {ID_INSERT_BLOCK, 6, "Insert Block"},
        {ID_REMOVE_BLOCK, 7, "Remove Block"},
        {ID_COM_PORT_SETTING, 10, "IBM Com Port Setting"},
        {ID_DOWNLOAD, 8, "Download"},
        {ID_UPLOAD_PROJECT, 9, "Upload"},
    };
    int slot = 0;
    for (const auto& [id, image, text] : buttons) {
        p.SetButtonInfo(slot, id, ui::TBBS_BUTTON, image);
        p.SetButtonText(slot, text);
        p.SetButtonInfo(slot + 1, 0, ui::TBBS_SEPARATOR, 2);
        slot += 2;
    }
    p.ShowWindow(false);

    LoadComPortSetting();
    return 0;
}

bool CMainFrame::OnCreateClient() {
    ui::Splitter& s = GetSplitter();
    if (!s.CreateStatic(3, 2)) return false;
    s.CreateView(0, 0, std::make_unique<CQuorvexView>());
    s.CreateView(0, 1, std::make_unique<CQuorvexView>());
    s.CreateView(1, 0, std::make_unique<CQuorvexView>(), FrameWidth(), FrameHeight());
    s.CreateView(1, 1, std::make_unique<DBViewClass1>());
    s.CreateView(2, 0, std::make_unique<CQuorvexView>());
    s.CreateView(2, 1, std::make_unique<DBViewClass2>());
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 2; ++c)
            if (r != 0) s.GetPane(r, c)->OnInitialUpdate();
    // Until the product level stands, the first pane (an empty view) takes the whole client
    // area, whatever size the window gets: nothing of a later screen (the internal-database
    // panes) shows behind the splash.
    const int whole = std::numeric_limits<int>::max() / 2;
    s.SetColumnInfo(0, whole, 0);
    s.SetRowInfo(0, whole, 0);
    s.RecalcLayout();
    SetActiveView(s.GetPane(0, 1));
    return true;
}

void CMainFrame::OnTimer(int id) {
    if (id != kMainTimer) return;
    KillTimer(kMainTimer);
    CSplashDlg splash(this);
    splash.DoModal();
    GoToProductLevel();
    OpenLastProject();
}

// ---------------------------------------------------------------------------------------
// Levels

void CMainFrame::SetLevelButtons(const std::vector<std::tuple<int, int, std::string>>& buttons) {
    ui::ToolBar& t = *m_wndToolBar;
    if (!m_levelToolBarBuilt || g_bProductSelected == 0 || g_bProductSelected2 == 0) {
        t.SetButtons(7);
        m_levelToolBarBuilt = true;
    }
    int slot = 0;
    for (const auto& [id, image, text] : buttons) {
        if (id == 0) {
            t.SetButtonInfo(slot, 0, ui::TBBS_SEPARATOR, image);
        } else {
            t.SetButtonInfo(slot, id, ui::TBBS_BUTTON, image);
            t.SetButtonText(slot, text);
        }
        ++slot;
    }
    t.Invalidate();
}

void CMainFrame::GoToProductLevel() {
    g_bIdbLevelFlag = 0;
    SetWindowText("Quorvex - " + g_szProductNameCopy);
    g_nDownloadDlgMode = g_nTransferMode = 0;
    g_nStartScreen = g_nMainScreen = 1;
    g_szHelpTopic = "products.htm";

    if (ui::Menu* file = GetMenu() ? GetMenu()->GetSubMenu(0) : nullptr) {
        file->RemoveMenu(0, ui::MF_BYPOSITION);
        file->InsertMenu(0, ui::MF_BYPOSITION | ui::MF_STRING, ID_OPEN_PROJECT, "&Open Project");
        DrawMenuBar();
    }
    SetLevelButtons({{ID_OPEN_PROJECT, 1, "Open Project"},
                     {0, 9, ""},
                     {ID_UPLOAD_SYSTEM_DATA, 9, "Upload System Data"},
                     {0, 9, ""},
                     {ID_COM_PORT_SETTING, 10, "IBM Com Port Setting"},
                     {0, 9, ""},
                     {ID_APP_EXIT, 16, "Exit"},
                     {0, 1, ""},
                     {0, 1, ""}});

    ui::Splitter& s = GetSplitter();
    ui::View* products = s.CreateView(0, 0, std::make_unique<CInputView2>(), FrameWidth(), FrameHeight());
    SetActiveView(products);
    RecalcLayout();
    products->OnInitialUpdate();
    s.CreateView(0, 1, std::make_unique<CInputView2>(), FrameWidth(), FrameHeight());
    s.SetColumnInfo(0, FrameWidth(), 10);
    s.SetRowInfo(0, FrameHeight(), 10);
    s.RecalcLayout();
    SetActiveView(products);
    m_wndToolBar->SetSizes(67, 41, 30, 20);
    m_wndToolBar->Invalidate();
    RecalcLayout();

    // The title names the product that stays chosen (after Back, the one just left, which
    // Open Project holds a project to); only before any is chosen does it name the first.
    SetWindowText(!g_szProductNameCopy.empty()
                      ? g_szProductNameCopy
                      : deffiles::ReadText(deffiles::ProductsInf(), "ProductList", "Product1", "NA"));
    ShowFileProblems();
}

void CMainFrame::GoToProtocolLevel() {
    g_bIdbLevelFlag = 1;
    SetWindowText("Quorvex - " + g_szProductNameCopy);
    g_nDownloadDlgMode = g_nTransferMode = 0;
    g_nStartScreen = g_nMainScreen = 2;
    g_szHelpTopic = "protocols.htm";
    ui::WaitCursor wait;

    SetLevelButtons({{ID_CONFIGURE_PROJECT, 4, "Configure Project"},
                     {0, 9, ""},
                     {ID_OPEN_PROJECT, 1, "Open Project"},
                     {0, 9, ""},
                     {ID_UPLOAD_PROJECT, 9, "Upload Project"},
                     {0, 9, ""},
                     {ID_UPLOAD_SYSTEM_DATA, 9, "Upload System Data"},
                     {0, 9, ""},
                     {ID_BACK, 15, "Back"}});

    ui::Splitter& s = GetSplitter();
    ui::View* com1 = s.CreateView(0, 0, std::make_unique<CInputView>(), 430, 450);
    SetActiveView(com1);
    RecalcLayout();
    com1->OnInitialUpdate();
    ui::View* com2 = s.CreateView(0, 1, std::make_unique<CInputView1>(), 430, 450);
    if (g_nDeviceId == 84 || g_nDeviceIdAlt == 84) {
        s.SetColumnInfo(0, FrameWidth(), 10);
        s.RecalcLayout();
    } else {
        SetActiveView(com2);
        com2->OnInitialUpdate();
        s.SetColumnInfo(0, FrameWidth() / 2, 10);
        s.SetColumnInfo(1, FrameWidth() / 2, 10);
        s.SetRowInfo(0, FrameHeight() + 100, 10);
        s.SetRowInfo(1, FrameHeight() + 100, 10);
        s.RecalcLayout();
    }
    if (ui::Menu* file = GetMenu() ? GetMenu()->GetSubMenu(0) : nullptr) {
        file->RemoveMenu(0, ui::MF_BYPOSITION);
        file->InsertMenu(0, ui::MF_BYPOSITION | ui::MF_STRING, ID_CONFIGURE_PROJECT, "&Configure Project");
        DrawMenuBar();
    }
    SetActiveView(com1);
    RecalcLayout();
    g_bProductSelected = g_bProductSelected2 = 1;
    ShowFileProblems();
}

int CMainFrame::CheckDriverPair() {
    TestGeneration();
    ui::WaitCursor wait;
    CPlcRegisterTables& t = g_PlcRegisterTables;
    CInputView* com1 = Com1View();
    std::string protocol1, model1;
    const std::string file1 = com1 ? com1->GetSelectedPlcCom1() : std::string();
    if (com1) com1->GetSelectedProtocol(protocol1, model1);

    if (g_nDeviceId == 84 || g_nDeviceIdAlt == 84) {
        if (!FileOpens(file1)) {
            ui::MessageBox(LoadString(IDS_PLC_FILE_ERROR), "Quorvex", ui::MB_OK | ui::MB_ICONEXCLAMATION);
            return -1;
        }
        t.g_strPlc1Inf = file1;
        t.g_strPlc1Section = model1;
        return 0;
    }

    if (!FileOpens(file1)) {
        ui::MessageBox(LoadString(IDS_SELECT_BOTH_PLCS), "Quorvex", ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return -1;
    }
    t.g_strPlc1Inf = file1;
    t.g_strPlc1Section = model1;
    CInputView1* com2 = Com2View();
    std::string protocol2, model2;
    const std::string file2 = com2 ? com2->GetSelectedPlcCom2() : std::string();
    if (com2) com2->GetSelectedProtocol(protocol2, model2);
    if (!FileOpens(file2)) {
        ui::MessageBox(LoadString(IDS_SELECT_BOTH_PLCS), "Quorvex", ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return -1;
    }
    t.g_strPlc2Inf = file2;

    if (platform::GetPrivateProfileInt("Plc Info", "Slave", -1, t.g_strPlc1Inf) == 1 &&
        platform::GetPrivateProfileInt("Plc Info", "Slave", -1, t.g_strPlc2Inf) == 1) {
        ui::MessageBox("Slave Driver on both side is not a valid configruation. Please select different drivers and try again.",
                       "Quorvex", ui::MB_OK | ui::MB_ICONHAND);
        return -1;
    }
    m_nCom2PlcNo = platform::GetPrivateProfileInt(protocol2, "PlcNo", -1, deffiles::DataInf(g_szProductName));
    // The COM2 driver is the one just chosen.
    t.g_strPlc2DriverId = std::to_string(m_nCom2PlcNo);
    g_bCom2IsCAN = std::find(g_arrCanDrivers.begin(), g_arrCanDrivers.end(), t.g_strPlc2DriverId) != g_arrCanDrivers.end();
    t.g_strPlc2Section = model2;

    ui::Splitter& s = GetSplitter();
    ui::View* editor;
    if (m_bNewProduct) {
        editor = s.CreateView(0, 1, std::make_unique<CNewBlockExView>());
        SetActiveView(editor);
        s.CreateView(0, 0, std::make_unique<CQuorvexView>(), FrameWidth(), FrameWidth());
    } else {
        editor = s.CreateView(0, 1, std::make_unique<CBlockExView>());
        SetActiveView(editor);
        s.CreateView(0, 0, std::make_unique<CQuorvexView>(), 1000, 1000);
    }
    // The block list above, the two database panes below it.
    const int paneRow = std::max(FrameHeight() / 6 + 10, 10);
    s.SetColumnInfo(0, 0, 0);
    s.SetColumnInfo(1, std::max(FrameWidth() / 6, 10), 10);
    s.SetRowInfo(0, std::max(FrameHeight() - 2 * paneRow, 10), 10);
    s.SetRowInfo(1, paneRow, 10);
    s.RecalcLayout();
    m_wndToolBar->ShowWindow(false);
    m_wndProjectToolBar->ShowWindow(true);
    RecalcLayout();
    if (g_nDeviceId == 94 || g_nDeviceId == 98)
        g_bCanHtmlDownload = g_bCanRunKorvo = g_bCanUploadMac = g_bCanEthernetDownload = 1;
    return 0;
}

void CMainFrame::OnConfigureProject() {
    // A new project has no file yet; the three-port sheet may save one and then close it.
    const ProjectHoldSettler settle;
    CPlcRegisterTables& t = g_PlcRegisterTables;
    CProjectSettings& s = g_ProjectSettings;
    const std::string title = "Untitled - Quorvex - " + g_szProductNameCopy;

    if (g_nDeviceId == 84 || g_nDeviceIdAlt == 84) {
        ResetOpenProject();
        g_bBlockExUntitled = 1;
        g_bBlockExSaved = 0;
        g_bUntitled = 1;
        g_bProjectSaved = 0;
        SetWindowText(title);
        if (CheckDriverPair() == 0) {
            t.ResetProject();
            t.LoadPlcFileCom1();
            s.g_strProjCreated = s.g_strProjModified = ProjectTimeStamp();
            s.g_nProjFileVersion = 2;
            if (g_bBlockExSlaveMode == 1 || g_bSlaveMode == 1) t.g_nBlockWordLimit = g_bCom2Driver135 ? 0xFFFF : 0xFF;
            g_szHelpTopic = "portmultiplexer.htm";
            if (m_services.communicationSettingSheet) m_services.communicationSettingSheet();
        }
        // The sheet saved or dropped the project: it is closed.
        ResetOpenProject();
        g_bProjectOpen = 0;
        g_bNoBlockView = 1;
        return;
    }

    if (g_bNoBlockView != 1) return;
    ResetOpenProject();
    const std::string previousTitle = GetWindowText();
    const std::string askedOnTopic = g_szHelpTopic;  // the screen Configure Project was chosen on
    g_bBlockExUntitled = 1;
    g_bBlockExSaved = 0;
    g_bUntitled = 1;
    g_bProjectSaved = 0;
    LoadAccelTable(res::AcceleratorTable(IDR_PROJECT_MENU));
    SetWindowText(title);
    SetFrameMenu(m_menuProject);
    if (CheckDriverPair() == -1) {
        // The protocol level stays as it was.
        g_bBlockExUntitled = g_bUntitled = 0;
        SetWindowText(previousTitle);
        SetFrameMenu(m_menuStart);
        return;
    }
    if (m_nCom2PlcNo == 141 && m_services.tagTableDialog) {
        // The tag table belongs to the choice just made: its help is the topic of the screen
        // the person chose on, not the overview the project level's empty pane has just set.
        const std::string projectTopic = g_szHelpTopic;
        g_szHelpTopic = askedOnTopic;
        m_services.tagTableDialog();
        g_szHelpTopic = projectTopic;
    }

    t.ResetProject();
    s.g_strProjCreated = s.g_strProjModified = ProjectTimeStamp();
    s.g_nProjFileVersion = 2;
    t.LoadPlcFileCom1();
    t.LoadPlcFileCom2();
    t.g_nBlockWordLimit = std::min(t.g_nPlc1NoOfWord, t.g_nPlc2NoOfWord);
    g_bProjectOpen = 1;
    g_bNoBlockView = 0;
    if (ui::View* view = GetActiveView()) view->OnInitialUpdate();
    if (g_bBlockExSlaveMode == 1 || g_bSlaveMode == 1) t.g_nBlockWordLimit = g_bCom2Driver135 ? 0xFFFF : 0xFF;
    if (t.g_strPLC1Name == t.g_strPLC2Name) {
        t.g_strPLC1Name = "Com1 " + t.g_strPLC1Name;
        t.g_strPLC2Name = "Com2 " + t.g_strPLC2Name;
    }
}

// ---------------------------------------------------------------------------------------
// Recent projects and opening

void CMainFrame::LoadComPortSetting() {
    const int port = deffiles::ReadProductsComPort();
    if (port >= 1 && port <= 31) g_PlcRegisterTables.g_strPcComPort = "COM" + std::to_string(port);

    g_nRecentMenuCount = ReadRecentProjectCount();
    ui::Menu* file = m_menuStart ? m_menuStart->GetSubMenu(0) : nullptr;
    if (!file) return;
    // The list is rebuilt from the file: take out what stands there now.
    file->RemoveMenu(ID_RECENT_PLACEHOLDER, ui::MF_BYCOMMAND);
    for (int id : kRecentIds) file->RemoveMenu(id, ui::MF_BYCOMMAND);
    if (g_nRecentMenuCount == 0) {
        file->InsertMenu(2, ui::MF_BYPOSITION | ui::MF_STRING, ID_RECENT_PLACEHOLDER, "Resent File...");
    } else {
        const std::vector<std::string> paths = ReadRecentProjects();
        for (int n = static_cast<int>(paths.size()); n >= 1; --n)
            file->InsertMenu(2, ui::MF_BYPOSITION | ui::MF_STRING, kRecentIds[n - 1], paths[size_t(n - 1)]);
    }
    if (GetMenu() == m_menuStart.get()) DrawMenuBar();
}

void CMainFrame::UpdateRecentProjects() {
    SetFrameMenu(m_menuStart);
    if (g_bBlockExSaved != 1 && g_bProjectSaved != 1) return;
    g_nRecentMenuCount = UpdateRecentProjectList(g_ProjectSettings.g_strProjPath, g_nRecentMenuCount);
}

void CMainFrame::OpenWithReader(const std::string& path) {
    if (TestGeneration() == 1) {
        if (m_services.loadNewerProject) m_services.loadNewerProject(path);
    } else if (m_services.loadOlderProject) {
        m_services.loadOlderProject(path);
    }
}

void CMainFrame::OpenLastProject() {
    const std::vector<std::string> recent = ReadRecentProjects();
    const std::string product = recent.empty() ? std::string() : ProductFromProjectPath(recent.front());
    if (!product.empty()) {
        UseProductOfProject(product);
        OpenWithReader(recent.front());
        return;
    }
    // Without a last project the first listed product whose folder exists is current.
    const std::string first = FindStartProduct();
    if (!first.empty()) g_szProductName = g_szProductPath = g_szProductNameCopy = first;
}

// Where Open Project starts: the Projects folder of the selected product (after a Close,
// which clears the selection, the product the title still names), else the program folder.
static std::string OpenProjectFolder() {
    for (const std::string* product : {&g_szProductName, &g_szProductNameCopy})
        if (!product->empty() && platform::DirectoryExists(deffiles::ProjectsFolder(*product)))
            return deffiles::ProjectsFolder(*product);
    return platform::GetProgramFolder();
}

void CMainFrame::OnOpenProject() {
    TestGeneration();
    if (g_bNoBlockView != 1) return;
    ui::WaitCursor wait;
    ui::FileDialog dialog(true, "prj", "project", ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT, kProjectFilter);
    dialog.SetInitialDir(OpenProjectFolder());
    if (dialog.DoModal() == ui::IDOK) OpenWithReader(dialog.GetPathName());
}

void CMainFrame::OnOpenRecentProject(const std::string& path) {
    // A project names its product by the folder it lies in; after a close no product is
    // current, so take it from there.
    const std::string product = ProductFromProjectPath(path);
    // A file that does not open leaves the product as it was chosen (on the product level, or
    // that of a project still open): the next project, save or transfer goes by it.
    const std::string name = g_szProductName, productPath = g_szProductPath, nameCopy = g_szProductNameCopy;
    const unsigned deviceId = g_nDeviceId, deviceIdAlt = g_nDeviceIdAlt;
    const std::string lastIo = g_strPrjFileLastIo;
    g_strPrjFileLastIo.clear();  // every reader names the file here once it is the open project
    if (!product.empty() && platform::DirectoryExists(deffiles::ProductFolder(product))) UseProductOfProject(product);
    TestGeneration();
    OpenWithReader(path);
    // The three-port product's sheet takes over even a refused file and closes the project.
    if (g_strPrjFileLastIo.empty() && g_nDeviceId != 84) {
        g_strPrjFileLastIo = lastIo;
        g_szProductName = name;
        g_szProductPath = productPath;
        g_szProductNameCopy = nameCopy;
        g_nDeviceId = deviceId;
        g_nDeviceIdAlt = deviceIdAlt;
        TestGeneration();
    }
}

void CMainFrame::OpenRecentAt(int position) {
    ui::Menu* file = m_menuStart ? m_menuStart->GetSubMenu(0) : nullptr;
    if (!file) return;
    const std::string path = file->GetMenuString(position, ui::MF_BYPOSITION);
    if (!path.empty()) OnOpenRecentProject(path);
}

// ---------------------------------------------------------------------------------------
// Closing

void CMainFrame::OnClose() {
    TestGeneration();
    const bool newer = m_bNewProduct == 1;
    const bool edited = newer ? g_bProjectModified == 1 : g_bBlockListEdited == 1;
    if (!edited) {
        UpdateRecentProjects();
        DestroyWindow();
        return;
    }
    int& untitled = newer ? g_bUntitled : g_bBlockExUntitled;
    int& saved = newer ? g_bProjectSaved : g_bBlockExSaved;
    // A project that is neither untitled nor tied to a file is saved like an untitled one.
    const bool needsPath = untitled == 1 || saved != 1;
    const int answer = ui::MessageBox(LoadString(IDS_SAVE_PROJECT_QUESTION), "Quorvex",
                                      ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION);
    if (answer == ui::IDCANCEL) return;
    if (answer == ui::IDNO) {
        (newer ? g_bProjectModified : g_bBlockListEdited) = 0;
        if (!newer) g_bCanUploadMac = g_bCanEthernetDownload = g_bCanRunKorvo = g_bCanHtmlDownload = 0;
        DestroyWindow();
        return;
    }
    const std::string ownPath = g_ProjectSettings.g_strProjPath;
    std::string path = ownPath;
    if (needsPath) {
        ui::FileDialog dialog(false, "prj", "project", ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT, kSaveFilter);
        dialog.SetInitialDir(deffiles::ProjectsFolder(g_szProductName));
        if (dialog.DoModal() != ui::IDOK) return;
        path = dialog.GetPathName();
        g_ProjectSettings.g_strProjPath = path;
    }
    if (!m_services.saveProject || !m_services.saveProject(newer, path)) {
        g_ProjectSettings.g_strProjPath = ownPath;  // nothing is lost, and nothing named the file not written
        return;
    }
    saved = 1;
    untitled = 0;
    UpdateRecentProjects();
    if (!newer) g_bCanUploadMac = g_bCanEthernetDownload = g_bCanRunKorvo = g_bCanHtmlDownload = 0;
    DestroyWindow();
}

void CMainFrame::ResetToUntitled() {
    CPlcRegisterTables& t = g_PlcRegisterTables;
    UpdateRecentProjects();
    const bool com2WasCan = g_bCom2IsCAN == 1;
    DropProjectLevel();

    SetWindowText("Untitled - Quorvex - " + g_szProductNameCopy);
    LoadComPortSetting();
    g_szProductName.clear();
    if (com2WasCan) {
        g_bCom2IsCAN = 2;
        t.g_strPlc1DriverId = t.g_strPlc2DriverId = "0";
    }
    ReinitCom2Pane();
}

void CMainFrame::ReinitCom2Pane() {
    if (auto* pane = dynamic_cast<DBViewClass2*>(GetSplitter().GetPane(2, 1))) {
        SetActiveView(pane);
        pane->ResetColumns();
        pane->OnInitialUpdate();
    }
}

void CMainFrame::DropProjectLevel() {
    ui::Splitter& s = GetSplitter();
    SetActiveView(s.CreateView(0, 0, std::make_unique<CQuorvexView>(), 1030, 450));
    s.CreateView(0, 1, std::make_unique<CQuorvexView>());
    s.RecalcLayout();
    // The views are gone: nothing of the project stays for the next one.
    ResetOpenProject();
    m_wndToolBar->ShowWindow(true);
    m_wndProjectToolBar->ShowWindow(false);
    RecalcLayout();
    g_bProjectOpen = 0;
    g_bNoBlockView = 1;
}

void CMainFrame::RunProjectUpload(const std::function<int()>& runDialog) {
    const ProjectHoldSettler settle;  // a project taken from the unit has no file to hold
    const bool noProject = g_bNoBlockView == 1;
    const int level = g_nMainScreen;
    const std::string title = GetWindowText();
    const bool taken = runDialog() == ui::IDOK;
    if (taken || !noProject || g_bNoBlockView == 1) return;
    // The project level was built for a project that never came: back where it started.
    DropProjectLevel();
    SetFrameMenu(m_menuStart);
    LoadAccelTable(res::AcceleratorTable(IDR_MAINFRAME));
    if (level == 2)
        GoToProtocolLevel();
    else
        GoToProductLevel();
    SetWindowText(title);
}

void CMainFrame::RestoreMenuAfterTransfer() {
    // The newer upload builds the project level for the project on its way from the unit,
    // which replaces the open one only once the whole upload succeeded. Until then the open
    // project stays as it is: the new editor's start-up would read the PLC pair's feature
    // keys into its tables, emptying them.
    UploadModel open = UploadModel::FromGlobals();
    const int untitled = g_bUntitled, blockExUntitled = g_bBlockExUntitled;
    const bool newer = TestGeneration() == 1;
    g_bUntitled = g_bBlockExUntitled = 0;
    ui::Splitter& s = GetSplitter();
    ui::View* editor;
    if (m_bNewProduct)
        editor = s.CreateView(0, 1, std::make_unique<CNewBlockExView>(), FrameWidth() / 4, FrameWidth() / 4);
    else
        editor = s.CreateView(0, 1, std::make_unique<CBlockExView>(), 1000, 1000);
    GetStatusBar().SetPaneText(0, "  ");
    SetActiveView(editor);
    editor->OnInitialUpdate();
    s.CreateView(0, 0, std::make_unique<CQuorvexView>());
    s.SetColumnInfo(0, 0, 0);
    s.SetColumnInfo(1, std::max(FrameWidth() / 6, 10), 10);
    s.SetRowInfo(0, std::max(FrameHeight() - 220, 10), 10);  // room for the two panes below
    s.SetRowInfo(1, 120, 10);
    s.SetRowInfo(2, 100, 10);
    s.RecalcLayout();
    SetFrameMenu(m_menuProject);
    m_wndToolBar->ShowWindow(false);
    m_wndProjectToolBar->ShowWindow(true);
    if (newer) {
        open.SwapWithGlobals();
        g_bUntitled = untitled;
        g_bBlockExUntitled = blockExUntitled;
    }
}

// ---------------------------------------------------------------------------------------
// Commands that open other screens

void CMainFrame::OnComPortSetting() {
    if (m_services.comPortSetting) m_services.comPortSetting();
}

void CMainFrame::OnUploadProject() {
    if (!m_services.uploadProject) return;
    const bool newer = TestGeneration() == 1;
    if (newer)
        g_nTransferMode = 2;
    else
        g_nDownloadDlgMode = 2;
    m_services.uploadProject(newer);
}

void CMainFrame::OnControlWordSetting() {
    const bool newer = TestGeneration() == 1;
    if ((newer ? g_bSlaveMode : g_bBlockExSlaveMode) == 1) {
        ui::MessageBox(LoadString(IDS_CONTROL_WORD_SLAVE), "Quorvex", ui::MB_OK);
        return;
    }
    if (m_services.controlWordDialog) m_services.controlWordDialog(newer, 1);
}

void CMainFrame::OnErrorBitSetting() {
    const bool newer = TestGeneration() == 1;
    if ((newer ? g_bSlaveMode : g_bBlockExSlaveMode) == 1) {
        ui::MessageBox(LoadString(IDS_ERROR_BIT_SLAVE), "Quorvex", ui::MB_OK);
        return;
    }
    if (m_services.controlWordDialog) m_services.controlWordDialog(newer, 2);
}

void CMainFrame::OnUploadSystemData() {
    if (m_services.uploadSystemData) m_services.uploadSystemData();
}

void CMainFrame::OnPlcSetting() {
    if (m_services.plcAdvanceSetting) m_services.plcAdvanceSetting();
}

void CMainFrame::OnEthernetDownload() {
    if (m_services.ethernetDownload) m_services.ethernetDownload();
}

void CMainFrame::OnUploadIpSettings() {
    if (m_services.ipSettingsUpload) m_services.ipSettingsUpload();
}

void CMainFrame::OnBack() {
    ResetOpenProject();
    GoToProductLevel();
}

void CMainFrame::OnGuardedFeature() {
    if (g_szProductName.empty()) {
        ui::MessageBox("To use this Feature please select Product from the list.", "Select Product",
                       ui::MB_OK | ui::MB_ICONINFORMATION);
        return;
    }
    if (g_szProductName == "QVX-00" || g_szProductName == "QVX-S7" || g_szProductName == "QVX-S8") {
        if (m_services.hardwareTest) m_services.hardwareTest();
        return;
    }
    ui::MessageBox("This Feature is not supported by this Product.", "Not Supported", ui::MB_OK | ui::MB_ICONINFORMATION);
}

void CMainFrame::OnTagTable() {
    if (g_bTagTable != 1 || !m_services.tagTableDialog) return;
    if (m_services.tagTableDialog() != 2) return;
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.ResetProject();
    t.LoadPlcFileCom1();
    t.LoadPlcFileCom2();
    t.g_nBlockWordLimit = std::min(t.g_nPlc1NoOfWord, t.g_nPlc2NoOfWord);
}

void CMainFrame::OnHelp() { OpenHelpTopic(g_szHelpTopic); }

void CMainFrame::OnHelpIndex() { OpenHelpTopic(g_szHelpTopic); }

// ---------------------------------------------------------------------------------------
// The block views' windows

void CMainFrame::ShowInfoText(const std::string& text) {
    if (auto* view = dynamic_cast<CBlockExView*>(GetActiveView())) view->SetInfoText(text);
}

void CMainFrame::ShowNewInfoText(const std::string& text) {
    if (g_pNewBlockExView) g_pNewBlockExView->SetInfoText(text);
}

std::string CMainFrame::GetOlderBlockCellText(int row, int column) {
    auto* view = dynamic_cast<CBlockExView*>(GetSplitter().GetPane(0, 1));
    return view ? view->GetCellText(row, column) : std::string();
}

std::string CMainFrame::GetNewerBlockCellText(int row, int column) {
    return g_pNewBlockExView ? g_pNewBlockExView->GetCellText(row, column) : std::string();
}

int CMainFrame::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    return ui::MessageBox(text, caption, flags);
}

void CMainFrame::SetMainTitle(const std::string& title) { SetWindowText(title); }

void CMainFrame::CloseToProductLevel() {
    const ProjectHoldSettler settle;
    // Both replace the project's views: nothing of the caller's view is used after them.
    ResetToUntitled();
    GoToProductLevel();
}

void CMainFrame::RefreshRecentProjects() { UpdateRecentProjects(); }

void CMainFrame::ReloadComPortSetting() { LoadComPortSetting(); }

void CMainFrame::ShowHelp() { OnHelp(); }

// ---------------------------------------------------------------------------------------
// Opening a project of the newer products: the file into the model, then the project
// level's panes showing it.

void CMainFrame::LoadProjectFile(std::string path) {
    const ProjectHoldSettler settle;  // the file is held while it is open here, and only then
    ProjectOpenHooks hooks;
    hooks.askProduct = [this](std::string& product) {
        CVersionMismatchDlg dialog(this);
        if (dialog.DoModal() != ui::IDOK || g_szVersionProduct.empty()) return false;
        product = g_szVersionProduct;
        return true;
    };
    std::vector<int> unreadable;
    switch (OpenNewerProject(path, hooks, unreadable)) {
        case ProjectOpenResult::Opened:
            break;
        case ProjectOpenResult::ThreePort:
            if (m_services.checkProjectProduct)
                m_services.checkProjectProduct(path);
            else
                ui::MessageBox("Projects of Zava Dorazuduvoz cannot be opened in this version of the program.",
                               "Quorvex", ui::MB_OK | ui::MB_ICONEXCLAMATION);
            return;
        case ProjectOpenResult::OlderEditor:
            if (m_services.loadOlderProject)
                m_services.loadOlderProject(path);
            else
                ui::MessageBox("Projects of this product open in the older block editor, which this version of the "
                               "program does not have.",
                               "Quorvex", ui::MB_OK | ui::MB_ICONEXCLAMATION);
            return;
        default:
            return;
    }
    m_bNewProduct = 1;

    // The panes of the project level, with the block list showing the opened rows.
    ui::Splitter& sp = GetSplitter();
    const int w = FrameWidth() / 4;
    CNewBlockExView* view = static_cast<CNewBlockExView*>(sp.CreateView(0, 1, std::make_unique<CNewBlockExView>()));
    SetActiveView(view);
    view->ShowProject();
    sp.CreateView(0, 0, std::make_unique<CQuorvexView>());
    sp.SetColumnInfo(0, 0, 0);
    sp.SetRowInfo(0, w + 50, 0);
    sp.SetRowInfo(1, w / 2 + 20, 0);
    sp.SetRowInfo(2, w / 2, 0);
    sp.RecalcLayout();

    SetFrameMenu(m_menuProject);
    m_wndToolBar->ShowWindow(false);
    m_wndProjectToolBar->ShowWindow(true);
    SetWindowText(g_szPrjFileTitle + " - Quorvex - " + g_szProductNameCopy);
    if (m_services.loadIdbImages) m_services.loadIdbImages();
    RecalcLayout();
    g_bProjectModified = 0;
    g_bProductSelected = g_bProductSelected2 = 1;
    ReportUnreadableAddresses(unreadable);
}
