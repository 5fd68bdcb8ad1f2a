// The dialogs of the extended tables shown by the Qt binding offscreen, with an editor
// open over a cell where they have one, saved as PNG images for a person to look at
// (build folder: tests/qt_tables_dlg/screenshots).
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QDir>
#include <QImage>
#include <QTableWidget>
#include <QTest>

#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "plc/PlcRegisterTables.h"
#include "qt/QtBackend.h"
#include "res/TablesResource.h"
#include "tables/DBViewClass2.h"
#include "tables/DefCommRegDlg.h"
#include "tables/EthernetIPTagTableDlg.h"
#include "tables/EthernetNodeTableDlg.h"
#include "tables/RecipeDlg.h"
#include "model/TableResets.h"
#include "PlcFixture.h"
#include "QtTestSupport.h"
#include "TestSupport.h"

namespace {

std::string Shot(const std::string& name) {
    QDir().mkpath(QUORVEX_SHOT_DIR);
    return std::string(QUORVEX_SHOT_DIR) + "/" + name;
}

void Settle() {
    QApplication::processEvents();
    QTest::qWait(30);
}

// The button of the open dialog with this text (with or without its mnemonic), or null.
QPushButton* Button(const QString& text) {
    QWidget* win = QApplication::activeModalWidget();
    if (!win) return nullptr;
    for (QPushButton* b : win->findChildren<QPushButton*>())
        if (b->text() == text || b->text() == "&" + text) return b;
    return nullptr;
}

// Clicks the cell (row, col) of the open dialog's table and types `text` as keys to the window;
// false when the dialog has no table or no edit opens.
bool TypeInCell(int row, int col, const char* text) {
    QWidget* win = QApplication::activeModalWidget();
    auto* table = win ? win->findChild<QTableWidget*>() : nullptr;
    if (!table) return false;
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(row, col)).center());
    Settle();
    auto* edit = win->findChild<QLineEdit*>();
    if (!edit) return false;
    edit->selectAll();
    for (const char* c = text; *c; ++c) QTest::keyClick(win->windowHandle(), *c);
    return true;
}

// TypeInCell, then a click on OK: the OK button, or null when the dialog has none of these.
QPushButton* TypeInCellAndClickOk(int row, int col, const char* text) {
    QPushButton* ok = TypeInCell(row, col, text) ? Button("OK") : nullptr;
    if (!ok) return nullptr;
    QTest::mouseClick(ok, Qt::LeftButton);
    Settle();
    return ok;
}

class TablesShots : public testing::Test {
protected:
    TablesShots() { ui::SetBackend(&backend); }
    ~TablesShots() override { ui::SetBackend(nullptr); }
    testsupport::SampleTree tree;
    qtbind::QtBackend backend;
    std::vector<std::string> messages;

    void SetUp() override {
        backend.SetMessageBoxHook([this](const std::string& text, const std::string&, unsigned) {
            messages.push_back(text);
            return ui::IDOK;
        });
    }
};

TEST_F(TablesShots, DefaultCommunicationRegistersWithAWordsEditor) {
    CDefCommRegTables& d = g_DefCommRegs;
    d = CDefCommRegTables();
    d.g_arrAttachRegStation1 = {"1", "2", "3"};
    d.g_arrAttachRegAddr1 = {"H0001", "H0101", "H0201"};
    d.g_arrAttachRegWords1 = StringArray(200, "1");
    d.g_arrAttachRegStation2 = {"5"};
    d.g_arrAttachRegAddr2 = {"N007:000"};
    g_bAttachRegCom1 = g_bAttachRegCom2 = 1;
    g_bDefCommRegFill = 0;
    bool grabbed = false;
    backend.SetShownHook([&](ui::Dialog& dlg) {
        dlg.Item<ui::ListView>(IDC_ATTACH_LIST_COM1).UserClickCell(1, 2);
        Settle();
        if (ui::Control* edit = dlg.GetDlgItem(IDC_ATTACH_EDIT_COM1)) {
            edit->UserType("12");
            Settle();
            grabbed = backend.GrabDialog(dlg, Shot("def_comm_registers.png"));
            edit->UserKey(ui::VK_RETURN);
            Settle();
        }
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_ATTACH_LIST_COM1).GetItemText(1, 2), "12");
        dlg.UserClickButton(ui::IDOK);
    });
    CDefCommRegDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_TRUE(grabbed);
    EXPECT_EQ(d.g_arrAttachRegWords1[1], "12");
    d = CDefCommRegTables();
    g_bAttachRegCom1 = g_bAttachRegCom2 = 0;
}

// A word count typed past 255 and left with a click on OK: refused with the count message, the
// dialog stays open on the 1 the cell then shows, and stores it at the next OK.
TEST_F(TablesShots, DefaultRegisterWordsPastTheirLimitLeftByAClickOnOk) {
    CDefCommRegTables& d = g_DefCommRegs;
    d = CDefCommRegTables();
    d.g_arrAttachRegStation1 = {"1", "2"};
    d.g_arrAttachRegAddr1 = {"H0001", "H0101"};
    d.g_arrAttachRegWords1 = {"4", "5"};
    g_bAttachRegCom1 = 1;
    g_bDefCommRegFill = 0;
    backend.SetShownHook([&](ui::Dialog& dlg) {
        QPushButton* ok = TypeInCellAndClickOk(1, 2, "999");
        ASSERT_NE(ok, nullptr);
        ASSERT_TRUE(dlg.IsLive());
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_ATTACH_LIST_COM1).GetItemText(1, 2), "1");
        EXPECT_EQ(d.g_arrAttachRegWords1[1], "5");
        QTest::mouseClick(ok, Qt::LeftButton);
        Settle();
        if (dlg.IsLive()) dlg.UserClickButton(ui::IDCANCEL);
    });
    CDefCommRegDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(messages, (std::vector<std::string>{"Invalid Value.Please Enter Valid Data Between 1-255."}));
    ASSERT_GE(d.g_arrAttachRegWords1.size(), 2u);
    EXPECT_EQ(d.g_arrAttachRegWords1[0], "4");
    EXPECT_EQ(d.g_arrAttachRegWords1[1], "1");
    d = CDefCommRegTables();
    g_bAttachRegCom1 = 0;
}

TEST_F(TablesShots, RecipesWithTheAddressEditorAndButton) {
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.ResetProject();
    t.g_strPlc1Inf = tree.Path() + "QVX-S7/Plc/10100_004.inf";
    t.g_strPlc1Section = "Standard";
    t.LoadPlcFileCom1();
    ClearRecipeTables();
    g_RecipeTables.g_arrRecipeColumns = {"Port", "Retries", "Delay", "PLC Address", "Value"};
    g_RecipeTables.g_arrRecipeAddr = {"H0001", "H0002"};
    g_RecipeTables.g_abRecipePort[0] = g_RecipeTables.g_abRecipePort[1] = 1;
    g_RecipeTables.g_abRecipeCol1[0] = 3;
    g_RecipeTables.g_abRecipeCol2[0] = g_RecipeTables.g_abRecipeCol2[1] = 1;
    g_RecipeTables.g_awRecipeValue[0] = 100;
    g_RecipeTables.g_awRecipeValue[1] = 65535;
    g_bRecipesCom1 = g_bRecipesCom2 = 1;
    g_nRecipeState = 0;
    bool grabbed = false, grabbedCombo = false;
    backend.SetShownHook([&](ui::Dialog& dlg) {
        auto& grid = dlg.Item<ui::ListView>(IDC_RECIPE_GRID);
        grid.UserClickCell(1, 3);
        Settle();
        EXPECT_NE(dlg.GetDlgItem(IDC_GRID_BUTTON), nullptr);
        grabbed = backend.GrabDialog(dlg, Shot("recipes_address_cell.png"));
        grid.UserClickCell(0, 0);
        Settle();
        grabbedCombo = backend.GrabDialog(dlg, Shot("recipes_side_combo.png"));
        grid.UserClickCell(-1, -1);
        dlg.UserClickButton(ui::IDOK);
    });
    CRecipeDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_TRUE(grabbed);
    EXPECT_TRUE(grabbedCombo);
    EXPECT_EQ(g_RecipeTables.g_arrRecipeAddr, (StringArray{"H0001", "H0002"}));
    ClearRecipeTables();
    g_RecipeTables.g_arrRecipeColumns.clear();
    g_bRecipesCom1 = g_bRecipesCom2 = 0;
    t.ResetProject();
}

// The recipe grid with real clicks and keys: a paste is ignored, a pick in the side list
// ends the edit, and Ctrl clicks choose several rows that Delete Row removes together.
TEST_F(TablesShots, RecipesPasteSidePickAndSeveralRowsDeleted) {
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.ResetProject();
    t.g_strPlc1Inf = t.g_strPlc2Inf = tree.Path() + "QVX-S7/Plc/10100_004.inf";
    t.g_strPlc1Section = t.g_strPlc2Section = "Standard";
    t.LoadPlcFileCom1();
    t.LoadPlcFileCom2();
    ClearRecipeTables();
    g_RecipeTables.g_arrRecipeColumns = {"Port", "Retries", "Delay", "PLC Address", "Value"};
    g_RecipeTables.g_arrRecipeAddr = {"H0001", "H0002", "H0003", "H0004"};
    for (int i = 0; i < 4; ++i) {
        g_RecipeTables.g_abRecipePort[i] = 1;
        g_RecipeTables.g_abRecipeCol1[i] = g_RecipeTables.g_abRecipeCol2[i] = 1;
    }
    g_bRecipesCom1 = g_bRecipesCom2 = 1;
    g_nRecipeState = 0;
    backend.SetShownHook([&](ui::Dialog& dlg) {
        auto& grid = dlg.Item<ui::ListView>(IDC_RECIPE_GRID);
        QWidget* top = QApplication::activeModalWidget();
        ASSERT_NE(top, nullptr);
        auto* table = top->findChild<QTableWidget*>();
        ASSERT_NE(table, nullptr);
        auto cell = [&](int row, int col) { return table->visualRect(table->model()->index(row, col)).center(); };

        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell(0, 1));
        Settle();
        auto* edit = top->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        QApplication::clipboard()->setText(QStringLiteral("77"));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
        Settle();
        EXPECT_EQ(edit->text(), QString("1"));
        QTest::keyClick(edit, Qt::Key_Return);
        Settle();
        EXPECT_EQ(grid.GetItemText(0, 1), "1");

        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell(2, 0));
        Settle();
        auto* combo = top->findChild<QComboBox*>();
        ASSERT_NE(combo, nullptr);
        combo->showPopup();
        Settle();
        QTest::keyClick(combo->view(), Qt::Key_Down);
        QTest::keyClick(combo->view(), Qt::Key_Return);
        Settle();
        EXPECT_EQ(dlg.GetDlgItem(IDC_GRID_COMBO), nullptr);  // the pick ended the edit
        EXPECT_EQ(grid.GetItemText(2, 0), "Com2");

        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell(1, 4));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::ControlModifier, cell(3, 4));
        Settle();
        EXPECT_EQ(dlg.GetDlgItem(IDC_GRID_EDIT), nullptr);  // a Ctrl click opens nothing
        EXPECT_TRUE(grid.IsItemSelected(1));
        EXPECT_TRUE(grid.IsItemSelected(3));
        EXPECT_TRUE(backend.GrabDialog(dlg, Shot("recipes_two_rows_selected.png")));
        dlg.OnCommand(ID_RECIPE_DELETE_ROW);
        Settle();
        ASSERT_EQ(grid.GetItemCount(), 2);
        EXPECT_EQ(grid.GetItemText(0, 3), "H0001");
        EXPECT_EQ(grid.GetItemText(1, 3), "H0003");
        dlg.UserClickButton(ui::IDOK);
    });
    CRecipeDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(g_RecipeTables.g_arrRecipeAddr, (StringArray{"H0001", "H0003"}));
    ClearRecipeTables();
    g_RecipeTables.g_arrRecipeColumns.clear();
    g_bRecipesCom1 = g_bRecipesCom2 = 0;
    t.ResetProject();
}

// The recipe grid typed as X delivers keys to the window: a value typed before its address
// is held to the address once it comes, a new row's 65535 does not stay on a coil, and OK
// names a row without an address, keeps the dialog open and stores every row once the
// incomplete one is deleted.
class RecipeKeys : public PlcTablesTest {
protected:
    RecipeKeys() { ui::SetBackend(&backend); }
    ~RecipeKeys() override { ui::SetBackend(nullptr); }
    qtbind::QtBackend backend;
    std::vector<std::string> boxes;

    void SetUp() override {
        PlcTablesTest::SetUp();
        backend.SetMessageBoxHook([this](const std::string& text, const std::string&, unsigned) {
            boxes.push_back(text);
            return ui::IDOK;
        });
        ClearRecipeTables();
        g_RecipeTables.g_arrRecipeColumns = {"Port", "Retries", "Delay", "PLC Address", "Value"};
        g_bRecipesCom1 = 1;
        g_nRecipeState = 1;
    }
    void TearDown() override {
        ClearRecipeTables();
        g_RecipeTables.g_arrRecipeColumns.clear();
        g_bRecipesCom1 = 0;
        g_nRecipeState = 0;
        g_bProjectModified = 0;
        PlcTablesTest::TearDown();
    }
};

TEST_F(RecipeKeys, ValueHeldToItsAddressAndNoRowLostAtOk) {
    bool stored = false;
    backend.SetShownHook([&](ui::Dialog& dlg) {
        auto& grid = dlg.Item<ui::ListView>(IDC_RECIPE_GRID);
        QWidget* win = QApplication::activeModalWidget();
        ASSERT_NE(win, nullptr);
        auto* table = win->findChild<QTableWidget*>();
        ASSERT_NE(table, nullptr);
        auto click = [&](int row, int col) {
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                              table->visualRect(table->model()->index(row, col)).center());
            Settle();
        };
        auto type = [&](int row, int col, const char* text) {
            click(row, col);
            auto* edit = win->findChild<QLineEdit*>();
            ASSERT_NE(edit, nullptr);
            edit->selectAll();
            for (const char* c = text; *c; ++c) QTest::keyClick(win->windowHandle(), *c);
            QTest::keyClick(win->windowHandle(), Qt::Key_Return);
            Settle();
        };
        type(0, 4, "70000");
        type(0, 3, "n5:1");  // N has no ':' part: refused, never sent as N5
        EXPECT_EQ(grid.GetItemText(0, 3), "");
        EXPECT_EQ(grid.GetItemText(0, 4), "70000");
        type(0, 3, "n5");
        EXPECT_EQ(grid.GetItemText(0, 3), "N5");
        EXPECT_EQ(grid.GetItemText(0, 4), "65535");
        EXPECT_EQ(boxes, (std::vector<std::string>{"Invalid Address.Please Enter Valid Address.",
                                                   "Invalid Value.Please Enter Valid Data between 0-65535."}));

        click(0, 1);
        dlg.OnCommand(ID_RECIPE_INSERT_ROW);  // a new row above
        Settle();
        type(0, 3, "b1/1");
        EXPECT_EQ(grid.GetItemText(0, 4), "1");
        EXPECT_EQ(boxes.size(), 2u);  // the new row's 65535, never typed, fits the coil without a word

        click(1, 1);
        dlg.OnCommand(ID_RECIPE_INSERT_ROW);
        Settle();
        ASSERT_EQ(grid.GetItemCount(), 3);
        boxes.clear();
        table->setFocus();
        QTest::keyClick(win->windowHandle(), Qt::Key_Return);
        Settle();
        EXPECT_EQ(boxes, (std::vector<std::string>{"Please complete row 2."}));
        ASSERT_TRUE(dlg.IsLive());
        EXPECT_TRUE(g_RecipeTables.g_arrRecipeAddr.empty());

        click(1, 1);
        dlg.OnCommand(ID_RECIPE_DELETE_ROW);
        Settle();
        table->setFocus();
        QTest::keyClick(win->windowHandle(), Qt::Key_Return);
        Settle();
        stored = !dlg.IsLive();
        if (!stored) dlg.UserClickButton(ui::IDCANCEL);
    });
    CRecipeDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_TRUE(stored);
    EXPECT_EQ(g_RecipeTables.g_arrRecipeAddr, (StringArray{"B1/1", "N5"}));
    EXPECT_EQ(g_RecipeTables.g_awRecipeValue[0], 1);
    EXPECT_EQ(g_RecipeTables.g_awRecipeValue[1], 65535);
}

// A value typed past its address's range and left with a click on OK: refused with the value
// message, the dialog stays open showing the value held to the range, and stores it only when
// OK is pressed again.
TEST_F(RecipeKeys, ValuePastItsRangeLeftByAClickOnOk) {
    g_RecipeTables.g_arrRecipeAddr = {"N5"};
    g_RecipeTables.g_abRecipePort[0] = 1;
    g_RecipeTables.g_abRecipeCol1[0] = g_RecipeTables.g_abRecipeCol2[0] = 1;
    g_RecipeTables.g_awRecipeValue[0] = 7;
    g_nRecipeState = 0;
    backend.SetShownHook([&](ui::Dialog& dlg) {
        QPushButton* ok = TypeInCellAndClickOk(0, 4, "70000");
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(boxes, (std::vector<std::string>{"Invalid Value.Please Enter Valid Data between 0-65535."}));
        ASSERT_TRUE(dlg.IsLive());
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_RECIPE_GRID).GetItemText(0, 4), "65535");
        EXPECT_EQ(g_RecipeTables.g_awRecipeValue[0], 7);
        QTest::mouseClick(ok, Qt::LeftButton);
        Settle();
        if (dlg.IsLive()) dlg.UserClickButton(ui::IDCANCEL);
    });
    CRecipeDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(g_RecipeTables.g_arrRecipeAddr, (StringArray{"N5"}));
    EXPECT_EQ(g_RecipeTables.g_awRecipeValue[0], 65535);
}

// A cell typed past its range (a default register's word count, a recipe value), then Cancel
// pressed where it is drawn or the close box: the dialog closes at that first press and stores
// nothing (Escape belongs to the cell's editor here). A press on OK that the refusal's box ends
// (the box answered with Enter, the mouse let go off the button) holds nothing over: the next
// Space on OK stores the corrected cell.
TEST_F(RecipeKeys, CancelClosesAtTheFirstPressAfterARefusalAndNoPressIsHeldOver) {
    enum Gesture { Cancel, CloseBox, OkThenSpace };
    for (const bool recipes : {false, true})
        for (const Gesture gesture : {Cancel, CloseBox, OkThenSpace}) {
            SCOPED_TRACE(std::string(recipes ? "Recipes" : "Default registers") + " gesture " + std::to_string(gesture));
            backend.SetMessageBoxHook(nullptr);  // real boxes, answered where they are drawn
            CDefCommRegTables& d = g_DefCommRegs;
            d = CDefCommRegTables();
            d.g_arrAttachRegStation1 = {"1"};
            d.g_arrAttachRegAddr1 = {"H0001"};
            d.g_arrAttachRegWords1 = {"5"};
            g_bAttachRegCom1 = 1;
            g_bDefCommRegFill = 0;
            g_RecipeTables.g_arrRecipeAddr = {"N5"};
            g_RecipeTables.g_abRecipePort[0] = 1;
            g_RecipeTables.g_abRecipeCol1[0] = g_RecipeTables.g_abRecipeCol2[0] = 1;
            g_RecipeTables.g_awRecipeValue[0] = 7;
            g_nRecipeState = 0;
            std::vector<std::string> texts;
            bool shownAfter = true;
            backend.SetShownHook([&](ui::Dialog& dlg) {
                QWidget* win = QApplication::activeModalWidget();
                ASSERT_TRUE(TypeInCell(0, recipes ? 4 : 2, recipes ? "70000" : "999"));
                QPushButton* cancel = Button("Cancel");
                QPushButton* ok = Button("OK");
                ASSERT_TRUE(cancel && ok);
                switch (gesture) {
                    case Cancel: texts = testsupport::PressThroughBoxes(cancel); break;
                    case CloseBox: texts = testsupport::AnswerBoxes([&] { win->windowHandle()->close(); }); break;
                    case OkThenSpace:
                        texts = testsupport::AnswerBoxes(
                            [&] { QTest::mousePress(win->windowHandle(), Qt::LeftButton, {}, ok->mapTo(win, ok->rect().center())); },
                            {}, true);
                        QTest::mouseRelease(win->windowHandle(), Qt::LeftButton, {}, QPoint(2, 2));
                        Settle();
                        ASSERT_TRUE(backend.GrabDialog(dlg, Shot("refused-then-space.png")));
                        testsupport::AnswerBoxes([&] { QTest::keyClick(win->windowHandle(), Qt::Key_Space); });
                        break;
                }
                Settle();
                shownAfter = backend.GrabDialog(dlg, Shot("after-first-press.png"));
                if (!dlg.IsEnded()) dlg.EndDialog(ui::IDABORT);
            });
            const int result = recipes ? CRecipeDlg().DoModal() : CDefCommRegDlg().DoModal();
            EXPECT_FALSE(shownAfter);
            EXPECT_EQ(result, gesture == OkThenSpace ? ui::IDOK : ui::IDCANCEL);
            if (gesture == Cancel || gesture == OkThenSpace)
                EXPECT_EQ(texts, std::vector<std::string>{recipes ? "Invalid Value.Please Enter Valid Data between 0-65535."
                                                                  : "Invalid Value.Please Enter Valid Data Between 1-255."});
            if (recipes)
                EXPECT_EQ(g_RecipeTables.g_awRecipeValue[0], gesture == OkThenSpace ? 65535 : 7);
            else
                EXPECT_EQ(d.g_arrAttachRegWords1.at(0), gesture == OkThenSpace ? "1" : "5");
            d = CDefCommRegTables();
            g_bAttachRegCom1 = 0;
        }
}

TEST_F(TablesShots, EthernetNodeTable) {
    g_EthNodeTable = CEthNodeTable();
    g_EthNodeTable.g_arrNodeAddress = {"1", "2", "10"};
    g_EthNodeTable.g_arrNodeIp = {"192.168.0.10", "192.168.0.11"};
    g_EthNodeTable.g_arrNodePort = {"502", "502"};
    g_bNewProject = 0;
    bool grabbed = false;
    backend.SetShownHook([&](ui::Dialog& dlg) {
        dlg.Item<ui::ListView>(IDC_NODE_LIST).UserClickCell(1, 0);
        Settle();
        grabbed = backend.GrabDialog(dlg, Shot("ethernet_node_table.png"));
        dlg.UserClickButton(ui::IDCANCEL);
    });
    CEthernetNodeTableDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    EXPECT_TRUE(grabbed);
    g_EthNodeTable = CEthNodeTable();
}

// A part of a node's IP address typed past 255 and taken with Alt+C, the focus still in the
// part, or with a click on Change: refused with the part's message as leaving the part does, and
// the row keeps its address until Change is pressed again on the 255 the part then shows.
TEST_F(TablesShots, EthernetNodeAddressPartPastItsLimitTakenByTheChangeKey) {
    g_EthNodeTable = CEthNodeTable();
    g_EthNodeTable.g_arrNodeAddress = {"1", "2"};
    g_EthNodeTable.g_arrNodeIp = {"192.168.0.10", "192.168.0.11"};
    g_EthNodeTable.g_arrNodePort = {"502", "502"};
    g_bNewProject = 0;
    backend.SetShownHook([&](ui::Dialog& dlg) {
        QWidget* win = QApplication::activeModalWidget();
        ASSERT_NE(win, nullptr);
        auto* table = win->findChild<QTableWidget*>();
        ASSERT_NE(table, nullptr);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(1, 0)).center());
        Settle();
        QLineEdit* last = nullptr;  // the fourth part: the rightmost enabled edit on the address line
        for (QLineEdit* e : win->findChildren<QLineEdit*>())
            if (e->isVisible() && e->isEnabled() && (!last || e->x() > last->x())) last = e;
        ASSERT_NE(last, nullptr);
        ASSERT_EQ(last->text(), QString("11"));
        QTest::mouseClick(last, Qt::LeftButton);
        last->selectAll();
        for (const char* c = "300"; *c; ++c) QTest::keyClick(win->windowHandle(), *c);
        QTest::keyClick(win->windowHandle(), Qt::Key_C, Qt::AltModifier);
        QTest::qWait(300);
        Settle();
        EXPECT_EQ(last->text(), QString("255"));
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_NODE_LIST).GetItemText(1, 1), "192.168.0.11");
        // The same with a click on Change.
        QTest::mouseClick(last, Qt::LeftButton);
        last->selectAll();
        for (const char* c = "256"; *c; ++c) QTest::keyClick(win->windowHandle(), *c);
        QPushButton* change = nullptr;
        for (QPushButton* b : win->findChildren<QPushButton*>())
            if (b->text() == QString("&Change")) change = b;
        ASSERT_NE(change, nullptr);
        QTest::mouseClick(change, Qt::LeftButton);
        Settle();
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_NODE_LIST).GetItemText(1, 1), "192.168.0.11");
        QTest::mouseClick(change, Qt::LeftButton);  // pressed again on what the part now shows
        Settle();
        EXPECT_EQ(dlg.Item<ui::ListView>(IDC_NODE_LIST).GetItemText(1, 1), "192.168.0.255");
        dlg.UserClickButton(ui::IDOK);
    });
    CEthernetNodeTableDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(messages, (std::vector<std::string>{"300 is not a valid entry. Please specify a value between 0 and 255.",
                                                  "256 is not a valid entry. Please specify a value between 0 and 255."}));
    EXPECT_EQ(g_EthNodeTable.g_arrNodeIp, (StringArray{"192.168.0.10", "192.168.0.255"}));
    g_EthNodeTable = CEthNodeTable();
}

TEST_F(TablesShots, EthernetIpTagTable) {
    g_szProductName = g_szProductNameCopy = "QVX-ENET";
    ClearTagTable();
    g_EipTagTable.g_arrTagName = {"MotorSpeed", "LineStatus", "RunCommand"};
    g_EipTagTable.g_arrTagCode = {"I00000001", "D00000002", "B00000003"};
    g_EipTagTable.g_abTagType[0] = 2;
    g_EipTagTable.g_abTagType[1] = 3;
    g_EipTagTable.g_abTagType[2] = 4;
    g_EipTagTable.g_awTagSize[0] = g_EipTagTable.g_awTagSize[1] = g_EipTagTable.g_awTagSize[2] = 1;
    bool grabbed = false;
    backend.SetShownHook([&](ui::Dialog& dlg) {
        Settle();
        grabbed = backend.GrabDialog(dlg, Shot("ethernet_ip_tag_table.png"));
        dlg.UserClickButton(ui::IDCANCEL);
    });
    CEthernetIPTagTableDlg dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    EXPECT_TRUE(grabbed);
    ClearTagTable();
    g_szProductName.clear();
    g_szProductNameCopy.clear();
}

}  // namespace

namespace {

TEST_F(TablesShots, CanLayoutOfTheComTwoPane) {
    g_szProductName = "QVX-300";
    g_arrCanDrivers = {"172"};
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.ResetProject();
    t.g_strPLC2Id = t.g_strPlc2DriverId = "172";
    g_bIdbViewsFilled = 0;
    ui::Frame frame;
    frame.SetWindowText("Quorvex Setup Software - Untitled");
    ui::Splitter& s = frame.GetSplitter();
    s.CreateStatic(3, 2);
    for (int r = 0; r < 3; ++r) s.CreateView(r, 0, std::make_unique<ui::View>());
    ui::View* block = s.CreateView(0, 1, std::make_unique<ui::View>());
    s.CreateView(1, 1, std::make_unique<ui::View>());
    auto* p2 = static_cast<DBViewClass2*>(s.CreateView(2, 1, std::make_unique<DBViewClass2>()));
    p2->OnInitialUpdate();
    EXPECT_TRUE(p2->IsCanLayout());
    s.SetColumnInfo(0, 0, 0);
    s.SetRowInfo(0, 100, 10);
    s.SetRowInfo(1, 60, 10);
    frame.SetActiveView(block);
    frame.Create();
    const char* groups[][2] = {{"3", "00000F004"}, {"3", "01000FEF1"}, {"4", "00000FECA"}, {"5", "01000FF10"}};
    for (const auto& g : groups) {
        ui::ListView& list = p2->List();
        const int row = list.InsertItem(list.GetItemCount(), "");
        list.SetItemText(row, 1, g[0]);
        list.SetItemText(row, 2, g[1]);
        p2->FillRow(row, g[1]);
    }
    p2->UpdateEmptyLayout();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("QMainWindow")) w->resize(760, 420);
    Settle();
    p2->List().UserClickCell(2, 5);
    Settle();
    EXPECT_TRUE(p2->m_editCell.IsOpen());
    EXPECT_TRUE(backend.GrabFrame(frame, Shot("can_pane.png")));
    g_arrCanDrivers.clear();
    g_bCom2IsCAN = 0;
    g_szProductName.clear();
    t.ResetProject();
}

}  // namespace
