// The older generation's control-word dialog as a whole: opening on a new project and on
// stored settings, the side radios and Enable boxes, what "&Ok" stores, and how the
// "&Cancel" button, Enter and Esc close.
#include "ControlWordFixture.h"

namespace {

using OldDlg = CControlWordDlg;

TEST_F(ControlWordTest, OlderOpensTheControlWordOfANewProject) {
    Load(1, 1);
    for (int before : {0, 1}) {
        g_bProjectModified = g_bBlockListEdited = before;
        EXPECT_EQ(RunOld(1, [&](OldDlg& d) {
            EXPECT_EQ(d.GetWindowText(), "Control Word Setting");
            EXPECT_EQ(g_szHelpTopic, "controlword.htm");
            for (int list : {IDC_CW_PLC1_REGISTER, IDC_CW_PLC2_REGISTER}) {
                ASSERT_EQ(List(d, list).GetCount(), 12);
                EXPECT_EQ(Selected(d, list), "Data Register");
            }
            EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "0000");
            EXPECT_EQ(d.Item(IDC_CW_PLC1_NUMBER).GetLimitText(), 4);
            EXPECT_TRUE(Shown(d, IDC_CW_PLC1_NUMBER));
            EXPECT_FALSE(Shown(d, IDC_CW_PLC1_COLON));
            EXPECT_EQ(Text(d, IDC_CW_PLC1_RANGE), "(0000-9999)");
            EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "D0000");
            EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "D0000");
            EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD_TEXT), "No control word is set");
            EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "");
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_CW_COM1), 1);
            EXPECT_TRUE(Shown(d, IDC_CW_ENABLE1));
            EXPECT_FALSE(Shown(d, IDC_CW_ENABLE2));
            for (int id : {IDC_CW_ERR_BIT1, IDC_CW_ERR_BIT1_TEXT, IDC_CW_ERR_BIT2, IDC_CW_ERR_BIT2_TEXT,
                           IDC_CW_ERR_BIT_HELP})
                EXPECT_FALSE(Shown(d, id)) << id;
            EXPECT_TRUE(Shown(d, IDC_CW_CTRL_WORD_HELP));
            EXPECT_EQ(d.Item(IDC_CW_CTRL_WORD).GetTextColor(), ui::RGB(0, 0, 255));
            EXPECT_NE(d.Item(IDC_CW_PLC2_SLASH_DOWN).GetBitmap(), nullptr);
            EXPECT_NE(d.Item(ui::IDOK).GetBitmap(), nullptr);
            EXPECT_EQ(g_bProjectModified, before);
            EXPECT_EQ(g_bBlockListEdited, before);
            Click(d, ui::IDOK);  // "&Cancel"
        }), ui::IDCANCEL);
        EXPECT_EQ(g_bProjectModified, before);
        EXPECT_EQ(g_bBlockListEdited, before);
    }
}

TEST_F(ControlWordTest, OlderTrimsTheStoredControlWordAtOpening) {
    Load(1, 1);
    s.g_strCtrlWordAddr = "  D0012 ";
    RunOld(1, [&](OldDlg& d) {
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "0012");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "D0012");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "D0012");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD_TEXT), "is control word from Alpha Link, which controls execution of Block.");
        EXPECT_TRUE(d.UserPressEscape());
    });
    EXPECT_EQ(s.g_strCtrlWordAddr, "D0012");
    EXPECT_EQ(s.g_strCtrlWordShown, "");  // only the newer dialog keeps it
}

TEST_F(ControlWordTest, OlderStoredControlWordOnCom2WithThreeParts) {
    Load(1, 3);
    s.g_strCtrlWordAddr = "F12:034/05";
    s.g_nCtrlWordSide = 1;
    RunOld(1, [&](OldDlg& d) {
        EXPECT_EQ(Selected(d, IDC_CW_PLC2_REGISTER), "Bit File");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_NUMBER), "12");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_COLON), "034");
        EXPECT_EQ(Text(d, IDC_CW_PLC2_ADDRESS), "F12:034/05");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "F12:034/05");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD_TEXT), "is control word from Beta Bus, which controls execution of Block.");
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_CW_COM2), 1);
        Cancel(d);
    });
}

TEST_F(ControlWordTest, OlderStoredControlWordOfAddressForm2KeepsTheLowerLimits) {
    Load(2, 1);
    s.g_strCtrlWordAddr = "N5:7";
    RunOld(1, [&](OldDlg& d) {
        EXPECT_EQ(Selected(d, IDC_CW_PLC1_REGISTER), "File");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_NUMBER), "000");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_COLON), "000");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "N5:7");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "N5:7");
        Cancel(d);
    });
}

TEST_F(ControlWordTest, OlderOpensTheErrorBitsWithOneStored) {
    Load(1, 1);
    s.g_strErrBitAddr2 = "Y0007 ";
    s.g_bErrBit2Enabled = 1;
    RunOld(2, [&](OldDlg& d) {
        EXPECT_EQ(d.GetWindowText(), "Error Indication Bit Setting");
        EXPECT_EQ(g_szHelpTopic, "errorbit.htm");
        for (int list : {IDC_CW_PLC1_REGISTER, IDC_CW_PLC2_REGISTER}) {
            ASSERT_EQ(List(d, list).GetCount(), 2);  // the coils
            EXPECT_EQ(List(d, list).GetLBText(0), "Output Coil");
            EXPECT_EQ(List(d, list).GetLBText(1), "Coil Bit");
        }
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1_TEXT), "No Error bit is set");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2_TEXT),
                  "bit of Beta Bus will be set by Quorvex, when error occoures on Alpha Link end.");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2), "Y0007 ");  // as stored
        EXPECT_EQ(Text(d, IDC_CW_PLC2_NUMBER), "0007");
        EXPECT_EQ(Text(d, IDC_CW_PLC1_ADDRESS), "Y0000");
        EXPECT_FALSE(Shown(d, IDC_CW_COM1));
        EXPECT_FALSE(Shown(d, IDC_CW_COM2));
        EXPECT_TRUE(Shown(d, IDC_CW_ENABLE1));
        EXPECT_TRUE(Shown(d, IDC_CW_ENABLE2));
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_CW_ENABLE1), 0);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_CW_ENABLE2), 1);
        EXPECT_FALSE(Shown(d, IDC_CW_CTRL_WORD_TEXT));
        EXPECT_TRUE(Shown(d, IDC_CW_ERR_BIT_HELP));
        EXPECT_FALSE(Shown(d, IDC_CW_CTRL_WORD_HELP));
        Cancel(d);
    });
}

TEST_F(ControlWordTest, OlderClosesWithoutStoringOnCancelEnterAndEsc) {
    Load(1, 1);
    const std::function<void(ui::Dialog&)> closers[] = {
        [](ui::Dialog& d) { d.UserClickButton(ui::IDOK); },
        [](ui::Dialog& d) { d.UserPressEnter(); },
        [](ui::Dialog& d) { d.UserPressEscape(); },
        [](ui::Dialog& d) { d.UserClose(); },
    };
    for (const auto& close : closers) {
        g_bProjectModified = g_bBlockListEdited = 0;
        EXPECT_EQ(RunOld(1, [&](OldDlg& d) {
            Select(d, IDC_CW_PLC1_REGISTER, "Holding");
            Click(d, IDC_CW_ENABLE1);
            EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "H0001");
            close(d);
        }), ui::IDCANCEL);
        EXPECT_EQ(s.g_strCtrlWordAddr, "");
        EXPECT_EQ(s.g_bCtrlWordEnabled, 0);
        EXPECT_EQ(g_bProjectModified, 1);  // the handlers' marks stay
        EXPECT_EQ(g_bBlockListEdited, 1);
    }
}

TEST_F(ControlWordTest, OlderOkStoresEachErrorBitOnItsOwn) {
    Load(1, 1);
    s.g_bErrBit1Enabled = 1;  // with no address
    RunOld(2, [&](OldDlg& d) {
        d.CheckDlgButton(IDC_CW_ENABLE1, 0);
        Select(d, IDC_CW_PLC2_REGISTER, "Coil Bit");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2), "M000/00");
        Type(d, IDC_CW_PLC2_NUMBER, "12");
        Click(d, IDC_CW_ENABLE2);
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2), "M012/00");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2_TEXT),
                  "bit of Beta Bus will be set by Quorvex, when error occurs on Alpha Link end, if enabled.");
        d.SetDlgItemText(IDC_CW_ERR_BIT1, "");
        g_bProjectModified = 0;
        Click(d, IDC_CW_OK);
    });
    EXPECT_EQ(s.g_strErrBitAddr1, "");
    EXPECT_EQ(s.g_bErrBit1Enabled, 1);  // an empty summary keeps its flag
    EXPECT_EQ(s.g_strErrBitAddr2, "M012/00");
    EXPECT_EQ(s.g_bErrBit2Enabled, 1);
    EXPECT_EQ(s.g_nErrBit2, 0);  // the older dialog keeps no bit number
    // What OK stored differs from before: the project is edited, so Close asks.
    EXPECT_EQ(g_bProjectModified, 1);
    EXPECT_EQ(g_bBlockListEdited, 1);
}

TEST_F(ControlWordTest, OlderOkStoresTheSideOfTheRadiosAsTheyStand) {
    Load(1, 1);
    s.g_strCtrlWordAddr = "D0012";
    s.g_bCtrlWordEnabled = 1;
    EXPECT_EQ(RunOld(1, [&](OldDlg& d) {
        Click(d, IDC_CW_COM2);
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "D0000");
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD_TEXT),
                  "is control word from PLC Beta Bus, which controls execution of Block, if enabled.");
        Click(d, IDC_CW_OK);
    }), ui::IDOK);
    EXPECT_EQ(s.g_strCtrlWordAddr, "D0000");
    EXPECT_EQ(s.g_nCtrlWordSide, 1);
    EXPECT_EQ(s.g_bCtrlWordEnabled, 1);

    RunOld(1, [&](OldDlg& d) {  // no radio clicked: the stored side stands
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_CW_COM2), 1);
        Click(d, IDC_CW_ENABLE1);
        Click(d, IDC_CW_OK);
    });
    EXPECT_EQ(s.g_nCtrlWordSide, 1);
    EXPECT_EQ(s.g_bCtrlWordEnabled, 0);
    EXPECT_EQ(g_bCtrlWordDlgOK, 0);  // only the newer dialog confirms
}

TEST_F(ControlWordTest, OlderEnableBoxesGiveTheSameSentenceEveryTime) {
    Load(1, 1);
    RunOld(1, [&](OldDlg& d) {
        for (int i = 0; i < 2; ++i) {
            Click(d, IDC_CW_ENABLE1);
            EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD_TEXT),
                      "is control word from PLC Alpha Link which controls execution of Block, if enabled.");
            EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD), "D0000");
        }
        Click(d, IDC_CW_COM1);
        EXPECT_EQ(Text(d, IDC_CW_CTRL_WORD_TEXT),
                  "is control word from PLC  Alpha Link, which controls execution of Block, if enabled.");
        Cancel(d);
    });
    RunOld(2, [&](OldDlg& d) {
        Type(d, IDC_CW_PLC1_NUMBER, "3");
        EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "Y0003");
        d.SetDlgItemText(IDC_CW_ERR_BIT1, "");
        for (int i = 0; i < 2; ++i) {
            Click(d, IDC_CW_ENABLE1);
            EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1_TEXT),
                      "bit of Alpha Link will be set by Quorvex, when error occurs on Beta Bus end, if enabled.");
            EXPECT_EQ(Text(d, IDC_CW_ERR_BIT1), "Y0003");
        }
        for (int i = 0; i < 2; ++i) {
            Click(d, IDC_CW_ENABLE2);
            EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2), "Y0000");
            EXPECT_EQ(Text(d, IDC_CW_ERR_BIT2_TEXT),
                      "bit of Beta Bus will be set by Quorvex, when error occurs on Alpha Link end, if enabled.");
        }
        Cancel(d);
    });
}

// A register whose every address has 11 characters ("Longer": LL and nine digits) is more than
// the project file keeps: neither generation offers it, and a register that fits is taken.
TEST_F(ControlWordTest, ARegisterTheProjectCannotHoldIsNotOffered) {
    Load(1, 1);
    for (bool newer : {false, true}) {
        SCOPED_TRACE(newer ? "newer" : "older");
        ui.ClearRecords();
        s.g_strCtrlWordAddr.clear();
        auto step = [&](ui::Dialog& d) {
            EXPECT_EQ(d.Item<ui::ListControl>(IDC_CW_PLC2_REGISTER).FindStringExact(-1, "Longer"), -1);
            Select(d, IDC_CW_PLC2_REGISTER, "Byte Register");
            Click(d, IDC_CW_COM2);
            Click(d, IDC_CW_OK);
        };
        EXPECT_EQ(newer ? RunEx(1, step) : RunOld(1, step), ui::IDOK);
        EXPECT_TRUE(ui.MessageBoxes().empty());
        EXPECT_EQ(s.g_strCtrlWordAddr, "B000");
        EXPECT_EQ(s.g_nCtrlWordSide, 1);
    }
}

}  // namespace
