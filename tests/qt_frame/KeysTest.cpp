// The keys of the main window pressed on the real widgets: every key a menu shows fires
// its command where the command is enabled and nothing where it is not; Alt+T reaches
// the hardware test before the menu bar's "&Tools".
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeySequence>
#include <QMainWindow>
#include <QTest>

#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "app/RunTimeState.h"
#include "plc/PlcRegisterTables.h"
#include "qt/QtBackend.h"
#include "res/FrameResource.h"
#include "ui/Dialog.h"
#include "TestSupport.h"

namespace {

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

QMainWindow* MainWidget() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMainWindow*>(w); m && m->isVisible()) return m;
    return nullptr;
}

// The keys the menu shows beside its items ("...\tCtrl+P" or "...   Ctrl+S").
void ShownKeys(const ui::Menu& menu, std::vector<std::pair<int, QKeySequence>>& out) {
    for (const ui::Menu::Item& item : menu.Items()) {
        if (item.popup) ShownKeys(*item.popup, out);
        const size_t at = item.text.find("Ctrl+");
        if (item.id > 0 && at != std::string::npos)
            out.emplace_back(item.id, QKeySequence(QString::fromStdString(item.text.substr(at))));
    }
}

ui::HTREEITEM Find(ui::TreeView& t, const std::string& text, ui::HTREEITEM parent = ui::TVI_ROOT) {
    for (ui::HTREEITEM item : t.GetChildren(parent)) {
        if (t.GetItemText(item) == text) return item;
        if (ui::HTREEITEM inner = Find(t, text, item)) return inner;
    }
    return 0;
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
        ASSERT_TRUE(frame.LoadFrame());
        for (int i = 0; i < 100 && g_nStartScreen != 1; ++i) QTest::qWait(50);
        ASSERT_EQ(g_nStartScreen, 1);
        QMainWindow* window = MainWidget();
        ASSERT_NE(window, nullptr);
        window->activateWindow();
        QApplication::processEvents();
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

        auto* com1 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 0));
        auto* com2 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 1));
        ASSERT_NE(com1, nullptr);
        ASSERT_NE(com2, nullptr);
        ASSERT_TRUE(com1->Tree()->UserSelect(Find(*com1->Tree(), "Modbus RTU Master")));
        ASSERT_TRUE(com2->Tree()->UserSelect(Find(*com2->Tree(), "Compact Series")));
        QApplication::processEvents();
        frame.fired.clear();
        Press(window, QKeyCombination(Qt::ControlModifier, Qt::Key_R));  // Configure Project
        EXPECT_EQ(frame.fired, std::vector<int>{ID_CONFIGURE_PROJECT});
        ASSERT_EQ(frame.GetMenu(), frame.ProjectMenu().get());
        CheckShownKeys(frame, window, "project level");
        frame.DestroyWindow();
    }
    g_PlcRegisterTables.ResetProject();
    ui::SetBackend(nullptr);
}

}  // namespace
