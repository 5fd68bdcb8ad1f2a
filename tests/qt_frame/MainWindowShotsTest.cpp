// The main window on the sample tree, walked from the product level to the project
// level as a person would, with a screenshot of each level.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMainWindow>
#include <QScreen>
#include <QTest>

#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "app/RunTimeState.h"
#include "editor/NewBlockExView.h"
#include "plc/PlcRegisterTables.h"
#include "qt/QtBackend.h"
#include "res/FrameResource.h"
#include "TestSupport.h"

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
        QMainWindow* window = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* m = qobject_cast<QMainWindow*>(w); m && m->isVisible()) window = m;
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->frameGeometry(), window->screen()->availableGeometry());
        EXPECT_EQ(frame.GetWindowText(), "QVX-00");
        EXPECT_EQ(window->windowTitle(), QString("QVX-00"));

        auto* products = dynamic_cast<CInputView2*>(frame.GetSplitter().GetPane(0, 0));
        ASSERT_NE(products, nullptr);
        ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), "QVX-S7")));
        QApplication::processEvents();
        auto* com1 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 0));
        auto* com2 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 1));
        ASSERT_NE(com1, nullptr);
        ASSERT_NE(com2, nullptr);
        ASSERT_TRUE(com1->Tree()->UserSelect(Find(*com1->Tree(), "Modbus RTU Master")));
        ASSERT_TRUE(com2->Tree()->UserSelect(Find(*com2->Tree(), "Compact Series")));
        QApplication::processEvents();
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

}  // namespace
