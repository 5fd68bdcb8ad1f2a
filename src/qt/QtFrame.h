#pragma once
// The main window model shown as a QMainWindow (used inside src/qt only).
#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>

#include "qt/QtWindows.h"
#include "ui/Frame.h"

class QMenu;
class QTimer;
class QToolBar;
class QLabel;

namespace qtbind {

class FrameWidget : public QMainWindow, public ui::FramePeer, public ui::WindowPeer {
public:
    explicit FrameWidget(ui::Frame& frame);
    ~FrameWidget() override;
    ui::Frame& model;

    // FramePeer
    void MenuChanged() override;
    void ToolBarChanged(ui::ToolBar& bar) override;
    void StatusChanged() override;
    void PaneChanged(int row, int col) override;
    void LayoutChanged() override;
    // WindowPeer (the frame's caption)
    void ControlChanged(ui::Control&, ui::Aspect, int) override {}
    void ControlAdded(ui::Control&) override {}
    void ControlRemoving(ui::Control&) override {}
    void CaptionChanged() override;
    void Invalidate() override { update(); }
    void WindowShown(bool) override {}
    void WindowMoved() override {}
    void Ended(int) override {}

    void UpdateCommands();  // enable and check toolbar buttons from the update handlers
    // The frame model goes: let go of it and its views now (the widget goes later).
    void Detach();
    bool closingFromModel = false;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu(QMenu* target, const ui::Menu& menu);
    struct Pane {
        QPointer<QWidget> widget;
        std::unique_ptr<WidgetBinding> binding;
        ui::View* view = nullptr;
    };
    QWidget* m_area;
    std::map<std::pair<int, int>, Pane> m_panes;
    std::map<const ui::ToolBar*, QPointer<QToolBar>> m_bars;
    QLabel* m_status;
    QTimer* m_idle;
    bool m_detached = false;
};

}  // namespace qtbind
