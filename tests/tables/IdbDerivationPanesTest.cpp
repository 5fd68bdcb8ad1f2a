// Rows derived from the blocks into the panes, with the save rules and the user's choices.
#include "compiler/IdbDerivation.h"
#include "IdbPaneFixture.h"
#include "platform/Text.h"

namespace {

using Derive = IdbPaneTest;

// A block from COM1 (Alpha Link) to COM2 (Beta Bus).
BlockRow Block(const std::string& words, const std::string& id1, const std::string& addr1, const std::string& id2,
               const std::string& addr2) {
    return {"1", words, "Alpha Link", id1, addr1, "Beta Bus", id2, addr2, "10", "0", ""};
}

std::vector<std::string> Rows(IdbPane* p) {
    std::vector<std::string> out;
    for (int r = 0; r < p->List().GetItemCount(); ++r)
        out.push_back(p->List().GetItemText(r, 1) + " " + p->List().GetItemText(r, 2) + " " +
                      p->List().GetItemText(r, 4));
    return out;
}

TEST_F(Derive, BlocksOfBothPortsArePackedIntoRowsOfTheLimit) {
    g_IdbSwitches.m_nIdbLimitCom1 = 16;
    // From COM2 to COM1 as well: the sides follow the Source PLC.
    BlockRow back = {"3", "2", "Beta Bus", "4", "L2", "Alpha Link", "1", "N130", "10", "0", ""};
    BuildIdbImage({Block("10", "1", "N100", "2", "L3"), Block("10", "1", "N105", "2", "L9"), back,
                   Block("4", "3", "N020", "2", "X5/1")});
    // Overlapping blocks share a row; a gap beyond the window starts a new one.
    EXPECT_EQ(Rows(p1), (std::vector<std::string>{"1 N100 15", "1 N130 2", "3 N020 4"}));
    // COM2: register L on stations 2 and 4, then the coil register X, which shares its
    // prefix with a word register and keeps its own address form.
    // An entry that overflows a full row goes to the next window.
    EXPECT_EQ(Rows(p2), (std::vector<std::string>{"2 L3 10", "2 L13 6", "4 L2 2", "2 X5/1 4"}));
    EXPECT_EQ(Cell(p2, 3, 3), "DiscritBit");
    // Default registers: one per rising station; COM2's stations are the node addresses.
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegStation1, (StringArray{"1", "3"}));
    EXPECT_EQ(g_EthNodeTable.g_arrNodeAddress, (StringArray{"2", "4"}));
    // The images hold the rows: 19 bytes each and the count.
    EXPECT_EQ(Working(1).size(), 3 * 19 + 1u);
    EXPECT_EQ(Working(2).size(), 4 * 19 + 1u);
    EXPECT_EQ(frame->GetActiveView(), block);
}

TEST_F(Derive, ALimitBelowOneCountsAsTen) {
    dir.Write("Plc/limit0.inf", "[Plc Info]\r\nIDB=true\r\nlimit=0\r\n");
    dir.Write("Plc/nolimit.inf", "[Plc Info]\r\nIDB=TRUE\r\n");
    t.g_strPlc1Inf = dir.Path() + "Plc/limit0.inf";
    t.g_strPlc2Inf = dir.Path() + "Plc/nolimit.inf";
    LoadIdbSwitches();
    EXPECT_EQ(g_IdbSwitches.m_bIdbCom1, 1);
    EXPECT_EQ(g_IdbSwitches.m_nIdbLimitCom1, 10);
    EXPECT_EQ(g_IdbSwitches.m_bIdbCom2, 1);
    EXPECT_EQ(g_IdbSwitches.m_nIdbLimitCom2, 10);
    dir.Write("Plc/off.inf", "[Plc Info]\r\nIDB=NA\r\nLimit=-3\r\n");
    t.g_strPlc1Inf = dir.Path() + "Plc/off.inf";
    LoadIdbSwitches();
    EXPECT_EQ(g_IdbSwitches.m_bIdbCom1, 0);
    EXPECT_EQ(IdbRowLimit(1), 10);

    // The derivation itself ends with any limit it is given.
    std::vector<IdbEntry> one = {{"N100", "1", "30"}};
    auto rows = DeriveIdbRows(one, 1, 0);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].start, "N120");
    EXPECT_EQ(rows[2].count, 10);
    EXPECT_EQ(DeriveIdbRows(one, 1, -5).size(), 3u);
}

TEST_F(Derive, HexadecimalRegistersAreValuedAndWrittenInHexadecimal) {
    // Code 5 registers carry hexadecimal digits.
    auto mixed = DeriveIdbRows({{"W0012:0F", "1", "1"}, {"W0012:1F", "1", "1"}}, 2, 64);
    ASSERT_EQ(mixed.size(), 1u);
    EXPECT_EQ(mixed[0].start, "W0012:0F");
    EXPECT_EQ(mixed[0].count, 0x11);
    // A hexadecimal register: the new row's number in its own digits, and a final A is a digit.
    auto hex = DeriveIdbRows({{"H00A", "1", "1"}, {"H100", "1", "2"}}, 1, 16);
    ASSERT_EQ(hex.size(), 2u);
    EXPECT_EQ(hex[0].start, "H00A");
    EXPECT_EQ(hex[1].start, "H100");
    EXPECT_EQ(hex[1].count, 2);
    auto next = DeriveIdbRows({{"H0F0", "1", "40"}}, 1, 16);
    ASSERT_EQ(next.size(), 3u);
    EXPECT_EQ(next[1].start, "H100");
    EXPECT_EQ(next[2].start, "H110");
    // A longer number never overwrites the register's prefix.
    EXPECT_EQ(FormatRowStartAddress(17005, "N7:012", 1), "N17:005");
    EXPECT_EQ(FormatRowStartAddress(17005, "N7:012"), "17:005");  // no prefix given: as before
    EXPECT_EQ(FormatRowStartAddress(1701203, "NB7:012/03", 2), "NB17:012/03");
}

TEST_F(Derive, TooManyRowsOrStationsAreCutWithAMessage) {
    g_IdbSwitches.m_nIdbLimitCom1 = 1;
    BlockRows many;
    for (int i = 0; i < 255; ++i) many.push_back(Block("2", "1", platform::Format("N%03d", 2 * i), "2", "L1"));
    ui.AnswerMessageBox(ui::IDOK, "The blocks give COM1 510 internal-database rows, but the unit holds at most 255. "
                                  "Only the first 255 rows are kept.");
    BuildIdbImage(many);
    EXPECT_EQ(p1->List().GetItemCount(), 255);
    EXPECT_EQ(static_cast<unsigned char>(Working(1).back()), 255);
    EXPECT_EQ(Working(1).size(), 255 * 19 + 1u);

    BlockRows stations;
    for (int i = 1; i <= 160; ++i) stations.push_back(Block("1", std::to_string(i), "N010", "2", "L1"));
    ui.AnswerMessageBox(ui::IDOK, "The internal database of COM1 reaches 160 stations, but the default communication "
                                  "registers hold at most 150. Only the first 150 are kept.");
    BuildIdbImage(stations);
    EXPECT_EQ(p1->List().GetItemCount(), 160);
    EXPECT_EQ(g_DefCommRegs.g_arrAttachRegStation1.size(), 150u);
}

TEST_F(Derive, APortWithoutEntriesShowsNoRowsAndUnknownRegistersAreSkipped) {
    BuildIdbImage({Block("4", "1", "N100", "2", "L3")});
    ASSERT_EQ(p1->List().GetItemCount(), 1);
    // COM1 side now of kind 4, COM2 side of no register at all.
    BuildIdbImage({Block("4", "1", "NB150", "2", "?7")});
    EXPECT_EQ(p1->List().GetItemCount(), 0);
    EXPECT_EQ(p2->List().GetItemCount(), 0);
    EXPECT_EQ(Working(1), std::string(1, '\0'));
    EXPECT_EQ(Working(2), std::string(1, '\0'));
    // A port without an internal database gets an empty file.
    g_IdbSwitches.m_bIdbCom2 = 0;
    BuildIdbImage({Block("4", "1", "N100", "2", "L3")});
    EXPECT_EQ(p2->List().GetItemCount(), 0);
    EXPECT_EQ(Working(1).size(), 20u);
    EXPECT_EQ(Working(2), "");
}

TEST_F(Derive, TheControlWordAndTheCanLayoutOfComTwo) {
    g_ProjectSettings.g_bCtrlWordEnabled = 1;
    g_ProjectSettings.g_nCtrlWordSide = 0;
    g_ProjectSettings.g_strCtrlWordShown = "N500";
    g_ProjectSettings.g_nCtrlWordStation = 9;
    g_ProjectSettings.g_nCtrlWordWords = 1;
    g_bCom2IsCAN = 1;
    BuildIdbImage({Block("4", "1", "N100", "7", "L3"), Block("4", "1", "N104", "7", "L3")});
    EXPECT_EQ(Rows(p1), (std::vector<std::string>{"1 N100 8", "9 N500 1"}));
    // One row per COM2 entry, in block order, with no packing.
    EXPECT_EQ(p2->List().GetItemCount(), 2);
    EXPECT_EQ(Cell(p2, 1, 1), "7");
    EXPECT_EQ(Cell(p2, 1, 2), "L3");
}

TEST_F(Derive, SavesKeepTheUsersChoicesOnTheirAddresses) {
    const std::string project = dir.Path() + "QVX-T/Projects/Line.prj";
    g_strPrjFileLastIo = project;
    g_bProjectModified = 0;
    BlockRows rows = {Block("4", "1", "N100", "2", "L3"), Block("4", "1", "N200", "3", "L3")};
    UpdateIdbAfterSave(rows, IdbSaveState{true, false, false});
    EXPECT_EQ(g_bIdbViewsFilled, 1);
    EXPECT_EQ(Rows(p1), (std::vector<std::string>{"1 N100 4", "1 N200 4"}));
    std::string saved;
    ASSERT_TRUE(platform::ReadFileBytes(ProjectIdbPath(project, 1), saved));
    EXPECT_EQ(saved.size(), 2 * 19 + 1u);

    // The user marks N200 and saves without block edits: only the images are written.
    p1->List().UserClickCell(1, 7);
    p1->m_comboCell.Control()->UserSelect(0);
    p1->List().UserClickCell(1, 0);
    EXPECT_EQ(g_bIdb1Edited, 1);
    UpdateIdbAfterSave(rows, IdbSaveState{});
    EXPECT_EQ(g_bIdb1Edited, 0);
    ASSERT_TRUE(platform::ReadFileBytes(ProjectIdbPath(project, 1), saved));
    EXPECT_EQ(saved.at(19 + 16), 1);

    // A block in front moves N200 down a row: its choice goes with it.
    rows.insert(rows.begin(), Block("4", "1", "N050", "2", "L9"));
    UpdateIdbAfterSave(rows, IdbSaveState{false, true, false});
    EXPECT_EQ(Rows(p1), (std::vector<std::string>{"1 N050 4", "1 N100 4", "1 N200 4"}));
    EXPECT_EQ(Cell(p1, 1, 7), "No");
    EXPECT_EQ(Cell(p1, 2, 7), "Yes");

    // Rows taken from a unit are written as they stand, not derived again.
    p1->List().SetItemText(0, 8, "42");
    g_bIdbModified = 1;
    UpdateIdbAfterSave({}, IdbSaveState{false, true, true});
    EXPECT_EQ(g_bIdbModified, 0);
    EXPECT_EQ(p1->List().GetItemCount(), 3);
    ASSERT_TRUE(platform::ReadFileBytes(ProjectIdbPath(project, 1), saved));
    EXPECT_EQ(saved.at(17), 42);

    // A confirmed control word derives again.
    g_ProjectSettings.g_bCtrlWordEnabled = 1;
    g_ProjectSettings.g_strCtrlWordShown = "N900";
    g_ProjectSettings.g_nCtrlWordStation = 1;
    g_ProjectSettings.g_nCtrlWordWords = 1;
    UpdateIdbAfterSave(rows, IdbSaveState{false, false, true});
    EXPECT_EQ(p1->List().GetItemCount(), 4);
}

TEST_F(Derive, SaveAsWritesThePanesAsTheyStand) {
    const std::string project = dir.Path() + "QVX-T/Projects/Copy.prj";
    g_strPrjFileLastIo = project;
    g_bProjectModified = 0;  // the project file is written
    const BlockRows rows = {Block("4", "1", "N100", "2", "L3")};
    UpdateIdbAfterSave(rows, IdbSaveState{true, false, false});
    p1->List().SetItemText(0, 8, "42");  // a row the engineer kept
    UpdateIdbAfterSave(rows, IdbSaveState{true, false, false, true});
    std::string saved;
    ASSERT_TRUE(platform::ReadFileBytes(ProjectIdbPath(project, 1), saved));
    EXPECT_EQ(saved.at(17), 42);
}

}  // namespace
