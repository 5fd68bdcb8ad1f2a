// The main window on the sample tree, walked from the product level to the project
// level as a person would, with a screenshot of each level; and its keys pressed on the
// real widgets: every key a menu shows fires its command where the command is enabled
// and nothing where it is not; Alt+T reaches the hardware test before "&Tools"; F1
// wherever the focus is opens the help window at that screen's topic.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMainWindow>
#include <QScreen>
#include <QKeySequence>
#include <QMenu>
#include <QStatusBar>
#include <QTest>

#include <QAbstractItemView>
#include <QComboBox>
#include <QMessageBox>
#include <QTimer>
#include <QPushButton>
#include <map>
#include <QTextBrowser>
#include <QWindow>

#include "app/InputViews.h"
#include "editor/BlockExView.h"
#include "tables/DBViewClass1.h"
#include "tables/DBViewClass2.h"
#include "tables/IdbPane.h"
#include "qt/QtWindows.h"
#include "app/MainFrame.h"
#include "model/RunTimeState.h"
#include "editor/NewBlockExView.h"
#include "plc/PlcRegisterTables.h"
#include "qt/QtBackend.h"
#include "res/FrameResource.h"
#include "res/ShellResource.h"
#include "res/TablesResource.h"
#include "res/PortSettingsResource.h"
#include "TestSupport.h"
#include "ui/Dialog.h"

namespace {

ui::HTREEITEM Find(ui::TreeView& t, const std::string& text, ui::HTREEITEM parent = ui::TVI_ROOT) {
    for (ui::HTREEITEM item : t.GetChildren(parent)) {
        if (t.GetItemText(item) == text) return item;
        if (ui::HTREEITEM inner = Find(t, text, item)) return inner;
    }
    return 0;
}

// Counts the pixels of a screenshot that are neither white nor the background grey.
int InkPixels(const std::string& path) {
    QImage image(QString::fromStdString(path));
    int ink = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            if (qGray(image.pixel(x, y)) < 100) ++ink;
    return ink;
}

// Lets the window system act (activation, focus) and the program answer.
void Settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QTest::qWait(40);
    }
}

// Whether `w` becomes the active window with the keys; a window manager hands the focus on
// in its own time.
bool KeysAt(QWidget* w) {
    return QTest::qWaitFor(
        [w] { return QApplication::activeWindow() == w && QGuiApplication::focusWindow() == w->windowHandle(); },
        3000);
}

QMainWindow* MainWidget() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMainWindow*>(w); m && m->isVisible()) return m;
    return nullptr;
}

// Loads the frame, waits until the splash has gone and the product level stands, and gives
// the main window the keys.
void OpenAtProductLevel(CMainFrame& frame, QMainWindow*& window) {
    ASSERT_TRUE(frame.LoadFrame());
    for (int i = 0; i < 100 && g_nStartScreen != 1; ++i) QTest::qWait(50);
    ASSERT_EQ(g_nStartScreen, 1);
    window = MainWidget();
    ASSERT_NE(window, nullptr);
    window->activateWindow();
    QApplication::processEvents();
}

// At the protocol level: Modbus RTU Master on COM1, `com2` (Compact Series) on COM2.
void PickProtocols(CMainFrame& frame, const char* com2Protocol = "Compact Series") {
    auto* com1 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 0));
    auto* com2 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 1));
    ASSERT_NE(com1, nullptr);
    ASSERT_NE(com2, nullptr);
    ASSERT_TRUE(com1->Tree()->UserSelect(Find(*com1->Tree(), "Modbus RTU Master")));
    ASSERT_TRUE(com2->Tree()->UserSelect(Find(*com2->Tree(), com2Protocol)));
    QApplication::processEvents();
}

TEST(MainWindow, ProductProtocolAndProjectLevels) {
    testsupport::SampleTree tree;
    qtbind::QtBackend backend;
    backend.SetAutoClose(true);  // the splash closes by itself
    ui::SetBackend(&backend);
    const std::string dir = std::string(QUORVEX_SHOT_DIR);
    QDir().mkpath(QString::fromStdString(dir));
    {
        CMainFrame frame;
        ASSERT_TRUE(frame.LoadFrame());
        for (int i = 0; i < 100 && g_nStartScreen != 1; ++i) QTest::qWait(50);
        ASSERT_EQ(g_nStartScreen, 1);
        QApplication::processEvents();
        ASSERT_TRUE(backend.GrabFrame(frame, dir + "/1-product-level.png"));
        EXPECT_GT(InkPixels(dir + "/1-product-level.png"), 200);
        // Maximised also where no window manager acts on the request (offscreen has
        // none); the title is the first product's name and nothing more.
        QMainWindow* window = MainWidget();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->frameGeometry(), window->screen()->availableGeometry());
        EXPECT_EQ(frame.GetWindowText(), "QVX-00");
        EXPECT_EQ(window->windowTitle(), QString("QVX-00"));

        auto* products = dynamic_cast<CInputView2*>(frame.GetSplitter().GetPane(0, 0));
        ASSERT_NE(products, nullptr);
        ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), "QVX-S7")));
        QApplication::processEvents();
        ASSERT_NO_FATAL_FAILURE(PickProtocols(frame));
        ASSERT_TRUE(backend.GrabFrame(frame, dir + "/2-protocol-level.png"));
        EXPECT_GT(InkPixels(dir + "/2-protocol-level.png"), 200);

        ASSERT_TRUE(frame.UserCommand(ID_CONFIGURE_PROJECT));
        QApplication::processEvents();
        EXPECT_NE(g_pNewBlockExView, nullptr);
        ASSERT_TRUE(backend.GrabFrame(frame, dir + "/3-project-level.png"));
        frame.DestroyWindow();
    }
    g_PlcRegisterTables.ResetProject();
    ui::SetBackend(nullptr);
}

// Records the commands that reach the frame; passes them on only when told to.
class RecordingFrame : public CMainFrame {
public:
    std::vector<int> fired;
    bool forward = true;
    bool OnCommand(int id) override {
        fired.push_back(id);
        return forward ? CMainFrame::OnCommand(id) : true;
    }
};

// The keys the menu shows beside its items ("...\tCtrl+P" or "...   Ctrl+S").
void ShownKeys(const ui::Menu& menu, std::vector<std::pair<int, QKeySequence>>& out) {
    for (const ui::Menu::Item& item : menu.Items()) {
        if (item.popup) ShownKeys(*item.popup, out);
        const size_t at = item.text.find("Ctrl+");
        if (item.id > 0 && at != std::string::npos)
            out.emplace_back(item.id, QKeySequence(QString::fromStdString(item.text.substr(at))));
    }
}

void Press(QMainWindow* window, const QKeyCombination& key) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
    QApplication::processEvents();
}

// Presses every key the frame's menu shows and checks what reached the frame.
void CheckShownKeys(RecordingFrame& frame, QMainWindow* window, const char* level) {
    std::vector<std::pair<int, QKeySequence>> keys;
    ShownKeys(*frame.GetMenu(), keys);
    ASSERT_FALSE(keys.empty()) << level;
    frame.forward = false;
    for (const auto& [id, sequence] : keys) {
        const ui::Menu::Item* item = frame.GetMenu()->FindCommand(id);
        const bool enabled = frame.QueryCommand(id).IsEnabled() && !(item->flags & ui::MF_GRAYED);
        frame.fired.clear();
        Press(window, sequence[0]);
        EXPECT_EQ(frame.fired, enabled ? std::vector<int>{id} : std::vector<int>{})
            << level << ": " << sequence.toString().toStdString() << " for " << item->text;
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
    frame.forward = true;
}

TEST(MainWindowKeys, MenuKeysFireTheirCommandsAtEachLevelAndAltTOpensTheHardwareTest) {
    testsupport::SampleTree tree;
    qtbind::QtBackend backend;
    backend.SetAutoClose(true);
    std::vector<int> dialogs;
    backend.SetShownHook([&](ui::Dialog& d) { dialogs.push_back(d.GetTemplateId()); });
    ui::SetBackend(&backend);
    {
        RecordingFrame frame;
        QMainWindow* window = nullptr;
        ASSERT_NO_FATAL_FAILURE(OpenAtProductLevel(frame, window));
        CheckShownKeys(frame, window, "product level");

        auto* products = dynamic_cast<CInputView2*>(frame.GetSplitter().GetPane(0, 0));
        ASSERT_NE(products, nullptr);
        ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), "QVX-S7")));
        QApplication::processEvents();

        // Alt+T: the hardware test, not the Tools menu.
        frame.fired.clear();
        dialogs.clear();
        Press(window, QKeyCombination(Qt::AltModifier, Qt::Key_T));
        EXPECT_EQ(frame.fired, std::vector<int>{ID_GUARDED_FEATURE});
        EXPECT_EQ(dialogs, std::vector<int>{218});
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

        ASSERT_NO_FATAL_FAILURE(PickProtocols(frame));
        frame.fired.clear();
        Press(window, QKeyCombination(Qt::ControlModifier, Qt::Key_R));  // Configure Project
        EXPECT_EQ(frame.fired, std::vector<int>{ID_CONFIGURE_PROJECT});
        ASSERT_EQ(frame.GetMenu(), frame.ProjectMenu().get());
        CheckShownKeys(frame, window, "project level");
        // A command's prompt shows in the status bar while its menu item is highlighted.
        for (QAction* a : window->findChildren<QAction*>())
            if (a->data().toInt() == ID_FILE_SAVE_PROJECT && qobject_cast<QMenu*>(a->parent())) {
                a->showStatusText(window);
                EXPECT_EQ(window->statusBar()->currentMessage(), QString("To Save a Project"));
            }
        frame.DestroyWindow();
    }
    g_PlcRegisterTables.ResetProject();
    ui::SetBackend(nullptr);
}

// The widget showing a control of the main window.
QWidget* WidgetOf(QWidget* window, const ui::Control* control) {
    for (QWidget* w : window->findChildren<QWidget*>())
        if (qtbind::ControlOfWidget(w) == control) return w;
    return nullptr;
}

QTextBrowser* HelpPane(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = w->findChild<QTextBrowser*>(name); b && b->isVisible()) return b;
    for (QWidget* w : QApplication::allWidgets())
        if (auto* b = qobject_cast<QTextBrowser*>(w); b && b->objectName() == name && b->isVisible()) return b;
    return nullptr;
}

// The page the help window shows, "" when it is not open.
std::string ShownHelp() {
    QTextBrowser* topic = HelpPane("helpBrowser");
    return topic ? topic->source().fileName().toStdString() : std::string();
}

// F1 with the focus on a widget, as X delivers it: to the top-level window, which
// hands it to the widget that has the focus. The help window's page then.
std::string F1Into(QWidget* focus) {
    if (QTextBrowser* topic = HelpPane("helpBrowser")) topic->window()->close();
    if (!focus || !focus->window()->windowHandle()) return "no widget";
    focus->window()->activateWindow();
    focus->setFocus();
    QApplication::processEvents();
    QTest::keyClick(focus->window()->windowHandle(), Qt::Key_F1);
    QApplication::processEvents();
    return ShownHelp();
}

// F1 with the focus on the control's widget.
std::string F1On(QMainWindow* window, const ui::Control& control) { return F1Into(WidgetOf(window, &control)); }

TEST(MainWindowHelp, F1EverywhereHelpFromADialogInFrontAndTheCallersTopicBack) {
    testsupport::SampleTree tree;
    qtbind::QtBackend backend;
    backend.SetAutoClose(true);
    std::vector<int> dialogs;
    std::function<void(ui::Dialog&)> inDialog;
    backend.SetShownHook([&](ui::Dialog& d) {
        dialogs.push_back(d.GetTemplateId());
        if (inDialog) inDialog(d);
    });
    ui::SetBackend(&backend);
    {
        RecordingFrame frame;
        QMainWindow* window = nullptr;
        ASSERT_NO_FATAL_FAILURE(OpenAtProductLevel(frame, window));
        backend.SetAutoClose(false);

        auto* products = dynamic_cast<CInputView2*>(frame.GetSplitter().GetPane(0, 0));
        ASSERT_NE(products, nullptr);
        EXPECT_EQ(F1On(window, *products->Tree()), "products.htm");
        // The contents stand beside the topic.
        EXPECT_EQ(HelpPane("helpBrowser")->window()->windowTitle(), QString("Product Selection - Quorvex Help"));
        QTextBrowser* contents = HelpPane("helpContents");
        ASSERT_NE(contents, nullptr);
        EXPECT_EQ(contents->source().fileName(), QString("index.htm"));

        // Ethernet Download works at the product level (asked in the main window, which a
        // window manager may not hand the keys back to at once from the help just shown).
        window->activateWindow();
        ASSERT_TRUE(KeysAt(window));
        frame.fired.clear();
        dialogs.clear();
        inDialog = [](ui::Dialog& d) { d.UserClose(); };
        Press(window, QKeyCombination(Qt::ControlModifier, Qt::Key_H));
        EXPECT_EQ(frame.fired, std::vector<int>{ID_ETHERNET_DOWNLOAD});
        EXPECT_EQ(dialogs, std::vector<int>{403});
        // The dialog closed: the keys are the main window's again (also where no window
        // manager hands the focus on).
        EXPECT_TRUE(KeysAt(window));

        // F1 in a dialog: the help stands in front of the dialog, wholly on the screen, and
        // stays when the dialog closes; the product level's topic is then back.
        std::string inside;
        bool inFront = false, onScreen = false, escapeClosed = false, backToDialog = false;
        inDialog = [&](ui::Dialog& d) {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog) QTest::keyClick(dialog->windowHandle(), Qt::Key_F1);
            QApplication::processEvents();
            inside = ShownHelp();
            if (QTextBrowser* topic = HelpPane("helpBrowser"); topic && dialog) {
                QWidget* help = topic->window();
                inFront = help->windowHandle() && help->windowHandle()->transientParent() == dialog->windowHandle();
                onScreen = help->screen()->availableGeometry().contains(help->frameGeometry());
                // Escape closes the help (a screen without a window manager gives it no close
                // box); the keys are the dialog's again. F1 brings it back.
                help->activateWindow();
                Settle();
                QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
                Settle();
                escapeClosed = ShownHelp().empty() && d.IsLive();
                backToDialog = KeysAt(dialog);
                QTest::keyClick(dialog->windowHandle(), Qt::Key_F1);
                QApplication::processEvents();
            }
            d.UserClose();
        };
        Press(window, QKeyCombination(Qt::ControlModifier, Qt::Key_P));
        inDialog = nullptr;
        EXPECT_EQ(inside, "comport.htm");
        EXPECT_TRUE(inFront);
        EXPECT_TRUE(onScreen);
        EXPECT_TRUE(escapeClosed);
        EXPECT_TRUE(backToDialog);
        // The dialog closed: the help stays, the keys go back to the main window.
        EXPECT_TRUE(KeysAt(window));
        QApplication::processEvents();
        EXPECT_EQ(ShownHelp(), "comport.htm");
        EXPECT_EQ(g_szHelpTopic, "products.htm");
        ASSERT_TRUE(frame.UserCommand(ID_HELP));
        EXPECT_EQ(ShownHelp(), "products.htm");
        // The help window's own Close button; the keys are the main window's again.
        QPushButton* close = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* b = w->findChild<QPushButton*>("helpClose"); b && b->isVisible()) close = b;
        ASSERT_NE(close, nullptr);
        EXPECT_EQ(close->text(), QString("Close"));
        close->click();
        Settle();
        EXPECT_EQ(ShownHelp(), "");
        EXPECT_TRUE(KeysAt(window));

        ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), "QVX-S7")));
        QApplication::processEvents();
        auto* com1 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 0));
        ASSERT_NE(com1, nullptr);
        EXPECT_EQ(F1On(window, *com1->Tree()), "protocols.htm");
        ASSERT_NO_FATAL_FAILURE(PickProtocols(frame));
        ASSERT_TRUE(frame.UserCommand(ID_CONFIGURE_PROJECT));
        QApplication::processEvents();
        ASSERT_NE(g_pNewBlockExView, nullptr);
        EXPECT_EQ(F1On(window, g_pNewBlockExView->GetListCtrl()), "blockoverview.htm");
        // The internal-database panes: a click in one makes its topic current.
        for (IdbPane* pane : {static_cast<IdbPane*>(g_pDBView1), static_cast<IdbPane*>(g_pDBView2)}) {
            ASSERT_NE(pane, nullptr);
            auto* table = qobject_cast<QAbstractItemView*>(WidgetOf(window, &pane->List()));
            ASSERT_NE(table, nullptr);
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(5, 5));  // no row there
            QApplication::processEvents();
            EXPECT_EQ(F1On(window, pane->List()), "Internal Database Setup.htm");
            // A click below the list that shows no rows (on the pane itself), the focus
            // where the click left it.
            ASSERT_EQ(pane->List().GetItemCount(), 0);
            WidgetOf(window, &g_pNewBlockExView->GetListCtrl())->setFocus();
            g_szHelpTopic = "blockoverview.htm";
            QWidget* body = table->parentWidget();
            QTest::mouseClick(body, Qt::LeftButton, {}, QPoint(body->width() / 2, body->height() - 4));
            QApplication::processEvents();
            if (QTextBrowser* topic = HelpPane("helpBrowser")) topic->window()->close();
            QTest::keyClick(window->windowHandle(), Qt::Key_F1);
            QApplication::processEvents();
            EXPECT_EQ(ShownHelp(), "Internal Database Setup.htm") << "port " << pane->Port();
            // A row clicked, and the data-type list open over its cell with the focus.
            if (pane->List().GetItemCount() == 0) pane->AddRow("1", pane->Port() == 1 ? "H1" : "N7:0", 2);
            QApplication::processEvents();
            const QRect cell = table->visualRect(table->model()->index(0, IdbPane::kColNode));
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
            QApplication::processEvents();
            EXPECT_EQ(F1On(window, pane->List()), "Internal Database Setup.htm") << "port " << pane->Port();
            g_szHelpTopic = "blockoverview.htm";
            const QRect type = table->visualRect(table->model()->index(0, IdbPane::kColDataType));
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, type.center());
            QApplication::processEvents();
            ui::Control* combo = pane->GetDlgItem(IDC_IDB_CELL_COMBO);
            ASSERT_NE(combo, nullptr);
            EXPECT_EQ(F1On(window, *combo), "Internal Database Setup.htm") << "port " << pane->Port();
            // The list dropped down: the key goes to the list's own window.
            auto* box = qobject_cast<QComboBox*>(WidgetOf(window, combo));
            ASSERT_NE(box, nullptr);
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, type.center());
            box = qobject_cast<QComboBox*>(WidgetOf(window, pane->GetDlgItem(IDC_IDB_CELL_COMBO)));
            ASSERT_NE(box, nullptr);
            // Alt+Down opens the list and changes nothing (it is no key-down of the control).
            const QString before = box->currentText();
            box->setFocus();
            QTest::keyClick(window->windowHandle(), Qt::Key_Down, Qt::AltModifier);
            QApplication::processEvents();
            EXPECT_TRUE(box->view()->isVisible());
            EXPECT_EQ(box->currentText(), before);
            if (!box->view()->isVisible()) box->showPopup();
            QApplication::processEvents();
            g_szHelpTopic = "blockoverview.htm";
            EXPECT_EQ(F1Into(box->view()), "Internal Database Setup.htm") << "port " << pane->Port();
            box->hidePopup();
            QApplication::processEvents();
        }
        // New Project has no screen that does it: greyed, and its key does nothing.
        EXPECT_FALSE(frame.QueryCommand(ID_FILE_NEW_PROJECT).IsEnabled());
        frame.fired.clear();
        Press(window, QKeyCombination(Qt::ControlModifier, Qt::Key_N));
        EXPECT_TRUE(frame.fired.empty());
        // The newer block list of a product without Ethernet gates Ethernet Download.
        EXPECT_FALSE(frame.QueryCommand(ID_ETHERNET_DOWNLOAD).IsEnabled());
        Press(window, QKeyCombination(Qt::ControlModifier, Qt::Key_H));
        EXPECT_TRUE(frame.fired.empty());

        // The older block list of QVX-00.
        frame.CloseToProductLevel();
        QApplication::processEvents();
        products = dynamic_cast<CInputView2*>(frame.GetSplitter().GetPane(0, 0));
        ASSERT_NE(products, nullptr);
        ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), "QVX-00")));
        QApplication::processEvents();
        ASSERT_NO_FATAL_FAILURE(PickProtocols(frame, "Series 5"));
        ASSERT_TRUE(frame.UserCommand(ID_CONFIGURE_PROJECT));
        QApplication::processEvents();
        auto* older = dynamic_cast<CBlockExView*>(frame.GetSplitter().GetPane(0, 1));
        ASSERT_NE(older, nullptr);
        g_szHelpTopic = "protocols.htm";
        EXPECT_EQ(F1On(window, older->GetListCtrl()), "blockoverview.htm");
        EXPECT_TRUE(frame.QueryCommand(ID_ETHERNET_DOWNLOAD).IsEnabled());  // the older list leaves it to the frame
        backend.SetAutoClose(true);
        frame.DestroyWindow();
    }
    g_PlcRegisterTables.ResetProject();
    ui::SetBackend(nullptr);
}

// F1 in each dialog that has no help handler of its own, as X delivers it (to the
// dialog's window): the help at the topic the dialog set, else its caller's. In the
// three-port product's Download dialog, the download's topic.
TEST(MainWindowHelp, F1InDialogsWithoutAHandlerOfTheirOwnShowsTheCurrentTopic) {
    testsupport::SampleTree tree;
    qtbind::QtBackend backend;
    backend.SetAutoClose(true);
    std::map<std::string, std::string> shown, expected;  // by caption
    std::function<void(ui::Dialog&)> nested;
    backend.SetShownHook([&](ui::Dialog& d) {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->windowHandle()) return;
        if (HelpPane("helpBrowser")) HelpPane("helpBrowser")->window()->close();
        const std::string caption = d.GetWindowText();
        expected[caption] = g_szHelpTopic;
        QTest::keyClick(dialog->windowHandle(), Qt::Key_F1);
        QApplication::processEvents();
        shown[caption] = ShownHelp();
        if (nested) {
            auto step = std::move(nested);
            step(d);
        }
        if (d.IsLive()) d.UserClose();
    });
    ui::SetBackend(&backend);
    {
        RecordingFrame frame;
        QMainWindow* window = nullptr;
        ASSERT_NO_FATAL_FAILURE(OpenAtProductLevel(frame, window));
        backend.SetAutoClose(false);
        auto pick = [&](const char* product) {
            auto* products = dynamic_cast<CInputView2*>(frame.GetSplitter().GetPane(0, 0));
            ASSERT_NE(products, nullptr);
            ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), product)));
            QApplication::processEvents();
        };

        // Ethernet Download, at the product level.
        ASSERT_TRUE(frame.UserCommand(ID_ETHERNET_DOWNLOAD));
        // Recipes, Default Communication Registers, PLC Advance Setting and Extended Setup
        // (from the PLC2 setting) of a QVX-S7 project.
        ASSERT_NO_FATAL_FAILURE(pick("QVX-S7"));
        ASSERT_NO_FATAL_FAILURE(PickProtocols(frame, "Series 5"));
        ASSERT_TRUE(frame.UserCommand(ID_CONFIGURE_PROJECT));
        QApplication::processEvents();
        for (int id : {ID_RECIPES, ID_ATTACH_REGISTERS}) EXPECT_TRUE(frame.UserCommand(id)) << id;
        nested = [](ui::Dialog& d) {
            if (ui::Control* button = d.GetDlgItem(IDC_EXTENDED_SETUP); button && button->IsWindowVisible())
                button->UserClick();
        };
        EXPECT_TRUE(frame.UserCommand(ID_PLC_ADVANCE_SETTING));
        nested = nullptr;
        // The Ethernet IP tag table of a QVX-ENET project (Configure Project opens it).
        frame.CloseToProductLevel();
        QApplication::processEvents();
        ASSERT_NO_FATAL_FAILURE(pick("QVX-ENET"));
        ASSERT_NO_FATAL_FAILURE(PickProtocols(frame, "Ethernet IP"));
        ASSERT_TRUE(frame.UserCommand(ID_CONFIGURE_PROJECT));
        QApplication::processEvents();
        // The three-port product's Communication Setting sheet and its Download dialog.
        frame.CloseToProductLevel();
        QApplication::processEvents();
        ASSERT_NO_FATAL_FAILURE(pick("Zava Dorazuduvoz"));
        auto* com1 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 0));
        ASSERT_NE(com1, nullptr);
        ASSERT_TRUE(com1->Tree()->UserSelect(com1->Tree()->GetChildren(com1->Tree()->GetChildren(ui::TVI_ROOT).front()).front()));
        nested = [](ui::Dialog& sheet) {
            for (QPushButton* b : QApplication::activeModalWidget()->findChildren<QPushButton*>())
                if (b->text() == "Communication" && b->isVisible()) {
                    (void)sheet;
                    b->click();
                    break;
                }
        };
        ASSERT_TRUE(frame.UserCommand(ID_CONFIGURE_PROJECT));
        nested = nullptr;
        QApplication::processEvents();
        frame.CloseToProductLevel();
        QApplication::processEvents();

        // The Select Product box (no product chosen after a Close): F1 in it, then Escape.
        ASSERT_EQ(g_szProductName, "");
        std::string boxHelp = "no box", boxTopic;
        QTimer::singleShot(100, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            boxTopic = g_szHelpTopic;
            QTest::keyClick(box->windowHandle(), Qt::Key_F1);
            QApplication::processEvents();
            boxHelp = ShownHelp();
            box->activateWindow();
            QApplication::processEvents();
            QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
        });
        if (HelpPane("helpBrowser")) HelpPane("helpBrowser")->window()->close();
        ASSERT_TRUE(frame.UserCommand(ID_GUARDED_FEATURE));
        EXPECT_EQ(boxTopic, "products.htm");
        EXPECT_EQ(boxHelp, "products.htm");

        for (const char* caption : {"Ethernet Download", "Recipes", "Default Communication Registers",
                                    "PLC Advance Setting", "Extended Setup", "Ethernet IP Tag Table",
                                    "Communication Setting"}) {
            ASSERT_TRUE(shown.count(caption)) << caption << " not shown";
            EXPECT_FALSE(expected[caption].empty()) << caption;
            EXPECT_EQ(shown[caption], expected[caption]) << caption;
        }
        EXPECT_EQ(expected["Communication Setting"], "portmultiplexer.htm");
        // Configure Project opens the tag table: the help of the screen it was chosen on,
        // not the contents alone.
        EXPECT_EQ(expected["Ethernet IP Tag Table"], "protocols.htm");
        ASSERT_TRUE(shown.count("Download"));
        EXPECT_EQ(shown["Download"], "download.htm");
        backend.SetAutoClose(true);
        frame.DestroyWindow();
    }
    g_PlcRegisterTables.ResetProject();
    ui::SetBackend(nullptr);
}

// While the splash stands, the main window behind it shows nothing of a later screen: no
// internal-database pane (their header rows and "No Internal Database ..." texts) before
// the project level.
TEST(MainWindow, BehindTheSplashNothingOfALaterScreenShows) {
    testsupport::SampleTree tree;
    qtbind::QtBackend backend;
    backend.SetAutoClose(true);
    ui::SetBackend(&backend);
    const std::string shot = std::string(QUORVEX_SHOT_DIR) + "/0-behind-the-splash.png";
    QDir().mkpath(QString::fromStdString(QUORVEX_SHOT_DIR));
    {
        CMainFrame frame;
        std::vector<std::string> showing;
        bool splash = false;
        backend.SetShownHook([&](ui::Dialog& d) {
            if (d.GetTemplateId() != IDD_SPLASH) return;
            splash = true;
            QMainWindow* window = MainWidget();
            ASSERT_NE(window, nullptr);
            ASSERT_TRUE(backend.GrabFrame(frame, shot));
            for (int col = 0; col < 2; ++col)
                for (int row = 0; row < 3; ++row)
                    if (auto* pane = dynamic_cast<IdbPane*>(frame.GetSplitter().GetPane(row, col))) {
                        QWidget* list = WidgetOf(window, &pane->List());
                        if (list && list->isVisible() && !list->visibleRegion().isEmpty())
                            showing.push_back("IDB pane " + std::to_string(pane->Port()));
                    }
        });
        ASSERT_TRUE(frame.LoadFrame());
        for (int i = 0; i < 100 && g_nStartScreen != 1; ++i) QTest::qWait(50);
        ASSERT_TRUE(splash);
        EXPECT_EQ(showing, std::vector<std::string>{});
        backend.SetShownHook(nullptr);
        frame.DestroyWindow();
    }
    g_nStartScreen = g_nMainScreen = 0;  // the next frame's tests wait for their own splash
    ui::SetBackend(nullptr);
}

}  // namespace
