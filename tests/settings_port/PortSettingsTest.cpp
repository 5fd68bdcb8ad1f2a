// The PLC port settings, the PLC advance settings, the Communication Setting sheet and
// their hand-over to the main window and the block editor.
#include <gtest/gtest.h>

#include "HeadlessUi.h"
#include "TestSupport.h"
#include "model/ExtendedTables.h"
#include "app/MainFrame.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "editor/NewBlockExView.h"
#include "platform/Paths.h"
#include "plc/PlcRegisterTables.h"
#include "res/PortSettingsResource.h"
#include "settings/PLCSheet.h"
#include "settings/PlcAdvanceSettingDlg.h"
#include "settings/PlcPortSettingDlg.h"
#include "app/PortSettingsWiring.h"
#include "model/TableResets.h"
#include "ui/Backend.h"

namespace {

using testsupport::HeadlessUi;

const char* kPlcFile =
    "[Plc Info]\r\n"
    "Plc Name=Alpha Link\r\n"
    "BaudRate=9600,19200,38400\r\n"
    "DataBit=7,8\r\n"
    "StopBit=1,1.5,2\r\n"
    "Parity=E,X,O\r\n"
    "Parameter=19200,7,E,2\r\n"
    "SpecialData=1\r\n"
    "SpecialInfo=1\r\n";

const char* kPlainFile =
    "[Plc Info]\r\n"
    "BaudRate=9600,\r\n"
    "DataBit=8\r\n"
    "StopBit=1\r\n"
    "Parity=N,E,O\r\n";

std::vector<std::string> Entries(const ui::ComboBox& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.GetCount(); ++i)
        out.push_back(list.GetLBText(i) + "=" + std::to_string(int(list.GetItemData(i))));
    return out;
}

class PortSettings : public ::testing::Test {
protected:
    void SetUp() override {
        g_ProjectSettings = CProjectSettings();
        g_bProjectModified = g_bBlockListEdited = 0;
        g_bGeneralEntityCom1 = g_bGeneralEntityCom2 = 0;
        t.g_strPlc1Inf = dir.Write("Plc/alpha.inf", kPlcFile);
        t.g_strPlc2Inf = dir.Write("Plc/plain.inf", kPlainFile);
        t.g_strPLC1Name = "Alpha Link";
        t.g_strPLC2Name = "Beta Bus";
        t.g_strPLC1Id = "101";
        t.g_strPLC2Id = "135";
        ui::SetHelpHandler([this] { helpTopics.push_back(g_szHelpTopic); });
    }
    void TearDown() override {
        ui::SetHelpHandler(nullptr);
        t.ResetProject();
        t.g_strPLC1Id.clear();
        t.g_strPLC2Id.clear();
        g_bGeneralEntityCom1 = g_bGeneralEntityCom2 = 0;
        ResetGeneralEntity();
    }
    void Special(int port, int min, int max, const std::string& name) {
        (port == 1 ? t.g_anSpecialDataMin1 : t.g_anSpecialDataMin2)[0] = min;
        (port == 1 ? t.g_anSpecialDataMax1 : t.g_anSpecialDataMax2)[0] = max;
        auto& names = port == 1 ? t.g_arrPlc1SpName : t.g_arrPlc2SpName;
        names.clear();
        names.push_back(name);
    }
    testsupport::TempDir dir;
    CPlcRegisterTables& t = g_PlcRegisterTables;
    std::vector<std::string> helpTopics;
    HeadlessUi ui;
};

// ---------------------------------------------------------------------------------------
// PLC port settings

TEST_F(PortSettings, ListsComeFromTheFileAndOkStoresTheirValues) {
    int* port0 = g_ProjectSettings.g_anPortSettings[0];
    port0[kPortBaud] = 19200;
    port0[kPortDataBits] = 8;
    port0[kPortParity] = 3;
    port0[kPortStopBits] = 2;
    ui.ExpectModal(IDD_PLC_PORT_SETTING, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "PLC1 Setting");
        EXPECT_EQ(d.GetDlgItemText(IDC_PLC_NAME), "Alpha Link");
        auto& baud = d.Item<ui::ComboBox>(IDC_BAUD_RATE);
        EXPECT_EQ(Entries(baud), (std::vector<std::string>{"9600=9600", "19200=19200", "38400=38400"}));
        EXPECT_EQ(baud.GetCurSel(), 1);
        EXPECT_EQ(Entries(d.Item<ui::ComboBox>(IDC_PARITY_BIT)), (std::vector<std::string>{"Even=2", "Odd=3"}));
        EXPECT_EQ(d.Item<ui::ComboBox>(IDC_PARITY_BIT).GetCurSel(), 1);
        EXPECT_EQ(Entries(d.Item<ui::ComboBox>(IDC_STOP_BITS)), (std::vector<std::string>{"1=1", "1.5=1", "2=2"}));
        EXPECT_TRUE(d.Item(IDC_PORT_ADVANCED).IsWindowVisible());
        EXPECT_TRUE(d.Item(IDC_PLC_SPECIFIC_DATA).IsWindowVisible());
        EXPECT_EQ(g_bProjectModified, 0);  // opening marks nothing
        d.Item<ui::ComboBox>(IDC_STOP_BITS).UserSelect(1);
        d.UserClickButton(ui::IDOK);
    });
    CPlcPortSettingDlg dlg;
    dlg.m_nSide = 1;
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(port0[kPortBaud], 19200);
    EXPECT_EQ(port0[kPortDataBits], 8);
    EXPECT_EQ(port0[kPortParity], 3);
    EXPECT_EQ(port0[kPortStopBits], 1);  // "1.5" stores its leading digits
    EXPECT_EQ(g_bProjectModified, 1);
    EXPECT_EQ(g_bBlockListEdited, 1);
}

TEST_F(PortSettings, DefaultSelectsTheParameterValuesAndOnlyOkStores) {
    ui.ExpectModal(IDD_PLC_PORT_SETTING, [](ui::Dialog& d) {
        d.UserClickButton(IDC_PORT_DEFAULT);
        EXPECT_EQ(d.GetDlgItemText(IDC_BAUD_RATE), "19200");
        EXPECT_EQ(d.GetDlgItemText(IDC_DATA_BITS), "7");
        EXPECT_EQ(d.GetDlgItemText(IDC_PARITY_BIT), "Even");
        EXPECT_EQ(d.GetDlgItemText(IDC_STOP_BITS), "2");
        d.UserClickButton(ui::IDCANCEL);
    });
    CPlcPortSettingDlg dlg;
    dlg.m_nSide = 1;
    dlg.DoModal();
    EXPECT_EQ(g_ProjectSettings.g_anPortSettings[0][kPortBaud], 0);
    EXPECT_EQ(g_bProjectModified, 0);
    // Default, then OK: the changed values are an edit of either editor's project; OK
    // again with the same values marks nothing.
    for (bool change : {true, false}) {
        ui.ExpectModal(IDD_PLC_PORT_SETTING, [](ui::Dialog& d) {
            d.UserClickButton(IDC_PORT_DEFAULT);
            d.UserClickButton(ui::IDOK);
        });
        g_bProjectModified = g_bBlockListEdited = 0;
        dlg.DoModal();
        EXPECT_EQ(g_ProjectSettings.g_anPortSettings[0][kPortBaud], 19200);
        EXPECT_EQ(g_bProjectModified, change ? 1 : 0);
        EXPECT_EQ(g_bBlockListEdited, change ? 1 : 0);
    }
}

TEST_F(PortSettings, SideTwoWithoutAMatchKeepsTheStoredValuesAndLeavesOtherPorts) {
    g_ProjectSettings.g_anPortSettings[1][kPortBaud] = 4800;
    g_ProjectSettings.g_anPortSettings[1][kPortParity] = 1;
    g_ProjectSettings.g_anPortSettings[0][kPortBaud] = 1200;
    g_ProjectSettings.g_anPortSettings[2][kPortBaud] = 2400;
    ui.ExpectModal(IDD_PLC_PORT_SETTING, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "PLC2 Setting");
        EXPECT_EQ(Entries(d.Item<ui::ComboBox>(IDC_BAUD_RATE)), (std::vector<std::string>{"9600=9600", "=0"}));
        EXPECT_EQ(d.Item<ui::ComboBox>(IDC_BAUD_RATE).GetCurSel(), -1);
        EXPECT_FALSE(d.Item(IDC_PORT_ADVANCED).IsWindowVisible());
        EXPECT_FALSE(d.Item(IDC_PLC_SPECIFIC_DATA).IsWindowVisible());
        d.UserClickButton(ui::IDOK);
    });
    CPlcPortSettingDlg dlg;
    dlg.m_nSide = 2;
    dlg.DoModal();
    const int* port1 = g_ProjectSettings.g_anPortSettings[1];
    EXPECT_EQ(port1[kPortBaud], 4800);    // no entry carries it: kept, not "no value" (-1)
    EXPECT_EQ(port1[kPortDataBits], 0);
    EXPECT_EQ(port1[kPortParity], 1);
    EXPECT_EQ(g_ProjectSettings.g_anPortSettings[0][kPortBaud], 1200);
    EXPECT_EQ(g_ProjectSettings.g_anPortSettings[2][kPortBaud], 2400);
}

TEST_F(PortSettings, AMissingFileGivesTheCorruptEntryAndNoParity) {
    t.g_strPlc2Inf = dir.Path() + "Plc/none.inf";
    ui.ExpectModal(IDD_PLC_PORT_SETTING, [](ui::Dialog& d) {
        auto& baud = d.Item<ui::ComboBox>(IDC_BAUD_RATE);
        ASSERT_EQ(baud.GetCount(), 1);
        EXPECT_EQ(baud.GetLBText(0).rfind("Corrupt PLC file", 0), 0u);
        EXPECT_EQ(d.Item<ui::ComboBox>(IDC_PARITY_BIT).GetCount(), 0);
        d.UserClickButton(ui::IDCANCEL);
    });
    CPlcPortSettingDlg dlg;
    dlg.m_nSide = 2;
    dlg.DoModal();
}

TEST_F(PortSettings, SpecialCodesDisableTheListsButKeepTheirSelection) {
    t.g_strPLC1Id = "167";
    t.g_strPLC2Id = "159";
    g_ProjectSettings.g_anPortSettings[0][kPortBaud] = 9600;
    ui.ExpectModal(IDD_PLC_PORT_SETTING, [](ui::Dialog& d) {
        EXPECT_FALSE(d.Item(IDC_PORT_DEFAULT).IsWindowEnabled());
        EXPECT_FALSE(d.Item(IDC_PORT_ADVANCED).IsWindowEnabled());
        EXPECT_TRUE(d.Item(IDC_PORT_ADVANCED).IsWindowVisible());
        EXPECT_TRUE(d.Item(IDC_PLC_SPECIFIC_DATA).IsWindowEnabled());
        for (int id : {IDC_BAUD_RATE, IDC_DATA_BITS, IDC_PARITY_BIT, IDC_STOP_BITS})
            EXPECT_FALSE(d.Item(id).IsWindowEnabled()) << id;
        EXPECT_EQ(d.Item<ui::ComboBox>(IDC_BAUD_RATE).GetCurSel(), 0);
        d.UserClickButton(ui::IDOK);
    });
    CPlcPortSettingDlg dlg;
    dlg.m_nSide = 1;
    dlg.DoModal();
    EXPECT_EQ(g_ProjectSettings.g_anPortSettings[0][kPortBaud], 9600);

    ui.ExpectModal(IDD_PLC_PORT_SETTING, [](ui::Dialog& d) {
        EXPECT_FALSE(d.Item(IDC_PORT_DEFAULT).IsWindowEnabled());
        EXPECT_FALSE(d.Item(IDC_PLC_SPECIFIC_DATA).IsWindowEnabled());
        EXPECT_FALSE(d.Item(IDC_BAUD_RATE).IsWindowEnabled());
        d.UserClickButton(ui::IDCANCEL);
    });
    CPlcPortSettingDlg dlg2;
    dlg2.m_nSide = 2;
    dlg2.DoModal();
}

TEST_F(PortSettings, HelpPagesByPlcAndBySide) {
    testsupport::SampleTree tree;
    tree.Write("Products/plclist.inf",
               "[PLCList]\r\nPLCCount=2\r\nPLCNo1=131\r\nPLCHelp1=topicA.htm\r\nPLCNo2=167\r\nPLCHelp2=topicB.htm\r\n");
    t.g_strPLC1Id = "167";
    t.g_strPLC2Id = "141";
    g_szHelpTopic = "earlier.htm";
    ui.ExpectModal(IDD_PLC_PORT_SETTING, [](ui::Dialog& d) {
        d.UserClickButton(IDC_PLC_SPECIFIC_DATA);
        d.UserKey(nullptr, ui::VK_F1);
        d.UserClickButton(ui::IDCANCEL);
    });
    CPlcPortSettingDlg dlg;
    dlg.m_nSide = 1;
    dlg.DoModal();
    CPlcPortSettingDlg other;
    other.m_nSide = 2;
    g_szHelpTopic = "earlier.htm";
    other.ShowPlcHelp(141);
    EXPECT_EQ(helpTopics, (std::vector<std::string>{"topicB.htm", "comparaplc1.htm", "earlier.htm"}));
}

TEST_F(PortSettings, AdvancedOpensThePortsAdvanceSettings) {
    Special(2, 0, 1, "Echo");
    t.g_strPlc2Inf = t.g_strPlc1Inf;  // SpecialData=1
    ui.ExpectModal(IDD_PLC_PORT_SETTING, [this](ui::Dialog& d) {
        ui.ExpectModal(IDD_PLC_ADVANCE_SETTING, [](ui::Dialog& a) {
            EXPECT_EQ(a.GetDlgItemText(IDC_ADV_NAME1), "Echo");
            EXPECT_TRUE(a.Item(IDC_ADV_YES).IsWindowVisible());
            a.UserClickButton(ui::IDCANCEL);
        });
        d.UserClickButton(IDC_PORT_ADVANCED);
        EXPECT_FALSE(d.IsEnded());
        d.UserClickButton(ui::IDCANCEL);
    });
    CPlcPortSettingDlg dlg;
    dlg.m_nSide = 2;
    dlg.DoModal();
}

// ---------------------------------------------------------------------------------------
// PLC advance settings

TEST_F(PortSettings, OneValueWithinItsRangeRefusedWithAMessageWhenOutside) {
    Special(1, 1, 32, "Retries");
    g_ProjectSettings.g_anAdvSetting1[2] = 5;
    g_ProjectSettings.g_anAdvSetting1[0] = 8;
    ui.ExpectModal(IDD_PLC_ADVANCE_SETTING, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(IDC_ADV_NAME1), "Retries");
        EXPECT_EQ(d.GetDlgItemText(IDC_ADV_VALUE1), "5");
        EXPECT_EQ(d.GetDlgItemText(IDC_ADV_RANGE1), "1 - 32");
        for (int id : {IDC_ADV_NAME2, IDC_ADV_NAME3, IDC_ADV_VALUE2, IDC_ADV_VALUE3, IDC_ADV_RANGE2,
                       IDC_ADV_RANGE3, IDC_ADV_YES, IDC_ADV_NO, IDC_EXTENDED_SETUP})
            EXPECT_FALSE(d.Item(id).IsWindowVisible()) << id;
        d.Item(IDC_ADV_VALUE1).UserType("40");
        d.UserClickButton(ui::IDOK);
        EXPECT_FALSE(d.IsEnded());
        EXPECT_TRUE(d.Item(IDC_ADV_VALUE1).HasFocus());
        d.Item(IDC_ADV_VALUE1).UserType("7");
        d.UserClickButton(ui::IDOK);
    });
    CPlcAdvanceSettingDlg dlg;
    dlg.m_nPort = 1;
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "Please enter the valid value betwwen this range (1 - 32)");
    EXPECT_EQ(g_ProjectSettings.g_anAdvSetting1[2], 7);
    EXPECT_EQ(g_ProjectSettings.g_anAdvSetting1[0], 0);
    EXPECT_EQ(g_ProjectSettings.g_anAdvSetting1[1], 0);
    EXPECT_EQ(g_bProjectModified, 1);
    EXPECT_EQ(g_bBlockListEdited, 1);
}

TEST_F(PortSettings, AYesNoValueAndTwoValuesOnPortTwo) {
    const char* file =
        "[Plc Info]\r\nSpecialData=2\r\n";
    t.g_strPlc2Inf = dir.Write("Plc/two.inf", file);
    Special(2, 0, 1, "Echo");
    t.g_arrPlc2SpName.push_back("Delay");
    t.g_anSpecialDataMin2[1] = 1;
    t.g_anSpecialDataMax2[1] = 100;
    g_ProjectSettings.g_anAdvSetting2[2] = 1;   // value 1
    g_ProjectSettings.g_anAdvSetting2[0] = 10;  // value 2
    ui.ExpectModal(IDD_PLC_ADVANCE_SETTING, [](ui::Dialog& d) {
        EXPECT_TRUE(d.Item(IDC_ADV_YES).IsWindowVisible());
        EXPECT_FALSE(d.Item(IDC_ADV_VALUE1).IsWindowVisible());
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_ADV_YES), 1);
        EXPECT_EQ(d.GetDlgItemText(IDC_ADV_RANGE1), "");  // port 2 shows no range for Yes/No
        EXPECT_EQ(d.GetDlgItemText(IDC_ADV_VALUE2), "10");
        EXPECT_EQ(d.GetDlgItemText(IDC_ADV_RANGE2), "1 - 100");
        EXPECT_FALSE(d.Item(IDC_ADV_VALUE3).IsWindowVisible());
        EXPECT_FALSE(d.Item(IDC_EXTENDED_SETUP).IsWindowVisible());
        d.Item(IDC_ADV_NO).UserClick();
        d.Item(IDC_ADV_VALUE2).UserType("55");
        d.UserClickButton(ui::IDOK);
    });
    CPlcAdvanceSettingDlg dlg;
    dlg.m_nPort = 2;
    dlg.DoModal();
    EXPECT_EQ(g_ProjectSettings.g_anAdvSetting2[2], 0);
    EXPECT_EQ(g_ProjectSettings.g_anAdvSetting2[0], 55);
}

TEST_F(PortSettings, ExtendedSetupIsReachedForAPortWithAGeneralEntity) {
    Special(1, 1, 32, "Retries");
    g_bGeneralEntityCom1 = 1;
    for (int f = 0; f < kGeneralEntityFields; ++f) g_GeneralEntity.g_arrGeneralEntityCom1[f].push_back("");
    g_GeneralEntity.g_arrGeneralEntityCom1[0].back() = "Switch";
    g_GeneralEntity.g_arrGeneralEntityCom1[2].back() = "5";
    g_GeneralEntity.g_arrGeneralEntityCom1[3].back() = "On";
    g_GeneralEntity.g_nGeneralEntityCount1 = 1;
    g_bExtSetupError1 = 1;
    ui.ExpectModal(IDD_PLC_ADVANCE_SETTING, [this](ui::Dialog& d) {
        EXPECT_TRUE(d.Item(IDC_EXTENDED_SETUP).IsWindowVisible());
        ui.ExpectModal(IDD_RUNTIME_DIALOG, [](ui::Dialog& e) {
            EXPECT_EQ(e.GetWindowText(), "Extended Setup");
            e.UserClickButton(ui::IDOK);
        });
        d.UserClickButton(IDC_EXTENDED_SETUP);
        d.UserClickButton(ui::IDCANCEL);
    });
    CPlcAdvanceSettingDlg dlg;
    dlg.m_nPort = 1;
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(g_GeneralEntity.g_nExtSetupLen1, 1);
    EXPECT_EQ(g_bExtSetupError1, 0);
    EXPECT_EQ(g_bProjectModified, 1);  // the confirmed values stay marked after Cancel
}

TEST_F(PortSettings, WithoutUsableSpecialDataNoValueIsShownAndOkKeepsTheStoredOnes) {
    for (const char* file : {"[Plc Info]\r\n", "[Plc Info]\r\nSpecialData=4\r\n"}) {
        t.g_strPlc1Inf = dir.Write("Plc/none.inf", file);
        Special(1, 1, 32, "Retries");
        g_ProjectSettings.g_anAdvSetting1[0] = 8;
        g_ProjectSettings.g_anAdvSetting1[1] = 9;
        g_ProjectSettings.g_anAdvSetting1[2] = 5;
        ui.ExpectModal(IDD_PLC_ADVANCE_SETTING, [](ui::Dialog& d) {
            for (int id : {IDC_ADV_VALUE1, IDC_ADV_VALUE2, IDC_ADV_VALUE3, IDC_ADV_YES, IDC_ADV_NO})
                EXPECT_FALSE(d.Item(id).IsWindowVisible()) << id;
            d.UserClickButton(ui::IDOK);
        });
        CPlcAdvanceSettingDlg dlg;
        dlg.m_nPort = 1;
        EXPECT_EQ(dlg.DoModal(), ui::IDOK);
        EXPECT_EQ(g_ProjectSettings.g_anAdvSetting1[0], 8);
        EXPECT_EQ(g_ProjectSettings.g_anAdvSetting1[1], 9);
        EXPECT_EQ(g_ProjectSettings.g_anAdvSetting1[2], 5);
    }
}

// ---------------------------------------------------------------------------------------
// Communication Setting sheet

std::vector<std::string> Tabs(const ui::PropertySheet& sheet) {
    std::vector<std::string> out;
    for (int i = 0; i < sheet.GetPageCount(); ++i) out.push_back(sheet.GetPage(i)->GetPageCaption());
    return out;
}

TEST_F(PortSettings, SheetShowsThreePortPagesOfTheCom1ProtocolAndOnlyClose) {
    g_ProjectSettings.g_anPortTimeout[0] = 5;
    g_ProjectSettings.g_anPortTimeout[1] = 10;
    g_ProjectSettings.g_anPortTimeout[2] = 50;
    g_ProjectSettings.g_anPortSettings[2][kPortBaud] = 38400;
    ui.ExpectModal(0, [](ui::Dialog& d) {
        auto& sheet = dynamic_cast<CPLCSheet&>(d);
        EXPECT_EQ(sheet.GetWindowText(), "Communication Setting");
        EXPECT_EQ(Tabs(sheet), (std::vector<std::string>{"General", "Master 1", "Master 2", "Controller"}));
        EXPECT_FALSE(sheet.Item(ui::IDOK).IsWindowVisible());
        EXPECT_EQ(sheet.GetDlgItemText(ui::IDCANCEL), "Close");
        EXPECT_EQ(sheet.GetDlgItem(ui::ID_APPLY_NOW), nullptr);
        EXPECT_EQ(g_szHelpTopic, "portmultiplexer.htm");
        const char* shown[] = {"5", "10", "50"};
        for (int port = 1; port <= 3; ++port) {
            sheet.UserSelectPage(port);
            CPLCConfig* page = sheet.GetPortPage(port);
            EXPECT_EQ(page->GetDlgItemText(IDC_PLC_NAME), "Alpha Link");
            EXPECT_EQ(page->Item<ui::ComboBox>(IDC_BAUD_RATE).GetCount(), 3);
            EXPECT_EQ(page->GetDlgItemText(IDC_PORT_TIMEOUT), shown[port - 1]);
        }
        EXPECT_EQ(sheet.GetPortPage(3)->GetDlgItemText(IDC_BAUD_RATE), "38400");
        sheet.UserSelectPage(0);
        EXPECT_FALSE(sheet.GetGeneralPage().Item(IDC_COMMUNICATION).IsWindowEnabled());  // no transfer dialog
        EXPECT_TRUE(sheet.GetGeneralPage().Item(IDC_SHEET_SAVE).IsWindowEnabled());
        sheet.UserClose();
    });
    RunCommunicationSettingSheet();
}

TEST_F(PortSettings, LeavingOrClosingAPortPageStoresIt) {
    ui.ExpectModal(0, [](ui::Dialog& d) {
        auto& sheet = dynamic_cast<CPLCSheet&>(d);
        sheet.UserSelectPage(2);  // "Master 2"
        CPLCConfig* page = sheet.GetPortPage(2);
        page->Item<ui::ComboBox>(IDC_BAUD_RATE).UserSelect(1);
        ui::Control& timeout = page->Item(IDC_PORT_TIMEOUT);
        for (const char* typed : {"0", "51", "99"}) {
            timeout.UserType(typed);
            page->Item(IDC_BAUD_RATE).UserFocus();
            EXPECT_EQ(timeout.GetWindowText(), "5") << typed;
        }
        timeout.UserType("50");
        page->Item(IDC_BAUD_RATE).UserFocus();
        EXPECT_EQ(timeout.GetWindowText(), "50");
        timeout.UserType("77");  // still in the field when the page is left
        sheet.UserSelectPage(0);
        EXPECT_EQ(g_ProjectSettings.g_anPortSettings[1][kPortBaud], 19200);
        EXPECT_EQ(g_ProjectSettings.g_anPortTimeout[1], 5);
        EXPECT_EQ(g_ProjectSettings.g_anPortSettings[1][kPortParity], 0);  // no entry chosen: kept

        sheet.UserSelectPage(3);
        sheet.GetPortPage(3)->Item<ui::ComboBox>(IDC_BAUD_RATE).UserSelect(2);
        sheet.GetPortPage(3)->Item(IDC_PORT_TIMEOUT).UserType("12");
        sheet.UserClose();
    });
    // The settings were changed: closing asks about the project, here to drop it.
    ui.AnswerMessageBox(ui::IDNO, "Do you want to save project?");
    RunCommunicationSettingSheet();
    EXPECT_EQ(g_ProjectSettings.g_anPortSettings[2][kPortBaud], 38400);
    EXPECT_EQ(g_ProjectSettings.g_anPortTimeout[2], 12);
    EXPECT_EQ(g_ProjectSettings.g_anPortSettings[0][kPortBaud], 0);  // never shown
    EXPECT_EQ(g_bProjectModified, 0);
}

TEST_F(PortSettings, PageCountAddsAndRemovesPortPages) {
    ui.ExpectModal(0, [](ui::Dialog& d) {
        auto& sheet = dynamic_cast<CPLCSheet&>(d);
        sheet.SetPlcPageCount(1);
        EXPECT_EQ(Tabs(sheet), (std::vector<std::string>{"General", "Master 1"}));
        sheet.SetPlcPageCount(4);
        sheet.SetPlcPageCount(-1);
        EXPECT_EQ(sheet.GetPageCount(), 2);
        sheet.SetPlcPageCount(0);
        EXPECT_EQ(Tabs(sheet), (std::vector<std::string>{"General"}));
        g_ProjectSettings.g_anPortTimeout[1] = 9;
        sheet.SetPlcPageCount(2);
        sheet.UserSelectPage(2);
        EXPECT_EQ(sheet.GetPortPage(2)->GetDlgItemText(IDC_PORT_TIMEOUT), "9");
        sheet.UserClose();
    });
    RunCommunicationSettingSheet();
}

TEST_F(PortSettings, GeneralPageRunsTheTransferDialogAndSavesTheProject) {
    int communications = 0;
    g_PlcSheetServices.communication = [&] { ++communications; };
    const unsigned device = g_nDeviceId, deviceAlt = g_nDeviceIdAlt;
    g_nDeviceId = g_nDeviceIdAlt = 84;
    g_bBlockExUntitled = 1;
    g_bBlockExSaved = 0;
    const std::string path = dir.Path() + "plant.prj";
    ui.ExpectModal(0, [&](ui::Dialog& d) {
        auto& general = dynamic_cast<CPLCSheet&>(d).GetGeneralPage();
        EXPECT_FALSE(general.Item(IDC_PLC_PAGE_COUNT).IsWindowVisible());
        general.UserClickButton(IDC_COMMUNICATION);
        ui.AnswerFileDialog(path);
        general.UserClickButton(IDC_SHEET_SAVE);
        d.UserClose();
    });
    RunCommunicationSettingSheet();
    g_PlcSheetServices = PlcSheetServices();
    g_nDeviceId = device;
    g_nDeviceIdAlt = deviceAlt;
    EXPECT_EQ(communications, 1);
    ASSERT_EQ(ui.FileDialogsShown().size(), 1u);
    EXPECT_EQ(ui.FileDialogsShown()[0], "Untitled");
    EXPECT_TRUE(platform::FileExists(path));
    EXPECT_EQ(g_ProjectSettings.g_strProjPath, path);
    g_bBlockExUntitled = g_bBlockExSaved = 0;
    g_bProjectOpen = 0;
    g_bNoBlockView = 1;
}

TEST_F(PortSettings, WiringFillsTheEntryPoints) {
    FrameServices frame;
    NewBlockExServices editor;
    WirePortSettingsScreens(frame, editor);
    ASSERT_TRUE(frame.plcAdvanceSetting && frame.communicationSettingSheet && editor.plcPortSetting);
    ui.ExpectModal(IDD_PLC_PORT_SETTING, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "PLC2 Setting");
        d.UserClickButton(ui::IDCANCEL);
    });
    editor.plcPortSetting(2);
    ui.ExpectModal(IDD_PLC_ADVANCE_SETTING, [](ui::Dialog& d) { d.UserClickButton(ui::IDCANCEL); });
    frame.plcAdvanceSetting();
    ui.ExpectModal(0, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Communication Setting");
        d.UserClose();
    });
    frame.communicationSettingSheet();
}

}  // namespace
