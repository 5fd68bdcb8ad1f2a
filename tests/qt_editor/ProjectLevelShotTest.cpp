// The project level of the main window on screen (offscreen Qt): a QVX-S7 project with a
// few blocks added through the block commands and both internal-database panes derived
// from them, saved as a screenshot for a person to look at.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMainWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "TestSupport.h"
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "model/RunTimeState.h"
#include "editor/NewBlockExView.h"
#include "plc/PlcRegisterTables.h"
#include "qt/QtBackend.h"
#include "res/FrameResource.h"
#include "tables/DBViewClass1.h"
#include "tables/DBViewClass2.h"

namespace {

ui::HTREEITEM FindItem(ui::TreeView& t, const std::string& text, ui::HTREEITEM parent = ui::TVI_ROOT) {
    for (ui::HTREEITEM item : t.GetChildren(parent)) {
        if (t.GetItemText(item) == text) return item;
        if (ui::HTREEITEM inner = FindItem(t, text, item)) return inner;
    }
    return 0;
}

void Settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST(QtEditorScreens, ProjectLevelWithBlocksAndBothDatabasePanes) {
    testsupport::SampleTree tree;
    qtbind::QtBackend backend;
    backend.SetAutoClose(true);  // the splash closes by itself
    ui::SetBackend(&backend);
    const std::string dir = QUORVEX_SHOT_DIR;
    QDir().mkpath(QString::fromStdString(dir));
    {
        CMainFrame frame;
        ASSERT_TRUE(frame.LoadFrame());
        for (int i = 0; i < 100 && g_nStartScreen != 1; ++i) QTest::qWait(50);
        ASSERT_EQ(g_nStartScreen, 1);
        QMainWindow* win = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* mw = qobject_cast<QMainWindow*>(w); mw && mw->isVisible()) win = mw;  // not one on its way out
        ASSERT_NE(win, nullptr);
        win->showNormal();
        win->resize(1280, 760);
        Settle();

        auto* products = dynamic_cast<CInputView2*>(frame.GetSplitter().GetPane(0, 0));
        ASSERT_NE(products, nullptr);
        ASSERT_TRUE(products->Tree()->UserSelect(FindItem(*products->Tree(), "QVX-S7")));
        auto* com1 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 0));
        auto* com2 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 1));
        ASSERT_NE(com1, nullptr);
        ASSERT_NE(com2, nullptr);
        ASSERT_TRUE(com1->Tree()->UserSelect(FindItem(*com1->Tree(), "Modbus RTU Master")));
        ASSERT_TRUE(com2->Tree()->UserSelect(FindItem(*com2->Tree(), "DF1 Full Duplex")));
        ASSERT_TRUE(frame.UserCommand(ID_CONFIGURE_PROJECT));
        Settle();
        CNewBlockExView* view = g_pNewBlockExView;
        ASSERT_NE(view, nullptr);

        // Four blocks, each added with Add New Block once the one before is complete.
        const char* blocks[][5] = {{"10", "H0001", "N007:000", "Tank levels"},
                                   {"10", "H0011", "N007:010", "Pump speeds"},
                                   {"16", "H0031", "N007:040", "Valve states"},
                                   {"4", "H0500", "N010:000", "Alarms"}};
        for (int r = 0; r < 4; ++r) {
            if (r > 0) {
                ASSERT_TRUE(frame.UserCommand(ID_ADD_NEW_BLOCK));
            }
            const std::string cells[] = {"", blocks[r][0], "Modbus RTU Master", "1", blocks[r][1], "DF1 Full Duplex",
                                         "2", blocks[r][2], "5", "", blocks[r][3]};
            for (int c = 1; c < kBlockListColumns; ++c)
                if (c != kColControlBit) view->SetCellText(r, c, cells[c]);
        }
        ASSERT_EQ(view->m_nBlockCount, 4) << view->GetInfoText();
        // The panes as a save derives them.
        view->BuildIdbImage();
        Settle();
        ASSERT_NE(g_pDBView1, nullptr);
        EXPECT_FALSE(g_pDBView1->GetRows().empty());
        EXPECT_FALSE(g_pDBView2->GetRows().empty());
        int tables = 0;
        for (QTableWidget* t : win->findChildren<QTableWidget*>())
            if (t->isVisible() && t->rowCount() > 0) ++tables;
        EXPECT_EQ(tables, 3);  // the block list and both panes show rows
        // The Set Address buttons stand over the address cells of the block just added.
        QTableWidget* list = nullptr;
        for (QTableWidget* t : win->findChildren<QTableWidget*>())
            if (t->isVisible() && t->columnCount() == kBlockListColumns) list = t;
        ASSERT_NE(list, nullptr);
        const QRect cell = list->viewport()->rect().intersected(list->visualRect(list->model()->index(3, kColSourceAddr)));
        const QPoint cellCenter = list->viewport()->mapTo(win, cell.center());
        int placed = 0;
        for (QPushButton* b : win->findChildren<QPushButton*>()) {
            if (!b->isVisible() || b->toolTip() != QString("Set Address from Table")) continue;
            const QRect at(b->mapTo(win, QPoint(0, 0)), b->size());
            EXPECT_LE(std::abs(at.center().y() - cellCenter.y()), 3) << "a button beside another row";
            ++placed;
        }
        EXPECT_EQ(placed, 2);
        ASSERT_TRUE(backend.GrabFrame(frame, dir + "/project-level-blocks.png"));
        frame.DestroyWindow();
        Settle();
    }
    EXPECT_FALSE(QImage(QString::fromStdString(dir + "/project-level-blocks.png")).isNull());
    g_PlcRegisterTables.ResetProject();
    ui::SetBackend(nullptr);
}

}  // namespace
