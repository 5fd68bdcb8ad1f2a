// The port-settings screens shown by the Qt binding offscreen and saved as PNG images
// (build folder: tests/qt_settings_port/screenshots) for a person to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTabBar>
#include <QTest>
#include <QImage>
#include <QLineEdit>
#include <algorithm>
#include <string>

#include "TestSupport.h"
#include "model/ExtendedTables.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "plc/PlcRegisterTables.h"
#include "qt/QtBackend.h"
#include "res/PortSettingsResource.h"
#include "settings/ExtendedSetupDlg.h"
#include "settings/PLCSheet.h"
#include "settings/PlcAdvanceSettingDlg.h"
#include "settings/PlcPortSettingDlg.h"
#include "model/TableResets.h"

namespace {

const char* kPlcFile =
    "[Plc Info]\r\n"
    "BaudRate=1200,2400,4800,9600,19200,38400\r\n"
    "DataBit=7,8\r\n"
    "StopBit=1,2\r\n"
    "Parity=N,E,O\r\n"
    "Parameter=9600,8,N,1\r\n"
    "SpecialData=3\r\n"
    "SpecialInfo=1\r\n";

std::string ShotDir() {
    const std::string dir = std::string(QUORVEX_SHOT_DIR) + "/port";
    QDir(QString::fromStdString(dir)).removeRecursively();
    QDir().mkpath(QString::fromStdString(dir));
    return dir;
}

int DarkPixels(const std::string& path) {
    QImage img(QString::fromStdString(path));
    int dark = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 90) ++dark;
    return dark;
}

void AddItem(const std::vector<std::string>& fields) {
    for (int f = 0; f < kGeneralEntityFields; ++f)
        g_GeneralEntity.g_arrGeneralEntityCom1[f].push_back(size_t(f) < fields.size() ? fields[size_t(f)] : "");
    ++g_GeneralEntity.g_nGeneralEntityCount1;
}

class PortSettingsScreens : public testing::Test {
protected:
    PortSettingsScreens() { ui::SetBackend(&backend); }
    ~PortSettingsScreens() override {
        ui::SetBackend(nullptr);
        g_PlcRegisterTables.ResetProject();
        ResetGeneralEntity();
        g_bGeneralEntityCom1 = 0;
    }
    testsupport::TempDir dir;
    qtbind::QtBackend backend;
};

TEST_F(PortSettingsScreens, EveryPortSettingsScreen) {
    const std::string shots = ShotDir();
    backend.SetScreenshotFolder(shots);
    backend.SetMessageBoxHook([](const std::string&, const std::string&, unsigned) { return ui::IDOK; });
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.g_strPlc1Inf = dir.Write("Plc/alpha.inf", kPlcFile);
    t.g_strPLC1Name = "Modbus RTU Master";
    t.g_strPLC1Id = "101";
    g_ProjectSettings = CProjectSettings();
    int* port0 = g_ProjectSettings.g_anPortSettings[0];
    port0[kPortBaud] = 19200;
    port0[kPortDataBits] = 8;
    port0[kPortParity] = 2;
    port0[kPortStopBits] = 1;
    for (int p = 0; p < 3; ++p) g_ProjectSettings.g_anPortTimeout[p] = 5 * (p + 1);
    for (int p = 1; p < 3; ++p)
        for (int f = 0; f < 4; ++f) g_ProjectSettings.g_anPortSettings[p][f] = port0[f];

    backend.SetShownHook([](ui::Dialog& d) { d.UserClickButton(ui::IDCANCEL); });
    CPlcPortSettingDlg port;
    port.m_nSide = 1;
    port.DoModal();

    t.g_arrPlc1SpName = {"Response retries", "Inter-frame delay", "Slave address"};
    const int mins[] = {0, 1, 1}, maxs[] = {9, 100, 247};
    for (int i = 0; i < 3; ++i) {
        t.g_anSpecialDataMin1[i] = mins[i];
        t.g_anSpecialDataMax1[i] = maxs[i];
    }
    g_ProjectSettings.g_anAdvSetting1[2] = 3;
    g_ProjectSettings.g_anAdvSetting1[0] = 10;
    g_ProjectSettings.g_anAdvSetting1[1] = 1;
    g_bGeneralEntityCom1 = 1;
    CPlcAdvanceSettingDlg advance;
    advance.m_nPort = 1;
    advance.DoModal();

    AddItem({"Scan time (ms)", "2", "1", "100", "", "500", "0", "3", "10"});
    AddItem({"Parity check", "", "2", "Enabled", "Disabled", "1"});
    AddItem({"Gateway address", "", "3", "192", "168", "0", "10"});
    AddItem({"Link speed", "", "4", "Off", "Auto", "1"});
    AddItem({"Keep alive", "", "5", "Send keep-alive frames", "1"});
    g_bExtSetupError1 = 1;
    RunExtendedSetup(nullptr, 1);

    // The sheet as a person uses it: a click where each tab is drawn, the page keys to the
    // window, over and over; after each change the window, as grabbed, still shows its tab
    // row as it first stood and the page of the tab chosen below it.
    backend.SetShownHook([&](ui::Dialog& d) {
        auto& sheet = dynamic_cast<CPLCSheet&>(d);
        QWidget* top = QApplication::activeModalWidget();
        ASSERT_NE(top, nullptr);
        backend.ProcessPendingEvents();
        auto* bar = top->findChild<QTabBar*>();
        ASSERT_NE(bar, nullptr);
        ASSERT_EQ(bar->count(), 4);
        std::vector<QPoint> tabAt;  // where the tabs were drawn when the sheet opened
        for (int i = 0; i < 4; ++i) tabAt.push_back(bar->mapTo(top, bar->tabRect(i).center()));
        const QRect row(bar->mapTo(top, QPoint(0, 0)), QSize(bar->tabRect(3).right() + 1, bar->height()));
        const QImage first = top->grab().toImage();
        std::vector<QImage> pageShown(4);
        pageShown[0] = first.copy(0, row.bottom() + 1, first.width(), first.height() - row.bottom() - 1);
        const struct { const char* how; int page; } steps[] = {
            {"click", 1}, {"click", 2}, {"click", 3}, {"click", 0}, {"click", 1}, {"ctrl+tab", 2},
            {"ctrl+pgup", 1}, {"ctrl+shift+tab", 0}, {"ctrl+pgdown", 1}, {"click", 0}, {"click", 3}};
        int n = 0;
        for (const auto& step : steps) {
            SCOPED_TRACE(std::string(step.how) + " to page " + std::to_string(step.page));
            const std::string how = step.how;
            if (how == "click") {
                QWidget* under = top->childAt(tabAt[size_t(step.page)]);
                ASSERT_NE(under, nullptr);
                QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(top, tabAt[size_t(step.page)]));
            } else if (how == "ctrl+tab") {
                QTest::keyClick(top->windowHandle(), Qt::Key_Tab, Qt::ControlModifier);
            } else if (how == "ctrl+shift+tab") {
                QTest::keyClick(top->windowHandle(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
            } else {
                QTest::keyClick(top->windowHandle(), how == "ctrl+pgup" ? Qt::Key_PageUp : Qt::Key_PageDown,
                                Qt::ControlModifier);
            }
            backend.ProcessPendingEvents();
            const QImage seen = top->grab().toImage();
            seen.save(QString::fromStdString(shots + "/sheet-step" + std::to_string(++n) + ".png"));
            // The row: every tab's label is drawn where it was (a tab's own look may change).
            for (int i = 0; i < 4; ++i) {
                const QRect label = bar->tabRect(i).translated(row.topLeft()).adjusted(6, 4, -6, -2);
                int same = 0;
                for (int y = label.top(); y <= label.bottom(); ++y)
                    for (int x = label.left(); x <= label.right(); ++x)
                        same += qGray(first.pixel(x, y)) < 90 && qGray(seen.pixel(x, y)) < 90;
                EXPECT_GT(same, 10) << "tab " << i << " is not drawn";
            }
            // Below it, the page of the tab: the same as it was the last time it was shown.
            const QImage page = seen.copy(0, row.bottom() + 1, seen.width(), seen.height() - row.bottom() - 1);
            if (!pageShown[size_t(step.page)].isNull()) EXPECT_TRUE(page == pageShown[size_t(step.page)]);
            for (int other = 0; other < 4; ++other)
                if (other != step.page && !pageShown[size_t(other)].isNull())
                    EXPECT_FALSE(page == pageShown[size_t(other)]) << "the page of tab " << other << " is shown";
            pageShown[size_t(step.page)] = page;
        }
        EXPECT_TRUE(backend.GrabDialog(d, shots + "/sheet-page3.png"));
        sheet.UserClose();
    });
    RunCommunicationSettingSheet();

    std::vector<std::string> saved = backend.Screenshots();
    EXPECT_EQ(saved.size(), 4u);  // port settings, advance settings, Extended Setup, sheet
    saved.push_back(shots + "/sheet-page3.png");
    for (const std::string& shot : saved) EXPECT_GT(DarkPixels(shot), 100) << shot << ": no text drawn";
}

// The advance values typed through the window as X delivers keys, then Enter: a value that is
// not a whole number ("5x", nothing at all) is refused with the range message, never stored as
// the number atoi makes of it; the value typed again as a number is stored.
TEST_F(PortSettingsScreens, AdvanceValuesTypedAsTextAreRefused) {
    std::vector<std::string> boxes;
    backend.SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
        boxes.push_back(text);
        return ui::IDOK;
    });
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.g_strPlc1Inf = dir.Write("Plc/alpha.inf", kPlcFile);
    t.g_arrPlc1SpName = {"Response retries", "Inter-frame delay", "Slave address"};
    const int mins[] = {0, 0, 1}, maxs[] = {9, 100, 247};
    for (int i = 0; i < 3; ++i) {
        t.g_anSpecialDataMin1[i] = mins[i];
        t.g_anSpecialDataMax1[i] = maxs[i];
    }
    g_ProjectSettings = CProjectSettings();
    g_ProjectSettings.g_anAdvSetting1[2] = 3;
    g_ProjectSettings.g_anAdvSetting1[0] = 10;
    g_ProjectSettings.g_anAdvSetting1[1] = 1;
    backend.SetShownHook([&](ui::Dialog& d) {
        QWidget* win = QApplication::activeModalWidget();
        ASSERT_NE(win, nullptr);
        auto typeInto = [&](int id, const char* text, bool enter = true) {
            QLineEdit* edit = nullptr;  // the edits of values 1 and 2, top down
            std::vector<QLineEdit*> edits;
            for (QLineEdit* e : win->findChildren<QLineEdit*>())
                if (e->isVisible()) edits.push_back(e);
            std::sort(edits.begin(), edits.end(), [](QLineEdit* a, QLineEdit* b) { return a->y() < b->y(); });
            const size_t at = id == IDC_ADV_VALUE1 ? 0 : 1;
            if (at < edits.size()) edit = edits[at];
            ASSERT_NE(edit, nullptr);
            QTest::mouseClick(edit, Qt::LeftButton);
            backend.ProcessPendingEvents();
            ASSERT_EQ(QApplication::focusWidget(), edit);
            edit->selectAll();
            QTest::keyClick(win->windowHandle(), Qt::Key_Delete);
            for (const char* c = text; *c; ++c) QTest::keyClick(win->windowHandle(), *c);
            if (enter) QTest::keyClick(win->windowHandle(), Qt::Key_Return);
            backend.ProcessPendingEvents();
        };
        typeInto(IDC_ADV_VALUE2, "", false);
        typeInto(IDC_ADV_VALUE1, "5x");
        ASSERT_TRUE(d.IsLive());
        typeInto(IDC_ADV_VALUE1, "5");
        ASSERT_TRUE(d.IsLive());
        typeInto(IDC_ADV_VALUE2, "0");
        if (d.IsLive()) d.UserClickButton(ui::IDCANCEL);
    });
    CPlcAdvanceSettingDlg advance;
    advance.m_nPort = 1;
    EXPECT_EQ(advance.DoModal(), ui::IDOK);
    EXPECT_EQ(boxes, (std::vector<std::string>{"Please enter the valid value betwwen this range (0 - 9)",
                                               "Please enter the valid value betwwen this range (0 - 100)"}));
    EXPECT_EQ(g_ProjectSettings.g_anAdvSetting1[2], 5);
    EXPECT_EQ(g_ProjectSettings.g_anAdvSetting1[0], 0);
    EXPECT_EQ(g_ProjectSettings.g_anAdvSetting1[1], 1);
}

}  // namespace
