// Both internal-database panes in a real main window: rows, the empty-list text and the
// editors over a cell, with screenshots of each.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QScrollBar>
#include <QImage>
#include <QLineEdit>
#include <QMainWindow>
#include <QTableWidget>
#include <QTest>

#include <algorithm>

#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "model/BlockTableData.h"
#include "plc/OpenProjectReset.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Paths.h"
#include "qt/QtBackend.h"
#include "tables/DBViewClass1.h"
#include "tables/DBViewClass2.h"
#include "projectfiles/ProjectIdb.h"
#include "model/TableResets.h"
#include "QtTestSupport.h"
#include "TestSupport.h"

namespace {

// The block list's pane, standing in for the editor above the two database panes.
class BlockPane : public ui::View {
public:
    void OnDraw(ui::Painter& p) override {
        const ui::Rect r = GetClientRect();
        p.FillRect(r, ui::RGB(255, 255, 255));
        p.DrawText(10, 10, "Transfer blocks", ui::RGB(0, 0, 0));
    }
};

BlockRow Block(const std::string& words, const std::string& id1, const std::string& addr1, const std::string& id2,
               const std::string& addr2) {
    return {"1", words, "Modbus RTU Master", id1, addr1, "DF1 Full Duplex", id2, addr2, "10", "0", ""};
}

template <class W>
W* Visible(QWidget* top) {
    for (W* w : top->findChildren<W*>())
        if (w->isVisible()) return w;
    return nullptr;
}

QPoint CellCenter(QTableWidget* t, int row, int col) {
    return t->visualRect(t->model()->index(row, col)).center();
}

std::string Shot(const std::string& name) {
    QDir().mkpath(QUORVEX_SHOT_DIR);
    return std::string(QUORVEX_SHOT_DIR) + "/" + name;
}

TEST(QtIdbPanes, RowsEmptyTextAndEditorsOnScreen) {
    qtbind::QtBackend backend;
    ui::SetBackend(&backend);
    std::vector<std::string> messages;
    backend.SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
        messages.push_back(text);
        return ui::IDOK;
    });
    testsupport::SampleTree tree;
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.ResetProject();
    t.g_strPlc1Inf = tree.Path() + "QVX-S7/Plc/10100_004.inf";
    t.g_strPlc1Section = "Standard";
    t.g_strPlc2Inf = tree.Path() + "QVX-S7/Plc/10200_004.inf";
    t.g_strPlc2Section = "Series 5";
    t.LoadPlcFileCom1();
    t.LoadPlcFileCom2();
    t.g_strPLC1Name = "Modbus RTU Master";
    t.g_strPLC2Name = "DF1 Full Duplex";
    g_szProductName = "QVX-S7";
    g_bProjectModified = 1;
    g_bIdbViewsFilled = 0;
    g_BlockTables = CBlockTableData();
    ClearStoredIdbRows();
    LoadIdbSwitches();
    {
        ui::Frame frame;
        frame.SetWindowText("Quorvex Setup Software - Untitled");
        ui::Splitter& s = frame.GetSplitter();
        s.CreateStatic(3, 2);
        for (int r = 0; r < 3; ++r) s.CreateView(r, 0, std::make_unique<ui::View>());
        ui::View* block = s.CreateView(0, 1, std::make_unique<BlockPane>());
        auto* p1 = static_cast<DBViewClass1*>(s.CreateView(1, 1, std::make_unique<DBViewClass1>()));
        auto* p2 = static_cast<DBViewClass2*>(s.CreateView(2, 1, std::make_unique<DBViewClass2>()));
        p1->OnInitialUpdate();
        p2->OnInitialUpdate();
        s.SetColumnInfo(0, 0, 0);
        s.SetColumnInfo(1, 200, 10);
        s.SetRowInfo(0, 180, 10);
        s.SetRowInfo(1, 170, 10);
        frame.SetActiveView(block);
        frame.Create();

        QMainWindow* win = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* mw = qobject_cast<QMainWindow*>(w); mw && mw->isVisible()) win = mw;  // not one on its way out
        ASSERT_NE(win, nullptr);
        win->resize(900, 560);
        QApplication::processEvents();
        QTest::qWait(50);

        // Both panes empty: their headers and the green text below.
        ASSERT_TRUE(backend.GrabFrame(frame, Shot("idb_panes_empty.png")));
        const QImage empty(QString::fromStdString(Shot("idb_panes_empty.png")));
        ASSERT_FALSE(empty.isNull());
        bool green = false;
        for (int y = 0; y < empty.height() && !green; ++y)
            for (int x = 0; x < empty.width() && !green; ++x)
                green = empty.pixelColor(x, y) == QColor(100, 200, 0);
        EXPECT_TRUE(green) << "the empty-list text is not on screen";
        // The heading row of an empty pane shows whole: no sideways bar takes its room.
        for (QTableWidget* t : win->findChildren<QTableWidget*>())
            if (t->isVisible() && t->rowCount() == 0)
                EXPECT_FALSE(t->horizontalScrollBar()->isVisible());

        BuildIdbImage({Block("10", "1", "H0001", "2", "N007:000"), Block("10", "1", "H0011", "2", "N007:010"),
                       Block("16", "3", "C0001", "2", "N007:040"), Block("4", "4", "R0100", "5", "F008:002")});
        QApplication::processEvents();
        QTest::qWait(50);
        ASSERT_TRUE(backend.GrabFrame(frame, Shot("idb_panes_filled.png")));

        auto tables = win->findChildren<QTableWidget*>();
        tables.erase(std::remove_if(tables.begin(), tables.end(), [](QTableWidget* w) { return !w->isVisible(); }),
                     tables.end());
        ASSERT_EQ(tables.size(), 2);
        std::sort(tables.begin(), tables.end(), [win](QTableWidget* a, QTableWidget* b) {
            return a->mapTo(win, QPoint(0, 0)).y() < b->mapTo(win, QPoint(0, 0)).y();
        });
        QTableWidget* com1 = tables[0];
        QTableWidget* com2 = tables[1];
        testsupport::ExpectHeadingsFit(com1);
        testsupport::ExpectHeadingsFit(com2);
        ASSERT_EQ(com1->rowCount(), 3);
        EXPECT_EQ(com1->horizontalHeaderItem(0)->text(), QString("IDB FOR COM1"));
        EXPECT_EQ(com1->item(0, 2)->text(), QString("H0001"));
        EXPECT_EQ(com2->horizontalHeaderItem(0)->text(), QString("IDB FOR COM2"));

        // A DataType cell: a choice list over the cell; a choice is stored when it is left.
        QTest::mouseClick(com1->viewport(), Qt::LeftButton, {}, CellCenter(com1, 0, 3));
        QApplication::processEvents();
        auto* combo = Visible<QComboBox>(win);
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->count(), 4);
        EXPECT_EQ(combo->currentText(), QString("Word"));
        const QRect cell = com1->visualRect(com1->model()->index(0, 3));
        const QPoint cellInPane = com1->viewport()->mapTo(combo->parentWidget(), cell.topLeft());
        EXPECT_LE(std::abs(combo->geometry().left() - cellInPane.x()), 3);
        EXPECT_LE(std::abs(combo->geometry().top() - cellInPane.y()), 3);
        QTest::keyClick(combo, Qt::Key_Down);
        QTest::keyClick(combo, Qt::Key_Down);
        QApplication::processEvents();
        EXPECT_EQ(combo->currentText(), QString("Float"));
        ASSERT_TRUE(backend.GrabFrame(frame, Shot("idb_panes_combo.png")));
        QTest::mouseClick(com1->viewport(), Qt::LeftButton, {}, CellCenter(com1, 1, 1));
        QApplication::processEvents();
        EXPECT_EQ(p1->List().GetItemText(0, 3), "Float");
        EXPECT_EQ(com1->item(0, 3)->text(), QString("Float"));
        EXPECT_EQ(Visible<QComboBox>(win), nullptr);
        EXPECT_EQ(g_bIdb1Edited, 1);

        // A Fail Value cell: an edit that keeps digits only and stores on Enter.
        QTest::mouseClick(com2->viewport(), Qt::LeftButton, {}, CellCenter(com2, 1, 8));
        QApplication::processEvents();
        auto* edit = Visible<QLineEdit>(win);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), QString("65535"));
        QTest::keyClicks(edit, "1.2-3");
        QApplication::processEvents();
        EXPECT_EQ(edit->text(), QString("123"));
        ASSERT_TRUE(backend.GrabFrame(frame, Shot("idb_panes_edit.png")));
        QTest::keyClick(edit, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(p2->List().GetItemText(1, 8), "123");
        EXPECT_EQ(com2->item(1, 8)->text(), QString("123"));
        EXPECT_EQ(g_bIdb2Edited, 1);
        EXPECT_EQ(g_bIdb1Edited, 0);

        // A choice list left open in one pane is stored by a click in the other.
        QTest::mouseClick(com1->viewport(), Qt::LeftButton, {}, CellCenter(com1, 2, 7));
        QApplication::processEvents();
        combo = Visible<QComboBox>(win);
        ASSERT_NE(combo, nullptr);
        QTest::keyClick(combo, Qt::Key_Up);
        QTest::mouseClick(com2->viewport(), Qt::LeftButton, {}, CellCenter(com2, 0, 1));
        QApplication::processEvents();
        EXPECT_EQ(Visible<QComboBox>(win), nullptr);
        EXPECT_EQ(p1->List().GetItemText(2, 7), "Yes");
        EXPECT_EQ(com1->item(2, 7)->text(), QString("Yes"));

        // The image of COM2 has the new fail value.
        std::string bytes;
        ASSERT_TRUE(platform::ReadFileBytes(WorkingIdbPath("QVX-S7", 2), bytes));
        ASSERT_GE(bytes.size(), 2 * 19u);
        EXPECT_EQ(static_cast<unsigned char>(bytes[19 + 17]), 123);
        EXPECT_TRUE(messages.empty());

        // The project goes: the panes still standing show none of its rows.
        ResetOpenProject();
        QApplication::processEvents();
        EXPECT_EQ(com1->rowCount(), 0);
        EXPECT_EQ(com2->rowCount(), 0);
        frame.DestroyWindow();
    }
    QApplication::processEvents();
    ResetDefCommRegisters();
    g_szProductName.clear();
    g_bProjectModified = 0;
    t.ResetProject();
    ui::SetBackend(nullptr);
}

}  // namespace
