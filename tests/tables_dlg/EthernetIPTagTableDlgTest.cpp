// The EtherNet/IP tag table: codes, duplicates, the limit, Save writing the definition
// file and Confirm installing it.
#include <gtest/gtest.h>

#include <array>

#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "res/DialogImages.h"
#include "res/TablesResource.h"
#include "tables/EthernetIPTagTableDlg.h"
#include "HeadlessUi.h"
#include "TestSupport.h"

namespace {

class TagTableTest : public ::testing::Test {
protected:
    testsupport::HeadlessUi ui;
    testsupport::TempDir dir;

    void SetUp() override {
        ClearTagTable();
        platform::SetProgramFolder(dir.Path());
        g_szProductName = g_szProductNameCopy = "QVX-ENET";
        dir.Write("QVX-ENET/Plc/14100_004.inf", "[Plc Info]\r\nPlc Name=Ethernet IP\r\nCom1PlcFilename=MYDRV1.ABS\r\n");
    }
    void TearDown() override {
        ClearTagTable();
        platform::SetProgramFolder("");
        g_szProductName.clear();
        g_szProductNameCopy.clear();
    }
    static void Add(ui::Dialog& dlg, const std::string& name, int type, const std::string& size = "1") {
        dlg.Item(IDC_TAG_NAME).UserType(name);
        dlg.Item<ui::ListControl>(IDC_TAG_TYPE).UserSelect(type);
        dlg.Item(IDC_TAG_SIZE).UserType(size);
        dlg.UserClickButton(IDC_TAG_ADD);
    }
    static std::string Code(ui::Dialog& dlg, int row) { return dlg.Item<ui::ListView>(IDC_TAG_LIST).GetItemText(row, 3); }
};

TEST_F(TagTableTest, CodesFollowTypeAndRowAndDuplicatesAreRefused) {
    ui.ExpectModal(IDD_EIP_TAG_TABLE, [](ui::Dialog& dlg) {
        EXPECT_EQ(dlg.Item(IDC_TAG_PICTURE).GetBitmap(), res::TablesBitmap(IDB_TAG_TABLE));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_TAG_NAME), "Enter Tag Name Here");
        EXPECT_FALSE(dlg.Item(ui::IDOK).IsWindowEnabled());
        EXPECT_FALSE(dlg.Item(IDC_TAG_CONFIRM).IsWindowEnabled());
        Add(dlg, "Speed", 0);
        Add(dlg, "Temp", 5);
        Add(dlg, "Count", 0);
        EXPECT_EQ(Code(dlg, 0), "S00000001");
        EXPECT_EQ(Code(dlg, 1), "R00000002");
        EXPECT_EQ(Code(dlg, 2), "S00000003");
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_TAG_LIST).GetItemText(1, 2), "REAL");
        EXPECT_EQ(dlg.Item<ui::ListControl>(IDC_TAG_TYPE).GetCurSel(), 0);
        EXPECT_TRUE(dlg.Item(ui::IDOK).IsWindowEnabled());

        Add(dlg, "Speed", 1);  // refused
        Add(dlg, "SPEED", 1);  // another case is another name
        Add(dlg, "Bad,Name", 1);
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_TAG_LIST).GetItemCount(), 4);

        dlg.Item<ui::ListView>(IDC_TAG_LIST).UserClickCell(1, 0);
        dlg.UserClickButton(IDC_TAG_DELETE);
        EXPECT_EQ(Code(dlg, 1), "S00000002");
        EXPECT_EQ(Code(dlg, 2), "I00000003");
        dlg.UserClickButton(ui::IDCANCEL);
    });
    ui.AnswerMessageBox(ui::IDOK);  // the duplicate
    ui.AnswerMessageBox(ui::IDOK);  // the comma
    ui.AnswerMessageBox(ui::IDOK, "Do you want to Delete the Selected Tag ?");
    CEthernetIPTagTableDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    std::vector<std::string> texts;
    for (const auto& b : ui.MessageBoxes()) texts.push_back(b.caption);
    EXPECT_EQ(texts, (std::vector<std::string>{"Tag Already Present", "Invalid Tag Name", "Delete"}));
    EXPECT_TRUE(g_EipTagTable.g_arrTagName.empty());  // nothing saved
    EXPECT_EQ(CEthernetIPTagTableDlg::FormatTagNumber(12), "012");
    EXPECT_EQ(CEthernetIPTagTableDlg::FormatTagNumber(255), "255");
}

TEST_F(TagTableTest, TheTwoHundredFiftySixthTagIsRefused) {
    for (int i = 0; i < 255; ++i) {
        g_EipTagTable.g_arrTagName.push_back("T" + std::to_string(i));
        g_EipTagTable.g_arrTagCode.push_back("S00000001");
        g_EipTagTable.g_abTagType[i] = 1;
    }
    ui.ExpectModal(IDD_EIP_TAG_TABLE, [](ui::Dialog& dlg) {
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_TAG_LIST).GetItemCount(), 255);
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_TAG_LIST).GetItemText(3, 2), "SINT");
        Add(dlg, "More", 0);
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_TAG_LIST).GetItemCount(), 255);
        dlg.UserClickButton(ui::IDCANCEL);
    });
    CEthernetIPTagTableDlg dlg;
    dlg.DoModal();
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "You can Configure only 255 Tags.");
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "Limit Exceeds");
}

TEST_F(TagTableTest, ANameLongerThanTheProjectFileKeepsIsRefusedAtEntry) {
    ui.ExpectModal(IDD_EIP_TAG_TABLE, [this](ui::Dialog& dlg) {
        Add(dlg, std::string(40, 'n'), 0);  // the field takes what the file keeps
        dlg.SetDlgItemText(IDC_TAG_NAME, std::string(40, 'm'));
        dlg.UserClickButton(IDC_TAG_ADD);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].caption, "Invalid Tag Name");
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_TAG_LIST).GetItemCount(), 1);
        dlg.UserClickButton(ui::IDOK);
        dlg.UserClickButton(ui::IDCANCEL);
    });
    CEthernetIPTagTableDlg dlg;
    dlg.DoModal();
    EXPECT_EQ(g_EipTagTable.g_arrTagName, (StringArray{std::string(39, 'n')}));
}

TEST_F(TagTableTest, ConfirmKeepsWhatTheDialogDoesNotWrite) {
    dir.Write("QVX-ENET/Plc/14100_004.inf",
              "[Plc Info]\r\nPlc Name=Ethernet IP\r\nVendor=Acme\r\n[Extended Setup]\r\nExtendedSetup=1\r\n"
              "TagTable=1\r\n[TagTable]\r\nEntityCode=2\r\n[RTU]\r\nRegisterCount=3\r\nRegister3=Old,1,0,S,3,3\r\n"
              "Scan=5\r\n");
    g_bProjectModified = 0;
    ui.ExpectModal(IDD_EIP_TAG_TABLE, [](ui::Dialog& dlg) {
        Add(dlg, "Speed", 0);
        dlg.UserClickButton(ui::IDOK);
        dlg.UserClickButton(IDC_TAG_CONFIRM);
        dlg.UserClickButton(ui::IDCANCEL);
    });
    CEthernetIPTagTableDlg dlg;
    dlg.DoModal();
    EXPECT_EQ(g_bProjectModified, 1);  // the saved tags are a change of the project
    const std::string installed = dir.Path() + "QVX-ENET/Plc/14100_004.inf";
    // Section, key, value; "?" for a tag the table no longer has.
    const std::vector<std::array<std::string, 3>> kept = {
        {"Extended Setup", "TagTable", "1"}, {"TagTable", "EntityCode", "2"}, {"Plc Info", "Vendor", "Acme"},
        {"RTU", "Scan", "5"}, {"RTU", "RegisterCount", "1"},
        {"RTU", "Register1", "Speed,1,0,S,00000001,00000001,**,**,**,**"}, {"RTU", "Register3", "?"}};
    for (const auto& [section, key, value] : kept)
        EXPECT_EQ(platform::GetPrivateProfileString(section, key, "?", 255, installed), value) << key;
}

// A size is kept in one byte: one that does not fit is refused, never shown or sent as another.
TEST_F(TagTableTest, ASizeLargerThanTheProjectFileKeepsIsRefusedAtEntry) {
    ui.ExpectModal(IDD_EIP_TAG_TABLE, [this](ui::Dialog& dlg) {
        for (const char* size : {"40000", "32768", "256"}) {
            ui.AnswerMessageBox(ui::IDOK, "A Tag Size can be at most 255.\n Please provide another size to this Tag.");
            Add(dlg, std::string("Big") + size, 0, size);
        }
        Add(dlg, "Most", 0, "255");
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_TAG_LIST).GetItemCount(), 1);
        dlg.UserClickButton(ui::IDOK);
        dlg.UserClickButton(ui::IDCANCEL);
    });
    CEthernetIPTagTableDlg dlg;
    dlg.DoModal();
    EXPECT_EQ(ui.MessageBoxes().size(), 3u);
    EXPECT_EQ(g_EipTagTable.g_awTagSize[0], 255);
    // Opened again, the size reads as it was typed.
    ui.ExpectModal(IDD_EIP_TAG_TABLE, [](ui::Dialog& dlg) {
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_TAG_LIST).GetItemText(0, 1), "255");
        dlg.UserPressEscape();
    });
    CEthernetIPTagTableDlg again;
    again.DoModal();
}

TEST_F(TagTableTest, SaveWritesTheDefinitionFileAndConfirmInstallsIt) {
    ui.ExpectModal(IDD_EIP_TAG_TABLE, [](ui::Dialog& dlg) {
        Add(dlg, "Speed", 0, "4");
        Add(dlg, "Level", 5);
        dlg.UserClickButton(ui::IDOK);  // Save: the dialog stays
        EXPECT_TRUE(dlg.IsLive());
        EXPECT_TRUE(dlg.Item(IDC_TAG_CONFIRM).IsWindowEnabled());
        dlg.UserClickButton(IDC_TAG_CONFIRM);
        dlg.UserClickButton(ui::IDCANCEL);
    });
    CEthernetIPTagTableDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    const CEipTagTable& t = g_EipTagTable;
    EXPECT_EQ(t.g_arrTagName, (StringArray{"Speed", "Level"}));
    EXPECT_EQ(t.g_arrTagCode, (StringArray{"S00000001", "R00000002"}));
    EXPECT_EQ(t.g_awTagSize[0], 4);
    EXPECT_EQ(t.g_abTagType[1], 6);

    const std::string written = dir.Path() + "QVX-ENET/Tag Table Files/14100_004.inf";
    auto read = [&](const std::string& section, const std::string& key) {
        return platform::GetPrivateProfileString(section, key, "?", 255, written);
    };
    EXPECT_EQ(read("Plc Info", "Plc Code"), "141");
    EXPECT_EQ(read("Plc Info", "Com1PlcFilename"), "MYDRV1.ABS");
    EXPECT_EQ(read("Plc Info", "Com2PlcFilename"), "ENIP2.ABS");
    EXPECT_EQ(read("Plc Info", "Sp1"), "Quorvex ID,01,32,1,0");
    EXPECT_EQ(read("Plc Info", "BaudRate"), "");
    EXPECT_EQ(read("RTU", "RegisterCount"), "2");
    EXPECT_EQ(read("RTU", "Register1"), "Speed,1,0,S,00000001,00000001,**,**,**,**");
    EXPECT_EQ(read("RTU", "Register2"), "Level,1,0,R,00000002,00000002,**,**,**,**");
    EXPECT_EQ(read("RTU", "NoOfByte"), "1");
    EXPECT_EQ(dir.Read("QVX-ENET/Plc/14100_004.inf"), dir.Read("QVX-ENET/Tag Table Files/14100_004.inf"));
    EXPECT_TRUE(ui.MessageBoxes().empty());

    // The saved tags come back; Save with none writes an empty register list.
    ui.ExpectModal(IDD_EIP_TAG_TABLE, [](ui::Dialog& dlg) {
        EXPECT_EQ(Code(dlg, 1), "R00000002");
        dlg.Item<ui::ListView>(IDC_TAG_LIST).UserClickCell(0, 0);
        dlg.UserClickButton(IDC_TAG_DELETE);
        dlg.Item<ui::ListView>(IDC_TAG_LIST).UserClickCell(0, 0);
        dlg.UserClickButton(IDC_TAG_DELETE);
        dlg.UserClickButton(ui::IDOK);
        dlg.UserClickButton(ui::IDCANCEL);
    });
    ui.AnswerMessageBox(ui::IDOK);
    ui.AnswerMessageBox(ui::IDOK);
    CEthernetIPTagTableDlg again;
    again.DoModal();
    EXPECT_EQ(read("RTU", "RegisterCount"), "0");
    EXPECT_EQ(read("RTU", "Register1"), "?");
    EXPECT_TRUE(g_EipTagTable.g_arrTagName.empty());
}

}  // namespace
