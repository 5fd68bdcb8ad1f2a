// The register address dialog on the sample tree's PLC files: every address form (number
// only, a ':' part, a '/' part, markers, octal and hexadecimal parts, a decimal number with
// a hexadecimal second part), the filters, the limits, stepping, bit addressing and what
// OK hands back.
#include "EditorViewFixture.h"

namespace {

using ui::Dialog;

class RegisterAddressDlgTest : public EditorViewTest {
protected:
    // Runs the dialog on the address with the step; returns its result.
    int Run(int port, const std::string& address, std::function<void(Dialog&)> step,
            CRegisterAddressDlg* keep = nullptr) {
        CRegisterAddressDlg local;
        CRegisterAddressDlg& dlg = keep ? *keep : local;
        dlg.m_nPort = port;
        dlg.m_strAddress = address;
        ui.ExpectModal(IDD_REGISTER_ADDRESS, std::move(step));
        return dlg.DoModal();
    }
    static bool Shown(Dialog& d, int id) { return d.Item(id).IsWindowVisible(); }
    static std::string Text(Dialog& d, int id) { return d.GetDlgItemText(id); }
    static ui::ListControl& Types(Dialog& d) { return d.Item<ui::ListControl>(IDC_REGISTER_TYPE); }
    static void Select(Dialog& d, const std::string& name) {
        ASSERT_TRUE(Types(d).UserSelect(Types(d).FindStringExact(-1, name))) << name;
    }
};

TEST_F(RegisterAddressDlgTest, NumberOnlyAddressesFilteredFilledAndHeldInRange) {
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    CRegisterAddressDlg dlg;
    EXPECT_EQ(Run(1, "", [&](Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "PLC1 Address");
        ASSERT_EQ(Types(d).GetCount(), 5);
        EXPECT_EQ(Types(d).GetCurSel(), 0);
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "C0001");
        EXPECT_EQ(Text(d, IDC_RANGE_TEXT), "(0001-9999)");
        EXPECT_TRUE(Shown(d, IDC_NUMBER_PART));
        EXPECT_FALSE(Shown(d, IDC_COLON_PART));
        EXPECT_FALSE(Shown(d, IDC_SLASH_PART));
        EXPECT_FALSE(Shown(d, IDC_REGISTER_RADIO));  // a coil carries no bit
        EXPECT_EQ(Text(d, IDC_ACCESS_TEXT), "Read-Write");

        Select(d, "Holding Register");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0001");
        EXPECT_TRUE(Shown(d, IDC_REGISTER_RADIO));
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_REGISTER_RADIO), 1);
        ui::Control& number = d.Item(IDC_NUMBER_PART);
        EXPECT_EQ(number.GetLimitText(), 4);
        number.UserType("12G");
        EXPECT_EQ(number.GetWindowText(), "12");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0012");
        number.UserType("5");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0005");
        EXPECT_EQ(number.GetWindowText(), "5");
        number.UserType("0");  // below the lowest
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0001");
        number.UserType("5");
        d.Item(IDC_REGISTER_TYPE).UserFocus();  // leaving the edit fills it
        EXPECT_EQ(number.GetWindowText(), "0005");

        Select(d, "Input Register");
        EXPECT_EQ(Text(d, IDC_ACCESS_TEXT), "Read-Only");
        Select(d, "Diagnostic Counter");  // kind 4: the label stays
        EXPECT_EQ(Text(d, IDC_ACCESS_TEXT), "Read-Only");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "DG01");
        d.UserClickButton(ui::IDOK);
    }, &dlg), ui::IDOK);
    EXPECT_EQ(dlg.m_strNewAddress, "DG01");
    EXPECT_EQ(g_bNewBlockListEdited, 1);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(RegisterAddressDlgTest, StepButtonsWrapToTheLimits) {
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    CRegisterAddressDlg dlg;
    Run(1, "H9999", [&](Dialog& d) {
        EXPECT_EQ(Text(d, IDC_NUMBER_PART), "9999");
        d.UserClickButton(IDC_NUMBER_PART_UP);
        EXPECT_EQ(Text(d, IDC_NUMBER_PART), "0001");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0001");
        d.UserClickButton(IDC_NUMBER_PART_UP);
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0002");
        d.UserClickButton(IDC_NUMBER_PART_DOWN);
        d.UserClickButton(IDC_NUMBER_PART_DOWN);  // 0000 lies below the lowest
        EXPECT_EQ(Text(d, IDC_NUMBER_PART), "0001");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0001");
        d.Item(IDC_NUMBER_PART).UserType("0");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0001");
        d.UserClickButton(ui::IDOK);
    }, &dlg);
    EXPECT_EQ(dlg.m_strNewAddress, "H0001");
}

TEST_F(RegisterAddressDlgTest, ColonSlashAndMarkerFormsOfTheDf1File) {
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    // A ':' part, given without leading zeros: the edits show it filled, the address as given.
    CRegisterAddressDlg dlg;
    Run(0, "  N7:3 ", [&](Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "PLC2 Address");
        EXPECT_EQ(Types(d).GetLBText(Types(d).GetCurSel()), "Integer");
        EXPECT_EQ(Text(d, IDC_NUMBER_PART), "007");
        EXPECT_EQ(Text(d, IDC_COLON_PART), "003");
        EXPECT_TRUE(Shown(d, IDC_COLON_PART));
        EXPECT_FALSE(Shown(d, IDC_SLASH_PART));
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "N7:3");
        EXPECT_EQ(Text(d, IDC_RANGE_TEXT), "(007-255)(000-255)");
        d.UserClickButton(IDC_COLON_PART_UP);
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "N007:004");
        d.Item(IDC_COLON_PART).UserType("999");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "N007:255");
        d.UserClickButton(ui::IDOK);
    }, &dlg);
    EXPECT_EQ(dlg.m_strNewAddress, "N007:255");

    // A '/' part after the ':' part: all three edits; a coil offers no bit.
    Run(2, "NB7:1/15", [&](Dialog& d) {
        EXPECT_EQ(Types(d).GetLBText(Types(d).GetCurSel()), "Integer Bit");
        EXPECT_TRUE(Shown(d, IDC_SLASH_PART));
        EXPECT_EQ(Text(d, IDC_NUMBER_PART), "07");
        EXPECT_EQ(Text(d, IDC_COLON_PART), "001");
        EXPECT_EQ(Text(d, IDC_SLASH_PART), "15");
        EXPECT_FALSE(Shown(d, IDC_BIT_ADDRESSED_RADIO));
        d.UserClickButton(IDC_SLASH_PART_UP);  // 16 lies above the highest
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "NB07:001/15");
        d.UserClickButton(IDC_SLASH_PART_DOWN);
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "NB07:001/14");
        d.UserClickButton(ui::IDCANCEL);
    });
    // A coil whose second part follows '/'; octal image files refuse 8 and 9.
    Run(2, "B3/15", [&](Dialog& d) {
        EXPECT_EQ(Text(d, IDC_COLON_PART), "0015");
        Select(d, "Output Image");
        d.Item(IDC_COLON_PART).UserType("19");
        EXPECT_EQ(Text(d, IDC_COLON_PART), "1");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "O000/01");
        d.UserClickButton(ui::IDCANCEL);
    });
    // Markers: the timer's accumulated value has no second part edit.
    Run(2, "", [&](Dialog& d) {
        Select(d, "Timer Accumulated");
        EXPECT_FALSE(Shown(d, IDC_COLON_PART));
        EXPECT_FALSE(Shown(d, IDC_SLASH_PART));
        const std::string lowest = Text(d, IDC_ADDRESS_TEXT);
        EXPECT_EQ(lowest.substr(0, 4), "T000") << lowest;
        d.Item(IDC_NUMBER_PART).UserType("12");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT).substr(0, 4), "T012");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT).substr(4), lowest.substr(4));
        d.UserClickButton(ui::IDCANCEL);
    });
}

TEST_F(RegisterAddressDlgTest, HexadecimalAndMixedPartsOfTheHostLinkFile) {
    Configure("QVX-S7", 82, "101", 1, "103", 2);
    CRegisterAddressDlg dlg;
    Run(2, "W1F", [&](Dialog& d) {
        EXPECT_EQ(Text(d, IDC_NUMBER_PART), "001F");
        d.Item(IDC_NUMBER_PART).UserType("2FG");
        EXPECT_EQ(Text(d, IDC_NUMBER_PART), "2F");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "W002F");
        d.Item(IDC_NUMBER_PART).UserType("3000");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "W1FFF");
        EXPECT_EQ(Text(d, IDC_NUMBER_PART), "3000");
        // Leaving the edit for the step button holds it in range first.
        d.UserClickButton(IDC_NUMBER_PART_DOWN);
        EXPECT_EQ(Text(d, IDC_NUMBER_PART), "1FFE");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "W1FFE");
        d.UserClickButton(IDC_NUMBER_PART_UP);
        d.UserClickButton(IDC_NUMBER_PART_UP);
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "W1FFF");

        // Decimal number, hexadecimal second part.
        Select(d, "Module Buffer");
        d.Item(IDC_NUMBER_PART).UserType("1A");
        EXPECT_EQ(Text(d, IDC_NUMBER_PART), "1");
        d.Item(IDC_COLON_PART).UserType("1F4");
        EXPECT_EQ(Text(d, IDC_COLON_PART), "1F4");
        const std::string address = Text(d, IDC_ADDRESS_TEXT);
        EXPECT_EQ(address.substr(0, 3), "U01") << address;
        EXPECT_NE(address.find("01F4"), std::string::npos) << address;
        d.UserClickButton(ui::IDOK);
    }, &dlg);
    EXPECT_FALSE(dlg.m_strNewAddress.empty());
}

TEST_F(RegisterAddressDlgTest, BitAddressingOfAWordRegister) {
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    CRegisterAddressDlg dlg;
    Run(1, "H0010_15", [&](Dialog& d) {
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_BIT_ADDRESSED_RADIO), 1);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_REGISTER_RADIO), 0);
        EXPECT_TRUE(Shown(d, IDC_BIT_EDIT));
        EXPECT_FALSE(Shown(d, IDC_BIT2_EDIT));
        EXPECT_EQ(Text(d, IDC_BIT_EDIT), "15");
        EXPECT_EQ(Text(d, IDC_RANGE_TEXT), "(0001-9999)(0-15)");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0010_15");
        d.UserClickButton(IDC_BIT_UP);
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0010_0");
        d.UserClickButton(IDC_BIT_DOWN);
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0010_15");
        // The part edits keep the bit.
        d.Item(IDC_NUMBER_PART).UserType("22");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0022_15");
        // Only digits, and 0 to 15.
        d.Item(IDC_BIT_EDIT).UserType("1X");
        EXPECT_EQ(Text(d, IDC_BIT_EDIT), "1");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0022_1");
        d.Item(IDC_BIT_EDIT).UserType("16");
        d.Item(IDC_NUMBER_PART).UserFocus();
        EXPECT_EQ(Text(d, IDC_BIT_EDIT), "0");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0022_0");

        d.UserClickButton(IDC_REGISTER_RADIO);
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0022");
        EXPECT_FALSE(Shown(d, IDC_BIT_EDIT));
        EXPECT_EQ(Text(d, IDC_RANGE_TEXT), "(0001-9999)");
        d.UserClickButton(IDC_BIT_ADDRESSED_RADIO);
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0022_0");
        EXPECT_EQ(Text(d, IDC_BIT_EDIT), "0");
        EXPECT_EQ(Text(d, IDC_RANGE_TEXT), "(0001-9999)(0-15)");
        d.UserClickButton(IDC_BIT_ADDRESSED_RADIO);  // again: nothing more
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0022_0");
        d.UserClickButton(IDC_BIT_DOWN);
        d.UserClickButton(ui::IDOK);
    }, &dlg);
    EXPECT_EQ(dlg.m_strNewAddress, "H0022_15");
    EXPECT_EQ(g_bBitAddressMode, 0u);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "Please Enter Valid data .Valid Range is 0-15.");
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "Invalid Range");
    EXPECT_EQ(ui.MessageBoxes()[0].flags, ui::MB_OK | ui::MB_ICONINFORMATION);
}

TEST_F(RegisterAddressDlgTest, EveryBitPositionIsCheckedAndOkRefusesABadBit) {
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    // A bit after a ':' part sits in the third position.
    CRegisterAddressDlg dlg;
    Run(2, "N7:0_5", [&](Dialog& d) {
        EXPECT_TRUE(Shown(d, IDC_BIT2_EDIT));
        EXPECT_FALSE(Shown(d, IDC_BIT_EDIT));
        EXPECT_EQ(Text(d, IDC_BIT2_EDIT), "5");
        d.Item(IDC_BIT2_EDIT).UserType("16");
        d.Item(IDC_NUMBER_PART).UserFocus();
        EXPECT_EQ(Text(d, IDC_BIT2_EDIT), "0");
        // Typed, not left: OK checks it first and stays open.
        d.Item(IDC_BIT2_EDIT).UserType("99");
        d.UserPressEnter();
        EXPECT_FALSE(d.IsEnded());
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "N007:0_0");
        d.UserClickButton(ui::IDOK);
    }, &dlg);
    EXPECT_EQ(dlg.m_strNewAddress, "N007:0_0");
    EXPECT_EQ(ui.MessageBoxes().size(), 2u);
}

TEST_F(RegisterAddressDlgTest, BitModeNeverOutlivesTheUsersChoice) {
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    // Cancel in bit mode, then a fresh run: no bit unless asked for.
    Run(1, "H0001_3", [](Dialog& d) { d.UserClickButton(ui::IDCANCEL); });
    EXPECT_EQ(g_bBitAddressMode, 1u);
    CRegisterAddressDlg dlg;
    Run(1, "", [&](Dialog& d) {
        Select(d, "Holding Register");
        d.Item(IDC_NUMBER_PART).UserType("7");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0007");
        // Another type after a bit was chosen: the bit goes with the old type.
        d.UserClickButton(IDC_BIT_ADDRESSED_RADIO);
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "H0007_0");
        Select(d, "Input Register");
        d.Item(IDC_NUMBER_PART).UserType("9");
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "R0009");
        d.UserClickButton(ui::IDOK);
    }, &dlg);
    EXPECT_EQ(dlg.m_strNewAddress, "R0009");

    // A prefix no register type has: the first type at its lowest address.
    Run(1, "ZZ12_4", [&](Dialog& d) {
        EXPECT_EQ(Types(d).GetCurSel(), 0);
        EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), "C0001");
        d.UserClickButton(ui::IDOK);
    }, &dlg);
    EXPECT_EQ(dlg.m_strNewAddress, "C0001");
}

TEST_F(RegisterAddressDlgTest, RecipeTableAndCanDriversOfferNoBit) {
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    g_bRecipeDlgOpen = 1;
    CRegisterAddressDlg dlg;
    Run(1, "H0004_2", [&](Dialog& d) {
        EXPECT_FALSE(Shown(d, IDC_REGISTER_RADIO));
        EXPECT_FALSE(Shown(d, IDC_BIT_EDIT));
        d.UserClickButton(ui::IDOK);
    }, &dlg);
    EXPECT_TRUE(dlg.m_strNewAddress.empty());
    EXPECT_EQ(dlg.m_strRecipeAddress, "H0004_2");  // what was passed in, untouched
    EXPECT_EQ(g_bNewBlockListEdited, 1);
    g_bRecipeDlgOpen = 0;

    // The COM2 driver is a CAN driver: neither port offers bits.
    g_arrCanDrivers = {"999", g_PlcRegisterTables.g_strPlc2DriverId};
    Run(1, "", [&](Dialog& d) {
        Select(d, "Holding Register");
        EXPECT_FALSE(Shown(d, IDC_REGISTER_RADIO));
        EXPECT_FALSE(Shown(d, IDC_BIT_ADDRESSED_RADIO));
        d.UserClickButton(ui::IDCANCEL);
    });
    EXPECT_EQ(g_bCom2IsCAN, 1);
}

const char* kOddPlc =
    "[Plc Info]\r\nPlc Name=Odd Layouts\r\nPlc Code=102\r\nPlc Model count=1\r\nPlc1=Standard\r\nNoOfWord=64\r\n"
    "[Standard]\r\nRegisterCount=1\r\nRegisterWidth=4\r\nRegister1=Slot Word,1,0,X,00,99,**,,00,15\r\n";

TEST_F(RegisterAddressDlgTest, AThirdPartWithoutASecondGetsItsOwnEdit) {
    tree.Write("QVX-S7/Plc/10200_004.inf", kOddPlc);
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    Run(2, "", [&](Dialog& d) {
        EXPECT_TRUE(Shown(d, IDC_NUMBER_PART));
        EXPECT_FALSE(Shown(d, IDC_COLON_PART));  // no marker text to edit
        EXPECT_TRUE(Shown(d, IDC_SLASH_PART));
        EXPECT_EQ(Text(d, IDC_SLASH_PART), "00");
        d.UserClickButton(IDC_BIT_ADDRESSED_RADIO);
        EXPECT_TRUE(Shown(d, IDC_BIT3_EDIT));
        d.UserClickButton(ui::IDCANCEL);
    });
}

TEST_F(RegisterAddressDlgTest, APlcWithoutRegisterTypesIsReportedAndNothingIsPicked) {
    tree.Write("QVX-S7/Plc/10200_004.inf",
               "[Plc Info]\r\nPlc Name=Empty\r\nPlc Code=102\r\nPlc Model count=1\r\nPlc1=Standard\r\n"
               "[Standard]\r\nRegisterCount=0\r\n");
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    CRegisterAddressDlg dlg;
    dlg.m_nPort = 2;
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "The PLC of this port has no register types. No address can be built.");
    EXPECT_TRUE(dlg.m_strNewAddress.empty());
}

}  // namespace

namespace {

// Opened on a bit where the type takes none (a coil, or any register while COM2 has a CAN
// driver), the parts are the word's: leaving the number edit keeps the register.
TEST_F(RegisterAddressDlgTest, ABitTheTypeCanNotCarryNeverRunsIntoTheNumber) {
    Configure("QVX-S7", 82, "101", 1, "102", 1);
    for (const auto& [address, word, can] : {std::tuple{"C0001_3", "C0001", false}, std::tuple{"H0001_3", "H0001", true}}) {
        SCOPED_TRACE(address);
        if (can) g_arrCanDrivers = {g_PlcRegisterTables.g_strPlc2DriverId};
        CRegisterAddressDlg dlg;
        Run(1, address, [&](Dialog& d) {
            EXPECT_EQ(d.Item(IDC_NUMBER_PART).GetWindowText(), "0001");
            ASSERT_TRUE(d.Item(IDC_NUMBER_PART).UserFocus());
            ASSERT_TRUE(d.Item(IDC_NUMBER_PART_UP).UserFocus());  // leaving the edit
            EXPECT_EQ(Text(d, IDC_ADDRESS_TEXT), word);
            d.UserClickButton(ui::IDOK);
        }, &dlg);
        EXPECT_EQ(dlg.m_strNewAddress, word);
    }
}

}  // namespace
