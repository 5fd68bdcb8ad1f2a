// The main window's level machine and commands, headless on a copy of the sample tree.
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "model/ProjectSettings.h"
#include "app/QuorvexView.h"
#include "model/RunTimeState.h"
#include "model/ExtendedTables.h"
#include "editor/BlockExView.h"
#include "editor/NewBlockExView.h"
#include "plc/OpenProjectReset.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "plc/DefinitionFiles.h"
#include "res/FrameResource.h"
#include "tables/DBViewClass1.h"
#include "tables/DBViewClass2.h"
#include "HeadlessUi.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class Frame : public ::testing::Test {
protected:
    testsupport::SampleTree tree;
    testsupport::HeadlessUi ui;
    std::unique_ptr<CMainFrame> frame;

    void SetUp() override {
        ResetOpenProject();
        g_szProductName = g_szProductNameCopy = g_szProductPath = "";
        g_nDeviceId = g_nDeviceIdAlt = 81;
        g_bProductSelected = g_bProductSelected2 = 0;
        g_bSlaveMode = g_bBlockExSlaveMode = 0;
        g_bCanUploadMac = g_bCanEthernetDownload = g_bCanRunKorvo = g_bCanHtmlDownload = 0;
        frame = std::make_unique<CMainFrame>();
        ASSERT_TRUE(frame->LoadFrame());
        ui.AdvanceTime(100);  // timer 2: the splash runs its 2 s, then the product level
        ui.AdvanceTime(3000);
    }
    void TearDown() override {
        frame.reset();
        ResetOpenProject();
        g_szProductName.clear();
    }

    ui::View* Pane(int r, int c) const { return frame->GetSplitter().GetPane(r, c); }
    std::string FirstMenuItem() const { return frame->GetMenu()->GetSubMenu(0)->GetMenuString(0, ui::MF_BYPOSITION); }
    int FirstMenuId() const { return frame->GetMenu()->GetSubMenu(0)->GetMenuItemID(0); }
    std::vector<int> ToolbarCommands(ui::ToolBar* bar) const {
        std::vector<int> ids;
        for (const ui::ToolButton& b : bar->Buttons())
            if (!(b.style & ui::TBBS_SEPARATOR)) ids.push_back(b.id);
        return ids;
    }
    static ui::HTREEITEM Find(ui::TreeView& t, const std::string& text, ui::HTREEITEM parent = ui::TVI_ROOT) {
        for (ui::HTREEITEM item : t.GetChildren(parent)) {
            if (t.GetItemText(item) == text) return item;
            if (ui::HTREEITEM inner = Find(t, text, item)) return inner;
        }
        return 0;
    }
    void PickProduct(const std::string& name) {
        auto* products = dynamic_cast<CInputView2*>(Pane(0, 0));
        ASSERT_NE(products, nullptr);
        ui::HTREEITEM item = Find(*products->Tree(), name);
        ASSERT_NE(item, 0) << name;
        ASSERT_TRUE(products->Tree()->UserSelect(item));
    }
    void PickProtocol(int port, const std::string& model) {
        auto* view = dynamic_cast<CProtocolView*>(Pane(0, port - 1));
        ASSERT_NE(view, nullptr);
        ui::HTREEITEM item = Find(*view->Tree(), model);
        ASSERT_NE(item, 0) << model;
        ASSERT_TRUE(view->Tree()->UserSelect(item));
    }
    std::string LastBox() const { return ui.MessageBoxes().empty() ? "" : ui.MessageBoxes().back().text; }
};

TEST_F(Frame, StartsAtTheProductLevelWithOnlyListedProducts) {
    auto* products = dynamic_cast<CInputView2*>(Pane(0, 0));
    ASSERT_NE(products, nullptr);
    EXPECT_NE(dynamic_cast<CInputView2*>(Pane(0, 1)), nullptr);
    EXPECT_NE(dynamic_cast<DBViewClass1*>(Pane(1, 1)), nullptr);
    EXPECT_NE(dynamic_cast<DBViewClass2*>(Pane(2, 1)), nullptr);
    ui::TreeView& t = *products->Tree();
    const ui::HTREEITEM root = t.GetRootItem();
    EXPECT_EQ(t.GetItemText(root), "Product Selection");
    std::vector<std::string> names;
    for (ui::HTREEITEM item : t.GetChildren(root)) names.push_back(t.GetItemText(item));
    EXPECT_NE(std::find(names.begin(), names.end(), "QVX-S7"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "QVX-100"), names.end());  // ProductStatus 0
    EXPECT_FALSE(products->ToolTipOf(Find(t, "QVX-S7")).empty());

    EXPECT_EQ(frame->GetWindowText(), "QVX-00");  // the first product's name
    EXPECT_EQ(g_szHelpTopic, "products.htm");
    EXPECT_EQ(g_nStartScreen, 1);
    EXPECT_EQ(FirstMenuItem(), "&Open Project");
    EXPECT_EQ(FirstMenuId(), ID_OPEN_PROJECT);
    EXPECT_EQ(ToolbarCommands(frame->LevelToolBar()),
              (std::vector<int>{ID_OPEN_PROJECT, ID_UPLOAD_SYSTEM_DATA, ID_COM_PORT_SETTING, ID_APP_EXIT}));
    EXPECT_EQ(frame->LevelToolBar()->GetCount(), 9);
    EXPECT_FALSE(frame->ProjectToolBar()->IsVisible());
    // No recent project yet: the placeholder stands in the list, disabled.
    EXPECT_EQ(frame->StartMenu()->GetSubMenu(0)->GetMenuString(2, ui::MF_BYPOSITION), "Resent File...");
    EXPECT_FALSE(frame->QueryCommand(ID_RECENT_PLACEHOLDER).IsEnabled());
}

TEST_F(Frame, ProductToProtocolToProjectAndBack) {
    PickProduct("QVX-S7");
    EXPECT_EQ(g_szProductName, "QVX-S7");
    EXPECT_EQ(g_nDeviceId, 82u);
    EXPECT_EQ(frame->GetWindowText(), "Quorvex - QVX-S7");
    EXPECT_EQ(g_szHelpTopic, "protocols.htm");
    EXPECT_EQ(g_bProductSelected, 1);
    EXPECT_EQ(FirstMenuItem(), "&Configure Project");
    EXPECT_EQ(FirstMenuId(), ID_CONFIGURE_PROJECT);
    EXPECT_EQ(ToolbarCommands(frame->LevelToolBar()),
              (std::vector<int>{ID_CONFIGURE_PROJECT, ID_OPEN_PROJECT, ID_UPLOAD_PROJECT, ID_UPLOAD_SYSTEM_DATA, ID_BACK}));
    auto* com1 = dynamic_cast<CInputView*>(Pane(0, 0));
    auto* com2 = dynamic_cast<CInputView1*>(Pane(0, 1));
    ASSERT_NE(com1, nullptr);
    ASSERT_NE(com2, nullptr);
    EXPECT_EQ(com1->Tree()->GetItemText(com1->Tree()->GetRootItem()), "Com1 Protocol");
    EXPECT_EQ(com2->Tree()->GetItemText(com2->Tree()->GetRootItem()), "Com2 Protocol");

    // A protocol chosen without a model takes its first model.
    PickProtocol(1, "Modbus RTU Master");
    std::string protocol, model;
    ASSERT_TRUE(com1->GetSelectedProtocol(protocol, model));
    EXPECT_EQ(protocol, "Modbus RTU Master");
    EXPECT_FALSE(model.empty());
    PickProtocol(2, "Compact Series");  // a model of the Host Link protocol
    ASSERT_TRUE(com2->GetSelectedProtocol(protocol, model));
    EXPECT_EQ(protocol, "Host Link");
    EXPECT_EQ(model, "Compact Series");

    ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
    EXPECT_NE(dynamic_cast<CNewBlockExView*>(Pane(0, 1)), nullptr);
    EXPECT_NE(dynamic_cast<CQuorvexView*>(Pane(0, 0)), nullptr);
    EXPECT_EQ(frame->GetMenu(), frame->ProjectMenu().get());
    EXPECT_TRUE(frame->ProjectToolBar()->IsVisible());
    EXPECT_FALSE(frame->LevelToolBar()->IsVisible());
    EXPECT_EQ(frame->GetWindowText(), "Untitled - Quorvex - QVX-S7");
    EXPECT_EQ(g_bUntitled, 1);
    EXPECT_EQ(g_bNoBlockView, 0);
    EXPECT_EQ(g_ProjectSettings.g_nProjFileVersion, 2);  // set after the reset
    EXPECT_FALSE(g_ProjectSettings.g_strProjCreated.empty());
    EXPECT_NE(g_ProjectSettings.g_strProjCreated, " ");
    EXPECT_EQ(g_PlcRegisterTables.g_strPLC1Name, "Modbus RTU Master");
    EXPECT_EQ(g_PlcRegisterTables.g_strPLC2Name, "Host Link");
    EXPECT_GT(g_PlcRegisterTables.RegisterCount(1), 0);
    EXPECT_GT(g_PlcRegisterTables.g_nBlockWordLimit, 0);
    EXPECT_EQ(g_PlcRegisterTables.g_strPlc1DriverId, "101");  // the protocol views were left
    std::vector<int> project = ToolbarCommands(frame->ProjectToolBar());
    EXPECT_EQ(project.size(), 12u);
    EXPECT_EQ(project.front(), ID_FILE_SAVE_PROJECT);
    EXPECT_EQ(project.back(), ID_UPLOAD_PROJECT);

    // A second Configure Project with a project open does nothing.
    frame->OnConfigureProject();
    EXPECT_NE(dynamic_cast<CNewBlockExView*>(Pane(0, 1)), nullptr);
}

// The product level's title names the product that stays chosen, which Open Project holds
// a project to.
TEST_F(Frame, BackReturnsToTheProductLevel) {
    for (const char* product : {"QVX-S7", "Zava Dorazuduvoz"}) {
        PickProduct(product);
        ASSERT_TRUE(frame->UserCommand(ID_BACK));
        EXPECT_NE(dynamic_cast<CInputView2*>(Pane(0, 0)), nullptr);
        EXPECT_EQ(g_nStartScreen, 1);
        EXPECT_EQ(FirstMenuId(), ID_OPEN_PROJECT);
        EXPECT_EQ(frame->GetWindowText(), product);
        EXPECT_EQ(g_szProductName, product);
    }
}

TEST_F(Frame, RefusedPairsKeepTheProtocolLevel) {
    PickProduct("QVX-S7");
    PickProtocol(1, "Modbus RTU Master");
    ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));  // no COM2 protocol chosen
    EXPECT_EQ(LastBox(), "Please select PLC from both side.");
    EXPECT_NE(dynamic_cast<CInputView1*>(Pane(0, 1)), nullptr);
    EXPECT_EQ(frame->GetMenu(), frame->StartMenu().get());
    EXPECT_EQ(frame->GetWindowText(), "Quorvex - QVX-S7");
    EXPECT_EQ(g_bUntitled, 0);

    ASSERT_TRUE(frame->UserCommand(ID_BACK));
    PickProduct("QVX-S8");
    PickProtocol(1, "Modbus RTU Slave");
    PickProtocol(2, "Modbus RTU Slave");
    ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
    EXPECT_EQ(LastBox(), "Slave Driver on both side is not a valid configruation. Please select different drivers and try again.");
    EXPECT_EQ(ui.MessageBoxes().back().flags & ui::MB_ICONMASK, ui::MB_ICONHAND);
    EXPECT_NE(dynamic_cast<CInputView1*>(Pane(0, 1)), nullptr);

    // A slave and a master pass.
    PickProtocol(2, "Modbus RTU Master");
    ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
    EXPECT_NE(dynamic_cast<CNewBlockExView*>(Pane(0, 1)), nullptr);
}

TEST_F(Frame, OlderProductsGetTheOlderEditorAndSamePlcsArePrefixed) {
    PickProduct("QVX-00");
    PickProtocol(1, "Modbus RTU Master");
    PickProtocol(2, "Modbus RTU Master");
    ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
    EXPECT_NE(dynamic_cast<CBlockExView*>(Pane(0, 1)), nullptr);
    EXPECT_EQ(g_PlcRegisterTables.g_strPLC1Name, "Com1 Modbus RTU Master");
    EXPECT_EQ(g_PlcRegisterTables.g_strPLC2Name, "Com2 Modbus RTU Master");
}

TEST_F(Frame, EthernetProductsEnableTheirCommandsAndTheTagTableRunsFor141) {
    int tagTables = 0;
    frame->Services().tagTableDialog = [&] { ++tagTables; return 1; };
    frame->Services().ethernetDownload = [] {};
    PickProduct("QVX-ENET");
    EXPECT_EQ(g_nDeviceId, 94u);
    PickProtocol(1, "Modbus RTU Master");
    PickProtocol(2, "Ethernet IP");
    ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
    EXPECT_EQ(tagTables, 1);
    // (The block list decides the web-page and Korvo commands by the COM2 protocol.)
    EXPECT_EQ(g_bCanUploadMac, 1);
    EXPECT_EQ(g_bCanEthernetDownload, 1);
    EXPECT_TRUE(frame->QueryCommand(ID_ETHERNET_DOWNLOAD).IsEnabled());
    EXPECT_TRUE(frame->QueryCommand(ID_UPLOAD_IP_SETTINGS).IsEnabled());
    frame->Services().ipSettingsUpload = nullptr;  // a command whose screen is missing stays off
    EXPECT_FALSE(frame->QueryCommand(ID_UPLOAD_IP_SETTINGS).IsEnabled());
}

TEST_F(Frame, TheThreePortProductShowsOneProtocolTreeAndRunsItsSheet) {
    int sheets = 0;
    frame->Services().communicationSettingSheet = [&] {
        ++sheets;
        EXPECT_EQ(g_szHelpTopic, "portmultiplexer.htm");
        EXPECT_GT(g_PlcRegisterTables.RegisterCount(1), 0);
    };
    PickProduct("Zava Dorazuduvoz");
    EXPECT_EQ(g_nDeviceId, 84u);
    auto* com1 = dynamic_cast<CInputView*>(Pane(0, 0));
    ASSERT_NE(com1, nullptr);
    EXPECT_EQ(com1->Tree()->GetItemText(com1->Tree()->GetRootItem()), "Protocol");
    ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));  // nothing chosen
    EXPECT_EQ(sheets, 0);  // refused: no sheet
    EXPECT_NE(LastBox().find("PLC file is corrupt or not found."), std::string::npos);
    PickProtocol(1, "Modbus RTU Multiplexer");
    ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
    EXPECT_EQ(sheets, 1);
    EXPECT_EQ(g_bNoBlockView, 1);
    EXPECT_EQ(g_bUntitled, 0);
}

TEST_F(Frame, GuardedFeatureAndSlaveModeRefusals) {
    int tests = 0;
    frame->Services().hardwareTest = [&] { ++tests; };
    frame->OnGuardedFeature();  // a product is current after start-up: QVX-00 has the test
    EXPECT_EQ(tests, 1);
    EXPECT_EQ(LastBox(), "");
    g_szProductName.clear();
    frame->OnGuardedFeature();
    EXPECT_EQ(LastBox(), "To use this Feature please select Product from the list.");
    EXPECT_EQ(ui.MessageBoxes().back().caption, "Select Product");
    g_szProductName = "QVX-300";
    frame->OnGuardedFeature();
    EXPECT_EQ(LastBox(), "This Feature is not supported by this Product.");

    g_szProductName = "QVX-S7";
    g_bSlaveMode = 1;
    frame->OnControlWordSetting();
    EXPECT_EQ(LastBox(), "Control word setting is not required for slave mode");
    frame->OnErrorBitSetting();
    EXPECT_EQ(LastBox(), "Error bit setting is not required for slave mode.");
}

TEST_F(Frame, RecentProjectsFillTheMenuAndTheComPort) {
    const std::string products = tree.Path() + "Products/products.inf";
    platform::WritePrivateProfileString("ProjectFile", "ProjectCount", "2", products);
    platform::WritePrivateProfileString("ProjectFile", "Prj1", "/p/QVX-S7/Projects/a.prj", products);
    platform::WritePrivateProfileString("ProjectFile", "Prj2", "/p/QVX-S7/Projects/b.prj", products);
    platform::WritePrivateProfileString("Com", "Port", "32", products);
    g_PlcRegisterTables.g_strPcComPort = "COM3";
    frame->LoadComPortSetting();
    EXPECT_EQ(g_PlcRegisterTables.g_strPcComPort, "COM3");  // 32 is no port
    ui::Menu* file = frame->StartMenu()->GetSubMenu(0);
    EXPECT_EQ(file->GetMenuString(2, ui::MF_BYPOSITION), "/p/QVX-S7/Projects/a.prj");
    EXPECT_EQ(file->GetMenuItemID(3), ID_RECENT_PROJECT2);
    EXPECT_EQ(file->FindCommand(ID_RECENT_PLACEHOLDER), nullptr);

    std::vector<std::string> opened;
    frame->Services().loadNewerProject = [&](const std::string& path) { opened.push_back(path); };
    g_szProductName = "QVX-S7";
    ASSERT_TRUE(frame->UserCommand(ID_RECENT_PROJECT2));
    EXPECT_EQ(opened, (std::vector<std::string>{"/p/QVX-S7/Projects/b.prj"}));

    platform::WritePrivateProfileString("Com", "Port", "4", products);
    frame->LoadComPortSetting();
    EXPECT_EQ(g_PlcRegisterTables.g_strPcComPort, "COM4");
}

TEST_F(Frame, ClosingAsksToSaveAnEditedProject) {
    int saves = 0;
    std::string savedTo;
    frame->Services().saveProject = [&](bool newer, const std::string& path) {
        EXPECT_TRUE(newer);
        ++saves;
        savedTo = path;
        return true;
    };
    g_szProductName = "QVX-S7";
    g_bProjectModified = 1;
    g_bUntitled = 1;
    ui.AnswerMessageBox(ui::IDCANCEL, "Do you want to save project?");
    frame->UserClose();
    EXPECT_TRUE(frame->IsLive());
    ui.AnswerMessageBox(ui::IDYES, "Do you want to save project?");
    ui.AnswerFileDialog("");  // the file dialog is cancelled
    frame->UserClose();
    EXPECT_TRUE(frame->IsLive());
    EXPECT_EQ(saves, 0);
    ui.AnswerMessageBox(ui::IDYES, "Do you want to save project?");
    ui.AnswerFileDialog(tree.Path() + "QVX-S7/Projects/line.prj");
    frame->UserClose();
    EXPECT_FALSE(frame->IsLive());
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(savedTo, tree.Path() + "QVX-S7/Projects/line.prj");
    EXPECT_EQ(g_bProjectSaved, 1);
    g_bProjectModified = 0;
    g_bProjectSaved = 0;
}

TEST_F(Frame, ClosingAProjectNeitherUntitledNorSavedStillAsks) {
    g_szProductName = "QVX-S7";
    g_bProjectModified = 1;
    g_bUntitled = 0;
    g_bProjectSaved = 0;
    ui.AnswerMessageBox(ui::IDNO, "Do you want to save project?");
    frame->UserClose();
    EXPECT_FALSE(frame->IsLive());
    EXPECT_EQ(g_bProjectModified, 0);
}

TEST_F(Frame, ResetToUntitledClearsTheProjectAndItsFeatures) {
    PickProduct("QVX-S7");
    PickProtocol(1, "Modbus RTU Master");
    PickProtocol(2, "Compact Series");
    ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
    g_bTagTable = 1;
    g_nFeatureCount = 3;
    g_RecipeTables.g_arrRecipeAddr = {"N7"};
    frame->ResetToUntitled();
    EXPECT_NE(dynamic_cast<CQuorvexView*>(Pane(0, 1)), nullptr);
    EXPECT_EQ(g_bNoBlockView, 1);
    EXPECT_EQ(g_bProjectOpen, 0);
    EXPECT_TRUE(frame->LevelToolBar()->IsVisible());
    EXPECT_FALSE(frame->ProjectToolBar()->IsVisible());
    EXPECT_EQ(frame->GetWindowText(), "Untitled - Quorvex - QVX-S7");
    EXPECT_EQ(g_szProductName, "");
    EXPECT_EQ(g_bTagTable, 0);
    EXPECT_EQ(g_nFeatureCount, 0);
    EXPECT_EQ(g_nRecipeState, 1);
    EXPECT_EQ(g_bNewProject, 1);
    EXPECT_TRUE(g_RecipeTables.g_arrRecipeAddr.empty());
    EXPECT_EQ(g_PlcRegisterTables.RegisterCount(1), 0);
    // Open Project after the Close starts in the Projects folder of the product the title
    // names, and in the program folder when no product is named at all.
    ui.AnswerFileDialog("");
    ASSERT_TRUE(frame->UserCommand(ID_OPEN_PROJECT));
    ASSERT_FALSE(ui.FileDialogFolders().empty());
    EXPECT_EQ(ui.FileDialogFolders().back(), deffiles::ProjectsFolder("QVX-S7"));
    g_szProductNameCopy.clear();
    ui.AnswerFileDialog("");
    ASSERT_TRUE(frame->UserCommand(ID_OPEN_PROJECT));
    EXPECT_EQ(ui.FileDialogFolders().back(), platform::GetProgramFolder());
}

}  // namespace
