// The older block list: its first rows, the in-place editors and their checks, the
// address buttons and the address dialog.
#include "OlderFixture.h"
#include "PlcPairs.h"
#include "compiler/ProjectImage.h"
#include "projectfiles/OlderProjectFile.h"
#include "projectfiles/OlderProjectReader.h"
#include "projectfiles/ProjectOpenSteps.h"
#include "res/OlderEditorResource.h"

namespace {

using Cells = std::vector<std::string>;

TEST_F(OlderTest, NewProjectsStartWithOneBlockByTheirSlaveDrivers) {
    Configure("101", "102");
    Open();
    EXPECT_EQ(List().GetColumnCount(), 10);
    EXPECT_EQ(List().GetColumnHeading(9), "Comment");
    EXPECT_EQ(List().GetColumnWidth(7), 110);
    EXPECT_EQ(view->m_nBlockCount, 1);
    EXPECT_EQ(g_bBlockExSlaveMode, 0);
    EXPECT_EQ(Row(0), (Cells{"1", "1", " ", "1", " ", " ", "1", " ", "1", ""}));

    // The COM2 driver is a slave: block 1 goes from PLC2 to PLC1.
    Configure("101", "104");
    Open();
    EXPECT_EQ(g_bBlockExSlaveMode, 1);
    EXPECT_EQ(Row(0), (Cells{"1", "1", "Modbus RTU Slave", "1", " ", kModbus, "1", " ", "1", ""}));
    // In slave mode a PLC cell opens nothing; the words cell takes three characters.
    ASSERT_TRUE(List().UserClickCell(0, kOlderColSourcePlc));
    EXPECT_EQ(Combo(), nullptr);
    EXPECT_EQ(Edit(), nullptr);
    ASSERT_TRUE(List().UserClickCell(0, kOlderColWords));
    ASSERT_NE(Edit(), nullptr);
    EXPECT_EQ(Edit()->GetLimitText(), 3);
}

TEST_F(OlderTest, OpenedProjectsTakeTheSlaveModeFromTheFirstFileWithTheKey) {
    Configure("104", "101");  // PLC1 is a slave, PLC2 says "Slave=0": master mode
    g_bBlockExUntitled = 0;
    Open();
    EXPECT_EQ(g_bBlockExSlaveMode, 0);
    EXPECT_EQ(view->m_nBlockCount, 0);  // the reader fills the rows
}

TEST_F(OlderTest, ClickingPlacesTheButtonsAndOpensTheColumnsEditor) {
    Configure("101", "102");
    Open();
    ASSERT_TRUE(List().UserClickCell(0, kOlderColBlockNo));
    EXPECT_EQ(g_bBlockListEdited, 1);  // a click alone counts as an edit
    EXPECT_EQ(Edit(), nullptr);
    ui::Control* source = view->GetDlgItem(IDC_SOURCE_ADDR_BUTTON);
    ui::Control* dest = view->GetDlgItem(IDC_DEST_ADDR_BUTTON);
    ASSERT_NE(source, nullptr);
    ASSERT_NE(dest, nullptr);
    EXPECT_EQ(source->GetToolTip(), "Set Address from Table");
    EXPECT_EQ(source->GetRect().Width(), 20);

    ASSERT_TRUE(List().UserClickCell(0, kOlderColDestAddr));
    ASSERT_NE(Edit(), nullptr);
    EXPECT_EQ(Edit()->GetLimitText(), 11);
    EXPECT_TRUE(Edit()->HasStyle(ui::style::kUpperCase));
    const ui::Rect cell = view->ControlToWindow(List(), List().GetSubItemRect(0, kOlderColDestAddr));
    EXPECT_EQ(Edit()->GetRect().right, cell.right - 20);  // the button sits in the last 20 px
    ASSERT_TRUE(List().UserClickCell(0, kOlderColComment));
    EXPECT_FALSE(Edit()->HasStyle(ui::style::kUpperCase));
}

TEST_F(OlderTest, AnAcceptedAddressIsWrittenInItsCanonicalForm) {
    Configure("101", "102");
    Open();
    view->SetCellText(0, kOlderColSourcePlc, kModbus);
    view->SetCellText(0, kOlderColDestPlc, kDf1);
    TypeIntoCell(0, kOlderColSourceAddr, "h1");
    EXPECT_EQ(Cell(0, kOlderColSourceAddr), "H0001");
    TypeIntoCell(0, kOlderColDestAddr, "n7:5");
    EXPECT_EQ(Cell(0, kOlderColDestAddr), "N007:005");
    // Enter moved on to the next column.
    ASSERT_NE(Edit(), nullptr);
    EXPECT_EQ(g_nBlockEditCol, kOlderColRepeat);

    // The older unit takes no bit addresses: a '_' never stays in an address cell, on a
    // coil or on a register.
    for (const char* typed : {"C1_3", "H1_3"}) {
        ASSERT_TRUE(List().UserClickCell(0, kOlderColSourceAddr));
        ASSERT_TRUE(Edit()->UserType(typed));
        EXPECT_EQ(Edit()->GetWindowText().find('_'), std::string::npos) << typed;
        ASSERT_TRUE(Edit()->UserKey(ui::VK_ESCAPE));
    }
    for (const char* typed : {"B3/1_4", "N7:0_3"}) {
        TypeIntoCell(0, kOlderColDestAddr, typed);
        EXPECT_EQ(Cell(0, kOlderColDestAddr).find('_'), std::string::npos) << typed;
    }
    TypeIntoCell(0, kOlderColDestAddr, "n7:5");

    // A prefix the PLC does not have is reported and the cell keeps its text.
    TypeIntoCell(0, kOlderColDestAddr, "H1");
    EXPECT_EQ(Cell(0, kOlderColDestAddr), "N007:005");
    EXPECT_EQ(host.LastInfo(),
              "Invalid Prefix. Please enter valid data. To see details, click on 'Get PLC Address' Button.");
    EXPECT_TRUE(view->GetInfoWnd()->IsWindowVisible());
}

// What a person leaves in a cell is stored as shown and passes the block check, or is
// refused with a message; the same text held by a project file (edited by hand) is refused
// by the block check, which the download runs as well.
TEST_F(OlderTest, WhatTheCellRefusesTheBlockCheckRefuses) {
    Configure("101", "102");
    Open();
    const char* kRange = "Address out of range. Please enter valid data. To see details, click on 'Get PLC Address' Button.";
    const char* kIds = "Valid range is 1 to 255. Please enter valid data.";
    const struct {
        int col;
        const char* typed;
        const char* stored;  // nullptr: refused with the message
        const char* message;
        const char* file;    // the text a file would hold, refused by the block check
        const char* fileMessage = nullptr;  // its message when it is not the cell's
    } cases[] = {
        {kOlderColSourceAddr, "h1_3", "H0013", nullptr, "H0001_3"},  // the edit drops '_' as it is typed
        {kOlderColSourceAddr, "c1_3", "C0013", nullptr, "C0001_3"},
        {kOlderColSourceAddr, "h0", nullptr, kRange, "H0000"},
        {kOlderColDestAddr, "n7:0_3", "N007:003", nullptr, "N007:000_3"},
        {kOlderColDestAddr, "n7:256", nullptr, kRange, "N007:256"},
        // A part the register has not would be run into another part or dropped.
        {kOlderColSourceAddr, "h1:2", nullptr, kRange, "H0001:2"},
        {kOlderColDestAddr, "n7:0/3", nullptr, kRange, "N007:000/3"},
        {kOlderColWords, "64", "64", nullptr, nullptr},
        {kOlderColWords, "0", nullptr,
         "For word operation, valid entry is 1- 64. For bit operation, valid entry is 1. Please enter valid data.", "0"},
        {kOlderColSourceId, "256", nullptr, kIds, "256"},
        {kOlderColDestId, "300", nullptr, kIds, "300"},
        {kOlderColRepeat, "0", nullptr, "Valid range is 1 to 99. Please enter valid data.", "0"},
        // The edit keeps no blank or tab; around a number or an address read from a file
        // they would be judged away and sent as something else.
        {kOlderColSourceAddr, " h1", "H0001", nullptr, " H0001"},
        {kOlderColDestAddr, "n7:0", "N007:000", nullptr, "N007:000\t"},
        {kOlderColWords, "10", "10", nullptr, "10 ",
         "For word operation, valid entry is 1- 64. For bit operation, valid entry is 1 - 64. Please enter valid data."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        FillRow(0);
        for (int col : {kOlderColWords, kOlderColSourceId, kOlderColDestId}) view->SetCellText(0, col, "1");
        view->SetCellText(0, kOlderColRepeat, "10");
        if (c.typed[0] == 'c') view->SetCellText(0, kOlderColDestAddr, "B03/0001");
        const std::string before = Cell(0, c.col);
        host.infos.clear();
        TypeIntoCell(0, c.col, c.typed);
        EXPECT_EQ(Cell(0, c.col), c.stored ? c.stored : before);
        EXPECT_EQ(host.LastInfo(), c.message ? c.message : "");
        if (c.stored) EXPECT_EQ(g_PlcRegisterTables.CompileCheckBlock(0), 0) << host.LastInfo();
        if (!c.file) continue;
        view->SetCellText(0, c.col, c.file);
        host.infos.clear();
        EXPECT_EQ(g_PlcRegisterTables.CompileCheckBlock(0), 1);
        const bool address = c.col == kOlderColSourceAddr || c.col == kOlderColDestAddr;
        EXPECT_EQ(host.LastInfo(), "Error while compiling block 1. " +
                                       (address ? "The address " + std::string(c.file) + " is not valid. Please enter valid data."
                                                : std::string(c.fileMessage ? c.fileMessage : c.message)));
    }
}

// Opened on an address that carries a bit (read from a file), the dialog shows the word:
// leaving the number edit does not run the bit's digits into the number.
TEST_F(OlderTest, AddressDialogOpenedOnABitKeepsTheRegister) {
    Configure("101", "102");
    Open();
    view->SetCellText(0, kOlderColSourcePlc, kModbus);
    view->SetCellText(0, kOlderColSourceAddr, "C0001_3");
    ui.ExpectModal(IDD_ADDRESS, [](ui::Dialog& d) {
        ui::Control* number = d.GetDlgItem(IDC_NUMBER_PART);
        EXPECT_EQ(number->GetWindowText(), "0001");
        ASSERT_TRUE(number->UserFocus());
        ASSERT_TRUE(d.GetDlgItem(IDC_NUMBER_PART_UP)->UserFocus());  // leaving the edit
        EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), "C0001");
        d.UserClickButton(ui::IDOK);
    });
    ASSERT_TRUE(List().UserClickCell(0, kOlderColBlockNo));
    ASSERT_TRUE(view->GetDlgItem(IDC_SOURCE_ADDR_BUTTON)->UserClick());
    EXPECT_EQ(Cell(0, kOlderColSourceAddr), "C0001");
}

TEST_F(OlderTest, TheEditFiltersTypingAndEscapeRestoresTheCell) {
    Configure("101", "102");
    Open();
    ASSERT_TRUE(List().UserClickCell(0, kOlderColSourceAddr));
    ui::Control* edit = Edit();
    ASSERT_TRUE(edit->UserType("h0.0 1"));
    EXPECT_EQ(edit->GetWindowText(), "H001");
    EXPECT_EQ(edit->GetSelStart(), 4);
    ASSERT_TRUE(edit->UserKey(ui::VK_ESCAPE));
    EXPECT_EQ(Edit(), nullptr);
    EXPECT_EQ(Cell(0, kOlderColSourceAddr), " ");

    // An emptied ID keeps the old one; an emptied comment clears the cell.
    view->SetCellText(0, kOlderColComment, "old");
    TypeIntoCell(0, kOlderColSourceId, "");
    EXPECT_EQ(Cell(0, kOlderColSourceId), "1");
    TypeIntoCell(0, kOlderColComment, "", ui::VK_TAB);
    EXPECT_EQ(Cell(0, kOlderColComment), "");
    EXPECT_EQ(Edit(), nullptr);  // past the last column only the buttons move
    // A comment longer than the project file keeps is refused, not cut later.
    TypeIntoCell(0, kOlderColComment, std::string(51, 'c'));
    EXPECT_EQ(Cell(0, kOlderColComment), "");
    EXPECT_EQ(host.LastInfo(), "The comment is too long. A comment may hold at most 50 characters. Please enter valid data.");
    TypeIntoCell(0, kOlderColRepeat, "0");
    EXPECT_EQ(Cell(0, kOlderColRepeat), "1");
    EXPECT_EQ(host.LastInfo(), "Valid range is 1 to 99. Please enter valid data.");
}

TEST_F(OlderTest, ThePlcListWritesItsChoiceAndMovesWithTheArrows) {
    Configure("101", "102");
    Open();
    ASSERT_TRUE(List().UserClickCell(0, kOlderColSourcePlc));
    ui::ListControl* combo = Combo();
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->GetCount(), 2);
    EXPECT_EQ(combo->GetCurSel(), 0);
    ASSERT_TRUE(combo->UserKey(ui::VK_DOWN));
    ASSERT_TRUE(combo->UserKey(ui::VK_LEFT));
    EXPECT_EQ(Cell(0, kOlderColSourcePlc), kDf1);
    ASSERT_NE(Edit(), nullptr);
    EXPECT_EQ(g_nBlockEditCol, kOlderColWords);
    // Opened again on that cell, the list selects the cell's PLC.
    ASSERT_TRUE(List().UserClickCell(0, kOlderColSourcePlc));
    EXPECT_EQ(Combo()->GetCurSel(), 1);
}

TEST_F(OlderTest, InfoWindowStaysHiddenForBlanksAndBlanksAVisibleOne) {
    Configure("101", "102");
    Open();
    view->ShowInfoText("    ");
    EXPECT_FALSE(view->GetInfoWnd()->IsWindowVisible());
    view->ShowInfoText("Something");
    EXPECT_TRUE(view->GetInfoWnd()->IsWindowVisible());
    view->ShowInfoText("    ");
    EXPECT_TRUE(view->GetInfoWnd()->IsWindowVisible());
    EXPECT_EQ(view->GetInfoText(), "    ");
}

TEST_F(OlderTest, AddressButtonOpensTheDialogForTheRowsPlc) {
    Configure("101", "102");
    Open();
    ASSERT_TRUE(List().UserClickCell(0, kOlderColBlockNo));
    // A row whose PLC is still blank: a message and no dialog.
    ASSERT_TRUE(view->GetDlgItem(IDC_SOURCE_ADDR_BUTTON)->UserClick());
    EXPECT_EQ(host.LastInfo(), "PLC not defined. Please select PLC.");

    view->SetCellText(0, kOlderColDestPlc, kDf1);
    ui.ExpectModal(IDD_ADDRESS, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "PLC2 Address");
        auto& combo = d.Item<ui::ListControl>(IDC_ADDRESS_REGISTER);
        EXPECT_EQ(combo.GetLBText(0), "Output Image");
        EXPECT_EQ(combo.GetCurSel(), 0);  // an empty cell: the first register and its lowest address
        EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), "O000/00");
        ASSERT_TRUE(combo.UserSelect(6));  // Integer: number and colon part
        EXPECT_TRUE(d.GetDlgItem(IDC_COLON_PART)->IsWindowVisible());
        EXPECT_FALSE(d.GetDlgItem(IDC_SLASH_PART)->IsWindowVisible());
        EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), "N007:000");
        d.GetDlgItem(IDC_NUMBER_PART_DOWN)->UserClick();  // the lowest stays the lowest
        EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER_PART), "007");
        d.GetDlgItem(IDC_NUMBER_PART_UP)->UserClick();
        EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), "N008:000");
        d.GetDlgItem(IDC_COLON_PART)->UserType("999");  // above the highest: the highest
        EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), "N008:255");
        d.UserClickButton(ui::IDOK);
    });
    ASSERT_TRUE(view->GetDlgItem(IDC_DEST_ADDR_BUTTON)->UserClick());
    EXPECT_EQ(Cell(0, kOlderColDestAddr), "N008:255");

    // Opened on that address, the dialog shows its parts; Cancel writes nothing.
    ui.ExpectModal(IDD_ADDRESS, [](ui::Dialog& d) {
        EXPECT_EQ(d.Item<ui::ListControl>(IDC_ADDRESS_REGISTER).GetCurSel(), 6);
        EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER_PART), "008");
        EXPECT_EQ(d.GetDlgItemText(IDC_COLON_PART), "255");
        EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), "N008:255");
        d.GetDlgItem(IDC_COLON_PART_UP)->UserClick();  // the highest stays the highest
        EXPECT_EQ(d.GetDlgItemText(IDC_COLON_PART), "255");
        d.UserClickButton(ui::IDCANCEL);
    });
    ASSERT_TRUE(view->GetDlgItem(IDC_DEST_ADDR_BUTTON)->UserClick());
    EXPECT_EQ(Cell(0, kOlderColDestAddr), "N008:255");
}

// DF1's Preset and Accumulated types of a timer or counter share a prefix and differ by the
// letter after the number, which the hidden part holds as its marker: the address shown,
// the cell, the block record's key and the type the dialog opens on again follow the type
// chosen, through typing and "+"; a typed T005P opens on its type and steps to T006P.
TEST_F(OlderTest, AddressDialogKeepsTheLetterOfAPresetOrAccumulatedType) {
    Configure("101", "102");
    Open();
    view->SetCellText(0, kOlderColSourcePlc, kModbus);
    view->SetCellText(0, kOlderColDestPlc, kDf1);
    const struct {
        const char* type;
        const char* lowest;
        const char* typed;   // 5 in the number part
        const char* stepped; // then "+"
        const char* key;
    } rows[] = {
        {"Timer Preset", "T000P", "T005P", "T006P", "T006**P**"},
        {"Counter Preset", "C000P", "C005P", "C006P", "C006**P**"},
        {"Timer Accumulated", "T000A", "T005A", "T006A", "T006A****"},
    };
    auto click = [&] {
        ASSERT_TRUE(List().UserClickCell(0, kOlderColBlockNo));
        ASSERT_TRUE(view->GetDlgItem(IDC_DEST_ADDR_BUTTON)->UserClick());
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.type);
        view->SetCellText(0, kOlderColDestAddr, "");
        ui.ExpectModal(IDD_ADDRESS, [&](ui::Dialog& d) {
            auto& combo = d.Item<ui::ListControl>(IDC_ADDRESS_REGISTER);
            ASSERT_TRUE(combo.UserSelect(combo.FindStringExact(-1, row.type)));
            EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), row.lowest);
            EXPECT_FALSE(d.GetDlgItem(IDC_SLASH_PART)->IsWindowVisible());
            EXPECT_EQ(d.GetDlgItemText(std::string(row.lowest).back() == 'P' ? IDC_SLASH_PART : IDC_COLON_PART),
                      std::string(1, std::string(row.lowest).back()) + "*");
            d.UserClickButton(ui::IDOK);
        });
        click();
        EXPECT_EQ(Cell(0, kOlderColDestAddr), row.lowest);
        ui.ExpectModal(IDD_ADDRESS, [&](ui::Dialog& d) {
            auto& combo = d.Item<ui::ListControl>(IDC_ADDRESS_REGISTER);
            EXPECT_EQ(combo.GetLBText(combo.GetCurSel()), row.type);
            d.GetDlgItem(IDC_NUMBER_PART)->UserType("5");
            EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), row.typed);
            d.GetDlgItem(IDC_NUMBER_PART_UP)->UserClick();
            EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), row.stepped);
            d.UserClickButton(ui::IDOK);
        });
        click();
        EXPECT_EQ(Cell(0, kOlderColDestAddr), row.stepped);
        const OlderBlockRow record{"1", "1", kModbus, "1", "H0001", kDf1, "1", Cell(0, kOlderColDestAddr), "1", ""};
        EXPECT_EQ(BuildOlderBlockRecord(record).substr(16, 9), row.key);
    }
    // A typed T005P opens on its type, and "+" keeps the letter.
    TypeIntoCell(0, kOlderColDestAddr, "T005P");
    ui.ExpectModal(IDD_ADDRESS, [&](ui::Dialog& d) {
        auto& combo = d.Item<ui::ListControl>(IDC_ADDRESS_REGISTER);
        EXPECT_EQ(combo.GetLBText(combo.GetCurSel()), "Timer Preset");
        EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), "T005P");
        d.GetDlgItem(IDC_NUMBER_PART_UP)->UserClick();
        EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), "T006P");
        d.UserClickButton(ui::IDOK);
    });
    click();
    EXPECT_EQ(Cell(0, kOlderColDestAddr), "T006P");
}

TEST_F(OlderTest, AddressDialogClampsWhenAPartIsLeftAndKnowsThePlc1Table) {
    Configure("101", "102");
    Open();
    view->SetCellText(0, kOlderColSourcePlc, kModbus);
    view->SetCellText(0, kOlderColSourceAddr, "ZZ12");  // no such prefix: register 0
    ui.ExpectModal(IDD_ADDRESS, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "PLC1 Address");
        EXPECT_EQ(d.Item<ui::ListControl>(IDC_ADDRESS_REGISTER).GetCurSel(), 0);
        EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), "C0001");
        EXPECT_FALSE(d.GetDlgItem(IDC_COLON_PART)->IsWindowVisible());
        ui::Control* number = d.GetDlgItem(IDC_NUMBER_PART);
        number->UserType("0");
        EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), "C0001");  // below the lowest in the preview
        d.GetDlgItem(IDC_NUMBER_PART_UP)->UserFocus();        // leaving the edit
        EXPECT_EQ(number->GetWindowText(), "0001");
        d.UserClickButton(ui::IDOK);
    });
    ASSERT_TRUE(List().UserClickCell(0, kOlderColBlockNo));
    ASSERT_TRUE(view->GetDlgItem(IDC_SOURCE_ADDR_BUTTON)->UserClick());
    EXPECT_EQ(Cell(0, kOlderColSourceAddr), "C0001");
    EXPECT_EQ(g_bBlockListEdited, 1);
}

TEST_F(OlderTest, AddressDialogOfAPlcWithoutRegistersWritesNothing) {
    Configure("101", "102");
    Open();
    view->SetCellText(0, kOlderColDestPlc, kDf1);
    view->SetCellText(0, kOlderColDestAddr, "N007:000");
    g_PlcRegisterTables.g_arrPlc2RegPrefix.clear();  // a definition file without register types
    g_PlcRegisterTables.g_arrPlc2RegName.clear();
    ui.ExpectModal(IDD_ADDRESS, [](ui::Dialog& d) {
        EXPECT_EQ(d.Item<ui::ListControl>(IDC_ADDRESS_REGISTER).GetCount(), 0);
        EXPECT_FALSE(d.GetDlgItem(IDC_NUMBER_PART)->IsWindowVisible());
        d.UserClickButton(ui::IDOK);
    });
    ASSERT_TRUE(List().UserClickCell(0, kOlderColBlockNo));
    ASSERT_TRUE(view->GetDlgItem(IDC_DEST_ADDR_BUTTON)->UserClick());
    EXPECT_EQ(Cell(0, kOlderColDestAddr), "N007:000");
}

// Every register of every PLC of each pair the older products offer, at its lowest and its
// highest address as the address dialog composes them, is saved and opened again unchanged
// and without a message; the dialog opens again on the type chosen, and the block record
// carries that type's key (a timer's Preset, T000P, never the Accumulated key T000A).
TEST_F(OlderTest, EveryAddressTheDialogComposesIsSavedAndOpenedAgain) {
    size_t pairs = 0;
    for (const testsupport::PlcPair& plcPair : testsupport::EveryPlcPair(false)) {
        const std::string product = plcPair.product;
        if (deffiles::IsNewGeneration(product)) continue;
        // The PLC number and model number of each port's protocol and model.
        std::pair<std::string, int> models[2];
        for (int port = 1; port <= 2; ++port)
            for (const deffiles::ProtocolEntry& entry : deffiles::ReadProtocols(product, port)) {
                const std::string file = deffiles::PlcDefinitionFile(product, entry.plcNo);
                for (int m = 1; m <= deffiles::ReadInt(file, "Plc Info", "Plc Model count"); ++m)
                    if (entry.name == plcPair.ports[port - 1].first &&
                        deffiles::ReadText(file, "Plc Info", "Plc" + std::to_string(m), "") == plcPair.ports[port - 1].second)
                        models[port - 1] = {entry.plcNo, m};
            }
        ASSERT_FALSE(models[0].first.empty() || models[1].first.empty()) << product;
        ++pairs;
        const auto& one = models[0];
        const auto& two = models[1];
        const std::string pair = product + " " + one.first + "/" + std::to_string(one.second) + " " +
                                 two.first + "/" + std::to_string(two.second);
        SCOPED_TRACE(pair);
        SetUp();
        Configure(one.first, two.first, product, one.second, two.second);
        DistinguishPlcNames();  // as Configure Project names one protocol on both ports
        Open();
        const CPlcRegisterTables& t = g_PlcRegisterTables;
        // The addresses of one side, from the dialog, lowest and highest of each register.
        std::vector<std::string> made[2];
        for (int side = 0; side < 2; ++side) {
            const int plcColumn = side == 0 ? kOlderColSourcePlc : kOlderColDestPlc;
            const int addrColumn = side == 0 ? kOlderColSourceAddr : kOlderColDestAddr;
            view->SetCellText(0, plcColumn, side == 0 ? t.g_strPLC1Name : t.g_strPLC2Name);
            const int count = t.RegisterCount(side + 1);
            for (int r = 0; r < count; ++r)
                for (const char* typed : {"0", "99999999"}) {
                    view->SetCellText(0, addrColumn, "");
                    ui.ExpectModal(IDD_ADDRESS, [&](ui::Dialog& d) {
                        auto& registers = d.Item<ui::ListControl>(IDC_ADDRESS_REGISTER);
                        ASSERT_LT(r, registers.GetCount());
                        if (registers.GetCurSel() != r) ASSERT_TRUE(registers.UserSelect(r));
                        for (int part : {IDC_NUMBER_PART, IDC_COLON_PART, IDC_SLASH_PART})
                            if (d.GetDlgItem(part)->IsWindowVisible()) {
                                d.GetDlgItem(part)->UserType(typed);
                                d.GetDlgItem(IDC_ADDRESS_REGISTER)->UserFocus();
                            }
                        d.UserClickButton(ui::IDOK);
                    });
                    ASSERT_TRUE(List().UserClickCell(0, kOlderColBlockNo));
                    ASSERT_TRUE(view->GetDlgItem(side == 0 ? IDC_SOURCE_ADDR_BUTTON : IDC_DEST_ADDR_BUTTON)
                                    ->UserClick());
                    const std::string composed = Cell(0, addrColumn);
                    made[side].push_back(composed);
                    ui.ExpectModal(IDD_ADDRESS, [&](ui::Dialog& d) {
                        const int reopened = d.Item<ui::ListControl>(IDC_ADDRESS_REGISTER).GetCurSel();
                        // A PLC whose register width is below 4 checks no ranges: the first type
                        // of a shared prefix takes the address (Host Link's D8000 opens on the
                        // Data Register), with the same key.
                        const StringArray& prefixes = side == 0 ? t.g_arrPlc1RegPrefix : t.g_arrPlc2RegPrefix;
                        if ((side == 0 ? t.g_nPlc1RegWidth : t.g_nPlc2RegWidth) < 4 && reopened >= 0 && reopened < r)
                            EXPECT_EQ(prefixes[size_t(reopened)], prefixes[size_t(r)]) << composed;
                        else
                            EXPECT_EQ(reopened, r) << composed;
                        d.UserClickButton(ui::IDCANCEL);
                    });
                    ASSERT_TRUE(view->GetDlgItem(side == 0 ? IDC_SOURCE_ADDR_BUTTON : IDC_DEST_ADDR_BUTTON)
                                    ->UserClick());
                    OlderBlockRow record{"1", "1", t.g_strPLC1Name, "1", "", t.g_strPLC2Name, "1", "", "1", ""};
                    record[side == 0 ? 4 : 7] = composed;
                    EXPECT_EQ(BuildOlderBlockRecord(record).substr(side == 0 ? 5 : 16, 9),
                              testsupport::KeyOfType(side + 1, r, composed));
                    // The short form a person types (no leading zeros), as the cell stores it.
                    std::string typedForm;
                    for (size_t i = 0; i < composed.size(); ++i) {
                        const bool digit = std::isdigit(static_cast<unsigned char>(composed[i])) != 0;
                        const bool leads = i == 0 || !std::isdigit(static_cast<unsigned char>(composed[i - 1]));
                        if (digit && leads && composed[i] == '0' && i + 1 < composed.size() &&
                            std::isdigit(static_cast<unsigned char>(composed[i + 1]))) {
                            size_t j = i;
                            while (j + 1 < composed.size() && composed[j] == '0' &&
                                   std::isdigit(static_cast<unsigned char>(composed[j + 1])))
                                ++j;
                            i = j - 1;
                            continue;
                        }
                        typedForm += composed[i];
                    }
                    TypeIntoCell(0, addrColumn, typedForm);
                    if (Cell(0, addrColumn) != composed) made[side].push_back(Cell(0, addrColumn));
                    // Enter moved on to the next cell's editor: leave it without a change.
                    ASSERT_TRUE(List().UserClickCell(0, kOlderColBlockNo));
                    view->SetCellText(0, kOlderColSourcePlc, t.g_strPLC1Name);
                    if (side == 1) view->SetCellText(0, kOlderColDestPlc, t.g_strPLC2Name);
                    else view->SetCellText(0, kOlderColDestPlc, "");
                }
        }
        ASSERT_FALSE(made[0].empty() || made[1].empty());
        OlderBlockRows rows;
        const size_t n = std::max(made[0].size(), made[1].size());
        for (size_t i = 0; i < n && i < 255; ++i)
            rows.push_back(OlderBlockRow{std::to_string(i + 1), "1", t.g_strPLC1Name, "1",
                                         made[0][i % made[0].size()], t.g_strPLC2Name, "1",
                                         made[1][i % made[1].size()], "1", ""});
        const std::string path = tree.Path() + product + "/Projects/walk.prj";
        ASSERT_EQ(WriteOlderProjectFile(path, rows), 0);
        g_OlderBlockListRows.clear();
        ASSERT_EQ(OpenOlderProject(path, ProjectOpenHooks{}), ProjectOpenResult::Opened);
        ASSERT_EQ(g_OlderBlockListRows.size(), rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(g_OlderBlockListRows[i][kOlderColSourceAddr], rows[i][kOlderColSourceAddr]) << i;
            EXPECT_EQ(g_OlderBlockListRows[i][kOlderColDestAddr], rows[i][kOlderColDestAddr]) << i;
        }
        EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
        TearDown();
    }
    EXPECT_GT(pairs, 30u);
}

}  // namespace
