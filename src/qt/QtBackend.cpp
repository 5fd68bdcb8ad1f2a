#include "qt/QtBackend.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEventLoop>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>
#include <QSplitter>
#include <QTextBrowser>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QUrl>
#include <QVBoxLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QCursor>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <map>

#include "platform/Paths.h"
#include "qt/QtText.h"
#include "qt/QtFrame.h"
#include "qt/QtWindows.h"
#include "ui/Menu.h"

namespace qtbind {

namespace {

// The peer of a dialog that runs without being shown.
class HiddenPeer : public ui::WindowPeer {
public:
    explicit HiddenPeer(QEventLoop& loop) : m_loop(loop) {}
    void ControlChanged(ui::Control&, ui::Aspect, int) override {}
    void ControlAdded(ui::Control&) override {}
    void ControlRemoving(ui::Control&) override {}
    void CaptionChanged() override {}
    void Invalidate() override {}
    void WindowShown(bool) override {}
    void WindowMoved() override {}
    void Ended(int) override { m_loop.quit(); }

private:
    QEventLoop& m_loop;
};

// A message box: F1 in it opens the help at the current topic, as in any dialog without
// a help handler of its own.
class HelpMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
            if (!event->isAutoRepeat()) ui::ShowHelp();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
};

// A message box is at least as wide as its caption needs in a window manager's title bar
// (the title in the title font, with room for the bar's icon and buttons): a short text
// must not leave the caption cut to "Q...".
constexpr int kTitleBarDecorations = 150;  // a window icon, three buttons, the frame's margins

void KeepRoomForCaption(QMessageBox& box) {
    QFont title = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    title.setBold(true);
    const int room = QFontMetrics(title).horizontalAdvance(box.windowTitle()) + kTitleBarDecorations;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    grid->addItem(new QSpacerItem(room, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

// A modal window closed: the keys go back to the window below it (a window manager does
// so by itself; without one the X focus would be left on no window).
QWidget* GiveKeysBack(const QPointer<QWidget>& below) {
    QWidget* to = QApplication::activeModalWidget();
    if (!to && below && below->isVisible()) to = below->window();
    if (to && !to->isActiveWindow()) to->activateWindow();
    return to;
}

QString SafeName(const std::string& text) {
    QString out;
    for (QChar c : FromAnsi(text)) out += c.isLetterOrNumber() ? c : QLatin1Char('_');
    return out.left(40);
}

// The help window: the contents beside the topic, a link in either showing its page on
// the right. Called from a dialog it belongs to that dialog while the dialog is open, so
// it stands in front of it and takes input beside it; it stays when the dialog closes.
class HelpWindow : public QWidget {
public:
    HelpWindow() : QWidget(nullptr, Qt::Window) {
        setWindowTitle(QStringLiteral("Quorvex Help"));
        auto* split = new QSplitter(this);
        m_contents = new QTextBrowser(split);
        m_contents->setObjectName(QStringLiteral("helpContents"));
        m_contents->setOpenLinks(false);
        m_topic = new QTextBrowser(split);
        m_topic->setObjectName(QStringLiteral("helpBrowser"));
        m_topic->setOpenExternalLinks(true);
        QObject::connect(m_contents, &QTextBrowser::anchorClicked, m_topic,
                         [topic = m_topic](const QUrl& url) { topic->setSource(url); });
        // The title names the page shown.
        QObject::connect(m_topic, &QTextBrowser::sourceChanged, this, [this]() {
            const QString page = m_topic->documentTitle().simplified();
            setWindowTitle(page.isEmpty() ? QStringLiteral("Quorvex Help") : page + QStringLiteral(" - Quorvex Help"));
        });
        split->setSizes({240, 660});
        // A way out of its own, for a screen without a window manager's frame.
        auto* close = new QPushButton(QStringLiteral("Close"), this);
        close->setObjectName(QStringLiteral("helpClose"));
        close->setAutoDefault(false);
        QObject::connect(close, &QPushButton::clicked, this, &QWidget::close);
        auto* buttons = new QHBoxLayout;
        buttons->setContentsMargins(6, 0, 6, 6);
        buttons->addStretch(1);
        buttons->addWidget(close);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(split, 1);
        layout->addLayout(buttons);
        resize(900, 620);
    }

    // The window the person works in, to which the keys go back when help closes.
    void SetWorkWindow(QWidget* window) { m_work = window; }

    // A modal window closed and gave the keys back to `to`. A window manager may then hand
    // them to help, left open beside it: for a moment help gives them back.
    void KeysWentBackTo(QWidget* to) {
        if (!isVisible() || !to || to->window() == this) return;
        m_work = to->window();
        m_keysBack.start();
    }

    void ShowTopic(const QString& page, const QString& contents, QWidget* caller) {
        m_keysBack.invalidate();
        const QStringList folder{QFileInfo(page).absolutePath()};
        m_topic->setSearchPaths(folder);
        m_topic->setSource(QUrl::fromLocalFile(page));
        if (!contents.isEmpty() && m_contents->source() != QUrl::fromLocalFile(contents)) {
            m_contents->setSearchPaths(folder);
            m_contents->setSource(QUrl::fromLocalFile(contents));
        }
        m_contents->setVisible(!contents.isEmpty());
        if (caller == this || (caller && caller->window() == this)) caller = parentWidget();
        if (caller) m_work = caller->window();
        const bool moved = caller != parentWidget() || !isVisible();
        if (caller != parentWidget()) BelongTo(caller && caller->isModal() ? caller : nullptr);
        FitOnScreen(caller, moved);
        show();
        raise();
        activateWindow();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The dialog it belongs to closes: it stays, on its own, and the keys go back to
        // the window below that dialog.
        if (watched == parentWidget() && event->type() == QEvent::Hide) {
            QWidget* dialog = parentWidget();
            const bool shown = m_wanted;
            if (m_work == dialog->window()) m_work = dialog->parentWidget() ? dialog->parentWidget()->window() : m_main.data();
            BelongTo(nullptr);
            if (shown) {
                // A window manager may give the focus to the help window it sees come back
                // (or to the window left on top); the keys belong to the window below.
                m_keysBack.start();
                show();
                GiveBackKeys();
            }
        }
        return false;
    }
    void showEvent(QShowEvent*) override { m_wanted = true; }
    void closeEvent(QCloseEvent*) override {
        m_wanted = false;
        GiveBackKeys();
    }
    void changeEvent(QEvent* event) override {
        QWidget::changeEvent(event);
        if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_keysBack.isValid() &&
            m_keysBack.elapsed() < 1000)
            GiveBackKeys();
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            close();
            return;
        }
        QWidget::keyPressEvent(event);
    }

public:
    // The main window: where the keys go when no other window is left to take them.
    void SetMainWindow(QWidget* main) { m_main = main; }

private:
    void GiveBackKeys() {
        if (!m_wanted) m_keysBack.invalidate();
        // Once the window system has dealt with the window that went: a modal dialog still
        // open comes first, then the window the person worked in, then the main window.
        QTimer::singleShot(0, this, [this]() {
            QWidget* to = QApplication::activeModalWidget();
            if (!to && m_work && m_work->isVisible() && m_work != this) to = m_work;
            if (!to && m_main && m_main->isVisible()) to = m_main;
            if (!to) return;
            to->activateWindow();
            to->raise();
        });
    }

private:
    void BelongTo(QWidget* owner) {
        // A window that itself belongs to this one cannot own it: it stays on its own.
        for (QWidget* w = owner; w; w = w->parentWidget())
            if (w == this) owner = nullptr;
        if (QWidget* old = parentWidget()) old->removeEventFilter(this);
        const QRect place = geometry();
        // Owned, it is a dialog's window: the window system keeps it in front of its owner.
        setParent(owner, owner ? Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint : Qt::Window);
        setGeometry(place);
        if (owner) owner->installEventFilter(this);
    }

    // Wholly inside the screen's free area, frame and all; centred on the caller when it
    // is placed anew.
    void FitOnScreen(QWidget* caller, bool centre) {
        QScreen* screen = caller ? caller->screen() : QGuiApplication::primaryScreen();
        if (!screen) return;
        const QRect area = screen->availableGeometry();
        // The window manager's frame once known, else room for a title bar.
        QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                       frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom());
        if (frame.isNull()) frame = QMargins(4, 32, 4, 4);
        const int w = std::min(width(), area.width() - frame.left() - frame.right());
        const int h = std::min(height(), area.height() - frame.top() - frame.bottom());
        QPoint at = geometry().topLeft();
        if (centre) {
            const QRect over = caller ? caller->window()->frameGeometry() : area;
            at = over.center() - QPoint(w / 2, h / 2);
        }
        at.setX(std::clamp(at.x(), area.left() + frame.left(), area.right() + 1 - frame.right() - w));
        at.setY(std::clamp(at.y(), area.top() + frame.top(), area.bottom() + 1 - frame.bottom() - h));
        setGeometry(QRect(at, QSize(w, h)));
    }

    QTextBrowser* m_contents;
    QTextBrowser* m_topic;
    bool m_wanted = false;
    QPointer<QWidget> m_work, m_main;
    QElapsedTimer m_keysBack;  // since the dialog that asked for help closed
};

}  // namespace

struct QtBackend::Impl {
    std::string shotFolder;
    std::function<void(ui::Dialog&)> shownHook;
    std::function<int(const std::string&, const std::string&, unsigned)> boxHook;
    bool autoClose = false;
    std::vector<std::string> shots;
    int shotCount = 0;
    std::map<const ui::Window*, QPointer<QDialog>> shown;
    std::map<std::pair<ui::Window*, int>, QTimer*> timers;
    std::map<ui::Dialog*, DialogWidget*> modeless;
    std::map<const ui::Frame*, QPointer<FrameWidget>> frames;
    QPointer<QWidget> helpWindow;

    void KeysBackTo(const QPointer<QWidget>& below) {
        QWidget* to = GiveKeysBack(below);
        if (helpWindow) static_cast<HelpWindow*>(helpWindow.data())->KeysWentBackTo(to);
    }
    // The context of every connection that reaches back into the backend: it goes first,
    // and they end with it.
    QObject context;

    QWidget* ParentWidget() const {
        if (QWidget* modal = QApplication::activeModalWidget()) return modal;
        QWidget* active = QApplication::activeWindow();
        // The help window owns none of the program's windows: they belong to the main window.
        if (active && active == helpWindow.data()) {
            active = nullptr;
            for (const auto& [model, frame] : frames)
                if (frame) active = frame;
        }
        return active;
    }

    std::string NextShotPath(const QString& what) {
        if (shotFolder.empty()) return std::string();
        QDir().mkpath(QString::fromStdString(shotFolder));
        const QString name = QStringLiteral("%1-%2.png").arg(++shotCount, 2, 10, QLatin1Char('0')).arg(what);
        return (QDir(QString::fromStdString(shotFolder)).filePath(name)).toStdString();
    }

    void Shoot(QWidget* w, const QString& what) {
        const std::string path = NextShotPath(what);
        if (path.empty()) return;
        QApplication::processEvents();
        if (w->grab().save(QString::fromStdString(path))) shots.push_back(path);
    }
};

QtBackend::QtBackend() : m(std::make_unique<Impl>()) {}

QtBackend::~QtBackend() {
    for (auto& [key, timer] : m->timers) delete timer;
    delete m->helpWindow.data();
    if (&ui::GetBackend() == this) ui::SetBackend(nullptr);
}

void QtBackend::SetScreenshotFolder(const std::string& folder) { m->shotFolder = folder; }
void QtBackend::SetShownHook(std::function<void(ui::Dialog&)> hook) { m->shownHook = std::move(hook); }
void QtBackend::SetMessageBoxHook(
    std::function<int(const std::string&, const std::string&, unsigned)> hook) {
    m->boxHook = std::move(hook);
}
void QtBackend::SetAutoClose(bool on) { m->autoClose = on; }
const std::vector<std::string>& QtBackend::Screenshots() const { return m->shots; }

bool QtBackend::GrabDialog(const ui::Dialog& dialog, const std::string& pngPath) {
    auto it = m->shown.find(&dialog);
    if (it == m->shown.end() || !it->second || !it->second->isVisible()) return false;
    QApplication::processEvents();
    return it->second->grab().save(QString::fromStdString(pngPath));
}

int QtBackend::RunModal(ui::Dialog& dialog) {
    const ui::DialogTemplate& t = dialog.Template();
    int bx = 6, by = 13;
    BaseUnits(DialogFont(t.fontFace, t.fontPoints), bx, by);
    dialog.SetBaseUnits(bx, by);
    if (!dialog.BeginModal()) return dialog.GetResult();

    if (t.styles & ui::dlgstyle::kHidden) {
        QEventLoop loop;
        HiddenPeer peer(loop);
        dialog.AttachPeer(&peer);
        if (!dialog.IsEnded()) loop.exec();
        dialog.AttachPeer(nullptr);
        return dialog.GetResult();
    }

    QPointer<QWidget> below = m->ParentWidget();
    auto* w = new DialogWidget(dialog, below);
    w->binding.BuildAll();
    dialog.AttachPeer(&w->binding);
    m->shown[&dialog] = w;
    QPointer<DialogWidget> guard(w);
    QTimer::singleShot(0, w, [this, guard, &dialog]() {
        if (!guard || dialog.IsEnded()) return;
        QString what = QStringLiteral("dialog-%1").arg(dialog.GetTemplateId());
        if (!dialog.GetWindowText().empty()) what += QLatin1Char('-') + SafeName(dialog.GetWindowText());
        m->Shoot(guard, what);
        if (m->shownHook && guard && !dialog.IsEnded()) m->shownHook(dialog);
        if (m->autoClose && guard && !dialog.IsEnded()) dialog.UserClose();
    });
    if (!dialog.IsEnded()) w->exec();
    m->shown.erase(&dialog);
    dialog.AttachPeer(nullptr);
    delete w;
    m->KeysBackTo(below);
    return dialog.GetResult();
}

void QtBackend::ShowModeless(ui::Dialog& dialog) {
    const ui::DialogTemplate& t = dialog.Template();
    int bx = 6, by = 13;
    BaseUnits(DialogFont(t.fontFace, t.fontPoints), bx, by);
    dialog.SetBaseUnits(bx, by);
    // Owned by the main window (or the dialog in front), so it stays above it; it comes
    // up without taking the focus from where the person types.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner)
        for (auto& [model, frame] : m->frames)
            if (frame) owner = frame;
    if (!owner) owner = m->ParentWidget();
    auto* w = new DialogWidget(dialog, owner);
    w->setModal(false);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->binding.BuildAll();
    dialog.AttachPeer(&w->binding);
    m->modeless[&dialog] = w;
    m->shown[&dialog] = w;
    // A modeless window is a child of the main window and goes with it: then the model
    // must no longer reach it.
    ui::Dialog* model = &dialog;
    QObject::connect(w, &QObject::destroyed, &m->context, [this, model]() {
        auto it = m->modeless.find(model);
        if (it == m->modeless.end()) return;  // the model let go of it first
        model->AttachPeer(nullptr);
        m->modeless.erase(it);
        m->shown.erase(model);
    });
    if (dialog.IsWindowVisible()) w->show();
}

void QtBackend::DestroyModeless(ui::Dialog& dialog) {
    auto it = m->modeless.find(&dialog);
    if (it == m->modeless.end()) return;
    dialog.AttachPeer(nullptr);
    it->second->binding.Detach();  // the widget goes later, when the model may be gone
    it->second->hide();
    it->second->deleteLater();
    m->modeless.erase(it);
    m->shown.erase(&dialog);
}

void QtBackend::ShowFrame(ui::Frame& frame) {
    auto* w = new FrameWidget(frame);
    m->frames[&frame] = w;
    if (frame.ShowMaximized()) {
        // Where no window manager acts on the request the window still fills the screen.
        if (QScreen* screen = QGuiApplication::primaryScreen()) w->setGeometry(screen->availableGeometry());
        w->showMaximized();
    } else {
        w->show();
    }
}

void QtBackend::DestroyFrame(ui::Frame& frame) {
    auto it = m->frames.find(&frame);
    if (it == m->frames.end()) return;
    if (FrameWidget* w = it->second) {
        w->closingFromModel = true;
        w->Detach();
        w->hide();
        w->deleteLater();
    }
    m->frames.erase(it);
}

bool QtBackend::GrabFrame(const ui::Frame& frame, const std::string& pngPath) {
    auto it = m->frames.find(&frame);
    if (it == m->frames.end() || !it->second) return false;
    QApplication::processEvents();
    return it->second->grab().save(QString::fromStdString(pngPath));
}

int QtBackend::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    QPointer<QWidget> below = m->ParentWidget();
    HelpMessageBox box(below);
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    box.setWindowTitle(FromAnsi(caption.empty() ? std::string(ui::kProgramName) : caption));
    box.setText(FromAnsi(text));
    switch (flags & ui::MB_ICONMASK) {
        case ui::MB_ICONHAND: box.setIcon(QMessageBox::Critical); break;
        case ui::MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
        case ui::MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
        case ui::MB_ICONASTERISK: box.setIcon(QMessageBox::Information); break;
        default: break;
    }
    std::vector<std::pair<QMessageBox::StandardButton, int>> buttons;
    switch (flags & ui::MB_TYPEMASK) {
        case ui::MB_OKCANCEL: buttons = {{QMessageBox::Ok, ui::IDOK}, {QMessageBox::Cancel, ui::IDCANCEL}}; break;
        case ui::MB_ABORTRETRYIGNORE:
            buttons = {{QMessageBox::Abort, ui::IDABORT}, {QMessageBox::Retry, ui::IDRETRY},
                       {QMessageBox::Ignore, ui::IDIGNORE}};
            break;
        case ui::MB_YESNOCANCEL:
            buttons = {{QMessageBox::Yes, ui::IDYES}, {QMessageBox::No, ui::IDNO}, {QMessageBox::Cancel, ui::IDCANCEL}};
            break;
        case ui::MB_YESNO: buttons = {{QMessageBox::Yes, ui::IDYES}, {QMessageBox::No, ui::IDNO}}; break;
        case ui::MB_RETRYCANCEL: buttons = {{QMessageBox::Retry, ui::IDRETRY}, {QMessageBox::Cancel, ui::IDCANCEL}}; break;
        default: buttons = {{QMessageBox::Ok, ui::IDOK}}; break;
    }
    QMessageBox::StandardButtons set;
    for (auto& b : buttons) set |= b.first;
    box.setStandardButtons(set);
    const size_t def = std::min(buttons.size() - 1, size_t((flags & ui::MB_DEFMASK) >> 8));
    box.setDefaultButton(buttons[def].first);
    // Escape answers Cancel where there is one, OK for a box with OK only.
    for (auto& b : buttons)
        if (b.second == ui::IDCANCEL || (buttons.size() == 1)) box.setEscapeButton(b.first);
    // Last: setting the icon or the buttons lays the box out again, dropping what came before.
    KeepRoomForCaption(box);

    if (!m->shotFolder.empty()) {
        box.show();
        m->Shoot(&box, QStringLiteral("message-") + SafeName(text.substr(0, 30)));
    }
    if (m->boxHook) return m->boxHook(text, caption, flags);
    if (m->autoClose) return buttons[def].second;
    box.exec();
    box.hide();
    m->KeysBackTo(below);
    const auto clicked = box.standardButton(box.clickedButton());
    for (auto& b : buttons)
        if (b.first == clicked) return b.second;
    // Closed without a button: Windows answers Cancel (or OK for an OK box).
    for (auto& b : buttons)
        if (b.second == ui::IDCANCEL) return ui::IDCANCEL;
    return buttons.size() == 1 ? ui::IDOK : buttons.back().second;
}

bool QtBackend::RunFileDialog(ui::FileDialog& dialog) {
    if (m->autoClose) return false;
    QStringList filters;
    for (const auto& [name, patterns] : dialog.FilterPairs()) {
        QString n = FromAnsi(name);
        const qsizetype paren = n.indexOf(QLatin1Char('('));
        if (paren > 0) n = n.left(paren).trimmed();
        QString p = FromAnsi(patterns);
        p.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(n, p.simplified());
    }
    QFileDialog fd(m->ParentWidget(), FromAnsi(dialog.Title()));
    fd.setOption(QFileDialog::DontUseNativeDialog, true);
    fd.setAcceptMode(dialog.IsOpen() ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    fd.setFileMode(dialog.IsOpen() ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!filters.isEmpty()) fd.setNameFilters(filters);
    if (!dialog.DefaultExt().empty()) fd.setDefaultSuffix(FromAnsi(dialog.DefaultExt()));
    if (!dialog.InitialDir().empty())
        fd.setDirectory(QString::fromStdString(platform::ResolvePath(dialog.InitialDir())));
    if (!dialog.FileName().empty()) fd.selectFile(FromAnsi(dialog.FileName()));
    if (!dialog.IsOpen() && !(dialog.Flags() & ui::OFN_OVERWRITEPROMPT))
        fd.setOption(QFileDialog::DontConfirmOverwrite, true);
    QPointer<QWidget> below = m->ParentWidget();
    const int accepted = fd.exec();
    fd.hide();
    m->KeysBackTo(below);
    if (accepted != QDialog::Accepted || fd.selectedFiles().isEmpty()) return false;
    dialog.SetChosenPath(ToAnsi(fd.selectedFiles().front()));
    return true;
}

void QtBackend::SetTimer(ui::Window& window, int id, int ms) {
    auto key = std::make_pair(&window, id);
    QTimer*& timer = m->timers[key];
    if (!timer) {
        timer = new QTimer;
        ui::Window* w = &window;
        QObject::connect(timer, &QTimer::timeout, [w, id]() { w->FireTimer(id); });
    }
    timer->start(std::max(ms, 0));
}

void QtBackend::KillTimer(ui::Window& window, int id) {
    auto it = m->timers.find(std::make_pair(&window, id));
    if (it == m->timers.end()) return;
    it->second->stop();
    it->second->deleteLater();  // it may be inside its own timeout
    m->timers.erase(it);
}

void QtBackend::SetWaitCursor(bool on) {
    if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
}

void QtBackend::SetClipboardText(const std::string& text) {
    QApplication::clipboard()->setText(FromAnsi(text));
}

std::string QtBackend::GetClipboardText() { return ToAnsi(QApplication::clipboard()->text()); }

bool QtBackend::ShowHelpPage(const std::string& path, const std::string& contents) {
    // One help window that stays open beside the program and shows each topic asked for.
    if (!m->helpWindow) m->helpWindow = new HelpWindow;
    auto* window = static_cast<HelpWindow*>(m->helpWindow.data());
    for (const auto& [model, frame] : m->frames)
        if (frame) window->SetMainWindow(frame);
    window->ShowTopic(QString::fromStdString(path), QString::fromStdString(contents), m->ParentWidget());
    if (!m->shotFolder.empty()) m->Shoot(window, QStringLiteral("help-") + SafeName(QFileInfo(QString::fromStdString(path)).fileName().toStdString()));
    if (m->autoClose) window->close();
    return true;
}

// Paint and timers only: a click or a key waits until the program is ready for it, as
// on a platform whose windows see no input while a transfer holds the program.
void QtBackend::ProcessPendingEvents() {
    // Input held back here waits on the X side until the next X event comes (a key alone is
    // then not heard before the step ends), so it is let through whenever it is welcome.
    QApplication::processEvents(ui::InputDuringWaits() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

void QtBackend::WindowDestroyed(ui::Window& window) {
    for (auto it = m->timers.begin(); it != m->timers.end();) {
        if (it->first.first == &window) {
            it->second->stop();
            it->second->deleteLater();
            it = m->timers.erase(it);
        } else {
            ++it;
        }
    }
    m->shown.erase(&window);
}

}  // namespace qtbind

namespace qtbind {

namespace {
void FillMenu(QMenu& target, const ui::Menu& menu) {
    for (const ui::Menu::Item& item : menu.Items()) {
        if (item.flags & ui::MF_SEPARATOR) {
            target.addSeparator();
        } else if ((item.flags & ui::MF_POPUP) && item.popup) {
            FillMenu(*target.addMenu(FromAnsi(item.text)), *item.popup);
        } else {
            QAction* action = target.addAction(FromAnsi(item.text));
            action->setData(item.id);
            action->setEnabled(!(item.flags & (ui::MF_GRAYED | ui::MF_DISABLED)));
            action->setCheckable(item.flags & ui::MF_CHECKED);
            action->setChecked(item.flags & ui::MF_CHECKED);
        }
    }
}
}  // namespace

int QtBackend::TrackPopupMenu(const ui::Menu& menu) {
    if (m->autoClose) return 0;  // screenshot runs choose nothing
    QMenu popup;
    FillMenu(popup, menu);
    QAction* chosen = popup.exec(QCursor::pos());
    return chosen ? chosen->data().toInt() : 0;
}

}  // namespace qtbind
