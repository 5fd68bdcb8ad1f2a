// An older project in the main window (offscreen Qt), wired as the program wires it:
// QVX-00 configured, a block filled in and saved, the project closed and opened again
// from its file; a screenshot of the project level that the reader rebuilt.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTableWidget>
#include <QTest>

#include "TestSupport.h"
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "app/OlderScreens.h"
#include "model/RunTimeState.h"
#include "editor/BlockExView.h"
#include "editor/NewBlockExView.h"
#include "plc/PlcRegisterTables.h"
#include "qt/QtBackend.h"
#include "res/FrameResource.h"

namespace {

ui::HTREEITEM Find(ui::TreeView& t, const std::string& text, ui::HTREEITEM parent = ui::TVI_ROOT) {
    for (ui::HTREEITEM item : t.GetChildren(parent)) {
        if (t.GetItemText(item) == text) return item;
        if (ui::HTREEITEM inner = Find(t, text, item)) return inner;
    }
    return 0;
}

TEST(OlderMainWindow, ProjectOpenedFromItsFile) {
    testsupport::SampleTree tree;
    qtbind::QtBackend backend;
    backend.SetAutoClose(true);  // the splash closes by itself
    ui::SetBackend(&backend);
    const std::string dir = std::string(QUORVEX_SHOT_DIR);
    QDir().mkpath(QString::fromStdString(dir));
    {
        CMainFrame frame;
        WireOlderScreens(frame.Services(), g_NewBlockExServices);
        ASSERT_TRUE(frame.LoadFrame());
        for (int i = 0; i < 100 && g_nStartScreen != 1; ++i) QTest::qWait(50);
        ASSERT_EQ(g_nStartScreen, 1);
        auto* products = dynamic_cast<CInputView2*>(frame.GetSplitter().GetPane(0, 0));
        ASSERT_NE(products, nullptr);
        ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), "QVX-00")));
        QApplication::processEvents();
        auto* com1 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 0));
        auto* com2 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 1));
        ASSERT_NE(com1, nullptr);
        ASSERT_NE(com2, nullptr);
        ASSERT_TRUE(com1->Tree()->UserSelect(Find(*com1->Tree(), "Modbus RTU Master")));
        ASSERT_TRUE(com2->Tree()->UserSelect(Find(*com2->Tree(), "Series 5")));
        ASSERT_TRUE(frame.UserCommand(ID_CONFIGURE_PROJECT));
        QApplication::processEvents();
        auto* list = dynamic_cast<CBlockExView*>(frame.GetSplitter().GetPane(0, 1));
        ASSERT_NE(list, nullptr);
        const char* cells[] = {nullptr, "10", "Modbus RTU Master", "1", "H0001", "DF1 Full Duplex", "2", "N007:000", "5",
                               "Tank levels"};
        for (int c = 1; c < kOlderBlockColumns; ++c) list->SetCellText(0, c, cells[c]);
        const std::string path = tree.Path() + "QVX-00/Projects/tanks.prj";
        ASSERT_EQ(list->SaveProjectFile(path), 0);
        g_bBlockListEdited = 0;
        ASSERT_TRUE(frame.UserCommand(ID_FILE_CLOSE_PROJECT));
        QApplication::processEvents();

        frame.Services().loadOlderProject(path);
        QApplication::processEvents();
        list = dynamic_cast<CBlockExView*>(frame.GetSplitter().GetPane(0, 1));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->GetCellText(0, kOlderColComment), "Tank levels");
        EXPECT_EQ(frame.GetWindowText(), "tanks.prj - Quorvex - QVX-00");
        ASSERT_TRUE(backend.GrabFrame(frame, dir + "/older-main-window.png"));
        EXPECT_FALSE(QImage(QString::fromStdString(dir + "/older-main-window.png")).isNull());
        frame.DestroyWindow();
    }
    g_PlcRegisterTables.ResetProject();
    ui::SetBackend(nullptr);
}

}  // namespace
