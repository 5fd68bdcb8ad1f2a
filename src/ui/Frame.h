#pragma once
// The main window's model: views in the panes of a static splitter, menus, toolbars,
// a status bar, and command routing (the active view, then the frame, then the
// application) with update handlers that enable, check and name commands.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Bitmap.h"
#include "ui/Menu.h"
#include "ui/Window.h"

namespace ui {

class Frame;

// A pane's content: draws itself (OnDraw) and may hold controls (a tree, a list) in
// pixels of its client area.
class View : public Window {
public:
    View();
    ~View() override;
    virtual void OnInitialUpdate() {}
    virtual void OnDraw(Painter& painter) { (void)painter; }
    virtual void OnSize(int cx, int cy) { (void)cx; (void)cy; }
    void OnPaint(Painter& painter) override { OnDraw(painter); }
    bool HasPainting() const override { return true; }
    Frame* GetParentFrame() const { return m_frame; }

    // The splitter's calls.
    void Attach(Frame* frame, int row, int col);
    void Resize(int cx, int cy);
    int PaneRow() const { return m_row; }
    int PaneCol() const { return m_col; }

    // The default: the view's Help handler, else the frame's Help command.
    void OnHelpInfo() override;

private:
    Frame* m_frame = nullptr;
    int m_row = -1, m_col = -1;
};

// A static splitter of rows and columns that lives as long as the frame; the views of
// its panes are deleted and made again as the screens change.
class Splitter {
public:
    explicit Splitter(Frame& frame) : m_frame(frame) {}
    bool CreateStatic(int rows, int cols);
    int GetRowCount() const { return m_rows; }
    int GetColumnCount() const { return m_cols; }

    // Puts the view in the pane (a view already there is deleted first).
    View* CreateView(int row, int col, std::unique_ptr<View> view, int cx = 0, int cy = 0);
    void DeleteView(int row, int col);
    View* GetPane(int row, int col) const;

    void SetRowInfo(int row, int ideal, int minimum);
    void SetColumnInfo(int col, int ideal, int minimum);
    void GetRowInfo(int row, int& ideal, int& minimum) const;
    void GetColumnInfo(int col, int& ideal, int& minimum) const;
    // Lays the panes out in the given size: each row and column but the last gets its
    // ideal size (0 when that is below its minimum or no room is left), the last the rest.
    void RecalcLayout();
    void SetSize(int width, int height);
    Rect GetPaneRect(int row, int col) const;  // after RecalcLayout

private:
    struct Info {
        int ideal = 0, minimum = 0, actual = 0;
    };
    size_t Index(int row, int col) const { return size_t(row) * size_t(m_cols) + size_t(col); }
    bool Valid(int row, int col) const { return row >= 0 && row < m_rows && col >= 0 && col < m_cols; }
    Frame& m_frame;
    int m_rows = 0, m_cols = 0;
    int m_width = 0, m_height = 0;
    std::vector<Info> m_rowInfo, m_colInfo;
    std::vector<std::unique_ptr<View>> m_views;
};

constexpr unsigned TBBS_BUTTON = 0x00;
constexpr unsigned TBBS_SEPARATOR = 0x01;

struct ToolButton {
    int id = 0;
    unsigned style = TBBS_BUTTON;
    int image = 0;  // image index, or the width of a separator
    std::string text;
};

class ToolBar {
public:
    ToolBar(Frame& frame, int id) : m_frame(frame), m_id(id) {}
    int GetDlgCtrlID() const { return m_id; }

    void SetButtons(int count);  // that many empty buttons
    int GetCount() const { return int(m_buttons.size()); }
    bool SetButtonInfo(int index, int id, unsigned style, int image);
    bool SetButtonText(int index, const std::string& text);
    const ToolButton& GetButton(int index) const { return m_buttons.at(size_t(index)); }
    const std::vector<ToolButton>& Buttons() const { return m_buttons; }
    int CommandToIndex(int id) const;

    // Images: a strip of cells of the given width; the mask colour is transparent.
    void SetBitmaps(std::shared_ptr<const Bitmap> normal, std::shared_ptr<const Bitmap> hot,
                    int cellWidth, Color mask);
    const std::shared_ptr<const Bitmap>& NormalImages() const { return m_normal; }
    const std::shared_ptr<const Bitmap>& HotImages() const { return m_hot; }
    int ImageCellWidth() const { return m_cellWidth; }
    Color MaskColor() const { return m_mask; }
    void SetSizes(int buttonCx, int buttonCy, int imageCx, int imageCy);
    int ButtonCx() const { return m_buttonCx; }
    int ButtonCy() const { return m_buttonCy; }
    int ImageCx() const { return m_imageCx; }
    int ImageCy() const { return m_imageCy; }

    void ShowWindow(bool show);
    bool IsVisible() const { return m_visible; }
    void Invalidate();  // redraw after changes

private:
    Frame& m_frame;
    int m_id;
    std::vector<ToolButton> m_buttons;
    std::shared_ptr<const Bitmap> m_normal, m_hot;
    int m_cellWidth = 16;
    Color m_mask = 0xFF00FF;
    int m_buttonCx = 23, m_buttonCy = 22, m_imageCx = 16, m_imageCy = 15;
    bool m_visible = true;
};

class StatusBar {
public:
    explicit StatusBar(Frame& frame) : m_frame(frame) {}
    void SetIndicators(int count);
    bool SetPaneText(int index, const std::string& text);
    std::string GetPaneText(int index) const;
    int GetCount() const { return int(m_panes.size()); }

private:
    Frame& m_frame;
    std::vector<std::string> m_panes{std::string()};
};

// The toolkit side of a frame (its caption goes through the WindowPeer).
class FramePeer {
public:
    virtual ~FramePeer() = default;
    virtual void MenuChanged() = 0;
    virtual void ToolBarChanged(ToolBar& bar) = 0;
    virtual void StatusChanged() = 0;
    virtual void PaneChanged(int row, int col) = 0;  // a view made or deleted
    virtual void LayoutChanged() = 0;
};

class Frame : public Window {
public:
    Frame();
    ~Frame() override;

    // Shown by the backend; the model keeps working without it (tests).
    void SetShowMaximized(bool maximized) { m_maximized = maximized; }
    bool ShowMaximized() const { return m_maximized; }
    bool Create();
    void DestroyWindow();
    virtual void OnClose() { DestroyWindow(); }
    void UserClose() { if (IsLive()) OnClose(); }
    bool IsLive() const override { return m_created; }

    Menu* GetMenu() const { return m_menu.get(); }
    void SetMenu(std::shared_ptr<Menu> menu);
    void DrawMenuBar();

    ToolBar& AddToolBar(int id);
    ToolBar* GetToolBar(int id) const;
    const std::vector<std::unique_ptr<ToolBar>>& ToolBars() const { return m_toolBars; }
    StatusBar& GetStatusBar() { return m_statusBar; }
    const StatusBar& GetStatusBar() const { return m_statusBar; }
    Splitter& GetSplitter() { return m_splitter; }
    const Splitter& GetSplitter() const { return m_splitter; }

    View* GetActiveView() const { return m_active; }
    void SetActiveView(View* view);
    void RecalcLayout();
    void SetClientArea(int width, int height);  // the backend's call when the window resizes

    // The application that gets the commands no view or frame handler takes.
    void SetApplication(CmdTarget* app) { m_app = app; }
    // Routes a command: the active view, the frame, the application.
    bool OnCommand(int id) override;
    // Asks the update handlers (same route) for a command's state; a command with neither
    // an update handler nor a handler on the route is disabled.
    CmdUI QueryCommand(int id);
    // A person picks a menu item or a toolbar button: runs only when enabled.
    bool UserCommand(int id);

    // The accelerator table the frame translates keys with (replaces the one loaded before).
    void LoadAccelTable(AccelTable table) { m_accel = std::move(table); }
    const AccelTable& GetAccelTable() const { return m_accel; }
    // The command a key with these modifiers (FSHIFT, FCONTROL, FALT) fires, 0 for none.
    int FindAccelerator(unsigned modifiers, int key) const;
    // A person presses a key in the window: true when the table has it (the key is then
    // taken even when its command is disabled, which then does nothing).
    bool UserAccelerator(unsigned modifiers, int key);
    // F1 in the frame outside any control: the active view's help, else the Help command.
    void UserHelp();

    FramePeer* GetFramePeer() const { return m_framePeer; }
    void AttachFramePeer(FramePeer* peer) { m_framePeer = peer; }

    // The model's notifications to the peer.
    void NotifyToolBar(ToolBar& bar);
    void NotifyStatus();
    void NotifyPane(int row, int col);
    void NotifyLayout();

private:
    std::shared_ptr<Menu> m_menu;
    AccelTable m_accel;
    std::vector<std::unique_ptr<ToolBar>> m_toolBars;
    StatusBar m_statusBar;
    Splitter m_splitter;
    View* m_active = nullptr;
    CmdTarget* m_app = nullptr;
    FramePeer* m_framePeer = nullptr;
    bool m_maximized = false;
    friend class Splitter;
};

}  // namespace ui
