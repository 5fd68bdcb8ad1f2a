// The newer generation's control-word dialog as a whole: opening on a new project and on
// stored settings, the side radios and Enable boxes, station ID and word count, the bit
// fields of error bits in word registers, what "&Ok" stores, and how "&Cancel", Enter and
// Esc close.
#include "ControlWordFixture.h"

#include "app/MainFrame.h"
#include "ui/Backend.h"

namespace {

constexpr int kPlc1Bits[] = {IDC_CW_PLC1_BIT, IDC_CW_PLC1_BIT_UP, IDC_CW_PLC1_BIT_DOWN,
                             IDC_CW_PLC1_BIT3, IDC_CW_PLC1_BIT3_UP, IDC_CW_PLC1_BIT3_DOWN};
constexpr int kPlc2Bits[] = {IDC_CW_PLC2_BIT, IDC_CW_PLC2_BIT_UP, IDC_CW_PLC2_BIT_DOWN,
                             IDC_CW_PLC2_BIT3, IDC_CW_PLC2_BIT3_UP, IDC_CW_PLC2_BIT3_DOWN};
constexpr int kStation[] = {IDC_CW_STATION_GROUP, IDC_CW_STATION_LABEL, IDC_CW_WORDS_LABEL,
                            IDC_CW_STATION_ID, IDC_CW_WORDS};

using ExDlg = CControlWordExDlg;

TEST_F(ControlWordTest, NewerOpensTheControlWordOfANewProject) {
    Load(1, 1);
    for (int before : {0, 1}) {
        g_bProjectModified = before;
        g_bCtrlWordDlgOK = 1;
        EXPECT_EQ(RunEx(1, [&](ExDlg& d) {
            EXPECT_EQ(d.GetWindowText(), "Control Word Setting");
            EXPECT_EQ(g_szHelpTopic, "controlword.htm");
            for (int list : {IDC_CW_PLC1_REGISTER, IDC_CW_PLC2_REGISTER}) {
                ASSERT_EQ(List(d, list).GetCount(), 12);  // the word registers (kind 1)
                EXPECT_EQ(List(d, list).GetLBText(0), "Data Register");
                EXPECT_EQ(List(d, list).GetLBText(11), "Long");
                EXPECT_EQ(List(d, list).GetItemData(0), 2u);
                EXPECT_EQ(List(d, list).GetCurSel(), 0);
                EXPECT_EQ(List(d, list).FindStringExact(-1, "Input Register"), -1);  // kind 3
            }
            EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "0000");
            EXPECT_TRUE(Shown(d, IDC_CW_PLC1_NUMBER));
            EXPECT_TRUE(Shown(d, IDC_CW_PLC1_NUMBER_UP));
            EXPECT_FALSE(Shown(d, IDC_CW_PLC1_COLON));
            EXPECT_FALSE(Shown(d, IDC_CW_PLC1_SLASH_DOWN));
            EXPECT_EQ(Text(d, IDC_CW_PLC1_RANGE), "(0000-9999)");
            EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "D0000");
            EXPECT_EQ(Text(d, IDC_CW_PLC2_NUMBER), "0000");
            EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "D0000");
            EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "");
            EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD_TEXT), "No control word is set");
            EXPECT_EQ(Text(d, IDC_CW_STATION_ID), "1");
            EXPECT_EQ(Text(d, IDC_CW_WORDS), "1");
            for (int id : kStation) EXPECT_TRUE(Shown(d, id)) << id;
            for (int id : kPlc1Bits) EXPECT_FALSE(Shown(d, id)) << id;
            for (int id : kPlc2Bits) EXPECT_FALSE(Shown(d, id)) << id;
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_CW_COM1), 1);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_CW_COM2), 0);
            EXPECT_TRUE(Shown(d, IDC_CW_ENABLE1));
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_CW_ENABLE1), 0);
            EXPECT_FALSE(Shown(d, IDC_CW_ENABLE2));
            EXPECT_TRUE(Shown(d, IDC_CW_CTRL_WORD));
            for (int id : {IDC_CW_ERR_BIT1, IDC_CW_ERR_BIT1_TEXT, IDC_CW_ERR_BIT2, IDC_CW_ERR_BIT2_TEXT,
                           IDC_CW_ERR_BIT_HELP})
                EXPECT_FALSE(Shown(d, id)) << id;
            EXPECT_TRUE(Shown(d, IDC_CW_CTRL_WORD_HELP));
            EXPECT_EQ(d.Item(IDC_CW_CTRL_WORD).GetTextColor(), ui::RGB(0, 0, 255));
            EXPECT_NE(d.Item(IDC_CW_PLC1_NUMBER_UP).GetBitmap(), nullptr);
            EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER_UP), "");
            EXPECT_NE(d.Item(IDC_CW_OK).GetBitmap(), nullptr);
            EXPECT_EQ(g_bProjectModified, before);  // opening marks nothing
            Cancel(d);
        }), ui::IDCANCEL);
        EXPECT_EQ(g_bCtrlWordDlgOK, 0);
        EXPECT_EQ(s.g_strCtrlWordAddr, "");
    }
}

TEST_F(ControlWordTest, NewerOkStoresTheControlWordOfTheChosenSide) {
    Load(1, 1);
    g_bProjectModified = 1;
    EXPECT_EQ(RunEx(1, [&](ExDlg& d) {
        Select(d, IDC_CW_PLC2_REGISTER, "Byte Register");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "B000");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "");  // the side is still Com1
        Click(d, IDC_CW_COM2);
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "B000");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD_TEXT),
                  "is control word from PLC Beta Bus, which controls execution of Block, if enabled.");
        Type(d, IDC_CW_PLC2_NUMBER, "12");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "B012");
        Click(d, IDC_CW_PLC2_NUMBER_DOWN);  // leaving the field fills it first
        EXPECT_EQ(Text(d, IDC_CW_PLC2_NUMBER), "011");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "B011");
        Click(d, IDC_CW_ENABLE1);
        Type(d, IDC_CW_STATION_ID, "17");
        Type(d, IDC_CW_WORDS, "4");
        Click(d, IDC_CW_OK);
    }), ui::IDOK);
    EXPECT_EQ(s.g_strCtrlWordAddr, "B011");
    EXPECT_EQ(s.g_nCtrlWordSide, 1);
    EXPECT_EQ(s.g_bCtrlWordEnabled, 1);
    EXPECT_EQ(s.g_nCtrlWordStation, 17);
    EXPECT_EQ(s.g_nCtrlWordWords, 4);
    EXPECT_EQ(s.g_strCtrlWordShown, "B011");
    EXPECT_EQ(g_bCtrlWordDlgOK, 1);
    EXPECT_EQ(g_bCtrlWordConfirmed, 1);
    EXPECT_EQ(g_bProjectModified, 1);  // a confirmed dialog keeps the mark
    EXPECT_TRUE(ui.MessageBoxes().empty());

    // Opened again: the stored word on its side.
    s.g_strCtrlWordShown.clear();
    RunEx(1, [&](ExDlg& d) {
        EXPECT_EQ(Selected(d, IDC_CW_PLC2_REGISTER), "Byte Register");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_NUMBER), "011");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "B011");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "B011");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD_TEXT), "is control word from Beta Bus, which controls execution of Block.");
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_CW_COM2), 1);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_CW_ENABLE1), 1);
        EXPECT_EQ(Text(d, IDC_CW_STATION_ID), "17");
        EXPECT_EQ(Text(d, IDC_CW_WORDS), "4");
        EXPECT_EQ(Selected(d, IDC_CW_PLC1_REGISTER), "Data Register");
        Cancel(d);
    });
    EXPECT_EQ(s.g_strCtrlWordShown, "B011");  // set at opening
    EXPECT_EQ(g_bProjectModified, 1);  // a confirmed dialog keeps the mark
}

TEST_F(ControlWordTest, NewerOkWithAnEmptySummaryKeepsTheAddressAndStoresTheRest) {
    Load(1, 1);
    s.g_nCtrlWordSide = 0;
    s.g_bCtrlWordEnabled = 0;
    g_bProjectModified = 1;
    RunEx(1, [&](ExDlg& d) {
        d.CheckDlgButton(IDC_CW_ENABLE1, 1);
        Type(d, IDC_CW_STATION_ID, "5");
        Click(d, IDC_CW_OK);
    });
    EXPECT_EQ(s.g_strCtrlWordAddr, "");
    EXPECT_EQ(s.g_nCtrlWordSide, 0);
    EXPECT_EQ(s.g_bCtrlWordEnabled, 0);
    EXPECT_EQ(s.g_nCtrlWordStation, 5);
    EXPECT_EQ(s.g_nCtrlWordWords, 1);
    EXPECT_EQ(s.g_strCtrlWordShown, "D0000");
    EXPECT_EQ(g_bCtrlWordDlgOK, 1);
    EXPECT_EQ(g_bCtrlWordConfirmed, 1);
    EXPECT_EQ(g_bProjectModified, 1);  // a confirmed dialog keeps the mark

    RunEx(1, [&](ExDlg& d) { Click(d, IDC_CW_OK); });
    EXPECT_EQ(g_bCtrlWordConfirmed, 0);  // the Enable box unchecked
}

TEST_F(ControlWordTest, NewerStoredControlWordOnCom2WithThreeParts) {
    Load(1, 3);
    s.g_strCtrlWordAddr = "  F12:034/05 ";
    s.g_nCtrlWordSide = 1;
    RunEx(1, [&](ExDlg& d) {
        EXPECT_EQ(Selected(d, IDC_CW_PLC2_REGISTER), "Bit File");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_NUMBER), "12");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_COLON), "034");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_SLASH), "00");  // form 3 takes number and colon part only
        for (int id : {IDC_CW_PLC2_NUMBER, IDC_CW_PLC2_COLON, IDC_CW_PLC2_SLASH}) EXPECT_TRUE(Shown(d, id));
        EXPECT_EQ(Text(d, IDC_CW_PLC2_RANGE), "(00-99)(000-255)(00-15)");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "F12:034/05");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "F12:034/05");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD_TEXT), "is control word from Beta Bus, which controls execution of Block.");
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_CW_COM2), 1);
        Cancel(d);
    });
    EXPECT_EQ(s.g_strCtrlWordAddr, "F12:034/05");  // trimmed, though cancelled
    EXPECT_EQ(s.g_strCtrlWordShown, "F12:034/05");
}

TEST_F(ControlWordTest, NewerStoredControlWordOfAddressForm2KeepsTheLowerLimits) {
    Load(2, 1);
    s.g_strCtrlWordAddr = "N5:7";
    RunEx(1, [&](ExDlg& d) {
        EXPECT_EQ(Selected(d, IDC_CW_PLC1_REGISTER), "File");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "000");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_COLON), "000");
        EXPECT_TRUE(Shown(d, IDC_CW_PLC1_COLON));
        EXPECT_FALSE(Shown(d, IDC_CW_PLC1_SLASH));
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "N5:7");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "N5:7");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD_TEXT), "is control word from Alpha Link, which controls execution of Block.");
        Cancel(d);
    });
}

TEST_F(ControlWordTest, NewerStationIdAndWordCountAreCheckedWhenLeft) {
    Load(1, 1);
    RunEx(1, [&](ExDlg& d) {
        const std::string station = "Station ID Range is 1-255.Please enter valid data.";
        const std::string words = "#Words Range is 1-16.Please enter valid data";
        for (const char* bad : {"256", "0", "-3", "7o"}) {
            Type(d, IDC_CW_STATION_ID, bad);
            Leave(d, IDC_CW_PLC1_REGISTER);
            EXPECT_EQ(Text(d, IDC_CW_STATION_ID), "1") << bad;
        }
        Type(d, IDC_CW_STATION_ID, "255");
        Leave(d, IDC_CW_PLC1_REGISTER);
        EXPECT_EQ(Text(d, IDC_CW_STATION_ID), "255");
        for (const char* bad : {"0", "17", "-1", "7o"}) {
            Type(d, IDC_CW_WORDS, bad);
            Leave(d, IDC_CW_PLC1_REGISTER);
            EXPECT_EQ(Text(d, IDC_CW_WORDS), "1") << bad;
        }
        for (const char* good : {"1", "16"}) {
            Type(d, IDC_CW_WORDS, good);
            Leave(d, IDC_CW_PLC1_REGISTER);
            EXPECT_EQ(Text(d, IDC_CW_WORDS), good);
        }
        ASSERT_EQ(ui.MessageBoxes().size(), 8u);
        for (size_t i = 0; i < 8; ++i) {
            EXPECT_EQ(ui.MessageBoxes()[i].text, i < 4 ? station : words);
            EXPECT_EQ(ui.MessageBoxes()[i].caption, "Quorvex");
            EXPECT_EQ(ui.MessageBoxes()[i].flags, ui::MB_OK | ui::MB_ICONINFORMATION);
        }
        EXPECT_EQ(g_bProjectModified, 0);
        Click(d, IDC_CW_OK);
    });
    EXPECT_EQ(s.g_nCtrlWordStation, 255);
    EXPECT_EQ(s.g_nCtrlWordWords, 16);
}

TEST_F(ControlWordTest, NewerEnterCancelsAndTakesBackTheConfirmationEscOnlyCloses) {
    Load(1, 1);
    g_bCtrlWordDlgOK = 1;
    EXPECT_EQ(RunEx(1, [&](ExDlg& d) {
        Select(d, IDC_CW_PLC1_REGISTER, "Holding");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "H0001");
        EXPECT_TRUE(d.UserPressEnter());
    }), ui::IDCANCEL);
    EXPECT_EQ(g_bCtrlWordDlgOK, 0);
    EXPECT_EQ(s.g_strCtrlWordAddr, "");
    EXPECT_EQ(g_bProjectModified, 1);  // set by the selection, left by Cancel

    g_bCtrlWordDlgOK = 1;
    EXPECT_EQ(RunEx(1, [&](ExDlg& d) {
        Select(d, IDC_CW_PLC1_REGISTER, "Holding");
        EXPECT_TRUE(d.UserPressEscape());
    }), ui::IDCANCEL);
    EXPECT_EQ(g_bCtrlWordDlgOK, 1);
    EXPECT_EQ(s.g_strCtrlWordAddr, "");

    RunEx(1, [&](ExDlg& d) { d.UserClose(); });
    EXPECT_EQ(g_bCtrlWordDlgOK, 1);
}

TEST_F(ControlWordTest, NewerEnableAndSideRadiosWriteTheSentence) {
    Load(1, 1);
    RunEx(1, [&](ExDlg& d) {
        const std::string com1 = "is control word from PLC Alpha Link which controls execution of Block, if enabled.";
        Click(d, IDC_CW_ENABLE1);
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "D0000");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD_TEXT), com1);
        Click(d, IDC_CW_ENABLE1);  // unchecked: the same sentence
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD_TEXT), com1);
        Click(d, IDC_CW_COM2);
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD_TEXT),
                  "is control word from PLC Beta Bus, which controls execution of Block, if enabled.");
        Click(d, IDC_CW_COM1);
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD_TEXT),
                  "is control word from PLC  Alpha Link, which controls execution of Block, if enabled.");
        EXPECT_EQ(g_bProjectModified, 1);
        EXPECT_EQ(g_bBlockListEdited, 0);
        Cancel(d);
    });
}

TEST_F(ControlWordTest, NewerOpensTheErrorBitsWithCoilsAndWordRegisters) {
    Load(1, 2);
    RunEx(2, [&](ExDlg& d) {
        EXPECT_EQ(d.GetWindowText(), "Error Indication Bit Setting");
        EXPECT_EQ(g_szHelpTopic, "errorbit.htm");
        for (int list : {IDC_CW_PLC1_REGISTER, IDC_CW_PLC2_REGISTER}) {
            ASSERT_EQ(List(d, list).GetCount(), 14);
            EXPECT_EQ(List(d, list).GetLBText(0), "Output Coil");
            EXPECT_EQ(List(d, list).GetLBText(1), "Coil Bit");
            EXPECT_EQ(List(d, list).GetLBText(2), "Data Register");
            EXPECT_EQ(List(d, list).GetCurSel(), 0);
        }
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "Y0000");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_RANGE), "(0000-1999)");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "Y0000");
        for (int id : kPlc1Bits) EXPECT_FALSE(Shown(d, id)) << id;
        for (int id : kPlc2Bits) EXPECT_FALSE(Shown(d, id)) << id;
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2), "");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1_TEXT), "No Error bit is set");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2_TEXT), "No Error bit is set");
        EXPECT_TRUE(Shown(d, IDC_CW_ENABLE1));
        EXPECT_TRUE(Shown(d, IDC_CW_ENABLE2));
        EXPECT_FALSE(Shown(d, IDC_CW_COM1));
        EXPECT_FALSE(Shown(d, IDC_CW_COM2));
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_CW_COM1) + d.IsDlgButtonChecked(IDC_CW_COM2), 0);
        for (int id : kStation) EXPECT_FALSE(Shown(d, id)) << id;
        EXPECT_TRUE(Shown(d, IDC_CW_CTRL_WORD));
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "");
        EXPECT_FALSE(Shown(d, IDC_CW_CTRL_WORD_TEXT));
        EXPECT_FALSE(Shown(d, IDC_CW_CTRL_WORD_HELP));
        EXPECT_TRUE(Shown(d, IDC_CW_ERR_BIT_HELP));
        EXPECT_EQ(d.Item(IDC_CW_ERR_BIT1).GetTextColor(), ui::RGB(0, 0, 255));
        EXPECT_EQ(d.Item(IDC_CW_ERR_BIT2).GetTextColor(), ui::RGB(0, 0, 255));
        Cancel(d);
    });
}

TEST_F(ControlWordTest, NewerWordRegisterBitsTakeTheSlotTheAddressFormLeaves) {
    Load(1, 2);
    RunEx(2, [&](ExDlg& d) {
        // Address form 1: the bit field in the place of the colon part.
        Select(d, IDC_CW_PLC1_REGISTER, "Data Register");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_RANGE), "(0000-9999)(0-15)");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "D0000_0");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "D0000_0");
        EXPECT_TRUE(Shown(d, IDC_CW_PLC1_BIT));
        EXPECT_TRUE(Shown(d, IDC_CW_PLC1_BIT_UP));
        EXPECT_FALSE(Shown(d, IDC_CW_PLC1_BIT3));
        EXPECT_FALSE(Shown(d, IDC_CW_PLC1_COLON));
        Type(d, IDC_CW_PLC1_NUMBER, "100");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "D0100_0");
        Click(d, IDC_CW_PLC1_BIT_UP);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "0100");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_BIT), "1");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "D0100_1");
        Click(d, IDC_CW_PLC1_BIT_DOWN);
        Click(d, IDC_CW_PLC1_BIT_DOWN);
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "D0100_15");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "D0100_15");
        Click(d, IDC_CW_PLC1_BIT_UP);
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "D0100_0");
        Type(d, IDC_CW_PLC1_BIT, "5");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "D0100_5");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "D0100_5");
        for (const char* bad : {"16", "-1"}) {
            Type(d, IDC_CW_PLC1_BIT, bad);
            Leave(d, IDC_CW_PLC1_REGISTER);
            EXPECT_EQ(Text(d, IDC_CW_PLC1_BIT), "0");
            EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "D0100_0");
        }
        ASSERT_EQ(ui.MessageBoxes().size(), 2u);
        EXPECT_EQ(ui.MessageBoxes()[0].text, "Bit Range is 0-15.Please enter valid data.");
        EXPECT_EQ(ui.MessageBoxes()[0].caption, "Invalid Range");
        EXPECT_EQ(ui.MessageBoxes()[0].flags, ui::MB_OK | ui::MB_ICONINFORMATION);
        for (const char* good : {"0", "15"}) {
            Type(d, IDC_CW_PLC1_BIT, good);
            Leave(d, IDC_CW_PLC1_REGISTER);
            EXPECT_EQ(Text(d, IDC_CW_PLC1_BIT), good);
        }
        EXPECT_EQ(ui.MessageBoxes().size(), 2u);

        // Address form 2: the colon part is shown, the bit field takes the slash part's place.
        Select(d, IDC_CW_PLC2_REGISTER, "Data Register");
        EXPECT_TRUE(Shown(d, IDC_CW_PLC2_COLON));
        EXPECT_FALSE(Shown(d, IDC_CW_PLC2_SLASH));
        EXPECT_TRUE(Shown(d, IDC_CW_PLC2_BIT3));
        EXPECT_TRUE(Shown(d, IDC_CW_PLC2_BIT3_DOWN));
        EXPECT_FALSE(Shown(d, IDC_CW_PLC2_BIT));
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2), "D0000_0");
        Click(d, IDC_CW_PLC2_BIT3_UP);
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "D0000_1");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2), "D0000_1");
        Type(d, IDC_CW_PLC2_NUMBER, "42");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2), "D0042_1");

        // A coil has no bit number; its "+" of a bit group changes nothing.
        Select(d, IDC_CW_PLC2_REGISTER, "Output Coil");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2), "Y0000");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_RANGE), "(0000-1999)");
        for (int id : kPlc2Bits) EXPECT_FALSE(Shown(d, id)) << id;
        d.OnBitPlus(ui::Event{ui::Notify::Clicked, IDC_CW_PLC2_BIT3_UP});
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "Y0000");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_BIT3), "1");
        EXPECT_EQ(g_bBlockListEdited, 0);
        Cancel(d);
    });
}

TEST_F(ControlWordTest, NewerWordRegisterAtOpeningOnAddressForm2UsesTheThirdSlot) {
    const std::string words =
        "[Plc Info]\r\nPlc Name=Gamma\r\n[Model]\r\nRegisterCount=1\r\nNoOfByte=2\r\n"
        "Register1=Data Register,1,0,D,0000,9999,**,,**,\r\n";
    Load(2, 2, words);
    s.g_nErrBit2 = 7;
    RunEx(2, [&](ExDlg& d) {
        EXPECT_TRUE(Shown(d, IDC_CW_PLC2_BIT3));
        EXPECT_FALSE(Shown(d, IDC_CW_PLC2_BIT));
        EXPECT_EQ(Text(d, IDC_CW_PLC2_BIT3), "7");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_RANGE), "(0000-9999)(0-15)");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "D0000_7");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2), "");  // nothing stored
        Cancel(d);
    });
}

TEST_F(ControlWordTest, NewerOkStoresEachErrorBitWithItsNumber) {
    Load(1, 1);
    for (int dlgOk : {0, 1}) {
        s = CProjectSettings();
        g_bCtrlWordDlgOK = dlgOk;
        g_bProjectModified = 1;
        EXPECT_EQ(RunEx(2, [&](ExDlg& d) {
            Select(d, IDC_CW_PLC1_REGISTER, "Data Register");
            Type(d, IDC_CW_PLC1_NUMBER, "100");
            Type(d, IDC_CW_PLC1_BIT, "5");
            Click(d, IDC_CW_ENABLE1);
            EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "D0100_5");
            EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1_TEXT),
                      "bit of Alpha Link will be set by Quorvex, when error occurs on Beta Bus end, if enabled.");
            Type(d, IDC_CW_PLC2_NUMBER, "12");
            Click(d, IDC_CW_OK);
        }), ui::IDOK);
        EXPECT_EQ(s.g_strErrBitAddr1, "D0100");
        EXPECT_EQ(s.g_nErrBit1, 5);
        EXPECT_EQ(s.g_bErrBit1Enabled, 1);
        EXPECT_EQ(s.g_strErrBitAddr2, "Y0012");
        EXPECT_EQ(s.g_bErrBit2Enabled, 0);
        EXPECT_EQ(s.g_nErrBit2, 0);  // not enabled
        EXPECT_EQ(g_bCtrlWordDlgOK, dlgOk);
        EXPECT_EQ(g_bProjectModified, 1);  // a confirmed dialog keeps the mark
    }
}

TEST_F(ControlWordTest, NewerReopensStoredBitsAndKeepsThemOnOk) {
    Load(1, 1);
    s.g_strErrBitAddr1 = "D0100";
    s.g_nErrBit1 = 5;
    s.g_bErrBit1Enabled = 1;
    s.g_strErrBitAddr2 = "Y0012";
    s.g_nErrBit2 = 255;
    s.g_bErrBit2Enabled = 1;
    RunEx(2, [&](ExDlg& d) {
        EXPECT_EQ(Selected(d, IDC_CW_PLC1_REGISTER), "Data Register");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "0100");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_BIT), "5");
        EXPECT_TRUE(Shown(d, IDC_CW_PLC1_BIT));
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "D0100_5");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "D0100_5");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1_TEXT),
                  "bit of Alpha Link will be set by Quorvex, when error occoures on Beta Bus end.");
        EXPECT_EQ(Selected(d, IDC_CW_PLC2_REGISTER), "Output Coil");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_NUMBER), "0012");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "Y0012");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2), "Y0012");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2_TEXT),
                  "bit of Beta Bus will be set by Quorvex, when error occoures on Alpha Link end.");
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_CW_ENABLE1), 1);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_CW_ENABLE2), 1);
        EXPECT_EQ(g_bProjectModified, 0);
        Click(d, IDC_CW_OK);
    });
    EXPECT_EQ(s.g_strErrBitAddr1, "D0100");
    EXPECT_EQ(s.g_nErrBit1, 5);
    EXPECT_EQ(s.g_strErrBitAddr2, "Y0012");
    EXPECT_EQ(s.g_nErrBit2, 255);  // a coil
    EXPECT_EQ(s.g_bErrBit2Enabled, 1);
}

TEST_F(ControlWordTest, NewerUncheckedEnableKeepsTheSummaryAndStoresTheFlagOff) {
    Load(1, 1);
    s.g_strErrBitAddr1 = "D0100";
    s.g_nErrBit1 = 5;
    s.g_bErrBit1Enabled = 1;
    RunEx(2, [&](ExDlg& d) {
        Click(d, IDC_CW_ENABLE1);
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1_TEXT), "No Error bit is set.");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "D0100_5");
        Click(d, IDC_CW_ENABLE2);
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2), "Y0000");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2_TEXT),
                  "bit of Beta Bus will be set by Quorvex, when error occurs on Alpha Link end, if enabled.");
        Click(d, IDC_CW_ENABLE2);
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2_TEXT), "No Error bit is set.");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2), "Y0000");
        Click(d, IDC_CW_OK);
    });
    EXPECT_EQ(s.g_strErrBitAddr1, "D0100");
    EXPECT_EQ(s.g_bErrBit1Enabled, 0);
    EXPECT_EQ(s.g_nErrBit1, 0);
    EXPECT_EQ(s.g_strErrBitAddr2, "Y0000");
    EXPECT_EQ(s.g_bErrBit2Enabled, 0);

    // A summary that ends in "_" stores bit 0.
    s.g_bErrBit1Enabled = 1;
    s.g_nErrBit1 = 9;
    RunEx(2, [&](ExDlg& d) {
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "D0100_9");
        Type(d, IDC_CW_PLC1_BIT, "");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "D0100_");
        Click(d, IDC_CW_OK);
    });
    EXPECT_EQ(s.g_strErrBitAddr1, "D0100");
    EXPECT_EQ(s.g_nErrBit1, 0);
    EXPECT_EQ(s.g_bErrBit1Enabled, 1);
}

TEST_F(ControlWordTest, NewerStoredAddressOfNoRegisterIsShownAsItStands) {
    Load(1, 1);
    s.g_strCtrlWordAddr = "QX17";
    RunEx(1, [&](ExDlg& d) {
        EXPECT_EQ(Selected(d, IDC_CW_PLC1_REGISTER), "Data Register");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "0000");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "QX17");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "QX17");
        Click(d, IDC_CW_OK);
    });
    EXPECT_EQ(s.g_strCtrlWordAddr, "QX17");

    s.g_strErrBitAddr2 = "QX1";
    s.g_nErrBit2 = 3;
    RunEx(2, [&](ExDlg& d) {
        EXPECT_EQ(Selected(d, IDC_CW_PLC2_REGISTER), "Output Coil");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "QX1");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2), "QX1");
        Cancel(d);
    });
}

TEST_F(ControlWordTest, NewerSideWithoutRegistersOfTheKindStaysEmpty) {
    const std::string readOnly =
        "[Plc Info]\r\nPlc Name=Gamma\r\n[Model]\r\nRegisterCount=1\r\nNoOfByte=1\r\n"
        "Register1=Input Register,3,0,I,0000,9999,**,,**,\r\n";
    Load(1, 1, readOnly);
    s.g_strCtrlWordAddr = "I0007";
    s.g_nCtrlWordSide = 1;
    RunEx(1, [&](ExDlg& d) {
        EXPECT_EQ(List(d, IDC_CW_PLC2_REGISTER).GetCount(), 0);
        EXPECT_EQ(List(d, IDC_CW_PLC2_REGISTER).GetCurSel(), -1);
        EXPECT_FALSE(Shown(d, IDC_CW_PLC2_NUMBER));
        EXPECT_EQ(Text(d, IDC_CW_PLC2_RANGE), "");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "I0007");  // the stored text only
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "I0007");
        d.SetDlgItemText(IDC_CW_PLC2_NUMBER, "5");
        d.OnNumberUpPlc2();
        d.OnSelChangeRegisterPlc2();
        d.OnKillFocusNumberPlc2();
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "I0007");
        Click(d, IDC_CW_OK);
    });
    EXPECT_EQ(s.g_strCtrlWordAddr, "I0007");
    EXPECT_EQ(s.g_strCtrlWordShown, "I0007");
}

TEST_F(ControlWordTest, TheNewerTemplateIs412By238WithEveryControlInside) {
    ui::Dialog d(IDD_CONTROL_WORD_EX);
    const ui::DialogTemplate& t = d.Template();
    EXPECT_EQ(t.cx, 412);
    EXPECT_EQ(t.cy, 238);
    for (const ui::ControlTemplate& c : t.controls) {
        // A drop-down list's height is that of its open list.
        const int bottom = c.y + (c.kind == ui::ControlKind::DropList ? 12 : c.cy);
        EXPECT_LE(c.x + c.cx, t.cx) << c.id << " " << c.text;
        EXPECT_LE(bottom, t.cy) << c.id << " " << c.text;
    }
}

TEST_F(ControlWordTest, HelpOpensTheDialogsTopic) {
    Load(1, 1);
    std::string shown;
    ui::SetHelpHandler([&] { shown = g_szHelpTopic; });
    g_szHelpTopic = "blockoverview.htm";
    RunEx(2, [&](ExDlg& d) {
        d.UserKey(nullptr, ui::VK_F1);
        Cancel(d);
    });
    EXPECT_EQ(shown, "errorbit.htm");
    RunOld(1, [&](CControlWordDlg& d) {
        d.UserKey(nullptr, ui::VK_F1);
        Cancel(d);
    });
    EXPECT_EQ(shown, "controlword.htm");
    EXPECT_EQ(g_szHelpTopic, "blockoverview.htm");  // the caller's topic back
    ui::SetHelpHandler(nullptr);
}

TEST_F(ControlWordTest, TheFramesCommandsOpenTheDialogOfTheGeneration) {
    Load(1, 1);
    CMainFrame frame;
    ASSERT_TRUE(frame.Services().controlWordDialog);
    ui.ExpectModal(IDD_CONTROL_WORD_EX, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Error Indication Bit Setting");
        d.UserClickButton(ui::IDOK);
    });
    frame.Services().controlWordDialog(true, 2);
    ui.ExpectModal(IDD_CONTROL_WORD, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Control Word Setting");
        d.UserClickButton(ui::IDOK);
    });
    frame.Services().controlWordDialog(false, 1);
    ASSERT_EQ(ui.Modals().size(), 2u);
    EXPECT_EQ(ui.Modals()[0].result, ui::IDCANCEL);
    EXPECT_EQ(ui.Modals()[1].result, ui::IDCANCEL);
}

}  // namespace
