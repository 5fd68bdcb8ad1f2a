// The default communication registers: both ports' rows, the Words editor and OK.
#include <gtest/gtest.h>

#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "res/DialogImages.h"
#include "res/TablesResource.h"
#include "tables/DefCommRegDlg.h"
#include "model/TableResets.h"
#include "HeadlessUi.h"

namespace {

class DefCommRegTest : public ::testing::Test {
protected:
    testsupport::HeadlessUi ui;
    CDefCommRegTables& d = g_DefCommRegs;

    void SetUp() override {
        d = CDefCommRegTables();
        d.g_arrAttachRegStation1 = {"1", "2", "5"};
        d.g_arrAttachRegAddr1 = {"N100", "N200", "N7"};
        d.g_arrAttachRegWords1 = StringArray(200, "1");
        d.g_arrAttachRegWords1[1] = "4";
        d.g_arrAttachRegStation2 = {"3"};
        d.g_arrAttachRegAddr2 = {"X1"};
        g_bAttachRegCom1 = g_bAttachRegCom2 = 1;
        g_bDefCommRegFill = 0;
        g_bProjectModified = 0;
    }
    void TearDown() override {
        d = CDefCommRegTables();
        g_bAttachRegCom1 = g_bAttachRegCom2 = 0;
        g_bDefCommRegFill = 0;
        g_bProjectModified = 0;
    }
    static std::string Cell(ui::Dialog& dlg, int list, int row, int col) {
        return dlg.Item<ui::ListView>(list).GetItemText(row, col);
    }
    static void TypeWords(ui::Dialog& dlg, int list, int row, const std::string& text) {
        dlg.Item<ui::ListView>(list).UserClickCell(row, 2);
        const int edit = list == IDC_ATTACH_LIST_COM1 ? IDC_ATTACH_EDIT_COM1 : IDC_ATTACH_EDIT_COM2;
        ASSERT_NE(dlg.GetDlgItem(edit), nullptr);
        dlg.Item(edit).UserType(text);
    }
};

TEST_F(DefCommRegTest, ListsBothPortsAndStoresTheWordsOnOk) {
    ui.ExpectModal(IDD_DEF_COMM_REG, [](ui::Dialog& dlg) {
        auto& l1 = dlg.Item<ui::ListView>(IDC_ATTACH_LIST_COM1);
        ASSERT_EQ(l1.GetColumnCount(), 3);
        EXPECT_EQ(l1.GetColumnHeading(0), "Station ID");
        EXPECT_EQ(l1.GetColumnHeading(1), "Register Address");
        EXPECT_EQ(l1.GetColumnHeading(2), "Words");
        EXPECT_EQ(l1.GetColumnWidth(1), 100);
        EXPECT_EQ(dlg.Item(IDC_DEF_COMM_REG_ICON).GetBitmap(), res::TablesBitmap(IDI_DEF_COMM_REG));
        ASSERT_EQ(l1.GetItemCount(), 3);
        EXPECT_EQ(Cell(dlg, IDC_ATTACH_LIST_COM1, 1, 0), "2");
        EXPECT_EQ(Cell(dlg, IDC_ATTACH_LIST_COM1, 1, 1), "N200");
        EXPECT_EQ(Cell(dlg, IDC_ATTACH_LIST_COM1, 1, 2), "4");
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_ATTACH_LIST_COM2).GetItemCount(), 1);
        EXPECT_EQ(dlg.Item(ui::IDOK).GetToolTip(), "Press this button to accept the settings you entered in this dialog.");

        // A Station ID cell opens nothing but counts as a change.
        l1.UserClickCell(0, 0);
        EXPECT_EQ(dlg.GetDlgItem(IDC_ATTACH_EDIT_COM1), nullptr);
        EXPECT_EQ(g_bProjectModified, 1);

        TypeWords(dlg, IDC_ATTACH_LIST_COM1, 0, "300");
        l1.UserClickCell(2, 0);  // leaving the edit checks it
        EXPECT_EQ(Cell(dlg, IDC_ATTACH_LIST_COM1, 0, 2), "1");
        TypeWords(dlg, IDC_ATTACH_LIST_COM1, 1, "007");
        TypeWords(dlg, IDC_ATTACH_LIST_COM1, 2, "01");
        EXPECT_EQ(Cell(dlg, IDC_ATTACH_LIST_COM1, 1, 2), "007");
        // The Com2 edit closes with Enter; the text stays as typed.
        TypeWords(dlg, IDC_ATTACH_LIST_COM2, 0, "255");
        dlg.Item(IDC_ATTACH_EDIT_COM2).UserKey(ui::VK_RETURN);
        EXPECT_EQ(dlg.GetDlgItem(IDC_ATTACH_EDIT_COM2), nullptr);
        EXPECT_EQ(Cell(dlg, IDC_ATTACH_LIST_COM2, 0, 2), "255");
        EXPECT_TRUE(dlg.IsLive());
        dlg.UserClickButton(ui::IDOK);
    });
    CDefCommRegDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "Invalid Value.Please Enter Valid Data Between 1-255.");
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "Error");
    EXPECT_EQ(d.g_arrAttachRegWords1[0], "1");
    EXPECT_EQ(d.g_arrAttachRegWords1[1], "007");
    EXPECT_EQ(d.g_arrAttachRegWords1[2], "1");  // "01" is stored as 1
    EXPECT_EQ(d.g_arrAttachRegWords2[0], "255");
    EXPECT_EQ(d.g_arrAttachRegWords2.size(), 200u);  // filled up when the list was shown
    EXPECT_EQ(g_bDefCommRegFill, 0);
}

// Every count a person can leave in a Words cell is kept as shown (the unit gets its value)
// or refused with the message; letters never pass as the number in front of them.
TEST_F(DefCommRegTest, AWordsCellKeepsWhatIsShownOrRefusesItWithTheMessage) {
    const struct {
        const char* typed;
        const char* kept;  // nullptr: refused, the cell and the holder get 1
    } cases[] = {{"5", "5"}, {"255", "255"}, {"007", "007"}, {"12a", nullptr}, {"1a", nullptr}, {" 5", nullptr},
                 {"-3", nullptr}, {"", nullptr},   {"0", nullptr},     {"256", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("'") + c.typed + "'");
        ui.ClearRecords();
        std::string shown;
        ui.ExpectModal(IDD_DEF_COMM_REG, [&](ui::Dialog& dlg) {
            TypeWords(dlg, IDC_ATTACH_LIST_COM1, 1, c.typed);
            dlg.Item<ui::ListView>(IDC_ATTACH_LIST_COM1).UserClickCell(0, 0);  // leaving the edit
            shown = Cell(dlg, IDC_ATTACH_LIST_COM1, 1, 2);
            dlg.UserClickButton(ui::IDOK);
        });
        CDefCommRegDlg dlg;
        EXPECT_EQ(dlg.DoModal(), ui::IDOK);
        EXPECT_EQ(shown, c.kept ? c.kept : "1");
        EXPECT_EQ(d.g_arrAttachRegWords1[1], shown);
        if (c.kept) {
            EXPECT_TRUE(ui.MessageBoxes().empty());
        } else {
            ASSERT_EQ(ui.MessageBoxes().size(), 1u);
            EXPECT_EQ(ui.MessageBoxes()[0].text, "Invalid Value.Please Enter Valid Data Between 1-255.");
        }
    }
}

TEST_F(DefCommRegTest, CancelKeepsTheWordsAndEmptyPortsLeaveTheListsToBeFilled) {
    ui.ExpectModal(IDD_DEF_COMM_REG, [](ui::Dialog& dlg) {
        TypeWords(dlg, IDC_ATTACH_LIST_COM1, 1, "9");
        dlg.UserClickButton(ui::IDCANCEL);
    });
    CDefCommRegDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(d.g_arrAttachRegWords1[1], "4");

    // Rows only on Com1 with both ports on: the Com2 side decides, the lists start empty.
    d.g_arrAttachRegStation2.clear();
    d.g_arrAttachRegAddr2.clear();
    ui.ExpectModal(IDD_DEF_COMM_REG, [](ui::Dialog& dlg) { dlg.UserClickButton(ui::IDOK); });
    CDefCommRegDlg again;
    again.DoModal();
    EXPECT_EQ(g_bDefCommRegFill, 1);
    ui.ExpectModal(IDD_DEF_COMM_REG, [](ui::Dialog& dlg) {
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_ATTACH_LIST_COM1).GetItemCount(), 0);
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_ATTACH_LIST_COM1).GetColumnCount(), 3);
        dlg.UserClickButton(ui::IDCANCEL);
    });
    CDefCommRegDlg third;
    third.DoModal();
}

TEST_F(DefCommRegTest, ResetKeepsTheWordCountsAndMoreRowsThanWordEntriesGetOne) {
    d.g_nAttachRegCode1 = 7;
    d.g_abAttachRegData2[149] = 3;
    d.g_arrAttachRegCode1 = {"N00000100"};
    CDefCommRegDlg::ResetRegisters();
    EXPECT_TRUE(d.g_arrAttachRegStation1.empty());
    EXPECT_TRUE(d.g_arrAttachRegAddr2.empty());
    EXPECT_TRUE(d.g_arrAttachRegCode1.empty());
    EXPECT_EQ(d.g_nAttachRegCode1, 0);
    EXPECT_EQ(d.g_abAttachRegData2[149], 0);
    EXPECT_EQ(d.g_arrAttachRegWords1.size(), 200u);
    EXPECT_EQ(d.g_arrAttachRegWords1[1], "4");

    // A port whose word table is short still shows a count on every row.
    d.g_arrAttachRegStation1 = {"1", "2"};
    d.g_arrAttachRegAddr1 = {"N1", "N2"};
    d.g_arrAttachRegWords1.clear();
    g_bAttachRegCom2 = 0;
    ui.ExpectModal(IDD_DEF_COMM_REG, [](ui::Dialog& dlg) {
        EXPECT_EQ(Cell(dlg, IDC_ATTACH_LIST_COM1, 1, 2), "1");
        dlg.UserClickButton(ui::IDOK);
    });
    CDefCommRegDlg dlg;
    dlg.DoModal();
    EXPECT_EQ(d.g_arrAttachRegWords1.size(), 200u);
}

}  // namespace
