// The internal-database panes and their cell editors, driven as a person would.
#include "IdbPaneFixture.h"

namespace {

using ui::ControlKind;

TEST_F(IdbPaneTest, ColumnsOfBothPanesAndTheEmptyListText) {
    const std::vector<std::pair<std::string, int>> expected = {
        {"IDB FOR COM1", 100}, {"Node Address", 80},       {"Starting Address", 90},
        {"DataType", 90},      {"#Words/Bits", 80},        {"Scaling Factor", 80},
        {"Skip For # Cycle", 100}, {"Skip on Comm.Fail", 100}, {"Fail Value", 60}};
    ASSERT_EQ(p1->List().GetColumnCount(), 9);
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(p1->List().GetColumnHeading(c), expected[size_t(c)].first);
        EXPECT_EQ(p1->List().GetColumnWidth(c), expected[size_t(c)].second);
        EXPECT_EQ(p1->List().GetColumnFormat(c), ui::LVCFMT_LEFT);
    }
    EXPECT_EQ(p2->List().GetColumnHeading(0), "IDB FOR COM2");
    // Set up again after a reset: still exactly nine columns.
    p2->ResetColumns();
    EXPECT_EQ(p2->List().GetColumnCount(), 0);
    p2->OnInitialUpdate();
    p2->OnInitialUpdate();
    EXPECT_EQ(p2->List().GetColumnCount(), 9);
    p1->OnInitialUpdate();
    EXPECT_EQ(p1->List().GetColumnCount(), 9);

    // Empty: the list keeps only its header and the pane paints the green text below it.
    RecordingPainter empty;
    p1->OnDraw(empty);
    ASSERT_EQ(empty.texts.size(), 1u);
    EXPECT_EQ(empty.texts[0], "No Internal Database For COM1 PLC.");
    EXPECT_EQ(empty.colors[0], ui::RGB(100, 200, 0));
    EXPECT_GE(empty.fills.at(0).top, p1->List().GetHeaderHeight() + 10);
    EXPECT_LT(p1->List().GetRect().Height(), 60);
    RecordingPainter second;
    p2->OnDraw(second);
    EXPECT_EQ(second.texts, std::vector<std::string>{"No Internal Database For COM2 PLC."});

    // One row: the list takes the whole pane and nothing is painted.
    p1->AddRow("1", "N012", 4);
    RecordingPainter filled;
    p1->OnDraw(filled);
    EXPECT_TRUE(filled.texts.empty());
    EXPECT_EQ(p1->List().GetRect().Height(), 200);
    p1->ClearList();
    RecordingPainter again;
    p1->OnDraw(again);
    EXPECT_EQ(again.texts.size(), 1u);

    // A narrow pane wraps the text at blanks.
    p1->Resize(100, 200);
    RecordingPainter narrow;
    p1->OnDraw(narrow);
    EXPECT_GT(narrow.texts.size(), 1u);
}

TEST_F(IdbPaneTest, RowsTakeDefaultsUntilSavedThenTheChoicesOfTheirAddress) {
    p1->AddRow("1", "N012", 4);
    p1->AddRow("2", " B005/03", 1);  // a coil
    EXPECT_EQ(Row(p1, 0), (std::vector<std::string>{"1", "N012", "Word", "4", "1", "0", "No", "65535"}));
    EXPECT_EQ(Cell(p1, 1, 3), "DiscritBit");
    EXPECT_EQ(g_nLastAddressKind, 1);

    // Stored choices: found by node and address, not by position.
    p1->List().SetItemText(0, 3, "Float");
    p1->List().SetItemText(0, 7, "Yes");
    p1->List().SetItemText(0, 8, "7");
    WriteIdbImages();
    g_bIdbViewsFilled = 1;
    p1->ClearList();
    p1->AddRow("5", "N020", 1);  // new at row 0: defaults
    p1->AddRow("1", "N012", 4);  // moved to row 1: keeps its choices
    EXPECT_EQ(Row(p1, 0), (std::vector<std::string>{"5", "N020", "Word", "1", "1", "0", "No", "65535"}));
    EXPECT_EQ(Row(p1, 1), (std::vector<std::string>{"1", "N012", "Float", "4", "1", "0", "Yes", "7"}));

    // A stored bit type on a register address shows as a word.
    ASSERT_EQ(FindStoredIdbRow(1, "1", "N012"), 0);
    g_BlockTables.m_anCom1DataType[0] = 1;
    p1->ClearList();
    p1->AddRow("5", "N020", 1);
    p1->AddRow("1", "N012", 4);
    EXPECT_EQ(Cell(p1, 1, 3), "Word");

    // COM2 with PLC number 118 counts no words.
    t.g_strPLC2Id = "118";
    p2->AddRow("3", "L5", 6);
    EXPECT_EQ(Cell(p2, 0, 4), "0");
}

TEST_F(IdbPaneTest, ClicksOpenEditorsOnlyOnTheUsersColumns) {
    p1->AddRow("1", "N012", 4);
    p1->AddRow("2", " B005/03", 1);
    ui::ListView& list = p1->List();
    for (int col : {0, 1, 2, 4, 5, 6}) {
        ASSERT_TRUE(list.UserClickCell(0, col));
        EXPECT_FALSE(p1->m_comboCell.IsOpen()) << col;
        EXPECT_FALSE(p1->m_editCell.IsOpen()) << col;
        EXPECT_EQ(g_nIDBClickCol1, col);
    }
    list.UserClickCell(-1, 3);  // below the rows
    EXPECT_FALSE(p1->m_comboCell.IsOpen());

    // A register offers the four word types, the current one selected, over the cell.
    list.UserClickCell(0, 3);
    ui::ListControl* combo = p1->m_comboCell.Control();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->Kind(), ControlKind::DropList);
    EXPECT_EQ(combo->GetDlgCtrlID(), 1001);
    EXPECT_TRUE(combo->HasFocus());
    std::vector<std::string> items;
    for (int i = 0; i < combo->GetCount(); ++i) items.push_back(combo->GetLBText(i));
    EXPECT_EQ(items, (std::vector<std::string>{"Word", "DoubleWord", "Float", "SwapFloat"}));
    EXPECT_EQ(combo->GetCurSel(), 0);
    const ui::Rect cell = p1->ControlToWindow(list, list.GetSubItemRect(0, 3));
    EXPECT_EQ(combo->GetRect().left, cell.left);
    EXPECT_EQ(combo->GetRect().top, cell.top);
    EXPECT_EQ(combo->GetRect().bottom, cell.bottom + 80);

    // A bit address offers "DiscritBit" alone; an empty address the kind seen last.
    list.UserClickCell(1, 3);
    combo = p1->m_comboCell.Control();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetCount(), 1);
    EXPECT_EQ(combo->GetLBText(0), "DiscritBit");
    list.SetItemText(0, 2, "");
    list.UserClickCell(0, 3);
    EXPECT_EQ(p1->m_comboCell.Control()->GetCount(), 1);

    list.UserClickCell(0, 7);
    combo = p1->m_comboCell.Control();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetLBText(0), "Yes");
    EXPECT_EQ(combo->GetCurSel(), 1);  // "No"

    list.UserClickCell(0, 8);
    EXPECT_FALSE(p1->m_comboCell.IsOpen());
    ui::Control* edit = p1->m_editCell.Control();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetDlgCtrlID(), 1);
    EXPECT_EQ(edit->GetWindowText(), "65535");
    EXPECT_EQ(edit->GetLimitText(), 5);
    EXPECT_TRUE(edit->HasStyle(ui::style::kUpperCase));
    EXPECT_TRUE(edit->HasFocus());
}

TEST_F(IdbPaneTest, ChoiceListsStoreOnLeavingAndRewriteTheImages) {
    p1->AddRow("1", "N012", 4);
    p2->AddRow("1", "L5", 2);
    ui::ListView& list = p1->List();

    // Tab closes a COM1 list and stores its selection; the image follows at once.
    list.UserClickCell(0, 3);
    p1->m_comboCell.Control()->UserSelect(2);
    ASSERT_TRUE(p1->m_comboCell.Control()->UserKey(ui::VK_TAB));
    EXPECT_FALSE(p1->m_comboCell.IsOpen());
    EXPECT_EQ(Cell(p1, 0, 3), "Float");
    EXPECT_EQ(Working(1).at(10), 5);
    EXPECT_EQ(g_bIdb1Edited, 1);

    // Up and Down move the choice; Enter stores it.
    list.UserClickCell(0, 7);
    p1->m_comboCell.Control()->UserKey(ui::VK_UP);
    p1->m_comboCell.Control()->UserKey(ui::VK_RETURN);
    EXPECT_EQ(Cell(p1, 0, 7), "Yes");
    EXPECT_EQ(Working(1).at(16), 1);

    // A value that is not among the choices becomes the first when the list is left.
    list.SetItemText(0, 3, "Byte");
    list.UserClickCell(0, 3);
    list.UserClickCell(0, 1);  // elsewhere
    EXPECT_EQ(Cell(p1, 0, 3), "Word");

    // In the COM2 pane no key closes the list: it stays until the focus leaves it.
    p2->List().UserClickCell(0, 3);
    p2->m_comboCell.Control()->UserSelect(1);
    p2->m_comboCell.Control()->UserKey(ui::VK_TAB);
    EXPECT_TRUE(p2->m_comboCell.IsOpen());
    EXPECT_EQ(Cell(p2, 0, 3), "Word");
    p2->List().UserClickCell(0, 0);
    EXPECT_FALSE(p2->m_comboCell.IsOpen());
    EXPECT_EQ(Cell(p2, 0, 3), "DoubleWord");
    // Each write clears both flags before the editor sets its own.
    EXPECT_EQ(g_bIdb1Edited, 0);
    EXPECT_EQ(g_bIdb2Edited, 1);
    EXPECT_EQ(Working(2).at(10), 4);
    EXPECT_EQ(frame->GetActiveView(), block);
}

TEST_F(IdbPaneTest, TheFailValueEditFiltersItsTextAndChecksTheRange) {
    p1->AddRow("1", "N012", 4);
    ui::ListView& list = p1->List();
    list.UserClickCell(0, 8);
    ui::Control* edit = p1->m_editCell.Control();
    edit->UserType("1.5");
    EXPECT_EQ(edit->GetWindowText(), "15");
    EXPECT_EQ(edit->GetSelStart(), 2);
    edit->UserType("-1");
    EXPECT_EQ(edit->GetWindowText(), "1");
    edit->UserType("2a");
    EXPECT_EQ(edit->GetWindowText(), "2A");
    EXPECT_EQ(FilterCellEditText("1 2-3.4,5:6/7x"), "12345:6/7");
    // Enter stores, as does Escape.
    edit->UserType("1234");
    edit->UserKey(ui::VK_RETURN);
    EXPECT_FALSE(p1->m_editCell.IsOpen());
    EXPECT_EQ(Cell(p1, 0, 8), "1234");
    EXPECT_EQ(static_cast<unsigned char>(Working(1).at(17)), 0xD2);
    EXPECT_EQ(list.HasFocus(), true);
    list.UserClickCell(0, 8);
    p1->m_editCell.Control()->UserType("77");
    p1->m_editCell.Control()->UserKey(ui::VK_ESCAPE);
    EXPECT_EQ(Cell(p1, 0, 8), "77");

    // Above 65535, or no number: a message naming the range, and the default.
    ui.AnswerMessageBox(ui::IDOK, "The Fail Value must be a number from 0 to 65535.");
    list.UserClickCell(0, 8);
    p1->m_editCell.Control()->UserType("70000");
    list.UserClickCell(0, 1);
    EXPECT_EQ(Cell(p1, 0, 8), "65535");
    ui.AnswerMessageBox(ui::IDOK, "The Fail Value must be a number from 0 to 65535.");
    list.UserClickCell(0, 8);
    p1->m_editCell.Control()->UserType("");
    p1->m_editCell.Control()->UserKey(ui::VK_RETURN);
    EXPECT_EQ(Cell(p1, 0, 8), "65535");
    EXPECT_EQ(ui.MessageBoxes().back().caption, "Invalid Value");

    // An edit open in one pane is stored by a click in the other pane.
    p2->AddRow("1", "L5", 2);
    list.UserClickCell(0, 8);
    p1->m_editCell.Control()->UserType("9");
    p2->List().UserClickCell(0, 1);
    EXPECT_FALSE(p1->m_editCell.IsOpen());
    EXPECT_EQ(Cell(p1, 0, 8), "9");

    // Clearing the rows while an editor is open closes it, storing what was typed first.
    list.UserClickCell(0, 8);
    p1->m_editCell.Control()->UserType("5");
    p1->ClearList();
    EXPECT_FALSE(p1->m_editCell.IsOpen());
    EXPECT_EQ(Working(1).at(17), 5);
}

TEST_F(IdbPaneTest, HelpAfterAClickOpensTheInternalDatabasePage) {
    std::vector<std::string> shown;
    ui::SetHelpHandler([&] { shown.push_back(g_szHelpTopic); });
    p2->AddRow("1", "L5", 2);
    g_szHelpTopic = "other.htm";
    p2->UserKey(nullptr, ui::VK_F1);
    p2->List().UserClickCell(0, 1);
    EXPECT_EQ(g_bIDBClicked, 1);
    p2->List().UserKey(ui::VK_F1);
    EXPECT_EQ(g_bIDBClicked, 0);
    g_szHelpTopic = "again.htm";
    p2->List().UserKey(ui::VK_F1);  // no new click: the current topic
    EXPECT_EQ(shown, (std::vector<std::string>{"other.htm", "Internal Database Setup.htm", "again.htm"}));
    ui::SetHelpHandler(nullptr);
}

TEST(IdbPaneConverters, TextsAndCodesOfBothPanes) {
    DBViewClass1 one;
    DBViewClass2 two;
    EXPECT_EQ(one.DataTypeTextToCode("Nope"), 0);
    EXPECT_EQ(two.DataTypeTextToCode("Nope"), 6);
    EXPECT_EQ(two.DataTypeTextToCode("Input"), 1);
    EXPECT_EQ(one.DataTypeTextToCode("word"), 0);  // case matters
    EXPECT_EQ(one.YesTextToBool("Yes"), 1);
    EXPECT_EQ(two.YesTextToBool("yes"), 0);
    EXPECT_EQ(one.DataTypeCodeToText(6), "SwapFloat");
    EXPECT_EQ(one.DataTypeCodeToText(7), "");
    EXPECT_EQ(one.BoolToYesText(1), "Yes");
    EXPECT_EQ(two.BoolToYesText(0), "No");
    EXPECT_EQ(two.BoolToYesText(2), "");
    EXPECT_EQ(DBViewClass2::DirectionCodeToText(2), "Output");
    EXPECT_EQ(DBViewClass2::DirectionCodeToText(3), "");
    EXPECT_EQ(g_pDBView1, &one);
    EXPECT_EQ(g_pDBView2, &two);
}

}  // namespace
