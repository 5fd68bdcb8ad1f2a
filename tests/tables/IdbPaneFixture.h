#pragma once
// Both internal-database panes in a frame's 3 x 2 splitter over the test PLC files, with
// the images going to a temporary program folder.
#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "model/BlockTableData.h"
#include "platform/Paths.h"
#include "res/TablesResource.h"
#include "tables/DBViewClass1.h"
#include "tables/DBViewClass2.h"
#include "projectfiles/ProjectIdb.h"
#include "model/TableResets.h"
#include "ui/Frame.h"
#include "HeadlessUi.h"
#include "PlcFixture.h"

#include <memory>

// Records what a view paints.
struct RecordingPainter : ui::Painter {
    std::vector<std::string> texts;
    std::vector<ui::Color> colors;
    std::vector<ui::Rect> fills;
    void FillRect(const ui::Rect& r, ui::Color) override { fills.push_back(r); }
    void DrawText(int, int, const std::string& text, ui::Color c) override {
        texts.push_back(text);
        colors.push_back(c);
    }
    void DrawBitmap(const ui::Bitmap&, const ui::Rect&) override {}
    int TextWidth(const std::string& text) override { return 7 * static_cast<int>(text.size()); }
    int TextHeight() override { return 13; }
};

class IdbPaneTest : public PlcTablesTest {
protected:
    testsupport::HeadlessUi ui;
    std::unique_ptr<ui::Frame> frame;
    DBViewClass1* p1 = nullptr;
    DBViewClass2* p2 = nullptr;
    ui::View* block = nullptr;

    void SetUp() override {
        PlcTablesTest::SetUp();
        platform::SetProgramFolder(dir.Path());
        dir.Write("QVX-T/Projects/readme.txt", "");
        g_szProductName = "QVX-T";
        g_strPrjFileLastIo.clear();
        g_bProjectModified = 1;
        g_bIdbViewsFilled = 0;
        g_bIdbModified = 0;
        g_bIdb1Edited = g_bIdb2Edited = 0;
        g_bCom2IsCAN = 0;
        g_bIDBClicked = 0;
        g_IdbSwitches = IdbPortSwitches{1, 1, 10, 10};
        g_BlockTables = CBlockTableData();
        ClearStoredIdbRows();
        ClearIdbEntries();
        for (auto& rows : g_IdbPaneRows) rows.clear();  // rows an earlier test left are no pane's
        frame = std::make_unique<ui::Frame>();
        ui::Splitter& s = frame->GetSplitter();
        s.CreateStatic(3, 2);
        block = s.CreateView(0, 1, std::make_unique<ui::View>());
        p1 = static_cast<DBViewClass1*>(s.CreateView(1, 1, std::make_unique<DBViewClass1>()));
        p2 = static_cast<DBViewClass2*>(s.CreateView(2, 1, std::make_unique<DBViewClass2>()));
        for (IdbPane* p : {static_cast<IdbPane*>(p1), static_cast<IdbPane*>(p2)}) {
            p->Resize(800, 200);
            p->OnInitialUpdate();
        }
        frame->SetActiveView(block);
    }
    void TearDown() override {
        frame.reset();
        ResetDefCommRegisters();
        g_EthNodeTable.g_arrNodeAddress.clear();
        platform::SetProgramFolder("");
        g_szProductName.clear();
        g_strPrjFileLastIo.clear();
        g_bProjectModified = 0;
        g_bIdbViewsFilled = 0;
        PlcTablesTest::TearDown();
    }
    std::string Working(int port) const {
        std::string bytes;
        platform::ReadFileBytes(WorkingIdbPath("QVX-T", port), bytes);
        return bytes;
    }
    static std::string Cell(IdbPane* p, int row, int col) { return p->List().GetItemText(row, col); }
    static std::vector<std::string> Row(IdbPane* p, int row) {
        std::vector<std::string> out;
        for (int c = 1; c < IdbPane::kColumns; ++c) out.push_back(Cell(p, row, c));
        return out;
    }
};
