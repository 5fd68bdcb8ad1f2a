// The shell's small dialogs, driven with no display.
#include <gtest/gtest.h>

#include <cstdio>

#include "HeadlessUi.h"
#include "TestSupport.h"
#include "app/AboutDlg.h"
#include "app/ProjectInfoDlg.h"
#include "model/ProjectSettings.h"
#include "app/RefreshDlg.h"
#include "model/RunTimeState.h"
#include "app/SplashDlg.h"
#include "app/VersionMismatchDlg.h"
#include "platform/Profile.h"
#include "plc/PlcRegisterTables.h"
#include "res/ShellResource.h"

namespace {

using ui::Dialog;

class ShellDialogs : public testing::Test {
protected:
    testsupport::SampleTree tree;
    testsupport::HeadlessUi ui;
};

TEST_F(ShellDialogs, AboutBoxShowsTheInstallersTexts) {
    CAboutDlg about;
    ui.ExpectModal(IDD_ABOUTBOX, [](Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Quorvex Setup Software");
        EXPECT_EQ(d.GetDlgItemText(IDC_SOFTWARE_VERSION), "Version 4.2.0 (Linux)");
        EXPECT_EQ(d.GetDlgItemText(IDC_COMPANY_NAME), "Quorvex Systems");
        EXPECT_EQ(d.GetDlgItemText(IDC_COPYRIGHT),
                  "Copyright (C) 2026 Quorvex Systems. All rights reserved.");
        EXPECT_EQ(d.Item(IDC_SOFTWARE_VERSION).GetTextColor(), 0xFF0000u);  // blue
        EXPECT_TRUE(d.Item(IDC_COPYRIGHT).IsTransparent());
        d.UserPressEnter();
    });
    EXPECT_EQ(about.DoModal(), ui::IDOK);
    EXPECT_EQ(about.m_strUrl, "https://www.quorvex.example/support");
}

TEST_F(ShellDialogs, AboutBoxWithoutItsFileSaysSo) {
    std::remove((tree.Path() + "Products/CustomizeInfo.inf").c_str());
    CAboutDlg about;
    ui.ExpectModal(IDD_ABOUTBOX, [](Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Information Not Available");
        EXPECT_EQ(d.GetDlgItemText(IDC_SOFTWARE_VERSION), "Information Not Available");
        EXPECT_EQ(d.GetDlgItemText(IDC_COMPANY_NAME), "Information Not Available");
        d.UserClose();
    });
    EXPECT_EQ(about.DoModal(), ui::IDCANCEL);
}

struct RecordingPainter : ui::Painter {
    std::vector<std::pair<const ui::Bitmap*, ui::Rect>> bitmaps;
    void FillRect(const ui::Rect&, ui::Color) override {}
    void DrawText(int, int, const std::string&, ui::Color) override {}
    void DrawBitmap(const ui::Bitmap& b, const ui::Rect& r) override { bitmaps.emplace_back(&b, r); }
    int TextWidth(const std::string& t) override { return int(t.size()) * 6; }
    int TextHeight() override { return 13; }
};

TEST_F(ShellDialogs, SplashShowsItsBitmapForTwoSecondsThenWhatFollowsRuns) {
    CSplashDlg splash;
    int followed = 0;
    splash.m_afterDestroy = [&] { ++followed; };
    const long long start = ui.Now();
    EXPECT_EQ(splash.DoModal(), 0);
    EXPECT_EQ(ui.Now() - start, 2000);
    EXPECT_EQ(followed, 1);
    EXPECT_TRUE(ui.MessageBoxes().empty());
    ASSERT_TRUE(splash.GetBitmap());
    EXPECT_GT(splash.GetBitmap()->width, 100);
    // Painted into the picture control's rectangle.
    RecordingPainter painter;
    splash.OnPaint(painter);
    ASSERT_EQ(painter.bitmaps.size(), 1u);
    EXPECT_EQ(painter.bitmaps[0].second, splash.GetControlPixelRect(splash.Item(IDC_SPLASH_PICTURE)));
}

TEST_F(ShellDialogs, ClickingTheSplashClosesItAtOnce) {
    CSplashDlg splash;
    int followed = 0;
    splash.m_afterDestroy = [&] { ++followed; };
    const long long start = ui.Now();
    ui.ExpectModal(IDD_SPLASH, [](Dialog& d) { d.UserMouseDown(40, 40); });
    EXPECT_EQ(splash.DoModal(), ui::IDOK);
    EXPECT_EQ(ui.Now(), start);
    EXPECT_EQ(followed, 1);
    EXPECT_FALSE(ui.HasTimer(splash, 2));
}

TEST_F(ShellDialogs, AMissingSplashBitmapIsReportedAndTheSplashStillCloses) {
    std::remove((tree.Path() + "Images/SplashScreen.bmp").c_str());
    CSplashDlg splash;
    EXPECT_EQ(splash.DoModal(), 0);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "Load Image Failed");
    EXPECT_EQ(ui.MessageBoxes()[0].flags, ui::MB_OK);
    RecordingPainter painter;
    splash.OnPaint(painter);
    EXPECT_TRUE(painter.bitmaps.empty());
}

TEST_F(ShellDialogs, RefreshEndsItselfAtOnce) {
    const long long start = ui.Now();
    CRefreshDlg refresh;
    EXPECT_EQ(refresh.DoModal(), 0);
    EXPECT_EQ(CRefreshDlg().DoModal(), 0);
    EXPECT_LE(ui.Now() - start, 2);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

class ProjectInfo : public ShellDialogs {
protected:
    ProjectInfo() {
        g_PlcRegisterTables.g_strPLC1Name = "Modbus RTU Master";
        g_PlcRegisterTables.g_strPlc1Section = "Generic";
        g_PlcRegisterTables.g_strPLC2Name = "DF1 Slave";
        g_PlcRegisterTables.g_strPlc2Section = "SLC 5/03";
        g_ProjectSettings.g_strProjPath = "/p/QVX-S7/Projects/plant.prj";
        g_ProjectSettings.g_strProjAuthor = "Ann";
        g_ProjectSettings.g_strProjTitle = "Line 3";
        g_ProjectSettings.g_strProjDescription = "Press\r\nshop";
        g_ProjectSettings.g_strProjCreated = "Monday, March 02, 2026, 09:15:00 AM";
        g_ProjectSettings.g_strProjModified = "Tuesday, March 03, 2026, 10:00:00 AM";
        g_bBlockListEdited = g_bProjectModified = 0;
        g_szHelpTopic = "caller.htm";
    }
};

TEST_F(ProjectInfo, ShowsTheProjectAndStoresTheTextsOnOK) {
    CProjectInfoDlg dlg;
    ui.ExpectModal(IDD_PROJECT_INFO, [](Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Project Information");
        EXPECT_EQ(g_szHelpTopic, "projectinfo.htm");
        EXPECT_EQ(d.GetDlgItemText(IDC_COM1_PROTOCOL), "Modbus RTU Master");
        EXPECT_EQ(d.GetDlgItemText(IDC_COM1_MODEL), "Generic");
        EXPECT_EQ(d.GetDlgItemText(IDC_COM2_PROTOCOL), "DF1 Slave");
        EXPECT_EQ(d.GetDlgItemText(IDC_COM2_MODEL), "SLC 5/03");
        EXPECT_EQ(d.GetDlgItemText(IDC_PROJECT_PATH), "/p/QVX-S7/Projects/plant.prj");
        EXPECT_TRUE(d.Item(IDC_PROJECT_PATH).IsReadOnly());
        EXPECT_EQ(d.GetDlgItemText(IDC_PROJECT_DESCRIPTION), "Press\r\nshop");
        EXPECT_EQ(d.GetDlgItemText(IDC_PROJECT_CREATED), "Monday, March 02, 2026, 09:15:00 AM");
        EXPECT_EQ(d.GetDlgItemText(IDC_PROJECT_MODIFIED), "Tuesday, March 03, 2026, 10:00:00 AM");
        d.Item(IDC_PROJECT_AUTHOR).UserType(std::string(120, 'a'));  // typing stops at 100
        EXPECT_EQ(d.GetDlgItemText(IDC_PROJECT_AUTHOR).size(), 100u);
        d.Item(IDC_PROJECT_TITLE).UserType("Line 4");
        d.UserClickButton(ui::IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(g_ProjectSettings.g_strProjAuthor, std::string(100, 'a'));
    EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "Line 4");
    EXPECT_EQ(g_ProjectSettings.g_strProjDescription, "Press\r\nshop");
    EXPECT_EQ(g_bBlockListEdited, 1);
    EXPECT_EQ(g_bProjectModified, 1);
    EXPECT_EQ(g_szHelpTopic, "caller.htm");
}

TEST_F(ProjectInfo, CancelInAnyFormLeavesTheProjectAsItWas) {
    for (int way = 0; way < 3; ++way) {
        CProjectInfoDlg dlg;
        ui.ExpectModal(IDD_PROJECT_INFO, [way](Dialog& d) {
            d.Item(IDC_PROJECT_TITLE).UserType("Changed");
            if (way == 0) d.UserClickButton(IDC_PROJECT_INFO_CANCEL);
            if (way == 1) d.UserPressEscape();
            if (way == 2) d.UserClose();
        });
        EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
        EXPECT_EQ(g_ProjectSettings.g_strProjTitle, "Line 3");
        EXPECT_EQ(g_bBlockListEdited, 0);
        EXPECT_EQ(g_bProjectModified, 0);
    }
}

TEST_F(ProjectInfo, ATitleOfMoreThan100CharactersIsRefused) {
    CProjectInfoDlg dlg;
    ui.ExpectModal(IDD_PROJECT_INFO, [](Dialog& d) {
        d.SetDlgItemText(IDC_PROJECT_TITLE, std::string(101, 't'));  // set, not typed
        d.UserClickButton(ui::IDOK);
        EXPECT_FALSE(d.IsEnded());
        EXPECT_TRUE(d.Item(IDC_PROJECT_TITLE).HasFocus());
        d.SetDlgItemText(IDC_PROJECT_TITLE, std::string(100, 't'));
        d.UserClickButton(ui::IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "Enter no more than 100 characters.");
    EXPECT_EQ(g_ProjectSettings.g_strProjTitle, std::string(100, 't'));
}

TEST_F(ProjectInfo, F1OpensTheHelp) {
    int helped = 0;
    ui::SetHelpHandler([&] { ++helped; });
    CProjectInfoDlg dlg;
    ui.ExpectModal(IDD_PROJECT_INFO, [](Dialog& d) {
        d.Item(IDC_PROJECT_AUTHOR).UserKey(ui::VK_F1);
        d.UserPressEscape();
    });
    dlg.DoModal();
    ui::SetHelpHandler(nullptr);
    EXPECT_EQ(helped, 1);
}

TEST_F(ShellDialogs, VersionMismatchListsTheProductsAndNeedsAChoice) {
    CVersionMismatchDlg dlg;
    ui.ExpectModal(IDD_VERSION_MISMATCH, [](Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Warning : Project version mismatch");
        auto& list = d.Item<ui::ListBox>(IDC_PRODUCT_LIST);
        ASSERT_EQ(list.GetCount(), 8);
        EXPECT_EQ(list.GetText(0), "QVX-00");
        EXPECT_EQ(list.GetText(3), "Zava Dorazuduvoz");
        d.UserClickButton(ui::IDOK);  // nothing chosen: it stays
        EXPECT_FALSE(d.IsEnded());
        list.UserSelect(3);
        d.UserClickButton(ui::IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "Please select the product");
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "Quorvex");
    EXPECT_EQ(g_szVersionProduct, "Zava Dorazuduvoz");  // longer than 20 characters would be kept too
}

TEST_F(ShellDialogs, VersionMismatchDoubleClickChoosesCancelChoosesNothing) {
    const std::string longName(120, 'L');  // longer than any old buffer
    platform::WritePrivateProfileString("ProductList", "Product8", longName,
                                        tree.Path() + "Products/products.inf");
    {
        CVersionMismatchDlg dlg;
        ui.ExpectModal(IDD_VERSION_MISMATCH, [](Dialog& d) {
            d.Item<ui::ListBox>(IDC_PRODUCT_LIST).UserDoubleClick(7);
        });
        EXPECT_EQ(dlg.DoModal(), ui::IDOK);
        EXPECT_EQ(g_szVersionProduct, longName);
    }
    {
        CVersionMismatchDlg dlg;
        ui.ExpectModal(IDD_VERSION_MISMATCH, [](Dialog& d) {
            d.Item<ui::ListBox>(IDC_PRODUCT_LIST).UserSelect(1);
            d.UserPressEscape();
        });
        EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
        EXPECT_EQ(g_szVersionProduct, "");
        EXPECT_EQ(dlg.m_strProduct, "");
    }
}

}  // namespace
