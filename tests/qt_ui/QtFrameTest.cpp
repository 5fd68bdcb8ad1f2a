// The main window model as a QMainWindow: menus, toolbars, status bar, pane views.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTest>
#include <QTreeWidget>
#include <QLabel>

#include "qt/QtBackend.h"
#include "ui/Frame.h"

namespace {

using namespace ui;

constexpr int ID_OPEN = 32777, ID_CONFIGURE = 32798, ID_EXIT = 57665;

class TreeView2 : public View {
public:
    void OnInitialUpdate() override {
        auto& tree = static_cast<TreeView&>(AddControl(ControlKind::Tree, 4101, "", Rect{0, 0, 300, 350}));
        const HTREEITEM root = tree.InsertItem("Product Selection");
        tree.InsertItem("QVX-S7", root);
        tree.Expand(root, true);
    }
};

class Summary : public View {
public:
    void OnDraw(Painter& p) override {
        p.DrawText(20, 360, "SELECTED PROTOCOL", 0xFF0000);
        p.DrawText(20, 380, "PLC Name :", 0);
    }
};

class Main : public Frame {
public:
    int opens = 0, configures = 0;
    bool canConfigure = false;
    void OnOpen() { ++opens; }
    void OnConfigure() { ++configures; }
    void OnUpdateConfigure(CmdUI& ui) { ui.Enable(canConfigure); }
    const HandlerTable* GetHandlerTable() const override {
        static const HandlerTable t(Frame::GetHandlerTable(), {
            On(Notify::Command, ID_OPEN, &Main::OnOpen),
            On(Notify::Command, ID_CONFIGURE, &Main::OnConfigure),
            On(Notify::UpdateUI, ID_CONFIGURE, &Main::OnUpdateConfigure),
        });
        return &t;
    }
};

std::shared_ptr<Bitmap> Strip() {
    auto b = std::make_shared<Bitmap>();
    b->width = 22 * 3;
    b->height = 20;
    b->pixels.assign(size_t(b->width * b->height), 0xFFFF00FF);  // magenta: transparent
    for (int y = 4; y < 16; ++y)
        for (int x = 0; x < b->width; ++x)
            if (x % 22 > 4 && x % 22 < 17) b->pixels[size_t(y * b->width + x)] = 0xFF2060A0;
    return b;
}

TEST(QtFrame, MainWindowFollowsItsModel) {
    qtbind::QtBackend backend;
    SetBackend(&backend);
    {
        Main frame;
        frame.SetWindowText("Quorvex - QVX-S7");
        auto file = std::make_shared<Menu>();
        file->AppendMenu(MF_STRING, ID_OPEN, "&Open Project");
        file->AppendMenu(MF_SEPARATOR);
        file->AppendMenu(MF_STRING, ID_EXIT, "E&xit");
        auto bar = std::make_shared<Menu>();
        bar->AppendPopup("&File", file);
        frame.SetMenu(bar);
        ToolBar& tb = frame.AddToolBar(59392);
        tb.SetBitmaps(Strip(), Strip(), 22, 0xFF00FF);
        tb.SetSizes(67, 41, 30, 20);
        tb.SetButtons(3);
        tb.SetButtonInfo(0, ID_OPEN, TBBS_BUTTON, 1);
        tb.SetButtonText(0, "Open Project");
        tb.SetButtonInfo(1, 0, TBBS_SEPARATOR, 9);
        tb.SetButtonInfo(2, ID_CONFIGURE, TBBS_BUTTON, 2);
        tb.SetButtonText(2, "Configure Project");
        frame.GetStatusBar().SetPaneText(0, "Ready");
        frame.GetSplitter().CreateStatic(3, 2);
        frame.GetSplitter().SetColumnInfo(0, 400, 10);
        frame.GetSplitter().SetRowInfo(0, 420, 10);
        frame.GetSplitter().SetRowInfo(1, 0, 0);
        View* v = frame.GetSplitter().CreateView(0, 0, std::make_unique<TreeView2>());
        frame.GetSplitter().CreateView(0, 1, std::make_unique<Summary>());
        frame.SetActiveView(v);
        v->OnInitialUpdate();
        frame.Create();

        QMainWindow* win = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* mw = qobject_cast<QMainWindow*>(w); mw && mw->isVisible()) win = mw;  // not one on its way out
        ASSERT_NE(win, nullptr);
        win->resize(900, 600);
        QApplication::processEvents();
        EXPECT_EQ(win->windowTitle(), QString("Quorvex - QVX-S7"));
        ASSERT_EQ(win->menuBar()->actions().size(), 1);
        EXPECT_EQ(win->menuBar()->actions()[0]->text(), QString("&File"));
        EXPECT_EQ(win->statusBar()->findChild<QLabel*>()->text(), QString("Ready"));
        auto* qtb = win->findChild<QToolBar*>();
        ASSERT_NE(qtb, nullptr);
        QList<QAction*> buttons;
        for (QAction* a : qtb->actions())
            if (!a->isSeparator()) buttons << a;
        ASSERT_EQ(buttons.size(), 2);
        EXPECT_FALSE(buttons[1]->isEnabled());  // the update handler disables it
        buttons[0]->trigger();
        EXPECT_EQ(frame.opens, 1);
        frame.canConfigure = true;
        static_cast<void>(frame.QueryCommand(ID_CONFIGURE));
        QTest::qWait(300);  // the idle update
        EXPECT_TRUE(buttons[1]->isEnabled());
        EXPECT_NE(win->findChild<QTreeWidget*>(), nullptr);

        // The first menu entry changes at run time.
        frame.GetMenu()->GetSubMenu(0)->RemoveMenu(0, MF_BYPOSITION);
        frame.GetMenu()->GetSubMenu(0)->InsertMenu(0, MF_BYPOSITION, ID_CONFIGURE, "&Configure Project");
        frame.DrawMenuBar();
        QMenu* fileMenu = win->menuBar()->actions()[0]->menu();
        ASSERT_NE(fileMenu, nullptr);
        EXPECT_EQ(fileMenu->actions()[0]->text(), QString("&Configure Project"));

        QDir().mkpath(QUORVEX_SHOT_DIR);
        const std::string shot = std::string(QUORVEX_SHOT_DIR) + "/frame.png";
        ASSERT_TRUE(backend.GrabFrame(frame, shot));
        EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());

        // A pane's view replaced: the tree goes with its view.
        frame.GetSplitter().CreateView(0, 0, std::make_unique<Summary>());
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(win->findChild<QTreeWidget*>(), nullptr);
    }
    QApplication::processEvents();
    SetBackend(nullptr);
}

}  // namespace
