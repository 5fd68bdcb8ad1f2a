#include "qt/QtFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include "qt/QtText.h"
#include "res/StringTable.h"

namespace qtbind {

namespace {

// The client area of the frame: the splitter's panes, laid out by the model.
class PaneArea : public QWidget {
public:
    PaneArea(ui::Frame& frame, QWidget* parent) : QWidget(parent), m_frame(frame) {}

protected:
    void resizeEvent(QResizeEvent*) override { m_frame.SetClientArea(width(), height()); }

private:
    ui::Frame& m_frame;
};

// A pane's widget: the view's controls are its children; the view paints it.
class PaneWidget : public QWidget {
public:
    PaneWidget(ui::View& view, QWidget* parent) : QWidget(parent), m_view(view) {
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::white);
        setPalette(pal);
    }

protected:
    void paintEvent(QPaintEvent*) override { PaintWindow(m_view, this); }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            const QPoint p = event->position().toPoint();
            m_view.UserMouseDown(p.x(), p.y());
        }
    }

public:
    ui::View& View() const { return m_view; }

private:
    ui::View& m_view;
};

// A command's status-bar prompt and tool tip from the string table ("prompt\n tip").
QString CommandPrompt(int id, bool tip) {
    const QString text = FromAnsi(LoadString(id));
    const qsizetype cut = text.indexOf(QLatin1Char('\n'));
    if (tip) return cut < 0 ? QString() : text.mid(cut + 1).trimmed();
    return (cut < 0 ? text : text.left(cut)).trimmed();
}

// The virtual-key code of a Qt key as accelerator tables name keys; 0 for none.
int AccelKey(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return ui::VK_F1 + (key - Qt::Key_F1);
    return 0;
}

// The frame's accelerators: a key pressed anywhere in the main window (not in a dialog
// or an open menu) is looked up in the frame's table first, before Qt's shortcuts and
// the menu bar's mnemonics, as a window's accelerators come first on Windows.
class AccelFilter : public QObject {
public:
    AccelFilter(FrameWidget& frame) : QObject(&frame), m_frame(frame) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
        // The focus widget gets the key, or the window itself when nothing has the focus.
        auto* widget = qobject_cast<QWidget*>(watched);
        const bool inFrame = widget ? widget->window() == &m_frame
                                    : watched == m_frame.windowHandle() && m_frame.windowHandle();
        if (!inFrame || QApplication::activeModalWidget() || QApplication::activePopupWidget()) return false;
        if (!m_frame.model.IsLive()) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const int vk = AccelKey(key->key());
        if (!vk) return false;
        unsigned mods = 0;
        if (key->modifiers() & Qt::ShiftModifier) mods |= ui::FSHIFT;
        if (key->modifiers() & Qt::ControlModifier) mods |= ui::FCONTROL;
        if (key->modifiers() & Qt::AltModifier) mods |= ui::FALT;
        if (!m_frame.model.FindAccelerator(mods, vk)) {
            if (vk != ui::VK_F1 || mods) return false;
            // X gives the key to the top-level window, which hands it on to the widget that
            // has the focus: F1 is for that widget's control, then its view, then the frame.
            if (!widget) return false;
            event->accept();
            if (event->type() == QEvent::KeyPress && !key->isAutoRepeat()) Help(widget);
            return true;
        }
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();  // no shortcut or mnemonic: the key press comes to us
            return true;
        }
        if (key->isAutoRepeat()) return true;
        m_frame.model.UserAccelerator(mods, vk);
        m_frame.UpdateCommands();
        return true;
    }

private:
    void Help(QWidget* focus) {
        if (ui::Control* control = ControlOfWidget(focus); control && control->GetParent() &&
                                                           control->GetParent()->IsLive()) {
            control->GetParent()->UserKey(control, ui::VK_F1);
            return;
        }
        for (QWidget* w = focus; w && w != &m_frame; w = w->parentWidget())
            if (auto* pane = dynamic_cast<PaneWidget*>(w)) {
                pane->View().OnHelpInfo();
                return;
            }
        m_frame.model.UserHelp();
    }
    FrameWidget& m_frame;
};

QIcon CellIcon(const ui::Bitmap& strip, int cell, int width, ui::Color mask) {
    QImage img = ToQImage(strip);
    const int x = cell * width;
    if (x + width > img.width()) return QIcon();
    QImage part = img.copy(x, 0, width, img.height()).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qRgb(ui::GetRValue(mask), ui::GetGValue(mask), ui::GetBValue(mask));
    for (int yy = 0; yy < part.height(); ++yy)
        for (int xx = 0; xx < part.width(); ++xx)
            if ((part.pixel(xx, yy) & 0xFFFFFF) == (key & 0xFFFFFF)) part.setPixel(xx, yy, 0);
    return QIcon(QPixmap::fromImage(part));
}

}  // namespace

FrameWidget::FrameWidget(ui::Frame& frame) : model(frame) {
    m_area = new PaneArea(frame, this);
    setCentralWidget(m_area);
    m_status = new QLabel(this);
    statusBar()->addWidget(m_status, 1);
    setWindowTitle(FromAnsi(frame.GetWindowText()));
    m_idle = new QTimer(this);
    QObject::connect(m_idle, &QTimer::timeout, [this]() { UpdateCommands(); });
    m_idle->start(250);
    qApp->installEventFilter(new AccelFilter(*this));
    frame.AttachFramePeer(this);
    frame.AttachPeer(this);
    MenuChanged();
    for (const auto& bar : frame.ToolBars()) ToolBarChanged(*bar);
    StatusChanged();
    for (int r = 0; r < frame.GetSplitter().GetRowCount(); ++r)
        for (int c = 0; c < frame.GetSplitter().GetColumnCount(); ++c) PaneChanged(r, c);
}

FrameWidget::~FrameWidget() { Detach(); }

void FrameWidget::Detach() {
    if (m_detached) return;
    m_detached = true;
    m_idle->stop();
    for (auto& [key, pane] : m_panes) {
        (void)key;
        pane.binding.reset();
        if (pane.widget) pane.widget->hide();
    }
    m_panes.clear();
    if (model.GetFramePeer() == this) model.AttachFramePeer(nullptr);
    if (model.Peer() == this) model.AttachPeer(nullptr);
}

void FrameWidget::CaptionChanged() { setWindowTitle(FromAnsi(model.GetWindowText())); }

void FrameWidget::BuildMenu(QMenu* target, const ui::Menu& menu) {
    for (const ui::Menu::Item& item : menu.Items()) {
        if (item.flags & ui::MF_SEPARATOR) {
            target->addSeparator();
        } else if (item.popup) {
            QMenu* sub = target->addMenu(FromAnsi(item.text));
            BuildMenu(sub, *item.popup);
        } else {
            QAction* a = target->addAction(FromAnsi(item.text));
            const int id = item.id;
            a->setCheckable(item.flags & ui::MF_CHECKED);
            a->setChecked(item.flags & ui::MF_CHECKED);
            a->setEnabled(!(item.flags & (ui::MF_GRAYED | ui::MF_DISABLED)));
            a->setStatusTip(CommandPrompt(id, false));
            QObject::connect(a, &QAction::triggered, [this, id]() {
                model.UserCommand(id);
                UpdateCommands();
            });
            a->setData(id);
        }
    }
    // The update handlers decide just before the menu opens.
    QObject::connect(target, &QMenu::aboutToShow, [this, target]() {
        for (QAction* a : target->actions()) {
            if (a->menu() || a->isSeparator() || !a->data().isValid()) continue;
            const int id = a->data().toInt();
            const ui::Menu::Item* item = model.GetMenu() ? model.GetMenu()->FindCommand(id) : nullptr;
            const ui::CmdUI state = model.QueryCommand(id);
            a->setEnabled(state.IsEnabled() && !(item && (item->flags & (ui::MF_GRAYED | ui::MF_DISABLED))));
            if (state.GetCheck()) {
                a->setCheckable(true);
                a->setChecked(true);
            }
            if (state.HasText()) a->setText(FromAnsi(state.GetText()));
        }
    });
}

void FrameWidget::MenuChanged() {
    QMenuBar* bar = menuBar();
    // clear() leaves the menus it held alive: they go (later) with their owner.
    const auto old = bar->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
    bar->clear();
    for (QMenu* m : old) m->deleteLater();
    const ui::Menu* menu = model.GetMenu();
    if (!menu) return;
    for (const ui::Menu::Item& item : menu->Items()) {
        if (item.popup) {
            QMenu* sub = new QMenu(FromAnsi(item.text), bar);
            BuildMenu(sub, *item.popup);
            bar->addMenu(sub);
        } else if (!(item.flags & ui::MF_SEPARATOR)) {
            QAction* a = bar->addAction(FromAnsi(item.text));
            const int id = item.id;
            QObject::connect(a, &QAction::triggered, [this, id]() { model.UserCommand(id); });
        }
    }
}

void FrameWidget::ToolBarChanged(ui::ToolBar& bar) {
    QPointer<QToolBar>& tb = m_bars[&bar];
    if (!tb) {
        tb = new QToolBar(this);
        tb->setMovable(false);
        tb->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        addToolBar(Qt::TopToolBarArea, tb);
    }
    tb->clear();
    tb->setIconSize(QSize(bar.ImageCx(), bar.ImageCy()));
    for (const ui::ToolButton& b : bar.Buttons()) {
        if (b.style & ui::TBBS_SEPARATOR) {
            tb->addSeparator();
            continue;
        }
        QIcon icon;
        if (bar.NormalImages())
            icon = CellIcon(*bar.NormalImages(), b.image, bar.ImageCellWidth(), bar.MaskColor());
        QAction* a = tb->addAction(icon, FromAnsi(b.text));
        const int id = b.id;
        a->setData(id);
        a->setStatusTip(CommandPrompt(id, false));
        if (const QString tip = CommandPrompt(id, true); !tip.isEmpty()) a->setToolTip(tip);
        QObject::connect(a, &QAction::triggered, [this, id]() {
            model.UserCommand(id);
            UpdateCommands();
        });
    }
    tb->setVisible(bar.IsVisible());
    UpdateCommands();
}

void FrameWidget::UpdateCommands() {
    if (m_detached || !model.IsLive()) return;
    for (auto& [bar, tb] : m_bars) {
        (void)bar;
        if (!tb) continue;
        for (QAction* a : tb->actions()) {
            if (a->isSeparator() || !a->data().isValid()) continue;
            const ui::CmdUI state = model.QueryCommand(a->data().toInt());
            a->setEnabled(state.IsEnabled());
        }
    }
}

void FrameWidget::StatusChanged() { m_status->setText(FromAnsi(model.GetStatusBar().GetPaneText(0))); }

void FrameWidget::PaneChanged(int row, int col) {
    Pane& pane = m_panes[{row, col}];
    ui::View* view = model.GetSplitter().GetPane(row, col);
    if (pane.view == view && pane.widget) return;
    // The old view's widgets go first (the view itself may be about to go).
    pane.binding.reset();
    if (pane.widget) {
        pane.widget->hide();
        pane.widget->deleteLater();
    }
    pane.view = view;
    if (!view) return;
    auto* w = new PaneWidget(*view, m_area);
    pane.widget = w;
    pane.binding = std::make_unique<WidgetBinding>(*view, w);
    pane.binding->BuildAll();
    view->AttachPeer(pane.binding.get());
    LayoutChanged();
    w->show();
}

void FrameWidget::LayoutChanged() {
    for (auto& [key, pane] : m_panes) {
        if (!pane.widget) continue;
        const ui::Rect r = model.GetSplitter().GetPaneRect(key.first, key.second);
        pane.widget->setGeometry(r.left, r.top, r.Width(), r.Height());
        pane.widget->setVisible(r.Width() > 0 && r.Height() > 0);
    }
}

void FrameWidget::closeEvent(QCloseEvent* event) {
    if (closingFromModel || m_detached || !model.IsLive()) {
        QMainWindow::closeEvent(event);
        return;
    }
    event->ignore();
    model.UserClose();
}

}  // namespace qtbind
