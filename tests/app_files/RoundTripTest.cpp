// What the editors make is what a saved project opens with: addresses built by the register
// address dialog and typed short forms completed by the cell editor, of every register type
// of every PLC pair of the sample tree's newer products, and the feature tables at their
// largest, saved, closed and opened again unchanged and without a word.
#include "model/ExtendedTables.h"
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "editor/NewBlockExView.h"
#include "editor/RegisterAddressDlg.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Profile.h"
#include "res/EditorResource.h"
#include "res/FrameResource.h"
#include "HeadlessUi.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

using testsupport::FindTreeItem;

// One address to make: a register type of a port at its lowest or highest address, with
// no bit (-1) or a bit.
struct AddressCase {
    int port, reg;
    bool highest;
    int bit;
};

class RoundTrip : public ::testing::Test {
protected:
    testsupport::SampleTree tree;
    testsupport::HeadlessUi ui;
    std::unique_ptr<CMainFrame> frame;

    void SetUp() override {
        g_bProjectModified = g_bProjectSaved = g_bUntitled = 0;
        g_bPrjFileLoaded = 0;
        frame = std::make_unique<CMainFrame>();
        ASSERT_TRUE(frame->LoadFrame());
        frame->Services().tagTableDialog = [] { return 1; };
    }
    void TearDown() override {
        frame.reset();
        g_PlcRegisterTables.ResetProject();
        g_szProductName.clear();
    }
    ui::TreeView& Protocols(int port) {
        return *dynamic_cast<CProtocolView*>(frame->GetSplitter().GetPane(0, port - 1))->Tree();
    }
    void ToProtocolLevel(const std::string& product, unsigned deviceId) {
        g_bProjectModified = 0;
        frame->CloseToProductLevel();
        g_szProductName = g_szProductNameCopy = g_szProductPath = product;
        g_nDeviceId = g_nDeviceIdAlt = deviceId;
        frame->GoToProtocolLevel();
    }
    // The project level of a pair, chosen as the engineer does: a model of a protocol on each port.
    void Configure(const std::string& product, unsigned deviceId, const std::pair<std::string, std::string> (&pair)[2]) {
        ToProtocolLevel(product, deviceId);
        for (int port = 1; port <= 2; ++port) {
            ui::TreeView& t = Protocols(port);
            const ui::HTREEITEM protocol = FindTreeItem(t, pair[port - 1].first);
            ASSERT_TRUE(protocol) << pair[port - 1].first;
            const ui::HTREEITEM model = FindTreeItem(t, pair[port - 1].second, protocol);
            ASSERT_TRUE(t.UserSelect(model ? model : protocol)) << pair[port - 1].second;
        }
        ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
        ASSERT_NE(g_pNewBlockExView, nullptr);
    }
    CNewBlockExView& View() { return *g_pNewBlockExView; }
    ui::Control* CellEdit() { return View().GetDlgItem(IDC_NEW_CELL_EDIT); }
    // A person clicks the address cell and types the text, Enter; the next cell's editor
    // that Enter opens is left with Escape.
    void TypeAddress(int row, int col, const std::string& text) {
        ASSERT_TRUE(View().GetListCtrl().UserClickCell(row, col));
        ASSERT_NE(CellEdit(), nullptr);
        ASSERT_TRUE(CellEdit()->UserType(text));
        ASSERT_TRUE(CellEdit()->UserKey(ui::VK_RETURN));
        if (ui::Control* next = CellEdit()) next->UserKey(ui::VK_ESCAPE);
    }
    // The address cell's Set Address button: the dialog runs `step` and OK.
    void PickAddress(int row, int col, std::function<void(ui::Dialog&)> step) {
        ASSERT_TRUE(View().GetListCtrl().UserClickCell(row, col));
        ui.ExpectModal(IDD_REGISTER_ADDRESS, [step](ui::Dialog& d) {
            step(d);
            d.UserClickButton(ui::IDOK);
        });
        ASSERT_TRUE(View().Item(col == kColSourceAddr ? IDC_SOURCE_ADDR_BUTTON : IDC_DEST_ADDR_BUTTON).UserClick());
        if (ui::Control* edit = CellEdit()) edit->UserKey(ui::VK_ESCAPE);
    }
    // Rows of the two PLCs, one more than the default row, for the addresses to come.
    void AddRows(size_t count) {
        const CPlcRegisterTables& t = g_PlcRegisterTables;
        BlockRows rows(count);
        for (BlockRow& row : rows) {
            row[kColWords] = row[kColSourceId] = row[kColDestId] = row[kColRepeatCycle] = "1";
            row[kColControlBit] = "0";
            row[kColSourcePlc] = t.g_strPLC1Name;
            row[kColDestPlc] = t.g_strPLC2Name;
        }
        View().AppendBlockRows(rows);
    }
    void SaveCloseOpen(const std::string& path) {
        ASSERT_TRUE(frame->Services().saveProject(true, path));
        ToProtocolLevel(g_szProductName, g_nDeviceId);
        ui.ClearRecords();
        frame->LoadProjectFile(path);
    }
};

// Bit 15 of a tag of the Ethernet IP protocol, built by the dialog and typed as "I1_15",
// and a bit of a DF1 integer typed with leading zeros, are kept by Save and Open.
TEST_F(RoundTrip, ABitOfAWideAddressOpensAsSaved) {
    Configure("QVX-ENET", 94, {{"Modbus RTU Master", ""}, {"Ethernet IP", ""}});
    AddRows(2);
    PickAddress(1, kColDestAddr, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), "I00000001");
        d.UserClickButton(IDC_BIT_ADDRESSED_RADIO);
        d.UserClickButton(IDC_BIT_DOWN);
    });
    TypeAddress(2, kColDestAddr, "I1_15");
    ASSERT_EQ(View().GetCellText(1, kColDestAddr), "I00000001_15");
    ASSERT_EQ(View().GetCellText(2, kColDestAddr), "I00000001_15");
    SaveCloseOpen(tree.Path() + "QVX-ENET/Projects/bits.prj");
    EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    EXPECT_EQ(View().GetCellText(1, kColDestAddr), "I00000001_15");
    EXPECT_EQ(View().GetCellText(2, kColDestAddr), "I00000001_15");

    Configure("QVX-S7", 82, {{"Modbus RTU Master", ""}, {"DF1 Full Duplex", ""}});
    AddRows(1);
    TypeAddress(1, kColDestAddr, "N7:0_015");
    ASSERT_EQ(View().GetCellText(1, kColDestAddr), "N007:000_015");
    SaveCloseOpen(tree.Path() + "QVX-S7/Projects/bits.prj");
    EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    EXPECT_EQ(View().GetCellText(1, kColDestAddr), "N007:000_015");
}

}  // namespace
