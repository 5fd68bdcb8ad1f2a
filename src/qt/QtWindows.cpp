#include "qt/QtWindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QShortcut>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVariant>

#include "qt/QtText.h"
#include "ui/Backend.h"
#include "ui/PropertySheet.h"

namespace qtbind {

using ui::Aspect;
using ui::ControlKind;

namespace {

const char* const kControlProperty = "quorvexControl";
bool g_syncingFocus = false;
bool g_syncingList = false;  // the binding sets a list's column widths itself
std::map<QObject*, ui::Control*>& WidgetControls() {
    static std::map<QObject*, ui::Control*> map;
    return map;
}

// The list's widths as shown (scaled to the font); a hidden column has width 0.
void SyncColumnWidths(ui::ListView& lv, QTableWidget* table) {
    const bool wasSyncing = g_syncingList;
    g_syncingList = true;
    for (int i = 0; i < std::min(lv.GetColumnCount(), table->columnCount()); ++i) {
        if (table->columnWidth(i) != lv.GetShownColumnWidth(i) && lv.GetColumnWidth(i) > 0)
            table->setColumnWidth(i, lv.GetShownColumnWidth(i));
        table->setColumnHidden(i, lv.GetColumnWidth(i) == 0);
    }
    g_syncingList = wasSyncing;
}
// The scale of a list's pixel widths: the ratio of its font to the original's, more where
// a column would clip its heading (the widest need counts, at most twice the width).
// Set when the columns are made or the list is placed, never while rows change, so a
// width the person drags stays as it is.
void FitListScale(ui::ListView& lv, QTableWidget* table) {
    QHeaderView* header = table->horizontalHeader();
    const QFontMetrics fm(header->font());
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    double headings = 1.0;
    int total = 0;
    for (int i = 0; i < lv.GetColumnCount(); ++i) {
        const int width = lv.GetColumnWidth(i);
        if (width <= 0) continue;
        total += width;
        const int need = fm.horizontalAdvance(FromAnsi(lv.GetColumnHeading(i))) + 2 * margin + 2;
        headings = std::max(headings, std::min(2.0, double(need) / width));
    }
    double scale = std::max(PixelScale(table->font()), headings);
    // Columns that filled the list without a scroll bar still do, where the headings allow.
    const int room = table->width() - 2 * table->frameWidth();
    if (total > 0 && total <= room && total * scale > room) scale = std::max(headings, double(room) / total);
    lv.SetPixelScale(scale);
}

QColor ToQColor(ui::Color c) { return QColor(ui::GetRValue(c), ui::GetGValue(c), ui::GetBValue(c)); }

QImage ToImage(const ui::Bitmap& b) {
    QImage img(b.width, b.height, QImage::Format_ARGB32);
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) img.setPixel(x, y, b.At(x, y));
    return img;
}

int VirtualKey(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return ui::VK_RETURN;
        case Qt::Key_Escape: return ui::VK_ESCAPE;
        case Qt::Key_Tab: return ui::VK_TAB;
        case Qt::Key_Left: return ui::VK_LEFT;
        case Qt::Key_Right: return ui::VK_RIGHT;
        case Qt::Key_Up: return ui::VK_UP;
        case Qt::Key_Down: return ui::VK_DOWN;
        case Qt::Key_PageUp: return ui::VK_PRIOR;
        case Qt::Key_PageDown: return ui::VK_NEXT;
        case Qt::Key_Home: return ui::VK_HOME;
        case Qt::Key_End: return ui::VK_END;
        case Qt::Key_Delete: return ui::VK_DELETE;
        case Qt::Key_F1: return ui::VK_F1;
        default: return 0;
    }
}

// F1 in the open list of a drop-down: the list closes and the help is the drop-down's
// (the list is a window of its own, which the control's key handling does not see).
class OpenListHelp : public QObject {
public:
    explicit OpenListHelp(QComboBox* combo) : QObject(combo), m_combo(combo) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
        ui::Control* control = ControlOfWidget(m_combo);
        m_combo->hidePopup();
        // Closing the list may have ended the control (an in-place editor stores and goes).
        control = control == ControlOfWidget(m_combo) ? control : nullptr;
        if (!key->isAutoRepeat()) {
            if (control && control->GetParent() && control->GetParent()->IsLive())
                control->GetParent()->UserKey(control, ui::VK_F1);
        }
        return true;
    }

private:
    QComboBox* m_combo;
};

// A drop-down whose open list, when it closes, tells the model (a pick ends an in-place
// edit).
class DropDownCombo : public QComboBox {
public:
    DropDownCombo(ui::ListControl& model, QWidget* parent) : QComboBox(parent), m_model(&model) {}
    void showPopup() override {
        if (!m_helpFilter) {
            m_helpFilter = true;
            view()->installEventFilter(new OpenListHelp(this));
        }
        QComboBox::showPopup();
    }
    void hidePopup() override {
        const bool wasOpen = view() && view()->isVisible();
        QComboBox::hidePopup();
        if (wasOpen && m_model && !signalsBlocked()) {
            // After the pick itself has reached the model.
            QPointer<QComboBox> self(this);
            ui::ListControl* model = m_model;
            QTimer::singleShot(0, this, [self, model]() {
                if (self && ControlOfWidget(self) == model) model->UserCloseUp();
            });
        }
    }

private:
    ui::ListControl* m_model;
    bool m_helpFilter = false;
};

// A click in a list below its rows is a click on no row, as list views report one.
class EmptyAreaClick : public QObject {
public:
    EmptyAreaClick(ui::ListView& list, QTableWidget* table) : QObject(table), m_list(list), m_table(table) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonRelease) return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && !m_table->indexAt(mouse->position().toPoint()).isValid())
            m_list.UserClickCell(-1, -1);
        return false;
    }

private:
    ui::ListView& m_list;
    QTableWidget* m_table;
};

// Keys of a control go to the model first: its key-down handlers, then the window's
// default handling of Enter, Escape and F1. Other keys keep Qt's handling.
class KeyFilter : public QObject {
public:
    static bool IsRefusedPaste(QObject* watched, QEvent* event);
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (IsRefusedPaste(watched, event)) return true;
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const int vk = VirtualKey(key->key());
        if (!vk) return false;
        // With Alt down a key is the system's (Alt+Down opens a drop-down list), not a
        // key-down of the control.
        if (key->modifiers() & Qt::AltModifier) return false;
        ui::Control* control = ControlOfWidget(watched);
        if (!control || !control->GetParent()) return false;
        ui::Window* window = control->GetParent();
        if (!window->IsLive()) return false;
        if (vk == ui::VK_F1) return window->UserKey(control, vk);  // key-down handlers, then help
        if (window->Dispatch(ui::Event{ui::Notify::KeyDown, control->GetDlgCtrlID(), vk, -1, -1, 0,
                                       control}))
            return true;
        if (vk == ui::VK_RETURN && control->Kind() == ui::ControlKind::Edit &&
            control->HasStyle(ui::style::kMultiLine | ui::style::kWantReturn))
            return false;  // a new line in the edit
        if (vk == ui::VK_RETURN || vk == ui::VK_ESCAPE || vk == ui::VK_F1) {
            // An open drop-down list closes on these keys as usual.
            if (auto* combo = qobject_cast<QComboBox*>(watched); combo && combo->view() &&
                                                                 combo->view()->isVisible())
                return false;
            window->UserKey(control, vk);
            return true;
        }
        return false;
    }
};

// A paste into an edit that takes none: the paste keys, the middle button and the
// context menu (which offers Paste).
bool KeyFilter::IsRefusedPaste(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonPress && type != QEvent::ContextMenu)
        return false;
    ui::Control* control = ControlOfWidget(watched);
    if (!control || control->Kind() != ui::ControlKind::Edit || !control->HasStyle(ui::style::kNoPaste)) return false;
    if (type == QEvent::KeyPress || type == QEvent::ShortcutOverride)
        return static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste);
    if (type == QEvent::ContextMenu) return true;
    return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
}

KeyFilter& TheKeyFilter() {
    static KeyFilter* filter = new KeyFilter;
    return *filter;
}

// A push button whose press (a click, or its mnemonic key) moved the focus out of a field
// that refused its text with a message box does not act on that press: the box ended the
// gesture, as it does where the dialogs come from. The person sees the corrected field and
// presses again. A button that cancels its dialog takes no text and cancels at once. A mouse
// press ended by the box is not passed on to the button at all (its release went to the box):
// nothing of it is held over to the next press or key.
class ModelButton : public QPushButton {
public:
    ModelButton(ui::Control& control, QWidget* parent) : QPushButton(parent), m_control(&control) {
        QObject::connect(this, &QPushButton::clicked, this, [this]() {
            if (!TakeSwallow() || m_control->CancelsItsDialog()) m_control->UserClick();
        });
    }
    bool refusedOnFocus = false;  // set while the focus came to this button

protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::Shortcut) return QPushButton::event(e);
        const int before = ui::MessageBoxesShown();
        const bool handled = QPushButton::event(e);  // takes the focus, then starts the click
        m_swallow = ui::MessageBoxesShown() != before;
        refusedOnFocus = false;
        return handled;
    }
    void mousePressEvent(QMouseEvent* e) override {
        const bool ended = refusedOnFocus;  // the focus moved before the press arrives
        refusedOnFocus = false;
        m_swallow = false;
        if (!ended) return QPushButton::mousePressEvent(e);
        e->accept();
        if (m_control->CancelsItsDialog())
            QMetaObject::invokeMethod(this, [control = m_control]() { control->UserClick(); }, Qt::QueuedConnection);
    }

private:
    bool TakeSwallow() {
        const bool swallow = m_swallow;
        m_swallow = false;
        return swallow;
    }
    ui::Control* m_control;
    bool m_swallow = false;
};

void WatchFocus() {
    static bool connected = false;
    if (connected || !qApp) return;
    connected = true;
    QObject::connect(qApp, &QApplication::focusChanged, [](QWidget*, QWidget* now) {
        if (g_syncingFocus || !now) return;
        ui::Control* c = ControlOfWidget(now);
        if (!c || !c->GetParent() || !c->GetParent()->IsLive()) return;
        if (c->HasFocus()) return;
        const int before = ui::MessageBoxesShown();
        // Read before the box: the person lets go of the button while the box is up.
        const bool pressing = QGuiApplication::mouseButtons() != Qt::NoButton;
        QPointer<QWidget> focused(now);
        c->GetParent()->SetFocusTo(c, true);
        if (auto* button = dynamic_cast<ModelButton*>(focused.data()))
            button->refusedOnFocus = ui::MessageBoxesShown() != before && pressing;
    });
}

class FocusSync {
public:
    FocusSync() : m_old(g_syncingFocus) { g_syncingFocus = true; }
    ~FocusSync() { g_syncingFocus = m_old; }

private:
    bool m_old;
};

class QtPainter : public ui::Painter {
public:
    explicit QtPainter(QPainter& p) : m_p(p) {}
    void FillRect(const ui::Rect& r, ui::Color c) override {
        m_p.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), ToQColor(c));
    }
    void DrawText(int x, int y, const std::string& text, ui::Color c) override {
        m_p.setPen(ToQColor(c));
        m_p.drawText(x, y + m_p.fontMetrics().ascent(), FromAnsi(text));
    }
    void DrawBitmap(const ui::Bitmap& b, const ui::Rect& dest) override {
        const QImage img = ToImage(b);
        const int w = std::min(b.width, dest.Width()), h = std::min(b.height, dest.Height());
        m_p.drawImage(QPoint(dest.left, dest.top), img, QRect(0, 0, w, h));
    }
    int TextWidth(const std::string& text) override {
        return m_p.fontMetrics().horizontalAdvance(FromAnsi(text));
    }
    int TextHeight() override { return m_p.fontMetrics().height(); }

private:
    QPainter& m_p;
};

}  // namespace

ui::Control* ControlOfWidget(QObject* widget) {
    auto& map = WidgetControls();
    for (QObject* o = widget; o; o = o->parent()) {
        auto it = map.find(o);
        if (it != map.end()) return it->second;
        if (qobject_cast<QDialog*>(o)) break;
    }
    return nullptr;
}

bool SyncingFocus() { return g_syncingFocus; }

void PaintWindow(ui::Window& window, QWidget* widget) {
    if (!window.HasPainting()) return;
    QPainter p(widget);
    p.setFont(widget->font());
    QtPainter painter(p);
    window.OnPaint(painter);
}

QImage ToQImage(const ui::Bitmap& bitmap) { return ToImage(bitmap); }

QFont DialogFont(const std::string& face, int points) {
    QFont f(FromAnsi(face), points > 0 ? points : 8);
    return f;
}

double PixelScale(const QFont& font) {
    // The original's dialog font measures about 5.75 pixels a letter (the average of the
    // 52 letters); never smaller than that.
    const double average =
        QFontMetricsF(font).horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
    return std::max(1.0, average / 5.75);
}

void BaseUnits(const QFont& font, int& x, int& y) {
    // As Windows measures a dialog font: the average width of the 52 letters, and the
    // character height.
    QFontMetrics fm(font);
    const int width =
        fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    x = std::max(1, (width / 26 + 1) / 2);
    y = std::max(1, fm.height());
}

// ---------------------------------------------------------------------------------------

WidgetBinding::WidgetBinding(ui::Window& window, QWidget* container)
    : m_window(window), m_container(container) {
    WatchFocus();
}

WidgetBinding::~WidgetBinding() {
    auto& map = WidgetControls();
    for (auto& [control, widget] : m_widgets) {
        (void)control;
        if (widget) {
            map.erase(widget.data());
            for (QWidget* child : widget->findChildren<QWidget*>()) map.erase(child);
        }
    }
    if (!m_detached && m_window.Peer() == this) m_window.AttachPeer(nullptr);
}

QWidget* WidgetBinding::WidgetOf(const ui::Control* control) const {
    auto it = m_widgets.find(control);
    return it == m_widgets.end() ? nullptr : it->second.data();
}

void WidgetBinding::BuildAll() {
    for (const auto& c : m_window.Controls()) ControlAdded(*c);
    if (ui::Control* f = m_window.GetFocus()) ControlChanged(*f, Aspect::Focus, -1);
}

void WidgetBinding::ControlAdded(ui::Control& control) {
    if (!m_container) return;
    QWidget* w = Create(control);
    if (!w) return;
    m_widgets[&control] = w;
    WidgetControls()[w] = &control;
    w->installEventFilter(&TheKeyFilter());
    for (QWidget* child : w->findChildren<QWidget*>()) child->installEventFilter(&TheKeyFilter());
    Sync(control, Aspect::Text, -1);
    Place(control, w);
    w->raise();  // a control made later (an in-place editor) lies over the others
    w->setVisible(control.IsWindowVisible());
}

void WidgetBinding::ControlRemoving(ui::Control& control) {
    auto it = m_widgets.find(&control);
    if (it == m_widgets.end()) return;
    FocusSync sync;  // the focus Qt moves while the widget goes is no user's doing
    if (QWidget* w = it->second.data()) {
        auto& map = WidgetControls();
        map.erase(w);
        // The control goes now; the widget a little later: nothing of it may reach
        // the model any more.
        w->disconnect();
        w->blockSignals(true);
        for (QWidget* child : w->findChildren<QWidget*>()) {
            map.erase(child);
            child->disconnect();
            child->blockSignals(true);
        }
        w->hide();
        w->deleteLater();  // it may be inside one of its own signals
    }
    m_widgets.erase(it);
}

void WidgetBinding::Place(ui::Control& control, QWidget* w) {
    const ui::Rect r = m_window.GetControlPixelRect(control);
    int height = r.Height();
    if (control.Kind() == ControlKind::DropList || control.Kind() == ControlKind::DropDown)
        height = w->sizeHint().height();  // the template's height includes the open list
    w->setGeometry(r.left, r.top, std::max(0, r.Width()), std::max(0, height));
    if (auto* table = qobject_cast<QTableWidget*>(w)) {
        auto& lv = static_cast<ui::ListView&>(control);
        FitListScale(lv, table);
        SyncColumnWidths(lv, table);
        lv.SetMetrics(table->horizontalHeader()->sizeHint().height() + table->frameWidth(),
                      table->verticalHeader()->defaultSectionSize());
    }
}

QWidget* WidgetBinding::Create(ui::Control& c) {
    QWidget* parent = m_container;
    ui::Control* cp = &c;
    const unsigned st = c.GetStyle();
    switch (c.Kind()) {
        case ControlKind::Label: {
            auto* l = new QLabel(parent);
            l->setWordWrap(true);
            Qt::Alignment h = Qt::AlignLeft;
            if (st & ui::style::kCenter) h = Qt::AlignHCenter;
            if (st & ui::style::kRight) h = Qt::AlignRight;
            l->setAlignment(h | Qt::AlignTop);
            if (st & ui::style::kSunken) l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            return l;
        }
        case ControlKind::Edit: {
            if (st & ui::style::kMultiLine) {
                auto* e = new QPlainTextEdit(parent);
                e->setTabChangesFocus(true);
                QObject::connect(e, &QPlainTextEdit::textChanged, [cp, e]() {
                    // Lines end in CR LF in the model, as in a Windows edit, and count
                    // two characters against the limit.
                    std::string text;
                    for (char ch : ToAnsi(e->toPlainText())) {
                        if (ch == '\n') text += '\r';
                        text += ch;
                    }
                    const size_t limit = size_t(cp->GetLimitText());
                    if (limit > 0 && text.size() > limit && text.size() > cp->GetWindowText().size()) {
                        text.resize(std::max(limit, cp->GetWindowText().size()));
                        if (!text.empty() && text.back() == '\r') text.pop_back();
                        QString shown = FromAnsi(text);
                        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
                        QSignalBlocker b(e);
                        e->setPlainText(shown);
                        e->moveCursor(QTextCursor::End);
                    }
                    cp->UserEdited(text);
                });
                return e;
            }
            auto* e = new QLineEdit(parent);
            if (st & ui::style::kNumber)
                e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), e));
            if (st & ui::style::kPassword) e->setEchoMode(QLineEdit::Password);
            QObject::connect(e, &QLineEdit::textEdited, [cp, e](const QString& text) {
                // The limit holds typing back only: a longer text the program set stays,
                // and may be shortened.
                QString changed = FromAnsi(ToAnsi(text));
                const qsizetype limit = cp->GetLimitText();
                const qsizetype before = qsizetype(cp->GetWindowText().size());
                if (limit > 0 && changed.size() > limit && changed.size() > before)
                    changed.truncate(std::max(limit, before));
                if (cp->HasStyle(ui::style::kUpperCase))
                    for (QChar& ch : changed)
                        if (ch >= QLatin1Char('a') && ch <= QLatin1Char('z')) ch = ch.toUpper();
                {
                    if (changed != text) {
                        const int pos = e->cursorPosition();
                        QSignalBlocker b(e);
                        e->setText(changed);
                        e->setCursorPosition(pos);
                    }
                }
                cp->UserEdited(ToAnsi(e->text()));
            });
            return e;
        }
        case ControlKind::Button:
        case ControlKind::DefButton: {
            auto* b = new ModelButton(c, parent);
            b->setAutoDefault(false);
            b->setDefault(c.Kind() == ControlKind::DefButton);
            return b;
        }
        case ControlKind::CheckBox: {
            auto* b = new QCheckBox(parent);
            QObject::connect(b, &QCheckBox::clicked, [cp]() { cp->UserClick(); });
            return b;
        }
        case ControlKind::RadioButton: {
            auto* b = new QRadioButton(parent);
            b->setAutoExclusive(false);  // the model keeps the group
            QObject::connect(b, &QRadioButton::clicked, [cp]() { cp->UserClick(); });
            return b;
        }
        case ControlKind::DropList:
        case ControlKind::DropDown: {
            auto* lc = static_cast<ui::ListControl*>(cp);
            auto* combo = new DropDownCombo(*lc, parent);
            combo->setEditable(c.Kind() == ControlKind::DropDown);
            combo->setMaxVisibleItems(12);
            QObject::connect(combo, QOverload<int>::of(&QComboBox::activated),
                             [lc](int index) { lc->UserSelect(index); });
            if (QLineEdit* le = combo->lineEdit())
                QObject::connect(le, &QLineEdit::textEdited,
                                 [cp](const QString& t) { cp->UserEdited(ToAnsi(t)); });
            return combo;
        }
        case ControlKind::ListBox: {
            auto* list = new QListWidget(parent);
            auto* lc = static_cast<ui::ListControl*>(cp);
            // Selection, not the current row: Qt makes the first row current when the
            // list takes the focus, which is no choice of the user's.
            QObject::connect(list, &QListWidget::itemSelectionChanged, [lc, list]() {
                const auto items = list->selectedItems();
                if (!items.isEmpty()) lc->UserSelect(list->row(items.front()));
            });
            QObject::connect(list, &QListWidget::itemDoubleClicked, [lc, list](QListWidgetItem* item) {
                lc->UserDoubleClick(list->row(item));
            });
            return list;
        }
        case ControlKind::ListView: {
            auto* table = new QTableWidget(parent);
            table->setSelectionBehavior(QAbstractItemView::SelectRows);
            table->setSelectionMode(st & ui::style::kExtendedSel ? QAbstractItemView::ExtendedSelection
                                                                  : QAbstractItemView::SingleSelection);
            table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
            table->setEditTriggers(QAbstractItemView::NoEditTriggers);
            table->verticalHeader()->hide();
            table->verticalHeader()->setDefaultSectionSize(QFontMetrics(table->font()).height() + 4);
            table->horizontalHeader()->setStretchLastSection(false);
            table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            // Headings keep their font when a row is selected: no bold text that no longer fits.
            table->horizontalHeader()->setHighlightSections(false);
            table->setShowGrid(st & ui::style::kGridLines);
            table->setContextMenuPolicy(Qt::CustomContextMenu);
            auto* lv = static_cast<ui::ListView*>(cp);
            QObject::connect(table, &QTableWidget::itemChanged, [lv, table](QTableWidgetItem* item) {
                if (!item || item->column() != 0 || !lv->HasStyle(ui::style::kCheckBoxes)) return;
                const bool checked = item->checkState() == Qt::Checked;
                if (checked != lv->GetRowCheck(item->row())) lv->UserCheckRow(item->row(), checked);
                (void)table;
            });
            QObject::connect(table, &QTableWidget::cellClicked, [lv, table](int row, int col) {
                // The list shows the whole cell now, not a moment later (as it would by
                // itself): an editor placed over the cell stays there.
                table->scrollTo(table->model()->index(row, col));
                const Qt::KeyboardModifiers mods = QApplication::keyboardModifiers();
                lv->UserClickCell(row, col, (mods & Qt::ShiftModifier ? ui::MK_SHIFT : 0u) |
                                                (mods & Qt::ControlModifier ? ui::MK_CONTROL : 0u));
            });
            table->viewport()->installEventFilter(new EmptyAreaClick(*lv, table));
            QObject::connect(table, &QTableWidget::cellDoubleClicked,
                             [lv](int row, int col) { lv->UserDoubleClickCell(row, col); });
            QObject::connect(table, &QTableWidget::customContextMenuRequested,
                             [lv, table](const QPoint& p) {
                                 const QModelIndex i = table->indexAt(p);
                                 lv->UserRightClickCell(i.isValid() ? i.row() : -1,
                                                        i.isValid() ? i.column() : -1);
                             });
            // Rows chosen with the keyboard are the list's selection too; a click is the
            // list's own to judge (with its Shift and Ctrl rules), when the button is up.
            QObject::connect(table, &QTableWidget::itemSelectionChanged, [lv, table]() {
                if (QApplication::mouseButtons() != Qt::NoButton) return;
                QSignalBlocker b(table);
                for (int r = 0; r < lv->GetItemCount(); ++r) {
                    const bool selected = table->selectionModel()->isRowSelected(r, QModelIndex());
                    if (selected != lv->IsItemSelected(r)) lv->SetItemSelected(r, selected);
                }
            });
            QObject::connect(table->verticalScrollBar(), &QScrollBar::valueChanged,
                             [lv](int value) { lv->UserScrollTo(value); });
            QObject::connect(table->horizontalScrollBar(), &QScrollBar::valueChanged,
                             [lv](int value) { lv->UserScrollX(value); });
            // A width the person drags stays in the list (hiding a column is no drag).
            QObject::connect(table->horizontalHeader(), &QHeaderView::sectionResized,
                             [lv, table](int column, int, int width) {
                                 if (g_syncingList || width <= 0 || table->isColumnHidden(column)) return;
                                 lv->UserSetColumnWidth(column, width);
                             });
            return table;
        }
        case ControlKind::Tree: {
            auto* tree = new QTreeWidget(parent);
            tree->setHeaderHidden(true);
            tree->setColumnCount(1);
            tree->setMouseTracking(true);
            auto* tv = static_cast<ui::TreeView*>(cp);
            QObject::connect(tree, &QTreeWidget::itemSelectionChanged, [tv, tree]() {
                const auto items = tree->selectedItems();
                if (!items.isEmpty())
                    tv->UserSelect(items.front()->data(0, Qt::UserRole).value<qlonglong>());
            });
            QObject::connect(tree, &QTreeWidget::itemDoubleClicked,
                             [tv](QTreeWidgetItem* item, int) {
                                 tv->UserDoubleClick(item->data(0, Qt::UserRole).value<qlonglong>());
                             });
            QObject::connect(tree, &QTreeWidget::itemExpanded, [tv](QTreeWidgetItem* item) {
                tv->UserExpand(item->data(0, Qt::UserRole).value<qlonglong>(), true);
            });
            QObject::connect(tree, &QTreeWidget::itemCollapsed, [tv](QTreeWidgetItem* item) {
                tv->UserExpand(item->data(0, Qt::UserRole).value<qlonglong>(), false);
            });
            return tree;
        }
        case ControlKind::Spin: {
            auto* spin = new QSpinBox(parent);
            QObject::connect(spin, QOverload<int>::of(&QSpinBox::valueChanged), [cp](int v) {
                cp->UserEdited(std::to_string(v));
            });
            return spin;
        }
        case ControlKind::GroupBox:
            return new QGroupBox(parent);
        case ControlKind::Picture: {
            auto* l = new QLabel(parent);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            if (st & (ui::style::kSunken | ui::style::kBorder))
                l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            l->setAttribute(Qt::WA_TransparentForMouseEvents, !(st & ui::style::kNotify));
            return l;
        }
        case ControlKind::Progress:
            return new QProgressBar(parent);
        case ControlKind::Tab: {
            auto* bar = new QTabBar(parent);
            bar->setDrawBase(true);
            auto* owner = dynamic_cast<ui::PropertySheet*>(&m_window);
            QObject::connect(bar, &QTabBar::currentChanged, [owner, bar, cp](int index) {
                if (!owner || index < 0) return;
                if (!owner->UserSelectPage(index)) {
                    QSignalBlocker b(bar);
                    bar->setCurrentIndex(owner->GetActiveIndex());
                }
                (void)cp;
            });
            return bar;
        }
    }
    return nullptr;
}

void WidgetBinding::SyncItems(ui::Control& c, QWidget* w) {
    auto& lc = static_cast<ui::ListControl&>(c);
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->clear();
        for (int i = 0; i < lc.GetCount(); ++i) combo->addItem(FromAnsi(lc.GetLBText(i)));
        combo->setCurrentIndex(lc.GetCurSel());
        if (combo->isEditable()) combo->setEditText(FromAnsi(lc.GetWindowText()));
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        list->clear();
        for (int i = 0; i < lc.GetCount(); ++i) list->addItem(FromAnsi(lc.GetLBText(i)));
        if (lc.GetHorizontalExtent() > 0) {
            // The rows are that wide: the box scrolls sideways over them.
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            for (int i = 0; i < list->count(); ++i) {
                QListWidgetItem* item = list->item(i);
                item->setSizeHint(QSize(lc.GetHorizontalExtent(), list->sizeHintForRow(i)));
            }
        }
        list->setCurrentRow(lc.GetCurSel());
        if (lc.GetCurSel() < 0) list->clearSelection();
    } else if (auto* bar = qobject_cast<QTabBar*>(w)) {
        // Filling the row is not a person's choice of a page.
        QSignalBlocker quiet(bar);
        while (bar->count() > lc.GetCount()) bar->removeTab(bar->count() - 1);
        for (int i = 0; i < lc.GetCount(); ++i) {
            if (i < bar->count()) bar->setTabText(i, FromAnsi(lc.GetLBText(i)));
            else bar->addTab(FromAnsi(lc.GetLBText(i)));
        }
        bar->setCurrentIndex(lc.GetCurSel());
    }
}

void WidgetBinding::SyncListView(ui::Control& c, QWidget* w, int row) {
    auto& lv = static_cast<ui::ListView&>(c);
    auto* table = static_cast<QTableWidget*>(w);
    const int cols = lv.GetColumnCount();
    if (table->columnCount() != cols) table->setColumnCount(cols);
    QStringList headings;
    for (int i = 0; i < cols; ++i) headings << FromAnsi(lv.GetColumnHeading(i));
    SyncColumnWidths(lv, table);
    table->setHorizontalHeaderLabels(headings);
    if (table->rowCount() != lv.GetItemCount()) {
        table->setRowCount(lv.GetItemCount());
        row = -1;
    }
    // A list without rows has nothing to scroll: a sideways bar would only take the room of
    // its headings (an empty pane is sized to its heading row).
    table->setHorizontalScrollBarPolicy(lv.GetItemCount() == 0 ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    const bool checks = lv.HasStyle(ui::style::kCheckBoxes);
    auto syncRow = [&](int r) {
        for (int col = 0; col < cols; ++col) {
            QTableWidgetItem* item = table->item(r, col);
            if (!item) {
                item = new QTableWidgetItem;
                table->setItem(r, col, item);
            }
            item->setText(FromAnsi(lv.GetItemText(r, col)));
            const int format = lv.GetColumnFormat(col);
            item->setTextAlignment(Qt::AlignVCenter | (format == ui::LVCFMT_RIGHT    ? Qt::AlignRight
                                                       : format == ui::LVCFMT_CENTER ? Qt::AlignHCenter
                                                                                     : Qt::AlignLeft));
            if (col == 0 && checks)
                item->setCheckState(lv.GetRowCheck(r) ? Qt::Checked : Qt::Unchecked);
            if (col == 0) {
                const std::shared_ptr<const ui::Bitmap> image = lv.GetImage(lv.GetItemImage(r));
                item->setIcon(image ? QIcon(QPixmap::fromImage(ToImage(*image))) : QIcon());
            }
            const ui::Color fg = lv.GetRowTextColor(r);
            const ui::Color bg = lv.GetRowBkColor(r) != ui::kDefaultColor ? lv.GetRowBkColor(r) : lv.GetTextBkColor();
            item->setData(Qt::ForegroundRole, fg == ui::kDefaultColor ? QVariant() : QVariant(QBrush(ToQColor(fg))));
            item->setData(Qt::BackgroundRole, bg == ui::kDefaultColor ? QVariant() : QVariant(QBrush(ToQColor(bg))));
        }
        for (int col = 0; col < cols; ++col)
            if (QTableWidgetItem* item = table->item(r, col)) item->setSelected(lv.IsItemSelected(r));
    };
    if (row >= 0 && row < table->rowCount()) syncRow(row);
    else
        for (int r = 0; r < table->rowCount(); ++r) syncRow(r);
}

void WidgetBinding::SyncTree(ui::Control& c, QWidget* w) {
    auto& tv = static_cast<ui::TreeView&>(c);
    auto* tree = static_cast<QTreeWidget*>(w);
    tree->clear();
    QTreeWidgetItem* selected = nullptr;
    std::function<void(ui::HTREEITEM, QTreeWidgetItem*)> add = [&](ui::HTREEITEM parent,
                                                                   QTreeWidgetItem* qparent) {
        for (ui::HTREEITEM h : tv.GetChildren(parent)) {
            auto* item = qparent ? new QTreeWidgetItem(qparent) : new QTreeWidgetItem(tree);
            item->setText(0, FromAnsi(tv.GetItemText(h)));
            item->setData(0, Qt::UserRole, qlonglong(h));
            const std::string tip = tv.GetItemToolTip(h);
            if (!tip.empty()) item->setToolTip(0, FromAnsi(tip));
            if (h == tv.GetSelectedItem()) selected = item;
            add(h, item);
            item->setExpanded(tv.IsExpanded(h));
        }
    };
    add(ui::TVI_ROOT, nullptr);
    if (selected) {
        tree->setCurrentItem(selected);
        selected->setSelected(true);
    }
}

void WidgetBinding::Sync(ui::Control& c, Aspect aspect, int index) {
    QWidget* w = WidgetOf(&c);
    if (!w) return;
    QSignalBlocker block(w);
    const QString text = FromAnsi(c.GetWindowText());
    // Everything but the list contents is cheap: keep it all in step.
    w->setEnabled(c.IsWindowEnabled());
    if (!c.GetToolTip().empty()) w->setToolTip(FromAnsi(c.GetToolTip()));
    if (!qobject_cast<QLabel*>(w) && (c.GetTextColor() != ui::kDefaultColor || c.GetBkColor() != ui::kDefaultColor)) {
        // The colours a window gives a control's text and background reach every kind.
        QPalette pal = w->palette();
        if (c.GetTextColor() != ui::kDefaultColor) {
            pal.setColor(QPalette::Text, ToQColor(c.GetTextColor()));
            pal.setColor(QPalette::WindowText, ToQColor(c.GetTextColor()));
            pal.setColor(QPalette::ButtonText, ToQColor(c.GetTextColor()));
        }
        if (c.GetBkColor() != ui::kDefaultColor && !c.IsTransparent()) {
            pal.setColor(QPalette::Base, ToQColor(c.GetBkColor()));
            pal.setColor(QPalette::Window, ToQColor(c.GetBkColor()));
        }
        w->setPalette(pal);
    }
    if (auto* l = qobject_cast<QLabel*>(w)) {
        if (c.Kind() == ControlKind::Picture) {
            if (c.GetBitmap()) l->setPixmap(QPixmap::fromImage(ToImage(*c.GetBitmap())));
            else l->clear();
        } else {
            l->setText(LabelText(c.GetWindowText()));
        }
        QPalette pal = l->palette();
        if (c.GetTextColor() != ui::kDefaultColor) pal.setColor(QPalette::WindowText, ToQColor(c.GetTextColor()));
        if (c.GetBkColor() != ui::kDefaultColor && !c.IsTransparent()) {
            pal.setColor(QPalette::Window, ToQColor(c.GetBkColor()));
            l->setAutoFillBackground(true);
        }
        l->setPalette(pal);
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (e->text() != text) e->setText(text);
        if (e->isReadOnly() != c.IsReadOnly()) {
            e->setReadOnly(c.IsReadOnly());
            // A read-only edit shows the dialog's background, as on Windows.
            QPalette pal = e->palette();
            pal.setColor(QPalette::Base, c.IsReadOnly() ? e->parentWidget()->palette().color(QPalette::Window)
                                                         : QApplication::palette().color(QPalette::Base));
            e->setPalette(pal);
        }
        if (aspect == Aspect::Caret) e->setSelection(c.GetSelStart(), c.GetSelEnd() - c.GetSelStart());
        else if (aspect == Aspect::Text) e->setCursorPosition(int(text.size()));
    } else if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) {
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (pe->toPlainText() != shown) pe->setPlainText(shown);
        pe->setReadOnly(c.IsReadOnly());
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        // A push button with a bitmap shows the bitmap alone, as a bitmap button does, and
        // keeps the mnemonic of its text ("&Cancel": Alt+C presses it wherever the focus is).
        const bool bitmapOnly = c.GetBitmap() && qobject_cast<QPushButton*>(w);
        b->setText(bitmapOnly ? QString() : text);
        if (bitmapOnly && b->shortcut() != QKeySequence::mnemonic(text)) b->setShortcut(QKeySequence::mnemonic(text));
        b->setChecked(c.GetCheck() != 0);
        if (c.GetBitmap()) {  // a bitmap button
            const QPixmap pm = QPixmap::fromImage(ToImage(*c.GetBitmap()));
            b->setIcon(QIcon(pm));
            b->setIconSize(pm.size());
        }
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        g->setTitle(LabelText(c.GetWindowText()));
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (aspect == Aspect::Items || combo->count() != static_cast<ui::ListControl&>(c).GetCount())
            SyncItems(c, w);
        combo->setCurrentIndex(static_cast<ui::ListControl&>(c).GetCurSel());
        if (combo->isEditable() && combo->currentText() != text) combo->setEditText(text);
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        if (aspect == Aspect::Items || list->count() != static_cast<ui::ListControl&>(c).GetCount())
            SyncItems(c, w);
        list->setCurrentRow(static_cast<ui::ListControl&>(c).GetCurSel());
        if (static_cast<ui::ListControl&>(c).GetCurSel() < 0) list->clearSelection();
    } else if (qobject_cast<QTabBar*>(w)) {
        SyncItems(c, w);
        if (onTabChanged) onTabChanged(c);
    } else if (auto* table = qobject_cast<QTableWidget*>(w)) {
        if (aspect == Aspect::Scroll) {
            table->verticalScrollBar()->setValue(static_cast<ui::ListView&>(c).GetTopIndex());
            table->horizontalScrollBar()->setValue(static_cast<ui::ListView&>(c).GetScrollX());
        } else if (aspect == Aspect::Rows || aspect == Aspect::Columns || aspect == Aspect::Selection ||
                   aspect == Aspect::Text || aspect == Aspect::Style) {
            if (aspect == Aspect::Columns) FitListScale(static_cast<ui::ListView&>(c), table);
            SyncListView(c, w, aspect == Aspect::Rows || aspect == Aspect::Selection ? index : -1);
            table->setShowGrid(c.HasStyle(ui::style::kGridLines));
            const auto mode = c.HasStyle(ui::style::kExtendedSel) ? QAbstractItemView::ExtendedSelection
                                                                  : QAbstractItemView::SingleSelection;
            if (table->selectionMode() != mode) table->setSelectionMode(mode);
        }
    } else if (qobject_cast<QTreeWidget*>(w)) {
        if (aspect != Aspect::Focus && aspect != Aspect::Enabled && aspect != Aspect::Visible &&
            aspect != Aspect::Geometry)
            SyncTree(c, w);
    } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
        spin->setRange(std::min(c.GetRangeLower(), c.GetRangeUpper()),
                       std::max(c.GetRangeLower(), c.GetRangeUpper()));
        spin->setValue(c.GetPos());
    } else if (auto* bar = qobject_cast<QProgressBar*>(w)) {
        bar->setRange(c.GetRangeLower(), c.GetRangeUpper());
        bar->setValue(c.GetPos());
    }
    if (aspect == Aspect::Geometry || aspect == Aspect::Style) Place(c, w);
    if (aspect == Aspect::Visible) w->setVisible(c.IsWindowVisible());
    if (aspect == Aspect::Focus && c.HasFocus() && !w->hasFocus()) {
        FocusSync sync;
        w->setFocus(Qt::OtherFocusReason);
    }
}

void WidgetBinding::ControlChanged(ui::Control& control, Aspect aspect, int index) {
    Sync(control, aspect, index);
}

void WidgetBinding::CaptionChanged() {
    if (onCaption) onCaption();
}

void WidgetBinding::Invalidate() {
    if (m_container) m_container->update();
}

void WidgetBinding::WindowShown(bool show) {
    if (onShown) onShown(show);
}

void WidgetBinding::WindowMoved() {
    if (onMoved) onMoved();
}

void WidgetBinding::Ended(int result) {
    if (onEnded) onEnded(result);
}

void WidgetBinding::Destroyed() {
    if (onDestroyed) onDestroyed();
}

// ---------------------------------------------------------------------------------------

DialogWidget::DialogWidget(ui::Dialog& m, QWidget* parent)
    : QDialog(parent), model(m), binding(m, this) {
    const ui::DialogTemplate& t = model.Template();
    // Only the buttons the template gives: no minimise or maximise on a dialog.
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    if (!(t.styles & ui::dlgstyle::kCaption)) flags |= Qt::FramelessWindowHint;
    else {
        flags |= Qt::WindowTitleHint;
        if (t.styles & ui::dlgstyle::kSysMenu) flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    }
    setWindowFlags(flags);
    setFont(DialogFont(t.fontFace, t.fontPoints));
    setWindowTitle(FromAnsi(model.GetWindowText()));
    const ui::Rect client = model.GetClientRect();
    setFixedSize(std::max(1, client.Width()), std::max(1, client.Height()));
    binding.onCaption = [this]() { setWindowTitle(FromAnsi(model.GetWindowText())); };
    binding.onEnded = [this](int result) {
        closingFromModel = true;
        done(result);
    };
    binding.onShown = [this](bool show) {
        if (!show || !testAttribute(Qt::WA_ShowWithoutActivating)) {
            setVisible(show);
            return;
        }
        ShowWithoutFocus();
    };
    binding.onMoved = [this]() {
        // Wholly on the screen, whatever the place asked for: a window that hangs off
        // the edge hides its text and its close button.
        const ui::Rect r = model.GetWindowRect();
        QSize size(std::max(1, r.Width()), std::max(1, r.Height()));
        QPoint at(r.left, r.top);  // where the window's frame goes
        if (QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen()) {
            // The frame the platform draws around the window counts too.
            const QRect frame = frameGeometry(), inner = geometry();
            const QSize extra(frame.width() - inner.width(), frame.height() - inner.height());
            const QRect area = screen->availableGeometry();
            size = size.boundedTo(area.size() - extra);
            at.setX(std::clamp(at.x(), area.left(), area.right() + 1 - size.width() - extra.width()));
            at.setY(std::clamp(at.y(), area.top(), area.bottom() + 1 - size.height() - extra.height()));
        }
        setFixedSize(size);
        move(at);
    };
    binding.onTabChanged = [this](ui::Control&) { ShowActivePage(); };
    if (dynamic_cast<ui::PropertySheet*>(&model)) {
        // The sheet's page keys, wherever the focus is inside it.
        const std::pair<QKeyCombination, int> keys[] = {
            {Qt::CTRL | Qt::Key_Tab, 1},        {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1}, {Qt::CTRL | Qt::Key_PageDown, 1},
            {Qt::CTRL | Qt::Key_PageUp, -1}};
        for (const auto& [key, step] : keys) {
            auto* shortcut = new QShortcut(QKeySequence(key), this);
            shortcut->setContext(Qt::WindowShortcut);
            QObject::connect(shortcut, &QShortcut::activated, this, [this, step = step]() { StepPage(step); });
        }
    }
    if (t.styles & ui::dlgstyle::kBorder && !(t.styles & ui::dlgstyle::kCaption))
        setStyleSheet(QStringLiteral("QDialog { border: 1px solid palette(dark); }"));
}

DialogWidget::~DialogWidget() {
    m_pages.clear();
    m_oldPages.clear();
}

void DialogWidget::ShowWithoutFocus() {
    // A modeless window made before the main window was there: the main window owns it
    // now, so it stays in front of it.
    if (!parentWidget())
        for (QWidget* top : QApplication::topLevelWidgets())
            if (qobject_cast<QMainWindow*>(top) && top->isVisible()) {
                setParent(top, windowFlags());
                break;
            }
    // Where the platform activates every window it shows, the owner gets the activation
    // back (and with it the focus it had): the person goes on typing where they were.
    m_giveBackActivation = parentWidget() != nullptr;
    setVisible(true);
    QTimer::singleShot(1000, this, [this]() { m_giveBackActivation = false; });
}

bool DialogWidget::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && m_giveBackActivation) {
        m_giveBackActivation = false;
        if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr) {
            FocusSync sync;  // the model's focus never moved
            owner->activateWindow();
        }
    }
    return QDialog::event(event);
}

void DialogWidget::ShowActivePage() {
    auto* sheet = dynamic_cast<ui::PropertySheet*>(&model);
    if (!sheet) return;
    ui::Control* tab = sheet->GetDlgItem(ui::AFX_IDC_TAB_CONTROL);
    QWidget* bar = binding.WidgetOf(tab);
    if (!tab || !bar) return;
    const ui::Rect area = sheet->GetControlPixelRect(*tab);
    // The row's height with a tab in it, whatever the row holds at this moment: a page is
    // never placed over the tabs.
    QTabBar measure;
    measure.setFont(bar->font());
    measure.addTab(QStringLiteral("General"));
    const int barHeight = std::max(bar->sizeHint().height(), measure.sizeHint().height());
    bar->setGeometry(area.left, area.top, area.Width(), barHeight);
    const QRect pageArea(area.left + 1, area.top + barHeight, area.Width() - 2, area.Height() - barHeight - 1);
    for (int i = 0; i < sheet->GetPageCount(); ++i) {
        ui::PropertyPage* page = sheet->GetPage(i);
        auto it = m_pages.find(page);
        if (page->IsCreated() && it == m_pages.end()) {
            auto* host = new QWidget(this);
            host->setAutoFillBackground(true);
            auto binding = std::make_unique<WidgetBinding>(*page, host);
            binding->BuildAll();
            page->AttachPeer(binding.get());
            binding->onDestroyed = [this, page]() {
                auto found = m_pages.find(page);
                if (found == m_pages.end()) return;
                if (QWidget* c = found->second->Container()) {
                    c->hide();
                    c->deleteLater();
                }
                m_oldPages.push_back(std::move(found->second));  // still running
                m_pages.erase(found);
            };
            it = m_pages.emplace(page, std::move(binding)).first;
        }
        if (it != m_pages.end())
            if (QWidget* c = it->second->Container()) {
                c->setGeometry(pageArea);
                c->setVisible(i == sheet->GetActiveIndex());
            }
    }
    bar->raise();
}

void DialogWidget::StepPage(int step) {
    auto* sheet = dynamic_cast<ui::PropertySheet*>(&model);
    if (!sheet || sheet->GetPageCount() == 0) return;
    const int n = sheet->GetPageCount();
    sheet->UserSelectPage(((sheet->GetActiveIndex() + step) % n + n) % n);
}

void DialogWidget::reject() {
    if (closingFromModel) {
        QDialog::reject();
        return;
    }
    model.UserKey(model.GetFocus(), ui::VK_ESCAPE);
}

void DialogWidget::accept() {
    if (closingFromModel) {
        QDialog::accept();
        return;
    }
    model.UserKey(nullptr, ui::VK_RETURN);
}

void DialogWidget::closeEvent(QCloseEvent* event) {
    if (closingFromModel || !model.IsLive()) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    model.UserClose();
}

void DialogWidget::keyPressEvent(QKeyEvent* event) {
    const int vk = VirtualKey(event->key());
    if (vk == ui::VK_RETURN || vk == ui::VK_ESCAPE || vk == ui::VK_F1) {
        model.UserKey(model.GetFocus(), vk);
        return;
    }
    QDialog::keyPressEvent(event);
}

void DialogWidget::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    PaintWindow(model, this);
}

void DialogWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint pos = event->position().toPoint();
        model.UserMouseDown(pos.x(), pos.y());
        return;
    }
    QDialog::mousePressEvent(event);
}

}  // namespace qtbind
