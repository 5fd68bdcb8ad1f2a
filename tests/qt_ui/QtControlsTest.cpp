// Lists, trees, in-place editors, property sheets and modeless windows as Qt widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "qt/QtBackend.h"
#include "ui/PropertySheet.h"

namespace {

using namespace ui;

constexpr int IDC_GRID = 300, IDC_TREE = 301, IDC_CELL_EDIT = 3;

DialogTemplate GridTemplate() {
    DialogTemplate t;
    t.id = 9400;
    t.caption = "Grid";
    t.cx = 300;
    t.cy = 190;
    t.controls = {
        {ControlKind::ListView, IDC_GRID, "", 7, 7, 190, 100, style::kGridLines | style::kTabStop},
        {ControlKind::Tree, IDC_TREE, "", 205, 7, 88, 100, style::kTabStop},
        {ControlKind::DefButton, IDOK, "OK", 190, 170, 50, 14, style::kTabStop},
        {ControlKind::Button, IDCANCEL, "Cancel", 243, 170, 50, 14, style::kTabStop},
    };
    return t;
}

// A grid whose cells are edited in place: a click opens an edit over the cell; Enter
// or the focus leaving it writes the text back; Escape puts the old text back.
class GridDlg : public Dialog {
public:
    GridDlg() : Dialog(GridTemplate()) {}
    std::vector<std::string> log;
    int row = -1, col = -1;

    const HandlerTable* GetHandlerTable() const override {
        static const HandlerTable t(Dialog::GetHandlerTable(), {
            On(Notify::Clicked, IDC_GRID, &GridDlg::OnClickGrid),
            On(Notify::KillFocus, IDC_CELL_EDIT, &GridDlg::OnKillFocusEdit),
            On(Notify::KeyDown, IDC_CELL_EDIT, &GridDlg::OnEditKey),
            On(Notify::SelChange, IDC_TREE, &GridDlg::OnTreeSel),
        });
        return &t;
    }
    bool OnInitDialog() override {
        auto& grid = Item<ListView>(IDC_GRID);
        grid.InsertColumn(0, "Block No.", LVCFMT_LEFT, 70);
        grid.InsertColumn(1, "Comment", LVCFMT_LEFT, 120);
        for (int r = 0; r < 3; ++r) {
            grid.InsertItem(r, std::to_string(r + 1));
            grid.SetItemText(r, 1, "c" + std::to_string(r + 1));
        }
        auto& tree = Item<TreeView>(IDC_TREE);
        const HTREEITEM root = tree.InsertItem("Product Selection");
        tree.SetItemToolTip(tree.InsertItem("QVX-S7", root), "Two serial ports");
        tree.InsertItem("QVX-S8", root);
        tree.Expand(root, true);
        return true;
    }
    void OnClickGrid(const Event& e) {
        if (e.row < 0 || e.col != 1) return;
        auto& grid = Item<ListView>(IDC_GRID);
        row = e.row;
        col = e.col;
        Control& edit = AddControl(ControlKind::Edit, IDC_CELL_EDIT, grid.GetItemText(row, col),
                                   ControlToWindow(grid, grid.GetSubItemRect(row, col)));
        edit.LimitText(100);
        edit.SetSel(0, -1);
        edit.SetFocus();
        log.push_back("open");
    }
    void OnKillFocusEdit() {
        Control* edit = GetDlgItem(IDC_CELL_EDIT);
        if (!edit) return;
        Item<ListView>(IDC_GRID).SetItemText(row, col, edit->GetWindowText());
        log.push_back("store:" + edit->GetWindowText());
        RemoveControl(IDC_CELL_EDIT);
    }
    // Enter removes the edit, which runs its kill-focus handling; Escape first puts the
    // cell's text back into it.
    void OnEditKey(const Event& e) {
        if (e.key == VK_ESCAPE)
            SetDlgItemText(IDC_CELL_EDIT, Item<ListView>(IDC_GRID).GetItemText(row, col));
        if (e.key == VK_ESCAPE || e.key == VK_RETURN) RemoveControl(IDC_CELL_EDIT);
    }
    void OnTreeSel(const Event& e) { log.push_back("tree:" + Item<TreeView>(IDC_TREE).GetItemText(e.item)); }
};

// The in-place edit on screen (one going away may still exist, hidden).
QLineEdit* VisibleEdit(QWidget* top) {
    for (QLineEdit* e : top->findChildren<QLineEdit*>())
        if (e->isVisible()) return e;
    return nullptr;
}

QPoint CellCenter(QTableWidget* t, int row, int col) {
    return t->visualRect(t->model()->index(row, col)).center();
}

TEST(QtControls, CellsAreEditedInPlaceAndTreesReportOnlyUserChoices) {
    qtbind::QtBackend backend;
    SetBackend(&backend);
    GridDlg dlg;
    backend.SetShownHook([&](Dialog& d) {
        QWidget* top = QApplication::activeModalWidget();
        auto* table = top->findChild<QTableWidget*>();
        auto* tree = top->findChild<QTreeWidget*>();
        ASSERT_TRUE(table && tree);
        EXPECT_EQ(table->horizontalHeaderItem(0)->text(), QString("Block No."));
        EXPECT_EQ(table->item(2, 1)->text(), QString("c3"));
        // Check boxes of the rows belong to the model.
        d.Item<ListView>(IDC_GRID).ModifyStyle(0, style::kCheckBoxes);
        d.Item<ListView>(IDC_GRID).SetRowCheck(0, true);
        EXPECT_EQ(table->item(0, 0)->checkState(), Qt::Checked);
        table->item(2, 0)->setCheckState(Qt::Checked);  // as a click on the box does
        EXPECT_TRUE(d.Item<ListView>(IDC_GRID).GetRowCheck(2));
        // Taking the focus does not choose a tree item.
        tree->setFocus();
        QApplication::processEvents();
        EXPECT_TRUE(dlg.log.empty());

        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, CellCenter(table, 1, 1));
        ASSERT_EQ(dlg.log, std::vector<std::string>{"open"});
        auto* edit = VisibleEdit(top);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), QString("c2"));
        // The edit lies over the cell.
        const QRect cell = table->visualRect(table->model()->index(1, 1));
        const QPoint cellInDialog = table->viewport()->mapTo(top, cell.topLeft());
        EXPECT_LE(std::abs(edit->geometry().top() - cellInDialog.y()), 3);
        EXPECT_LE(std::abs(edit->geometry().left() - cellInDialog.x()), 3);
        QTest::keyClicks(edit, "new text");
        QTest::keyClick(edit, Qt::Key_Return);  // the cell's key handling, not the OK button
        EXPECT_FALSE(d.IsEnded());
        EXPECT_EQ(d.Item<ListView>(IDC_GRID).GetItemText(1, 1), "new text");
        QApplication::processEvents();
        EXPECT_EQ(VisibleEdit(top), nullptr);
        EXPECT_EQ(table->item(1, 1)->text(), QString("new text"));

        // Focus moving to another control stores the text too.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, CellCenter(table, 0, 1));
        edit = VisibleEdit(top);
        ASSERT_NE(edit, nullptr);
        QTest::keyClicks(edit, "x");
        const QRect item = tree->visualItemRect(tree->topLevelItem(0)->child(1));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, item.center());
        EXPECT_EQ(d.Item<ListView>(IDC_GRID).GetItemText(0, 1), "x");
        EXPECT_EQ(d.Item<TreeView>(IDC_TREE).GetItemText(d.Item<TreeView>(IDC_TREE).GetSelectedItem()), "QVX-S8");
        EXPECT_EQ(tree->topLevelItem(0)->child(0)->toolTip(0), QString("Two serial ports"));

        // Rows chosen with the keyboard are the model's selection.
        table->setFocus();
        table->setCurrentCell(0, 0);
        QTest::keyClick(table, Qt::Key_Down);
        EXPECT_TRUE(d.Item<ListView>(IDC_GRID).IsItemSelected(1));
        EXPECT_EQ(d.Item<ListView>(IDC_GRID).GetSelectionMark(), 1);

        // Escape in the edit puts the old text back and leaves the dialog open.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, CellCenter(table, 2, 1));
        edit = VisibleEdit(top);
        ASSERT_NE(edit, nullptr);
        QTest::keyClicks(edit, "dropped");
        QTest::keyClick(edit, Qt::Key_Escape);
        EXPECT_FALSE(d.IsEnded());
        EXPECT_EQ(d.Item<ListView>(IDC_GRID).GetItemText(2, 1), "c3");
        d.UserClickButton(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"open", "store:new text", "open", "store:x",
                                                 "tree:QVX-S8", "open", "store:c3"}));
    SetBackend(nullptr);
}

class Page : public PropertyPage {
public:
    Page(int id, const std::string& caption) : PropertyPage(0, caption) {
        DialogTemplate t;
        t.id = id;
        t.caption = caption;
        t.cx = 180;
        t.cy = 80;
        t.controls = {{ControlKind::Label, 1000, "Page " + caption, 10, 10, 120, 10, 0},
                      {ControlKind::Edit, 1147, "", 10, 30, 40, 13, style::kTabStop | style::kNumber}};
        MutableTemplate() = t;
    }
    int inits = 0;
    bool OnInitDialog() override {
        ++inits;
        SetDlgItemText(1147, "5");
        return true;
    }
};

TEST(QtControls, PropertySheetShowsOnePagePerTab) {
    qtbind::QtBackend backend;
    SetBackend(&backend);
    Page general(9501, "General"), master(9502, "Master 1");
    PropertySheet sheet("Communication Setting");
    sheet.m_psh_dwFlags |= PSH_NOAPPLYNOW;
    sheet.AddPage(&general);
    sheet.AddPage(&master);
    backend.SetShownHook([&](Dialog&) {
        QWidget* top = QApplication::activeModalWidget();
        auto* bar = top->findChild<QTabBar*>();
        ASSERT_NE(bar, nullptr);
        ASSERT_EQ(bar->count(), 2);
        EXPECT_EQ(bar->tabText(1), QString("Master 1"));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        EXPECT_EQ(sheet.GetActivePage(), &master);
        EXPECT_EQ(master.inits, 1);
        int shown = 0;
        for (QLineEdit* e : top->findChildren<QLineEdit*>())
            if (e->isVisible()) ++shown;
        EXPECT_EQ(shown, 1);  // only the active page's field
        sheet.UserClose();
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    SetBackend(nullptr);
}

TEST(QtControls, ModelessWindowsShowMoveAndGo) {
    qtbind::QtBackend backend;
    SetBackend(&backend);
    DialogTemplate t;
    t.id = 158;
    t.caption = "Error Messages";
    t.cx = 186;
    t.cy = 95;
    Dialog info(t);
    ASSERT_TRUE(info.Create());
    EXPECT_FALSE(info.IsWindowVisible());
    info.ShowWindow(true);
    info.MoveWindow(Rect{10, 300, 410, 380});
    QApplication::processEvents();
    QWidget* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == "Error Messages") shown = w;
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->width(), 400);
    info.DestroyWindow();
    QApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible() && w->windowTitle() == "Error Messages");
    SetBackend(nullptr);
}

}  // namespace
