// Cells of the newer block list edited in place, from the click to the stored text: the
// editor each column gets, the typing rules, the entry check's messages, the full form of
// addresses, the keys, Escape and focus loss, the PLC list and the Set Address buttons.
#include "EditorViewFixture.h"
#include "compiler/BlockAddress.h"

namespace {

class CellEditorsTest : public EditorViewTest {
protected:
    void SetUp() override {
        EditorViewTest::SetUp();
        Configure("QVX-S7", 82, "101", 1, "102", 1);
        Open();
    }
    // The PLC of a row's end chosen in its drop-down list (entry 0: COM1, 1: COM2).
    void ChoosePlc(int row, int col, int entry) {
        ASSERT_TRUE(List().UserClickCell(row, col));
        ASSERT_NE(Combo(), nullptr);
        ASSERT_TRUE(Combo()->UserSelect(entry));
        ASSERT_TRUE(List().UserFocus());  // the list takes the focus: the choice is stored
    }
};

const char* kWordsMessage =
    "For word operation, valid entry is 1- 64. For bit operation, valid entry is 1. Please enter valid data.";
const char* kWordsAndBitsMessage =
    "For word operation, valid entry is 1- 64. For bit operation, valid entry is 1 - 64. Please enter valid data.";

TEST_F(CellEditorsTest, ClickOpensAnEditOverTheCellAndPlacesTheButtons) {
    ASSERT_TRUE(List().UserClickCell(0, 1));
    ui::Control* edit = Edit();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetRect(), view->ControlToWindow(List(), List().GetSubItemRect(0, 1)));
    EXPECT_EQ(edit->GetWindowText(), "1");
    EXPECT_EQ(edit->GetLimitText(), 3);
    EXPECT_TRUE(edit->HasStyle(ui::style::kUpperCase));
    EXPECT_TRUE(edit->HasFocus());
    EXPECT_EQ(g_nNewBlockEditRow, 0);
    EXPECT_EQ(g_nNewBlockEditCol, 1);
    EXPECT_EQ(g_bProjectModified, 1);

    for (auto [id, col] : {std::pair{IDC_SOURCE_ADDR_BUTTON, 4}, {IDC_DEST_ADDR_BUTTON, 7}}) {
        ui::Control* button = view->GetDlgItem(id);
        ASSERT_NE(button, nullptr);
        const ui::Rect cell = view->ControlToWindow(List(), List().GetSubItemRect(0, col));
        EXPECT_EQ(button->GetRect(), (ui::Rect{cell.right - 20, cell.top, cell.right, cell.bottom}));
        EXPECT_EQ(button->GetToolTip(), "Set Address from Table");
        EXPECT_NE(button->GetBitmap(), nullptr);
    }

    // An address cell's edit leaves room for its button; the comment takes any case.
    List().UserClickCell(0, 4);
    EXPECT_EQ(Edit()->GetRect().right, view->ControlToWindow(List(), List().GetSubItemRect(0, 4)).right - 20);
    EXPECT_EQ(Edit()->GetLimitText(), 11);
    List().UserClickCell(0, 10);
    EXPECT_EQ(Edit()->GetLimitText(), 100);
    EXPECT_FALSE(Edit()->HasStyle(ui::style::kUpperCase));
    // The block number has no editor.
    List().UserClickCell(0, 0);
    EXPECT_EQ(Edit(), nullptr);
    EXPECT_EQ(Combo(), nullptr);
}

TEST_F(CellEditorsTest, NumbersAreCheckedWithTheirMessagesBeforeTheyAreStored) {
    TypeIntoCell(0, 1, "12");
    EXPECT_EQ(Cell(0, 1), "12");
    EXPECT_EQ(g_bNewBlockListEdited, 1);
    EXPECT_NE(Combo(), nullptr);  // Enter went on to the PLC column

    TypeIntoCell(0, 1, "0");
    EXPECT_EQ(host.LastInfo(), kWordsMessage);
    EXPECT_EQ(view->GetInfoText(), kWordsMessage);
    EXPECT_EQ(Cell(0, 1), "12");
    TypeIntoCell(0, 1, "65");
    EXPECT_EQ(host.LastInfo(), kWordsMessage);
    TypeIntoCell(0, 1, "1a");
    EXPECT_EQ(host.LastInfo(), kWordsAndBitsMessage);
    EXPECT_EQ(Cell(0, 1), "12");
    TypeIntoCell(0, 1, "64");
    EXPECT_EQ(Cell(0, 1), "64");

    TypeIntoCell(0, 3, "256");
    EXPECT_EQ(host.LastInfo(), "Valid range is 0 to 255. Please enter valid data.");
    EXPECT_EQ(Cell(0, 3), "1");
    TypeIntoCell(0, 6, "0");
    EXPECT_EQ(Cell(0, 6), "0");

    TypeIntoCell(0, 8, "0");
    EXPECT_EQ(host.LastInfo(), "Valid range is 1 to 99. Please enter valid data.");
    TypeIntoCell(0, 8, "100");  // the edit takes two characters
    EXPECT_EQ(Cell(0, 8), "10");

    TypeIntoCell(0, 9, "256");
    EXPECT_EQ(host.LastInfo(), "Valid range is 1 to 255. Please enter valid data.");
    TypeIntoCell(0, 9, "255");
    EXPECT_EQ(Cell(0, 9), "255");

    // Blanks only: nothing checked, nothing stored.
    host.infos.clear();
    TypeIntoCell(0, 6, "   ");
    EXPECT_EQ(Cell(0, 6), "0");
    EXPECT_EQ(host.LastInfo(), "");
}

TEST_F(CellEditorsTest, TypingKeepsOnlyCapitalsDigitsAndAddressMarks) {
    List().UserClickCell(0, 1);
    Edit()->UserType("1.2");
    EXPECT_EQ(Edit()->GetWindowText(), "12");
    List().UserClickCell(0, 4);
    // The whole text is filtered, not only its first characters.
    Edit()->UserType("h0000001.5");
    EXPECT_EQ(Edit()->GetWindowText(), "H00000015");

    // The comment keeps every character, in its case.
    TypeIntoCell(0, 10, "Pump 3, tank level.");
    EXPECT_EQ(Cell(0, 10), "Pump 3, tank level.");
    // One longer than the project file keeps is refused with a message.
    const std::string tooLong(size_t(CNewBlockCellEdit::MaxCommentLength()) + 1, 'x');
    TypeIntoCell(0, 10, tooLong);
    EXPECT_EQ(Cell(0, 10), "Pump 3, tank level.");
    EXPECT_EQ(host.LastInfo(),
              "The comment is too long. A comment may hold at most 55 characters. Please enter valid data.");
    TypeIntoCell(0, 10, tooLong.substr(1));
    EXPECT_EQ(Cell(0, 10), tooLong.substr(1));
}

TEST_F(CellEditorsTest, AddressesAreCheckedAgainstTheRowsPlcAndStoredInFullForm) {
    TypeIntoCell(0, 4, "H1");
    EXPECT_EQ(host.LastInfo(), "PLC not selected !");
    EXPECT_EQ(Cell(0, 4), " ");

    ChoosePlc(0, 2, 0);
    EXPECT_EQ(Cell(0, 2), kMasterPlc1);
    TypeIntoCell(0, 4, "h1");
    EXPECT_EQ(Cell(0, 4), "H0001");
    TypeIntoCell(0, 4, "Q5");
    EXPECT_EQ(host.LastInfo(),
              "Invalid Prefix. Please enter valid data. To see details, click on 'Get PLC Address' Button.");
    EXPECT_EQ(Cell(0, 4), "H0001");
    TypeIntoCell(0, 4, "H0");  // below the register's range
    EXPECT_EQ(Cell(0, 4), "H0001");

    // A bit after '_': 0 to 15, written like any other address.
    TypeIntoCell(0, 4, "H12_3");
    EXPECT_EQ(Cell(0, 4), "H0012_3");
    TypeIntoCell(0, 4, "H12_16");
    EXPECT_EQ(Cell(0, 4), "H0012_3");
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "Invalid Bit Value. Please enter valid data.");
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "Invalid Bit");
    TypeIntoCell(0, 4, "H12_X");
    EXPECT_EQ(host.LastInfo(), "Invalid Bit Value. Please enter valid data.");
    EXPECT_EQ(Cell(0, 4), "H0012_3");

    // The destination on the COM2 PLC: its parts filled to the register's widths.
    ChoosePlc(0, 5, 1);
    EXPECT_EQ(Cell(0, 5), kMasterPlc2);
    TypeIntoCell(0, 7, "n7:3");
    EXPECT_EQ(Cell(0, 7), "N007:003");
    TypeIntoCell(0, 7, "B3/15");
    EXPECT_EQ(Cell(0, 7), "B03/0015");
    TypeIntoCell(0, 7, "H1");  // a Modbus address on the DF1 side
    EXPECT_EQ(Cell(0, 7), "B03/0015");
}

TEST_F(CellEditorsTest, OnlyAWordRegisterTakesABit) {
    ChoosePlc(0, 2, 0);
    ChoosePlc(0, 5, 1);
    TypeIntoCell(0, 4, "H1_3");
    EXPECT_EQ(Cell(0, 4), "H0001_3");
    TypeIntoCell(0, 7, "N7:0_3");
    EXPECT_EQ(Cell(0, 7), "N007:000_3");
    ASSERT_TRUE(ui.MessageBoxes().empty());

    // A coil has no bits: the cells keep their words, and the reason is told.
    TypeIntoCell(0, 4, "C1_3");
    EXPECT_EQ(Cell(0, 4), "H0001_3");
    TypeIntoCell(0, 7, "B3/1_4");
    EXPECT_EQ(Cell(0, 7), "N007:000_3");
    ASSERT_EQ(ui.MessageBoxes().size(), 2u);
    for (const auto& box : ui.MessageBoxes()) {
        EXPECT_EQ(box.text, "Invalid Bit Value. Please enter valid data.");
        EXPECT_EQ(box.caption, "Invalid Bit");
    }
    EXPECT_EQ(host.LastInfo(), "Invalid Bit Value. Please enter valid data.");
    // The same coils without a bit are taken.
    TypeIntoCell(0, 4, "C1");
    EXPECT_EQ(Cell(0, 4), "C0001");
    TypeIntoCell(0, 7, "B3/1");
    EXPECT_EQ(Cell(0, 7), "B03/0001");
}

TEST_F(CellEditorsTest, NoBitWhereTheAddressDialogOffersNone) {
    // The CAN product with J1939 Node on COM2: the address dialog offers a bit on neither port.
    frame.reset();
    ResetEditorGlobals();
    Configure("QVX-300", 83, "101", 1, "172", 1);
    Open();
    ChoosePlc(0, 2, 0);
    ChoosePlc(0, 5, 1);
    TypeIntoCell(0, 7, "p0:0/fef1_3");
    EXPECT_EQ(Cell(0, 7), " ");
    TypeIntoCell(0, 4, "h1_3");
    EXPECT_EQ(Cell(0, 4), " ");
    ASSERT_EQ(ui.MessageBoxes().size(), 2u);
    for (const auto& box : ui.MessageBoxes()) EXPECT_EQ(box.text, "Invalid Bit Value. Please enter valid data.");
    EXPECT_EQ(host.LastInfo(), "Invalid Bit Value. Please enter valid data.");
    // The same addresses without a bit are taken.
    TypeIntoCell(0, 7, "p0:0/fef1");
    EXPECT_EQ(Cell(0, 7), "P0:00/FEF1");
    TypeIntoCell(0, 4, "h1");
    EXPECT_EQ(Cell(0, 4), "H0001");

    // A project holding the bit (from a file) is refused by the block check.
    view->SetCellText(0, 7, "P0:00/FEF1_3");
    host.infos.clear();
    EXPECT_EQ(view->CompileBlock(0), 1);
    EXPECT_EQ(host.LastInfo(), "Error while compiling block 1. No address can carry a bit while COM2 has a CAN driver.");
    // A blank in front of the address (from a file) is no part of it.
    view->SetCellText(0, 7, " P0:00/0000");
    EXPECT_EQ(view->CompileBlock(0), 1);
    EXPECT_EQ(host.LastInfo(), "Error while compiling block 1. The address  P0:00/0000 is not valid. Please enter valid data.");
}

// What a person leaves in a cell is stored as shown and passes the block check, with the bit
// the unit gets; or it is refused with a message, and the same text held by a project file
// (edited by hand) is refused by the block check.
TEST_F(CellEditorsTest, WhatTheCellRefusesTheBlockCheckRefusesAndWhatItTakesIsSentAsShown) {
    const char* kBadBit = "Invalid Bit Value. Please enter valid data.";
    const char* kIds = "Valid range is 0 to 255. Please enter valid data.";
    const struct {
        int col;
        const char* typed;
        const char* stored;  // nullptr: refused
        const char* file;    // the text a file would hold
        const char* blockMessage;
    } cases[] = {
        {4, "h1_15", "H0001_15", nullptr, nullptr},
        {7, "n7:0_015", "N007:000_015", nullptr, nullptr},
        {4, "h1_16", nullptr, "H0001_16", kBadBit},
        {4, "h1_x", nullptr, "H0001_X", kBadBit},
        {4, "h1_", nullptr, "H0001_", kBadBit},
        {7, "n7:0_99", nullptr, "N007:000_99", kBadBit},
        {4, "c1_3", nullptr, "C0001_3", "Only a register address can carry a bit."},
        {4, "h0", nullptr, "H0000", "The address H0000 is not valid. Please enter valid data."},
        // A part the register has not: H12 and N7:3 were stored and sent in their place.
        {4, "h1:2", nullptr, "H0001:2", "The address H0001:2 is not valid. Please enter valid data."},
        {7, "n7:0/3", nullptr, "N007:000/3", "The address N007:000/3 is not valid. Please enter valid data."},
        {7, "n7:0/3_1", nullptr, "N007:000/3_1", "The address N007:000/3_1 is not valid. Please enter valid data."},
        {3, "256", nullptr, "256", kIds},
        {6, "300", nullptr, "300", kIds},
        {8, "0", nullptr, "0", "Valid range is 1 to 99. Please enter valid data."},
        {9, "255", "255", nullptr, nullptr},
        {9, "256", nullptr, "256", "Valid range is 1 to 255. Please enter valid data."},
        // The edit keeps no blank or tab; around an address read from a file they would be
        // judged away and sent as no register.
        {4, " h1", "H0001", " H0001", "The address  H0001 is not valid. Please enter valid data."},
        {7, "n7:0 ", "N007:000", "N007:000 ", "The address N007:000  is not valid. Please enter valid data."},
        {4, "h1", "H0001", "\tH0001", "The address \tH0001 is not valid. Please enter valid data."},
        // The word count as the unit gets it: no text after or in front of the digits.
        {1, "10", "10", "00010", nullptr},
        {1, "1/", nullptr, "0001/", kWordsAndBitsMessage},
        {1, "/1", nullptr, "/0010", kWordsAndBitsMessage},
        {1, "10", "10", "10 ", kWordsAndBitsMessage},
        {1, "700", nullptr, "70000", kWordsMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        // A complete block; the other end is a coil when this one carries a bit.
        const bool bit = std::string(c.stored ? c.stored : c.file).find('_') != std::string::npos;
        const std::string block[] = {"1", kMasterPlc1, "1", bit && c.col == 7 ? "C0001" : "H0001", kMasterPlc2, "1",
                                     bit && c.col == 4 ? "B03/0001" : "N007:000", "10", "0"};
        for (int col = 1; col <= 9; ++col) view->SetCellText(0, col, block[col - 1]);
        host.infos.clear();
        TypeIntoCell(0, c.col, c.typed);
        if (c.stored) {
            EXPECT_EQ(Cell(0, c.col), c.stored);
            EXPECT_EQ(view->CompileBlock(0), 0) << host.LastInfo();
            if (bit) EXPECT_EQ(SplitAtUnderscore(c.stored), 15);
        } else {
            EXPECT_EQ(Cell(0, c.col), block[c.col - 1]);
            EXPECT_FALSE(host.LastInfo().empty());
        }
        if (!c.file) continue;
        view->SetCellText(0, c.col, c.file);
        host.infos.clear();
        EXPECT_EQ(view->CompileBlock(0), c.blockMessage ? 1 : 0) << host.LastInfo();
        if (c.blockMessage) EXPECT_EQ(host.LastInfo(), "Error while compiling block 1. " + std::string(c.blockMessage));
    }
}

TEST_F(CellEditorsTest, KeysMoveBetweenCellsAndEscapeOrFocusLossEndTheEdit) {
    // Escape: the cell keeps its text.
    List().UserClickCell(0, 3);
    Edit()->UserType("77");
    Edit()->UserKey(ui::VK_ESCAPE);
    EXPECT_EQ(Edit(), nullptr);
    EXPECT_EQ(Cell(0, 3), "1");

    // Focus loss to another cell stores the text and opens that cell's editor.
    List().UserClickCell(0, 3);
    Edit()->UserType("42");
    List().UserClickCell(0, 6);
    EXPECT_EQ(Cell(0, 3), "42");
    EXPECT_EQ(g_nNewBlockEditCol, 6);
    ASSERT_NE(Edit(), nullptr);
    EXPECT_EQ(Edit()->GetWindowText(), "1");

    // Tab goes on to the next column; arrows stay in the edit.
    Edit()->UserType("9");
    Edit()->UserKey(ui::VK_LEFT);
    EXPECT_EQ(Edit()->GetSelStart(), 0);
    Edit()->UserKey(ui::VK_TAB);
    EXPECT_EQ(Cell(0, 6), "9");
    EXPECT_EQ(g_nNewBlockEditCol, 7);
    ASSERT_NE(Edit(), nullptr);
    // The last column: Tab stores and opens nothing.
    List().UserClickCell(0, 10);
    Edit()->UserType("end");
    Edit()->UserKey(ui::VK_TAB);
    EXPECT_EQ(Cell(0, 10), "end");
    EXPECT_EQ(Edit(), nullptr);

    // The PLC list: its entry for the cell's PLC; Left and Right go to the neighbours.
    view->SetCellText(0, 5, kMasterPlc2);
    List().UserClickCell(0, 5);
    ASSERT_NE(Combo(), nullptr);
    EXPECT_EQ(Combo()->GetCount(), 2);
    EXPECT_EQ(Combo()->GetLBText(0), kMasterPlc1);
    EXPECT_EQ(Combo()->GetCurSel(), 1);
    Combo()->UserKey(ui::VK_UP);
    Combo()->UserKey(ui::VK_LEFT);
    EXPECT_EQ(Cell(0, 5), kMasterPlc1);
    EXPECT_EQ(Combo(), nullptr);
    ASSERT_NE(Edit(), nullptr);
    EXPECT_EQ(g_nNewBlockEditCol, 4);
    List().UserClickCell(0, 2);
    Combo()->UserKey(ui::VK_RIGHT);
    EXPECT_EQ(Cell(0, 2), kMasterPlc1);  // entry 0 for a cell without a PLC
    EXPECT_EQ(g_nNewBlockEditCol, 3);
}

TEST_F(CellEditorsTest, TheCanFlagFollowsTheDriverListWhenAnEditCloses) {
    g_arrCanDrivers = {g_PlcRegisterTables.g_strPlc2DriverId};
    g_bCom2IsCAN = 0;
    TypeIntoCell(0, 3, "2");
    EXPECT_EQ(g_bCom2IsCAN, 1);
    g_arrCanDrivers = {"999"};
    TypeIntoCell(0, 3, "3");
    EXPECT_EQ(g_bCom2IsCAN, 0);
}

TEST_F(CellEditorsTest, SlaveModeLeavesItsFixedColumnsClosed) {
    frame.reset();
    ResetEditorGlobals();
    Configure("QVX-S8", 88, "101", 1, "135", 1);
    Open();
    ASSERT_EQ(g_bSlaveMode, 1);
    for (int col : {2, 3, 5, 8, 9}) {
        List().UserClickCell(0, col);
        EXPECT_EQ(Edit(), nullptr) << col;
        EXPECT_EQ(Combo(), nullptr) << col;
    }
    // Profibus DP on COM2: a slave block may hold up to 65535 words.
    List().UserClickCell(0, 1);
    EXPECT_EQ(Edit()->GetLimitText(), 5);
    Edit()->UserType("65535");
    Edit()->UserKey(ui::VK_RETURN);
    EXPECT_EQ(Cell(0, 1), "65535");
    List().UserClickCell(0, 6);
    ASSERT_NE(Edit(), nullptr);
}

TEST_F(CellEditorsTest, SetAddressButtonsPickFromTheRowsPlcAndWriteTheCell) {
    List().UserClickCell(0, 1);
    ASSERT_TRUE(view->Item(IDC_DEST_ADDR_BUTTON).UserClick());
    EXPECT_EQ(host.LastInfo(), "PLC not defined. Please select PLC.");
    EXPECT_EQ(ui.Modals().size(), 0u);

    view->SetCellText(0, 5, kMasterPlc2);
    view->SetCellText(0, 7, "N7:3");
    g_bNewBlockListEdited = g_bProjectModified = 0;
    ui.ExpectModal(IDD_REGISTER_ADDRESS, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "PLC2 Address");
        EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), "N7:3");
        d.UserClickButton(IDC_COLON_PART_UP);
        d.UserClickButton(ui::IDOK);
    });
    ASSERT_TRUE(view->Item(IDC_DEST_ADDR_BUTTON).UserClick());
    EXPECT_EQ(Cell(0, 7), "N007:004");
    EXPECT_EQ(g_nNewBlockEditCol, 7);
    EXPECT_EQ(g_bNewBlockListEdited, 1);
    EXPECT_EQ(g_bProjectModified, 1);

    // Cancel writes nothing.
    ui.ExpectModal(IDD_REGISTER_ADDRESS, [](ui::Dialog& d) { d.UserClickButton(ui::IDCANCEL); });
    view->Item(IDC_DEST_ADDR_BUTTON).UserClick();
    EXPECT_EQ(Cell(0, 7), "N007:004");

    // The source end on the COM1 PLC; a PLC cell naming neither PLC opens the COM2 tables.
    view->SetCellText(0, 2, kMasterPlc1);
    ui.ExpectModal(IDD_REGISTER_ADDRESS, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "PLC1 Address");
        d.UserClickButton(ui::IDOK);
    });
    view->Item(IDC_SOURCE_ADDR_BUTTON).UserClick();
    EXPECT_EQ(Cell(0, 4), "C0001");
    view->SetCellText(0, 2, "Other");
    ui.ExpectModal(IDD_REGISTER_ADDRESS, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "PLC2 Address");
        d.UserClickButton(ui::IDCANCEL);
    });
    view->Item(IDC_SOURCE_ADDR_BUTTON).UserClick();

    // An open edit stores its text before the dialog runs.
    view->SetCellText(0, 2, kMasterPlc1);
    List().UserClickCell(0, 4);
    Edit()->UserType("H7");
    ui.ExpectModal(IDD_REGISTER_ADDRESS, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), "H0007");
        d.UserClickButton(ui::IDCANCEL);
    });
    view->Item(IDC_SOURCE_ADDR_BUTTON).UserClick();
    EXPECT_EQ(Cell(0, 4), "H0007");
    EXPECT_EQ(Edit(), nullptr);
}

}  // namespace
