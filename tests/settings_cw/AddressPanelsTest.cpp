// The address panels of both control-word dialogs: what typing keeps, how leaving a part
// field pads it and pulls it into the register's limits, how the "+" and "-" buttons
// step each number system and where a step past a limit lands, the register lists'
// selection change, and which of the address texts each change rewrites.
#include "ControlWordFixture.h"

namespace {

using ExDlg = CControlWordExDlg;
using OldDlg = CControlWordDlg;

// ---------------------------------------------------------------------------------------
// Typing and leaving

TEST_F(ControlWordTest, TypingDropsCharactersOutsideTheDecimalSystem) {
    Load(1, 1);
    RunEx(1, [&](ExDlg& d) {
        Type(d, IDC_CW_PLC1_NUMBER, "12x4");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "124");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "D0124");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "D0124");
        Leave(d, IDC_CW_PLC1_REGISTER);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "0124");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "D0124");
        EXPECT_EQ(g_bProjectModified, 0);  // typing marks nothing
        Cancel(d);
    });
}

TEST_F(ControlWordTest, HexadecimalPartsKeepCapitalsOnly) {
    Load(1, 1);
    RunEx(1, [&](ExDlg& d) {
        Select(d, IDC_CW_PLC1_REGISTER, "Hex Register");
        Type(d, IDC_CW_PLC1_NUMBER, "a");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "A");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "W0A");
        d.Item(IDC_CW_PLC1_NUMBER).UserEdited("1b");  // a small letter that got past the capitals
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "1");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "W01");
        Cancel(d);
    });
}

TEST_F(ControlWordTest, AddressesShowTheValueHeldInTheLimitsAndLeavingWritesIt) {
    Load(1, 1);
    RunEx(1, [&](ExDlg& d) {
        Type(d, IDC_CW_PLC1_NUMBER, "5");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "D0005");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "5");
        Leave(d, IDC_CW_PLC1_REGISTER);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "0005");

        Select(d, IDC_CW_PLC1_REGISTER, "Holding");  // 0001 to 0100
        Type(d, IDC_CW_PLC1_NUMBER, "0");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "H0001");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "H0001");
        Type(d, IDC_CW_PLC1_NUMBER, "500");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "H0100");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "500");
        Leave(d, IDC_CW_PLC1_REGISTER);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "0100");
        Type(d, IDC_CW_PLC1_NUMBER, "");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "H0001");
        Leave(d, IDC_CW_PLC1_REGISTER);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "0001");

        Select(d, IDC_CW_PLC1_REGISTER, "Data Register");
        Type(d, IDC_CW_PLC1_NUMBER, "");
        Leave(d, IDC_CW_PLC1_REGISTER);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "0000");
        EXPECT_TRUE(ui.MessageBoxes().empty());
        Cancel(d);
    });
}

TEST_F(ControlWordTest, MixedRegistersTypeNumberAndSlashInDecimalAndTheColonPartInHex) {
    Load(3, 3);
    RunEx(1, [&](ExDlg& d) {
        for (int panel = 1; panel <= 2; ++panel) {
            const int list = panel == 1 ? IDC_CW_PLC1_REGISTER : IDC_CW_PLC2_REGISTER;
            const int number = panel == 1 ? IDC_CW_PLC1_NUMBER : IDC_CW_PLC2_NUMBER;
            const int colon = panel == 1 ? IDC_CW_PLC1_COLON : IDC_CW_PLC2_COLON;
            const int slash = panel == 1 ? IDC_CW_PLC1_SLASH : IDC_CW_PLC2_SLASH;
            const int address = panel == 1 ? IDC_CW_PLC1_ADDRESS : IDC_CW_PLC2_ADDRESS;
            Select(d, list, "Mixed");
            EXPECT_EQ(Text(d, address), "U00:00/00");
            Type(d, number, "1A");
            EXPECT_EQ(Text(d, number), "1");
            Type(d, colon, "1f");
            EXPECT_EQ(Text(d, colon), "1F");
            Type(d, slash, "2B");
            EXPECT_EQ(Text(d, slash), "2");
            EXPECT_EQ(Text(d, address), "U01:1F/02");
            Leave(d, list);
            EXPECT_EQ(Text(d, slash), "02");
        }
        Cancel(d);
    });
}

TEST_F(ControlWordTest, AnotherNumberSystemKeepsEveryCharacterAndHasNoLimits) {
    Load(1, 1);
    RunEx(1, [&](ExDlg& d) {
        Select(d, IDC_CW_PLC1_REGISTER, "Odd Radix");
        Type(d, IDC_CW_PLC1_NUMBER, "5q");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "5Q");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "Z005Q");
        Leave(d, IDC_CW_PLC1_REGISTER);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "005Q");
        Type(d, IDC_CW_PLC1_NUMBER, "9999");  // above 0100, but nothing compares
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "Z9999");
        Click(d, IDC_CW_PLC1_NUMBER_UP);  // and nothing steps
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "9999");
        EXPECT_EQ(g_bProjectModified, 1);
        Cancel(d);
    });
}

TEST_F(ControlWordTest, OnlyTheFirstEightCharactersOfAPartAreRead) {
    Load(1, 1);
    RunEx(1, [&](ExDlg& d) {
        Select(d, IDC_CW_PLC1_REGISTER, "Long");
        EXPECT_EQ(d.Item(IDC_CW_PLC1_NUMBER).GetLimitText(), 9);
        Type(d, IDC_CW_PLC1_NUMBER, "123456789");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "123456789");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "L012345678");
        Leave(d, IDC_CW_PLC1_REGISTER);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "012345678");
        Type(d, IDC_CW_PLC1_NUMBER, "1234567x9");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "1234567");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "L001234567");
        Cancel(d);
    });
}

TEST_F(ControlWordTest, TheSideDecidesWhichPanelFeedsTheControlWord) {
    Load(1, 1);
    RunEx(1, [&](ExDlg& d) {  // Com1
        Type(d, IDC_CW_PLC2_NUMBER, "33");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "D0033");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "");
        Type(d, IDC_CW_PLC1_NUMBER, "44");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "D0044");
        Cancel(d);
    });
    s.g_nCtrlWordSide = 5;  // no radio set: the PLC2 panel feeds it
    RunOld(1, [&](OldDlg& d) {
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_CW_COM1) + d.IsDlgButtonChecked(IDC_CW_COM2), 0);
        Type(d, IDC_CW_PLC2_NUMBER, "33");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "D0033");
        Type(d, IDC_CW_PLC1_NUMBER, "44");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "D0044");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "D0033");
        Cancel(d);
    });
}

// A hidden part with a mark keeps it in every mode: the letter names the timer's register.
TEST_F(ControlWordTest, NewerErrorBitsKeepTheLetterOfAHiddenMarkedPart) {
    Load(1, 1);
    RunEx(2, [&](ExDlg& d) {
        Select(d, IDC_CW_PLC1_REGISTER, "Timer Acc");
        EXPECT_FALSE(Shown(d, IDC_CW_PLC1_COLON));
        Type(d, IDC_CW_PLC1_NUMBER, "5");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "TA005A_0");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "TA005A_0");
        Select(d, IDC_CW_PLC1_REGISTER, "Output Coil");
        Type(d, IDC_CW_PLC1_NUMBER, "12");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "Y0012");  // a coil: no bit
        Cancel(d);
    });
    RunEx(1, [&](ExDlg& d) {  // the control word keeps the letter
        Select(d, IDC_CW_PLC1_REGISTER, "Timer Acc");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "TA000A");
        Type(d, IDC_CW_PLC1_NUMBER, "5");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "TA005A");
        Cancel(d);
    });
    RunOld(1, [&](OldDlg& d) {
        Select(d, IDC_CW_PLC1_REGISTER, "Timer Acc");
        Type(d, IDC_CW_PLC1_NUMBER, "5");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "TA005A");
        Cancel(d);
    });
}

TEST_F(ControlWordTest, AHiddenPartFieldChangesNothing) {
    Load(1, 1);
    RunEx(1, [&](ExDlg& d) {
        d.SetDlgItemText(IDC_CW_PLC1_COLON, "77");
        d.SetDlgItemText(IDC_CW_PLC2_SLASH, "77");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "D0000");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "D0000");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "");
        Cancel(d);
    });
}

// ---------------------------------------------------------------------------------------
// Stepping

TEST_F(ControlWordTest, StepsPastADecimalLimitLandAsEachPanelSays) {
    Load(1, 1);
    RunEx(1, [&](ExDlg& d) {
        Select(d, IDC_CW_PLC1_REGISTER, "Byte Register");  // 000 to 255
        Select(d, IDC_CW_PLC2_REGISTER, "Byte Register");
        d.SetDlgItemText(IDC_CW_PLC1_NUMBER, "255");
        Click(d, IDC_CW_PLC1_NUMBER_UP);  // 256: above, back to the upper limit
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "255");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "B255");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "B255");
        d.SetDlgItemText(IDC_CW_PLC1_NUMBER, "000");
        Click(d, IDC_CW_PLC1_NUMBER_DOWN);  // 999: above; PLC1 stays at the lower limit
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "000");
        d.SetDlgItemText(IDC_CW_PLC2_NUMBER, "000");
        Click(d, IDC_CW_PLC2_NUMBER_DOWN);  // PLC2 wraps to the upper limit
        EXPECT_EQ(Text(d, IDC_CW_PLC2_NUMBER), "255");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "B255");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "B000");  // the side is Com1
        Click(d, IDC_CW_PLC2_NUMBER_UP);
        EXPECT_EQ(Text(d, IDC_CW_PLC2_NUMBER), "255");

        Select(d, IDC_CW_PLC1_REGISTER, "Holding");  // 0001 to 0100
        Select(d, IDC_CW_PLC2_REGISTER, "Holding");
        Click(d, IDC_CW_PLC1_NUMBER_DOWN);  // 0000: below; PLC1 wraps to the upper limit
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "0100");
        Click(d, IDC_CW_PLC2_NUMBER_DOWN);  // PLC2 stays at the lower limit
        EXPECT_EQ(Text(d, IDC_CW_PLC2_NUMBER), "0001");

        Select(d, IDC_CW_PLC1_REGISTER, "Two Digit");  // 00 to 99
        Select(d, IDC_CW_PLC2_REGISTER, "Two Digit");
        d.SetDlgItemText(IDC_CW_PLC1_NUMBER, "99");
        d.SetDlgItemText(IDC_CW_PLC2_NUMBER, "99");
        Click(d, IDC_CW_PLC1_NUMBER_UP);
        Click(d, IDC_CW_PLC2_NUMBER_UP);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "00");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_NUMBER), "00");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "T00");
        Cancel(d);
    });
}

TEST_F(ControlWordTest, StepsCountInHexadecimalAndOctal) {
    Load(1, 1);
    RunEx(1, [&](ExDlg& d) {
        Select(d, IDC_CW_PLC1_REGISTER, "Hex Register");
        const std::pair<const char*, const char*> up[] = {{"09", "0A"}, {"0F", "10"}, {"FF", "00"}};
        for (const auto& [from, to] : up) {
            d.SetDlgItemText(IDC_CW_PLC1_NUMBER, from);
            Click(d, IDC_CW_PLC1_NUMBER_UP);
            EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), to) << from;
        }
        d.SetDlgItemText(IDC_CW_PLC1_NUMBER, "10");
        Click(d, IDC_CW_PLC1_NUMBER_DOWN);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "0F");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "W0F");

        Select(d, IDC_CW_PLC2_REGISTER, "Octal Register");
        d.SetDlgItemText(IDC_CW_PLC2_NUMBER, "07");
        Click(d, IDC_CW_PLC2_NUMBER_UP);
        EXPECT_EQ(Text(d, IDC_CW_PLC2_NUMBER), "10");
        Click(d, IDC_CW_PLC2_NUMBER_DOWN);
        EXPECT_EQ(Text(d, IDC_CW_PLC2_NUMBER), "07");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "O07");
        Cancel(d);
    });
}

TEST_F(ControlWordTest, StepsOfColonAndSlashParts) {
    Load(1, 1);
    RunOld(1, [&](OldDlg& d) {
        Select(d, IDC_CW_PLC1_REGISTER, "Mixed");  // decimal number and slash, hexadecimal colon
        for (int id : {IDC_CW_PLC1_NUMBER, IDC_CW_PLC1_COLON, IDC_CW_PLC1_SLASH}) d.SetDlgItemText(id, "09");
        Click(d, IDC_CW_PLC1_NUMBER_UP);
        Click(d, IDC_CW_PLC1_COLON_UP);
        Click(d, IDC_CW_PLC1_SLASH_UP);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "U10:0A/10");

        Select(d, IDC_CW_PLC1_REGISTER, "File");  // colon part 000 to 255
        Select(d, IDC_CW_PLC2_REGISTER, "File");
        d.SetDlgItemText(IDC_CW_PLC1_COLON, "255");
        Click(d, IDC_CW_PLC1_COLON_UP);  // PLC1 wraps to the lower limit
        EXPECT_EQ(Text(d, IDC_CW_PLC1_COLON), "000");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "N000:000");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "N000:000");
        Click(d, IDC_CW_PLC1_COLON_DOWN);  // 999: above
        EXPECT_EQ(Text(d, IDC_CW_PLC1_COLON), "000");
        d.SetDlgItemText(IDC_CW_PLC2_COLON, "255");
        Click(d, IDC_CW_PLC2_COLON_UP);  // PLC2 stays
        EXPECT_EQ(Text(d, IDC_CW_PLC2_COLON), "255");

        Select(d, IDC_CW_PLC1_REGISTER, "Bit File");  // slash part 00 to 15
        Select(d, IDC_CW_PLC2_REGISTER, "Bit File");
        d.SetDlgItemText(IDC_CW_PLC1_SLASH, "15");
        Click(d, IDC_CW_PLC1_SLASH_UP);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_SLASH), "00");
        Click(d, IDC_CW_PLC1_SLASH_DOWN);  // 99: above
        EXPECT_EQ(Text(d, IDC_CW_PLC1_SLASH), "15");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "F00:000/15");
        d.SetDlgItemText(IDC_CW_PLC2_SLASH, "15");
        Click(d, IDC_CW_PLC2_SLASH_UP);
        EXPECT_EQ(Text(d, IDC_CW_PLC2_SLASH), "15");
        d.SetDlgItemText(IDC_CW_PLC2_SLASH, "00");
        Click(d, IDC_CW_PLC2_SLASH_DOWN);
        EXPECT_EQ(Text(d, IDC_CW_PLC2_SLASH), "15");
        Cancel(d);
    });
}

TEST_F(ControlWordTest, OlderDialogWithoutASideFeedsTheControlWordFromPlc2) {
    Load(1, 1);
    s.g_nCtrlWordSide = 5;
    RunOld(1, [&](OldDlg& d) {
        Click(d, IDC_CW_PLC2_NUMBER_UP);
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "D0001");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "D0001");
        Click(d, IDC_CW_PLC1_NUMBER_UP);
        Click(d, IDC_CW_PLC1_NUMBER_UP);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "D0002");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "D0001");
        Cancel(d);
    });
}

TEST_F(ControlWordTest, AStepOnTheOtherSideIsTakenUpByItsRadio) {
    Load(1, 1);
    s.g_nCtrlWordSide = 1;
    RunEx(1, [&](ExDlg& d) {
        Click(d, IDC_CW_PLC1_NUMBER_UP);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "0001");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "D0001");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "");
        Click(d, IDC_CW_COM1);
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "D0001");
        Cancel(d);
    });
}

TEST_F(ControlWordTest, StepsAndSelectionsMarkTheProject) {
    Load(1, 1);
    RunEx(1, [&](ExDlg& d) {
        Click(d, IDC_CW_PLC1_NUMBER_UP);
        EXPECT_EQ(g_bProjectModified, 1);
        EXPECT_EQ(g_bBlockListEdited, 0);
        Cancel(d);
    });
    g_bProjectModified = 0;
    RunEx(1, [&](ExDlg& d) {
        Select(d, IDC_CW_PLC2_REGISTER, "Holding");
        EXPECT_EQ(g_bProjectModified, 1);
        EXPECT_EQ(g_bBlockListEdited, 0);
        Cancel(d);
    });
    g_bProjectModified = 0;
    RunOld(1, [&](OldDlg& d) {
        Click(d, IDC_CW_PLC2_NUMBER_DOWN);
        EXPECT_EQ(g_bProjectModified, 1);
        EXPECT_EQ(g_bBlockListEdited, 1);
        Cancel(d);
    });
    g_bProjectModified = g_bBlockListEdited = 0;
    RunOld(2, [&](OldDlg& d) {
        Select(d, IDC_CW_PLC1_REGISTER, "Coil Bit");
        EXPECT_EQ(g_bProjectModified, 1);
        EXPECT_EQ(g_bBlockListEdited, 1);
        Cancel(d);
    });
    EXPECT_EQ(g_bProjectModified, 1);  // Cancel takes nothing back
}

TEST_F(ControlWordTest, NewerErrorBitStepsKeepTheBitNumber) {
    Load(1, 1);
    RunEx(2, [&](ExDlg& d) {
        Select(d, IDC_CW_PLC1_REGISTER, "Data Register");
        Type(d, IDC_CW_PLC1_BIT, "5");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "D0000_5");
        Click(d, IDC_CW_PLC1_NUMBER_UP);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "0001");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "D0001_5");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "D0001_5");
        EXPECT_TRUE(Shown(d, IDC_CW_PLC1_BIT));
        Select(d, IDC_CW_PLC1_REGISTER, "Output Coil");
        Click(d, IDC_CW_PLC1_NUMBER_UP);
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "Y0001");
        EXPECT_FALSE(Shown(d, IDC_CW_PLC1_BIT));
        Cancel(d);
    });
}

TEST_F(ControlWordTest, AnEmptiedFieldStepsFromZero) {
    Load(1, 1);
    RunEx(1, [&](ExDlg& d) {
        d.SetDlgItemText(IDC_CW_PLC1_NUMBER, "");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "D0000");
        Click(d, IDC_CW_PLC1_NUMBER_UP);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "0001");
        d.SetDlgItemText(IDC_CW_PLC1_NUMBER, "");
        Click(d, IDC_CW_PLC1_NUMBER_DOWN);  // 9999, within the limits
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "9999");
        Cancel(d);
    });
}

TEST_F(ControlWordTest, OlderErrorBitStepsWriteTheSummary) {
    Load(1, 1);
    RunOld(2, [&](OldDlg& d) {
        Select(d, IDC_CW_PLC1_REGISTER, "Coil Bit");  // a coil: "/" before its second part
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "M000/00");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "M000/00");
        Click(d, IDC_CW_PLC1_COLON_UP);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "M000/01");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "M000/01");
        Type(d, IDC_CW_PLC2_NUMBER, "7");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2), "Y0007");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "");
        Cancel(d);
    });
}

// ---------------------------------------------------------------------------------------
// Register lists

TEST_F(ControlWordTest, SelectingARegisterShowsItsPartsAndLimitsTheNumberPart) {
    Load(1, 1);
    RunOld(1, [&](OldDlg& d) {
        const std::pair<const char*, int> limits[] = {{"Holding", 4}, {"Two Digit", 2}, {"Long", 9}};
        for (const auto& [name, chars] : limits) {
            Select(d, IDC_CW_PLC1_REGISTER, name);
            EXPECT_EQ(d.Item(IDC_CW_PLC1_NUMBER).GetLimitText(), chars) << name;
        }
        Select(d, IDC_CW_PLC1_REGISTER, "Bit File");
        for (int id : {IDC_CW_PLC1_NUMBER, IDC_CW_PLC1_COLON, IDC_CW_PLC1_SLASH, IDC_CW_PLC1_SLASH_UP})
            EXPECT_TRUE(Shown(d, id)) << id;
        EXPECT_EQ(Text(d, IDC_CW_PLC1_RANGE), "(00-99)(000-255)(00-15)");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "F00:000/00");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_COLON), "000");
        Select(d, IDC_CW_PLC1_REGISTER, "Data Register");  // the parts it does not use go
        EXPECT_FALSE(Shown(d, IDC_CW_PLC1_COLON));
        EXPECT_FALSE(Shown(d, IDC_CW_PLC1_SLASH_UP));
        EXPECT_EQ(Text(d, IDC_CW_PLC1_COLON), "**");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_RANGE), "(0000-9999)");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "D0000");
        Cancel(d);
    });
}

}  // namespace
