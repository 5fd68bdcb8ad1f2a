#pragma once
// The newer block list in a main window of its own: a 3 x 2 splitter with the block list
// in pane (0,1) and the internal-database panes below it, a project of a product of the
// sample tree, and a host that hands the entry checks' messages to the list's info window.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "HeadlessUi.h"
#include "TestSupport.h"
#include "model/ExtendedTables.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "plc/FeatureKeys.h"
#include "editor/NewBlockExView.h"
#include "editor/RegisterAddressDlg.h"
#include "plc/BlockEditorHost.h"
#include "plc/DefinitionFiles.h"
#include "plc/OpenProjectReset.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Profile.h"
#include "res/EditorResource.h"
#include "tables/DBViewClass1.h"
#include "tables/DBViewClass2.h"
#include "ui/Frame.h"

class RecordingHost : public IBlockEditorHost {
public:
    std::vector<std::string> infos;
    void ShowInfoText(const std::string&) override {}
    void ShowNewInfoText(const std::string& text) override {
        infos.push_back(text);
        if (g_pNewBlockExView) g_pNewBlockExView->SetInfoText(text);
    }
    std::string GetOlderBlockCellText(int, int) override { return std::string(); }
    std::string GetNewerBlockCellText(int row, int column) override {
        return g_pNewBlockExView ? g_pNewBlockExView->GetCellText(row, column) : std::string();
    }
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override {
        return ui::MessageBox(text, caption, flags);
    }
    // The last message that is not blank.
    std::string LastInfo() const {
        for (auto it = infos.rbegin(); it != infos.rend(); ++it)
            if (it->find_first_not_of(' ') != std::string::npos) return *it;
        return std::string();
    }
};

inline void ResetEditorGlobals() {
    g_BlockListRows.clear();
    g_OlderBlockListRows.clear();
    g_bUntitled = 1;
    g_bSlaveMode = g_nBlockLayout = 0;
    g_bNewBlockListEdited = g_bProjectModified = 0;
    g_bCom2IsCAN = g_bCom2Driver135 = g_bUsesPlc141 = 0;
    g_bCanHtmlDownload = g_bCanRunKorvo = g_bCanEthernetDownload = g_bCanUploadMac = 0;
    g_nRecipeState = g_bExtSetupError1 = g_bExtSetupError2 = 0;
    g_bRecipeDlgOpen = 0;
    g_bBitAddressMode = 0;
    g_nNewBlockEditRow = g_nNewBlockEditCol = 0;
    g_arrCanDrivers.clear();
    g_nDeviceId = g_nDeviceIdAlt = 81;
}

class EditorViewTest : public ::testing::Test {
protected:
    testsupport::SampleTree tree;
    testsupport::HeadlessUi ui;
    RecordingHost host;
    std::unique_ptr<ui::Frame> frame;
    CNewBlockExView* view = nullptr;

    void SetUp() override {
        ResetOpenProject();
        ResetEditorGlobals();
        SetBlockEditorHost(&host);
    }
    void TearDown() override {
        frame.reset();
        SetBlockEditorHost(nullptr);
        ResetOpenProject();
        ResetEditorGlobals();
    }

    // Configure Project: the product and one PLC model (1-based) of each port.
    void Configure(const std::string& product, unsigned deviceId, const std::string& plc1, int model1,
                   const std::string& plc2, int model2) {
        g_szProductName = g_szProductPath = g_szProductNameCopy = product;
        g_nDeviceId = g_nDeviceIdAlt = deviceId;
        CPlcRegisterTables& t = g_PlcRegisterTables;
        t.ResetProject();
        t.g_strPlc1Inf = deffiles::PlcDefinitionFile(product, plc1);
        t.g_strPlc1Section = deffiles::ReadText(t.g_strPlc1Inf, "Plc Info", deffiles::NumberedKey("Plc", model1), "");
        t.g_strPlc2Inf = deffiles::PlcDefinitionFile(product, plc2);
        t.g_strPlc2Section = deffiles::ReadText(t.g_strPlc2Inf, "Plc Info", deffiles::NumberedKey("Plc", model2), "");
        t.LoadPlcFileCom1();
        t.LoadPlcFileCom2();
        const bool slave = deffiles::ReadInt(t.g_strPlc1Inf, "Plc Info", "Slave") == 1 ||
                           deffiles::ReadInt(t.g_strPlc2Inf, "Plc Info", "Slave") == 1;
        g_bCom2Driver135 = t.g_strPlc2DriverId == "135" ? 1 : 0;
        t.SetBlockWordLimit(slave);
    }

    // The project level: the block list in pane (0,1), made active, its initial update run.
    CNewBlockExView& Open(const BlockRows& readRows = {}) {
        frame = std::make_unique<ui::Frame>();
        ui::Splitter& s = frame->GetSplitter();
        s.CreateStatic(3, 2);
        s.SetColumnInfo(0, 200, 10);
        s.SetRowInfo(0, 400, 10);
        s.SetRowInfo(1, 120, 10);
        s.CreateView(0, 0, std::make_unique<ui::View>());
        view = static_cast<CNewBlockExView*>(s.CreateView(0, 1, std::make_unique<CNewBlockExView>()));
        s.CreateView(1, 1, std::make_unique<DBViewClass1>());
        s.CreateView(2, 1, std::make_unique<DBViewClass2>());
        frame->SetClientArea(1000, 700);
        frame->SetActiveView(view);
        if (!readRows.empty()) view->AppendBlockRows(readRows);
        view->OnInitialUpdate();
        return *view;
    }

    ui::ListView& List() const { return view->GetListCtrl(); }
    ui::Control* Edit() const { return view->GetDlgItem(IDC_NEW_CELL_EDIT); }
    ui::ListControl* Combo() const { return static_cast<ui::ListControl*>(view->GetDlgItem(IDC_NEW_CELL_COMBO)); }
    std::string Cell(int row, int col) const { return view->GetCellText(row, col); }

    // A person clicks the cell, types the text into its edit and presses the key.
    void TypeIntoCell(int row, int col, const std::string& text, int key = ui::VK_RETURN) {
        ASSERT_TRUE(List().UserClickCell(row, col));
        ui::Control* edit = Edit();
        ASSERT_NE(edit, nullptr) << "no edit over cell " << row << "," << col;
        ASSERT_TRUE(edit->UserType(text));
        ASSERT_TRUE(edit->UserKey(key));
    }
};

// The sample tree's master pair of the newer S7 product: Modbus RTU Master on COM1,
// DF1 Full Duplex (Series 5) on COM2.
inline const char* kMasterPlc1 = "Modbus RTU Master";
inline const char* kMasterPlc2 = "DF1 Full Duplex";
