// One project's road in the real window: the engineer picks QVX-S7 and two protocols,
// configures the project, fills a block, downloads it from the project toolbar to the
// simulated unit, closes the project, and uploads it back at the protocol level.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>
#include <cstdlib>

#include "UnitSimulator.h"
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "model/RunTimeState.h"
#include "app/DownloadDlg.h"
#include "app/TransferTasksDlg.h"
#include "editor/BlockExView.h"
#include "editor/NewBlockExView.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Clock.h"
#include "qt/QtBackend.h"
#include "res/FrameResource.h"
#include "res/ShellResource.h"
#include "res/TransferResource.h"
#include "TestSupport.h"

namespace {

ui::HTREEITEM Find(ui::TreeView& t, const std::string& text, ui::HTREEITEM parent = ui::TVI_ROOT) {
    for (ui::HTREEITEM item : t.GetChildren(parent)) {
        if (t.GetItemText(item) == text) return item;
        if (ui::HTREEITEM inner = Find(t, text, item)) return inner;
    }
    return 0;
}

void PickProtocols(CMainFrame& frame) {
    auto* com1 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 0));
    auto* com2 = dynamic_cast<CProtocolView*>(frame.GetSplitter().GetPane(0, 1));
    ASSERT_NE(com1, nullptr);
    ASSERT_NE(com2, nullptr);
    ASSERT_TRUE(com1->Tree()->UserSelect(Find(*com1->Tree(), "Modbus RTU Master")));
    ASSERT_TRUE(com2->Tree()->UserSelect(Find(*com2->Tree(), "Compact Series")));
}

void PickProduct(CMainFrame& frame, const std::string& name) {
    auto* products = dynamic_cast<CInputView2*>(frame.GetSplitter().GetPane(0, 0));
    ASSERT_NE(products, nullptr);
    ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), name)));
    QApplication::processEvents();
}

TEST(Road, ConfigureDownloadCloseAndUploadAgainstTheSimulatedUnit) {
    testsupport::SampleTree tree;
    unitsim::UnitSimulator sim;
    std::string error;
    ASSERT_TRUE(sim.Start(&error)) << error;
    unitsim::Behaviour b = sim.GetBehaviour();
    b.productCode = 82;
    b.driverReport = {101, 1, 103, 1, 0};
    b.firmwareVersion = "V03.40";
    b.handshakeDelayMs = 15;
    sim.SetBehaviour(b);
    ::setenv("QUORVEX_COM1", sim.SlavePath().c_str(), 1);  // the sample tree's PC port is COM1
    platform::TestClock clock(50);
    g_TransferPort.SetClock(&clock);

    const std::string shots = QUORVEX_SHOT_DIR;
    QDir().mkpath(QString::fromStdString(shots));
    qtbind::QtBackend backend;
    ui::SetBackend(&backend);
    std::vector<std::string> boxes;
    backend.SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned flags) {
        boxes.push_back(text);
        if ((flags & ui::MB_TYPEMASK) == ui::MB_YESNO && text.find("restart") == std::string::npos)
            return ui::IDYES;  // go on with the download
        if ((flags & ui::MB_TYPEMASK) == ui::MB_YESNO || (flags & ui::MB_TYPEMASK) == ui::MB_YESNOCANCEL)
            return ui::IDNO;  // no restart; do not save at close
        return ui::IDOK;
    });
    {
        CMainFrame frame;
        ASSERT_TRUE(frame.LoadFrame());
        for (int i = 0; i < 100 && g_nStartScreen != 1; ++i) QTest::qWait(50);  // the splash
        ASSERT_EQ(g_nStartScreen, 1);

        // Configure a project with one complete block.
        PickProduct(frame, "QVX-S7");
        PickProtocols(frame);
        ASSERT_TRUE(frame.UserCommand(ID_CONFIGURE_PROJECT));
        ASSERT_NE(g_pNewBlockExView, nullptr);
        CNewBlockExView& view = *g_pNewBlockExView;
        const std::string plc1 = g_PlcRegisterTables.g_strPLC1Name, plc2 = g_PlcRegisterTables.g_strPLC2Name;
        const std::vector<std::string> cells = {"1", "4", plc1, "1", "H0001", plc2, "1", "D0100", "10", "0", "feed"};
        for (size_t c = 1; c < cells.size(); ++c) view.SetCellText(0, static_cast<int>(c), cells[c]);
        g_bProjectModified = 1;  // as the cell editors mark it
        QApplication::processEvents();

        // Download the project from the project toolbar.
        std::string during;
        backend.SetShownHook([&](ui::Dialog& d) {
            if (d.GetTemplateId() != IDD_TRANSFER_TASKS) return;
            auto& tasks = d.Item<ui::ListView>(IDC_TASK_LIST);
            tasks.SetRowCheck(3, true);  // the project
            d.UserClickButton(IDC_DOWNLOAD);
            during = shots + "/road-2-download-done.png";
            backend.GrabDialog(d, during);
            d.UserClickButton(ui::IDCANCEL);
        });
        ASSERT_TRUE(frame.UserCommand(ID_DOWNLOAD));
        ASSERT_FALSE(during.empty());
        EXPECT_FALSE(QImage(QString::fromStdString(during)).isNull());
        backend.GrabFrame(frame, shots + "/road-1-project.png");
        EXPECT_FALSE(sim.Streams().empty()) << "the unit took no project";

        // Close the project (not saved), then upload it at the protocol level.
        ASSERT_TRUE(frame.UserCommand(ID_FILE_CLOSE_PROJECT));
        QApplication::processEvents();
        if (g_nStartScreen == 1) PickProduct(frame, "QVX-S7");
        ASSERT_EQ(g_nStartScreen, 2);
        backend.SetShownHook([&](ui::Dialog& d) {
            if (d.GetTemplateId() == IDD_TRANSFER_TASKS) d.UserClickButton(IDC_UPLOAD_PROJECT);
        });
        ASSERT_TRUE(frame.UserCommand(ID_UPLOAD_PROJECT));
        QApplication::processEvents();
        ASSERT_NE(g_pNewBlockExView, nullptr) << (boxes.empty() ? "" : boxes.back());
        const BlockRows rows = g_pNewBlockExView->GetBlockRows();
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][kColWords], "4");
        EXPECT_EQ(rows[0][kColSourceAddr], "H0001");
        EXPECT_EQ(rows[0][kColDestAddr], "D0100");
        const std::string after = shots + "/road-3-uploaded.png";
        ASSERT_TRUE(backend.GrabFrame(frame, after));
        frame.DestroyWindow();
    }
    backend.SetShownHook(nullptr);
    ui::SetBackend(nullptr);
    g_TransferPort.SetClock(nullptr);
    g_PlcRegisterTables.ResetProject();
}

// The same road for an older product: QVX-00 against the simulated unit in its older mode,
// with pictures of the older transfer dialog while it downloads a driver and the project
// and when it asks for the restart.
TEST(Road, AnOlderProjectGoesDownAndComesBackFromTheSimulatedUnit) {
    testsupport::SampleTree tree;
    unitsim::UnitSimulator sim;
    std::string error;
    ASSERT_TRUE(sim.Start(&error)) << error;
    unitsim::Behaviour b = sim.GetBehaviour();
    b.older = true;
    b.productCode = 81;
    b.driverReport = {101, 1, 103, 1, 0};
    sim.SetBehaviour(b);
    ::setenv("QUORVEX_COM1", sim.SlavePath().c_str(), 1);
    platform::TestClock clock(50);
    g_DownloadPort.SetClock(&clock);

    const std::string shots = QUORVEX_SHOT_DIR;
    QDir().mkpath(QString::fromStdString(shots));
    qtbind::QtBackend backend;
    ui::SetBackend(&backend);
    std::vector<std::string> boxes;
    ui::Dialog* transfer = nullptr;
    const std::string during = shots + "/older-download-during.png", after = shots + "/older-download-after.png";
    bool grabbedDuring = false, grabbedAfter = false;
    backend.SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned flags) {
        boxes.push_back(text);
        if (text.find("Download completed.") == 0 && transfer) grabbedAfter = backend.GrabDialog(*transfer, after);
        if ((flags & ui::MB_TYPEMASK) == ui::MB_YESNO || (flags & ui::MB_TYPEMASK) == ui::MB_YESNOCANCEL)
            return ui::IDNO;  // no restart; do not save at close
        return ui::IDOK;
    });
    {
        CMainFrame frame;
        ASSERT_TRUE(frame.LoadFrame());
        for (int i = 0; i < 100 && g_nStartScreen != 1; ++i) QTest::qWait(50);  // the splash
        ASSERT_EQ(g_nStartScreen, 1);

        PickProduct(frame, "QVX-00");
        PickProtocols(frame);
        ASSERT_TRUE(frame.UserCommand(ID_CONFIGURE_PROJECT));
        auto* view = dynamic_cast<CBlockExView*>(frame.GetSplitter().GetPane(0, 1));
        ASSERT_NE(view, nullptr);
        const std::string plc1 = g_PlcRegisterTables.g_strPLC1Name, plc2 = g_PlcRegisterTables.g_strPLC2Name;
        const OlderBlockRow cells = {"1", "4", plc1, "1", "H0001", plc2, "1", "D0100", "10", "feed"};
        for (int c = 1; c < kOlderBlockColumns; ++c) view->SetCellText(0, c, cells[size_t(c)]);
        QApplication::processEvents();

        // Download the PLC1 driver and the project from the project toolbar; the picture
        // "during" is taken when the driver is in and the project is being compiled.
        g_BlockExServices.runDownloadDialog = [&](CDownloadDlg& dialog) {
            auto compile = dialog.m_compileProject;
            dialog.m_compileProject = [&, compile](std::string& image) {
                grabbedDuring = backend.GrabDialog(dialog, during);
                return compile(image);
            };
            dialog.DoModal();
        };
        backend.SetShownHook([&](ui::Dialog& d) {
            if (d.GetTemplateId() != IDD_DOWNLOAD) return;
            transfer = &d;
            auto& tasks = d.Item<ui::ListView>(IDC_TASK_LIST);
            tasks.SetRowCheck(1, true);
            tasks.SetRowCheck(3, true);
            d.UserClickButton(IDC_DOWNLOAD);
            d.UserClickButton(ui::IDCANCEL);
            transfer = nullptr;
        });
        ASSERT_TRUE(frame.UserCommand(ID_DOWNLOAD));
        EXPECT_TRUE(grabbedDuring);
        EXPECT_TRUE(grabbedAfter) << (boxes.empty() ? "" : boxes.back());
        sim.WaitQuiet(50, 3000);
        ASSERT_EQ(sim.StoredOlderBlocks().size(), 1u);

        // Close the project (not saved), then upload it at the product level.
        ASSERT_TRUE(frame.UserCommand(ID_FILE_CLOSE_PROJECT));
        QApplication::processEvents();
        PickProduct(frame, "QVX-00");
        backend.SetShownHook([&](ui::Dialog& d) {
            if (d.GetTemplateId() != IDD_DOWNLOAD) return;
            d.UserClickButton(IDC_UPLOAD_PROJECT);
            if (!d.IsEnded()) d.UserClickButton(ui::IDCANCEL);  // the upload failed
        });
        ASSERT_TRUE(frame.UserCommand(ID_UPLOAD_PROJECT));
        QApplication::processEvents();
        view = dynamic_cast<CBlockExView*>(frame.GetSplitter().GetPane(0, 1));
        ASSERT_NE(view, nullptr) << (boxes.empty() ? "" : boxes.back());
        const OlderBlockRows rows = view->GetBlockRows();
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][kOlderColWords], "4");
        EXPECT_EQ(rows[0][kOlderColSourceAddr], "H0001");
        EXPECT_EQ(rows[0][kOlderColDestAddr], "D0100");
        EXPECT_EQ(frame.GetWindowText(), "Untitled - Quorvex - QVX-00");
        ASSERT_TRUE(backend.GrabFrame(frame, shots + "/older-uploaded.png"));
        frame.DestroyWindow();
    }
    backend.SetShownHook(nullptr);
    g_BlockExServices = BlockExServices();
    ui::SetBackend(nullptr);
    g_DownloadPort.SetClock(nullptr);
    g_PlcRegisterTables.ResetProject();
}

}  // namespace
