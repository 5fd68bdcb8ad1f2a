// A project of the sample tree with blocks on both ports: saved, edited in the panes,
// reopened, edited again.
#include "IdbPaneFixture.h"
#include "TestSupport.h"

namespace {

class SampleProject : public IdbPaneTest {
protected:
    testsupport::SampleTree tree;
    std::string project;

    void SetUp() override {
        IdbPaneTest::SetUp();
        platform::SetProgramFolder(tree.Path());
        g_szProductName = "QVX-S7";
        t.ResetProject();
        t.g_strPlc1Inf = tree.Path() + "QVX-S7/Plc/10100_004.inf";
        t.g_strPlc1Section = "Standard";
        t.g_strPlc2Inf = tree.Path() + "QVX-S7/Plc/10200_004.inf";
        t.g_strPlc2Section = "Series 5";
        t.LoadPlcFileCom1();
        t.LoadPlcFileCom2();
        t.g_strPLC1Name = "Modbus RTU Master";
        t.g_strPLC2Name = "DF1 Full Duplex";
        LoadIdbSwitches();
        project = tree.Path() + "QVX-S7/Projects/Line 4.prj";
    }
    static BlockRow Block(const std::string& words, const std::string& id1, const std::string& addr1,
                          const std::string& id2, const std::string& addr2) {
        return {"1", words, "Modbus RTU Master", id1, addr1, "DF1 Full Duplex", id2, addr2, "10", "0", ""};
    }
    void Choose(IdbPane* p, int row, int col, int choice) {
        p->List().UserClickCell(row, col);
        p->ComboCell().Control()->UserSelect(choice);
        p->List().UserClickCell(row, 0);
    }
    void Type(IdbPane* p, int row, int col, const std::string& text) {
        p->List().UserClickCell(row, col);
        p->EditCellEditor().Control()->UserType(text);
        p->EditCellEditor().Control()->UserKey(ui::VK_RETURN);
    }
};

TEST_F(SampleProject, ThePanesComeBackWithTheUsersChoicesOnTheirAddresses) {
    EXPECT_EQ(g_IdbSwitches.m_bIdbCom1, 1);
    EXPECT_EQ(g_IdbSwitches.m_nIdbLimitCom1, 64);
    EXPECT_EQ(g_IdbSwitches.m_nIdbLimitCom2, 32);
    BlockRows blocks = {Block("10", "1", "H0001", "2", "N007:000"), Block("10", "1", "H0011", "2", "N007:010"),
                        Block("16", "3", "C0001", "2", "N007:040")};
    // First save of the project: the file is written, then the rows are derived.
    g_strPrjFileLastIo = project;
    g_bProjectModified = 0;
    UpdateIdbAfterSave(blocks, IdbSaveState{true, false, false});
    ASSERT_EQ(p1->List().GetItemCount(), 2);
    EXPECT_EQ(Row(p1, 0), (std::vector<std::string>{"1", "H0001", "Word", "20", "1", "0", "No", "65535"}));
    EXPECT_EQ(Row(p1, 1), (std::vector<std::string>{"3", "C0001", "DiscritBit", "16", "1", "0", "No", "65535"}));
    ASSERT_EQ(p2->List().GetItemCount(), 2);
    EXPECT_EQ(Row(p2, 0), (std::vector<std::string>{"2", "N007:000", "Word", "20", "1", "0", "No", "65535"}));
    EXPECT_EQ(Row(p2, 1), (std::vector<std::string>{"2", "N007:040", "Word", "16", "1", "0", "No", "65535"}));

    // The engineer's choices, each written to the project's images at once.
    Choose(p1, 0, 3, 2);  // Float
    Type(p1, 0, 8, "123");
    Choose(p2, 1, 3, 1);  // DoubleWord
    Choose(p2, 1, 7, 0);  // Yes
    Type(p2, 1, 8, "7");
    UpdateIdbAfterSave(blocks, IdbSaveState{});
    const std::vector<IdbPaneRow> saved1 = p1->GetRows(), saved2 = p2->GetRows();

    // Reopened in a fresh program: nothing but the files.
    p1->ClearList();
    p2->ClearList();
    g_BlockTables = CBlockTableData();
    ClearStoredIdbRows();
    ClearIdbEntries();
    g_bIdbViewsFilled = 0;
    g_IdbSwitches = IdbPortSwitches{};
    LoadIdbSwitches();
    EXPECT_EQ(LoadIdbImages(), 0);
    EXPECT_EQ(p1->GetRows(), saved1);
    EXPECT_EQ(p2->GetRows(), saved2);
    EXPECT_EQ(Cell(p1, 0, 3), "Float");
    EXPECT_EQ(Cell(p2, 1, 7), "Yes");

    // A block added in front: the rows move, the choices stay on their addresses.
    blocks.insert(blocks.begin(), Block("4", "1", "H0500", "1", "N007:100"));
    UpdateIdbAfterSave(blocks, IdbSaveState{false, true, false});
    ASSERT_EQ(p1->List().GetItemCount(), 3);
    EXPECT_EQ(Row(p1, 0), (std::vector<std::string>{"1", "H0001", "Float", "20", "1", "0", "No", "123"}));
    EXPECT_EQ(Row(p1, 1), (std::vector<std::string>{"1", "H0500", "Word", "4", "1", "0", "No", "65535"}));
    ASSERT_EQ(p2->List().GetItemCount(), 3);
    EXPECT_EQ(Cell(p2, 0, 2), "N007:100");
    EXPECT_EQ(Row(p2, 2), (std::vector<std::string>{"2", "N007:040", "DoubleWord", "16", "1", "0", "Yes", "7"}));
    std::string bytes;
    ASSERT_TRUE(platform::ReadFileBytes(ProjectIdbPath(project, 2), bytes));
    EXPECT_EQ(bytes.size(), 3 * 19 + 1u);
    EXPECT_EQ(bytes.at(2 * 19 + 10), 4);  // DoubleWord
    EXPECT_EQ(bytes.at(2 * 19 + 16), 1);  // Yes
}

}  // namespace
