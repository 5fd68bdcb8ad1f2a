// The main window's model: menus rebuilt at run time, command routing with update
// handlers, the static splitter whose pane views come and go, toolbars, status bar.
#include <gtest/gtest.h>

#include "HeadlessUi.h"
#include "ui/Frame.h"

namespace {

using namespace ui;

constexpr int ID_OPEN = 32777, ID_CONFIGURE = 32798, ID_SAVE = 32774, ID_ABOUT = 57664;

TEST(Menu, ItemsAreRebuiltAtRunTime) {
    auto popup = std::make_shared<Menu>();
    popup->AppendMenu(MF_STRING, ID_OPEN, "&Open Project");
    popup->AppendMenu(MF_SEPARATOR);
    popup->AppendMenu(MF_STRING, 57665, "E&xit");
    Menu bar;
    bar.AppendPopup("&File", popup);
    Menu* file = bar.GetSubMenu(0);
    ASSERT_EQ(file, popup.get());
    // The first entry is replaced when the level changes.
    file->RemoveMenu(0, MF_BYPOSITION);
    file->InsertMenu(0, MF_BYPOSITION | MF_STRING, ID_CONFIGURE, "&Configure Project");
    EXPECT_EQ(file->GetMenuItemID(0), ID_CONFIGURE);
    EXPECT_EQ(file->GetMenuString(0, MF_BYPOSITION), "&Configure Project");
    EXPECT_EQ(file->GetMenuItemID(1), 0);  // the separator
    EXPECT_EQ(bar.GetMenuItemID(0), -1);   // a popup
    // Commands are found through the popups.
    EXPECT_EQ(bar.CheckMenuItem(57665, MF_BYCOMMAND | MF_CHECKED), 0u);
    EXPECT_EQ(bar.GetMenuState(57665, MF_BYCOMMAND), unsigned(MF_CHECKED));
    EXPECT_EQ(bar.EnableMenuItem(ID_CONFIGURE, MF_BYCOMMAND | MF_GRAYED), 0u);
    EXPECT_EQ(bar.GetMenuState(ID_OPEN, MF_BYCOMMAND), kMenuError);
    EXPECT_TRUE(bar.RemoveMenu(57665, MF_BYCOMMAND));
    EXPECT_EQ(file->GetMenuItemCount(), 2);
}

class Pane : public View {
public:
    explicit Pane(std::vector<std::string>& log, std::string name) : m_log(log), m_name(std::move(name)) {}
    ~Pane() override { m_log.push_back("delete " + m_name); }
    void OnInitialUpdate() override { m_log.push_back("init " + m_name); }
    void OnSize(int cx, int cy) override {
        m_log.push_back("size " + m_name + " " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    int saves = 0;
    void OnSave() { ++saves; }
    void OnUpdateSave(CmdUI& ui) { ui.Enable(enableSave); }
    bool enableSave = true;
    const HandlerTable* GetHandlerTable() const override {
        static const HandlerTable t(View::GetHandlerTable(), {
            On(Notify::Command, ID_SAVE, &Pane::OnSave),
            On(Notify::UpdateUI, ID_SAVE, &Pane::OnUpdateSave),
        });
        return &t;
    }

private:
    std::vector<std::string>& m_log;
    std::string m_name;
};

class MainFrame : public Frame {
public:
    int opens = 0, saves = 0;
    void OnOpen() { ++opens; }
    void OnSave() { ++saves; }
    const HandlerTable* GetHandlerTable() const override {
        static const HandlerTable t(Frame::GetHandlerTable(), {
            On(Notify::Command, ID_OPEN, &MainFrame::OnOpen),
            On(Notify::Command, ID_SAVE, &MainFrame::OnSave),
        });
        return &t;
    }
};

struct App : CmdTarget {
    int abouts = 0;
    void OnAbout() { ++abouts; }
    const HandlerTable* GetHandlerTable() const override {
        static const HandlerTable t(CmdTarget::GetHandlerTable(), {On(Notify::Command, ID_ABOUT, &App::OnAbout)});
        return &t;
    }
};

TEST(Frame, CommandsGoToTheActiveViewThenTheFrameThenTheApplication) {
    testsupport::HeadlessUi ui;
    std::vector<std::string> log;
    MainFrame frame;
    App app;
    frame.SetApplication(&app);
    frame.Create();
    frame.GetSplitter().CreateStatic(3, 2);
    Pane* view = static_cast<Pane*>(
        frame.GetSplitter().CreateView(0, 1, std::make_unique<Pane>(log, "editor")));
    frame.SetActiveView(view);
    EXPECT_TRUE(frame.UserCommand(ID_SAVE));
    EXPECT_EQ(view->saves, 1);
    EXPECT_EQ(frame.saves, 0);
    EXPECT_TRUE(frame.UserCommand(ID_OPEN));
    EXPECT_EQ(frame.opens, 1);
    EXPECT_TRUE(frame.UserCommand(ID_ABOUT));
    EXPECT_EQ(app.abouts, 1);
    EXPECT_FALSE(frame.UserCommand(12345));
    // An update handler that disables the command stops the user's command.
    view->enableSave = false;
    EXPECT_FALSE(frame.QueryCommand(ID_SAVE).IsEnabled());
    EXPECT_FALSE(frame.UserCommand(ID_SAVE));
    EXPECT_EQ(view->saves, 1);
    // So does a greyed menu item.
    auto menu = std::make_shared<Menu>();
    menu->AppendMenu(MF_STRING | MF_GRAYED, ID_OPEN, "&Open Project");
    frame.SetMenu(menu);
    EXPECT_FALSE(frame.UserCommand(ID_OPEN));
    // With no active view the frame takes the command.
    frame.SetActiveView(nullptr);
    view->enableSave = true;
    frame.UserCommand(ID_SAVE);
    EXPECT_EQ(frame.saves, 1);
}

TEST(Frame, PaneViewsAreReplacedAndTheSplitterLaysThemOut) {
    testsupport::HeadlessUi ui;
    std::vector<std::string> log;
    {
        MainFrame frame;
        Splitter& sp = frame.GetSplitter();
        ASSERT_TRUE(sp.CreateStatic(3, 2));
        EXPECT_FALSE(sp.CreateStatic(1, 1));  // static: made once
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 2; ++c)
                sp.CreateView(r, c, std::make_unique<Pane>(log, std::to_string(r) + std::to_string(c)));
        View* old = sp.GetPane(0, 0);
        frame.SetActiveView(old);
        log.clear();
        View* product = sp.CreateView(0, 0, std::make_unique<Pane>(log, "products"));
        EXPECT_EQ(log, std::vector<std::string>{"delete 00"});
        EXPECT_EQ(frame.GetActiveView(), nullptr);  // the deleted view is no longer active
        frame.SetActiveView(product);
        product->OnInitialUpdate();

        log.clear();
        sp.SetColumnInfo(0, 800, 10);
        sp.SetRowInfo(0, 500, 10);
        sp.SetRowInfo(1, 5, 10);  // below its minimum: hidden
        frame.SetClientArea(1000, 700);
        EXPECT_EQ(sp.GetPaneRect(0, 0), (Rect{0, 0, 800, 500}));
        EXPECT_EQ(sp.GetPaneRect(1, 1), (Rect{800, 500, 1000, 500}));
        EXPECT_EQ(sp.GetPaneRect(2, 1), (Rect{800, 500, 1000, 700}));  // the last row takes the rest
        EXPECT_EQ(product->GetClientRect().Width(), 800);
        int ideal = 0, minimum = 0;
        sp.GetRowInfo(1, ideal, minimum);
        EXPECT_EQ(ideal, 0);
        // A column wider than the window leaves nothing for the others.
        sp.SetColumnInfo(0, 5000, 10);
        frame.RecalcLayout();
        EXPECT_EQ(sp.GetPaneRect(0, 1).Width(), 0);
        EXPECT_EQ(sp.GetPaneRect(0, 0).Width(), 1000);
        log.clear();
    }
    EXPECT_EQ(log.size(), 6u);  // every view goes with the frame
}

TEST(Frame, ToolBarsAndStatusBar) {
    testsupport::HeadlessUi ui;
    MainFrame frame;
    ToolBar& bar = frame.AddToolBar(59392);
    bar.SetButtons(7);
    bar.SetButtonInfo(0, ID_OPEN, TBBS_BUTTON, 1);
    bar.SetButtonText(0, "Open Project");
    bar.SetButtonInfo(1, 0, TBBS_SEPARATOR, 9);
    bar.SetButtonInfo(8, 0, TBBS_SEPARATOR, 1);  // past the end: the bar grows
    EXPECT_EQ(bar.GetCount(), 9);
    EXPECT_EQ(bar.CommandToIndex(ID_OPEN), 0);
    EXPECT_EQ(bar.GetButton(1).image, 9);
    bar.ShowWindow(false);
    EXPECT_FALSE(bar.IsVisible());
    EXPECT_EQ(frame.GetToolBar(59392), &bar);
    frame.GetStatusBar().SetPaneText(0, "Ready");
    EXPECT_EQ(frame.GetStatusBar().GetPaneText(0), "Ready");
    EXPECT_FALSE(frame.GetStatusBar().SetPaneText(3, "x"));
}

}  // namespace
