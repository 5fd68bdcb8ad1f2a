// The newer block list of a sample product on screen (offscreen Qt): the list in its pane
// with the info window, a cell edited in place through real key and mouse events, the PLC
// list, and the register address dialog opened from a Set Address button. The PNG files
// go to the build folder's tests/qt_editor/screenshots for a person to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QScreen>
#include <QTest>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "model/RunTimeState.h"
#include "editor/NewBlockExView.h"
#include "plc/BlockEditorHost.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "qt/QtBackend.h"
#include "res/EditorResource.h"
#include "tables/DBViewClass1.h"
#include "tables/DBViewClass2.h"
#include "ui/Dialog.h"

namespace {

class ViewHost : public IBlockEditorHost {
public:
    void ShowInfoText(const std::string&) override {}
    void ShowNewInfoText(const std::string& text) override {
        if (g_pNewBlockExView) g_pNewBlockExView->SetInfoText(text);
    }
    std::string GetOlderBlockCellText(int, int) override { return std::string(); }
    std::string GetNewerBlockCellText(int row, int column) override {
        return g_pNewBlockExView ? g_pNewBlockExView->GetCellText(row, column) : std::string();
    }
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override {
        return ui::MessageBox(text, caption, flags);
    }
};

std::string Shot(const std::string& name) {
    QDir().mkpath(QUORVEX_SHOT_DIR);
    return std::string(QUORVEX_SHOT_DIR) + "/" + name;
}

QPoint CellCenter(QTableWidget* t, int row, int col) {
    return t->visualRect(t->model()->index(row, col)).center();
}

QLineEdit* VisibleEdit(QWidget* top) {
    for (QLineEdit* e : top->findChildren<QLineEdit*>())
        if (e->isVisible()) return e;
    return nullptr;
}

void Settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// A click on the cell, the text typed as X delivers keys to the window, then Enter; an edit
// the Enter opened on the next cell is left with Escape.
void TypeIntoCell(QMainWindow* win, QTableWidget* table, int row, int col, const char* text) {
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, CellCenter(table, row, col));
    Settle();
    ASSERT_NE(VisibleEdit(win), nullptr);
    VisibleEdit(win)->selectAll();
    for (const char* c = text; *c; ++c) QTest::keyClick(win->windowHandle(), *c);
    QTest::keyClick(win->windowHandle(), Qt::Key_Return);
    Settle();
    if (VisibleEdit(win)) QTest::keyClick(win->windowHandle(), Qt::Key_Escape);
    Settle();
}

// Configure Project: the product and the PLC file and model section of each port.
void ConfigureProject(const char* product, unsigned deviceId, const char* plc1, const char* section1, const char* plc2,
                      const char* section2) {
    g_szProductName = g_szProductPath = g_szProductNameCopy = product;
    g_nDeviceId = g_nDeviceIdAlt = deviceId;
    g_bUntitled = 1;
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.ResetProject();
    t.g_strPlc1Inf = deffiles::PlcDefinitionFile(product, plc1);
    t.g_strPlc1Section = section1;
    t.g_strPlc2Inf = deffiles::PlcDefinitionFile(product, plc2);
    t.g_strPlc2Section = section2;
    t.LoadPlcFileCom1();
    t.LoadPlcFileCom2();
    t.SetBlockWordLimit(false);
}

// The project level: the block list in pane (0,1) above the two internal-database panes.
CNewBlockExView* BuildProjectLevel(ui::Frame& frame) {
    ui::Splitter& s = frame.GetSplitter();
    s.CreateStatic(3, 2);
    s.SetColumnInfo(0, 180, 10);
    s.SetRowInfo(0, 360, 10);
    s.SetRowInfo(1, 110, 10);
    s.CreateView(0, 0, std::make_unique<ui::View>());
    auto* view = static_cast<CNewBlockExView*>(s.CreateView(0, 1, std::make_unique<CNewBlockExView>()));
    s.CreateView(1, 1, std::make_unique<DBViewClass1>());
    s.CreateView(2, 1, std::make_unique<DBViewClass2>());
    frame.SetActiveView(view);
    view->OnInitialUpdate();
    return view;
}

QMainWindow* ShownMainWindow() {
    QMainWindow* win = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* mw = qobject_cast<QMainWindow*>(w); mw && mw->isVisible()) win = mw;  // not one on its way out
    return win;
}

// The frame shown at a working size; its block list, or null.
QTableWidget* ShowBlockList(ui::Frame& frame, QMainWindow*& win) {
    frame.Create();
    win = ShownMainWindow();
    if (!win) return nullptr;
    win->resize(1100, 700);
    Settle();
    return win->findChild<QTableWidget*>();
}

TEST(QtEditorScreens, BlockListCellEditorsInfoWindowAndAddressDialog) {
    testsupport::SampleTree tree;
    qtbind::QtBackend backend;
    ui::SetBackend(&backend);
    ViewHost host;
    SetBlockEditorHost(&host);

    // Configure Project of the S7: Modbus RTU Master on COM1, DF1 Full Duplex on COM2.
    ConfigureProject("QVX-S7", 82, "101", "Standard", "102", "Series 5");
    CPlcRegisterTables& t = g_PlcRegisterTables;
    {
        ui::Frame frame;
        frame.SetWindowText("Quorvex Setup Software - QVX-S7 [Untitled]");
        CNewBlockExView* view = BuildProjectLevel(frame);
        view->AddDefaultRow();
        view->AddDefaultRow();
        const char* second[] = {nullptr, "10", "Modbus RTU Master", "1", "H0001", "DF1 Full Duplex", "2", "N007:000", "5", "1", "Tank levels"};
        for (int c = 1; c < kBlockListColumns; ++c) view->SetCellText(1, c, second[c]);
        QMainWindow* win = nullptr;
        auto* table = ShowBlockList(frame, win);
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->rowCount(), 3);
        EXPECT_EQ(table->horizontalHeaderItem(7)->text(), QString("Destination Address"));
        EXPECT_EQ(table->item(1, 10)->text(), QString("Tank levels"));
        testsupport::ExpectHeadingsFit(table);

        // A click on a Words cell: an edit over it, the Set Address buttons on the row.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, CellCenter(table, 0, 1));
        Settle();
        QLineEdit* edit = VisibleEdit(win);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), QString("1"));
        edit->selectAll();
        QTest::keyClicks(edit, "7x");
        Settle();
        EXPECT_EQ(edit->text(), QString("7X"));  // capitals; letters stay in a Words cell until it is checked
        ASSERT_TRUE(backend.GrabFrame(frame, Shot("cell-editor.png")));
        QTest::keyClick(edit, Qt::Key_Return);
        Settle();
        // Refused with the entry check's message in the info window; the PLC list opened next.
        EXPECT_EQ(view->GetCellText(0, 1), "1");
        EXPECT_NE(view->GetInfoText().find("For word operation"), std::string::npos);
        auto* combo = win->findChild<QComboBox*>();
        ASSERT_NE(combo, nullptr);
        EXPECT_TRUE(combo->isVisible());
        EXPECT_EQ(combo->count(), 2);
        ASSERT_TRUE(backend.GrabFrame(frame, Shot("plc-list.png")));
        ASSERT_TRUE(backend.GrabDialog(*view->GetInfoWnd(), Shot("info-window.png")));
        // The info window is wholly on the screen, owned by the main window (so in front
        // of it), and the focus stayed with the PLC list the person works in.
        QWidget* info = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle() == QString("Error Messages")) info = w;
        ASSERT_NE(info, nullptr);
        EXPECT_TRUE(info->screen()->availableGeometry().contains(info->frameGeometry()))
            << info->frameGeometry().x() << "," << info->frameGeometry().y() << " " << info->frameGeometry().width()
            << "x" << info->frameGeometry().height();
        EXPECT_EQ(info->parentWidget(), win);
        EXPECT_EQ(QApplication::focusWidget(), combo);
        EXPECT_NE(QApplication::activeWindow(), info);

        // Choose DF1 for the source with the keyboard and go on to the ID column.
        QTest::keyClick(combo, Qt::Key_Down);
        QTest::keyClick(combo, Qt::Key_Tab);
        Settle();
        EXPECT_EQ(view->GetCellText(0, 2), "DF1 Full Duplex");
        edit = VisibleEdit(win);
        ASSERT_NE(edit, nullptr);
        QTest::keyClick(edit, Qt::Key_Tab);  // the ID as it was; on to the address
        Settle();
        edit = VisibleEdit(win);
        ASSERT_NE(edit, nullptr);
        QTest::keyClicks(edit, "n7:3");
        QTest::keyClick(edit, Qt::Key_Return);
        Settle();
        EXPECT_EQ(view->GetCellText(0, 4), "N007:003");

        // The source Set Address button opens the register address dialog on the DF1 tables.
        QPushButton* button = nullptr;
        for (QPushButton* b : win->findChildren<QPushButton*>())
            if (b->isVisible() && b->toolTip() == QString("Set Address from Table") &&
                b->geometry().center().x() < table->mapTo(win, QPoint(0, 0)).x() + 400)
                button = b;
        ASSERT_NE(button, nullptr);
        bool shown = false;
        backend.SetShownHook([&](ui::Dialog& d) {
            shown = true;
            EXPECT_EQ(d.GetWindowText(), "PLC2 Address");
            EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), "N007:003");
            d.UserClickButton(IDC_BIT_ADDRESSED_RADIO);
            d.UserClickButton(IDC_BIT2_UP);
            ASSERT_TRUE(backend.GrabDialog(d, Shot("register-address.png")));
            d.UserClickButton(ui::IDOK);
        });
        QTest::mouseClick(button, Qt::LeftButton);
        Settle();
        EXPECT_TRUE(shown);
        EXPECT_EQ(view->GetCellText(0, 4), "N007:003_1");
        ASSERT_TRUE(backend.GrabFrame(frame, Shot("project-level.png")));
        backend.SetShownHook(nullptr);

        // Typed through the window as X delivers keys: a bit on a coil is refused with the
        // bit message and the cell keeps its address; a bit on a word register is taken.
        std::vector<std::string> boxes;
        backend.SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
            boxes.push_back(text);
            return ui::IDOK;
        });
        auto typeAddress = [&](const char* text) { TypeIntoCell(win, table, 0, 4, text); };
        typeAddress("b3/1_4");
        EXPECT_EQ(view->GetCellText(0, 4), "N007:003_1");
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], "Invalid Bit Value. Please enter valid data.");
        typeAddress("n7:2_15");
        EXPECT_EQ(view->GetCellText(0, 4), "N007:002_15");
        EXPECT_EQ(boxes.size(), 1u);
        backend.SetMessageBoxHook(nullptr);

        // Scrolled sideways, a click on the comment opens the edit over that cell, and
        // scrolling again closes it.
        win->resize(640, 700);
        Settle();
        testsupport::ExpectEditOverCellAfterSidewaysScroll(win, table, 1, kBlockListColumns - 1, Settle, [&] {
            EXPECT_TRUE(backend.GrabFrame(frame, Shot("scrolled-cell-editor.png")));
        });
        frame.DestroyWindow();
        Settle();
    }
    for (const char* name : {"cell-editor.png", "plc-list.png", "info-window.png", "register-address.png",
                             "project-level.png", "scrolled-cell-editor.png"})
        EXPECT_FALSE(QImage(QString::fromStdString(Shot(name))).isNull()) << name;
    SetBlockEditorHost(nullptr);
    t.ResetProject();
    ui::SetBackend(nullptr);
}

// The CAN product with J1939 Node on COM2, typed through the window as X delivers keys: the
// address dialog offers a bit on neither port, so neither cell takes one; the reason is told
// and the cells keep their addresses. The same addresses without a bit are taken.
TEST(QtEditorScreens, NoBitOnEitherPortWhileCom2HasACanDriver) {
    testsupport::SampleTree tree;
    qtbind::QtBackend backend;
    ui::SetBackend(&backend);
    ViewHost host;
    SetBlockEditorHost(&host);
    ConfigureProject("QVX-300", 83, "101", "Standard", "172", "J1939");
    std::vector<std::string> boxes;
    backend.SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
        boxes.push_back(text);
        return ui::IDOK;
    });
    {
        ui::Frame frame;
        CNewBlockExView* view = BuildProjectLevel(frame);
        ASSERT_EQ(g_bCom2IsCAN, 1);
        const char* row[] = {nullptr, "8", "Modbus RTU Master", "1", "H0001", "J1939 Node", "2", "P0:00/FEF1", "5", "0", ""};
        for (int c = 1; c < kBlockListColumns; ++c) view->SetCellText(0, c, row[c]);
        QMainWindow* win = nullptr;
        auto* table = ShowBlockList(frame, win);
        ASSERT_NE(table, nullptr);
        auto typeAddress = [&](int col, const char* text) { TypeIntoCell(win, table, 0, col, text); };
        typeAddress(7, "p0:0/fef1_3");
        EXPECT_EQ(view->GetCellText(0, 7), "P0:00/FEF1");
        typeAddress(4, "h1_3");
        EXPECT_EQ(view->GetCellText(0, 4), "H0001");
        ASSERT_EQ(boxes.size(), 2u);
        for (const std::string& box : boxes) EXPECT_EQ(box, "Invalid Bit Value. Please enter valid data.");
        EXPECT_EQ(view->GetInfoText(), "Invalid Bit Value. Please enter valid data.");
        typeAddress(7, "p0:1/fef2");
        EXPECT_EQ(view->GetCellText(0, 7), "P0:01/FEF2");
        typeAddress(4, "h2");
        EXPECT_EQ(view->GetCellText(0, 4), "H0002");
        EXPECT_EQ(boxes.size(), 2u);
        EXPECT_EQ(view->CompileBlock(0), 0);
        frame.DestroyWindow();
        Settle();
    }
    backend.SetMessageBoxHook(nullptr);
    SetBlockEditorHost(nullptr);
    g_PlcRegisterTables.ResetProject();
    g_arrCanDrivers.clear();
    g_bCom2IsCAN = 0;
    ui::SetBackend(nullptr);
}

}  // namespace
