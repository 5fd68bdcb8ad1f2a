#pragma once
// The older block list in a window of its own (a 3 x 2 splitter with the list in pane
// (0,1)) on a project of QVX-00 from the sample tree, and a host that hands the entry
// checks' messages and cell reads to the list.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "HeadlessUi.h"
#include "TestSupport.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "editor/AddressDlg.h"
#include "editor/BlockExView.h"
#include "editor/NewBlockExView.h"
#include "plc/BlockEditorHost.h"
#include "plc/DefinitionFiles.h"
#include "plc/OpenProjectReset.h"
#include "plc/PlcRegisterTables.h"
#include "res/OlderEditorResource.h"
#include "ui/Frame.h"

class OlderHost : public IBlockEditorHost {
public:
    CBlockExView* view = nullptr;
    std::vector<std::string> infos;
    void ShowInfoText(const std::string& text) override {
        infos.push_back(text);
        if (view) view->ShowInfoText(text);
    }
    void ShowNewInfoText(const std::string&) override {}
    std::string GetOlderBlockCellText(int row, int column) override {
        return view ? view->GetCellText(row, column) : std::string();
    }
    std::string GetNewerBlockCellText(int, int) override { return std::string(); }
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override {
        return ui::MessageBox(text, caption, flags);
    }
    std::string LastInfo() const {
        for (auto it = infos.rbegin(); it != infos.rend(); ++it)
            if (it->find_first_not_of(' ') != std::string::npos) return *it;
        return std::string();
    }
};

inline const char* kModbus = "Modbus RTU Master";  // 101: registers C, I, H, R, DG
inline const char* kDf1 = "DF1 Full Duplex";       // 102: O, I, B, NB, TD, CD, N (colon parts)

class OlderTest : public ::testing::Test {
protected:
    testsupport::SampleTree tree;
    testsupport::HeadlessUi ui;
    OlderHost host;
    std::unique_ptr<ui::Frame> frame;
    CBlockExView* view = nullptr;

    void SetUp() override {
        ResetOpenProject();
        g_bBlockExUntitled = 1;
        g_bBlockExSaved = 0;
        g_bBlockListEdited = 0;
        g_bBlockExSlaveMode = 0;
        g_OlderBlockListRows.clear();  // the rows an earlier test left are no project's
        g_nBlockEditRow = g_nBlockEditCol = 0;
        g_nDeviceId = g_nDeviceIdAlt = 80;
        g_ProjectSettings = CProjectSettings();
        g_NewBlockExServices = NewBlockExServices();
        SetBlockEditorHost(&host);
    }
    void TearDown() override {
        host.view = nullptr;
        frame.reset();
        SetBlockEditorHost(nullptr);
        ResetOpenProject();
        g_NewBlockExServices = NewBlockExServices();
    }

    // Configure Project of QVX-00 with the PLC numbers of the two ports (model 1 each).
    void Configure(const std::string& plc1, const std::string& plc2, const std::string& product = "QVX-00",
                   int model1 = 1, int model2 = 1) {
        g_szProductName = g_szProductPath = g_szProductNameCopy = product;
        CPlcRegisterTables& t = g_PlcRegisterTables;
        t.ResetProject();
        t.g_strPLC1Id = plc1;
        t.g_strPlc1ModelNo = std::to_string(model1);
        t.g_strPLC2Id = plc2;
        t.g_strPlc2ModelNo = std::to_string(model2);
        t.g_strPlc1Inf = deffiles::PlcDefinitionFile(product, plc1);
        t.g_strPlc1Section = deffiles::ReadText(t.g_strPlc1Inf, "Plc Info", "Plc" + t.g_strPlc1ModelNo, "");
        t.g_strPlc2Inf = deffiles::PlcDefinitionFile(product, plc2);
        t.g_strPlc2Section = deffiles::ReadText(t.g_strPlc2Inf, "Plc Info", "Plc" + t.g_strPlc2ModelNo, "");
        t.LoadPlcFileCom1();
        t.LoadPlcFileCom2();
        t.g_nBlockWordLimit = std::min(t.g_nPlc1NoOfWord, t.g_nPlc2NoOfWord);
    }

    CBlockExView& Open() {
        frame = std::make_unique<ui::Frame>();
        ui::Splitter& s = frame->GetSplitter();
        s.CreateStatic(3, 2);
        s.SetColumnInfo(0, 0, 0);
        s.SetRowInfo(0, 400, 10);
        s.CreateView(0, 0, std::make_unique<ui::View>());
        view = static_cast<CBlockExView*>(s.CreateView(0, 1, std::make_unique<CBlockExView>()));
        frame->SetClientArea(1200, 700);
        frame->SetActiveView(view);
        host.view = view;
        view->OnInitialUpdate();
        return *view;
    }

    ui::ListView& List() const { return view->GetListCtrl(); }
    ui::Control* Edit() const { return view->GetDlgItem(IDC_BLOCK_CELL_EDIT); }
    ui::ListControl* Combo() const { return static_cast<ui::ListControl*>(view->GetDlgItem(IDC_BLOCK_CELL_COMBO)); }
    std::string Cell(int row, int col) const { return view->GetCellText(row, col); }
    std::vector<std::string> Row(int row) const {
        std::vector<std::string> cells;
        for (int c = 0; c < kOlderBlockColumns; ++c) cells.push_back(Cell(row, c));
        return cells;
    }

    // A person clicks the cell, types into its edit and presses the key.
    void TypeIntoCell(int row, int col, const std::string& text, int key = ui::VK_RETURN) {
        ASSERT_TRUE(List().UserClickCell(row, col));
        ui::Control* edit = Edit();
        ASSERT_NE(edit, nullptr) << "no edit over cell " << row << "," << col;
        ASSERT_TRUE(edit->UserType(text));
        ASSERT_TRUE(edit->UserKey(key));
    }
    // A complete block: Modbus holding register to DF1 integer.
    void FillRow(int row) {
        view->SetCellText(row, kOlderColSourcePlc, kModbus);
        view->SetCellText(row, kOlderColSourceAddr, "H0001");
        view->SetCellText(row, kOlderColDestPlc, kDf1);
        view->SetCellText(row, kOlderColDestAddr, "N007:000");
    }
};
