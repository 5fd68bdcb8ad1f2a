#pragma once
// The main window: a static splitter of 3 rows by 2 columns whose top panes change with
// the level (product, protocol, project), the menus and toolbars of each level, and the
// frame's commands (open, close, recent projects, settings and transfer entry points).
#include "plc/BlockEditorHost.h"
#include "ui/Frame.h"
#include "ui/FrameHost.h"

#include <functional>
#include <memory>
#include <string>

class CInputView;
class CInputView1;

// Entry points of screens built elsewhere (transfer dialogs, settings dialogs, the
// project readers). A command whose screen is not there stays disabled.
struct FrameServices {
    std::function<void(const std::string& path)> loadNewerProject;  // the newer project reader
    std::function<void(const std::string& path)> loadOlderProject;  // the older project reader
    std::function<void(const std::string& path)> checkProjectProduct;  // the three-port product's reader
    std::function<void()> loadIdbImages;  // the open project's internal-database images into the panes
    std::function<void()> comPortSetting;      // "IBM Com Port Setting"
    std::function<void()> uploadSystemData;
    std::function<void()> hardwareTest;
    std::function<void()> ethernetDownload;
    std::function<void()> ipSettingsUpload;
    std::function<void()> plcAdvanceSetting;
    std::function<void(bool newer)> uploadProject;             // the transfer dialog in upload mode
    std::function<void(bool newer, int mode)> controlWordDialog;  // mode 1 control word, 2 error bits
    std::function<void()> communicationSettingSheet;           // the three-port product's sheet
    std::function<int()> tagTableDialog;                       // returns the dialog's end code
    // Writes the open project when the window closes (the generation's writer).
    std::function<bool(bool newer, const std::string& path)> saveProject;
};

class CMainFrame : public ui::Frame, public IBlockEditorHost, public ui::FrameHost {
public:
    CMainFrame();
    ~CMainFrame() override;
    // The one main window while it exists.
    static CMainFrame* Get();

    // Builds menus, toolbars, status bar and panes, then shows the window.
    bool LoadFrame();
    int OnCreate();
    bool OnCreateClient();
    void OnTimer(int id) override;

    // Levels.
    void GoToProductLevel();
    void GoToProtocolLevel();
    int CheckDriverPair();
    void OnConfigureProject();

    // Project files of the newer generation.
    void LoadProjectFile(std::string path);

    // Commands.
    void LoadComPortSetting();
    void UpdateRecentProjects();
    void OpenLastProject();
    void OnOpenProject();
    void OnOpenRecentProject(const std::string& path);
    void OnClose() override;
    void ResetToUntitled();
    void RestoreMenuAfterTransfer();
    // The project's views give way to empty ones, the level toolbar comes back and the
    // open project is reset.
    void DropProjectLevel();
    // Runs an Upload Project dialog (IDOK: the project was taken over). The dialog builds
    // the project level as soon as the unit names its drivers; an upload that then fails
    // returns to the level and title it started from, with no project.
    void RunProjectUpload(const std::function<int()>& runDialog);
    void OnGuardedFeature();
    void OnTagTable();
    void OnHelp();
    void OnHelpIndex();
    void OnBack();
    void OnComPortSetting();
    void OnUploadProject();
    void OnControlWordSetting();
    void OnErrorBitSetting();
    void OnUploadSystemData();
    void OnPlcSetting();
    void OnEthernetDownload();
    void OnUploadIpSettings();
    void OnRecentProject1() { OpenRecentAt(2); }
    void OnRecentProject2() { OpenRecentAt(3); }
    void OnRecentProject3() { OpenRecentAt(4); }
    void OnRecentProject4() { OpenRecentAt(5); }

    // The block views' information windows and cells.
    void ShowInfoText(const std::string& text) override;
    void ShowNewInfoText(const std::string& text) override;
    std::string GetOlderBlockCellText(int row, int column) override;
    std::string GetNewerBlockCellText(int row, int column) override;
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;

    // What the screens below need of the main window.
    void SetMainTitle(const std::string& title) override;
    void CloseToProductLevel() override;
    void RefreshRecentProjects() override;
    void ReloadComPortSetting() override;
    void ShowHelp() override;

    void SetFrameMenu(const std::shared_ptr<ui::Menu>& menu);
    // The COM2 database pane takes the layout of the current COM2 protocol again.
    void ReinitCom2Pane();
    // The generation of the current product: 1 when its status is "New".
    int TestGeneration();

    FrameServices& Services() { return m_services; }
    const std::shared_ptr<ui::Menu>& StartMenu() const { return m_menuStart; }
    const std::shared_ptr<ui::Menu>& ProjectMenu() const { return m_menuProject; }
    ui::ToolBar* LevelToolBar() const { return m_wndToolBar; }
    ui::ToolBar* ProjectToolBar() const { return m_wndProjectToolBar; }
    int m_nCom2PlcNo = -1;
    int m_bNewProduct = 0;

    const ui::HandlerTable* GetHandlerTable() const override;

private:
    void OpenRecentAt(int position);
    void OpenWithReader(const std::string& path);
    void SetLevelButtons(const std::vector<std::tuple<int, int, std::string>>& buttons);
    void OnUpdateNeedsService(ui::CmdUI& cmd);
    int FrameWidth() const;
    int FrameHeight() const;
    CInputView* Com1View() const;
    CInputView1* Com2View() const;

    std::shared_ptr<ui::Menu> m_menuStart;
    std::shared_ptr<ui::Menu> m_menuProject;
    ui::ToolBar* m_wndToolBar = nullptr;
    ui::ToolBar* m_wndProjectToolBar = nullptr;
    FrameServices m_services;
    bool m_levelToolBarBuilt = false;
};
