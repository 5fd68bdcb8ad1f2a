// The older block list of QVX-00 on screen (offscreen Qt): the list with rows, a cell
// edited in place through real key and mouse events, the PLC list, and the address dialog
// opened from an address button. The PNG files go to the build folder's
// tests/qt_older/screenshots for a person to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "model/RunTimeState.h"
#include "editor/BlockExView.h"
#include "plc/BlockEditorHost.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "qt/QtBackend.h"
#include "res/OlderEditorResource.h"
#include "ui/Dialog.h"

namespace {

class ViewHost : public IBlockEditorHost {
public:
    CBlockExView* view = nullptr;
    void ShowInfoText(const std::string& text) override {
        if (view) view->ShowInfoText(text);
    }
    void ShowNewInfoText(const std::string&) override {}
    std::string GetOlderBlockCellText(int row, int column) override {
        return view ? view->GetCellText(row, column) : std::string();
    }
    std::string GetNewerBlockCellText(int, int) override { return std::string(); }
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override {
        return ui::MessageBox(text, caption, flags);
    }
};

std::string Shot(const std::string& name) {
    QDir().mkpath(QUORVEX_SHOT_DIR);
    return std::string(QUORVEX_SHOT_DIR) + "/" + name;
}

QPoint CellCenter(QTableWidget* t, int row, int col) { return t->visualRect(t->model()->index(row, col)).center(); }

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

TEST(QtOlderScreens, BlockListCellEditorsAndAddressDialog) {
    testsupport::SampleTree tree;
    qtbind::QtBackend backend;
    ui::SetBackend(&backend);
    ViewHost host;
    SetBlockEditorHost(&host);

    // Configure Project of QVX-00: Modbus RTU Master on COM1, DF1 Full Duplex on COM2.
    g_szProductName = g_szProductPath = g_szProductNameCopy = "QVX-00";
    g_nDeviceId = g_nDeviceIdAlt = 80;
    g_bBlockExUntitled = 1;
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.ResetProject();
    t.g_strPlc1Inf = deffiles::PlcDefinitionFile("QVX-00", "101");
    t.g_strPlc1Section = "Standard";
    t.g_strPlc2Inf = deffiles::PlcDefinitionFile("QVX-00", "102");
    t.g_strPlc2Section = "Series 5";
    t.LoadPlcFileCom1();
    t.LoadPlcFileCom2();
    t.g_nBlockWordLimit = std::min(t.g_nPlc1NoOfWord, t.g_nPlc2NoOfWord);
    {
        ui::Frame frame;
        frame.SetWindowText("Untitled - Quorvex - QVX-00");
        ui::Splitter& s = frame.GetSplitter();
        s.CreateStatic(3, 2);
        s.SetColumnInfo(0, 0, 0);
        s.SetRowInfo(0, 420, 10);
        s.SetRowInfo(1, 100, 10);
        s.CreateView(0, 0, std::make_unique<ui::View>());
        auto* view = static_cast<CBlockExView*>(s.CreateView(0, 1, std::make_unique<CBlockExView>()));
        host.view = view;
        frame.SetActiveView(view);
        view->OnInitialUpdate();
        const char* rows[][10] = {
            {nullptr, "10", "Modbus RTU Master", "1", "H0001", "DF1 Full Duplex", "2", "N007:000", "5", "Tank levels"},
            {nullptr, "4", "DF1 Full Duplex", "2", "N010:004", "Modbus RTU Master", "1", "H0100", "1", "Valve states"},
        };
        for (const auto& row : rows) {
            view->AddDefaultRow();
            for (int c = 1; c < kOlderBlockColumns; ++c) view->SetCellText(view->m_nBlockCount - 1, c, row[c]);
        }
        frame.Create();

        QMainWindow* win = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* mw = qobject_cast<QMainWindow*>(w); mw && mw->isVisible()) win = mw;  // not one on its way out
        ASSERT_NE(win, nullptr);
        win->resize(1150, 650);
        Settle();
        auto* table = win->findChild<QTableWidget*>();
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->rowCount(), 3);
        EXPECT_EQ(table->horizontalHeaderItem(7)->text(), QString("Destination Address"));
        testsupport::ExpectHeadingsFit(table);
        ASSERT_TRUE(backend.GrabFrame(frame, Shot("older-list.png")));

        // A click on the destination address of block 1: an edit over the cell, the
        // address buttons on the row.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, CellCenter(table, 0, kOlderColSourcePlc));
        Settle();
        auto* combo = win->findChild<QComboBox*>();
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->count(), 2);
        ASSERT_TRUE(backend.GrabFrame(frame, Shot("older-plc-list.png")));
        QTest::keyClick(combo, Qt::Key_Escape);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, CellCenter(table, 0, kOlderColDestAddr));
        Settle();
        QLineEdit* edit = VisibleEdit(win);
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, "n7.2");
        Settle();
        EXPECT_EQ(edit->text(), QString("N72"));  // capitals; the dot never reaches the cell
        ASSERT_TRUE(backend.GrabFrame(frame, Shot("older-cell-editor.png")));
        QTest::keyClick(edit, Qt::Key_Escape);
        Settle();
        EXPECT_EQ(view->GetCellText(0, kOlderColDestAddr), " ");

        // The destination address button opens the address dialog on the DF1 tables.
        QPushButton* button = nullptr;
        for (QPushButton* b : win->findChildren<QPushButton*>())
            if (b->isVisible() && b->toolTip() == QString("Set Address from Table")) button = b;  // the last: destination
        ASSERT_NE(button, nullptr);
        view->SetCellText(0, kOlderColDestPlc, "DF1 Full Duplex");
        bool shown = false;
        backend.SetShownHook([&](ui::Dialog& d) {
            shown = true;
            EXPECT_EQ(d.GetWindowText(), "PLC2 Address");
            d.Item<ui::ListControl>(IDC_ADDRESS_REGISTER).UserSelect(6);
            d.UserClickButton(IDC_NUMBER_PART_UP);
            d.UserClickButton(IDC_COLON_PART_UP);
            ASSERT_TRUE(backend.GrabDialog(d, Shot("older-address-dialog.png")));
            d.UserClickButton(ui::IDOK);
        });
        QTest::mouseClick(button, Qt::LeftButton);
        Settle();
        EXPECT_TRUE(shown);
        EXPECT_EQ(view->GetCellText(0, kOlderColDestAddr), "N008:001");
        view->ShowInfoText("PLC not defined. Please select PLC.");
        Settle();
        ASSERT_TRUE(backend.GrabFrame(frame, Shot("older-project-level.png")));

        // Scrolled sideways, a click on the comment opens the edit over that cell, and
        // scrolling again closes it.
        win->resize(640, 650);
        Settle();
        testsupport::ExpectEditOverCellAfterSidewaysScroll(win, table, 1, kOlderBlockColumns - 1, Settle, [&] {
            EXPECT_TRUE(backend.GrabFrame(frame, Shot("older-scrolled-cell-editor.png")));
        });
        // A first click on a cell that lies partly past the list's right edge opens its
        // editor, though the list scrolls to show the cell: the comment's edit, and the
        // destination PLC's list.
        for (int col : {int(kOlderColDestPlc), int(kOlderColComment)}) {
            table->horizontalScrollBar()->setValue(0);
            Settle();
            const int right = table->viewport()->width();
            QRect cell = table->visualRect(table->model()->index(2, col));
            if (cell.left() >= right) {  // wholly past the edge: bring its left end in
                table->horizontalScrollBar()->setValue(cell.left() - right + 12);
                Settle();
                cell = table->visualRect(table->model()->index(2, col));
            }
            ASSERT_GT(cell.right(), right) << col;
            ASSERT_LT(cell.left(), right - 4) << col;
            const int scrolled = table->horizontalScrollBar()->value();
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint((cell.left() + right) / 2, cell.center().y()));
            QTest::qWait(QApplication::doubleClickInterval() + 300);  // the list's own scroll to the cell comes late
            Settle();
            EXPECT_NE(table->horizontalScrollBar()->value(), scrolled) << "the list did not scroll: column " << col;
            QWidget* editor = col == kOlderColComment ? static_cast<QWidget*>(VisibleEdit(win)) : nullptr;
            if (col == kOlderColDestPlc)
                for (QComboBox* c : win->findChildren<QComboBox*>())
                    if (c->isVisible()) editor = c;
            ASSERT_NE(editor, nullptr) << "no editor after the first click on column " << col;
            const QRect now = table->visualRect(table->model()->index(2, col));
            EXPECT_LE(std::abs(editor->mapTo(win, QPoint(0, 0)).x() - table->viewport()->mapTo(win, now.topLeft()).x()), 3);
            if (col == kOlderColComment) EXPECT_EQ(static_cast<QLineEdit*>(editor)->text(), QString("Valve states"));
            QTest::keyClick(editor, Qt::Key_Escape);
            Settle();
        }
        ASSERT_TRUE(backend.GrabDialog(*view->GetInfoWnd(), Shot("older-info-window.png")));
        backend.SetShownHook(nullptr);
        host.view = nullptr;
        frame.DestroyWindow();
        Settle();
    }
    for (const char* name : {"older-list.png", "older-plc-list.png", "older-cell-editor.png",
                             "older-address-dialog.png", "older-project-level.png",
                             "older-scrolled-cell-editor.png"})
        EXPECT_FALSE(QImage(QString::fromStdString(Shot(name))).isNull()) << name;
    SetBlockEditorHost(nullptr);
    t.ResetProject();
    ui::SetBackend(nullptr);
}

}  // namespace
